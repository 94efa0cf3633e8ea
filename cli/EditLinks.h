// The link actions of orvo-cli edit: a link to a page, an address, another hypertext's page or
// an embedded file, and special links, made on the selection as the link windows make them.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace orvo {
class TKYTset;
class TKYTTextAttributes;
}  // namespace orvo

namespace orvo::cli {

/// "link TARGET": the error, or none when the selection was linked.
std::optional<std::string> LinkAction(TKYTset& set, TKYTTextAttributes& text,
                                      const std::string& target);
/// "speclink KIND ...": the error, or none when the selection was linked.
std::optional<std::string> SpecialLinkAction(TKYTset& set, TKYTTextAttributes& text,
                                             std::vector<std::string> words);

}  // namespace orvo::cli

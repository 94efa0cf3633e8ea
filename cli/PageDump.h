// The page parts of orvo-cli dump: a page's record fields and the page tree, as JSON.
#pragma once

#include <string>
#include <string_view>

namespace orvo {
class TKYToggetto;
class TKYTset;
}  // namespace orvo

namespace orvo::cli {

/// Writes a JSON string of Windows-1252 bytes.
using JsonString = std::string (*)(std::string_view bytes);

/// The page's record fields as JSON members, each preceded by ", ": "group", "order",
/// "inSequence", "frameMap", the four colours as "RRGGBB", "backgroundPicture",
/// "fixedBackground", "keywords" (the identifiers of the entries in use), "header", "footer",
/// "alias", "redirect" ({"seconds", "target"}), "textVersion" and "versionStamp".
std::string PageRecordJson(const TKYToggetto& page, JsonString json);

/// The page tree in order (a node before its subtree): one {"chapter": title, "level": n} or
/// {"page": identifier, "level": n} entry a node, the root at level 0 left out. Lines of the
/// stored tree that cannot be read are reported through the hypertext's messages.
std::string PageTreeJson(TKYTset& set, JsonString json);

}  // namespace orvo::cli

// What a click on a shown page leads to: the link code under a point of its box, and the
// object a code of the page names.
#pragma once

#include <cstdint>

namespace orvo {

class TKYTbox;
class TKYTset;
class TKYTtesto;
class TKYToggetto;

/// The kind byte of the codes a page's text gives its own links (the index in the low bits).
inline constexpr std::uint32_t kLocalLinkKind = 0x6F;

/// The link code under (x, y) of a laid-out box, or -1. Only a click on a character counts,
/// not one beside the line or below the text.
std::int32_t LinkCodeAt(const TKYTbox& box, std::int32_t x, std::int32_t y);

/// The object a link code of a shown page names: a code of the hypertext, or a local code of
/// a link that the page's working text holds; nullptr when there is none.
TKYToggetto* LinkObjectOf(TKYTset& set, const TKYTtesto* workingText, std::int32_t code);

}  // namespace orvo

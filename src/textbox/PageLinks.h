// What a click on a shown page leads to: the link code under a point of its box, and the
// object a code of the page names.
#pragma once

#include <cstdint>

#include "model/ObjectRecord.h"

namespace orvo {

class TKYTbox;
class TKYTset;
class TKYTtesto;
class TKYToggetto;

/// The link code under (x, y) of a laid-out box, or -1. Only a click on a character counts,
/// not one beside the line or below the text.
std::int32_t LinkCodeAt(const TKYTbox& box, std::int32_t x, std::int32_t y);

/// The object a link code of a shown page names: a code of the hypertext, or a local code of
/// a link that the page's working text holds; nullptr when there is none.
TKYToggetto* LinkObjectOf(TKYTset& set, const TKYTtesto* workingText, std::int32_t code);

/// The page of the open hypertext that following a link code of a shown page leads to: the
/// page the code names, or the page a jump names as its target; -1 for anything else (web
/// addresses, files, pages of other documents, pages that are gone).
std::int32_t PageLinkedBy(TKYTset& set, const TKYTtesto* workingText, std::int32_t code);

}  // namespace orvo

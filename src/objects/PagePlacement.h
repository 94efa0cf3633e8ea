// Putting a page object (a picture's image, for now) into a page's text at a place given by
// paragraph and character, as the command line and scripted edits do without a window.
#pragma once

#include <cstdint>
#include <memory>

#include "base/Result.h"

namespace orvo {

class ITextMeasurer;
class TKYToggetto;
class TKYTset;

/// Where an object goes: paragraph and character, counted from 0 over the page's own
/// paragraphs; -1 means the last paragraph, or the end of the paragraph.
struct TextPlace {
    std::int32_t paragraph = -1;
    std::int32_t character = -1;
};

/// Stores `object` (not registered) into the text of `page` at `place` and registers it with
/// the hypertext, as storing an edited text does. Fails, leaving the page as it was, when the
/// place lies outside the text or in a table's paragraph. The object's identifier on success.
Result<std::int32_t> PlaceObjectInPage(TKYTset& set, TKYToggetto& page,
                                       std::unique_ptr<TKYToggetto> object, TextPlace place,
                                       ITextMeasurer& measurer);

}  // namespace orvo

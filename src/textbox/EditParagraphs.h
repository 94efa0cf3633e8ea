// The paragraph surgery the editing operations share: format runs kept continuous, ranges
// deleted and joined, paragraphs split. Each function changes the box's paragraphs and lays
// out again only those it touched; the caller holds the update lock and records the step.
#pragma once

#include <cstdint>
#include <string>

#include "model/ParaStyle.h"
#include "textbox/TKYTTextPos.h"

namespace orvo {

class TKYTbox;
class TKYTparag;

/// A position in a box by numbers: paragraph index, character index.
struct EditPos {
    std::int32_t para = 0;
    std::int32_t ch = 0;
    bool operator==(const EditPos&) const = default;
};

/// An unresolved text position.
TKYTTextPos PositionAt(std::int32_t para, std::int32_t ch);

/// A character attribute and its value.
struct CharAttribute {
    enum Kind { Colour, Name, Position, Style, Bits, Size };
    Kind attr = Colour;
    std::int32_t number = 0;
    std::string name;
    std::uint8_t set = 0, clear = 0;  // Bits: (style OR set) AND NOT clear
    static CharAttribute Of(Kind attr, std::int32_t number) {
        CharAttribute value;
        value.attr = attr;
        value.number = number;
        return value;
    }
};

/// The format in effect at character k: the nearest run start at or before it (k clamped to
/// the end metric), else the paragraph style's own character format.
TKYTFontStyle FontStyleAt(const TKYTparag& paragraph, std::int32_t k);
/// Character k starts a run with `format` (a run start already there takes it).
void MakeRunStart(TKYTparag& paragraph, std::int32_t k, const TKYTFontStyle& format);

/// Character k stops starting a run when its format is the one in effect before it anyway.
void DropRedundantRunStart(TKYTparag& paragraph, std::int32_t k);

/// Deletes start..end (ordered, within the box). The character after the range keeps its
/// format. Paragraphs are joined through markup unless the range ends at the start of a table
/// paragraph after text; an emptied first paragraph is removed and the last keeps its style.
/// Returns how many paragraphs stand where the range's paragraphs stood (1 or 2).
std::int32_t DeleteRange(TKYTbox& box, EditPos start, EditPos end);

/// Splits the paragraph at `at`: the tail moves to a new paragraph after it, whose style is a
/// copy of the paragraph's with the font set to the format at at - 1.
void BreakParagraph(TKYTbox& box, EditPos at);

/// Joins paragraph `index` with the next one through markup (the second keeps its character
/// formats and takes the first's style); an empty first paragraph is removed instead and the
/// second keeps its own style. Returns how many paragraphs remain of the two (1, or 2 when
/// the second is a table paragraph that cannot be joined). Lays out nothing.
std::int32_t JoinWithNext(TKYTbox& box, std::int32_t index);

}  // namespace orvo

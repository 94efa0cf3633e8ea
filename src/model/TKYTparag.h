// One paragraph of rich text in memory: its characters, their metric records, the character
// formats and page objects they use, its style record and its laid-out lines.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/ParaStyle.h"
#include "platform/ITextMeasurer.h"

namespace orvo {

class ByteStream;
class IMarkupHost;
class TKYToggetto;
struct MarkupRemap;

/// The metric record of one character (and one more for the paragraph end).
struct TKYTcharMetric {
    std::int32_t width = 0;         // advance, pixels
    std::int32_t height = 0;        // text height of the character's font (subscript: 1.5 times)
    std::int32_t ascent = 0;        // ascent of its font (superscript: plus half the height)
    std::int32_t fontIndex = -1;    // index into fonts where a new format starts; -1 none
    std::int32_t objectIndex = -1;  // index into objects for an inline object; -1 none
    std::int32_t linkId = -1;       // the link code in force at the character; -1 none
    bool operator==(const TKYTcharMetric&) const = default;
};

class TKYTparag;

/// One laid-out line of a paragraph.
struct TKYTline {
    const TKYTparag* paragraph = nullptr;
    std::int32_t first = 0;        // index of the line's first character
    std::int32_t count = 0;        // characters on the line
    std::int32_t ascent = 0;       // largest ascent on the line
    std::int32_t height = 0;       // line height, pixels
    std::int32_t top = 0;          // relative to the paragraph's content top
    std::int32_t alignOffset = 0;  // x shift of the alignment
    std::int32_t indent = 0;       // x of the line's start before alignment
    std::int32_t usedWidth = 0;    // width taken by the characters
};

/// How a paragraph is written (the values are those the callers pass).
enum WriteMode : int {
    wmSave = 0,          // a text stored in its object, table cells: tables' content inline
    wmSnapshot = 1,      // undo, clipboard, joins: only a table's code
    wmContinuation = 2,  // the second paragraph of a join: a character head instead of a head
    wmRange = 3,         // a selection across paragraphs: content inline for tables in range
};

/// Where a paragraph is read from: a whole text, where a stray cell end "<T>" is skipped, or
/// the text of a table cell, which "<T>" ends.
enum class MarkupScope : std::uint8_t { Text, Cell };

/// Paragraph kinds.
inline constexpr std::uint8_t kBodyParagraph = 0;
inline constexpr std::uint8_t kHeaderParagraph = 1;
inline constexpr std::uint8_t kFooterParagraph = 2;

class TKYTparag {
public:
    std::uint8_t kind = kBodyParagraph;
    std::int32_t layoutWidth = 0;
    std::int32_t top = 0;
    std::int32_t bottom = 0;
    std::int32_t defaultLineHeight = 0;  // text height of the style's font
    std::int32_t listNumber = 1;
    std::string spellFlags;  // " " or "!" per character; empty when no check ran
    std::string text;        // Windows-1252, without markup
    TKYTParaStyle style;
    std::vector<TKYTcharMetric> metrics;  // one per character plus the paragraph end
    std::vector<TKYTFontStyle> fonts;
    std::vector<TKYToggetto*> objects;  // page objects inline in the paragraph
    std::vector<TKYTline> lines;

    /// Reads one paragraph of markup from the stream's position into this fresh paragraph and
    /// leaves the stream after what it consumed. True when the text ended (0x00 or the end of
    /// the data) or, in a cell, the cell ended ("<T>"); false when another paragraph follows.
    /// Mode 0 reads the inline content of tables; other modes keep the tables as they are.
    /// Only an in-memory stream is read; from any other nothing is read and the result is false.
    bool ReadMarkup(ByteStream& stream, int mode, IMarkupHost& host,
                    const MarkupRemap* remap = nullptr, MarkupScope scope = MarkupScope::Text);

    /// Appends the markup of characters [start, end) (end below 0 or past the text: the whole
    /// text) to the stream. False when the stream refused a write.
    [[nodiscard]] bool WriteMarkup(ByteStream& stream, WriteMode mode, int start, int end,
                                   IMarkupHost& host) const;

    /// The first character is the placeholder of an embedded table.
    bool IsTableParagraph(IMarkupHost& host) const;

    /// Sets defaultLineHeight from the text metrics of the paragraph style's font.
    void MeasureDefaultLineHeight(ITextMeasurer& measurer);

    /// The format in force at character `index`: the last run format recorded at or before it,
    /// else the paragraph's character format.
    TMyFont FormatAt(int index) const;

    /// The link code in force at character `index` (-1 none).
    std::int32_t LinkAt(int index) const;
};

}  // namespace orvo

// The rich-text markup: what its reader and writer need of the text that holds the
// paragraphs (styles, page objects, tables, messages, measuring), the remap tables of
// pasting, and reading and writing whole texts.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/TKYTparag.h"
#include "platform/IMessages.h"
#include "platform/ITextMeasurer.h"

namespace orvo {

class ByteStream;
class MemoryStream;

using Paragraphs = std::vector<std::unique_ptr<TKYTparag>>;

/// The cells of a table object: rows by columns of paragraph lists.
class ITableCells {
public:
    virtual ~ITableCells() = default;
    virtual int Rows() const = 0;
    virtual int Columns() const = 0;
    /// The paragraphs of one cell, in order.
    virtual const Paragraphs& CellParagraphs(int row, int column) const = 0;
    /// Replaces the paragraphs of one cell with those read from markup.
    virtual void SetCellParagraphs(int row, int column, Paragraphs paragraphs) = 0;
};

struct ObjectSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

/// What the reader and writer ask of the text whose paragraphs they handle.
class IMarkupHost {
public:
    virtual ~IMarkupHost() = default;
    virtual ITextMeasurer& Measurer() = 0;
    /// Where "Truncated line!" is reported.
    virtual IMessages& Messages() = 0;
    /// The paragraph style with that number, or none.
    virtual const TKYToggetto* StyleByNumber(std::int32_t number) = 0;
    /// The page object with that identifier (the low 24 bits of a "<$FF" code), or none.
    virtual TKYToggetto* PageObject(std::int32_t identifier) = 0;
    /// The identifier under which a page object is written.
    virtual std::int32_t PageObjectIdentifier(const TKYToggetto& object) = 0;
    /// The size an inline object takes on its line.
    virtual ObjectSize SizeOf(const TKYToggetto& object) = 0;
    /// The cells of a table object; none for any other object.
    virtual ITableCells* TableCells(const TKYToggetto& object) = 0;
};

/// Parallel lists: a value found in `from` is replaced by the value at the same index of `to`.
struct RemapList {
    std::vector<std::int32_t> from;
    std::vector<std::int32_t> to;
    /// The replacement of `value`, or none when the list does not hold it.
    std::optional<std::int32_t> Find(std::int32_t value) const;
};

/// The tables given to the reader when a text is pasted from another text or hypertext.
struct MarkupRemap {
    std::optional<RemapList> objectIds;  // page-object identifiers of "<$FF" codes
    std::optional<RemapList> codes;      // object codes: styles (0x11000000 + n), 0x6F links
};

/// The value the reader takes from the digits of a reference code "<$...": `p` is just after
/// the "$" and moves past the digits; up to 8 of them are read before a ">", a zero byte or
/// the end, a byte that is no hexadecimal digit counts as 0 and missing digits count as 0
/// too. The top byte of the value is the kind (0xFF a page object, 0x6F a local link).
std::uint32_t ReferenceValue(std::string_view text, std::size_t& p);

/// The message of a numeric, colour or font field cut short.
inline constexpr std::string_view kTruncatedLine = "Truncated line!";

/// Reads every paragraph of a whole text from the stream's position: paragraphs are read
/// while one consumes something and the text has not ended. A stray "<T>" is skipped.
Paragraphs ReadText(MemoryStream& stream, IMarkupHost& host, int mode = 0,
                    const MarkupRemap* remap = nullptr);
Paragraphs ReadText(std::string_view markup, IMarkupHost& host, int mode = 0,
                    const MarkupRemap* remap = nullptr);

/// Reads the paragraphs of one table cell, up to and including its "<T>".
Paragraphs ReadCellText(MemoryStream& stream, IMarkupHost& host, int mode = 0,
                        const MarkupRemap* remap = nullptr);

/// Writes every body paragraph (header and footer paragraphs are left out) in mode 0, then
/// one 0x00 byte. False when the stream refused a write.
[[nodiscard]] bool WriteText(ByteStream& stream, const Paragraphs& paragraphs, IMarkupHost& host);
/// The same, as bytes.
std::string WriteText(const Paragraphs& paragraphs, IMarkupHost& host);

}  // namespace orvo

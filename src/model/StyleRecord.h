// The 103-byte paragraph style record (kind stileParagrafo) and the two built-in styles every
// new hypertext holds. The offsets of the style record live here only.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "base/RecordView.h"

namespace orvo {

/// Bytes of a style record stored in the document file (the object record is 668 bytes).
inline constexpr std::size_t kStyleRecordSize = 103;

inline constexpr FieldSpec kStyleOrigin{"origin", 4, 1, Cell::U8};  // 1 in the built-in styles
inline constexpr FieldSpec kStyleName{"name", 5, 33, Cell::PStr};   // at most 32 characters
inline constexpr FieldSpec kStyleFontName{"fontName", 39, 33, Cell::PStr};
inline constexpr FieldSpec kStyleSize{"size", 72, 2, Cell::I16};      // points
inline constexpr FieldSpec kStyleColour{"colour", 74, 4, Cell::I32};  // 0x00BBGGRR
inline constexpr FieldSpec kStyleBits{"styleBits", 78, 1,
                                      Cell::U8};  // 1 bold 2 italic 4 under 8 strike
inline constexpr FieldSpec kStyleLinkSize{"linkSize", 79, 2, Cell::I16};  // -1: the text's size
inline constexpr FieldSpec kStyleLinkColour{"linkColour", 81, 4, Cell::I32};
inline constexpr FieldSpec kStyleLinkBits{"linkStyle", 85, 1, Cell::U8};        // exclusive-or'ed
inline constexpr FieldSpec kStyleLeftMargin{"leftMargin", 86, 2, Cell::I16};    // pixels
inline constexpr FieldSpec kStyleRightMargin{"rightMargin", 88, 2, Cell::I16};  // pixels
inline constexpr FieldSpec kStyleSpaceBefore{"spaceBefore", 90, 2, Cell::I16};  // pixels
inline constexpr FieldSpec kStyleSpaceAfter{"spaceAfter", 92, 2, Cell::I16};    // pixels
inline constexpr FieldSpec kStyleLineHeight{"lineHeight", 94, 2, Cell::I16};    // <= 0 automatic
inline constexpr FieldSpec kStyleFirstIndent{"firstIndent", 96, 2, Cell::I16};  // may be < 0
inline constexpr FieldSpec kStyleUnit{"unit", 98, 1, Cell::U8};  // 0 cm 1 mm 2 in 3 pt 4 pc 5 px
inline constexpr FieldSpec kStyleAlignment{"alignment", 99, 1, Cell::U8};   // 0 L 1 R 2 C 3 J
inline constexpr FieldSpec kStyleListKind{"listKind", 100, 1, Cell::U8};    // 0, 6 num, 10 bullet
inline constexpr FieldSpec kStyleReservedP{"reservedP", 101, 1, Cell::U8};  // carried only
inline constexpr FieldSpec kStylePosition{"position", 102, 1, Cell::U8};    // 0, 1 sub, 2 super

inline constexpr std::array kStyleFields{
    kStyleOrigin,      kStyleName,        kStyleFontName,   kStyleSize,       kStyleColour,
    kStyleBits,        kStyleLinkSize,    kStyleLinkColour, kStyleLinkBits,   kStyleLeftMargin,
    kStyleRightMargin, kStyleSpaceBefore, kStyleSpaceAfter, kStyleLineHeight, kStyleFirstIndent,
    kStyleUnit,        kStyleAlignment,   kStyleListKind,   kStyleReservedP,  kStylePosition};
static_assert(FieldsAscendAndFit(kStyleFields, kStyleRecordSize));

/// Two styles are equal when these bytes are (font size onward, to the end of the stored
/// record); the font names are compared apart.
inline constexpr std::size_t kStyleCompareFirst = 72;
inline constexpr std::size_t kStyleCompareEnd = kStyleRecordSize;

inline constexpr std::int16_t kAutomaticLineHeight = -32000;
inline constexpr std::string_view kDefaultStyleFont = "Times New Roman";
inline constexpr std::string_view kBuiltInStyleName = "[nessuno stile]";
inline constexpr std::string_view kBuiltInTableStyleName = "[nessuno stile tabella]";

/// A typed view of a style's record (the first 103 bytes of its object record, or more).
class StyleRecord {
public:
    explicit StyleRecord(std::span<std::uint8_t> bytes) : bytes_(bytes) {}

    /// Zero-fills the whole record and sets the defaults of a new style (origin 0, no name).
    void SetDefaults();

    std::uint8_t Origin() const { return bytes_.U8(kStyleOrigin); }
    void SetOrigin(std::uint8_t v) { bytes_.SetU8(kStyleOrigin, v); }
    std::string Name() const { return bytes_.PStr(kStyleName); }
    void SetName(std::string_view cp1252) { bytes_.SetPStr(kStyleName, cp1252); }  // cut to 32
    std::string FontName() const { return bytes_.PStr(kStyleFontName); }
    void SetFontName(std::string_view cp1252) { bytes_.SetPStr(kStyleFontName, cp1252); }
    std::int16_t Size() const { return bytes_.I16(kStyleSize); }
    void SetSize(std::int16_t v) { bytes_.SetI16(kStyleSize, v); }
    std::int32_t Colour() const { return bytes_.I32(kStyleColour); }
    void SetColour(std::int32_t v) { bytes_.SetI32(kStyleColour, v); }
    std::uint8_t StyleBits() const { return bytes_.U8(kStyleBits); }
    void SetStyleBits(std::uint8_t v) { bytes_.SetU8(kStyleBits, v); }
    std::int16_t LinkSize() const { return bytes_.I16(kStyleLinkSize); }
    void SetLinkSize(std::int16_t v) { bytes_.SetI16(kStyleLinkSize, v); }
    std::int32_t LinkColour() const { return bytes_.I32(kStyleLinkColour); }
    void SetLinkColour(std::int32_t v) { bytes_.SetI32(kStyleLinkColour, v); }
    std::uint8_t LinkStyleBits() const { return bytes_.U8(kStyleLinkBits); }
    void SetLinkStyleBits(std::uint8_t v) { bytes_.SetU8(kStyleLinkBits, v); }
    std::int16_t LeftMargin() const { return bytes_.I16(kStyleLeftMargin); }
    void SetLeftMargin(std::int16_t v) { bytes_.SetI16(kStyleLeftMargin, v); }
    std::int16_t RightMargin() const { return bytes_.I16(kStyleRightMargin); }
    void SetRightMargin(std::int16_t v) { bytes_.SetI16(kStyleRightMargin, v); }
    std::int16_t SpaceBefore() const { return bytes_.I16(kStyleSpaceBefore); }
    void SetSpaceBefore(std::int16_t v) { bytes_.SetI16(kStyleSpaceBefore, v); }
    std::int16_t SpaceAfter() const { return bytes_.I16(kStyleSpaceAfter); }
    void SetSpaceAfter(std::int16_t v) { bytes_.SetI16(kStyleSpaceAfter, v); }
    std::int16_t LineHeight() const { return bytes_.I16(kStyleLineHeight); }
    void SetLineHeight(std::int16_t v) { bytes_.SetI16(kStyleLineHeight, v); }
    std::int16_t FirstIndent() const { return bytes_.I16(kStyleFirstIndent); }
    void SetFirstIndent(std::int16_t v) { bytes_.SetI16(kStyleFirstIndent, v); }
    std::uint8_t Unit() const { return bytes_.U8(kStyleUnit); }
    void SetUnit(std::uint8_t v) { bytes_.SetU8(kStyleUnit, v); }
    std::uint8_t Alignment() const { return bytes_.U8(kStyleAlignment); }
    void SetAlignment(std::uint8_t v) { bytes_.SetU8(kStyleAlignment, v); }
    std::uint8_t ListKind() const { return bytes_.U8(kStyleListKind); }
    void SetListKind(std::uint8_t v) { bytes_.SetU8(kStyleListKind, v); }
    std::uint8_t ReservedP() const { return bytes_.U8(kStyleReservedP); }
    void SetReservedP(std::uint8_t v) { bytes_.SetU8(kStyleReservedP, v); }
    std::uint8_t Position() const { return bytes_.U8(kStylePosition); }
    void SetPosition(std::uint8_t v) { bytes_.SetU8(kStylePosition, v); }

    /// True when the stored fields from the font size onward are equal.
    bool SameFormat(const StyleRecord& other) const;

    RecordView& View() { return bytes_; }
    const RecordView& View() const { return bytes_; }

private:
    RecordView bytes_;
};

/// Sets a built-in style into `bytes` (zero-filled first): style 0 "[nessuno stile]" with all
/// defaults, or style 1 "[nessuno stile tabella]" with left and right margins 0; origin 1.
void SetBuiltInStyle(std::span<std::uint8_t> bytes, int number);

}  // namespace orvo

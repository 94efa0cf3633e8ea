// The override records of paragraphs (TKYTParaStyle) and character runs (TKYTFontStyle), the
// one key table that ties each style field to its markup key, record offset and override flag,
// the length units and the link appearance.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/RecordView.h"
#include "model/StyleRecord.h"
#include "platform/u3MyFont.h"

namespace orvo {

class TKYToggetto;

/// The fields a style defines and an override record may override. The value of each
/// enumerator is the field's override flag index (the flags stand in the order of the markup
/// keys c, F, s, y, p, P, A, N, M, L, I, l, r, t, b, Y, C, S).
enum class StyleField : std::uint8_t {
    Colour,
    FontName,
    FontSize,
    StyleBits,
    Position,
    ReservedP,
    Alignment,
    ListKind,
    Unit,
    LineHeight,
    FirstIndent,
    LeftMargin,
    RightMargin,
    SpaceBefore,
    SpaceAfter,
    LinkStyle,
    LinkColour,
    LinkSize,
};
inline constexpr int kParaFieldCount = 18;
inline constexpr int kCharFieldCount = 5;  // Colour .. Position, the fields a run may override

enum class StyleValue : std::uint8_t { Colour, FontName, Number, Byte };

struct StyleKey {
    StyleField field;
    std::string_view key;  // the markup key: "c", "F\"", "s", ...
    StyleValue value;
    FieldSpec record;   // where a style definition keeps the field
    std::uint8_t mask;  // the writer writes a byte field and'ed with this mask
};

/// One entry per field, in override flag order.
inline constexpr std::array<StyleKey, kParaFieldCount> kStyleKeys{{
    {StyleField::Colour, "c", StyleValue::Colour, kStyleColour, 0},
    {StyleField::FontName, "F\"", StyleValue::FontName, kStyleFontName, 0},
    {StyleField::FontSize, "s", StyleValue::Number, kStyleSize, 0},
    {StyleField::StyleBits, "y", StyleValue::Byte, kStyleBits, 15},
    {StyleField::Position, "p", StyleValue::Byte, kStylePosition, 127},
    {StyleField::ReservedP, "P", StyleValue::Byte, kStyleReservedP, 127},
    {StyleField::Alignment, "A", StyleValue::Byte, kStyleAlignment, 127},
    {StyleField::ListKind, "N", StyleValue::Byte, kStyleListKind, 127},
    {StyleField::Unit, "M", StyleValue::Byte, kStyleUnit, 127},
    {StyleField::LineHeight, "L", StyleValue::Number, kStyleLineHeight, 0},
    {StyleField::FirstIndent, "I", StyleValue::Number, kStyleFirstIndent, 0},
    {StyleField::LeftMargin, "l", StyleValue::Number, kStyleLeftMargin, 0},
    {StyleField::RightMargin, "r", StyleValue::Number, kStyleRightMargin, 0},
    {StyleField::SpaceBefore, "t", StyleValue::Number, kStyleSpaceBefore, 0},
    {StyleField::SpaceAfter, "b", StyleValue::Number, kStyleSpaceAfter, 0},
    {StyleField::LinkStyle, "Y", StyleValue::Byte, kStyleLinkBits, 15},
    {StyleField::LinkColour, "C", StyleValue::Colour, kStyleLinkColour, 0},
    {StyleField::LinkSize, "S", StyleValue::Number, kStyleLinkSize, 0},
}};

/// The order of the fields in a paragraph head (after the style number "S").
inline constexpr std::array<StyleField, kParaFieldCount> kHeadOrder{
    StyleField::Colour,      StyleField::FontName,    StyleField::FontSize,
    StyleField::StyleBits,   StyleField::Position,    StyleField::ReservedP,
    StyleField::Alignment,   StyleField::ListKind,    StyleField::Unit,
    StyleField::LineHeight,  StyleField::FirstIndent, StyleField::LeftMargin,
    StyleField::RightMargin, StyleField::SpaceBefore, StyleField::SpaceAfter,
    StyleField::LinkColour,  StyleField::LinkSize,    StyleField::LinkStyle};

/// The order of the fields in a character code (the reader also takes the legacy keys i and
/// g between s and y).
inline constexpr std::array<StyleField, kCharFieldCount> kCharOrder{
    StyleField::Colour, StyleField::FontName, StyleField::FontSize, StyleField::StyleBits,
    StyleField::Position};

constexpr const StyleKey& KeyOf(StyleField field) {
    return kStyleKeys[std::size_t(field)];
}

/// The value a style definition gives a field (the font name has its own getter).
std::int32_t DefinitionValue(const TKYToggetto& style, StyleField field);
std::string DefinitionFontName(const TKYToggetto& style);
/// The style's number: its index among the hypertext's styles.
std::int32_t StyleNumber(const TKYToggetto& style);

/// Override values for the first N fields of kStyleKeys, against a style definition.
/// A flag is set exactly when the stored value differs from the definition's.
template <int N>
class StyleOverrides {
public:
    const TKYToggetto* Definition() const { return definition_; }

    bool Overrides(StyleField field) const { return overridden_[std::size_t(field)]; }
    bool OverridesAny() const;
    /// The stored override (meaningful only while its flag is set).
    std::int32_t OverrideValue(StyleField field) const { return values_[std::size_t(field)]; }
    const std::string& OverrideFontName() const { return fontName_; }

    /// The effective value: the override when set, else the definition's (0 without one).
    std::int32_t Get(StyleField field) const;
    std::string FontName() const;

    /// Stores `value` (a byte field keeps its low 8 bits) and sets the flag, or clears the flag
    /// when the value equals the definition's.
    void Set(StyleField field, std::int32_t value);
    /// Compared case-sensitively with the definition's name.
    void SetFontName(std::string_view name);

    std::int32_t Colour() const { return Get(StyleField::Colour); }
    std::int32_t FontSize() const { return Get(StyleField::FontSize); }
    std::uint8_t StyleBits() const { return std::uint8_t(Get(StyleField::StyleBits)); }
    std::uint8_t Position() const { return std::uint8_t(Get(StyleField::Position)); }
    void SetColour(std::int32_t v) { Set(StyleField::Colour, v); }
    void SetFontSize(std::int32_t v) { Set(StyleField::FontSize, v); }
    void SetStyleBits(std::uint8_t v) { Set(StyleField::StyleBits, v); }
    void SetPosition(std::uint8_t v) { Set(StyleField::Position, v); }

    /// The five character fields as a plain font.
    TMyFont AsMyFont() const;

protected:
    void SetDefinitionOnly(const TKYToggetto* style) { definition_ = style; }

private:
    const TKYToggetto* definition_ = nullptr;
    std::array<std::int32_t, N> values_{};
    std::array<bool, N> overridden_{};
    std::string fontName_;
};

class TKYTParaStyle;

/// The format of a run of characters: the style definition and up to five overrides.
class TKYTFontStyle : public StyleOverrides<kCharFieldCount> {
public:
    /// Makes the record refer to `style`; the flags are left as they are.
    void SetDefinition(const TKYToggetto* style) { SetDefinitionOnly(style); }

    void Assign(const TKYTFontStyle& source);
    void Assign(const TKYTParaStyle& source);
    void Assign(const TMyFont& source);
};

/// A paragraph's own style record: the style definition, up to eighteen overrides, and the
/// paragraph's character format (created and freed with the record).
class TKYTParaStyle : public StyleOverrides<kParaFieldCount> {
public:
    /// Makes the record and its character format refer to `style`; flags are left as they are.
    void SetDefinition(const TKYToggetto* style) {
        SetDefinitionOnly(style);
        charFormat.SetDefinition(style);
    }

    void Assign(const TKYTParaStyle& source);
    void Assign(const TKYTFontStyle& source);
    void Assign(const TMyFont& source);

    std::uint8_t Alignment() const { return std::uint8_t(Get(StyleField::Alignment)); }
    std::uint8_t ReservedP() const { return std::uint8_t(Get(StyleField::ReservedP)); }
    std::uint8_t ListKind() const { return std::uint8_t(Get(StyleField::ListKind)); }
    std::uint8_t Unit() const { return std::uint8_t(Get(StyleField::Unit)); }
    std::int32_t LineHeight() const { return Get(StyleField::LineHeight); }
    /// A line height of 0 or less (a new style's -32000) lets the lines take their own height.
    bool HasAutomaticLineHeight() const { return LineHeight() <= 0; }
    std::int32_t FirstIndent() const { return Get(StyleField::FirstIndent); }
    std::int32_t LeftMargin() const { return Get(StyleField::LeftMargin); }
    std::int32_t RightMargin() const { return Get(StyleField::RightMargin); }
    std::int32_t SpaceBefore() const { return Get(StyleField::SpaceBefore); }
    std::int32_t SpaceAfter() const { return Get(StyleField::SpaceAfter); }
    std::uint8_t LinkStyle() const { return std::uint8_t(Get(StyleField::LinkStyle)); }
    std::int32_t LinkColour() const { return Get(StyleField::LinkColour); }
    std::int32_t LinkSize() const { return Get(StyleField::LinkSize); }

    void SetAlignment(std::uint8_t v) { Set(StyleField::Alignment, v); }
    void SetReservedP(std::uint8_t v) { Set(StyleField::ReservedP, v); }
    void SetListKind(std::uint8_t v) { Set(StyleField::ListKind, v); }
    void SetUnit(std::uint8_t v) { Set(StyleField::Unit, v); }
    void SetLineHeight(std::int32_t v) { Set(StyleField::LineHeight, v); }
    void SetFirstIndent(std::int32_t v) { Set(StyleField::FirstIndent, v); }
    void SetLeftMargin(std::int32_t v) { Set(StyleField::LeftMargin, v); }
    void SetRightMargin(std::int32_t v) { Set(StyleField::RightMargin, v); }
    void SetSpaceBefore(std::int32_t v) { Set(StyleField::SpaceBefore, v); }
    void SetSpaceAfter(std::int32_t v) { Set(StyleField::SpaceAfter, v); }
    void SetLinkStyle(std::uint8_t v) { Set(StyleField::LinkStyle, v); }
    void SetLinkColour(std::int32_t v) { Set(StyleField::LinkColour, v); }
    void SetLinkSize(std::int32_t v) { Set(StyleField::LinkSize, v); }

    /// A length field (LineHeight .. SpaceAfter) in the record's unit, from stored pixels.
    double LengthInUnit(StyleField field, double pixelsPerInch) const;
    /// Sets a length field from a value in the record's unit, rounded to whole pixels.
    void SetLengthInUnit(StyleField field, double value, double pixelsPerInch);

    TKYTFontStyle charFormat;
};

/// Length units of styles: the code stored in a style's unit byte.
enum class LengthUnit : std::uint8_t { Cm = 0, Mm = 1, In = 2, Pt = 3, Pc = 4, Px = 5 };

/// Stored pixels in `unit` (real arithmetic). An unknown unit code counts as pixels.
double PixelsToUnit(std::int32_t pixels, std::uint8_t unit, double pixelsPerInch);
/// A value in `unit` as whole pixels, rounded to the nearest.
std::int32_t UnitToPixels(double value, std::uint8_t unit, double pixelsPerInch);

/// The look of a link's characters: the paragraph's link colour, the run's style bits
/// exclusive-or'ed with the paragraph's link style bits, and the link size unless it keeps the
/// run's size (-1; a size of 0 or less is no size and keeps it too).
TMyFont LinkAppearance(const TMyFont& run, const TKYTParaStyle& paragraph);
bool LinkKeepsSize(std::int32_t linkSize);

/// The text the style dialog shows to explain the link rule.
std::string_view LinkInversionNote();

}  // namespace orvo

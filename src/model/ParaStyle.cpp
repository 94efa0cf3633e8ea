// Override records, units and the link appearance.
#include "model/ParaStyle.h"

#include <cmath>
#include <limits>

#include "base/Cp1252.h"
#include "model/uKYTogge.h"

namespace orvo {

using namespace orvo::literals;

namespace {

const RecordView StyleView(const TKYToggetto& style) {
    return style.ReadView();
}

bool IsByteField(StyleField field) {
    return KeyOf(field).value == StyleValue::Byte;
}

}  // namespace

std::int32_t DefinitionValue(const TKYToggetto& style, StyleField field) {
    const RecordView view = StyleView(style);
    const FieldSpec& stored = KeyOf(field).record;
    switch (stored.cell) {
        case Cell::U8:
            return view.U8(stored);
        case Cell::I16:
            return view.I16(stored);
        case Cell::I32:
            return view.I32(stored);
        default:
            return 0;
    }
}

std::string DefinitionFontName(const TKYToggetto& style) {
    return StyleView(style).PStr(kStyleFontName);
}

std::int32_t StyleNumber(const TKYToggetto& style) {
    return style.Identifier();
}

template <int N>
bool StyleOverrides<N>::OverridesAny() const {
    for (bool flag : overridden_)
        if (flag) return true;
    return false;
}

template <int N>
std::int32_t StyleOverrides<N>::Get(StyleField field) const {
    const auto i = std::size_t(field);
    if (overridden_[i]) return values_[i];
    return definition_ ? DefinitionValue(*definition_, field) : 0;
}

template <int N>
std::string StyleOverrides<N>::FontName() const {
    if (overridden_[std::size_t(StyleField::FontName)]) return fontName_;
    return definition_ ? DefinitionFontName(*definition_) : std::string();
}

template <int N>
void StyleOverrides<N>::Set(StyleField field, std::int32_t value) {
    const auto i = std::size_t(field);
    if (IsByteField(field)) value = std::uint8_t(value);
    if (definition_ && DefinitionValue(*definition_, field) == value) {
        overridden_[i] = false;
        return;
    }
    values_[i] = value;
    overridden_[i] = true;
}

template <int N>
void StyleOverrides<N>::SetFontName(std::string_view name) {
    constexpr auto i = std::size_t(StyleField::FontName);
    if (definition_ && DefinitionFontName(*definition_) == name) {
        overridden_[i] = false;
        return;
    }
    fontName_.assign(name);
    overridden_[i] = true;
}

template <int N>
TMyFont StyleOverrides<N>::AsMyFont() const {
    TMyFont font;
    font.name = FontName();
    font.styleBits = StyleBits();
    font.colour = Colour();
    font.size = FontSize();
    font.position = Position();
    return font;
}

template class StyleOverrides<kCharFieldCount>;
template class StyleOverrides<kParaFieldCount>;

namespace {

template <class Target, class Source>
void CopyCharFields(Target& target, const Source& source) {
    target.SetColour(source.Colour());
    target.SetFontName(source.FontName());
    target.SetFontSize(source.FontSize());
    target.SetStyleBits(source.StyleBits());
    target.SetPosition(source.Position());
}

template <class Target>
void CopyFontFields(Target& target, const TMyFont& font) {
    target.SetColour(font.colour);
    target.SetFontName(font.name);
    target.SetStyleBits(font.styleBits);
    target.SetFontSize(font.size);
    target.SetPosition(font.position);
}

}  // namespace

void TKYTFontStyle::Assign(const TKYTFontStyle& source) {
    SetDefinition(source.Definition());
    CopyCharFields(*this, source);
}

void TKYTFontStyle::Assign(const TKYTParaStyle& source) {
    SetDefinition(source.Definition());
    CopyCharFields(*this, source);
}

void TKYTFontStyle::Assign(const TMyFont& source) {
    CopyFontFields(*this, source);
}

void TKYTParaStyle::Assign(const TKYTParaStyle& source) {
    if (&source == this) return;
    SetDefinition(source.Definition());
    for (const StyleKey& key : kStyleKeys) {
        if (key.field == StyleField::FontName)
            SetFontName(source.FontName());
        else
            Set(key.field, source.Get(key.field));
    }
    charFormat.Assign(source.charFormat);
}

void TKYTParaStyle::Assign(const TKYTFontStyle& source) {
    SetDefinition(source.Definition());
    CopyCharFields(*this, source);
    charFormat.Assign(source);
}

void TKYTParaStyle::Assign(const TMyFont& source) {
    CopyFontFields(*this, source);
    charFormat.Assign(source);
}

namespace {

double UnitsPerInch(std::uint8_t unit, double pixelsPerInch) {
    switch (LengthUnit(unit)) {
        case LengthUnit::Cm:
            return 2.54;
        case LengthUnit::Mm:
            return 25.4;
        case LengthUnit::In:
            return 1.0;
        case LengthUnit::Pt:
            return 72.0;
        case LengthUnit::Pc:
            return 6.0;
        default:
            return pixelsPerInch;
    }
}

}  // namespace

double PixelsToUnit(std::int32_t pixels, std::uint8_t unit, double pixelsPerInch) {
    if (pixelsPerInch <= 0) return pixels;
    return double(pixels) / pixelsPerInch * UnitsPerInch(unit, pixelsPerInch);
}

std::int32_t UnitToPixels(double value, std::uint8_t unit, double pixelsPerInch) {
    if (pixelsPerInch <= 0) pixelsPerInch = 96;
    const double pixels = std::round(value / UnitsPerInch(unit, pixelsPerInch) * pixelsPerInch);
    if (!(pixels >= std::numeric_limits<std::int32_t>::min()))
        return std::numeric_limits<std::int32_t>::min();
    if (pixels > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    return std::int32_t(pixels);
}

double TKYTParaStyle::LengthInUnit(StyleField field, double pixelsPerInch) const {
    return PixelsToUnit(Get(field), Unit(), pixelsPerInch);
}

void TKYTParaStyle::SetLengthInUnit(StyleField field, double value, double pixelsPerInch) {
    Set(field, UnitToPixels(value, Unit(), pixelsPerInch));
}

bool LinkKeepsSize(std::int32_t linkSize) {
    return linkSize <= 0;
}

TMyFont LinkAppearance(const TMyFont& run, const TKYTParaStyle& paragraph) {
    TMyFont font = run;
    font.colour = paragraph.LinkColour();
    font.styleBits = std::uint8_t(run.styleBits ^ paragraph.LinkStyle());
    if (!LinkKeepsSize(paragraph.LinkSize())) font.size = paragraph.LinkSize();
    return font;
}

std::string_view LinkInversionNote() {
    return "(nota che il link applica un'inversione allo stile abituale, ad esempio se il testo "
           "è in grassetto, ed il link è definito grassetto, il link sarà \"normale\")"_cp;
}

}  // namespace orvo

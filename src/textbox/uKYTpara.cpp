// The paragraph operations of a text box: alignment, numbering, styles, lengths and the link
// look, each over every paragraph from SelStart's to SelEnd's.
#include <cmath>

#include "model/ParaStyle.h"
#include "model/StyleTable.h"
#include "textbox/UpdateLock.h"
#include "textbox/uKYTattr.h"
#include "textbox/uKYTbox.h"

namespace orvo {

namespace {

std::pair<std::int32_t, std::int32_t> ParagraphRange(const TKYTbox& box) {
    const TKYTTextPos& caret = box.Caret();
    std::int32_t first = caret.Valid() ? caret.paraIndex : box.FirstEditable();
    std::int32_t last = first;
    if (box.SelectionShown()) {
        auto [a, b] = box.SelectionRange();
        first = a.paraIndex;
        last = b.paraIndex;
    }
    return {first, last};
}

std::string BitNames(std::uint8_t bits) {
    std::string names;
    if (bits & kFontItalic) names += "Italico ";
    if (bits & kFontBold) names += "Grassetto ";
    return names;
}

constexpr StyleField kLengthFields[] = {StyleField::LineHeight, StyleField::SpaceBefore,
                                        StyleField::SpaceAfter, StyleField::FirstIndent,
                                        StyleField::LeftMargin, StyleField::RightMargin};

}  // namespace

template <class F>
void TKYTParaAttributes::ForRange(std::string label, F&& change, bool reread) {
    auto [first, last] = ParagraphRange(box_);
    if (first < 0 || last >= box_.ParagraphCount()) return;
    // The selection is kept as numbers: the paragraphs may be read again.
    const bool selected = box_.SelectionShown();
    auto [selStart, selEnd] = box_.SelectionRange();
    const TKYTTextPos caret = box_.Caret();
    if (context_.undo)
        context_.undo->AddUndo(
            std::make_unique<TboBackup>(std::move(label), context_.path, box_, first, last));
    UpdateLock lock(box_);
    const std::int32_t top = box_.Paragraph(first).top;
    const std::int32_t oldBottom = box_.Paragraph(last).bottom;
    for (std::int32_t i = first; i <= last; ++i) change(box_.Paragraph(i));
    if (reread) box_.ReplaceParagraphs(first, last);
    box_.RelayoutRange(first, last, false, oldBottom, top);
    if (selected)
        box_.SetSelection(box_.ResolvePosition(PositionAt(selStart.paraIndex, selStart.charIndex)),
                          box_.ResolvePosition(PositionAt(selEnd.paraIndex, selEnd.charIndex)));
    box_.SetCaret(PositionAt(caret.paraIndex, caret.charIndex));
}

void TKYTParaAttributes::SetAlignment(std::uint8_t alignment) {
    static constexpr std::string_view kLabels[] = {"Allinea a sinistra", "Allinea a destra",
                                                   "Centra"};
    ForRange(
        std::string(alignment < 3 ? kLabels[alignment] : "Giustifica"),
        [&](TKYTparag& p) { p.style.SetAlignment(alignment); }, false);
}

void TKYTParaAttributes::SetNumbering(std::uint8_t listKind) {
    ForRange(
        "Numerazione " + std::to_string(listKind),
        [&](TKYTparag& p) {
            const bool numbered = p.style.ListKind() != 0;
            if (listKind != 0 && !numbered) {
                p.style.SetLeftMargin(p.style.LeftMargin() + 10);
                p.style.SetFirstIndent(-10);
            } else if (listKind == 0 && numbered) {
                p.style.SetLeftMargin(p.style.LeftMargin() + p.style.FirstIndent());
                p.style.SetFirstIndent(0);
            }
            p.style.SetListKind(listKind);
        },
        false);
}

void TKYTParaAttributes::ApplyParagraphStyle(std::string_view name) {
    const TKYToggetto* style = StyleByName(context_.set, name);
    ForRange(
        "Stile " + std::string(name),
        [&](TKYTparag& p) {
            if (!style) return;
            if (p.style.Definition() == style) {
                // Applying the current style again resets the text to the style.
                for (TKYTcharMetric& m : p.metrics) m.fontIndex = -1;
                p.fonts.clear();
            }
            TKYTParaStyle fresh;
            fresh.SetDefinition(style);
            p.style = fresh;
        },
        style != nullptr);
    if (context_.onRefreshTools) context_.onRefreshTools();
}

void TKYTParaAttributes::SetUnit(std::uint8_t unit) {
    auto [first, last] = ParagraphRange(box_);
    for (std::int32_t i = first; i <= last && i < box_.ParagraphCount(); ++i)
        box_.Paragraph(i).style.SetUnit(unit);
}

void TKYTParaAttributes::SetLength(int field, double value, std::string_view label) {
    const StyleField f = kLengthFields[field];
    ForRange(
        std::string(label) + GeneralFloat(value),
        [&](TKYTparag& p) { p.style.SetLengthInUnit(f, value, context_.pixelsPerInch); }, false);
}

void TKYTParaAttributes::SetLineHeight(double value) {
    SetLength(0, value, "Altezza linea ");
}
void TKYTParaAttributes::SetSpaceBefore(double value) {
    SetLength(1, value, "Margine sup ");
}
void TKYTParaAttributes::SetSpaceAfter(double value) {
    SetLength(2, value, "Margine inf ");
}
void TKYTParaAttributes::SetFirstIndent(double value) {
    SetLength(3, value, "Margine indent ");
}
void TKYTParaAttributes::SetLeftMargin(double value) {
    SetLength(4, value, "Margine sx ");
}
void TKYTParaAttributes::SetRightMargin(double value) {
    SetLength(5, value, "Margine dx ");
}

void TKYTParaAttributes::SetLinkColour(std::int32_t colour) {
    ForRange(
        "Colore link " + ColourName(colour), [&](TKYTparag& p) { p.style.SetLinkColour(colour); },
        true);
}

void TKYTParaAttributes::SetLinkSize(std::int32_t size) {
    ForRange(
        "Dimensione link " + std::to_string(size), [&](TKYTparag& p) { p.style.SetLinkSize(size); },
        true);
}

void TKYTParaAttributes::SetLinkStyle(std::uint8_t bits) {
    ForRange(
        "Stile link " + BitNames(bits), [&](TKYTparag& p) { p.style.SetLinkStyle(bits & 15); },
        true);
}

const TKYTparag& TKYTParaAttributes::CaretParagraph() const {
    const TKYTTextPos& caret = box_.Caret();
    return box_.Paragraph(caret.Valid() ? caret.paraIndex : box_.FirstEditable());
}

std::uint8_t TKYTParaAttributes::Alignment() const {
    return CaretParagraph().style.Alignment();
}
std::uint8_t TKYTParaAttributes::Numbering() const {
    return CaretParagraph().style.ListKind();
}
std::uint8_t TKYTParaAttributes::Unit() const {
    return CaretParagraph().style.Unit();
}

double TKYTParaAttributes::LengthOf(int field) const {
    return CaretParagraph().style.LengthInUnit(kLengthFields[field], context_.pixelsPerInch);
}
double TKYTParaAttributes::LineHeight() const {
    return LengthOf(0);
}
double TKYTParaAttributes::SpaceBefore() const {
    return LengthOf(1);
}
double TKYTParaAttributes::SpaceAfter() const {
    return LengthOf(2);
}
double TKYTParaAttributes::FirstIndent() const {
    return LengthOf(3);
}
double TKYTParaAttributes::LeftMargin() const {
    return LengthOf(4);
}
double TKYTParaAttributes::RightMargin() const {
    return LengthOf(5);
}

}  // namespace orvo

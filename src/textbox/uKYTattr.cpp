// The editing operations on characters, objects and character formats of a text box.
#include "textbox/uKYTattr.h"

#include <algorithm>
#include <cstdio>

#include "base/ByteStream.h"
#include "model/Markup.h"
#include "model/ObjectRecord.h"
#include "model/ParaStyle.h"
#include "model/StyleTable.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "textbox/EditParagraphs.h"
#include "textbox/SelectionStream.h"
#include "textbox/UpdateLock.h"
#include "textbox/uKYTbox.h"

namespace orvo {

std::string ColourName(std::int32_t colour) {
    switch (colour & 0xFFFFFF) {
        case 0x000000:
            return "Nero";
        case 0x000080:
            return "Marrone";
        case 0x0000FF:
            return "Rosso";
        case 0x008000:
            return "Verde";
        case 0x008080:
            return "Oliva";
        case 0x00FF00:
            return "Verde chiaro";
        case 0x00FFFF:
            return "Giallo";
        case 0x800000:
            return "Blu scuro";
        case 0x800080:
            return "Violetto";
        case 0x808000:
            return "Acqua";
        case 0x808080:
            return "Grigio scuro";
        case 0xC0C0C0:
            return "Grigio chiaro";
        case 0xFF0000:
            return "Blu";
        case 0xFF00FF:
            return "Fucsia";
        case 0xFFFF00:
            return "Azzurro";
        case 0xFFFFFF:
            return "Bianco";
        default:
            return "Custom";
    }
}

std::string GeneralFloat(double value) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    return buffer;
}

namespace {

std::string StyleBitNames(std::uint8_t bits) {
    std::string names;
    if (bits & kFontItalic) names += "Italico ";
    if (bits & kFontBold) names += "Grassetto ";
    return names;
}

}  // namespace

// --- Positions -----------------------------------------------------------------------------

EditPos TKYTTextAttributes::CaretPos() const {
    const TKYTTextPos& caret = box_.Caret();
    if (!caret.Valid()) return {box_.FirstEditable(), 0};
    return {caret.paraIndex, caret.charIndex};
}

std::pair<EditPos, EditPos> TKYTTextAttributes::Selection() const {
    if (!box_.SelectionShown()) return {CaretPos(), CaretPos()};
    auto [a, b] = box_.SelectionRange();
    return {{a.paraIndex, a.charIndex}, {b.paraIndex, b.charIndex}};
}

bool TKYTTextAttributes::HasSelection() const {
    if (!box_.SelectionShown()) return false;
    auto [a, b] = Selection();
    return !(a == b);
}

void TKYTTextAttributes::SetCaretAt(EditPos pos) {
    box_.ClearSelection();
    box_.SetCaret(PositionAt(pos.para, pos.ch));
}

void TKYTTextAttributes::Select(EditPos from, EditPos to) {
    box_.SetSelection(box_.ResolvePosition(PositionAt(from.para, from.ch)),
                      box_.ResolvePosition(PositionAt(to.para, to.ch)));
    box_.SetCaret(PositionAt(to.para, to.ch));
}

void TKYTTextAttributes::CaretMoved() {
    EndBursts();
    DropPending();
}

// --- Steps ---------------------------------------------------------------------------------

TboBackup* TKYTTextAttributes::RecordBox(std::string label, std::int32_t firstPara,
                                         std::int32_t lastPara) {
    if (!context_.undo) return nullptr;
    auto step =
        std::make_unique<TboBackup>(std::move(label), context_.path, box_, firstPara, lastPara);
    TboBackup* raw = step.get();
    context_.undo->AddUndo(std::move(step));
    return raw;
}

TboBackup* TKYTTextAttributes::BurstStep() {
    if (!context_.undo) return nullptr;
    return dynamic_cast<TboBackup*>(context_.undo->NewestWithSerial(burstSerial_));
}

TMyFont TKYTTextAttributes::LookupFont(std::int32_t para, std::int32_t ch) const {
    if (para < 0 || para >= box_.ParagraphCount()) return TMyFont{};
    return box_.Paragraph(para).FormatAt(ch);
}

TMyFont TKYTTextAttributes::WithPending(TMyFont font) const {
    if (pending_.colour) font.colour = *pending_.colour;
    if (pending_.size) font.size = *pending_.size;
    if (pending_.name) font.name = *pending_.name;
    if (pending_.style) font.styleBits = *pending_.style;
    if (pending_.position) font.position = *pending_.position;
    return font;
}

// --- Deleting ------------------------------------------------------------------------------

void TKYTTextAttributes::DeleteSelection() {
    typingBurst_ = false;
    DropPending();
    if (!HasSelection()) {
        context_.messages.Error(kSelectionMustExist);
        return;
    }
    auto [start, end] = Selection();
    const TKYTparag& first = box_.Paragraph(start.para);
    const bool isObject = start.para == end.para && end.ch == start.ch + 1 &&
                          first.metrics[std::size_t(start.ch)].objectIndex >= 0;
    const bool spans = start.para != end.para;
    TcancelBackup* step = nullptr;
    const TboBackup* open = BurstStep();
    const bool joinsBurst =
        deletionBurst_ && !isObject && !spans && open && open->SavedFirst() == start.para;
    if (!joinsBurst) {
        deletionBurst_ = false;
        if (context_.undo) {
            auto made = std::make_unique<TcancelBackup>(
                isObject ? "Cancella oggetto" : "Cancella selezione", context_.path, box_,
                start.para, start.ch, end.para, end.ch);
            step = made.get();
            context_.undo->AddUndo(std::move(made));
        }
        deletionBurst_ = !isObject && !spans;
        burstSerial_ = SerialOf(step);
    }
    UpdateLock lock(box_);
    const std::int32_t left = DeleteRange(box_, start, end);
    if (step) step->SetAfterRange(start.para, start.para + left - 1);
    SetCaretAt(start);
}

// --- Typing --------------------------------------------------------------------------------

bool TKYTTextAttributes::InsertChar(unsigned char ch) {
    deletionBurst_ = false;
    const std::int32_t caretPara = CaretPos().para;
    TboBackup* burst = BurstStep();
    const bool continues = typingBurst_ && burst && caretPara >= burst->AfterFirst() &&
                           caretPara <= burst->AfterLast() && !HasSelection();
    if (!continues) {
        if (HasSelection()) DeleteSelection();
        const EditPos caret = CaretPos();
        burst = RecordBox("Inserimento caratteri", caret.para, caret.para);
        burstSerial_ = SerialOf(burst);
        typingBurst_ = true;
    }
    UpdateLock lock(box_);
    EditPos caret = CaretPos();
    if (box_.Paragraph(caret.para).IsTableParagraph(box_.HostFor(kBodyParagraph))) {
        BreakParagraph(box_, caret);
        if (burst) burst->SetAfterRange(burst->AfterFirst(), burst->AfterLast() + 1);
        caret = caret.ch == 0 ? EditPos{caret.para, 0} : EditPos{caret.para + 1, 0};
    }
    InsertCharAt(caret, ch);
    SetCaretAt({caret.para, caret.ch + 1});
    return true;
}

void TKYTTextAttributes::InsertCharAt(EditPos caret, unsigned char ch) {
    TKYTparag& p = box_.Paragraph(caret.para);
    const std::int32_t k = caret.ch;
    const TKYTFontStyle base = FontStyleAt(p, k - 1);
    TKYTcharMetric metric{0, 0, 0, -1, -1, p.LinkAt(k - 1)};
    TMyFont measure = base.AsMyFont();
    bool continuesRun = k > 0;
    if (pending_.Any()) {
        TKYTFontStyle started = base;
        if (pending_.colour) started.SetColour(*pending_.colour);
        if (pending_.size) started.SetFontSize(*pending_.size);
        if (pending_.name) started.SetFontName(*pending_.name);
        if (pending_.style) started.SetStyleBits(*pending_.style);
        if (pending_.position) started.SetPosition(*pending_.position);
        // The text after the caret keeps its look.
        if (std::size_t(k) < p.text.size() && p.metrics[std::size_t(k)].fontIndex < 0)
            MakeRunStart(p, k, base);
        p.fonts.push_back(started);
        metric.fontIndex = std::int32_t(p.fonts.size()) - 1;
        measure = started.AsMyFont();
        continuesRun = false;
        DropPending();
    }
    if (metric.linkId != -1) measure = LinkAppearance(measure, p.style);
    if (context_.autoEngQuote && (ch == '"' || ch == '\'')) {
        const unsigned char before =
            k > 0 ? static_cast<unsigned char>(p.text[std::size_t(k - 1)]) : 0;
        const bool opening = k == 0 || before == ' ' || before == 0x92 || before == 0x94;
        if (ch == '"')
            ch = opening ? 0x93 : 0x94;
        else
            ch = opening ? 0x91 : 0x92;
    }
    ITextMeasurer& measurer = box_.HostFor(p.kind).Measurer();
    const TMyFont shown = box_.WithFallback(measure);
    const int previous =
        continuesRun && k > 0 ? static_cast<unsigned char>(p.text[std::size_t(k - 1)]) : -1;
    metric.width = measurer.PairWidth(shown, previous, ch);
    const TextMetrics vertical = measurer.Metrics(shown);
    metric.height = vertical.height;
    metric.ascent = vertical.ascent;
    if (shown.position == kPositionSubscript) metric.height += vertical.height / 2;
    if (shown.position == kPositionSuperscript) metric.ascent += vertical.height / 2;
    const std::int32_t top = p.top, oldBottom = p.bottom;
    p.text.insert(p.text.begin() + k, static_cast<char>(ch));
    p.metrics.insert(p.metrics.begin() + k, metric);
    p.spellFlags.clear();
    box_.RelayoutRange(caret.para, caret.para, false, oldBottom, top);
}

// --- Replacing -----------------------------------------------------------------------------

void TKYTTextAttributes::ReplaceSelection(std::string_view text) {
    DropPending();
    EndBursts();
    auto [start, end] = Selection();
    RecordBox("Sostituzione selezione con: " + std::string(text), start.para, end.para);
    if (start.para != end.para) {
        context_.messages.Inform(kReplaceAcrossParagraphs);
        return;
    }
    if (text.empty() || start == end) return;
    UpdateLock lock(box_);
    TKYTparag& p = box_.Paragraph(start.para);
    const std::int32_t top = p.top, oldBottom = p.bottom;
    const std::int32_t n = std::int32_t(text.size()), old = end.ch - start.ch;
    const TKYTFontStyle after = FontStyleAt(p, end.ch);
    if (n < old) {
        if (std::size_t(end.ch) < p.text.size() && p.metrics[std::size_t(end.ch)].fontIndex < 0)
            MakeRunStart(p, end.ch, after);
        p.metrics.erase(p.metrics.begin() + start.ch + n, p.metrics.begin() + end.ch);
    } else if (n > old) {
        const TKYTcharMetric added{0, 0, 0, -1, -1, p.LinkAt(end.ch - 1)};
        p.metrics.insert(p.metrics.begin() + end.ch, std::size_t(n - old), added);
    }
    // An inline object replaced by a character is a character.
    for (std::int32_t i = start.ch; i < start.ch + n; ++i)
        p.metrics[std::size_t(i)].objectIndex = -1;
    p.text.replace(std::size_t(start.ch), std::size_t(old), text);
    if (n < old) DropRedundantRunStart(p, start.ch + n);
    p.spellFlags.clear();
    box_.ReplaceParagraphs(start.para, start.para);
    box_.RelayoutRange(start.para, start.para, false, oldBottom, top);
    Select(start, {start.para, start.ch + n});
}

// --- Paragraph break -----------------------------------------------------------------------

void TKYTTextAttributes::InsertParagraphBreak() {
    if (HasSelection()) DeleteSelection();
    const EditPos caret = CaretPos();
    TboBackup* step = RecordBox("Inserimento paragrafo", caret.para, caret.para);
    EndBursts();
    DropPending();
    UpdateLock lock(box_);
    BreakParagraph(box_, caret);
    if (step) step->SetAfterRange(caret.para, caret.para + 1);
    SetCaretAt({caret.para + 1, 0});
}

// --- Objects -------------------------------------------------------------------------------

bool TKYTTextAttributes::InsertObject(std::unique_ptr<TKYToggetto> object, bool focusAfter) {
    (void)focusAfter;  // the object's view takes the focus when it is shown (visual objects)
    if (!object) return false;
    EndBursts();
    DropPending();
    if (HasSelection()) DeleteSelection();
    EditPos caret = CaretPos();
    IMarkupHost& host = box_.HostFor(kBodyParagraph);
    const bool table = object->Kind() == TOggettiHel::tabellaHtml;
    TboBackup* step = RecordBox("Inserimento oggetti", caret.para, caret.para);
    UpdateLock lock(box_);
    std::int32_t added = 0;
    if (table) {
        // A table stands in a paragraph of its own.
        if (caret.ch != 0) {
            BreakParagraph(box_, caret);
            caret = {caret.para + 1, 0};
            ++added;
        }
        if (!box_.Paragraph(caret.para).text.empty()) {
            BreakParagraph(box_, caret);
            ++added;
        }
    } else if (box_.Paragraph(caret.para).IsTableParagraph(host)) {
        BreakParagraph(box_, caret);
        ++added;
        if (caret.ch != 0) caret = {caret.para + 1, 0};
    }
    if (step) step->SetAfterRange(step->SavedFirst(), step->SavedLast() + added);
    object->SetOwner(&context_.set);
    context_.text.pageObjects.push_back(std::move(object));
    TKYToggetto* placed = context_.text.pageObjects.back().get();
    TKYTparag& p = box_.Paragraph(caret.para);
    const std::int32_t top = p.top, oldBottom = p.bottom;
    p.objects.push_back(placed);
    const ObjectSize size = host.SizeOf(*placed);
    TKYTcharMetric metric{size.width,
                          size.height,
                          size.height,
                          -1,
                          std::int32_t(p.objects.size()) - 1,
                          p.LinkAt(caret.ch - 1)};
    p.text.insert(p.text.begin() + caret.ch, ' ');
    p.metrics.insert(p.metrics.begin() + caret.ch, metric);
    p.spellFlags.clear();
    box_.ReplaceParagraphs(caret.para, caret.para);
    box_.RelayoutRange(caret.para, caret.para, false, oldBottom, top);
    SetCaretAt({caret.para, caret.ch + 1});
    return true;
}

bool TKYTTextAttributes::CanStartForm() {
    const EditPos caret = CaretPos();
    for (std::int32_t i = 0; i <= caret.para && i < box_.ParagraphCount(); ++i) {
        const TKYTparag& p = box_.Paragraph(i);
        const std::size_t limit = i == caret.para ? std::size_t(caret.ch) : p.text.size();
        for (std::size_t c = 0; c < limit && c < p.metrics.size(); ++c) {
            const std::int32_t index = p.metrics[c].objectIndex;
            if (index >= 0 && std::size_t(index) < p.objects.size() &&
                p.objects[std::size_t(index)] &&
                p.objects[std::size_t(index)]->Kind() == TOggettiHel::inizioForm)
                return false;
        }
    }
    return true;
}

// --- Character attributes ------------------------------------------------------------------

namespace {

template <class Record>
void SetAttribute(Record& record, const CharAttribute& value) {
    switch (value.attr) {
        case CharAttribute::Colour:
            record.SetColour(value.number);
            break;
        case CharAttribute::Name:
            record.SetFontName(value.name);
            break;
        case CharAttribute::Position:
            record.SetPosition(std::uint8_t(value.number));
            break;
        case CharAttribute::Style:
            record.SetStyleBits(std::uint8_t(value.number));
            break;
        case CharAttribute::Bits:
            record.SetStyleBits(std::uint8_t((record.StyleBits() | value.set) & ~value.clear));
            break;
        case CharAttribute::Size:
            record.SetFontSize(value.number);
            break;
    }
}

bool SameAttribute(const TMyFont& a, const TMyFont& b, CharAttribute::Kind attr) {
    switch (attr) {
        case CharAttribute::Colour:
            return a.colour == b.colour;
        case CharAttribute::Name:
            return a.name == b.name;
        case CharAttribute::Position:
            return a.position == b.position;
        case CharAttribute::Style:
        case CharAttribute::Bits:
            return a.styleBits == b.styleBits;
        case CharAttribute::Size:
            return a.size == b.size;
    }
    return true;
}

void CopyAttribute(TKYTFontStyle& to, const TMyFont& from, CharAttribute::Kind attr) {
    switch (attr) {
        case CharAttribute::Colour:
            to.SetColour(from.colour);
            break;
        case CharAttribute::Name:
            to.SetFontName(from.name);
            break;
        case CharAttribute::Position:
            to.SetPosition(from.position);
            break;
        case CharAttribute::Style:
        case CharAttribute::Bits:
            to.SetStyleBits(from.styleBits);
            break;
        case CharAttribute::Size:
            to.SetFontSize(from.size);
            break;
    }
}

// The run starts of characters [from, to) (to may name the end metric) get the attribute.
void SetInRunStarts(TKYTparag& p, std::int32_t from, std::int32_t to, const CharAttribute& v) {
    for (std::int32_t k = std::max(from, 0); k < to && std::size_t(k) < p.metrics.size(); ++k) {
        const std::int32_t index = p.metrics[std::size_t(k)].fontIndex;
        if (index >= 0 && std::size_t(index) < p.fonts.size())
            SetAttribute(p.fonts[std::size_t(index)], v);
    }
}

}  // namespace

void TKYTTextAttributes::ApplyAttribute(const CharAttribute& value, std::string label) {
    EndBursts();
    if (!HasSelection()) {
        // Only the next typed character takes it.
        switch (value.attr) {
            case CharAttribute::Colour:
                pending_.colour = value.number;
                break;
            case CharAttribute::Name:
                pending_.name = value.name;
                break;
            case CharAttribute::Position:
                pending_.position = std::uint8_t(value.number);
                break;
            case CharAttribute::Style:
                pending_.style = std::uint8_t(value.number);
                break;
            case CharAttribute::Bits:
                pending_.style = std::uint8_t((CurrentStyleBits() | value.set) & ~value.clear);
                break;
            case CharAttribute::Size:
                pending_.size = value.number;
                break;
        }
        return;
    }
    DropPending();
    const auto [start, endPos] = Selection();
    const EditPos end = endPos;
    RecordBox(std::move(label), start.para, end.para);
    UpdateLock lock(box_);
    const std::int32_t top = box_.Paragraph(start.para).top;
    const std::int32_t oldBottom = box_.Paragraph(end.para).bottom;
    TKYTparag& last = box_.Paragraph(end.para);
    const TMyFont remembered = FontStyleAt(last, end.ch).AsMyFont();

    TKYTparag& first = box_.Paragraph(start.para);
    {
        TKYTFontStyle format = FontStyleAt(first, start.ch);
        const TMyFont before = format.AsMyFont();
        SetAttribute(format, value);
        if (!SameAttribute(before, format.AsMyFont(), value.attr) ||
            first.metrics[std::size_t(start.ch)].fontIndex >= 0)
            MakeRunStart(first, start.ch, format);
    }
    auto restoreAtEnd = [&](TKYTparag& p) {
        if (std::size_t(end.ch) >= p.text.size()) return;
        if (p.metrics[std::size_t(end.ch)].fontIndex >= 0) return;
        TKYTFontStyle format = FontStyleAt(p, end.ch - 1);
        if (SameAttribute(format.AsMyFont(), remembered, value.attr)) return;
        CopyAttribute(format, remembered, value.attr);
        MakeRunStart(p, end.ch, format);
    };
    if (start.para == end.para) {
        SetInRunStarts(first, start.ch + 1, end.ch, value);
        restoreAtEnd(first);
    } else {
        SetInRunStarts(first, start.ch + 1, std::int32_t(first.text.size()) + 1, value);
        for (std::int32_t i = start.para + 1; i < end.para; ++i) {
            TKYTparag& middle = box_.Paragraph(i);
            SetAttribute(middle.style, value);
            SetAttribute(middle.style.charFormat, value);
            for (TKYTFontStyle& f : middle.fonts) SetAttribute(f, value);
        }
        SetAttribute(last.style, value);
        SetAttribute(last.style.charFormat, value);
        SetInRunStarts(last, 0, end.ch, value);
        restoreAtEnd(last);
    }
    if (value.attr != CharAttribute::Colour) box_.ReplaceParagraphs(start.para, end.para);
    box_.RelayoutRange(start.para, end.para, false, oldBottom, top);
    Select(start, end);
}

void TKYTTextAttributes::ApplyColour(std::int32_t colour) {
    ApplyAttribute(CharAttribute::Of(CharAttribute::Colour, colour),
                   "Applica colore " + ColourName(colour));
}

void TKYTTextAttributes::ApplyFontName(std::string_view name) {
    CharAttribute v = CharAttribute::Of(CharAttribute::Name, 0);
    v.name = std::string(name);
    ApplyAttribute(v, "Applica font " + std::string(name));
}

void TKYTTextAttributes::ApplyVerticalPosition(std::uint8_t position) {
    static constexpr std::string_view kNames[] = {"Normale", "Pedice", "Apice"};
    ApplyAttribute(CharAttribute::Of(CharAttribute::Position, position),
                   "Applica font " + std::string(position < 3 ? kNames[position] : kNames[0]));
}

void TKYTTextAttributes::ApplyFontStyle(std::uint8_t bits) {
    ApplyAttribute(CharAttribute::Of(CharAttribute::Style, bits & 15),
                   "Applica stile font: " + StyleBitNames(bits));
}

void TKYTTextAttributes::SetStyleBits(std::uint8_t set, std::uint8_t clear) {
    CharAttribute v = CharAttribute::Of(CharAttribute::Bits, 0);
    v.set = set;
    v.clear = clear;
    ApplyAttribute(v, "Applica stile font: ");
}

void TKYTTextAttributes::ApplyFontSize(std::int32_t points) {
    ApplyAttribute(CharAttribute::Of(CharAttribute::Size, points),
                   "Applica dimensione font " + std::to_string(points));
}

void TKYTTextAttributes::ApplyFont(const TMyFont& font, bool withPosition) {
    ApplyColour(font.colour);
    ApplyFontName(font.name);
    ApplyFontStyle(font.styleBits);
    ApplyFontSize(font.size);
    if (withPosition) ApplyVerticalPosition(font.position);
}

// --- Links ---------------------------------------------------------------------------------

std::int32_t AddToText(TKYTtesto& text, const TKYToggetto& link) {
    const TOggettiHel kind = link.Kind();
    if (kind != TOggettiHel::internetLink && kind != TOggettiHel::speclink &&
        kind != TOggettiHel::shortObj)
        return link.Code();
    for (std::size_t i = 0; i < text.links.size(); ++i)
        if (text.links[i].get() == &link) return kLocalLinkBase | std::int32_t(i);
    auto copy = NewObjectOfKind(kind, link.Owner());
    copy->Assign(link);
    const std::int32_t code = kLocalLinkBase | std::int32_t(text.links.size());
    copy->SetLocalCode(code);
    text.links.push_back(std::move(copy));
    return code;
}

void TKYTTextAttributes::ApplyLink(const TKYToggetto* link) {
    EndBursts();
    if (!HasSelection()) {
        context_.messages.Error(kLinkSelectionMustExist);
        return;
    }
    ApplyLinkCode(link ? AddToText(context_.text, *link) : -1);
}

void TKYTTextAttributes::ApplyLinkCode(std::int32_t linkId) {
    EndBursts();
    if (!HasSelection()) {
        context_.messages.Error(kLinkSelectionMustExist);
        return;
    }
    DropPending();
    auto [start, end] = Selection();
    RecordBox("Inserisci collegamento ", start.para, end.para);
    UpdateLock lock(box_);
    const std::int32_t top = box_.Paragraph(start.para).top;
    const std::int32_t oldBottom = box_.Paragraph(end.para).bottom;
    for (std::int32_t i = start.para; i <= end.para; ++i) {
        TKYTparag& p = box_.Paragraph(i);
        const std::int32_t size = std::int32_t(p.text.size());
        const std::int32_t from = i == start.para ? start.ch : 0;
        std::int32_t to = i == end.para ? end.ch : size + 1;  // end metric included
        for (std::int32_t k = from; k < to && std::size_t(k) < p.metrics.size(); ++k)
            p.metrics[std::size_t(k)].linkId = linkId;
    }
    box_.ReplaceParagraphs(start.para, end.para);
    box_.RelayoutRange(start.para, end.para, false, oldBottom, top);
    Select(start, end);
}

// --- Getters -------------------------------------------------------------------------------

namespace {
TMyFont CurrentFormat(const TKYTTextAttributes& a, const TKYTbox& box) {
    auto [start, end] = a.Selection();
    (void)end;
    const EditPos at = a.HasSelection() ? start : EditPos{start.para, start.ch - 1};
    if (at.para < 0 || at.para >= box.ParagraphCount()) return TMyFont{};
    return box.Paragraph(at.para).FormatAt(at.ch);
}
}  // namespace

std::int32_t TKYTTextAttributes::CurrentColour() {
    return pending_.colour ? *pending_.colour : CurrentFormat(*this, box_).colour;
}
std::string TKYTTextAttributes::CurrentFontName() {
    return pending_.name ? *pending_.name : CurrentFormat(*this, box_).name;
}
std::uint8_t TKYTTextAttributes::CurrentPosition() {
    return pending_.position ? *pending_.position : CurrentFormat(*this, box_).position;
}
std::uint8_t TKYTTextAttributes::CurrentStyleBits() {
    return pending_.style ? *pending_.style : CurrentFormat(*this, box_).styleBits;
}
std::int32_t TKYTTextAttributes::CurrentSize() {
    return pending_.size ? *pending_.size : CurrentFormat(*this, box_).size;
}
std::int32_t TKYTTextAttributes::CurrentLink() {
    auto [start, end] = Selection();
    (void)end;
    const std::int32_t ch = HasSelection() ? start.ch : start.ch - 1;
    return box_.Paragraph(start.para).LinkAt(ch);
}

bool TKYTTextAttributes::DiffersFromStyle(std::string_view styleName) {
    const TKYToggetto* style = StyleByName(context_.set, styleName);
    if (!style) return true;
    const TMyFont current = WithPending(CurrentFormat(*this, box_));
    if (current.size != DefinitionValue(*style, StyleField::FontSize) ||
        current.colour != DefinitionValue(*style, StyleField::Colour) ||
        current.name != DefinitionFontName(*style) ||
        current.styleBits != DefinitionValue(*style, StyleField::StyleBits) ||
        current.position != DefinitionValue(*style, StyleField::Position))
        return true;
    return box_.Paragraph(CaretPos().para).style.OverridesAny();
}

void TKYTTextAttributes::StoreFormatInStyle(TKYToggetto& style) {
    const TMyFont current = WithPending(CurrentFormat(*this, box_));
    RecordView record = style.View();
    record.SetPStr(kStyleFontName, current.name);
    record.SetI16(kStyleSize, std::int16_t(current.size));
    record.SetI32(kStyleColour, current.colour);
    record.SetU8(kStyleBits, current.styleBits);
    record.SetU8(kStylePosition, 0);
}

// --- BoxEditing ----------------------------------------------------------------------------

BoxEditing::BoxEditing(TKYTbox& box, EditContext context, TKYTundoIndiciList* controls,
                       std::int32_t pageId, std::int32_t frameId)
    : box_(box),
      context_(std::move(context)),
      controls_(controls),
      text_(box, context_),
      para_(box, context_) {
    if (controls_) number_ = controls_->Register(this);
    context_.path = {number_, pageId, frameId};
}

bool BoxEditing::InsertChar(std::uint8_t character) {
    if (!text_.InsertChar(character)) return false;
    const TKYTTextPos& caret = box_.Caret();
    box_.SetCaret(PositionAt(caret.paraIndex, caret.charIndex - 1));
    return true;
}

std::string BoxEditing::WriteSelection(bool forDrag, std::optional<std::string>* picture) {
    if (picture) picture->reset();
    MemoryStream stream;
    const TKYToggetto* shown = nullptr;
    if (!text_.WriteSelection(stream, forDrag, &shown)) return {};
    // The clipboard's picture: the picture object as the document stores it.
    if (picture && shown) {
        MemoryStream bytes;
        if (shown->WriteToStream(bytes)) *picture = bytes.TakeBytes();
    }
    return stream.TakeBytes();
}

std::string BoxEditing::WriteSelectionAsRtf() {
    MemoryStream stream;
    if (!text_.WriteSelectionAsRtf(stream)) return {};
    return stream.TakeBytes();
}

std::string BoxEditing::WriteSelectionAsText() {
    MemoryStream stream;
    if (!text_.WriteSelectionAsText(stream)) return {};
    return stream.TakeBytes();
}

BoxEditing::~BoxEditing() {
    if (controls_ && controls_->Lookup(number_) == this) controls_->Put(nullptr, number_);
}

}  // namespace orvo

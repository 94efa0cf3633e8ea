// Form inputs, buttons, players, floating frames and markers on a page.
#include "objects/FormViews.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <utility>

#include "base/Cp1252.h"
#include "model/uKYTogge.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "objects/FloatingFrames.h"
#include "textbox/IBoxHost.h"
#include "textbox/PageLinks.h"
#include "textbox/TKYTpage.h"
#include "textbox/uKYTCornice.h"

namespace orvo {

using namespace orvo::literals;

namespace {

using K = TOggettiHel;

constexpr std::int32_t kWhite = 0xFFFFFF;
constexpr std::int32_t kBlack = 0;
constexpr std::int32_t kMarkerSide = 18;
constexpr std::int32_t kCheckSide = 13;
constexpr std::int32_t kPlayerWidth = 141;
constexpr std::int32_t kPlayerHeight = 30;

// The two media messages are shown at most once a run each.
bool noPlayerShown = false;
bool inUseShown = false;

std::string StreamOf(const TKYToggetto& object) {
    Result<std::string> bytes = object.ContentBytes();
    return bytes ? *bytes : std::string();
}

Pen SolidPen(std::int32_t colour) {
    Pen pen;
    pen.colour = colour;
    return pen;
}

void Frame(ICanvas& canvas, const Rect& r, std::int32_t colour) {
    const Pen pen = SolidPen(colour);
    canvas.Line({r.left, r.top}, {r.right - 1, r.top}, pen);
    canvas.Line({r.right - 1, r.top}, {r.right - 1, r.bottom - 1}, pen);
    canvas.Line({r.right - 1, r.bottom - 1}, {r.left, r.bottom - 1}, pen);
    canvas.Line({r.left, r.bottom - 1}, {r.left, r.top}, pen);
}

// A white field with a sunken edge.
Rect Field(ICanvas& canvas, std::int32_t left, std::int32_t top, ObjectSize size) {
    const Rect r{left, top, left + size.width, top + size.height};
    canvas.FillRect(r, kWhite);
    Frame(canvas, r, SystemColour(kColourButtonShadow));
    return r;
}

std::string Label(const TKYToggetto& object) {
    const std::string description = object.Describe();
    return description;
}

}  // namespace

FormMetrics& FieldMetrics() {
    static FormMetrics metrics;
    return metrics;
}

// ---------------------------------------------------------------------------------------------
// Text fields and text boxes

TMyyEdit::TMyyEdit(IMessages& messages) : TMyyVisual(messages) {
    undoCaption_ = std::string(kUndoEditField);
}

void TMyyEdit::Refresh() {
    if (!obj_) return;
    const FormMetrics& m = FieldMetrics();
    const RecordView r = obj_->ReadView();
    password_ = obj_->Kind() == K::inputStat && obj_->Subtype() == 2;
    if (obj_->Kind() == K::inputStat && r.U8(kInputHasValue) == 1)
        text_ = r.PStr(kInputValue);
    else
        text_.clear();
    SetSize(m.fieldCharWidth * r.U8(kInputSize), m.fieldHeight);
}

void TMyyEdit::TypeText(std::string_view text) {
    if (!readOnly_) return;
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 32 || c == '\n') text_ += c;
    Invalidate();
}

void TMyyEdit::Backspace() {
    if (!readOnly_ || text_.empty()) return;
    text_.pop_back();
    Invalidate();
}

void TMyyEdit::PaintObject(ICanvas& canvas, std::int32_t left, std::int32_t top) {
    const Rect r = Field(canvas, left, top, Size());
    canvas.PushClip(r);
    canvas.SetFont(FieldMetrics().font);
    canvas.SetTextColour(kBlack);
    canvas.SetTextBackground(std::nullopt);
    canvas.TextOut(left + 3, top + 2, password_ ? std::string(text_.size(), '#') : text_);
    canvas.PopClip();
}

TMyyMemo::TMyyMemo(IMessages& messages) : TMyyEdit(messages) {
    undoCaption_ = std::string(kUndoEditMemo);
}

void TMyyMemo::Refresh() {
    if (!obj_) return;
    const FormMetrics& m = FieldMetrics();
    const RecordView r = obj_->ReadView();
    password_ = false;
    text_.clear();
    if (obj_->Kind() == K::inputStat && r.U8(kInputHasValue) == 1) text_ = StreamOf(*obj_);
    SetSize(m.fieldCharWidth * r.U8(kInputColumns), m.listLineHeight * r.U8(kInputRows) + 4);
}

void TMyyMemo::PaintObject(ICanvas& canvas, std::int32_t left, std::int32_t top) {
    const Rect r = Field(canvas, left, top, Size());
    canvas.PushClip(r);
    canvas.SetFont(FieldMetrics().font);
    canvas.SetTextColour(kBlack);
    canvas.SetTextBackground(std::nullopt);
    std::int32_t y = top + 2;
    std::size_t start = 0;
    while (start <= text_.size() && y < r.bottom) {
        std::size_t end = text_.find('\n', start);
        if (end == std::string::npos) end = text_.size();
        std::string line = text_.substr(start, end - start);
        if (line.ends_with('\r')) line.pop_back();
        canvas.TextOut(left + 3, y, line);
        y += FieldMetrics().listLineHeight;
        start = end + 1;
    }
    canvas.PopClip();
}

// ---------------------------------------------------------------------------------------------
// Lists

TMyyListBox::TMyyListBox(IMessages& messages) : TMyyVisual(messages) {
    undoCaption_ = std::string(kUndoEditList);
}

void TMyyListBox::Refresh() {
    if (!obj_) return;
    const FormMetrics& m = FieldMetrics();
    const RecordView r = obj_->ReadView();
    multiple_ = r.U8(kInputMultiple) == 1;
    items_.clear();
    if (obj_->Kind() == K::inputStat) items_ = ReadListItems(StreamOf(*obj_));
    marks_.assign(items_.size(), false);
    selected_ = -1;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (!items_[i].selected) continue;
        if (multiple_) marks_[i] = true;
        selected_ = int(i);
    }
    SetSize(m.listWidth, m.listLineHeight * r.U8(kInputSize) + 4);
}

std::string TMyyListBox::GetFormValue() const {
    if (multiple_ || selected_ < 0 || std::size_t(selected_) >= items_.size()) return {};
    return items_[std::size_t(selected_)].value;
}

void TMyyListBox::ChooseItem(int index) {
    if (!readOnly_ || index < 0 || std::size_t(index) >= items_.size()) return;
    selected_ = index;
    if (multiple_) marks_[std::size_t(index)] = !marks_[std::size_t(index)];
    Invalidate();
}

void TMyyListBox::PaintObject(ICanvas& canvas, std::int32_t left, std::int32_t top) {
    const Rect r = Field(canvas, left, top, Size());
    canvas.PushClip(r);
    canvas.SetFont(FieldMetrics().font);
    const std::int32_t line = FieldMetrics().listLineHeight;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        const std::int32_t y = top + 2 + std::int32_t(i) * line;
        if (y >= r.bottom) break;
        const bool chosen = multiple_ ? marks_[i] : int(i) == selected_;
        if (chosen)
            canvas.FillRect({left + 2, y, r.right - 2, y + line}, SystemColour(kColourHighlight));
        canvas.SetTextColour(chosen ? SystemColour(kColourHighlightText) : kBlack);
        canvas.SetTextBackground(std::nullopt);
        canvas.TextOut(left + 3, y, items_[i].text);
    }
    canvas.PopClip();
}

TMyyComboBox::TMyyComboBox(IMessages& messages) : TMyyListBox(messages) {
    undoCaption_ = std::string(kUndoEditCombo);
}

void TMyyComboBox::Refresh() {
    if (!obj_) return;
    const FormMetrics& m = FieldMetrics();
    multiple_ = false;
    items_.clear();
    if (obj_->Kind() == K::inputStat) items_ = ReadListItems(StreamOf(*obj_));
    marks_.assign(items_.size(), false);
    selected_ = items_.empty() ? -1 : 0;
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i].selected) selected_ = int(i);
    SetSize(m.listWidth, m.fieldHeight);
}

std::string TMyyComboBox::GetFormValue() const {
    if (selected_ < 0 || std::size_t(selected_) >= items_.size()) return {};
    return items_[std::size_t(selected_)].value;
}

void TMyyComboBox::PaintObject(ICanvas& canvas, std::int32_t left, std::int32_t top) {
    const Rect r = Field(canvas, left, top, Size());
    const std::int32_t arrow = r.Height();
    canvas.FillRect({r.right - arrow, r.top + 1, r.right - 1, r.bottom - 1},
                    SystemColour(kColourButtonFace));
    const std::int32_t cx = r.right - arrow / 2, cy = r.top + arrow / 2;
    for (std::int32_t d = 0; d < 4; ++d)
        canvas.Line({cx - 4 + d, cy - 2 + d}, {cx + 4 - d, cy - 2 + d}, SolidPen(kBlack));
    canvas.PushClip({r.left, r.top, r.right - arrow, r.bottom});
    canvas.SetFont(FieldMetrics().font);
    canvas.SetTextColour(kBlack);
    canvas.SetTextBackground(std::nullopt);
    if (selected_ >= 0 && std::size_t(selected_) < items_.size())
        canvas.TextOut(left + 3, top + 2, items_[std::size_t(selected_)].text);
    canvas.PopClip();
}

// ---------------------------------------------------------------------------------------------
// Check boxes and radio buttons

TMyyCheckedControl::TMyyCheckedControl(IMessages& messages) : TMyyVisual(messages) {
    undoCaption_ = std::string(kUndoEditBox);
}

void TMyyCheckedControl::Refresh() {
    if (!obj_) return;
    checked_ = obj_->ReadView().U8(kInputChecked) == 1;
    SetSize(kCheckSide, kCheckSide);
}

std::string TMyyCheckedControl::GetFormValue() const {
    return checked_ && obj_ ? obj_->ReadView().PStr(kInputValue) : std::string();
}

void TMyyCheckedControl::SetFormValue(std::string_view value) {
    checked_ = Lower1252(value) == "checked";
    Invalidate();
}

void TMyyCheckedControl::Press() {
    pressed_ = true;
    Invalidate();
}

void TMyyCheckedControl::Release(Point p) {
    pressed_ = false;
    const Rect inside{0, 0, Size().width + 1, Size().height + 1};
    if (readOnly_ && inside.Contains(p)) Toggle();
    Invalidate();
}

void TMyyCheckBox::PaintObject(ICanvas& canvas, std::int32_t left, std::int32_t top) {
    const Rect r{left, top, left + 12, top + 12};
    canvas.FillRect(r, pressed_ ? SystemColour(kColourButtonFace) : kWhite);
    Frame(canvas, r, SystemColour(kColourButtonShadow));
    if (!checked_) return;
    const Pen pen = SolidPen(kBlack);
    canvas.Line({left + 3, top + 6}, {left + 5, top + 8}, pen);
    canvas.Line({left + 5, top + 8}, {left + 9, top + 3}, pen);
    canvas.Line({left + 5, top + 9}, {left + 9, top + 4}, pen);
}

void TMyyRadioButton::PaintObject(ICanvas& canvas, std::int32_t left, std::int32_t top) {
    // A 12-pixel circle filled row by row, each row spanning the chord at its middle; a pixel
    // of a row that the row above or below does not cover lies on the edge.
    constexpr std::int32_t kSide = 12;
    constexpr double kRadius = kSide / 2.0;
    const std::int32_t inside = pressed_ ? SystemColour(kColourButtonFace) : kWhite;
    const std::int32_t edge = SystemColour(kColourButtonShadow);
    const auto span = [&](std::int32_t row, double radius) {
        const double dy = row + 0.5 - kRadius;
        const double half = std::sqrt(std::max(0.0, radius * radius - dy * dy));
        return std::pair{std::int32_t(std::lround(kRadius - half)),
                         std::int32_t(std::lround(kRadius + half))};
    };
    const auto covers = [&](std::int32_t row, std::int32_t x) {
        if (row < 0 || row >= kSide) return false;
        const auto [from, to] = span(row, kRadius);
        return from <= x && x < to;
    };
    for (std::int32_t row = 0; row < kSide; ++row) {
        const auto [from, to] = span(row, kRadius);
        for (std::int32_t x = from; x < to; ++x) {
            const bool onEdge =
                x == from || x == to - 1 || !covers(row - 1, x) || !covers(row + 1, x);
            canvas.FillRect({left + x, top + row, left + x + 1, top + row + 1},
                            onEdge ? edge : inside);
        }
    }
    if (!checked_) return;
    // The dot: a disc inset by 4 pixels.
    constexpr double kDot = kRadius - 4 + 0.5;
    for (std::int32_t row = 4; row < kSide - 4; ++row) {
        const auto [from, to] = span(row, kDot);
        canvas.FillRect({left + from, top + row, left + to, top + row + 1}, kBlack);
    }
}

// ---------------------------------------------------------------------------------------------
// Buttons

TMyyButton::TMyyButton(IMessages& messages) : TMyyVisual(messages) {
    undoCaption_ = std::string(kUndoEditButton);
}

void TMyyButton::Refresh() {
    if (!obj_) return;
    const FormMetrics& m = FieldMetrics();
    const RecordView r = obj_->ReadView();
    caption_ = r.PStr(kButtonCaption);
    hint_ = Label(*obj_);
    picture_ = r.I32(kButtonPicture);
    const TKYTset* set = obj_->Owner();
    const TKYToggetto* picture =
        set && picture_ >= 0 ? set->ObjectByKind(K::immagine, picture_) : nullptr;
    if (!picture || picture->IsFree()) {
        picture_ = -1;
        SetSize(m.fieldCharWidth * std::int32_t(caption_.size() + 2), m.fieldHeight);
    } else {
        SetSize(r.I16(kButtonWidth), r.I16(kButtonHeight));
    }
    if (r.I32(kButtonLink) == -1 && readOnly_) hint_.clear();
}

void TMyyButton::FollowLink() {
    if (!obj_ || !site_ || !(readOnly_ || inactive_)) return;
    const std::int32_t link = obj_->ReadView().I32(kButtonLink);
    if (link == -1) return;
    const TKYToggetto* target = site_->LinkedKYTset().ObjectByCode(link);
    if (target && !target->IsFree()) site_->RequestLink(*target);
}

void TMyyButton::PaintObject(ICanvas& canvas, std::int32_t left, std::int32_t top) {
    const ObjectSize size = Size();
    const Rect r{left, top, left + size.width, top + size.height};
    canvas.FillRect(r, SystemColour(kColourButtonFace));
    canvas.Line({r.left, r.bottom - 1}, {r.left, r.top},
                SolidPen(SystemColour(kColourButtonHighlight)));
    canvas.Line({r.left, r.top}, {r.right - 1, r.top},
                SolidPen(SystemColour(kColourButtonHighlight)));
    canvas.Line({r.right - 1, r.top}, {r.right - 1, r.bottom - 1}, SolidPen(kBlack));
    canvas.Line({r.right - 1, r.bottom - 1}, {r.left, r.bottom - 1}, SolidPen(kBlack));
    canvas.PushClip(r);
    canvas.SetFont(FieldMetrics().font);
    canvas.SetTextColour(kBlack);
    canvas.SetTextBackground(std::nullopt);
    const std::int32_t width = canvas.TextExtent(caption_);
    canvas.TextOut(left + (size.width - width) / 2, top + 3, caption_);
    canvas.PopClip();
}

std::pair<std::size_t, std::size_t> ResetRange(const std::vector<bool>& isFormStart,
                                               std::size_t button) {
    std::size_t first = 0, last = isFormStart.size();
    for (std::size_t i = button; i-- > 0;)
        if (isFormStart[i]) {
            first = i + 1;
            break;
        }
    for (std::size_t i = button + 1; i < isFormStart.size(); ++i)
        if (isFormStart[i]) {
            last = i;
            break;
        }
    return {first, last};
}

// ---------------------------------------------------------------------------------------------
// Markers

TMyyBelPanel::TMyyBelPanel(IMessages& messages) : TMyyVisual(messages) {
    undoCaption_ = std::string(kUndoEditMarker);
}

void TMyyBelPanel::Setup() {
    Refresh();
    if (!obj_) return;
    std::int32_t width = kMarkerSide;
    const int subtype = obj_->Subtype();
    switch (obj_->Kind()) {
        case K::shortObj:
            if (subtype >= 21 && subtype <= 26) width = 36;
            if (subtype == 27 || subtype == 28) width = 90;
            glyph_ = subtype == kMarkerAnnotation     ? 'N'
                     : subtype == kMarkerCustomHtml   ? 'H'
                     : subtype == 12                  ? 'P'
                     : subtype == kMarkerWindowScript ? 'W'
                     : subtype == kMarkerAnchor       ? 'A'
                                                      : 'R';
            break;
        case K::inizioForm:
            glyph_ = 'F';
            break;
        case K::inputStat:
            glyph_ = 'I';  // a hidden field
            break;
        default:
            glyph_ = 'D';  // a dynamic input
    }
    SetSize(width, kMarkerSide);
}

void TMyyBelPanel::Refresh() {
    if (obj_ && Placed()) hint_ = Label(*obj_);
}

bool TMyyBelPanel::HiddenInLayout(bool asked) const {
    if (obj_ && obj_->Kind() == K::shortObj) {
        if (obj_->Subtype() == kMarkerAnchor && site_ && site_->AnchorPreview()) return false;
        if (obj_->Subtype() == 15) return false;
    }
    return asked;
}

ObjectSize TMyyBelPanel::Size() const {
    if (readOnly_ && HiddenInLayout(true)) return {0, 0};
    return TMyyVisual::Size();
}

void TMyyBelPanel::FollowLink() {
    if (!obj_ || !site_ || !readOnly_) return;
    if (obj_->Kind() == K::shortObj && obj_->Subtype() == kMarkerAnchor) site_->RequestLink(*obj_);
}

void TMyyBelPanel::PaintObject(ICanvas& canvas, std::int32_t left, std::int32_t top) {
    const bool anchorShown = obj_ && obj_->Kind() == K::shortObj &&
                             obj_->Subtype() == kMarkerAnchor && site_ && site_->AnchorPreview();
    if (readOnly_ && !anchorShown && !(obj_ && obj_->Subtype() == 15)) return;
    const ObjectSize size = Size();
    if (size.width > 36) {
        const std::size_t colon = hint_.find(": ");
        canvas.FillRect({left + kMarkerSide, top, left + size.width, top + size.height}, kWhite);
        canvas.SetTextColour(kBlack);
        canvas.SetTextBackground(std::nullopt);
        if (colon != std::string::npos)
            canvas.TextOut(left + kMarkerSide, top + 2, hint_.substr(colon + 2));
        canvas.Line({left, top}, {left + size.width - 1, top}, SolidPen(0xFF0000));
    }
    const Rect r{left, top, left + kMarkerSide, top + kMarkerSide};
    canvas.FillRect(r, SystemColour(kColourButtonFace));
    Frame(canvas, r, kBlack);
    canvas.SetTextColour(kBlack);  // the text after the marker is drawn in the colour left
    canvas.SetTextBackground(std::nullopt);
    canvas.TextOut(left + 5, top + 2, std::string(1, glyph_));
}

// ---------------------------------------------------------------------------------------------
// Players

TMyyMultimedia::TMyyMultimedia(IMessages& messages) : TMyyVisual(messages) {
    undoCaption_ = std::string(kUndoEditMedia);
}

TMyyMultimedia::~TMyyMultimedia() {
    // The page closes: the sound stops with it.
    if (player_) {
        player_->SetOnEnd(nullptr);
        player_->Stop();
        player_->Close();
    }
}

void TMyyMultimedia::OpenFile() {
    opened_ = false;
    if (!player_ || !obj_) return;
    player_->Close();
    const TKYTset* set = obj_->Owner();
    const std::int32_t source = obj_->ReadView().I32(kMediaSource);
    TKYToggetto* file = set && source >= 0 ? set->ObjectByKind(K::genLink, source) : nullptr;
    if (!file || file->IsFree()) return;
    if (file_.empty() || !std::filesystem::exists(file_)) file_ = file->ExtractContent();
    std::error_code ec;
    if (file_.empty() || !std::filesystem::is_regular_file(file_, ec)) return;
    const int code = player_->Open(file_);
    if (code == 0) {
        opened_ = true;
        return;
    }
    cyclesLeft_ = 0;
    if (code == kMediaNoPlayer) {
        if (!noPlayerShown) messages_.Error(kMediaNoPlayerText);
        noPlayerShown = true;
    } else if (code == kMediaInUse) {
        if (!inUseShown) messages_.Error(kMediaInUseText);
        inUseShown = true;
    } else {
        messages_.Error(player_->ErrorText());
    }
}

void TMyyMultimedia::Refresh() {
    if (!obj_) return;
    const RecordView r = obj_->ReadView();
    const int subtype = obj_->Subtype();
    const bool media = obj_->Kind() == K::multiMedia && subtype >= 1 && subtype <= 4;
    if (media && !player_) player_ = MakeMediaPlayer();
    if (!media) player_.reset();
    const bool cyclic = r.U8(kMediaAction) == 1;
    if (player_) {
        OpenFile();
        if (cyclic) {
            cyclesLeft_ = r.I16(kMediaCycles);
            player_->SetOnEnd([this] { EndOfPlay(); });
            if (cyclesLeft_ != 0 && readOnly_ && opened_) player_->Play();
        } else {
            player_->SetOnEnd(nullptr);
        }
    }
    FitToWidth(availWidth_);
}

void TMyyMultimedia::FitToWidth(std::int32_t available) {
    TMyyVisual::FitToWidth(available);
    if (!obj_) return;
    const RecordView r = obj_->ReadView();
    const int subtype = obj_->Subtype();
    const bool cyclic = r.U8(kMediaAction) == 1;
    std::int32_t width = r.I16(kMediaWidth), height = r.I16(kMediaHeight);
    if (r.U8(kMediaPercent) == 1) {
        width = available > 0 ? available * width / 100 : 100;
        height = 100;  // the height available is not known here
    }
    if (subtype == 1 || subtype == 2)
        SetSize(cyclic ? kMarkerSide : kPlayerWidth, cyclic ? kMarkerSide : kPlayerHeight);
    else if (subtype == 3 || subtype == 4)
        SetSize(cyclic ? width : std::max(width, kPlayerWidth),
                cyclic ? height : height + kPlayerHeight);
    else
        SetSize(width, height);
}

void TMyyMultimedia::SetReadOnly(bool on) {
    TMyyVisual::SetReadOnly(on);
    if (!player_) return;
    if (on && opened_) {
        if (obj_ && obj_->ReadView().U8(kMediaAction) == 1)
            cyclesLeft_ = obj_->ReadView().I16(kMediaCycles);
        player_->Rewind();
        player_->Play();
    } else {
        player_->Stop();
    }
}

void TMyyMultimedia::EndOfPlay() {
    if (!player_ || player_->Playing()) return;
    player_->Stop();
    if (cyclesLeft_ != -1) {
        if (cyclesLeft_ <= 0) return;
        --cyclesLeft_;
    }
    if (readOnly_) {
        player_->Rewind();
        player_->Play();
    }
}

void TMyyMultimedia::PaintObject(ICanvas& canvas, std::int32_t left, std::int32_t top) {
    if (readOnly_ && !player_) return;
    const ObjectSize size = Size();
    const Rect r{left, top, left + size.width, top + size.height};
    canvas.FillRect(r, SystemColour(kColourButtonFace));
    Frame(canvas, r, kBlack);
    if (!player_ || size.height < kPlayerHeight) return;
    // The player's buttons: play, pause, stop, step, back.
    const std::int32_t y = top + size.height - kPlayerHeight;
    for (int b = 0; b < 5; ++b) {
        const std::int32_t x = left + 2 + b * 27;
        Frame(canvas, {x, y + 3, x + 25, y + kPlayerHeight - 3}, SystemColour(kColourButtonShadow));
    }
    const Pen pen = SolidPen(player_->Playing() ? 0x008000 : kBlack);
    for (std::int32_t d = 0; d < 6; ++d)
        canvas.Line({left + 11 + d, y + 9 + d / 2}, {left + 11 + d, y + 20 - d / 2}, pen);
}

// ---------------------------------------------------------------------------------------------
// Floating frames

TMyyFloating::TMyyFloating(IMessages& messages) : TMyyVisual(messages) {
    undoCaption_ = std::string(kUndoEditFloating);
}

TMyyFloating::~TMyyFloating() = default;

void TMyyFloating::Refresh() {
    if (!obj_) return;
    const RecordView r = obj_->ReadView();
    page_ = r.I32(kFloatingPage);
    if (r.U8(kFloatingPercent) != 1) SetSize(r.I16(kFloatingWidth), r.I16(kFloatingHeight));
    if (frames_) ShowFrames();
}

void TMyyFloating::FitToWidth(std::int32_t available) {
    TMyyVisual::FitToWidth(available);
    if (!obj_) return;
    const RecordView r = obj_->ReadView();
    if (r.U8(kFloatingPercent) != 1) return;
    // A share of the page's width and of its height, as the exported frame takes them.
    const IBoxHost* host = site_ ? site_->BoxHost() : nullptr;
    const std::int32_t height = host ? host->ClientHeight() : 0;
    SetSize(available * r.I16(kFloatingWidth) / 100,
            height > 0 ? height * r.I16(kFloatingHeight) / 100 : r.I16(kFloatingHeight));
}

void TMyyFloating::PlaceAt(std::int32_t left, std::int32_t top) {
    TMyyVisual::PlaceAt(left, top);
    ShowFrames();
}

void TMyyFloating::ShowFrames() {
    if (!obj_ || !site_ || !Placed()) return;
    if (!frames_) {
        ITextMeasurer* measurer = site_->Measurer();
        const int depth = site_->FloatingDepth();
        if (!measurer || depth >= kMaxFloatingDepth) return;
        pages_ = std::make_unique<FloatingFramePages>(FloatingFrameContext{
            site_->Messages(), site_->Scheduler(), *measurer, depth + 1, [this](const Rect& area) {
                if (site_) site_->InvalidateObject(area.Offset(Bounds().left, Bounds().top));
            }});
        frames_ =
            std::make_unique<TKYTCustomFrameSet>(site_->Messages(), site_->Scheduler(), *pages_);
        frames_->SaveOnExit = false;
        frames_->SetReadOnly(true);
        frames_->SetLinkedKYTset(&site_->LinkedKYTset());
        // A page followed inside the frame is painted; a link not followed there is the
        // holding page's.
        frames_->OnPageChanged = [this] { Invalidate(); };
        if (TKYTpage* page = site_->Page()) page->AddFloatingFrameSet(*frames_);
    }
    const RecordView r = obj_->ReadView();
    const bool autoJump = r.U8(kFloatingAutoJump) == 1;
    if (frames_->AutoJump() != autoJump) frames_->SetAutoJump(autoJump);
    const bool nested = r.U8(kFloatingNested) == 1;
    const ObjectSize size = Size();
    if (frames_->ClientRect() != Rect{0, 0, size.width, size.height})
        frames_->SetClientSize(size.width, size.height);
    // A frame whose page is gone shows nothing: showing a missing page would add one.
    // The page the record names, once: a link followed inside the frame shows another.
    const std::int32_t shown = LivePage(site_->LinkedKYTset(), page_) ? page_ : -1;
    if (told_ == shown && frames_->ShowNested == nested) return;
    frames_->ShowNested = nested;
    if (frames_->MainPageNumber() == shown) frames_->SetMainPageNumber(-1);
    frames_->SetMainPageNumber(shown);
    told_ = shown;
}

bool TMyyFloating::Click(Point p) {
    if (!frames_ || !site_ || !readOnly_) return false;
    for (TKYTFrame* leaf : frames_->Leaves()) {
        auto* page = dynamic_cast<FloatingFramePage*>(leaf->page.get());
        TKYTbox* box = page ? page->Box() : nullptr;
        if (!box || !page->Area().Contains(p)) continue;
        const std::int32_t code = LinkCodeAt(*box, p.x - page->Area().left, p.y - page->Area().top);
        if (code < 0) return false;
        if (frames_->AutoJump()) {
            frames_->RequestLink(code, leaf);
            return true;
        }
        const TKYToggetto* target = LinkObjectOf(site_->LinkedKYTset(), page->WorkingText(), code);
        if (!target) return false;
        site_->RequestLink(*target);
        return true;
    }
    return false;
}

void TMyyFloating::PaintObject(ICanvas& canvas, std::int32_t left, std::int32_t top) {
    ShowFrames();
    const ObjectSize size = Size();
    const Rect r{left, top, left + size.width, top + size.height};
    canvas.FillRect(r, kWhite);
    if (frames_ && frames_->Top()) {
        canvas.PushClip(r);
        for (TKYTFrame* leaf : frames_->Leaves())
            if (auto* page = dynamic_cast<FloatingFramePage*>(leaf->page.get()))
                page->Paint(canvas, left, top);
        canvas.PopClip();
        // While the page is edited the author sees where the frame ends.
        if (!readOnly_) Frame(canvas, r, SystemColour(kColourButtonShadow));
        return;
    }
    // Too deep, or before a measurer is known: the name of the page it shows.
    Frame(canvas, r, SystemColour(kColourButtonShadow));
    const TKYToggetto* page = site_ ? LivePage(site_->LinkedKYTset(), page_) : nullptr;
    if (!page) return;
    canvas.PushClip(r);
    canvas.SetTextColour(kBlack);
    canvas.SetTextBackground(std::nullopt);
    canvas.TextOut(left + 4, top + 4, page->Name());
    canvas.PopClip();
}

// ---------------------------------------------------------------------------------------------

std::unique_ptr<TMyyVisual> CreateFormVisual(IVisualSite& site, TKYToggetto& object, bool readOnly,
                                             bool animated) {
    std::unique_ptr<TMyyVisual> visual;
    IMessages& messages = site.Messages();
    switch (VisualClassFor(KindIndex(object.Kind()), object.Subtype())) {
        case VisualClass::Edit:
            visual = std::make_unique<TMyyEdit>(messages);
            break;
        case VisualClass::Memo:
            visual = std::make_unique<TMyyMemo>(messages);
            break;
        case VisualClass::ListBox:
            visual = std::make_unique<TMyyListBox>(messages);
            break;
        case VisualClass::ComboBox:
            visual = std::make_unique<TMyyComboBox>(messages);
            break;
        case VisualClass::CheckBox:
            visual = std::make_unique<TMyyCheckBox>(messages);
            break;
        case VisualClass::RadioButton:
            visual = std::make_unique<TMyyRadioButton>(messages);
            break;
        case VisualClass::Button:
            visual = std::make_unique<TMyyButton>(messages);
            break;
        case VisualClass::BelPanel:
        case VisualClass::InizioForm:
            visual = std::make_unique<TMyyBelPanel>(messages);
            break;
        case VisualClass::Multimedia:
            visual = std::make_unique<TMyyMultimedia>(messages);
            break;
        case VisualClass::Floating:
            visual = std::make_unique<TMyyFloating>(messages);
            break;
        default:
            return nullptr;
    }
    visual->SetSite(&site);
    visual->SetObject(&object);
    visual->SetReadOnly(readOnly);
    visual->SetAnimated(animated);
    visual->MarkReposition();
    visual->Park();
    return visual;
}

}  // namespace orvo

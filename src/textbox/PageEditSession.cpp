// The editing of a shown page: the box's operations and input, the caret kept across modes.
#include "textbox/PageEditSession.h"

#include <algorithm>

#include "model/TKYTparag.h"
#include "model/uKYTset.h"

namespace orvo {

PageEditSession::PageEditSession(TKYTset& set, IMessages& messages, IScheduler& scheduler,
                                 IClipboard& clipboard, IBoxInputHost& host)
    : set_(set),
      messages_(messages),
      scheduler_(scheduler),
      clipboard_(clipboard),
      host_(host),
      undo_(&UndoListOf(set)),
      frameId_(undo_->Frames().NewFrameId()) {
    undo_->OnDestroyed(this, [this] { undo_ = nullptr; });
}

PageEditSession::~PageEditSession() {
    input_.reset();
    editing_.reset();
    // The list outlives the session: nothing of it may still name this session.
    if (undo_) {
        undo_->OnApplied(this, nullptr);
        undo_->OnDestroyed(this, nullptr);
        undo_->Frames().RemoveFrame(frameId_);
    }
}

void PageEditSession::OnUndoApplied(std::function<void()> callback) {
    if (undo_) undo_->OnApplied(this, std::move(callback));
}

void PageEditSession::Attach(TKYTbox& box, TKYTtesto& text, std::int32_t pageId) {
    Detach();
    box_ = &box;
    pageId_ = pageId;
    if (!undo_) return;
    undo_->Frames().SetFrame(frameId_, pageId, &controls_);
    EditContext context(set_, text, messages_);
    context.undo = undo_;
    context.converters = converters_;
    editing_ = std::make_unique<BoxEditing>(box, std::move(context), &controls_, pageId, frameId_);
    // The same page again (after a save, which makes its box anew): the steps recorded for
    // the box that went find this one under the numbers they keep.
    if (place_ && place_->pageId == pageId) {
        for (const std::int32_t number : numbers_) controls_.Put(editing_.get(), number);
    } else {
        numbers_.clear();
    }
    numbers_.push_back(editing_->Number());
    input_ = std::make_unique<TKYTboxInput>(box, scheduler_, host_, clipboard_, *editing_);
    box.SetRunMode(!editable_, false);
    Restore();
    if (editable_) SetCaretShown(true);
}

void PageEditSession::Detach() {
    if (!input_) return;
    Remember();
    SetCaretShown(false);
    input_.reset();
    for (const std::int32_t number : numbers_)
        if (controls_.Lookup(number) == editing_.get()) controls_.Put(nullptr, number);
    editing_.reset();
    if (undo_) undo_->Frames().RemoveFrame(frameId_);
    box_ = nullptr;
}

void PageEditSession::Forget() {
    place_.reset();
    numbers_.clear();
}

void PageEditSession::Remember() {
    auto [start, end] = input_->SelectionRange();
    Place place;
    place.pageId = pageId_;
    place.selection = input_->SelectionPresent();
    const TKYTTextPos caret = input_->Caret().Pos();
    place.caretPara = caret.paraIndex;
    place.caretChar = caret.charIndex;
    place.anchorPara = start.paraIndex;
    place.anchorChar = start.charIndex;
    if (place.selection) {
        place.caretPara = end.paraIndex;
        place.caretChar = end.charIndex;
    }
    place_ = place;
}

void PageEditSession::Restore() {
    TKYTbox& box = *box_;
    if (box.LastEditable() < box.FirstEditable()) return;
    // A position of the page as it was, kept inside the box as it is now.
    const auto clamp = [&box](std::int32_t para, std::int32_t ch) {
        TKYTTextPos p;
        p.paraIndex = std::clamp(para, box.FirstEditable(), box.LastEditable());
        p.charIndex = std::clamp(ch, 0, std::int32_t(box.Paragraph(p.paraIndex).text.size()));
        return box.ResolvePosition(p);
    };
    if (!place_ || place_->pageId != pageId_) {
        input_->PlaceCaret(clamp(box.FirstEditable(), 0));
        return;
    }
    const TKYTTextPos caret = clamp(place_->caretPara, place_->caretChar);
    if (place_->selection) {
        input_->SetSelection(clamp(place_->anchorPara, place_->anchorChar), caret);
        input_->Caret().StorePos(caret);  // the caret stays at the selection's moving end
    } else
        input_->PlaceCaret(caret);
}

void PageEditSession::SetCaretShown(bool on) {
    if (!input_) return;
    TKYTcursor& caret = input_->Caret();
    if (on) {
        if (!input_->Focused()) input_->FocusIn();
        if (!input_->SelectionPresent()) caret.ShowCaret(true);
    } else {
        if (input_->Focused()) input_->FocusOut();
        caret.ShowCaret(false);
    }
}

void PageEditSession::SetEditable(bool on) {
    if (editable_ == on) return;
    // Leaving editing keeps the place; coming back restores it rather than what run mode left.
    if (input_ && !on) Remember();
    editable_ = on;
    if (!input_) return;
    if (!on) {
        editing_->EndBursts();
        SetCaretShown(false);
        box_->SetRunMode(true, false);
        return;
    }
    box_->SetRunMode(false, false);
    Restore();
    SetCaretShown(true);
}

bool PageEditSession::Key(BoxKey key, unsigned modifiers) {
    if (!input_) return false;
    const bool changes =
        editable_ && (key == BoxKey::Backspace || key == BoxKey::Delete || key == BoxKey::Return);
    const bool done = input_->KeyDown(key, modifiers);
    if (done && changes) edited_ = true;
    return done;
}

bool PageEditSession::Char(std::uint8_t character) {
    if (!input_ || !editable_) return false;
    const bool done = input_->Char(character);
    if (done) edited_ = true;
    return done;
}

void PageEditSession::MouseDown(MouseButton button, std::int32_t x, std::int32_t y,
                                unsigned modifiers) {
    if (input_) input_->MouseDown(button, x, y, modifiers);
}

void PageEditSession::MouseMove(std::int32_t x, std::int32_t y, unsigned modifiers) {
    if (input_) input_->MouseMove(x, y, modifiers);
}

void PageEditSession::MouseUp(MouseButton button, std::int32_t x, std::int32_t y,
                              unsigned modifiers) {
    if (input_) input_->MouseUp(button, x, y, modifiers);
}

void PageEditSession::DoubleClick(std::int32_t x, std::int32_t y) {
    if (input_) input_->DoubleClick(x, y);
}

bool PageEditSession::Drop(TKYTboxInput& source, std::int32_t x, std::int32_t y) {
    if (!input_) return false;
    const bool done = input_->Drop(source, x, y);
    if (done) edited_ = true;
    return done;
}

bool PageEditSession::Command(BoxCommandKind command) {
    if (!input_) return false;
    switch (command) {
        case BoxCommandKind::Undo:
            return UndoSteps(1);
        case BoxCommandKind::Copy:
            return input_->SelectionPresent() && input_->CopySelection();
        case BoxCommandKind::SelectAll:
            input_->SelectAll();
            return true;
        case BoxCommandKind::Cut:
        case BoxCommandKind::Paste:
            break;
    }
    if (!editable_) return false;
    const bool done = command == BoxCommandKind::Cut ? input_->CutSelection() : input_->Paste();
    if (done) edited_ = true;
    return done;
}

bool PageEditSession::UndoSteps(int count) {
    if (!input_ || !undo_ || !editable_ || count < 1 || std::size_t(count) > undo_->Count())
        return false;
    editing_->EndBursts();
    undo_->UndoFromList(count);
    // The step put the caret or a selection into the box: the input follows it.
    if (!input_->SelectionPresent()) input_->Caret().ShowCaret(input_->Focused());
    edited_ = true;
    return true;
}

void PageEditSession::ToggleStyle(std::uint8_t bit) {
    if (!editing_ || !editable_) return;
    TKYTTextAttributes& text = editing_->Text();
    if (text.CurrentStyleBits() & bit)
        text.SetStyleBits(0, bit);
    else
        text.SetStyleBits(bit, 0);
    edited_ = edited_ || text.HasSelection();
}

void PageEditSession::SetFontName(const std::string& name) {
    if (!editing_ || !editable_ || name.empty()) return;
    editing_->Text().ApplyFontName(name);
    edited_ = edited_ || editing_->Text().HasSelection();
}

void PageEditSession::SetFontSize(std::int32_t points) {
    if (!editing_ || !editable_ || points < 1 || points > 1638) return;
    editing_->Text().ApplyFontSize(points);
    edited_ = edited_ || editing_->Text().HasSelection();
}

void PageEditSession::SetAlignment(std::uint8_t alignment) {
    if (!editing_ || !editable_) return;
    editing_->Para().SetAlignment(alignment);
    edited_ = true;
}

void PageEditSession::ToggleNumbering(std::uint8_t kind) {
    if (!editing_ || !editable_) return;
    TKYTParaAttributes& para = editing_->Para();
    para.SetNumbering(para.Numbering() == kind ? 0 : kind);
    edited_ = true;
}

EditToolState PageEditSession::Tools() {
    EditToolState state;
    if (undo_) state.undoLabels = undo_->Labels();
    if (!input_ || !editable_) return state;
    state.editing = true;
    state.selection = input_->SelectionPresent();
    state.inTable = box_->IsCellBox();
    TKYTTextAttributes& text = editing_->Text();
    state.styleBits = text.CurrentStyleBits();
    state.fontName = text.CurrentFontName();
    state.fontSize = text.CurrentSize();
    TKYTParaAttributes& para = editing_->Para();
    state.alignment = para.Alignment();
    state.numbering = para.Numbering();
    const TKYTTextPos caret = input_->Caret().Pos();
    if (caret.paraIndex >= 0 && caret.paraIndex < box_->ParagraphCount()) {
        const auto& style = box_->Paragraph(caret.paraIndex).style;
        state.leftMargin = style.LeftMargin();
        state.firstIndent = style.FirstIndent();
        state.rightMargin = style.RightMargin();
    }
    state.layoutWidth = box_->LayoutWidth();
    return state;
}

}  // namespace orvo

// The editing of a shown page: the box's operations and input, the caret kept across modes.
#include "textbox/PageEditSession.h"

#include <algorithm>

#include "model/TKYTparag.h"
#include "model/uKYTset.h"

namespace orvo {

// What the boxes' inputs ask of the surface, with the focus moves between the page's box and
// the cells of its tables seen by the session; and the tables' cells for the caret's walks.
class PageEditSession::CellSite final : public IBoxInputHost, public ITableNavigator {
public:
    explicit CellSite(PageEditSession& session) : s_(session) {}

    void TakeFocus(TKYTboxInput& box) override {
        s_.Activate(box);
        s_.host_.TakeFocus(box);
    }
    bool Enabled() const override { return s_.host_.Enabled(); }
    bool Wrapper() const override { return s_.host_.Wrapper(); }
    void FollowLink(TKYTboxInput& box, std::int32_t linkId) override {
        s_.host_.FollowLink(box, linkId);
    }
    int LinkKind(std::int32_t linkId) const override { return s_.host_.LinkKind(linkId); }
    void ShowHint(std::string_view text) override { s_.host_.ShowHint(text); }
    std::string LinkDescription(std::int32_t linkId) const override {
        return s_.host_.LinkDescription(linkId);
    }
    void ShowMenu(TKYTboxInput& box, BoxMenu menu, Point at) override {
        const Point origin = s_.ActiveOrigin();
        s_.host_.ShowMenu(box, menu, {at.x + origin.x, at.y + origin.y});
    }
    DropChoice AskDrop(Point at) override { return s_.host_.AskDrop(at); }
    void StartTextDrag(TKYTboxInput& source) override { s_.host_.StartTextDrag(source); }
    void DropFiles(TKYTboxInput& box, const std::vector<std::string>& names) override {
        s_.host_.DropFiles(box, names);
    }
    void OpenHypertext(const std::string& name) override { s_.host_.OpenHypertext(name); }
    void ImageFromClipboard(TKYTboxInput& box, std::string_view png) override {
        s_.host_.ImageFromClipboard(box, png);
    }
    void RunModeClick(TKYTboxInput& box) override { s_.host_.RunModeClick(box); }

    TKYTboxInput* EntryCell(const TKYTparag& tableParagraph, int code) override {
        return s_.cells_ ? s_.CellInput(s_.cells_->EntryCell(tableParagraph, code)) : nullptr;
    }
    TKYTboxInput* Neighbour(TKYTboxInput& cell, int code) override {
        return s_.cells_ ? s_.CellInput(s_.cells_->Neighbour(cell.Box(), code)) : nullptr;
    }
    std::pair<TKYTboxInput*, std::int32_t> Container(TKYTboxInput& cell) override {
        if (!s_.cells_) return {nullptr, -1};
        auto [holder, paragraph] = s_.cells_->Container(cell.Box());
        if (!holder) return {nullptr, -1};
        if (holder == s_.box_) return {s_.input_.get(), paragraph};
        return {s_.CellInput(holder), paragraph};
    }

private:
    PageEditSession& s_;
};

PageEditSession::PageEditSession(TKYTset& set, IMessages& messages, IScheduler& scheduler,
                                 IClipboard& clipboard, IBoxInputHost& host)
    : set_(set),
      messages_(messages),
      scheduler_(scheduler),
      clipboard_(clipboard),
      host_(host),
      undo_(&UndoListOf(set)),
      frameId_(undo_->Frames().NewFrameId()),
      cellSite_(std::make_unique<CellSite>(*this)) {
    undo_->OnDestroyed(this, [this] { undo_ = nullptr; });
}

PageEditSession::~PageEditSession() {
    active_ = nullptr;
    for (auto& [cell, edit] : cellEdits_) DropCellEdit(cell, edit);
    cellEdits_.clear();
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
    text_ = &text;
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
    input_ = std::make_unique<TKYTboxInput>(box, scheduler_, *cellSite_, clipboard_, *editing_,
                                            cellSite_.get());
    box.SetRunMode(!editable_, false);
    Restore();
    if (editable_) SetCaretShown(true);
}

void PageEditSession::Detach() {
    if (!input_) return;
    ReleaseCells();
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
    cellNumbers_.clear();
    cellIds_.clear();
}

BoxEditing* PageEditSession::Editing() {
    if (active_)
        for (auto& [box, edit] : cellEdits_)
            if (edit.input.get() == active_) return edit.editing.get();
    return editing_.get();
}

TKYTbox* PageEditSession::ActiveBox() const {
    return active_ ? &active_->Box() : box_;
}

Point PageEditSession::ActiveOrigin() const {
    if (!active_ || !cells_) return {0, 0};
    return cells_->CellOrigin(active_->Box());
}

TKYTboxInput* PageEditSession::CellInput(TKYTbox* cell) {
    if (!cell || !input_ || !undo_ || !text_) return nullptr;
    auto it = cellEdits_.find(cell);
    if (it != cellEdits_.end()) return it->second.input.get();
    EditContext context(set_, *text_, messages_);
    context.undo = undo_;
    context.converters = converters_;
    CellEdit edit;
    edit.editing =
        std::make_unique<BoxEditing>(*cell, std::move(context), &controls_, pageId_, frameId_);
    // A cell edited before keeps its numbers: the steps recorded under each find it again.
    if (cells_)
        if (const std::int32_t id = cells_->CellId(*cell); id >= 0) cellIds_[cell] = id;
    std::vector<std::int32_t>& numbers = cellNumbers_[cell];
    for (const std::int32_t number : numbers) controls_.Put(edit.editing.get(), number);
    numbers.push_back(edit.editing->Number());
    edit.input = std::make_unique<TKYTboxInput>(*cell, scheduler_, *cellSite_, clipboard_,
                                                *edit.editing, cellSite_.get());
    cell->SetRunMode(!editable_, false);
    TKYTboxInput* input = edit.input.get();
    cellEdits_.emplace(cell, std::move(edit));
    return input;
}

void PageEditSession::Activate(TKYTboxInput& input) {
    TKYTboxInput* now = Input();
    if (now == &input) return;
    if (now) {
        if (BoxEditing* editing = Editing()) editing->EndBursts();
        if (now->Focused()) now->FocusOut();
        now->Caret().ShowCaret(false);
    }
    active_ = &input == input_.get() ? nullptr : &input;
}

bool PageEditSession::FocusCell(TKYTbox& cell) {
    if (!editable_ || !cells_ || !cells_->IsCell(cell)) return false;
    TKYTboxInput* input = CellInput(&cell);
    if (!input) return false;
    Activate(*input);
    input->PlaceCaret(input->TextStart());
    if (!input->Focused()) input->FocusIn();
    input->Caret().ShowCaret(true);
    return true;
}

void PageEditSession::DropCellEdit(const TKYTbox* cell, CellEdit& edit) {
    // The numbers the cell kept are cleared too, so no step finds the editing that goes.
    if (auto known = cellNumbers_.find(cell); known != cellNumbers_.end())
        for (const std::int32_t number : known->second)
            if (controls_.Lookup(number) == edit.editing.get()) controls_.Put(nullptr, number);
    edit.input.reset();
    edit.editing.reset();
}

void PageEditSession::ReleaseCells() {
    if (active_) Activate(*input_);
    active_ = nullptr;
    for (auto& [cell, edit] : cellEdits_) DropCellEdit(cell, edit);
    cellEdits_.clear();
}

bool PageEditSession::NextCell(bool backward) {
    if (!active_ || !cells_ || !editable_) return false;
    TKYTbox* next = cells_->Neighbour(active_->Box(), backward ? kExitBackward : kExitForward);
    return next && next != &active_->Box() && FocusCell(*next);
}

void PageEditSession::PruneCells() {
    if (!cells_) return;
    for (auto it = cellEdits_.begin(); it != cellEdits_.end();) {
        if (cells_->IsCell(*it->first)) {
            ++it;
            continue;
        }
        if (it->second.input.get() == active_) active_ = nullptr;
        DropCellEdit(it->first, it->second);
        cellNumbers_.erase(it->first);
        cellIds_.erase(it->first);
        it = cellEdits_.erase(it);
    }
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
        ReleaseCells();
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
    const bool done = Input()->KeyDown(key, modifiers);
    if (done && changes) edited_ = true;
    return done;
}

bool PageEditSession::Char(std::uint8_t character) {
    if (!input_ || !editable_) return false;
    const bool done = Input()->Char(character);
    if (done) edited_ = true;
    return done;
}

void PageEditSession::MouseDown(MouseButton button, std::int32_t x, std::int32_t y,
                                unsigned modifiers) {
    if (!input_) return;
    // A press in a cell of a table being edited goes to that cell's box.
    TKYTboxInput* target = input_.get();
    if (editable_ && cells_)
        if (TKYTbox* cell = cells_->CellAt({x, y}))
            if (TKYTboxInput* input = CellInput(cell)) target = input;
    if (target != Input()) {
        Activate(*target);
        if (!target->Focused()) target->FocusIn();
    }
    const Point origin = ActiveOrigin();
    Input()->MouseDown(button, x - origin.x, y - origin.y, modifiers);
}

void PageEditSession::MouseMove(std::int32_t x, std::int32_t y, unsigned modifiers) {
    if (!input_) return;
    const Point origin = ActiveOrigin();
    Input()->MouseMove(x - origin.x, y - origin.y, modifiers);
}

void PageEditSession::MouseUp(MouseButton button, std::int32_t x, std::int32_t y,
                              unsigned modifiers) {
    if (!input_) return;
    const Point origin = ActiveOrigin();
    Input()->MouseUp(button, x - origin.x, y - origin.y, modifiers);
}

void PageEditSession::DoubleClick(std::int32_t x, std::int32_t y) {
    if (!input_) return;
    const Point origin = ActiveOrigin();
    Input()->DoubleClick(x - origin.x, y - origin.y);
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
            return Input()->SelectionPresent() && Input()->CopySelection();
        case BoxCommandKind::SelectAll:
            Input()->SelectAll();
            return true;
        case BoxCommandKind::Cut:
        case BoxCommandKind::Paste:
            break;
    }
    if (!editable_) return false;
    const bool done = command == BoxCommandKind::Cut ? Input()->CutSelection() : Input()->Paste();
    if (done) edited_ = true;
    return done;
}

void PageEditSession::RebindCells() {
    // The cells edited on this page take their numbers back, so their steps find them; a cell
    // that went (its row or column deleted) and came back by a table step is found by its id.
    if (!cells_) return;
    std::vector<TKYTbox*> edited;
    for (auto it = cellNumbers_.begin(); it != cellNumbers_.end();) {
        TKYTbox* cell = const_cast<TKYTbox*>(it->first);
        if (cells_->IsCell(*cell)) {
            edited.push_back(cell);
            ++it;
            continue;
        }
        const auto id = cellIds_.find(it->first);
        TKYTbox* back = id != cellIds_.end() ? cells_->CellWithId(id->second) : nullptr;
        if (!back || back == cell) {
            ++it;
            continue;
        }
        std::vector<std::int32_t>& numbers = cellNumbers_[back];
        numbers.insert(numbers.end(), it->second.begin(), it->second.end());
        if (auto edit = cellEdits_.find(back); edit != cellEdits_.end())
            for (const std::int32_t number : it->second)
                controls_.Put(edit->second.editing.get(), number);
        cellIds_[back] = id->second;
        cellIds_.erase(id);
        edited.push_back(back);
        it = cellNumbers_.erase(it);
    }
    for (TKYTbox* cell : edited) CellInput(cell);
}

bool PageEditSession::UndoSteps(int count) {
    if (!input_ || !undo_ || !editable_ || count < 1 || std::size_t(count) > undo_->Count())
        return false;
    Editing()->EndBursts();
    // One step at a time, as the list's own choice does: a table step brings back cells made
    // anew, and the older steps of the same choice must find them.
    IUndoControl* focus = nullptr;
    for (int i = 0; i < count && undo_->CanUndo(); ++i) {
        RebindCells();
        if (focus)
            if (TKYTbox* box = focus->EditedBox()) box->ClearSelection();
        focus = undo_->UndoOne();
        // A table step may have taken cells away: their inputs go.
        PruneCells();
    }
    // A step may have narrowed what made the page wider than its frame (a table, a long line),
    // and laying out a range only ever widens the page: measured again from all its lines, the
    // page loses the width and the scroll range it no longer needs.
    if (box_ && box_->UsedWidth() > box_->LayoutWidth()) box_->RelayoutAll();
    // The step put the caret or a selection into the box: the input follows it.
    if (!Input()->SelectionPresent()) Input()->Caret().ShowCaret(Input()->Focused());
    edited_ = true;
    return true;
}

void PageEditSession::ToggleStyle(std::uint8_t bit) {
    if (!editing_ || !editable_) return;
    TKYTTextAttributes& text = Editing()->Text();
    if (text.CurrentStyleBits() & bit)
        text.SetStyleBits(0, bit);
    else
        text.SetStyleBits(bit, 0);
    edited_ = edited_ || text.HasSelection();
}

void PageEditSession::SetFontName(const std::string& name) {
    if (!editing_ || !editable_ || name.empty()) return;
    Editing()->Text().ApplyFontName(name);
    edited_ = edited_ || Editing()->Text().HasSelection();
}

void PageEditSession::SetFontSize(std::int32_t points) {
    if (!editing_ || !editable_ || points < 1 || points > 1638) return;
    Editing()->Text().ApplyFontSize(points);
    edited_ = edited_ || Editing()->Text().HasSelection();
}

void PageEditSession::SetAlignment(std::uint8_t alignment) {
    if (!editing_ || !editable_) return;
    Editing()->Para().SetAlignment(alignment);
    edited_ = true;
}

void PageEditSession::ToggleNumbering(std::uint8_t kind) {
    if (!editing_ || !editable_) return;
    TKYTParaAttributes& para = Editing()->Para();
    para.SetNumbering(para.Numbering() == kind ? 0 : kind);
    edited_ = true;
}

EditToolState PageEditSession::Tools() {
    EditToolState state;
    if (undo_) state.undoLabels = undo_->Labels();
    if (!input_ || !editable_) return state;
    state.editing = true;
    TKYTboxInput& input = *Input();
    TKYTbox& box = *ActiveBox();
    state.selection = input.SelectionPresent();
    state.inTable = box.IsCellBox();
    TKYTTextAttributes& text = Editing()->Text();
    state.styleBits = text.CurrentStyleBits();
    state.fontName = text.CurrentFontName();
    state.fontSize = text.CurrentSize();
    TKYTParaAttributes& para = Editing()->Para();
    state.alignment = para.Alignment();
    state.numbering = para.Numbering();
    const TKYTTextPos caret = input.Caret().Pos();
    if (caret.paraIndex >= 0 && caret.paraIndex < box.ParagraphCount()) {
        const auto& style = box.Paragraph(caret.paraIndex).style;
        state.leftMargin = style.LeftMargin();
        state.firstIndent = style.FirstIndent();
        state.rightMargin = style.RightMargin();
    }
    state.layoutWidth = box.LayoutWidth();
    return state;
}

}  // namespace orvo

// The input state machine of a text box: keys, typing, the mouse and the selection.
#include "textbox/uKYTboxInput.h"

#include <algorithm>
#include <cstdlib>

namespace orvo {

// The frame set's defaults: nothing happens.
void IBoxInputHost::TakeFocus(TKYTboxInput& box) {
    box.FocusIn();
}
void IBoxInputHost::FollowLink(TKYTboxInput&, std::int32_t) {}
int IBoxInputHost::LinkKind(std::int32_t) const {
    return -1;
}
void IBoxInputHost::ShowHint(std::string_view) {}
std::string IBoxInputHost::LinkDescription(std::int32_t) const {
    return {};
}
void IBoxInputHost::ShowMenu(TKYTboxInput&, BoxMenu, Point) {}
DropChoice IBoxInputHost::AskDrop(Point) {
    return DropChoice::Cancel;
}
void IBoxInputHost::StartTextDrag(TKYTboxInput&) {}
void IBoxInputHost::DropFiles(TKYTboxInput&, const std::vector<std::string>&) {}
void IBoxInputHost::OpenHypertext(const std::string&) {}
void IBoxInputHost::ImageFromClipboard(TKYTboxInput&, std::string_view) {}
void IBoxInputHost::RunModeClick(TKYTboxInput&) {}

namespace {
// How far the pointer moves before a press becomes a selection or a drag.
constexpr std::int32_t kDragThreshold = 4;
// Page Up and Page Down move this many lines.
constexpr int kPageLines = 11;
// Keys that scroll a page in run mode move it by this much.
constexpr std::int32_t kScrollStep = 10;
}  // namespace

TKYTboxInput::TKYTboxInput(TKYTbox& box, IScheduler& scheduler, IBoxInputHost& host,
                           IClipboard& clipboard, IBoxEditing& editing, ITableNavigator* tables)
    : box_(box),
      scheduler_(scheduler),
      host_(host),
      clipboard_(clipboard),
      editing_(editing),
      tables_(tables),
      caret_(box, scheduler, true),
      dropCaret_(box, scheduler, false) {}

bool TKYTboxInput::RefuseUnlessEditing() {
    if (editing_.Available()) return false;
    refusal_ = std::string(kEditingNotBuilt);
    return true;
}

// The box's selection is the truth: the editing operations set and clear it too.
void TKYTboxInput::SyncFromBox() {
    if (!box_.SelectionShown()) {
        present_ = false;
        return;
    }
    const auto [start, end] = box_.SelectionRange();
    const auto [myStart, myEnd] = PositionBefore(active_, anchor_)
                                      ? std::make_pair(active_, anchor_)
                                      : std::make_pair(anchor_, active_);
    const auto same = [](const TKYTTextPos& a, const TKYTTextPos& b) {
        return a.paraIndex == b.paraIndex && a.charIndex == b.charIndex;
    };
    if (!present_ || !same(start, myStart) || !same(end, myEnd)) {
        anchor_ = start;
        active_ = end;
    }
    present_ = true;
}

bool TKYTboxInput::SelectionPresent() {
    SyncFromBox();
    return present_;
}

void TKYTboxInput::InvalidateBetween(const TKYTTextPos& a, const TKYTTextPos& b) {
    const std::int32_t first = std::max(0, std::min(a.paraIndex, b.paraIndex));
    const std::int32_t last =
        std::min(box_.ParagraphCount() - 1, std::max(a.paraIndex, b.paraIndex));
    if (first == last && first >= 0) {
        // Within one paragraph only the lines between the two ends change.
        const TKYTTextPos ra = box_.ResolvePosition(a), rb = box_.ResolvePosition(b);
        if (ra.Resolved() && rb.Resolved()) {
            const std::int32_t top = std::min(ra.y, rb.y);
            const std::int32_t bottom = std::max(ra.y + ra.height, rb.y + rb.height);
            box_.Host().Invalidate(
                {0, top, std::max(box_.Width(), box_.LayoutWidth()), bottom + 1});
            return;
        }
    }
    for (std::int32_t i = first; i <= last; ++i) box_.InvalidateParagraph(i);
}

void TKYTboxInput::DrawSelection() {
    box_.SetSelection(anchor_, active_);
    InvalidateBetween(anchor_, active_);
}

bool TKYTboxInput::InSelection(const TKYTTextPos& p) {
    if (!SelectionPresent()) return false;
    const auto [start, end] = SelectionRange();
    return !PositionBefore(p, start) && !PositionBefore(end, p);
}

std::pair<TKYTTextPos, TKYTTextPos> TKYTboxInput::SelectionRange() {
    if (!SelectionPresent()) return {caret_.Pos(), caret_.Pos()};
    return box_.SelectionRange();
}

void TKYTboxInput::SetSelection(const TKYTTextPos& start, const TKYTTextPos& end) {
    const TKYTTextPos a = box_.ResolvePosition(start);
    const TKYTTextPos b = box_.ResolvePosition(end);
    if (present_) {
        box_.ClearSelection();
        InvalidateBetween(anchor_, active_);
    }
    caret_.StorePos(a);
    if (a.paraIndex != b.paraIndex || a.charIndex != b.charIndex) {
        present_ = true;
        caret_.ShowCaret(false);
        anchor_ = PositionBefore(b, a) ? b : a;
        active_ = PositionBefore(b, a) ? a : b;
        DrawSelection();
    } else {
        present_ = false;
        anchor_ = active_ = a;
        box_.ClearSelection();
    }
}

void TKYTboxInput::SelectAll() {
    SetSelection(TextStart(), TextEnd());
    Refresh();
}

void TKYTboxInput::ClearSelection() {
    if (present_ || box_.SelectionShown()) {
        box_.ClearSelection();
        InvalidateBetween(anchor_, active_);
    }
    present_ = mouseSelecting_ = keySelecting_ = pressPending_ = pressInSelection_ = false;
}

void TKYTboxInput::PlaceCaret(const TKYTTextPos& p) {
    ClearSelection();
    caret_.PlaceCaret(p, true);
    anchor_ = active_ = caret_.Pos();
    if (focused_ && Editable()) caret_.ShowCaret(true);
}

void TKYTboxInput::GoToStart(bool takeFocus) {
    ClearSelection();
    const TKYTTextPos start = TextStart();
    caret_.PlaceCaret(start, false);
    anchor_ = active_ = caret_.Pos();
    if (IsTable(start.paraIndex) && tables_) {
        if (TKYTboxInput* cell =
                tables_->EntryCell(box_.Paragraph(start.paraIndex), kExitIntoTableForward)) {
            cell->GoToStart(takeFocus);
            return;
        }
    }
    if (takeFocus) host_.TakeFocus(*this);
}

void TKYTboxInput::FocusIn() {
    focused_ = true;
    caret_.focused = true;
    if (!Editable()) return;
    box_.Host().StopSpellCheck();
    if (SelectionPresent()) {
        caret_.KeepVisible();
        DrawSelection();
    } else {
        caret_.ShowCaret(true);
    }
    box_.Host().RearmSpellCheck();
}

void TKYTboxInput::FocusOut() {
    focused_ = false;
    caret_.focused = false;
    caret_.ShowCaret(false);
    dropCaret_.ShowCaret(false);
    mouseSelecting_ = keySelecting_ = pressPending_ = false;
}

// Keys.

void TKYTboxInput::ScrollKey(BoxKey key) {
    IBoxHost& host = box_.Host();
    switch (key) {
        case BoxKey::Left:
        case BoxKey::Right: {
            const std::int32_t d = key == BoxKey::Left ? -kScrollStep : kScrollStep;
            const std::int32_t limit = std::max(0, host.HorizontalRange() - host.ClientWidth());
            host.SetHorizontalScroll(host.HorizontalRange(),
                                     std::clamp(host.HorizontalPosition() + d, 0, limit));
            break;
        }
        case BoxKey::Up:
        case BoxKey::Down: {
            const std::int32_t d = key == BoxKey::Up ? -kScrollStep : kScrollStep;
            const std::int32_t limit = std::max(0, host.VerticalRange() - host.ClientHeight());
            host.SetVerticalScroll(host.VerticalRange(),
                                   std::clamp(host.VerticalPosition() + d, 0, limit));
            break;
        }
        default:
            break;
    }
}

bool TKYTboxInput::KeyDown(BoxKey key, unsigned modifiers) {
    if (Busy()) return false;
    if (!Editable()) {
        ScrollKey(key);
        return false;
    }
    SyncFromBox();
    exitCode_ = kExitNone;
    exitTable_ = nullptr;
    const TKYTTextPos p = box_.ResolvePosition(caret_.Pos());
    const bool ctrl = (modifiers & kModCtrl) != 0;
    TKYTTextPos q = p;
    switch (key) {
        case BoxKey::Backspace: {
            if (modifiers != 0) return false;
            if (RefuseUnlessEditing()) return true;
            if (present_) {
                caret_.StorePos(CharLeft(p));
                exitCode_ = kExitNone;
                DeleteForward();
                return true;
            }
            q = CharLeft(p);
            if (exitCode_ != kExitNone) {
                exitCode_ = kExitNone;
                return true;  // the first editable position: nothing to delete
            }
            caret_.PlaceCaret(q, true);
            anchor_ = active_ = caret_.Pos();
            DeleteForward();
            return true;
        }
        case BoxKey::Return:
            if (RefuseUnlessEditing()) return true;
            editing_.InsertParagraphBreak();
            SyncFromBox();
            if (!present_) caret_.ShowCaret(true);
            Refresh();
            return true;
        case BoxKey::PageUp:
            for (int i = 0; i < kPageLines && exitCode_ == kExitNone; ++i) {
                const TKYTTextPos next = LineUp(q);
                if (exitCode_ == kExitNone) q = next;
            }
            break;
        case BoxKey::PageDown:
            for (int i = 0; i < kPageLines && exitCode_ == kExitNone; ++i) {
                const TKYTTextPos next = LineDown(q);
                if (exitCode_ == kExitNone) q = next;
            }
            break;
        case BoxKey::End:
            q = ctrl ? TextEnd() : LineEnd(p);
            break;
        case BoxKey::Home:
            q = ctrl ? TextStart() : LineStart(p);
            break;
        case BoxKey::Left:
            q = ctrl ? WordLeft(p, false) : CharLeft(p);
            break;
        case BoxKey::Up:
            q = ctrl ? ParaUp(p) : LineUp(p);
            break;
        case BoxKey::Right:
            q = ctrl ? WordRight(p, false) : CharRight(p);
            break;
        case BoxKey::Down:
            q = ctrl ? ParaDown(p) : LineDown(p);
            break;
        case BoxKey::Delete:
            if (modifiers == kModShift) return CutSelection() || true;
            if (modifiers != 0) return false;
            if (RefuseUnlessEditing()) return true;
            DeleteForward();
            return true;
        case BoxKey::F9: {
            const TKYTparag* para = p.Valid() && p.paraIndex < box_.ParagraphCount()
                                        ? &box_.Paragraph(p.paraIndex)
                                        : nullptr;
            const std::int32_t link = para ? para->LinkAt(p.charIndex) : -1;
            if (link < 0) return false;
            ClearSelection();
            caret_.ShowCaret(false);
            if (host_.Enabled()) host_.FollowLink(*this, link);
            return true;
        }
        case BoxKey::None:
            return false;
    }
    ApplyMove(key, p, q, modifiers);
    return true;
}

void TKYTboxInput::ApplyMove(BoxKey key, const TKYTTextPos& p, TKYTTextPos q, unsigned modifiers) {
    if (modifiers & kModShift) {
        if (keySelecting_ && present_) {
            const TKYTTextPos old = active_;
            caret_.PlaceCaret(q, true);
            caret_.KeepVisible();
            active_ = caret_.Pos();
            box_.SetSelection(anchor_, active_);
            InvalidateBetween(old, active_);
        } else {
            caret_.PlaceCaret(q, true);
            keySelecting_ = true;
            pressKind_ = q.paraIndex >= 0 && q.paraIndex < box_.ParagraphCount()
                             ? box_.Paragraph(q.paraIndex).kind
                             : kBodyParagraph;
            present_ = true;
            anchor_ = p;
            active_ = caret_.Pos();
            caret_.ShowCaret(false);
            DrawSelection();
        }
    } else {
        if (present_) {
            const auto [start, end] = box_.SelectionRange();
            const bool backward = key == BoxKey::PageUp || key == BoxKey::Home ||
                                  key == BoxKey::Left || key == BoxKey::Up;
            q = backward ? start : end;
            exitCode_ = kExitNone;  // the movement itself is discarded
            ClearSelection();
            if (Editable()) caret_.ShowCaret(true);
        } else if (!caret_.Shown() && Editable() && focused_) {
            caret_.ShowCaret(true);
        }
        caret_.PlaceCaret(q, true);
        anchor_ = active_ = caret_.Pos();
    }
    editing_.EndBursts();
    HandleExit();
}

void TKYTboxInput::HandleExit() {
    const int code = exitCode_;
    if (code == kExitNone) {
        Refresh();
        return;
    }
    if (!tables_) return;
    auto enter = [&](TKYTboxInput* cell, bool atEnd) {
        if (!cell) return;
        host_.TakeFocus(*cell);
        cell->PlaceCaret(atEnd ? cell->TextEnd() : cell->TextStart());
        cell->Refresh();
    };
    if (code >= kExitIntoTableBackward) {
        if (!exitTable_) return;
        const bool atEnd = code == kExitIntoTableBackward || code == kExitIntoTableUp;
        enter(tables_->EntryCell(*exitTable_, code), atEnd);
        return;
    }
    if (!box_.IsCellBox()) return;
    if (TKYTboxInput* neighbour = tables_->Neighbour(*this, code)) {
        if (neighbour != this) enter(neighbour, code == kExitBackward || code == kExitUp);
        return;
    }
    // The edge of the table: the caret leaves it into the box that holds it.
    auto [outer, tablePara] = tables_->Container(*this);
    if (!outer) return;
    TKYTbox& holder = outer->Box();
    const std::int32_t first = holder.FirstEditable(), last = holder.LastEditable();
    std::int32_t target = tablePara;
    bool atEnd = false;
    int intoTable = kExitNone;
    TKYTTextPos pos;
    switch (code) {
        case kExitBackward:
            if (tablePara > first) {
                target = tablePara - 1;
                atEnd = true;
                intoTable = kExitIntoTableBackward;
            }
            break;
        case kExitForward:
        case kExitDown:
            if (tablePara < last) {
                target = tablePara + 1;
                intoTable = code == kExitForward ? kExitIntoTableForward : kExitIntoTableDown;
            } else {
                atEnd = true;
            }
            break;
        case kExitUp:
            if (tablePara > first) {
                target = tablePara - 1;
                intoTable = kExitIntoTableUp;
            }
            break;
        default:
            break;
    }
    if (target != tablePara && outer->IsTable(target)) {
        outer->exitCode_ = intoTable;
        outer->exitTable_ = &holder.Paragraph(target);
        outer->HandleExit();
        return;
    }
    host_.TakeFocus(*outer);
    const std::int32_t length = std::int32_t(holder.Paragraph(target).text.size());
    outer->PlaceCaret(outer->At(target, atEnd ? length : 0));
    outer->Refresh();
}

void TKYTboxInput::DeleteForward() {
    const bool burstBefore = editing_.DeletionBurstOpen();
    SyncFromBox();
    if (present_) {
        editing_.DeleteSelection();
        keySelecting_ = false;
    } else {
        const TKYTTextPos p = box_.ResolvePosition(caret_.Pos());
        if (!p.Valid() || p.paraIndex >= box_.ParagraphCount()) return;
        const std::int32_t length = std::int32_t(box_.Paragraph(p.paraIndex).text.size());
        TKYTTextPos end;
        if (p.charIndex < length) {
            end = At(p.paraIndex, p.charIndex + 1);
        } else if (p.paraIndex >= box_.LastEditable()) {
            return;  // the end of the text: nothing follows to delete
        } else {
            end = At(p.paraIndex + 1, 0);
        }
        box_.SetSelection(p, end);
        present_ = true;
        anchor_ = p;
        active_ = end;
        editing_.DeleteSelection();
    }
    SyncFromBox();
    if (!present_) {
        anchor_ = active_ = caret_.Pos();
        if (focused_) caret_.ShowCaret(true);
    }
    if (!burstBefore) Refresh();
}

bool TKYTboxInput::Char(std::uint8_t character) {
    if (character < 32 || Busy() || !Editable()) return false;
    if (RefuseUnlessEditing()) return false;
    const bool burstBefore = editing_.TypingBurstOpen();
    if (!editing_.InsertChar(character)) return false;
    // The character went in at the caret: the caret moves over it (only when it went in).
    const TKYTTextPos moved = CharRight(box_.Caret());
    exitCode_ = kExitNone;
    present_ = false;
    box_.ClearSelection();
    caret_.PlaceCaret(moved, true);
    anchor_ = active_ = caret_.Pos();
    if (focused_) caret_.ShowCaret(true);
    keySelecting_ = false;
    const TKYTTextPos at = caret_.Pos();
    bool onObject = false;
    if (at.Valid() && at.paraIndex < box_.ParagraphCount()) {
        const TKYTparag& p = box_.Paragraph(at.paraIndex);
        onObject = at.charIndex < std::int32_t(p.metrics.size()) &&
                   p.metrics[std::size_t(at.charIndex)].objectIndex >= 0;
    }
    if (!burstBefore || onObject) Refresh();
    return true;
}

// The mouse.

std::int32_t TKYTboxInput::LinkAtPoint(const TKYTTextPos& hit, std::int32_t x,
                                       std::int32_t y) const {
    if (!hit.Resolved() || hit.paraIndex >= box_.ParagraphCount()) return -1;
    const TKYTparag& p = box_.Paragraph(hit.paraIndex);
    if (hit.charIndex >= std::int32_t(p.text.size())) return -1;
    if (x < hit.x || x >= hit.xRight || y < hit.y || y >= hit.y + hit.height) return -1;
    return p.LinkAt(hit.charIndex);
}

void TKYTboxInput::MouseDown(MouseButton button, std::int32_t x, std::int32_t y, unsigned) {
    if (Busy() || dblClickPending_) return;
    noPressYet_ = false;
    const TKYTTextPos p = box_.HitTest(4, x, y);
    const TKYTTextPos all = box_.HitTest(kHitAll, x, y);
    if (!all.Valid()) return;
    pressKind_ = p.Valid() ? box_.Paragraph(p.paraIndex).kind : kBodyParagraph;
    const bool inBody = box_.Paragraph(all.paraIndex).kind == kBodyParagraph;
    if (!box_.runMode && (box_.inactive || !inBody)) return;
    SyncFromBox();
    caret_.StorePos(p);
    pressInSelection_ = false;
    if (present_) {
        const bool onChar = x >= p.x && x < p.xRight && y >= p.y && y < p.y + p.height;
        if (button != MouseButton::Right && onChar && InSelection(p) && !box_.runMode) {
            host_.TakeFocus(*this);
            pressInSelection_ = true;
            pressButton_ = button;
        } else if (button != MouseButton::Right) {
            ClearSelection();
        }
    }
    mouseSelecting_ = keySelecting_ = false;
    if (button != MouseButton::Right || pressInSelection_) {
        pressPoint_ = {x, y};
        pressPos_ = p;
        pressPending_ = true;
        pressButton_ = button;
        if (!pressInSelection_) {
            anchor_ = active_ = p;
            if (!box_.runMode) host_.TakeFocus(*this);
        }
        caret_.ShowCaret(false);
    }
}

void TKYTboxInput::UpdatePointer(const TKYTTextPos& hit, std::int32_t x, std::int32_t y) {
    const std::int32_t link = LinkAtPoint(hit, x, y);
    const bool plain = box_.runMode || box_.Paragraph(hit.paraIndex).kind != kBodyParagraph;
    const bool overSelection = !plain && InSelection(hit);
    if (link >= 0) {
        pointer_ = plain ? kPointerHand : overSelection ? kPointerDrag : kPointerEditHand;
        if (link != hintLinkId_) {
            hintLinkId_ = link;
            host_.ShowHint(host_.LinkDescription(link));
        }
    } else {
        pointer_ = plain ? kPointerDefault : overSelection ? kPointerDrag : textPointer;
        if (hintLinkId_ != -1) {
            hintLinkId_ = -1;
            host_.ShowHint({});
        }
    }
}

void TKYTboxInput::MouseMove(std::int32_t x, std::int32_t y, unsigned modifiers) {
    if (Busy() || dblClickPending_ || dragging_ || box_.ParagraphCount() == 0) return;
    TKYTTextPos h;
    if (box_.runMode) {
        h = box_.HitTest(kHitAll, x, y);
    } else if (pressPending_) {
        const TKYTTextPos now = box_.HitTest(pressKind_, x, y);
        h = pressPos_;
        if (now.Valid() && now.paraIndex == pressPos_.paraIndex && now.charIndex > h.charIndex)
            h = At(h.paraIndex, h.charIndex + 1);
    } else if (mouseSelecting_) {
        h = box_.HitTest(pressKind_, x, y);
    } else {
        h = box_.HitTest(kHitAll, x, y);
    }
    if (!h.Valid()) return;

    if (pressPending_ && (std::abs(x - pressPoint_.x) > kDragThreshold ||
                          std::abs(y - pressPoint_.y) > kDragThreshold)) {
        if (pressInSelection_) {
            pressPending_ = pressInSelection_ = false;
            dragShift_ = modifiers;
            dragging_ = true;
            host_.StartTextDrag(*this);
            return;
        }
        if (present_) ClearSelection();
        pressPending_ = false;
        mouseSelecting_ = true;
        present_ = true;
        anchor_ = active_ = h;
        DrawSelection();
        editing_.EndBursts();
        Refresh();
        // The pointer may already be beyond the first character: the selection follows it.
        h = box_.HitTest(pressKind_, x, y);
        if (!h.Valid()) return;
    }
    if (mouseSelecting_) {
        const TKYTTextPos old = active_;
        active_ = h;
        box_.SetSelection(anchor_, active_);
        InvalidateBetween(old, active_);
        caret_.StorePos(h);
        caret_.KeepVisible();
        return;
    }
    if (!pressPending_) UpdatePointer(h, x, y);
}

void TKYTboxInput::MouseUp(MouseButton button, std::int32_t x, std::int32_t y, unsigned) {
    lastRelease_ = {x, y};
    if (dblClickPending_) {
        dblClickPending_ = false;
        FinishDoubleClick(x, y);
        return;
    }
    if (Busy() || dragging_ || noPressYet_) return;
    pressInSelection_ = pressPending_ = false;
    if (mouseSelecting_) {
        mouseSelecting_ = false;
        keySelecting_ = true;
        present_ = anchor_.paraIndex != active_.paraIndex || anchor_.charIndex != active_.charIndex;
        if (!present_) box_.ClearSelection();
    }
    if (!present_) {
        if (box_.runMode || box_.inactive || button == MouseButton::Right) {
            const TKYTTextPos hit = box_.HitTest(kHitAll, x, y);
            const std::int32_t link = LinkAtPoint(hit, x, y);
            if (link < 0 || SelectionPresent()) {
                if (box_.runMode) host_.RunModeClick(*this);
                ContextMenu(hit, x, y);
            } else {
                if (!box_.runMode) host_.TakeFocus(*this);
                const int kind = host_.LinkKind(link);
                if (box_.runMode || (kind != 3 && kind != 10)) {
                    if (host_.Enabled()) host_.FollowLink(*this, link);
                } else {
                    hintLinkId_ = -1;
                    host_.ShowHint({});
                    ShowMenuAt(kind == 3 ? BoxMenu::GeneralLink : BoxMenu::SpecialLink, x, y);
                }
            }
        } else {
            ClearSelection();
            caret_.PlaceCaret(box_.HitTest(pressKind_, x, y), true);
            caret_.KeepVisible();
            anchor_ = active_ = caret_.Pos();
        }
    }
    if (!present_ && Editable()) caret_.ShowCaret(true);
    editing_.EndBursts();
    Refresh();
}

void TKYTboxInput::ShowMenuAt(BoxMenu menu, std::int32_t x, std::int32_t y) {
    host_.ShowMenu(*this, menu, {x, y});
}

void TKYTboxInput::ContextMenu(const TKYTTextPos& at, std::int32_t x, std::int32_t y) {
    BoxMenu menu = BoxMenu::Context;
    if (!box_.runMode &&
        (box_.inactive || (at.Valid() && box_.Paragraph(at.paraIndex).kind != kBodyParagraph)))
        menu = BoxMenu::Inactive;
    else if (at.Valid() && !box_.runMode) {
        const TKYTparag& p = box_.Paragraph(at.paraIndex);
        const std::size_t c = std::size_t(at.charIndex);
        if (c < p.spellFlags.size() && p.spellFlags[c] == '!') menu = BoxMenu::Spell;
    }
    ShowMenuAt(menu, x, y);
    if (Editable()) host_.TakeFocus(*this);
}

void TKYTboxInput::DoubleClick(std::int32_t, std::int32_t) {
    dblClickPending_ = true;
}

void TKYTboxInput::FinishDoubleClick(std::int32_t x, std::int32_t y) {
    const TKYTTextPos p = box_.HitTest(4, x, y);
    const TKYTTextPos all = box_.HitTest(kHitAll, x, y);
    const std::int32_t link = LinkAtPoint(all, x, y);
    if (link >= 0 && !SelectionPresent()) {
        if (host_.Enabled()) host_.FollowLink(*this, link);
        return;
    }
    if (box_.inactive || !p.Valid()) return;
    pressPending_ = false;
    if (present_) ClearSelection();
    const int savedExit = exitCode_;
    anchor_ = WordLeft(p, true);
    active_ = WordRight(p, true);
    exitCode_ = savedExit;
    present_ = true;
    caret_.ShowCaret(false);
    caret_.StorePos(anchor_);
    DrawSelection();
    editing_.EndBursts();
    Refresh();
}

}  // namespace orvo

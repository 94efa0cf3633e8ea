// Text dragged between boxes, files dropped from the desktop, and the clipboard commands.
#include <algorithm>
#include <cctype>

#include "textbox/UpdateLock.h"
#include "textbox/uKYTboxInput.h"

namespace orvo {

namespace {
// The undo labels of text dropped and pasted.
constexpr std::string_view kDropStepLabel = "Inserimento tramite trascina selezione";
constexpr std::string_view kPasteStepLabel = "Inserimento da Cartella appunti";
// Near the page's edges a drag scrolls the page.
constexpr std::int32_t kAutoScrollMargin = 30;

std::string Lower(std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}
}  // namespace

bool TKYTboxInput::DragOver(TKYTboxInput& source, std::int32_t x, std::int32_t y) {
    if (inDragOver_ || Busy()) return false;
    inDragOver_ = true;
    const TKYTTextPos p = box_.HitTest(4, x, y);
    if (!dragEntered_) {
        dragEntered_ = true;
        caret_.ShowCaret(false);
    }
    // Auto-scroll: beyond a margin of the client area the page moves by half the distance.
    IBoxHost& host = box_.Host();
    const Point origin = host.BoxOriginInPage();
    const std::int32_t px = x + origin.x - host.HorizontalPosition();
    const std::int32_t py = y + origin.y - host.VerticalPosition();
    const std::int32_t left = kAutoScrollMargin, right = host.ClientWidth() - kAutoScrollMargin;
    const std::int32_t top = kAutoScrollMargin, bottom = host.ClientHeight() - kAutoScrollMargin;
    std::int32_t dx = 0, dy = 0;
    if (px < left) dx = (px - left) / 2;
    if (px > right) dx = (px - right) / 2;
    if (py < top) dy = (py - top) / 2;
    if (py > bottom) dy = (py - bottom) / 2;
    if (dx != 0) {
        const std::int32_t limit = std::max(0, host.HorizontalRange() - host.ClientWidth());
        host.SetHorizontalScroll(host.HorizontalRange(),
                                 std::clamp(host.HorizontalPosition() + dx, 0, limit));
    }
    if (dy != 0) {
        const std::int32_t limit = std::max(0, host.VerticalRange() - host.ClientHeight());
        host.SetVerticalScroll(host.VerticalRange(),
                               std::clamp(host.VerticalPosition() + dy, 0, limit));
    }
    bool accept = p.Valid();
    if (accept) {
        if (&source == this) {
            dropCaret_.ShowCaret(true);
            dropCaret_.PlaceCaret(p, false);
            accept = !InSelection(p);
        } else {
            caret_.StorePos(p);
            caret_.ShowCaret(true);
        }
    }
    inDragOver_ = false;
    return accept;
}

void TKYTboxInput::DragLeave() {
    dragEntered_ = false;
    dropCaret_.ShowCaret(false);
}

void TKYTboxInput::EndDrag() {
    dragging_ = false;
    pressPending_ = pressInSelection_ = false;
}

bool TKYTboxInput::Drop(TKYTboxInput& source, std::int32_t x, std::int32_t y) {
    dragEntered_ = false;
    const TKYTTextPos q = box_.HitTest(4, x, y);
    const unsigned shift = source.dragShift_;
    const MouseButton button = source.pressButton_;
    source.EndDrag();
    if (!q.Valid()) return false;
    dropPos_ = q;
    if (&source == this) {
        if (InSelection(q)) {
            dropCaret_.ShowCaret(false);
            return false;
        }
        dropCaret_.ShowCaret(false);
    } else {
        ClearSelection();
        caret_.StorePos(q);
    }
    bool move = (shift & kModCtrl) == 0;
    if (button == MouseButton::Right) {
        const DropChoice choice = host_.AskDrop({x, y});
        if (choice == DropChoice::Cancel) return false;
        move = choice == DropChoice::Move;
    }
    const bool done = MoveOrCopy(source, move);
    Refresh();
    return done;
}

bool TKYTboxInput::MoveOrCopy(TKYTboxInput& source, bool move) {
    if (RefuseUnlessEditing()) return false;
    if (&source != this && (!dropPos_.Valid() || dropPos_.paraIndex >= box_.ParagraphCount() ||
                            IsTable(dropPos_.paraIndex)))
        return false;
    if (!source.SelectionPresent()) return false;
    const std::string stream = source.editing_.WriteSelection(true, nullptr);
    if (stream.empty()) return false;
    if (&source == this) {
        const auto [start, end] = box_.SelectionRange();
        if (move) {
            // The drop position is carried over the deletion by its distance from the text's
            // end, which the deletion does not change when the drop lies after the selection:
            // the paragraphs after it, and in the selection's last paragraph the characters
            // after it.
            const bool after = !PositionBefore(dropPos_, start);
            const std::int32_t parasFromEnd = box_.ParagraphCount() - dropPos_.paraIndex;
            const std::int32_t charsFromEnd =
                std::int32_t(box_.Paragraph(dropPos_.paraIndex).text.size()) - dropPos_.charIndex;
            const bool inLast = dropPos_.paraIndex == end.paraIndex;
            editing_.DeleteSelection();
            if (after) {
                const std::int32_t para =
                    std::clamp(box_.ParagraphCount() - parasFromEnd, 0, box_.ParagraphCount() - 1);
                const std::int32_t length = std::int32_t(box_.Paragraph(para).text.size());
                std::int32_t character = dropPos_.charIndex;
                if (inLast) character = length - charsFromEnd;
                dropPos_ = At(para, std::clamp(character, 0, length));
            }
        } else {
            ClearSelection();
        }
        PlaceCaret(dropPos_);
        caret_.KeepVisible();
        const bool inserted = editing_.InsertFromStream(stream, kDropStepLabel);
        SyncFromBox();
        return inserted;
    }
    if (move) {
        source.editing_.DeleteSelection();
        source.caret_.ShowCaret(false);
        source.SyncFromBox();
    }
    PlaceCaret(dropPos_);
    const bool inserted = editing_.InsertFromStream(stream, kDropStepLabel);
    SyncFromBox();
    host_.TakeFocus(*this);
    return inserted;
}

void TKYTboxInput::DropFiles(const std::vector<std::string>& names, std::int32_t x,
                             std::int32_t y) {
    if (names.empty() || host_.Wrapper()) return;
    if (!Editable()) {
        const std::string& first = names.front();
        if (first.size() >= 4 && Lower(first.substr(first.size() - 4)) == ".kyt")
            host_.OpenHypertext(first);
        return;
    }
    const TKYTTextPos p = box_.HitTest(kHitEditable, x, y);
    if (!p.Valid()) return;
    PlaceCaret(p);
    host_.TakeFocus(*this);
    host_.DropFiles(*this, names);
}

bool TKYTboxInput::CopySelection() {
    if (RefuseUnlessEditing()) return false;
    ClipboardContents contents;
    {
        UpdateLock lock(box_);
        std::optional<std::string> picture;
        const bool wrapper = host_.Wrapper();
        if (!wrapper) {
            std::string objects = editing_.WriteSelection(false, &picture);
            if (!objects.empty()) contents.emplace_back(kClipObjects, std::move(objects));
            if (picture) contents.emplace_back(kClipPicture, std::move(*picture));
            std::string rtf = editing_.WriteSelectionAsRtf();
            if (!rtf.empty()) contents.emplace_back(kClipRtf, std::move(rtf));
        }
        contents.emplace_back(kClipText, editing_.WriteSelectionAsText());
    }
    clipboard_.SetContents(contents);
    Refresh();
    return true;
}

bool TKYTboxInput::CutSelection() {
    if (!SelectionPresent()) return false;
    if (!CopySelection()) return false;
    editing_.DeleteSelection();
    SyncFromBox();
    if (!present_ && focused_) caret_.ShowCaret(true);
    Refresh();
    return true;
}

bool TKYTboxInput::Paste() {
    if (RefuseUnlessEditing()) return false;
    bool done = false;
    auto internal = [&](std::string_view format) {
        const std::optional<std::string> data = clipboard_.Data(format);
        if (!data) return false;
        // Only the content codes 1 and 3 are pasted; anything else pastes nothing.
        if (data->size() >= 4) {
            const auto* b = reinterpret_cast<const unsigned char*>(data->data());
            const std::uint32_t code = b[0] | b[1] << 8 | b[2] << 16 | std::uint32_t(b[3]) << 24;
            if (code == 1 || code == 3) done = editing_.InsertFromStream(*data, kPasteStepLabel);
        }
        return true;
    };
    if (host_.Wrapper()) {
        if (const auto text = clipboard_.Data(kClipText))
            done = editing_.PasteText(*text, kPasteStepLabel);
    } else if (internal(kClipObjects) || internal(kClipPicture)) {
    } else if (const auto rtf = clipboard_.Data(kClipRtf)) {
        done = editing_.PasteRtf(*rtf);
    } else if (const auto png = clipboard_.Data(kClipBitmap)) {
        host_.ImageFromClipboard(*this, *png);
        done = true;
    } else if (const auto text = clipboard_.Data(kClipText)) {
        done = editing_.PasteText(*text, kPasteStepLabel);
    }
    SyncFromBox();
    if (!present_ && focused_) caret_.ShowCaret(true);
    Refresh();
    return done;
}

}  // namespace orvo

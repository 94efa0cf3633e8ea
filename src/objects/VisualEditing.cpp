// The pointer rules of the pictures of a page being edited.
#include "objects/VisualEditing.h"

#include <cstdlib>

#include "model/TKYTparag.h"
#include "objects/ObjectViews.h"
#include "textbox/uKYTbox.h"
#include "textbox/uKYTboxInput.h"

namespace orvo {

std::optional<TKYTTextPos> LocateObjectCharacter(const TKYTbox& box, const TKYToggetto& object) {
    for (std::int32_t i = 0; i < box.ParagraphCount(); ++i) {
        const TKYTparag& p = box.Paragraph(i);
        for (std::size_t c = 0; c < p.metrics.size() && c < p.text.size(); ++c) {
            const std::int32_t index = p.metrics[c].objectIndex;
            if (index >= 0 && std::size_t(index) < p.objects.size() &&
                p.objects[std::size_t(index)] == &object) {
                TKYTTextPos at;
                at.paraIndex = i;
                at.charIndex = std::int32_t(c);
                return box.ResolvePosition(at);
            }
        }
    }
    return std::nullopt;
}

void VisualEditor::Attach(TKYTbox* box, TKYTboxInput* input) {
    box_ = box;
    input_ = input;
    if (!box) Forget();
}

void VisualEditor::Forget() {
    current_ = nullptr;
    drag_ = Drag::None;
}

std::vector<VisualEditor::Placed> VisualEditor::Placements() const {
    // Views of objects that left the text (deleted, moved, undone) stay with the page until it
    // closes: only those of the characters the box and the cells hold count.
    std::vector<Placed> placed;
    if (!box_) return placed;
    const auto collect = [&](const TKYTbox& box, Point origin) {
        for (std::int32_t i = 0; i < box.ParagraphCount(); ++i)
            for (const TKYToggetto* object : box.Paragraph(i).objects)
                if (object)
                    if (auto* image = dynamic_cast<TMyyImage*>(views_.ViewOf(*object)))
                        placed.push_back({image, &box, origin});
    };
    collect(*box_, {0, 0});
    for (TMyyTable* table : views_.Tables())
        for (int r = 0; r < table->RowCount(); ++r)
            for (int c = 0; c < table->ColumnCount(); ++c)
                if (const TKYTbox* cell = table->CellAt(r, c))
                    collect(*cell, table->CellBoxOrigin(*cell));
    return placed;
}

std::vector<TMyyImage*> VisualEditor::Images() const {
    std::vector<TMyyImage*> images;
    for (const Placed& p : Placements()) images.push_back(p.image);
    return images;
}

Point VisualEditor::CurrentOrigin() const {
    return Current() ? origin_ : Point{0, 0};
}

bool VisualEditor::StillShown(const TMyyImage* image) const {
    if (!image) return false;
    for (TMyyImage* shown : Images())
        if (shown == image) return true;
    return false;
}

TMyyImage* VisualEditor::ImageAt(Point p) const {
    for (const Placed& placed : Placements()) {
        TMyyImage* image = placed.image;
        if (image->Placed() && !image->ReadOnly() && !image->Inactive() &&
            image->Bounds().Offset(placed.origin.x, placed.origin.y).Contains(p))
            return image;
    }
    return nullptr;
}

TMyyImage* VisualEditor::Current() const {
    return StillShown(current_) ? current_ : nullptr;
}

TMyyZona* VisualEditor::CurrentZone() const {
    TMyyImage* image = Current();
    return image ? image->SelectedZone() : nullptr;
}

void VisualEditor::Select(TMyyImage* image) {
    TMyyImage* was = Current();
    if (was && was != image) was->FocusLeft();
    current_ = image;
    origin_ = {0, 0};
    inCell_ = false;
    for (const Placed& placed : Placements())
        if (placed.image == image) {
            origin_ = placed.origin;
            inCell_ = placed.box != box_;
            break;
        }
    if (image && !image->Selected()) image->FocusEntered();
}

std::optional<Rect> VisualEditor::Outline() const {
    switch (drag_) {
        case Drag::Resize:
        case Drag::ZoneMove:
        case Drag::ZoneResize:
        case Drag::Move:
            return outline_.Offset(origin_.x, origin_.y);
        default:
            return std::nullopt;
    }
}

bool VisualEditor::Press(Point page, bool right, unsigned /*modifiers*/) {
    drag_ = Drag::None;
    if (!box_ || !input_) return false;
    TMyyImage* current = Current();
    // The pointer in the coordinates of the box that holds the image (a cell's own).
    Point p{page.x - CurrentOrigin().x, page.y - CurrentOrigin().y};
    if (current && !right) {
        const Rect b = current->Bounds();
        // The selected zone's handles lie over the image; the image's own lie around it.
        if (TMyyZona* zone = current->SelectedZone()) {
            const Rect z = zone->Bounds().Offset(b.left, b.top);
            if (const int handle = HandleAt(z, p)) {
                drag_ = Drag::ZoneResize;
                handle_ = handle;
                press_ = p;
                start_ = outline_ = z;
                return true;
            }
        }
        if (const int handle = HandleAt(b, p)) {
            drag_ = Drag::Resize;
            handle_ = handle;
            press_ = p;
            start_ = outline_ = b;
            return true;
        }
    }
    TMyyImage* image = ImageAt(page);
    if (!image) {
        Select(nullptr);
        return false;
    }
    Select(image);
    p = {page.x - origin_.x, page.y - origin_.y};
    const Rect b = image->Bounds();
    const Point local{p.x - b.left, p.y - b.top};
    image->MouseDown(local);
    press_ = p;
    TMyyZona* zone = image->ZoneAt(local);
    // A right press keeps the selected zone when it lands on it: its menu acts on it.
    if (!right || zone) image->SelectZone(zone);
    if (right) return true;
    if (zone) {
        drag_ = Drag::ZoneArmed;
        start_ = outline_ = zone->Bounds().Offset(b.left, b.top);
    } else {
        drag_ = Drag::Armed;
        start_ = outline_ = b;
    }
    return true;
}

bool VisualEditor::Move(Point page, unsigned modifiers) {
    const Point p{page.x - origin_.x, page.y - origin_.y};
    const std::int32_t dx = p.x - press_.x, dy = p.y - press_.y;
    switch (drag_) {
        case Drag::None:
            return false;
        case Drag::Armed:
            if (!DragStarts(dx, dy)) return true;
            drag_ = Drag::Move;
            outline_ = start_.Offset(dx, dy);
            return true;
        case Drag::ZoneArmed:
            if (std::abs(dx) <= 4 && std::abs(dy) <= 4) return true;
            drag_ = Drag::ZoneMove;
            outline_ = start_.Offset(dx, dy);
            return true;
        case Drag::Move:
        case Drag::ZoneMove:
            outline_ = start_.Offset(dx, dy);
            return true;
        case Drag::Resize:
        case Drag::ZoneResize:
            outline_ = ResizeWithHandle(start_, handle_, dx, dy, (modifiers & kModShift) != 0);
            return true;
    }
    return false;
}

VisualRelease VisualEditor::Release(Point page, bool right) {
    const Drag drag = drag_;
    drag_ = Drag::None;
    TMyyImage* image = Current();
    if (!image) return VisualRelease::None;
    const Point p{page.x - origin_.x, page.y - origin_.y};
    const Rect b = image->Bounds();
    const Point local{p.x - b.left, p.y - b.top};
    if (right) {
        if (!b.Contains(p)) return VisualRelease::None;
        image->SetLastMouse(local);
        return VisualRelease::ImageMenu;
    }
    switch (drag) {
        case Drag::None:
            return VisualRelease::None;
        case Drag::Armed:
        case Drag::ZoneArmed:
            image->SetLastMouse(local);
            return VisualRelease::Handled;
        case Drag::Resize:
            if (outline_.Width() != b.Width() || outline_.Height() != b.Height())
                image->ResizeTo(outline_.Width(), outline_.Height());
            return VisualRelease::Handled;
        case Drag::ZoneMove:
        case Drag::ZoneResize:
            if (TMyyZona* zone = image->SelectedZone())
                image->SetZoneBounds(*zone, outline_.Offset(-b.left, -b.top),
                                     drag == Drag::ZoneMove ? kUndoMoveZone : kUndoSizeZone);
            return VisualRelease::Handled;
        case Drag::Move:
            // An image in a cell stays in its cell: only the page's own text moves characters.
            if (!inCell_) MoveImageTo(*image, page);
            return VisualRelease::Handled;
    }
    return VisualRelease::None;
}

bool VisualEditor::SelectImageCharacter() {
    TMyyImage* image = Current();
    if (!image || !box_ || !input_ || !image->Object()) return false;
    const std::optional<TKYTTextPos> at = LocateObjectCharacter(*box_, *image->Object());
    if (!at) return false;
    TKYTTextPos after = *at;
    after.charIndex += 1;
    after.lineIndex = -1;
    input_->SetSelection(*at, box_->ResolvePosition(after));
    return true;
}

bool VisualEditor::MoveImageTo(TMyyImage& image, Point p) {
    if (!box_ || !input_ || !image.Object()) return false;
    const TKYTTextPos target = box_->HitTest(kHitEditable, p.x, p.y);
    if (!target.Valid()) return false;
    current_ = &image;
    if (!SelectImageCharacter()) return false;
    // The box moves its selection as a drop of a drag inside itself: the character leaves its
    // place and is inserted where the pointer is, each change an undo step of the box.
    const bool moved = input_->Drop(*input_, p.x, p.y);
    // The character was written anew: the view that showed it is gone with it.
    Forget();
    return moved;
}

}  // namespace orvo

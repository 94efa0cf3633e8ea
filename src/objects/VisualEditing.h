// The pointer on the pictures of a page being edited: which image a press lands on, selecting it
// and its zones, a handle dragged to resize the image or a zone, a zone dragged to another place
// in its image, and the image dragged to another place in the text (its character moves). The
// window forwards its pointer here in box coordinates and draws the outline of a running drag;
// everything that changes an object records its undo step through the object's view.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "objects/uKYTvisu.h"

namespace orvo {

class ObjectViewHost;
class TKYTbox;
class TKYTboxInput;
struct TKYTTextPos;

/// Where the character of `object` sits in `box` (paragraph and character), or none.
std::optional<TKYTTextPos> LocateObjectCharacter(const TKYTbox& box, const TKYToggetto& object);

/// What a release did, for the window to follow up.
enum class VisualRelease : std::uint8_t {
    None,       // not ours: the box takes it
    Handled,    // a selection, a resize, a zone moved or resized, the image moved
    ImageMenu,  // a right release on an image: its menu (with its zone's commands when one is
                // selected) at the release point
};

class VisualEditor {
public:
    explicit VisualEditor(ObjectViewHost& views) : views_(views) {}

    /// The box (and its input) the images sit in; none while no page is edited.
    void Attach(TKYTbox* box, TKYTboxInput* input);

    /// A press at `p`. True when it lands on an image or a handle of the selected one (the
    /// image is selected, a drag armed); false when it lands on text (any image selection is
    /// dropped, and the box takes the press).
    bool Press(Point p, bool right, unsigned modifiers);
    /// A move with the button held: true while one of our drags runs (the outline follows).
    bool Move(Point p, unsigned modifiers);
    VisualRelease Release(Point p, bool right);

    /// The views of the images whose characters the box holds now, in text order, then those
    /// of the table cells' texts.
    std::vector<TMyyImage*> Images() const;
    /// Where the box that holds the selected image lies on the page: (0, 0) for the page's own
    /// box, the cell's place for an image in a table cell (the image's bounds are the cell's).
    Point CurrentOrigin() const;
    /// The image selected now, and its selected zone; none.
    TMyyImage* Current() const;
    TMyyZona* CurrentZone() const;
    /// Selects an image (none: nothing selected).
    void Select(TMyyImage* image);
    /// The outline of the drag that runs, in box coordinates; none.
    std::optional<Rect> Outline() const;
    /// The views are dropped (another page, a commit, a save): nothing is selected or dragged.
    void Forget();

    /// Puts the selected image's character into the box's selection (copying, cutting and the
    /// keys then act on it); false without one.
    bool SelectImageCharacter();
    /// Moves the character of `image` to the text position at `p` (box coordinates) through the
    /// box's own move of its selection; false when the point is not in editable text, lies on
    /// the character itself or the box refused.
    bool MoveImageTo(TMyyImage& image, Point p);

private:
    enum class Drag : std::uint8_t { None, Armed, Resize, ZoneArmed, ZoneMove, ZoneResize, Move };
    // An image with the box that holds it and where that box lies on the page.
    struct Placed {
        TMyyImage* image = nullptr;
        const TKYTbox* box = nullptr;
        Point origin{};
    };
    std::vector<Placed> Placements() const;
    TMyyImage* ImageAt(Point p) const;
    bool StillShown(const TMyyImage* image) const;

    ObjectViewHost& views_;
    TKYTbox* box_ = nullptr;
    TKYTboxInput* input_ = nullptr;
    TMyyImage* current_ = nullptr;
    Point origin_{};       // where the selected image's box lies on the page
    bool inCell_ = false;  // the selected image lies in a table cell
    Drag drag_ = Drag::None;
    int handle_ = 0;
    Point press_{};
    Rect start_{};  // the bounds the drag started from (box coordinates)
    Rect outline_{};
};

}  // namespace orvo

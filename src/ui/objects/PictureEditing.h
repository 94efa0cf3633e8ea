// The pictures of a page being edited, in the window: presses, drags and keys that land on an
// image go to its editing rules before the text box sees them; the image's menu (zones, sizes,
// clipboard, the link of a zone); the outline of a running drag drawn over the page; a picture
// file placed at the caret.
#pragma once

#include <QPoint>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "objects/VisualEditing.h"
#include "platform/IClipboard.h"

class QEvent;
class QMenu;
class QPainter;
class QWidget;

namespace orvo {

class BoxEditing;
class ILinkHolder;
class ObjectViewHost;
class TKYTset;

/// The commands of the image's menu, in the menu's order.
enum class PictureCommand : std::uint8_t {
    AddZone,
    DeleteZone,
    ZoneToFront,
    ZoneToBack,
    LinkZone,
    Size100,
    Size50,
    Copy,
    Paste,
};

/// The menu's caption of a command.
const char* PictureCommandCaption(PictureCommand command);

class PictureEditing {
public:
    /// `surface` is the widget the page is painted on (box coordinates); everything given
    /// outlives this object.
    PictureEditing(QWidget& surface, TKYTset& set, ObjectViewHost& views, IClipboard& clipboard);

    /// The box being edited and its input and editing operations; none while nothing is edited.
    void Attach(TKYTbox* box, TKYTboxInput* input, BoxEditing* editing);
    /// The views went (another page, a commit, a save).
    void Forget() { editor_.Forget(); }

    /// An event of the surface while the page is edited; true when a picture took it.
    bool Event(QEvent* event);
    /// Draws the outline of the drag that runs.
    void PaintOver(QPainter& painter) const;

    /// Runs a command of the menu on the selected image; false when it did nothing.
    bool Run(PictureCommand command);
    /// Whether a command applies now (the menu enables it so).
    bool Enabled(PictureCommand command) const;
    /// The window's clipboard commands routed to the selected image: copy copies its selected
    /// zone or the image, cut also deletes it, paste pastes onto the image. False when no image
    /// is selected (the text box then takes the command).
    bool CopyCurrent();
    bool CutCurrent();
    bool PasteCurrent();

    /// Adds the picture file to the hypertext and places a new image of it at the caret (an
    /// undo step of the box); false, with the hypertext's message, when the file is not a
    /// picture it can read or nothing is edited.
    bool PlacePicture(const std::string& file);
    /// Places a page object made elsewhere (an image, a form input, an anchor) at the caret (an
    /// undo step of the box); false when nothing is edited.
    bool PlaceObject(std::unique_ptr<TKYToggetto> object);
    /// The box being edited and its editing operations; none while nothing is edited.
    BoxEditing* Editing() const { return editing_; }

    VisualEditor& Editor() { return editor_; }

    /// Links the selected zone through the link window: called with the zone as the holder of
    /// a link, true when a link was applied. Without it the zone's page is asked by number
    /// (askZonePage).
    std::function<bool(ILinkHolder&)> chooseLink;
    /// Asks for the page a zone links to (its number), none when cancelled. The default asks
    /// in a small window.
    std::function<std::optional<std::int32_t>()> askZonePage;
    /// The text box's clipboard commands, for copying and cutting an image with its character.
    std::function<bool(bool cut)> copyText;
    /// Something the pictures changed must be painted and the tools brought up to date.
    std::function<void()> changed;
    /// A picture of the page or the page's text changed (an image placed, moved, resized or
    /// pasted on, a zone added, moved, linked or deleted): the page is to be stored.
    std::function<void()> edited;
    /// The properties window of an image; when set, the image's menu ends with "&Proprietà...".
    std::function<void(TMyyImage& image)> properties;

private:
    void ShowMenu(const QPoint& at);
    /// The handle (1..8) of the selected image or zone under `p`, or 0.
    int HandleUnder(Point p) const;
    void Changed();
    void Edited();

    QWidget& surface_;
    TKYTset& set_;
    IClipboard& clipboard_;
    VisualEditor editor_;
    BoxEditing* editing_ = nullptr;
    TKYTboxInput* input_ = nullptr;
    bool dragged_ = false;  // the press being followed moved an image, a zone or a handle
};

}  // namespace orvo

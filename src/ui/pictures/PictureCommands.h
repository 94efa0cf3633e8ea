// The main window's picture commands: "&Immagine/mappa..." (Ctrl+I) inserts the pictures the
// picture window gives at the caret of the page being edited, and the image menu's
// "&Proprietà..." edits the selected image in the image properties window; a picture dropped
// or pasted on the page becomes a new image through the image properties window.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/MainFormPorts.h"
#include "app/MenuCatalogue.h"
#include "app/PictureWindowRules.h"

class QWidget;

namespace orvo {

class Environment;
class IMessages;
class IScheduler;
class ImagePropertiesWindow;
class PageViewWidget;
class TKYTset;
class TMyyImage;

struct PictureCommandsHost {
    TKYTset& set;
    Environment& environment;
    IMessages& messages;
    IScheduler& scheduler;
    /// The page widget of the frame being edited (none: nothing is edited).
    std::function<PageViewWidget*()> focusedView;
    /// Applies a window's localisation block.
    std::function<void(QWidget&)> localize;
    QWidget* parent = nullptr;
    /// Applies a localisation block to a widget (the image properties' custom-code panel).
    std::function<void(QWidget&, std::string_view block)> localizeBlock;
    /// The link window in a mode, preset with an object's code (-1 none): the code of the
    /// object chosen, none when cancelled.
    std::function<std::optional<std::int32_t>(int mode, std::int32_t presetCode)> chooseLink;
    /// The page widgets of every frame of the editor (none given: the one being edited).
    std::function<std::vector<PageViewWidget*>()> views;
};

class PictureCommands {
public:
    explicit PictureCommands(PictureCommandsHost host) : host_(std::move(host)) {}

    /// Runs "&Immagine/mappa..."; false for every other command.
    bool RunCommand(CommandId command);
    /// Gives a page widget's image menu its "&Proprietà...".
    void Wire(PageViewWidget& view);

    /// Shows the picture window in `mode` (with the hypertext's picture `preset` selected in
    /// the album, -1 none); the picture chosen, or none.
    ChosenPicture ChoosePicture(PictureWindowMode mode, std::int32_t preset = -1);
    /// The pictures chosen in the picture window (mode 4) go into the page being edited, each
    /// as an image at the caret; false when no page is edited or nothing was chosen.
    bool InsertImages();
    /// The image properties window for an image of `view`; true when Ok changed it.
    bool EditImage(PageViewWidget& view, TMyyImage& image);
    /// A picture file dropped on the page being edited: the picture window preset to it, then
    /// the image properties window for a new image, which Ok inserts at the caret.
    Outcome InsertDroppedPicture(const std::string& file);
    /// A bitmap (or metafile) pasted into the page of `view`: the clipboard picture window,
    /// then the image properties window for a new image, which Ok inserts at the caret.
    Outcome PasteClipboardPicture(PageViewWidget& view);

private:
    /// Gives an image properties window its choosers: pictures from the picture window, and
    /// the references of its custom-code panel from the picture window's internal album and
    /// the link window.
    void Prepare(ImagePropertiesWindow& window);
    /// The image properties window for a new image of `picture`; Ok places it at the caret of
    /// the page of `view`.
    Outcome PlaceNewImage(PageViewWidget& view, ChosenPicture picture);
    PictureCommandsHost host_;
};

/// The secondary windows with the dropped picture handled here.
class PictureWindowsLayer final : public ForwardingWindows {
public:
    PictureWindowsLayer(ISecondaryWindows& inner, PictureCommands& commands)
        : ForwardingWindows(inner), commands_(commands) {}
    Outcome InsertDroppedPicture(const std::string& file) override {
        return commands_.InsertDroppedPicture(file);
    }

private:
    PictureCommands& commands_;
};

}  // namespace orvo

// The main window's page-properties command: "Proprietà pagina" opened on the page of the
// editor's current frame, as a layer of the secondary windows.
#pragma once

#include <QWidget>

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "app/MainFormPorts.h"
#include "app/PictureWindowRules.h"

namespace orvo {

class Environment;
class FrameSetWidget;
class IMessages;
class IScheduler;
class PagePropertiesWindow;
class TKYTset;

struct PageWindowsHost {
    TKYTset& set;
    Environment& environment;
    IMessages& messages;
    IScheduler& scheduler;
    FrameSetWidget& frames;
    /// Applies a localisation block to a window.
    std::function<void(QWidget&, std::string_view block)> localize;
    QWidget* parent = nullptr;
    /// The picture window in a mode, preset with a picture of the hypertext (-1 none).
    std::function<ChosenPicture(PictureWindowMode, std::int32_t preset)> choosePicture;
    /// The link window in a mode, preset with an object's code (-1 none): the code of the
    /// object chosen, none when cancelled.
    std::function<std::optional<std::int32_t>(int mode, std::int32_t presetCode)> chooseLink;
};

class PageWindows final : public ForwardingWindows {
public:
    PageWindows(ISecondaryWindows& inner, PageWindowsHost host);
    Outcome RunCommand(CommandId command) override;
    /// Opens the window in the mode of a command's tag; false when the editor has no frame
    /// with a page.
    bool OpenPageProperties(int tag);
    /// Called with each window before it runs (tests answer it and close it).
    std::function<void(PagePropertiesWindow&)> onWindow;

private:
    PageWindowsHost host_;
};

}  // namespace orvo

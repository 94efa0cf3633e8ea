// The main window's album commands: "&Album immagini - files - pagine e cancellazioni...",
// "&Lista pagine...", "&Cancella pagine...", the album on a named tab, and "&Proprietà
// dell'ipertesto corrente..."; every other window is handed on.
#pragma once

#include <functional>

#include "app/HypertextOptions.h"
#include "app/MainFormPorts.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "ui/album/AlbumWindow.h"

class QDialog;

namespace orvo {

struct AlbumWindowsHost {
    /// The album's needs (its editor, programs, dialogs).
    AlbumHost album;
    /// The page being edited stored into the hypertext (before the album opens).
    std::function<void()> commitPage;
    /// The spell checker and the editor's state for the options window.
    std::function<HypertextOptionsHost()> options;
    QWidget* parent = nullptr;
    /// After the album or the options closed: names and titles may have changed.
    std::function<void()> changed;
};

class AlbumWindows final : public ForwardingWindows {
public:
    AlbumWindows(ISecondaryWindows& inner, AlbumWindowsHost host);

    Outcome OpenAlbum(std::string_view tab) override;
    Outcome RunCommand(CommandId command) override;

    /// Called with each window once it is made, before it shows (tests answer it).
    std::function<void(QDialog&)> onWindow;

private:
    Outcome Album(int tab);
    Outcome Options();
    AlbumWindowsHost host_;
};

}  // namespace orvo

#include "ui/album/AlbumWindows.h"

#include "model/uKYTset.h"
#include "ui/album/DeletionWindow.h"
#include "ui/album/OptionsWindow.h"

namespace orvo {

AlbumWindows::AlbumWindows(ISecondaryWindows& inner, AlbumWindowsHost host)
    : ForwardingWindows(inner), host_(std::move(host)) {}

Outcome AlbumWindows::OpenAlbum(std::string_view tab) {
    return Album(AlbumTabOfCaption(tab));
}

Outcome AlbumWindows::RunCommand(CommandId command) {
    switch (command) {
        case CommandId::HypertextAlbum:
            return Album(0);
        case CommandId::FilePageList:
        case CommandId::HypertextDeletePages:
            return Album(AlbumTabOfCaption("Pagine"));
        case CommandId::HypertextProperties:
            return Options();
        default:
            return inner_.RunCommand(command);
    }
}

Outcome AlbumWindows::Album(int tab) {
    if (host_.commitPage) host_.commitPage();
    AlbumHost album = host_.album;
    // The deletion window is dressed and offered to the tests as the album is.
    if (!album.deleteObjects)
        album.deleteObjects = [this](const std::vector<std::int32_t>& codes) {
            DeletionWindow window(host_.album.set, codes, host_.album.editor, host_.album.dressing,
                                  host_.parent);
            if (onWindow) onWindow(window);
            return window.exec() == QDialog::Accepted;
        };
    AlbumWindow window(std::move(album), host_.parent);
    window.SetTab(tab);
    if (onWindow) onWindow(window);
    // Renames and deletions take effect at once, whichever button closes the album.
    const bool accepted = window.exec() == QDialog::Accepted;
    if (host_.changed) host_.changed();
    return accepted ? Outcome::Done : Outcome::Cancelled;
}

Outcome AlbumWindows::Options() {
    if (host_.commitPage) host_.commitPage();
    HypertextOptionsHost options = host_.options ? host_.options() : HypertextOptionsHost{};
    std::vector<SpellerLanguageItem> languages;
    if (options.speller) options.speller->GetSpellerLanguages(languages, 0);
    HypertextOptionsWindow window(host_.album.set, std::move(languages), options,
                                  host_.album.dressing, host_.parent);
    if (onWindow) onWindow(window);
    const bool accepted = window.exec() == QDialog::Accepted;
    if (accepted && host_.changed) host_.changed();
    return accepted ? Outcome::Done : Outcome::Cancelled;
}

}  // namespace orvo

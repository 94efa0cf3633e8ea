#include "ui/pages/PageWindows.h"

#include "app/CustomCodePanel.h"
#include "app/PageProperties.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "textbox/uKYTCornice.h"
#include "ui/pages/CodePanelWidget.h"
#include "ui/pages/PagePropertiesWindow.h"
#include "ui/textbox/FrameSetWidget.h"
#include "ui/textbox/PageViewWidget.h"

namespace orvo {

PageWindows::PageWindows(ISecondaryWindows& inner, PageWindowsHost host)
    : ForwardingWindows(inner), host_(std::move(host)) {}

Outcome PageWindows::RunCommand(CommandId command) {
    if (command != CommandId::PageProperties) return inner_.RunCommand(command);
    OpenPageProperties(2);
    return Outcome::Done;
}

bool PageWindows::OpenPageProperties(int tag) {
    FrameSetWidget& frames = host_.frames;
    frames.ForgetStaleControl();
    PageViewWidget* view = frames.FocusedView();
    if (!view || !view->Showing()) return false;
    const int mode = PagePropertiesMode(tag);
    if (PagePropertiesClosesAtOnce(mode)) return true;  // Ok at once, nothing stored
    // The window edits the page as stored: the edits made so far are stored first.
    view->CommitPage();
    const std::int32_t id = view->PageShown();
    TKYToggetto* page = host_.set.ObjectByKind(TOggettiHel::testoHtml, id);
    if (!page || page->IsFree()) {
        host_.messages.Error(kPageObjectMissing);
        return false;
    }
    TKYTFrame* frame = nullptr;
    for (TKYTFrame* leaf : frames.FrameSet().Leaves())
        if (frames.ViewOf(*leaf) == view) frame = leaf;
    bool reshow = false;
    PagePropertiesHost host{[&reshow] { reshow = true; }, [&reshow] { reshow = true; },
                            [&frames] { frames.FrameSet().SetChanged(true); }};
    PagePropertiesWindow window(host_.set, *page, frame, mode, host_.environment, host_.messages,
                                host_.scheduler, host, host_.localize, host_.parent);
    // The background picture comes from the picture window, one picture from any source.
    if (host_.choosePicture) {
        window.choosePicture = [this](std::int32_t preset) {
            return host_.choosePicture(PictureWindowMode::Single, preset);
        };
        // A reference in the head code names a picture the hypertext holds: the internal album.
        window.CodePanel().choosePicture =
            [this](std::int32_t presetCode) -> std::optional<std::int32_t> {
            const std::int32_t preset = presetCode < 0 ? -1 : CodeIdentifier(presetCode);
            ChosenPicture chosen = host_.choosePicture(PictureWindowMode::AlbumOnly, preset);
            if (!chosen || !chosen.Registered()) return std::nullopt;
            return chosen.Get()->Code();
        };
    }
    // A page or file reference through the link window: a page, an address or an embedded
    // file (mode 4); a page's text names a page of the hypertext (mode 5).
    if (host_.chooseLink)
        window.CodePanel().choosePage = [this](CodeReference kind, std::int32_t presetCode) {
            return host_.chooseLink(kind == CodeReference::PageText ? 5 : 4, presetCode);
        };
    if (onWindow) onWindow(window);
    const bool accepted = window.exec() == QDialog::Accepted;
    // The page's box takes the new background, header and footer: it is shown again.
    if (accepted && reshow && view->PageShown() == id) {
        view->ClosePage();
        view->ShowPage(id);
    }
    view->setFocus();
    return accepted;
}

}  // namespace orvo

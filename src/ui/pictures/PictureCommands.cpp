#include "ui/pictures/PictureCommands.h"

#include <QWidget>

#include <algorithm>

#include "app/CustomCodePanel.h"
#include "app/ImagePropertiesRules.h"
#include "app/PagePropertiesBlocks.h"
#include "base/Cp1252.h"
#include "model/ObjectRecord.h"
#include "model/uKYTset.h"
#include "objects/ImageRecord.h"
#include "objects/uKYTvisu.h"
#include "textbox/PageEditSession.h"
#include "ui/objects/PictureEditing.h"
#include "ui/pages/CodePanelWidget.h"
#include "ui/pictures/ClipboardPictureWindow.h"
#include "ui/pictures/ImagePropertiesWindow.h"
#include "ui/pictures/PictureWindow.h"
#include "ui/textbox/PageViewWidget.h"

namespace orvo {

bool PictureCommands::RunCommand(CommandId command) {
    if (command != CommandId::InsertImage) return false;
    InsertImages();
    return true;
}

void PictureCommands::Wire(PageViewWidget& view) {
    PictureEditing* pictures = view.Pictures();
    if (!pictures) return;
    pictures->properties = [this, &view](TMyyImage& image) { EditImage(view, image); };
    // A picture changed on the page: a save or a page change stores the page.
    pictures->edited = [&view] {
        if (PageEditSession* session = view.Session()) session->NoteEdit();
    };
    view.onImageFromClipboard = [this, &view] { PasteClipboardPicture(view); };
}

ChosenPicture PictureCommands::ChoosePicture(PictureWindowMode mode, std::int32_t preset) {
    PictureWindow window(host_.set, host_.messages, host_.localize, host_.parent);
    window.SetMode(mode);
    window.SetPresetPicture(preset);
    window.Prepare();
    if (window.exec() != QDialog::Accepted) return {};
    return window.TakeResult();
}

bool PictureCommands::InsertImages() {
    PageViewWidget* view = host_.focusedView ? host_.focusedView() : nullptr;
    PictureEditing* pictures = view ? view->Pictures() : nullptr;
    // Without a box being edited the command does nothing.
    if (!pictures || !pictures->Editing()) return false;
    PictureWindow window(host_.set, host_.messages, host_.localize, host_.parent);
    window.SetMode(PictureWindowMode::Several);
    window.Prepare();
    const bool chosen = window.exec() == QDialog::Accepted;
    std::vector<ChosenPicture> results = window.TakeResults();
    int placed = 0;
    if (chosen) {
        for (ChosenPicture& picture : results) {
            std::unique_ptr<TKYToggetto> image = AddImmagineNew(host_.set, picture);
            // The page may have gone while the window was open.
            if (!image || !pictures->PlaceObject(std::move(image))) break;
            ++placed;
        }
    }
    // The page's text changed: a save or a page change stores it.
    if (placed > 0 && view->Session()) view->Session()->NoteEdit();
    if (QWidget* surface = view->Surface()) surface->setFocus();
    return placed > 0;
}

Outcome PictureCommands::InsertDroppedPicture(const std::string& file) {
    PageViewWidget* view = host_.focusedView ? host_.focusedView() : nullptr;
    PictureEditing* pictures = view ? view->Pictures() : nullptr;
    if (!pictures || !pictures->Editing()) return Outcome::Cancelled;
    PictureWindow chooser(host_.set, host_.messages, host_.localize, host_.parent);
    chooser.SetMode(PictureWindowMode::DroppedFile);
    chooser.SetPresetFile(Cp1252ToUtf8(file));
    chooser.Prepare();
    if (chooser.exec() != QDialog::Accepted) return Outcome::Cancelled;
    ChosenPicture picture = chooser.TakeResult();
    if (!picture) return Outcome::Cancelled;
    return PlaceNewImage(*view, std::move(picture));
}

Outcome PictureCommands::PasteClipboardPicture(PageViewWidget& view) {
    PictureEditing* pictures = view.Pictures();
    if (!pictures || !pictures->Editing()) return Outcome::Cancelled;
    ClipboardPictureWindow chooser(host_.set, host_.messages, host_.localize, host_.parent);
    if (!chooser.Prepare() || chooser.exec() != QDialog::Accepted) return Outcome::Cancelled;
    ChosenPicture picture = chooser.TakeResult();
    if (!picture) return Outcome::Cancelled;
    return PlaceNewImage(view, std::move(picture));
}

void PictureCommands::Prepare(ImagePropertiesWindow& window) {
    window.choosePicture = [this](PictureWindowMode mode) { return ChoosePicture(mode); };
    CodePanelWidget& code = window.CodePanel();
    if (host_.localizeBlock) host_.localizeBlock(code, CodePanelBlock());
    code.Refresh();
    // A reference in the IMG's code names a picture the hypertext holds: the internal album.
    code.choosePicture = [this](std::int32_t presetCode) -> std::optional<std::int32_t> {
        const std::int32_t preset = presetCode < 0 ? -1 : CodeIdentifier(presetCode);
        ChosenPicture chosen = ChoosePicture(PictureWindowMode::AlbumOnly, preset);
        if (!chosen || !chosen.Registered()) return std::nullopt;
        return chosen.Get()->Code();
    };
    // A page, an address or an embedded file through the link window (mode 4).
    if (host_.chooseLink)
        code.choosePage = [this](CodeReference kind, std::int32_t presetCode) {
            return host_.chooseLink(kind == CodeReference::PageText ? 5 : 4, presetCode);
        };
}

Outcome PictureCommands::PlaceNewImage(PageViewWidget& view, ChosenPicture picture) {
    ImagePropertiesWindow window(host_.set, host_.environment, host_.messages, host_.scheduler,
                                 host_.localize, host_.parent);
    Prepare(window);
    window.LoadNew(std::move(picture));
    if (window.exec() != QDialog::Accepted) return Outcome::Cancelled;
    std::unique_ptr<TKYToggetto> image = window.Apply(nullptr);
    // The page may have gone while the windows were open.
    PictureEditing* pictures = view.Pictures();
    const bool placed = pictures && pictures->Editing() && pictures->PlaceObject(std::move(image));
    if (placed && view.Session()) view.Session()->NoteEdit();
    if (QWidget* surface = view.Surface()) surface->setFocus();
    return placed ? Outcome::Done : Outcome::Failed;
}

bool PictureCommands::EditImage(PageViewWidget& view, TMyyImage& image) {
    TKYToggetto* object = image.Object();
    if (!object) return false;
    image.StoreToObject();  // the zones as the page shows them
    ImagePropertiesWindow window(host_.set, host_.environment, host_.messages, host_.scheduler,
                                 host_.localize, host_.parent);
    Prepare(window);
    // The images that show the replaced picture in the page of every frame (the pages'
    // working copies, which the replacement did not reach) take its new size with their zones
    // scaled, and their views read them again, so that none stores its old zones later (the
    // window may yet be cancelled). A frame without edits of its page shows it again.
    const std::int32_t shown = ImageRecord(*object).Picture();
    window.replaced = [this, &view, shown] {
        const TKYToggetto* picture = host_.set.ObjectByKind(TOggettiHel::immagine, shown);
        if (!picture) return;
        std::vector<PageViewWidget*> views;
        if (host_.views) views = host_.views();
        if (std::find(views.begin(), views.end(), &view) == views.end()) views.push_back(&view);
        for (PageViewWidget* frame : views) {
            if (!frame || !frame->Showing()) continue;
            PictureEditing* pictures = frame->Pictures();
            if (!pictures || !pictures->Editing()) {
                if (!frame->Session() || !frame->Session()->Edited()) {
                    const std::int32_t page = frame->PageShown();
                    frame->ClosePage();
                    frame->ShowPage(page);
                }
                continue;
            }
            for (TMyyImage* other : pictures->Editor().Images())
                if (other->Object() && ImageRecord(*other->Object()).Picture() == shown) {
                    FitImageToPicture(*other->Object(), *picture);
                    other->Setup();
                    other->Relayout();
                }
            if (QWidget* surface = frame->Surface()) surface->update();
        }
    };
    if (const std::int32_t page = view.PageShown(); page >= 0)
        window.SetEditedPage(MakeCode(TOggettiHel::testoHtml, page));
    window.LoadImage(*object);
    if (window.exec() != QDialog::Accepted) return false;
    image.MakeUndo(kUndoEditImage);
    window.Apply(object);
    image.Setup();
    image.Relayout();
    if (view.Session()) view.Session()->NoteEdit();
    if (PictureEditing* pictures = view.Pictures(); pictures && pictures->changed)
        pictures->changed();
    if (QWidget* surface = view.Surface()) {
        surface->update();
        surface->setFocus();
    }
    return true;
}

}  // namespace orvo

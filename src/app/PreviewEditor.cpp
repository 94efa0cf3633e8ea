#include "app/PreviewEditor.h"

#include "app/u3MainForm.h"
#include "model/ObjectRecord.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "platform/IMessages.h"

namespace orvo {

PreviewEditor::PreviewEditor(TKYTset& set, IPreviewSurface& main, IBrowseWindowsPort& browse,
                             IMessages& messages, Hooks hooks)
    : set_(set), main_(main), browse_(browse), messages_(messages), hooks_(std::move(hooks)) {}

std::int32_t PreviewEditor::LinkAt(const IPreviewSurface& surface, std::int32_t x, std::int32_t y) {
    const TKYTbox* box = surface.Box();
    return box ? LinkCodeAt(*box, x, y) : -1;
}

bool PreviewEditor::Click(IPreviewSurface& surface, IPreviewSurface* from, std::int32_t x,
                          std::int32_t y, const Follow& follow) {
    const std::int32_t code = LinkAt(surface, x, y);
    if (code < 0) return false;
    std::optional<LinkedObject> linked;
    if (TKYToggetto* object = LinkObjectOf(set_, surface.WorkingText(), code))
        linked = LinkedObjectOf(*object, set_);
    HandOver(surface, from, linked, follow);
    return true;
}

void PreviewEditor::FollowObject(IPreviewSurface& surface, IPreviewSurface* from,
                                 const TKYToggetto& link, const Follow& follow) {
    HandOver(surface, from, LinkedObjectOf(link, set_), follow);
}

void PreviewEditor::HandOver(IPreviewSurface& surface, IPreviewSurface* from,
                             const std::optional<LinkedObject>& linked, const Follow& follow) {
    LinkSource source;
    source.kind = LinkSourceKind::TextBox;
    source.page = surface.PageShown();
    from_ = from;
    shownIn_ = nullptr;
    follow(source, linked);
    from_ = nullptr;
}

void PreviewEditor::DetachPages() {
    main_.DetachPage();
    browse_.DetachPages();
}

void PreviewEditor::ReattachPages() {
    main_.ReattachPage();
    browse_.ReattachPages();
    if (current_ >= 0 && main_.PageShown() < 0) {
        current_ = -1;
        if (hooks_.changed) hooks_.changed(-1);
    }
}

void PreviewEditor::ReleasePages() {
    if (hooks_.released) hooks_.released();
    browse_.CloseAll();
    main_.ClosePage();
    current_ = -1;
}

void PreviewEditor::ShowPage(int page) {
    const bool shown = main_.ShowPage(page);
    shownIn_ = &main_;
    const int now = shown ? page : -1;
    if (now == current_) return;
    current_ = now;
    if (hooks_.changed) hooks_.changed(now);
}

void PreviewEditor::SetEnabled(bool on) {
    main_.SetEnabled(on);
}

void PreviewEditor::Refresh() {
    main_.Repaint();
}

void PreviewEditor::GoToAnchor(int anchor) {
    (shownIn_ ? *shownIn_ : Clicked()).GoToAnchor(anchor);
}

void PreviewEditor::ShowInFrameSet(int frameSet, int page) {
    if (frameSet == -1)
        ShowPage(page);
    else
        messages_.Inform(kNotSupported);
}

void PreviewEditor::ShowInSourceFrame(const LinkSource&, int page, int anchor) {
    if (from_) {
        Show(*from_, page, anchor);
        return;
    }
    ShowPage(page);
    if (anchor >= 0) main_.GoToAnchor(anchor);
}

void PreviewEditor::ShowInNamedFrame(std::string_view name, int page, int anchor) {
    Show(browse_.Named(name), page, anchor);
}

void PreviewEditor::ShowInSeparateWindow(std::string_view name, int page, int anchor,
                                         const LinkedObject& link) {
    IPreviewSurface& window = browse_.Named(name);
    if (link.object) {
        if (Result<std::string> content = link.object->ContentBytes(); content)
            window.ApplyFeatures(ReadWindowFeatures(*content));
    }
    Show(window, page, anchor);
}

void PreviewEditor::ShowInNewWindow(std::string_view name, int page, int anchor) {
    Show(browse_.New(name), page, anchor);
}

void PreviewEditor::ShowInPopup(const LinkSource&, int page, int anchor, const LinkedObject& link) {
    IPreviewSurface& window = browse_.Popup();
    if (link.object) {
        if (Result<std::string> content = link.object->ContentBytes(); content) {
            const WindowFeatures features = ReadWindowFeatures(*content);
            WindowFeatures size;
            size.width = features.width;
            size.height = features.height;
            window.ApplyFeatures(size);
        }
    }
    Show(window, page, anchor);
}

void PreviewEditor::CloseBrowseWindow(std::string_view name) {
    browse_.Close(name);
}

std::optional<LinkedObject> PreviewEditor::ResolveTarget(const LinkedObject& link) {
    if (!link.object) return std::nullopt;
    const std::int32_t code = link.object->ReadView().I32(kSpecTarget);
    const TKYToggetto* target = LinkObjectOf(set_, Clicked().WorkingText(), code);
    if (!target || target->IsFree()) return std::nullopt;
    return LinkedObjectOf(*target, set_);
}

void PreviewEditor::Show(IPreviewSurface& surface, int page, int anchor) {
    if (surface.ShowPage(page) && anchor >= 0) surface.GoToAnchor(anchor);
    shownIn_ = &surface;
    surface.Raise();
}

}  // namespace orvo

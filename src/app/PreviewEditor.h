// The editor as the preview shows it, without widgets: one page surface in the main window
// (its only frame) and the separate and pop-up browse windows that links open. Where a
// followed link shows its page, which page an anchor scrolls, what a click on a page leads to
// and how a page's local link codes resolve are decided here; the desktop's surfaces only
// show pages, scroll and raise their windows.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "app/MainFormPorts.h"
#include "app/WindowFeatures.h"
#include "textbox/PageLinks.h"

namespace orvo {

class IMessages;
class TKYTbox;
class TKYTset;
class TKYTtesto;
class TKYToggetto;

/// A read-only surface that shows one page of the open hypertext.
class IPreviewSurface {
public:
    virtual ~IPreviewSurface() = default;
    /// False (and nothing changed) when the hypertext has no such page.
    virtual bool ShowPage(std::int32_t page) = 0;
    virtual void ClosePage() = 0;
    /// The page shown, -1 for none.
    virtual std::int32_t PageShown() const = 0;
    /// Scrolls to the anchor with that number; false when the page has none.
    virtual bool GoToAnchor(std::int32_t anchor) = 0;
    /// The laid-out box of the page shown, or nullptr.
    virtual const TKYTbox* Box() const = 0;
    /// The working text of the page shown (its own links), or nullptr.
    virtual const TKYTtesto* WorkingText() const = 0;
    /// Brings the surface's window to the front (nothing for the main window's page).
    virtual void Raise() = 0;
    /// Takes a link's window position and size (nothing for the main window's page).
    virtual void ApplyFeatures(const WindowFeatures& features) = 0;
    /// Around a save or a load, which replaces every object: the page lets its objects go,
    /// then is made again from its code (closed when the hypertext no longer has it).
    virtual void DetachPage() = 0;
    virtual void ReattachPage() = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual void Repaint() = 0;
};

/// The browse windows the preview opens.
class IBrowseWindowsPort {
public:
    virtual ~IBrowseWindowsPort() = default;
    /// The open window of that name (without regard to case), or a new one.
    virtual IPreviewSurface& Named(std::string_view name) = 0;
    /// Always a new window.
    virtual IPreviewSurface& New(std::string_view name) = 0;
    /// A new pop-up window at the point the link was clicked.
    virtual IPreviewSurface& Popup() = 0;
    virtual void Close(std::string_view name) = 0;
    virtual void CloseAll() = 0;
    /// Around a save or a load: every window's page lets its objects go, then comes back.
    virtual void DetachPages() = 0;
    virtual void ReattachPages() = 0;
};

class PreviewEditor final : public IEditorView {
public:
    /// `changed` hears the main page shown; `released` is told when the pages go, as a
    /// document is replaced.
    struct Hooks {
        std::function<void(int)> changed;
        std::function<void()> released;
    };
    PreviewEditor(TKYTset& set, IPreviewSurface& main, IBrowseWindowsPort& browse,
                  IMessages& messages, Hooks hooks);

    using Follow = std::function<void(const LinkSource&, const std::optional<LinkedObject>&)>;
    /// A click at (x, y) of `surface` (`from`: the browse window it is, nullptr for the main
    /// window's page): the link there is handed to `follow` (the command flow's EditorDoLink)
    /// with the page it lies on and what it leads to, while it counts as clicked in `from`.
    /// False when no link lies there.
    bool Click(IPreviewSurface& surface, IPreviewSurface* from, std::int32_t x, std::int32_t y,
               const Follow& follow);
    /// A button or anchor of the page shown in `surface` asks to follow its link object `link`:
    /// handed to `follow` as a click on a text link is.
    void FollowObject(IPreviewSurface& surface, IPreviewSurface* from, const TKYToggetto& link,
                      const Follow& follow);
    /// The link code under (x, y) of `surface`, or -1.
    static std::int32_t LinkAt(const IPreviewSurface& surface, std::int32_t x, std::int32_t y);

    /// Around a save or a load (ObjectHolders): every page shown lets its objects go, then is
    /// shown again from its code; a main page gone is no longer the current one.
    void DetachPages();
    void ReattachPages();

    void ReleasePages() override;
    void ShowPage(int page) override;
    int CurrentPage() const override { return current_; }
    void SetReadOnly(bool) override {}  // the preview never edits
    bool Changed() const override { return false; }
    void ClearChanged() override {}
    bool PageHasUnsavedEdits() const override { return false; }
    void CommitPage() override {}
    bool Busy() const override { return false; }
    void SetEnabled(bool on) override;
    void HideContextToolbars() override {}
    void Refresh() override;
    /// On the page a link just showed; else on the page the link was clicked on.
    void GoToAnchor(int anchor) override;
    void SetAutoEngQuote(bool) override {}
    /// The main window's page is a single frame: frame set -1. Inner frame sets are not built.
    void ShowInFrameSet(int frameSet, int page) override;
    void ShowInSourceFrame(const LinkSource& source, int page, int anchor) override;
    /// No frame of the page has a name: the page goes to the browse window of that name.
    void ShowInNamedFrame(std::string_view name, int page, int anchor) override;
    /// The link's content holds the window's features: its position and size come first.
    void ShowInSeparateWindow(std::string_view name, int page, int anchor,
                              const LinkedObject& link) override;
    void ShowInNewWindow(std::string_view name, int page, int anchor) override;
    /// The pop-up stays where the link was clicked: only the features' size is taken.
    void ShowInPopup(const LinkSource& source, int page, int anchor,
                     const LinkedObject& link) override;
    void CloseBrowseWindow(std::string_view name) override;
    /// A jump's target is the object whose code the link's record holds, a local code resolved
    /// through the text of the page the link was clicked on.
    std::optional<LinkedObject> ResolveTarget(const LinkedObject& link) override;

private:
    /// Hands `linked` to `follow` as clicked on the page of `surface`, in `from`.
    void HandOver(IPreviewSurface& surface, IPreviewSurface* from,
                  const std::optional<LinkedObject>& linked, const Follow& follow);
    void Show(IPreviewSurface& surface, int page, int anchor);
    IPreviewSurface& Clicked() const { return from_ ? *from_ : main_; }

    TKYTset& set_;
    IPreviewSurface& main_;
    IBrowseWindowsPort& browse_;
    IMessages& messages_;
    Hooks hooks_;
    IPreviewSurface* from_ = nullptr;     // the browse window the link was clicked in
    IPreviewSurface* shownIn_ = nullptr;  // where the link being followed showed its page
    int current_ = -1;
};

}  // namespace orvo

// The separate browse windows that links open: top-level windows, each with a name and a page
// view of the open hypertext, and the pop-up one placed where the link was clicked.
#pragma once

#include <QPoint>
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/PreviewEditor.h"

namespace orvo {

class PageViewWidget;
class TKYTset;
class TKYToggetto;

class BrowseWindow final : public QWidget, public IPreviewSurface {
public:
    BrowseWindow(TKYTset& set, std::string name, bool popup, QWidget* owner);
    ~BrowseWindow() override;

    /// The name links give it (Windows-1252); "" for a window opened without one.
    const std::string& Name() const { return name_; }
    bool IsPopup() const { return popup_; }
    PageViewWidget& View() { return *view_; }
    /// Shows the page and names the window after it; false when the hypertext has no such
    /// page.
    bool ShowPage(std::int32_t pageIdentifier) override;
    void ClosePage() override;
    std::int32_t PageShown() const override;
    bool GoToAnchor(std::int32_t anchor) override;
    const TKYTbox* Box() const override;
    const TKYTtesto* WorkingText() const override;
    void Raise() override { raise(); }
    /// Takes the position and size a link's window features set (the options they name are
    /// not used: a browse window has no address bar, menus or toolbars to hide).
    void ApplyFeatures(const WindowFeatures& features) override;
    void DetachPage() override;
    void ReattachPage() override;
    void SetEnabled(bool enabled) override { setEnabled(enabled); }
    void Repaint() override;

private:
    TKYTset& set_;
    std::string name_;
    bool popup_;
    PageViewWidget* view_;
};

class BrowseWindows {
public:
    /// Windows over `set`, owned by `owner` (the main window) so that they close with it.
    BrowseWindows(TKYTset& set, QWidget& owner);
    ~BrowseWindows();

    /// The open window of that name, without regard to case; nullptr when none is open.
    BrowseWindow* Find(std::string_view name) const;
    /// The open window of that name, or a new one.
    BrowseWindow& Named(std::string_view name);
    /// Always a new window, even when one of that name is open.
    BrowseWindow& New(std::string_view name);
    /// A new pop-up window whose top left corner lies at `globalAt`.
    BrowseWindow& Popup(QPoint globalAt);
    /// Closes the first open window of that name; false when none is open.
    bool Close(std::string_view name);
    /// Closes every window (their pages are let go first).
    void CloseAll();
    /// Around a save or a load of the hypertext: every window's page lets its objects go, then
    /// is shown again from its code.
    void DetachPages();
    void ReattachPages();
    /// The open windows, oldest first.
    std::vector<BrowseWindow*> Open() const;

    /// Called with the window and the point of a left click on its page; true when a link was
    /// followed there (else the click goes on to the page's form inputs).
    std::function<bool(BrowseWindow&, QPoint)> onClick;
    /// Called with the window and the link object a button or anchor of its page asks for.
    std::function<void(BrowseWindow&, const TKYToggetto&)> onFormLink;

private:
    BrowseWindow& Make(std::string_view name, bool popup);
    TKYTset& set_;
    QWidget& owner_;
    std::vector<QPointer<BrowseWindow>> windows_;
};

}  // namespace orvo

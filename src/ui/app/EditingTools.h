// The main window's editing tools: the editor as the command flow sees it once pages can be
// edited, the context toolbars ("Formato", "Paragrafi", "Tabelle") with the state read from
// the edited box, the ruler, the undo button with its drop-down list, the page-number box, the
// "Vai a pagina" menu and the commands of the "&Modifica" menu.
#pragma once

#include <QKeySequence>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "app/MainFormPorts.h"
#include "app/MenuCatalogue.h"
#include "app/PreviewEditor.h"
#include "textbox/PageEditSession.h"

class QAction;
class QComboBox;
class QFontComboBox;
class QLineEdit;
class QMainWindow;
class QMenu;
class QToolBar;
class QToolButton;

namespace orvo {

class FrameSetWidget;
class PageViewWidget;
class RulerWidget;
class TMainFormRules;

/// One frame of the main window's frame set as a surface links are shown in: a link clicked in
/// a frame other than the main one, or one that names a frame, shows its page there.
class FramePageSurface final : public IPreviewSurface {
public:
    FramePageSurface(FrameSetWidget& frames, std::uint32_t frameSerial)
        : frames_(frames), serial_(frameSerial) {}
    bool ShowPage(std::int32_t page) override;
    void ClosePage() override {}
    std::int32_t PageShown() const override;
    bool GoToAnchor(std::int32_t anchor) override;
    const TKYTbox* Box() const override;
    const TKYTtesto* WorkingText() const override;
    void Raise() override {}
    void ApplyFeatures(const WindowFeatures&) override {}
    // The frame set detaches and attaches all its frames' pages itself.
    void DetachPage() override {}
    void ReattachPage() override {}
    void SetEnabled(bool) override {}
    void Repaint() override;
    /// The page widget of the frame, while the frame shows a page.
    PageViewWidget* View() const;

private:
    FrameSetWidget& frames_;
    std::uint32_t serial_;
};

/// The editor of the main window: the preview's decisions (links, browse windows) with the
/// editing of the frame set's page widgets (read-only switch, change flag, commit).
class EditingEditorView final : public IEditorView {
public:
    EditingEditorView(IEditorView& preview, FrameSetWidget& frames)
        : preview_(preview), frames_(frames) {}
    /// Leaving edit mode hides the context toolbars and the ruler.
    std::function<void()> onHideTools;

    void ReleasePages() override { preview_.ReleasePages(); }
    void ShowPage(int page) override { preview_.ShowPage(page); }
    int CurrentPage() const override { return preview_.CurrentPage(); }
    void SetReadOnly(bool readOnly) override;
    bool Changed() const override;
    void ClearChanged() override;
    bool PageHasUnsavedEdits() const override;
    void CommitPage() override;
    bool Busy() const override { return preview_.Busy(); }
    void SetEnabled(bool enabled) override { preview_.SetEnabled(enabled); }
    void HideContextToolbars() override {
        if (onHideTools) onHideTools();
    }
    void Refresh() override { preview_.Refresh(); }
    void GoToAnchor(int anchor) override { preview_.GoToAnchor(anchor); }
    void SetAutoEngQuote(bool on) override { preview_.SetAutoEngQuote(on); }
    void ShowInFrameSet(int frameSet, int page) override {
        preview_.ShowInFrameSet(frameSet, page);
    }
    void ShowInSourceFrame(const LinkSource& source, int page, int anchor) override {
        preview_.ShowInSourceFrame(source, page, anchor);
    }
    /// A frame of the frame set with that name shows the page; else a browse window does.
    void ShowInNamedFrame(std::string_view name, int page, int anchor) override;
    /// The surface of the frame `view` shows its page in, while the page is split into
    /// frames (links clicked there are followed from that frame); nullptr otherwise.
    IPreviewSurface* FrameSurfaceOf(const PageViewWidget& view);
    void ShowInSeparateWindow(std::string_view name, int page, int anchor,
                              const LinkedObject& link) override {
        preview_.ShowInSeparateWindow(name, page, anchor, link);
    }
    void ShowInNewWindow(std::string_view name, int page, int anchor) override {
        preview_.ShowInNewWindow(name, page, anchor);
    }
    void ShowInPopup(const LinkSource& source, int page, int anchor,
                     const LinkedObject& link) override {
        preview_.ShowInPopup(source, page, anchor, link);
    }
    void CloseBrowseWindow(std::string_view name) override { preview_.CloseBrowseWindow(name); }
    std::optional<LinkedObject> ResolveTarget(const LinkedObject& link) override {
        return preview_.ResolveTarget(link);
    }

private:
    // Kept for the window's life: the preview may refer to the surface a link was shown in.
    std::map<std::uint32_t, std::unique_ptr<FramePageSurface>> frameSurfaces_;
    IEditorView& preview_;
    FrameSetWidget& frames_;
};

class EditingTools {
public:
    /// Builds the context toolbars and the ruler into `window` (hidden until a page is edited);
    /// they act on the box of the frame set's focused frame.
    EditingTools(QMainWindow& window, FrameSetWidget& frames, TMainFormRules& rules);
    ~EditingTools();

    /// The undo button with its drop-down arrow and the page-number box, on the main toolbar.
    void AddToMainToolbar(QToolBar& toolbar);
    /// The "Vai a pagina" submenu of `menu`: the pages visited, filled when it opens.
    void AddGoToPageMenu(QMenu& menu);
    /// Runs a command of the "&Modifica" menu on the edited box, or a table command; false for
    /// other commands.
    bool RunCommand(CommandId command);
    /// The table commands on the focused frame's page being edited.
    void RunTableCommand(CommandId command);
    /// The key of a menu command (Ctrl+S saves, Ctrl+Z undoes, ...), if it has one.
    static std::optional<QKeySequence> Shortcut(CommandId command);
    /// Shows the state of the edited box in the tools; in preview mode they hide.
    void Refresh();
    void HideContextToolbars();

    QToolBar* FormatBar() const { return formatBar_; }
    QToolBar* ParagraphBar() const { return paragraphBar_; }
    QToolBar* TableBar() const { return tableBar_; }
    QToolBar* RulerBar() const { return rulerBar_; }

private:
    PageEditSession* Session() const;
    void OpenUndoList();
    void Edited();

    QMainWindow& window_;
    FrameSetWidget& frames_;
    TMainFormRules& rules_;
    QToolBar* formatBar_ = nullptr;
    QToolBar* paragraphBar_ = nullptr;
    QToolBar* tableBar_ = nullptr;
    QToolBar* rulerBar_ = nullptr;
    RulerWidget* ruler_ = nullptr;
    QFontComboBox* fontBox_ = nullptr;
    QComboBox* sizeBox_ = nullptr;
    QAction* bold_ = nullptr;
    QAction* italic_ = nullptr;
    QAction* underline_ = nullptr;
    QAction* alignLeft_ = nullptr;
    QAction* alignCentre_ = nullptr;
    QAction* alignRight_ = nullptr;
    QAction* numbered_ = nullptr;
    QAction* bulleted_ = nullptr;
    QToolButton* undoButton_ = nullptr;
    QToolButton* undoListButton_ = nullptr;
    QLineEdit* pageBox_ = nullptr;
    bool refreshing_ = false;
    bool hidden_ = true;
};

}  // namespace orvo

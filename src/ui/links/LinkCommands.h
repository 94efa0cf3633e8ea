// The main window's link commands: linking the selection through the link window or the
// special-link window, a self link, a new page, a page pasted from elsewhere and a page chosen
// from the preview; and the entry points that image and zone editing call with their own
// holder of a link.
#pragma once

#include <QObject>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "app/LinkWindowRules.h"
#include "app/MenuCatalogue.h"

class QDialog;
class QMenu;
class QWidget;

namespace orvo {

class IMessages;
class LinkWindow;
class PageViewWidget;
class SpecialLinkWindow;
class TKYTset;

/// What the commands need of the main window.
struct LinkCommandsHost {
    TKYTset& set;
    IMessages& messages;
    /// The page widget of the focused frame (nullptr when none).
    std::function<PageViewWidget*()> view;
    /// The editor shows a page (the page being edited is committed first).
    std::function<void(std::int32_t page)> showPage;
    /// The page being edited is stored.
    std::function<void()> commitPage;
    /// Something changed: the window refreshes its tools and lists.
    std::function<void()> changed;
};

class LinkCommands final : public ILinkEditor {
public:
    LinkCommands(LinkCommandsHost host, QWidget* parent);
    ~LinkCommands() override;

    /// Runs a link command of the menus; false for any other command.
    bool RunCommand(CommandId command);
    /// The link commands the command table does not name, added to `menu`.
    void AddToMenu(QMenu& menu);

    /// "Co&llegamento...": the link window in mode 0 on the selection; a selection that is a
    /// link loses it instead.
    void LinkSelection();
    /// "&Collegamento speciale...": the special-link window, then the link window for its
    /// target.
    void SpecialLinkSelection();
    /// "Collegamento autore&ferente": the selected text is the address.
    void SelfLink();
    /// "Aggiungi nuova pagina": mode 9; true when a page was made (the editor shows it).
    bool NewPage();
    /// "Incolla &pagina da...": mode 10, from `sourceDocument` at `sourcePage` when given.
    void PastePage(const std::string& sourceDocument = {}, std::int32_t sourcePage = -1);
    /// "&Scegli da anteprima...": mode 6, the chosen page shown.
    void ChooseFromPreview();

    /// The link window in mode 0 for any holder (a text selection, an image, a zone), preset
    /// with its present link unless that is a special link; true when a link was applied.
    bool ChooseLinkFor(ILinkHolder& holder);
    /// The special-link window for any holder, then its target; true when a link was applied.
    bool ChooseSpecialLinkFor(ILinkHolder& holder);

    /// How a modal window runs (tests answer it): returns QDialog::Accepted or Rejected.
    std::function<int(QDialog&)> execDialog;
    /// Applies a window's localisation block when the window is made.
    std::function<void(QWidget&)> localize;
    /// The name prompt of a window that needs one (caption "Orvo"); none when cancelled.
    std::function<std::optional<std::string>()> askName;

    // ILinkEditor.
    void ShowPage(std::int32_t page) override;
    TKYTTextAttributes* CurrentText() override;
    TKYToggetto* CurrentPage() override;

    /// "Definisci a video...": the link window in mode 3 on the page being edited, for the
    /// author to click an anchor; the anchor chosen, none when cancelled.
    std::optional<std::int32_t> AnchorOnScreen(std::int32_t anchor);

private:
    LinkWindow& Window();
    /// The link window's rules made ready for `mode` (no onChoose, no source document).
    TLinkChooser& Ready(int mode, const TKYToggetto* preset = nullptr, std::int32_t anchor = -1);
    /// The text box's selection, or none after telling the author to select first.
    TKYTTextAttributes* SelectedText();
    void LinkOrUnlinkSelection(bool special);
    /// A link was put on or taken off the page being edited: the page is stored by the next
    /// save or page change, and the window refreshes.
    void Linked();
    SpecialLinkWindow& SpecialWindow();
    int Run(QDialog& dialog);

    LinkCommandsHost host_;
    QWidget* parent_;
    LinkWindow* window_ = nullptr;
    SpecialLinkWindow* specWindow_ = nullptr;
};

}  // namespace orvo

// A page in a scroll area: the page's background colour and picture behind its header, body
// and footer, laid out by the text box at the viewport's width. Read-only until editing is
// enabled; then edit mode makes it the editing surface of its box: the caret, keys, the mouse,
// the clipboard, text dragged between boxes and files dropped on it, all through the box's
// headless input (PageEditSession).
#pragma once

#include <QScrollArea>

class QMouseEvent;

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/uKYTset.h"

namespace orvo {

class IMessages;
class IScheduler;
class ObjectViewHost;
class PageFormInput;
class ISelectionConverters;
class PageEditSession;
class PictureEditing;
class TKYTbox;
class TKYTboxInput;
class TKYTtesto;
class TQzSpellChecker;
struct NewTableChoice;
struct Point;
struct TableProperties;
class TablePropertiesDialog;

class PageViewWidget final : public QScrollArea {
public:
    /// Shows pages of `set`, which outlives the widget.
    explicit PageViewWidget(TKYTset& set, QWidget* parent = nullptr);
    ~PageViewWidget() override;

    /// Makes the widget able to edit: the caret blinks on `scheduler`, the editing operations
    /// report through `messages`, copies and pastes of RTF go through `converters` (none:
    /// text only). A page shown is closed first. Everything given outlives the widget.
    void EnableEditing(IScheduler& scheduler, IMessages& messages,
                       ISelectionConverters* converters = nullptr);
    /// Edit mode on or off (only once editing is enabled). The caret and the selection stay
    /// where they were across the switch.
    void SetEditable(bool on);
    bool Editable() const;
    /// The editing of the page shown, or nullptr before EnableEditing.
    PageEditSession* Session() const;
    /// The input of the box shown, or nullptr.
    TKYTboxInput* Input() const;
    /// The editing of the pictures of the page shown, or nullptr before EnableEditing.
    PictureEditing* Pictures() const;
    /// Stores the page's edits into the hypertext and shows it again (the caret kept); false
    /// when nothing was stored.
    bool CommitPage();

    /// Shows the page with that identifier; false (and nothing shown) when the hypertext has
    /// no such page. A page being edited is committed before another one is shown.
    bool ShowPage(std::int32_t pageIdentifier);
    /// Whether a page is shown (also while it is detached).
    bool Showing() const;
    /// The identifier of the page shown, -1 for none.
    std::int32_t PageShown() const;
    /// The number a new anchor of the page shown takes: one above its largest, 0 for none.
    std::int32_t NextAnchorNumber() const;
    /// The working text of the page shown (its own links), or nullptr.
    const TKYTtesto* WorkingText() const;
    /// Lets the page shown go (its text closed, edits not stored): nothing is shown afterwards.
    void ClosePage();
    /// Around a save or a load of the hypertext, which replaces every object: the page's view
    /// lets the objects go (its text kept in working form), then is made again from that text
    /// with the objects read back; a page the hypertext no longer has is closed.
    void DetachPage();
    void ReattachPage();
    /// The box of the page shown, or nullptr (also while the page is detached).
    TKYTbox* Box() const;
    /// Scrolls to the anchor with that number on the page shown; false when it has none.
    bool GoToAnchor(std::int32_t number);
    /// The object a link code of the page shown names: a code of the hypertext, or a local
    /// code (0x6F000000 + n) of a link that the page's text holds; nullptr when none.
    TKYToggetto* LinkObject(std::int32_t code) const;
    /// A new table at the caret of the page being edited ("T&abella"), the caret in its first
    /// cell; false when nothing is edited.
    bool InsertTable(const NewTableChoice& choice);
    /// A table command (TableCommand) on the cell being edited: `count` rows or columns added
    /// before it (`after`: after it), or its row or column deleted; false outside a cell or
    /// when the table refuses.
    bool TableCommandOnCell(int command, int count, bool after);
    /// The windows that ask for them: "Nuova tabella" and "Aggiungi righe/colonne".
    void NewTableWindow();
    void AddRowsColumnsWindow();
    /// Whether the caret is in a table cell of the page being edited (the table commands apply).
    bool InTableCell() const;
    /// "Proprietà tabella/caselle..." on the cell being edited: the window, and the change it
    /// makes (one undo step); false outside a cell.
    void TablePropertiesWindow();
    bool ApplyTableProperties(const TableProperties& properties);
    /// Called with the properties window before it is shown (tests answer it).
    std::function<void(TablePropertiesDialog&)> onTableWindow;
    /// The views of the shown page's objects.
    ObjectViewHost* ObjectViews() const;
    /// The form inputs of the page while it is browsed (their clicks and keys).
    PageFormInput* FormInput() const;
    /// The widget the page is painted on, inside the scroll area.
    QWidget* Surface() const;
    /// How many times the surface was painted.
    int Paints() const;

    /// The background spell check of the page being edited over `checker` (none: no check):
    /// after each change misspelt words are underlined, and the spelling menu of a marked word
    /// offers the checker's suggestions. Needs EnableEditing first.
    void EnableSpelling(TQzSpellChecker* checker);
    /// Anchor markers keep their room and glyph on the browsed page (a preview where an
    /// anchor is clicked to be linked to); for the pages shown from now on.
    void ShowAnchors(bool on);
    /// "&Controllo ortografia" of the spelling menu: the spelling dialog on the page.
    std::function<void()> onCheckSpelling;

    /// The caret moved, the selection or the format changed: the tools follow (called once
    /// for a burst of changes, from the event loop).
    std::function<void()> onToolsChanged;
    /// Files from the desktop dropped on the page being edited (paths in Windows-1252).
    std::function<void(const std::vector<std::string>&)> onFilesDropped;
    /// A document dropped on the page while it is browsed.
    std::function<void(const std::string&)> onOpenHypertext;
    /// A bitmap pasted into the page being edited, the clipboard holding nothing the box pastes
    /// before it: the caller makes the image and places it.
    std::function<void()> onImageFromClipboard;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class PageSurface;
    friend class PageInputHost;
    struct State;
    bool SurfaceEvent(QEvent* event);
    bool HeaderDragEvent(QMouseEvent& mouse, Point p);
    void Attach();
    void Detach();
    void DropObjectViews();
    void ToolsChanged();
    void ShowMenu(int menu, const QPoint& at, TKYTboxInput* input = nullptr);
    bool ShowSpellMenu(TKYTboxInput& input, const QPoint& at);
    std::unique_ptr<State> state_;
};

}  // namespace orvo

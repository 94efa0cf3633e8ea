// The editing of the page a surface shows, without a window: the hypertext's undo list for that
// surface, the box's editing operations and its input, the switch between browsing and editing
// that keeps the caret, and the state the toolbars read. The desktop's page widget forwards its
// events here; tests drive the same calls.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/IClipboard.h"
#include "platform/IMessages.h"
#include "platform/IScheduler.h"
#include "textbox/uKYTattr.h"
#include "textbox/uKYTboxInput.h"
#include "textbox/uKYTundo.h"

namespace orvo {

class TKYTset;
class TKYTtesto;

/// Character style bits of the tools (those of ApplyFontStyle).
inline constexpr std::uint8_t kStyleBold = 1;
inline constexpr std::uint8_t kStyleItalic = 2;
inline constexpr std::uint8_t kStyleUnderline = 4;

/// What the context toolbars, the ruler and the undo button show.
struct EditToolState {
    bool editing = false;    // a page is shown and edited
    bool selection = false;  // text is selected
    bool inTable = false;    // the caret's box is a table cell
    std::uint8_t styleBits = 0;
    std::string fontName;
    std::int32_t fontSize = 0;
    std::uint8_t alignment = 0;  // 0 left, 1 right, 2 centre
    std::uint8_t numbering = 0;  // 0 none, 6 numbered, 10 bulleted
    // The caret paragraph's indents in pixels (the ruler's marks).
    std::int32_t leftMargin = 0;
    std::int32_t firstIndent = 0;
    std::int32_t rightMargin = 0;
    std::int32_t layoutWidth = 0;
    std::vector<std::string> undoLabels;  // newest first
    bool operator==(const EditToolState&) const = default;
};

/// The cells of the tables on the page shown, as the surface finds them: the session edits a
/// cell box as it edits the page's own box.
class IPageCells {
public:
    virtual ~IPageCells() = default;
    /// The cell box under a point of the page (the innermost, for a table in a cell), or none.
    virtual TKYTbox* CellAt(Point p) = 0;
    /// Where a cell box's top left corner lies on the page.
    virtual Point CellOrigin(const TKYTbox& cell) = 0;
    /// The cell a caret enters the table of a paragraph through (exit codes 5 to 8).
    virtual TKYTbox* EntryCell(const TKYTparag& tableParagraph, int code) = 0;
    /// A cell's neighbour in the direction of exit code 1 to 4; none at the table's edge.
    virtual TKYTbox* Neighbour(TKYTbox& cell, int code) = 0;
    /// The box that holds a cell's table, and the table paragraph's index in it.
    virtual std::pair<TKYTbox*, std::int32_t> Container(TKYTbox& cell) = 0;
    /// The box is a cell of a table shown now.
    virtual bool IsCell(const TKYTbox& box) = 0;
    /// The number a cell keeps while its table shows (a deleted row or column brought back by
    /// undo has its cells' numbers again); -1 for none.
    virtual std::int32_t CellId(const TKYTbox&) { return -1; }
    /// The cell of a table shown now with that number, or none.
    virtual TKYTbox* CellWithId(std::int32_t) { return nullptr; }
};

/// The commands of the "&Modifica" menu that act on the edited box.
enum class BoxCommandKind : std::uint8_t { Undo, Cut, Copy, Paste, SelectAll };

class PageEditSession {
public:
    /// Everything given outlives the session.
    PageEditSession(TKYTset& set, IMessages& messages, IScheduler& scheduler, IClipboard& clipboard,
                    IBoxInputHost& host);
    ~PageEditSession();
    PageEditSession(const PageEditSession&) = delete;
    PageEditSession& operator=(const PageEditSession&) = delete;

    /// The hypertext's undo list (UndoListOf): the page surface purges it when its page goes.
    /// It goes with the hypertext, which a window may destroy before its surfaces: the session
    /// then only lets itself be destroyed.
    TKYTundoList& Undo() { return *undo_; }
    /// The page's control index and this surface's frame id, which the steps of the page's
    /// objects (pictures, tables) name too.
    TKYTundoIndiciList& Controls() { return controls_; }
    std::int32_t FrameId() const { return frameId_; }
    /// Called after any step of the list was applied, while the session lives.
    void OnUndoApplied(std::function<void()> callback);
    /// The cells of the page's tables (none: only the page's own box is edited).
    void SetCells(IPageCells* cells) { cells_ = cells; }
    /// The box the events go to: the page's own box or a table cell; none when detached.
    TKYTbox* ActiveBox() const;
    /// Where the active box's top left corner lies on the page.
    Point ActiveOrigin() const;
    /// Makes a cell the box the events go to, its caret at its text's start.
    bool FocusCell(TKYTbox& cell);
    /// Lets the cells' inputs go (before a command frees cells); the page's box takes the
    /// events again.
    void ReleaseCells();
    /// Tab in a cell: the caret goes to the next cell (the one before with `backward`); false
    /// outside a table or at its edge.
    bool NextCell(bool backward);
    /// The converters of copied and pasted RTF and text (none: text only).
    void SetConverters(ISelectionConverters* converters) { converters_ = converters; }

    /// The box of the page shown, with its working text. When the same page comes back (after
    /// a save, a commit or a switch of modes) the caret and the selection it had are put back.
    void Attach(TKYTbox& box, TKYTtesto& text, std::int32_t pageId);
    /// The box goes (its page is closed or detached): where the caret was is remembered.
    void Detach();
    /// A new page is shown: nothing of the last one is put back.
    void Forget();
    bool Attached() const { return input_ != nullptr; }
    /// The input and the editing of the active box (the page's own box or a cell).
    TKYTboxInput* Input() { return active_ ? active_ : input_.get(); }
    BoxEditing* Editing();

    /// Edit mode on or off: off, the box is browsed (run mode) and the caret hidden; on, the
    /// caret comes back where it was.
    void SetEditable(bool on);
    bool Editable() const { return editable_; }

    // Events of the surface, forwarded to the box's input; each notes a change of text.
    bool Key(BoxKey key, unsigned modifiers);
    bool Char(std::uint8_t character);
    void MouseDown(MouseButton button, std::int32_t x, std::int32_t y, unsigned modifiers);
    void MouseMove(std::int32_t x, std::int32_t y, unsigned modifiers);
    void MouseUp(MouseButton button, std::int32_t x, std::int32_t y, unsigned modifiers);
    void DoubleClick(std::int32_t x, std::int32_t y);
    bool Drop(TKYTboxInput& source, std::int32_t x, std::int32_t y);
    /// Runs a menu command; false when it did nothing (no box, nothing selected, nothing to
    /// undo, refused).
    bool Command(BoxCommandKind command);
    /// Takes the newest `count` steps of the undo list (the drop-down list's choice).
    bool UndoSteps(int count);

    // The toolbars' commands on the selection or the caret's paragraph.
    /// Turns a style bit on, or off when the format in effect has it.
    void ToggleStyle(std::uint8_t bit);
    void SetFontName(const std::string& name);
    void SetFontSize(std::int32_t points);
    void SetAlignment(std::uint8_t alignment);
    /// Numbering `kind` on, or off when the caret's paragraph has it already.
    void ToggleNumbering(std::uint8_t kind);

    EditToolState Tools();

    /// Whether text was changed since the last ClearEdited (the editor's change flag).
    bool Edited() const { return edited_; }
    void ClearEdited() { edited_ = false; }
    /// Text was changed through the box by other means.
    void NoteEdit() { edited_ = true; }

private:
    class CellSite;
    friend class CellSite;
    struct CellEdit {
        std::unique_ptr<BoxEditing> editing;
        std::unique_ptr<TKYTboxInput> input;
    };
    /// The input of a cell box, made on first use.
    TKYTboxInput* CellInput(TKYTbox* cell);
    /// The events go to `input` from now on.
    void Activate(TKYTboxInput& input);
    /// A cell's input and editing go, and no number of the index names them any more.
    void DropCellEdit(const TKYTbox* cell, CellEdit& edit);
    /// Drops the inputs of cells that are gone (after an undo step).
    void PruneCells();
    /// Gives the cells edited on this page their step numbers back (a cell brought back by a
    /// table step is found by its id), so the next step applied finds its cell.
    void RebindCells();
    void Remember();
    void Restore();
    void SetCaretShown(bool on);

    TKYTset& set_;
    IMessages& messages_;
    IScheduler& scheduler_;
    IClipboard& clipboard_;
    IBoxInputHost& host_;
    ISelectionConverters* converters_ = nullptr;
    TKYTundoList* undo_;
    // This surface's frame in the list's index of frames, and its page's controls.
    std::int32_t frameId_;
    TKYTundoIndiciList controls_;
    TKYTbox* box_ = nullptr;
    std::unique_ptr<BoxEditing> editing_;
    std::unique_ptr<TKYTboxInput> input_;
    TKYTtesto* text_ = nullptr;
    IPageCells* cells_ = nullptr;
    std::unique_ptr<CellSite> cellSite_;
    std::map<const TKYTbox*, CellEdit> cellEdits_;
    // The cells' numbers in the control index (one for each time the cell's input was made),
    // kept while the page is shown so that the steps recorded in a cell find it when its input
    // is made again.
    std::map<const TKYTbox*, std::vector<std::int32_t>> cellNumbers_;
    // The table's number of each cell edited (IPageCells::CellId), so that a cell deleted and
    // brought back takes the numbers of the steps recorded on it.
    std::map<const TKYTbox*, std::int32_t> cellIds_;
    TKYTboxInput* active_ = nullptr;  // a cell's input, or none: the page's own
    std::int32_t pageId_ = -1;
    bool editable_ = false;
    bool edited_ = false;
    // Where the caret was when the box went, for the same page coming back.
    struct Place {
        std::int32_t pageId = -1;
        std::int32_t anchorPara = 0, anchorChar = 0, caretPara = 0, caretChar = 0;
        bool selection = false;
    };
    std::optional<Place> place_;
    // The numbers the boxes of the page shown had in the control index.
    std::vector<std::int32_t> numbers_;
};

}  // namespace orvo

// The table commands of the editor, on the table of the cell being edited in a page's editing
// session: a new table at the caret, rows and columns added and deleted. The windows ask the
// numbers; these do the work, each change after its undo step.
#pragma once

#include <optional>

#include "objects/ObjectViews.h"
#include "objects/TableRules.h"
#include "textbox/PageEditSession.h"

namespace orvo {

class TKYTset;

enum class TableCommand : std::uint8_t { AddRows, AddColumns, DeleteRow, DeleteColumn };

/// The table of the cell being edited and the cell's row and column; none outside a cell.
struct EditedCell {
    TMyyTable* table = nullptr;
    int row = -1;
    int column = -1;
};
EditedCell CellBeingEdited(PageEditSession& session, ObjectViewHost& views);

/// A new table of `choice` at the caret of the box being edited (a cell too): its cells
/// empty, the caret in its first cell. False when nothing is edited or the insertion failed.
bool InsertNewTable(PageEditSession& session, ObjectViewHost& views, TKYTset& set,
                    const NewTableChoice& choice);

/// Adds `count` rows or columns before the cell's (`after`: after it), or deletes its row or
/// column (the deletion runs when the scheduler's posted work runs). False outside a cell or
/// when the table refuses (the limits, every row or column).
bool RunTableCommand(PageEditSession& session, ObjectViewHost& views, TableCommand command,
                     int count = 1, bool after = false);

/// The header strip shows above the table whose cell is being edited, and above no other.
/// Returns that table, or none.
TMyyTable* ShowHeaderOfEditedTable(PageEditSession& session, ObjectViewHost& views);

/// "Proprietà tabella/caselle..." on the cell being edited: the values it starts from, and
/// the change (one undo step). False outside a cell.
std::optional<TableProperties> PropertiesOfEditedCell(PageEditSession& session,
                                                      ObjectViewHost& views);
bool ApplyPropertiesToEditedCell(PageEditSession& session, ObjectViewHost& views,
                                 const TableProperties& properties);

/// A column resized by dragging the right edge of its section in a table's header strip
/// (page coordinates): the window forwards the left button's press, moves and release, and
/// draws the line at LineX while the drag runs; the release resizes the column (one undo step).
class TableHeaderDrag {
public:
    explicit TableHeaderDrag(ObjectViewHost& views) : views_(views) {}

    /// A section edge of a shown header strip within this many pixels takes the press.
    static constexpr std::int32_t kGrip = 3;
    struct Edge {
        TMyyTable* table = nullptr;
        int column = 0;
        std::int32_t x = 0;  // the edge, page coordinates
    };
    /// The section edge under `p`, or none.
    std::optional<Edge> EdgeAt(Point p) const;

    /// True when the press lands on an edge: the drag starts.
    bool Press(Point p);
    /// True while a drag runs: the line follows the pointer (a section is never narrower than
    /// 10 pixels).
    bool Move(Point p);
    /// True when a drag ran: the column takes the new width unless it is unchanged or the
    /// table would be narrower than 10 pixels.
    bool Release(Point p);
    bool Dragging() const { return edge_.table != nullptr; }
    /// The x of the line while a drag runs.
    std::optional<std::int32_t> LineX() const;
    /// The views went: no drag runs.
    void Forget() { edge_ = {}; }

private:
    std::int32_t Clamped(std::int32_t x) const;
    bool StillShown(const TMyyTable* table) const;

    ObjectViewHost& views_;
    Edge edge_;
    std::int32_t sectionLeft_ = 0;
    std::int32_t lineX_ = 0;
};

}  // namespace orvo

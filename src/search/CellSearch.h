// Find and replace reaching the table cells of a page: the cell box that holds a paragraph the
// search walk found, and the page search of a page being edited, which selects and replaces a
// hit in a cell through the cell's own editing (an undo step like any typed in the cell).
#pragma once

#include <cstdint>
#include <memory>

namespace orvo {

class IMarkupHost;
class PageEditSession;
class TKYTbox;
class TKYTparag;
class TMyyTable;
class TPageSearch;

/// A table cell of a page and the index of one of its paragraphs.
struct TableCellHit {
    TMyyTable* table = nullptr;
    TKYTbox* box = nullptr;
    std::int32_t index = -1;
};

/// The cell of `box`'s tables (tables in cells included, eight levels deep at most) whose box
/// holds `paragraph`; none when no cell holds it. The tables are those `host` gives the walk.
TableCellHit CellHoldingParagraph(TKYTbox& box, const TKYTparag& paragraph, IMarkupHost& host);

/// The search over the page `session` edits, whose own box is `pageBox`; nullptr when the
/// session edits nothing. A cell being edited lets its input go and the search goes on from its
/// caret; a hit in a cell makes that cell the edited box with the hit selected, and a hit in
/// the page's own box gives the page's box the events again.
std::unique_ptr<TPageSearch> SessionPageSearch(PageEditSession& session, TKYTbox& pageBox);

}  // namespace orvo

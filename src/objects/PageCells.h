// The cells of the tables a page shows, found through the page's object views: which cell lies
// under a point, where a cell is, and the cells a caret walks through.
#pragma once

#include "objects/ObjectViews.h"
#include "textbox/PageEditSession.h"

namespace orvo {

class PageCells final : public IPageCells {
public:
    explicit PageCells(ObjectViewHost& views) : views_(views) {}

    TKYTbox* CellAt(Point p) override;
    Point CellOrigin(const TKYTbox& cell) override;
    TKYTbox* EntryCell(const TKYTparag& tableParagraph, int code) override;
    TKYTbox* Neighbour(TKYTbox& cell, int code) override;
    std::pair<TKYTbox*, std::int32_t> Container(TKYTbox& cell) override;
    /// A cell of a table the page's text holds (in the page's box or in a cell of such a table).
    bool IsCell(const TKYTbox& box) override;
    std::int32_t CellId(const TKYTbox& box) override;
    TKYTbox* CellWithId(std::int32_t id) override;

private:
    ObjectViewHost& views_;
};

}  // namespace orvo

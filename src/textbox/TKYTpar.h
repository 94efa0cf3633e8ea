// TKYTpar: the depth-first walk over the paragraphs of a text that spelling and search use,
// entering the cells of the tables a paragraph holds; and the record handed to the background
// spell check.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "model/Markup.h"

namespace orvo {

class TKYTpar {
public:
    /// A walk over `paragraphs` (a text box's or a table cell's); `host` gives the cells of
    /// their tables. Both outlive the walk. It starts before the first paragraph.
    TKYTpar(const Paragraphs& paragraphs, IMarkupHost& host);

    /// The paragraph the walk is on; nullptr before the first step and after the last.
    TKYTparag* Current() const { return current_; }
    /// Steps to the next paragraph and returns it (nullptr when none is left). Before a
    /// paragraph whose tables have cells, every cell of every such table is walked first, row
    /// by row and within a row column by column, each cell depth-first in turn.
    TKYTparag* Next();
    /// Next, passing over header and footer paragraphs.
    TKYTparag* NextBody();
    /// Prepares walks over the cells of the tables in the paragraph the walk comes to next.
    void EnterTables();
    /// The index of the paragraph of this walk's own list that comes next.
    std::size_t Index() const { return index_; }

private:
    const Paragraphs* paragraphs_;
    IMarkupHost* host_;
    std::size_t index_ = 0;
    bool entered_ = false;
    std::vector<std::unique_ptr<TKYTpar>> cells_;
    std::size_t cell_ = 0;
    TKYTparag* current_ = nullptr;
};

/// What the background spell check of a page is given: the walk over the page's paragraphs,
/// the paragraph being checked and how many were taken.
struct TParInfoForThread {
    std::unique_ptr<TKYTpar> root;
    TKYTparag* paragraph = nullptr;
    int index = -1;
    bool recheck = false;
};

}  // namespace orvo

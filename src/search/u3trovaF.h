// The word search of the search window: comparing a term with a paragraph's text (whole words,
// case), the search over the paragraph walk of a page (table cells included, header and footer
// paragraphs passed over), and Find / FindNext / replace on the box of the page being edited.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "model/Markup.h"

namespace orvo {

class TKYTTextAttributes;
class TKYTparag;

/// The search options of the frame set (a set of two flags).
enum SearchOption : int { stWholeWord = 1, stMatchCase = 2 };

/// Bytes 32..47, 58..64, 91..96 and 123..126 separate words; letters, digits, control bytes
/// and bytes from 127 up are word characters.
bool IsSearchSeparator(unsigned char c);

/// The first hit of `term` in `text` at or after the 0-based `start`, or npos. Without
/// stMatchCase both are compared in lower case (Windows-1252); with stWholeWord the hit stands
/// between the text's ends or separators. An empty term, or a start past the text, finds
/// nothing.
std::size_t FindTerm(std::string_view text, std::string_view term, std::size_t start, int options);

/// The same on a text and a term already in the form to compare (lowered when the case is
/// ignored). `linesApart`: CR, LF and TAB separate words too (a text export, where they stand
/// between paragraphs and cells).
std::size_t FindPrepared(std::string_view text, std::string_view term, std::size_t start,
                         bool wholeWord, bool linesApart = false);

/// A hit in the paragraph walk.
struct WalkHit {
    TKYTparag* paragraph = nullptr;
    std::size_t at = 0;  // 0-based byte in the paragraph's text
};

/// Searches the body paragraphs of `paragraphs` and of their tables' cells, depth-first, from
/// the paragraph `from` (none: the first) at its byte `fromChar`; later paragraphs from their
/// start. The first hit wins.
std::optional<WalkHit> SearchParagraphs(const Paragraphs& paragraphs, IMarkupHost& host,
                                        std::string_view term, int options,
                                        const TKYTparag* from = nullptr, std::size_t fromChar = 0);

/// The answers of the replace questions.
enum class ReplaceAnswer : std::uint8_t { Yes, No, Cancel };

/// What a replace-all did.
struct ReplaceCount {
    int replaced = 0;
    int skipped = 0;
    bool cancelled = false;
};

/// Find and replace on the box of the page being edited, through its editing operations
/// (every replacement is an undo step). Hits in table cells are passed over when no cell
/// selector is given.
class TPageSearch {
public:
    /// `text`: the editing operations of the page's main box; `host`: the markup host of its
    /// text (the cells of its tables).
    TPageSearch(TKYTTextAttributes& text, IMarkupHost& host) : text_(text), host_(host) {}

    /// Selects a hit found in a table cell's paragraph; false when it cannot (the hit is then
    /// passed over).
    std::function<bool(TKYTparag& paragraph, std::size_t at, std::size_t length)> selectInCell;
    /// Replaces the hit selectInCell selected last and returns the paragraph that holds it
    /// now; nullptr when it cannot (the hit is then passed over). None: hits in cells are not
    /// replaced.
    std::function<TKYTparag*(std::string_view replacement)> replaceInCell;
    /// Called before a hit in the page's own box is selected after one in a cell was: the
    /// page's box takes the events again.
    std::function<void()> leaveCell;
    /// FindNext goes on from byte `at` of a table cell's paragraph (where a cell's caret
    /// stands), until Find or a hit elsewhere.
    void ContinueFrom(TKYTparag& paragraph, std::size_t at) { lastCell_ = WalkHit{&paragraph, at}; }

    /// From the page's first paragraph (the selection cleared first).
    bool Find(std::string_view term, int options);
    /// From the end of the selection (the caret without one).
    bool FindNext(std::string_view term, int options);
    /// FindNext, then (when `confirm` says yes, or without it) replaces the selection.
    /// Returns whether a hit was found.
    bool ReplaceOne(std::string_view word, std::string_view replacement, int options,
                    const std::function<bool()>& confirm, bool* replaced = nullptr);
    /// Replaces every hit after the caret (from the page's start when `fromStart`); `ask`
    /// (when given) decides each one.
    ReplaceCount ReplaceAll(std::string_view word, std::string_view replacement, int options,
                            bool fromStart, const std::function<ReplaceAnswer()>& ask = {});

private:
    bool SearchFrom(const TKYTparag* from, std::size_t fromChar, std::string_view term,
                    int options);
    TKYTTextAttributes& text_;
    IMarkupHost& host_;
    // Where the search goes on after a hit selected in a table cell.
    std::optional<WalkHit> lastCell_;
    std::size_t lastLength_ = 0;
    // A hit was selected in a cell through selectInCell.
    bool inCell_ = false;
    // Replaces the hit selected in a cell; the search goes on after the replacement.
    bool ReplaceCellHit(std::string_view replacement);
};

}  // namespace orvo

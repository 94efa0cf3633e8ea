// The word search of the search window.
#include "search/u3trovaF.h"

#include <algorithm>

#include "base/Cp1252.h"
#include "model/TKYTparag.h"
#include "textbox/TKYTpar.h"
#include "textbox/uKYTattr.h"
#include "textbox/uKYTbox.h"

namespace orvo {

bool IsSearchSeparator(unsigned char c) {
    return (c >= 32 && c <= 47) || (c >= 58 && c <= 64) || (c >= 91 && c <= 96) ||
           (c >= 123 && c <= 126);
}

namespace {

bool Apart(unsigned char c, bool linesApart) {
    return IsSearchSeparator(c) || (linesApart && (c == '\r' || c == '\n' || c == '\t'));
}

}  // namespace

std::size_t FindPrepared(std::string_view text, std::string_view term, std::size_t start,
                         bool wholeWord, bool linesApart) {
    if (term.empty() || start >= text.size() || term.size() > text.size() - start)
        return std::string_view::npos;
    for (std::size_t at = text.find(term, start); at != std::string_view::npos;
         at = text.find(term, at + 1)) {
        if (!wholeWord) return at;
        const std::size_t end = at + term.size();
        const bool before = at == 0 || Apart(static_cast<unsigned char>(text[at - 1]), linesApart);
        const bool after =
            end == text.size() || Apart(static_cast<unsigned char>(text[end]), linesApart);
        if (before && after) return at;
    }
    return std::string_view::npos;
}

std::size_t FindTerm(std::string_view text, std::string_view term, std::size_t start, int options) {
    const bool wholeWord = (options & stWholeWord) != 0;
    if (options & stMatchCase) return FindPrepared(text, term, start, wholeWord);
    return FindPrepared(Lower1252(text), Lower1252(term), start, wholeWord);
}

std::optional<WalkHit> SearchParagraphs(const Paragraphs& paragraphs, IMarkupHost& host,
                                        std::string_view term, int options, const TKYTparag* from,
                                        std::size_t fromChar) {
    if (term.empty()) return std::nullopt;
    const bool matchCase = (options & stMatchCase) != 0;
    const std::string lowered = matchCase ? std::string() : Lower1252(term);
    const std::string_view wanted = matchCase ? term : std::string_view(lowered);
    TKYTpar walk(paragraphs, host);
    bool started = from == nullptr;
    for (TKYTparag* paragraph = walk.NextBody(); paragraph; paragraph = walk.NextBody()) {
        std::size_t start = 0;
        if (!started) {
            if (paragraph != from) continue;
            started = true;
            start = fromChar;
        }
        const std::size_t at =
            matchCase
                ? FindPrepared(paragraph->text, wanted, start, options & stWholeWord)
                : FindPrepared(Lower1252(paragraph->text), wanted, start, options & stWholeWord);
        if (at != std::string_view::npos) return WalkHit{paragraph, at};
    }
    return std::nullopt;
}

// ---------------------------------------------------------------------------------------------
// The page's box

namespace {

// The index of a paragraph among the box's own (not a cell's), or -1.
std::int32_t IndexInBox(const TKYTbox& box, const TKYTparag* paragraph) {
    for (std::int32_t i = 0; i < box.ParagraphCount(); ++i)
        if (&box.Paragraph(i) == paragraph) return i;
    return -1;
}

}  // namespace

bool TPageSearch::SearchFrom(const TKYTparag* from, std::size_t fromChar, std::string_view term,
                             int options) {
    TKYTbox& box = text_.Box();
    for (;;) {
        const std::optional<WalkHit> hit =
            SearchParagraphs(box.AllParagraphs(), host_, term, options, from, fromChar);
        if (!hit) {
            text_.SetCaretAt(text_.Selection().second);
            return false;
        }
        const std::int32_t index = IndexInBox(box, hit->paragraph);
        if (index >= 0) {
            if (inCell_ && leaveCell) leaveCell();
            inCell_ = false;
            text_.Select({index, std::int32_t(hit->at)},
                         {index, std::int32_t(hit->at + term.size())});
            lastCell_.reset();
            return true;
        }
        if (selectInCell && selectInCell(*hit->paragraph, hit->at, term.size())) {
            inCell_ = true;
            lastCell_ = WalkHit{hit->paragraph, hit->at + term.size()};
            lastLength_ = term.size();
            return true;
        }
        from = hit->paragraph;
        fromChar = hit->at + 1;
    }
}

bool TPageSearch::Find(std::string_view term, int options) {
    if (term.empty()) return false;
    text_.SetCaretAt(text_.CaretPos());
    lastCell_.reset();
    return SearchFrom(nullptr, 0, term, options);
}

bool TPageSearch::FindNext(std::string_view term, int options) {
    if (term.empty()) return false;
    if (lastCell_) return SearchFrom(lastCell_->paragraph, lastCell_->at, term, options);
    TKYTbox& box = text_.Box();
    const EditPos end = text_.Selection().second;
    if (end.para < 0 || end.para >= box.ParagraphCount()) return Find(term, options);
    return SearchFrom(&box.Paragraph(end.para), std::size_t(std::max(end.ch, 0)), term, options);
}

bool TPageSearch::ReplaceCellHit(std::string_view replacement) {
    if (!lastCell_ || !replaceInCell) return false;
    const std::size_t end = lastCell_->at;  // the hit's end, before the change
    TKYTparag* paragraph = replaceInCell(replacement);
    if (!paragraph) return false;
    // The search goes on after the new word.
    lastCell_ = WalkHit{paragraph, end - lastLength_ + replacement.size()};
    return true;
}

bool TPageSearch::ReplaceOne(std::string_view word, std::string_view replacement, int options,
                             const std::function<bool()>& confirm, bool* replaced) {
    if (replaced) *replaced = false;
    if (word.empty() || replacement.empty()) return false;
    if (!FindNext(word, options)) return false;
    if (confirm && !confirm()) return true;
    if (lastCell_) {
        const bool done = ReplaceCellHit(replacement);
        if (replaced) *replaced = done;
        return true;
    }
    text_.ReplaceSelection(replacement);
    if (replaced) *replaced = true;
    return true;
}

ReplaceCount TPageSearch::ReplaceAll(std::string_view word, std::string_view replacement,
                                     int options, bool fromStart,
                                     const std::function<ReplaceAnswer()>& ask) {
    ReplaceCount count;
    if (word.empty() || replacement.empty()) return count;
    bool found = fromStart ? Find(word, options) : FindNext(word, options);
    while (found) {
        if (lastCell_ && !replaceInCell) {
            ++count.skipped;
        } else {
            const ReplaceAnswer answer = ask ? ask() : ReplaceAnswer::Yes;
            if (answer == ReplaceAnswer::Cancel) {
                count.cancelled = true;
                return count;
            }
            if (answer != ReplaceAnswer::Yes) {
                ++count.skipped;
            } else if (!lastCell_) {
                text_.ReplaceSelection(replacement);
                ++count.replaced;
            } else if (ReplaceCellHit(replacement)) {
                ++count.replaced;
            } else {
                ++count.skipped;
            }
        }
        found = FindNext(word, options);
    }
    return count;
}

}  // namespace orvo

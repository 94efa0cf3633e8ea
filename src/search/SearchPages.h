// The search across the pages of a hypertext: the text of each page (as the text export writes
// it, entities as the characters they stand for) kept until the page changes, the four-term
// test of the search window, the hits of a page, the pages of a keyword, and replacing a word
// in every page through the editing operations of a page box.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "search/u3trovaF.h"

namespace orvo {

class DocumentFile;
class TKYTset;

/// The four words of the "Parola" tab: (first and second) or (third and fourth).
struct SearchTerms {
    std::string first, second, third, fourth;
};

/// The text of every page, read once and read again only when the page's stored text changes.
class TPagesText {
public:
    explicit TPagesText(const TKYTset& set) : set_(set) {}
    /// The page's text in the form compared with `options` (lowered without stMatchCase); empty
    /// for a page that is missing or free.
    const std::string& Text(std::int32_t page, int options);
    const TKYTset& Set() const { return set_; }

private:
    struct Entry {
        // What the stored text was when it was read: its size and where it lay (a range of the
        // document file, or the bytes in memory by their hash).
        std::weak_ptr<const DocumentFile> file;
        std::int64_t position = -1, size = -1;
        std::size_t hash = 0;
        bool inMemory = false;
        std::string text, lowered;
    };
    bool Current(const Entry& entry, std::int32_t page) const;
    const TKYTset& set_;
    std::unordered_map<std::int32_t, Entry> pages_;
};

/// Which term the page's text holds: first (with second when given), else third (with fourth
/// when given); "" when none. Empty terms move up as in the window: without first and second,
/// third and fourth take their places; without first, second does; without third, fourth.
/// With stWholeWord the words stand alone (paragraphs and table cells apart).
std::string MatchPageTerms(TPagesText& texts, std::int32_t page, SearchTerms terms, int options);

/// The live pages that match, in page-number order.
std::vector<std::int32_t> PagesMatching(TPagesText& texts, const SearchTerms& terms, int options);
/// The first live page after `after` that matches, and the term it matched.
std::optional<std::pair<std::int32_t, std::string>> NextPageMatching(TPagesText& texts,
                                                                     std::int32_t after,
                                                                     const SearchTerms& terms,
                                                                     int options);

/// A hit in a page's text export: line and column from 1 (the column a byte count).
struct TextHit {
    std::int32_t line = 0;
    std::int32_t column = 0;
};
std::vector<TextHit> HitsInPage(TPagesText& texts, std::int32_t page, std::string_view term,
                                int options);

/// The keyword objects of the hypertext (identifier and word), in identifier order.
struct KeywordEntry {
    std::int32_t identifier = -1;
    std::string word;
};
std::vector<KeywordEntry> KeywordList(const TKYTset& set);
/// The live pages whose keyword slots hold `keyword`.
std::vector<std::int32_t> PagesWithKeyword(const TKYTset& set, std::int32_t keyword);
/// The first entry whose word begins with `typed` (case ignored); none when `typed` is empty.
std::optional<std::size_t> KeywordByPrefix(const std::vector<KeywordEntry>& list,
                                           std::string_view typed);

/// What replacing across pages did.
struct PagesReplaced {
    int replaced = 0;  // replacements made
    int pages = 0;     // pages changed and stored
    bool cancelled = false;
};

/// Replaces `word` with `replacement` in the listed pages (every live page when empty), each
/// shown in a box without a window, changed through its editing operations and stored. `ask`
/// (when given) decides each hit. Nothing is done without both words.
PagesReplaced ReplaceInPages(TKYTset& set, std::string_view word, std::string_view replacement,
                             int options, const std::vector<std::int32_t>& pages = {},
                             const std::function<ReplaceAnswer(std::int32_t page)>& ask = {});

}  // namespace orvo

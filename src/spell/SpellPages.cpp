// Spell checking of whole pages.
#include "spell/SpellPages.h"

#include <algorithm>
#include <unordered_map>

#include "model/TKYTparag.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "spell/QzSpellers.h"
#include "spell/TQzSpellerDialog.h"
#include "textbox/TKYTpage.h"
#include "textbox/TKYTpar.h"

namespace orvo {

namespace {

// Puts `word` in place of characters [at, at + length) of the paragraph, keeping its formats:
// the new characters take the format of the first one replaced, and a format that started
// inside the range starts after it. A range that holds an object is not changed.
bool ReplaceCharacters(TKYTparag& paragraph, std::size_t at, std::size_t length,
                       const std::string& word) {
    if (at > paragraph.text.size() || length > paragraph.text.size() - at) return false;
    if (paragraph.metrics.size() != paragraph.text.size() + 1) {
        paragraph.text.replace(at, length, word);
        return true;
    }
    std::int32_t carried = -1;
    for (std::size_t i = at; i < at + length; ++i) {
        if (paragraph.metrics[i].objectIndex >= 0) return false;
        if (paragraph.metrics[i].fontIndex >= 0 && (i > at || word.empty()))
            carried = paragraph.metrics[i].fontIndex;
    }
    TKYTcharMetric base = paragraph.metrics[at];
    base.objectIndex = -1;
    std::vector<TKYTcharMetric> inserted(word.size(), base);
    for (std::size_t k = 1; k < inserted.size(); ++k) inserted[k].fontIndex = -1;
    auto first = paragraph.metrics.begin() + std::ptrdiff_t(at);
    first = paragraph.metrics.erase(first, first + std::ptrdiff_t(length));
    const auto after = paragraph.metrics.insert(first, inserted.begin(), inserted.end()) +
                       std::ptrdiff_t(inserted.size());
    if (carried >= 0 && after->fontIndex < 0) after->fontIndex = carried;
    paragraph.text.replace(at, length, word);
    paragraph.spellFlags.clear();
    return true;
}

}  // namespace

std::vector<std::int32_t> LivePages(const TKYTset& set) {
    std::vector<std::int32_t> pages;
    for (int i = 0; i < set.KindCount(TOggettiHel::testoHtml); ++i)
        if (LivePage(set, i)) pages.push_back(i);
    return pages;
}

std::vector<SpellFinding> CheckPages(TKYTset& set, TQzSpellChecker& checker,
                                     const std::vector<std::int32_t>& pages, int suggestions) {
    std::vector<SpellFinding> findings;
    if (!checker.IsOpen()) return findings;
    FixedMetrics metrics;
    HeadlessTextViewFactory views(metrics);
    HeadlessFrameSet frames;
    RecordingUndoPurge undo;
    ManualSpellPacer pacer;
    ManualScheduler scheduler;
    TKYTpage surface(set, frames, views, undo, pacer, scheduler);
    std::unordered_map<std::string, std::vector<std::string>> suggested;
    for (std::int32_t page : pages) {
        if (!LivePage(set, page)) continue;
        surface.ShowText(page);
        IPageTextView* view = surface.View();
        if (!view) continue;
        TKYTpar walk(view->AllParagraphs(), view->Host());
        std::int32_t index = 0;
        int state = kSpellStateStart;
        for (TKYTparag* paragraph = walk.NextBody(); paragraph;
             paragraph = walk.NextBody(), ++index) {
            const std::string_view text = paragraph->text;
            std::size_t pointer = 0;
            while (pointer < text.size()) {
                const SpellVerdict verdict = checker.Verify(text.substr(pointer), state);
                state = kSpellStateContinue;
                if (verdict.status == kSpellOk || verdict.length == 0 ||
                    pointer + verdict.offset + verdict.length > text.size())
                    break;
                SpellFinding finding;
                finding.page = page;
                finding.paragraph = index;
                finding.offset = pointer + verdict.offset;
                finding.length = verdict.length;
                finding.status = verdict.status;
                finding.word = std::string(text.substr(finding.offset, finding.length));
                if (suggestions > 0 && verdict.status == kSpellUnknownWord) {
                    auto [entry, fresh] = suggested.try_emplace(finding.word);
                    if (fresh) {
                        checker.GetSuggestions(finding.word, entry->second);
                        if (entry->second.size() > std::size_t(suggestions))
                            entry->second.resize(std::size_t(suggestions));
                    }
                    finding.suggestions = entry->second;
                } else if (!verdict.replacement.empty()) {
                    finding.suggestions = {verdict.replacement};
                }
                findings.push_back(std::move(finding));
                pointer += SpellResumeAfter(verdict);
            }
            state = kSpellStateParagraph;
        }
        surface.CloseText();
    }
    return findings;
}

SpellPagesWalk::SpellPagesWalk(TKYTset& set, TQzSpellChecker& checker, IScheduler& scheduler)
    : set_(set),
      checker_(checker),
      scheduler_(scheduler),
      surface_(std::make_unique<TKYTpage>(set, frames_, views_, undo_, pacer_, pageScheduler_)) {}

SpellPagesWalk::~SpellPagesWalk() {
    checker_.OnGetPar = nullptr;
    checker_.OnMisspelling = nullptr;
    checker_.OnChangeText = nullptr;
    checker_.OnEnd = nullptr;
}

std::int32_t SpellPagesWalk::CurrentPage() const {
    return running_ && pageIndex_ < pages_.size() ? pages_[pageIndex_] : -1;
}

void SpellPagesWalk::Install() {
    checker_.OnGetPar = [this](std::string& text, int& start) { GetPar(text, start); };
    checker_.OnMisspelling = [this](int, std::size_t at, std::size_t length) {
        selection_ = {currentIndex_, at, length};
    };
    checker_.OnChangeText = [this](std::size_t at, std::size_t length, const std::string& word,
                                   int) { ChangeText(at, length, word); };
    checker_.OnEnd = [this] { PageEnded(); };
    checker_.OnOpen = checker_.OnClose = checker_.OnResume = nullptr;
}

void SpellPagesWalk::CheckPage(std::int32_t page, std::int32_t paragraph, std::int32_t character) {
    pages_ = {page};
    firstParagraph_ = paragraph;
    firstCharacter_ = character;
    first_ = true;
    checker_.SetSkipPage(false);
    StartPage(0);
}

void SpellPagesWalk::CheckAllPages() {
    pages_ = LivePages(set_);
    first_ = false;
    checker_.SetSkipPage(true);
    StartPage(0);
}

void SpellPagesWalk::StartPage(std::size_t index) {
    pageIndex_ = index;
    if (index >= pages_.size()) {
        running_ = false;
        if (onEnd) onEnd();
        return;
    }
    running_ = true;
    changed_ = false;
    if (onPageStart) onPageStart(pages_[index]);
    surface_->ShowText(pages_[index]);
    IPageTextView* view = surface_->View();
    walk_ = std::make_unique<TKYTpar>(view->AllParagraphs(), view->Host());
    currentIndex_ = -1;
    current_ = nullptr;
    Install();
    checker_.Execute();
}

void SpellPagesWalk::GetPar(std::string& text, int& start) {
    text.clear();
    start = 0;
    if (!walk_) return;
    while ((current_ = walk_->NextBody()) != nullptr) {
        ++currentIndex_;
        if (first_ && currentIndex_ < firstParagraph_) continue;
        if (first_) {
            // The check starts at the word that holds the character.
            first_ = false;
            const std::size_t from = std::min<std::size_t>(
                std::size_t(std::max(firstCharacter_, 0)), current_->text.size());
            const std::size_t blank =
                from == 0 ? std::string::npos : current_->text.rfind(' ', from - 1);
            start = blank == std::string::npos ? -1 : int(blank);
        }
        if (current_->text.empty()) continue;
        text = current_->text;
        return;
    }
}

void SpellPagesWalk::ChangeText(std::size_t at, std::size_t length, const std::string& word) {
    if (current_ && ReplaceCharacters(*current_, at, length, word)) changed_ = true;
}

void SpellPagesWalk::PageEnded() {
    walk_.reset();
    current_ = nullptr;
    const bool stored = changed_ && surface_->CommitText();
    if (stored) ++stored_;
    surface_->CloseText();
    if (onPageEnd && pageIndex_ < pages_.size()) onPageEnd(pages_[pageIndex_], stored);
    const std::size_t next = pageIndex_ + 1;
    if (!checker_.Cancelled() && next < pages_.size()) {
        scheduler_.Post([this, next] { StartPage(next); });
    } else {
        running_ = false;
        if (onEnd) onEnd();
    }
}

}  // namespace orvo

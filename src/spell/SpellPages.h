// Spell checking of whole pages: the batch check of a hypertext's pages (orvo-cli spell), and
// the dialog's walk over the pages of a hypertext, where each change is made in the page's
// paragraphs and stored by committing the page.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/FixedMetrics.h"
#include "platform/IScheduler.h"
#include "textbox/TKYTpageHeadless.h"

namespace orvo {

class TKYTpage;
class TKYTset;
class TQzSpellChecker;

/// One problem the batch check found.
struct SpellFinding {
    std::int32_t page = 0;
    std::int32_t paragraph = 0;  // the paragraph's place in the page's walk, from 0
    std::size_t offset = 0;      // in the paragraph's text
    std::size_t length = 0;
    int status = 0;
    std::string word;  // Windows-1252
    std::vector<std::string> suggestions;
};

/// Checks the body paragraphs of each listed page (table cells included, header and footer
/// paragraphs left out) with the open checker; each problem gets up to `suggestions` of the
/// speller's suggestions (asked once per distinct word).
std::vector<SpellFinding> CheckPages(TKYTset& set, TQzSpellChecker& checker,
                                     const std::vector<std::int32_t>& pages, int suggestions = 3);

/// Every live page of the hypertext, in identifier order.
std::vector<std::int32_t> LivePages(const TKYTset& set);

/// The spelling dialog over pages: one page from a character position, or every page from
/// its start. The dialog's events select and change the paragraphs of the page shown on a page
/// surface; a page that was changed is committed when its check ends. The next page is
/// started through the scheduler once the dialog has ended for a page, unless the user closed
/// the dialog.
class SpellPagesWalk {
public:
    SpellPagesWalk(TKYTset& set, TQzSpellChecker& checker, IScheduler& scheduler);
    ~SpellPagesWalk();

    /// Checks one page, from the paragraph `paragraph` (its index in the walk) and the
    /// character `character` in it.
    void CheckPage(std::int32_t page, std::int32_t paragraph = 0, std::int32_t character = 0);
    /// Checks every live page in turn, each from its start.
    void CheckAllPages();

    bool Running() const { return running_; }
    /// The page being checked, -1 when none.
    std::int32_t CurrentPage() const;
    /// The selection the last OnMisspelling made: (walk index, first character, length).
    struct Selection {
        std::int32_t paragraph = -1;
        std::size_t first = 0, length = 0;
    };
    const Selection& LastSelection() const { return selection_; }
    /// How many pages were committed with changes.
    int PagesStored() const { return stored_; }

    /// Told when a page's check starts, when it ends (whether the page was changed and
    /// committed) and when the whole check is over.
    std::function<void(std::int32_t page)> onPageStart;
    std::function<void(std::int32_t page, bool changed)> onPageEnd;
    std::function<void()> onEnd;

private:
    void StartPage(std::size_t index);
    void Install();
    void GetPar(std::string& text, int& start);
    void ChangeText(std::size_t at, std::size_t length, const std::string& word);
    void PageEnded();

    TKYTset& set_;
    TQzSpellChecker& checker_;
    IScheduler& scheduler_;
    FixedMetrics metrics_;
    HeadlessTextViewFactory views_{metrics_};
    HeadlessFrameSet frames_;
    RecordingUndoPurge undo_;
    ManualSpellPacer pacer_;
    ManualScheduler pageScheduler_;
    std::unique_ptr<TKYTpage> surface_;
    std::unique_ptr<TKYTpar> walk_;
    TKYTparag* current_ = nullptr;
    std::int32_t currentIndex_ = -1;
    std::vector<std::int32_t> pages_;
    std::size_t pageIndex_ = 0;
    // The first paragraph of a one-page check and the character it starts at.
    std::int32_t firstParagraph_ = 0;
    std::int32_t firstCharacter_ = 0;
    bool first_ = false;
    bool changed_ = false;
    bool running_ = false;
    Selection selection_;
    int stored_ = 0;
};

}  // namespace orvo

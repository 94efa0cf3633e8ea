// The spelling dialog's rules over paragraphs handed to it, its walk over the pages of a
// hypertext (changes stored by committing the page), and the background check's pacing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "SpellSupport.h"
#include "model/KytFixture.h"
#include "model/TKYTparag.h"
#include "platform/FixedMetrics.h"
#include "spell/SpellMarks.h"
#include "spell/SpellPages.h"
#include "spell/TQzSpellThread.h"
#include "spell/TQzSpellerDialog.h"
#include "support/TestSupport.h"
#include "textbox/TKYTpage.h"
#include "textbox/TKYTpageHeadless.h"

namespace orvo::test {
namespace {

using ::testing::ElementsAre;

// The dialog over a list of paragraphs, recording its events as text.
class SpellerDialog : public ::testing::Test {
protected:
    void Run(std::vector<std::string> paragraphs, int start = 0) {
        paragraphs_ = std::move(paragraphs);
        next_ = 0;
        checker_->OnGetPar = [this, start](std::string& text, int& startPos) {
            text = next_ < paragraphs_.size() ? paragraphs_[next_] : "";
            startPos = next_ == 0 ? start : 0;
            ++next_;
        };
        checker_->OnMisspelling = [this](int status, std::size_t at, std::size_t length) {
            events_.push_back("miss " + std::to_string(status) + " " + std::to_string(at) + " " +
                              std::to_string(length));
        };
        checker_->OnChangeText = [this](std::size_t at, std::size_t length, const std::string& word,
                                        int type) {
            events_.push_back("change " + std::to_string(at) + " " + std::to_string(length) +
                              " \"" + word + "\" " + std::to_string(type));
        };
        checker_->OnEnd = [this] { events_.push_back("end"); };
        checker_->Execute();
    }
    TQzSpellerDialog& Dialog() { return *checker_->Dialog(); }

    RecordingMessages messages_;
    std::unique_ptr<TQzSpellChecker> checker_ = OpenTestChecker(messages_);
    std::vector<std::string> paragraphs_;
    std::size_t next_ = 0;
    std::vector<std::string> events_;
};

TEST_F(SpellerDialog, ShowsAnUnknownWordWithSuggestionsAndChangesEverywhere) {
    Run({"il cane e la caza.", "la caza rosso"});
    TQzSpellerDialog& d = Dialog();
    EXPECT_EQ(d.caption, "Controllo ortografico Italiano");
    ASSERT_TRUE(d.Waiting());
    EXPECT_EQ(d.infoMsg, "Parola sconosciuta:");
    EXPECT_EQ(d.contextLine, "il cane e la caza.");
    EXPECT_EQ(d.contextError, 8u);
    EXPECT_EQ(d.contextErrorLength, 1u);
    EXPECT_TRUE(d.fullView);
    EXPECT_TRUE(d.skipAllButton.enabled);
    EXPECT_TRUE(d.addButton.enabled);
    EXPECT_FALSE(d.delButton.visible);
    EXPECT_FALSE(d.bsalta.visible);  // only when checking every page
    d.SkipClick();
    ASSERT_EQ(d.contextError, 13u);  // "caza"
    ASSERT_FALSE(d.variants.empty());
    EXPECT_EQ(d.variants[0], "casa");
    EXPECT_EQ(d.label2, "Correggi la parola in rosso o scegli uno dei &suggerimenti:");
    EXPECT_TRUE(d.changeAllButton.enabled);
    d.ChangeAllClick();
    // The later "caza" is changed without being shown; the dialog ends with the paragraphs.
    EXPECT_THAT(events_, ElementsAre("miss 1 8 1", "miss 1 13 4", "change 13 4 \"casa\" 1",
                                     "change 3 4 \"casa\" 0", "end"));
    EXPECT_TRUE(d.Ended());
    EXPECT_EQ(d.Buffer(), "la casa rosso");
    EXPECT_FALSE(checker_->Cancelled());
}

TEST_F(SpellerDialog, StartsAfterTheWordsBeforeTheCaret) {
    // "uno due tre" with the caret in "due": start position 3 blanks "uno ".
    Run({"uno due tre"}, 3);
    EXPECT_EQ(Dialog().Buffer(), "    due tre");
    EXPECT_EQ(events_.front(), "miss 1 4 3");
    events_.clear();
    Run({"uno due tre"}, -1);
    EXPECT_EQ(events_.front(), "miss 1 0 3");
}

TEST_F(SpellerDialog, RepeatedWordsExtraSpacesAndSentenceStarts) {
    checker_->SetOptions(spoFindRepeatWord | spoFindExtraSpaces | spoFindUncappedSentences);
    Run({"Il il cane.", "Casa   rosso"});
    TQzSpellerDialog& d = Dialog();
    EXPECT_EQ(d.infoMsg, "Parole ripetute:");
    EXPECT_TRUE(d.delButton.visible);
    EXPECT_FALSE(d.changeButton.visible);
    EXPECT_FALSE(d.changeAllButton.enabled);
    EXPECT_FALSE(d.addButton.enabled);
    d.DelClick();  // takes the blank before the word along
    EXPECT_EQ(d.infoMsg, "Spazi extra:");
    EXPECT_THAT(d.variants, ElementsAre("a r"));
    d.ChangeClick();
    EXPECT_THAT(events_, ElementsAre("miss 11 3 2", "change 2 3 \"\" 0", "miss 12 3 5",
                                     "change 3 5 \"a r\" 0", "end"));
    EXPECT_EQ(d.Buffer(), "Casa rosso");

    // A repeated word at the very start of a paragraph: only the word goes.
    events_.clear();
    Run({"il.", "il"});
    EXPECT_EQ(d.infoMsg, "Errore nella maiuscola a inizio frase:");
    EXPECT_THAT(d.variants, ElementsAre("Il"));
    d.SkipClick();
    EXPECT_EQ(d.infoMsg, "Parole ripetute:");
    d.DelClick();
    EXPECT_THAT(events_, ElementsAre("miss 10 0 2", "miss 11 0 2", "change 0 2 \"\" 0", "end"));
}

TEST_F(SpellerDialog, EditingSkippingAddingAndClosing) {
    Run({"gatto topo gatto cane topo xq xq"});
    TQzSpellerDialog& d = Dialog();
    d.SkipAllClick();               // "gatto" everywhere
    EXPECT_EQ(d.contextError, 6u);  // "topo"
    d.EditWord("top");
    EXPECT_TRUE(d.cancelEdit.visible);
    EXPECT_FALSE(d.addButton.enabled);
    EXPECT_EQ(d.contextLine, "gatto top gatto cane topo xq xq");
    d.CancelEditClick();
    EXPECT_FALSE(d.cancelEdit.visible);
    EXPECT_TRUE(d.addButton.enabled);
    EXPECT_EQ(d.contextLine, "gatto topo gatto cane topo xq xq");
    d.AddClick();                    // "topo" passes from now on, also the later one
    EXPECT_EQ(d.contextError, 27u);  // "xq"
    d.EditWord("qui");
    d.ChangeClick();
    EXPECT_EQ(d.contextError, 27u);  // "qui" is unknown as well
    d.CancelClick();
    EXPECT_THAT(events_, ElementsAre("miss 1 0 5", "miss 1 6 4", "miss 1 27 2",
                                     "change 27 2 \"qui\" 0", "miss 1 27 3", "end"));
    EXPECT_TRUE(checker_->Cancelled());
    EXPECT_EQ(ReadFile(checker_->UserDictionaryFile()), "topo\n");
}

TEST_F(SpellerDialog, AnAutomaticChangeWithoutAReplacementKeepsTheWord) {
    checker_->AddChange(kListChangeAlways, "gatto", "");
    checker_->AddChange(kListChangeAlways, "caza", "casa");
    checker_->AddChange(kListChangeAlways, "casa", "caza");  // back and forth: no loop
    Run({"gatto caza"});
    EXPECT_THAT(events_, ElementsAre("change 6 4 \"casa\" 0", "end"));
    EXPECT_EQ(Dialog().Buffer(), "gatto casa");
}

// Pages of a hypertext under the dialog.
class SpellerPages : public KytTest {
protected:
    std::unique_ptr<TQzSpellChecker> checker_ = OpenTestChecker(messages_);
    ManualScheduler scheduler_;
    static std::string Text(std::string_view markup) { return std::string(markup) + '\0'; }
    TKYToggetto& first_ = AddPage("Uno", Text("<Z S0 >il <Y y1 >caza<Y > rosso"));
    TKYToggetto& second_ = AddPage("Due", Text("<Z S0 >casa caza gatto"));
    TKYToggetto& third_ = AddPage("Tre", Text("<Z S0 >la caza"));
    std::string Stored(const TKYToggetto& page) {
        std::string text = *page.ContentBytes();
        return text.substr(0, text.find('\0'));
    }
};

TEST_F(SpellerPages, ChangeAllIsStoredInEveryPageAndClosingStopsTheWalk) {
    SpellPagesWalk walk(set_, *checker_, scheduler_);
    walk.CheckAllPages();
    TQzSpellerDialog& d = *checker_->Dialog();
    EXPECT_TRUE(d.bsalta.visible);
    EXPECT_EQ(walk.CurrentPage(), 0);
    d.ChangeAllClick();  // "caza" -> "casa", bold kept
    scheduler_.RunPending();
    EXPECT_EQ(walk.CurrentPage(), 1);
    EXPECT_EQ(d.contextLine, "casa casa gatto");  // changed before it was shown
    EXPECT_EQ(walk.LastSelection().first, 10u);
    d.CancelClick();
    EXPECT_EQ(scheduler_.RunPending(), 0);
    EXPECT_FALSE(walk.Running());
    EXPECT_EQ(Stored(first_), "<Z S0 >il <Y y1 >casa<Y > rosso");
    EXPECT_EQ(Stored(second_), "<Z S0 >casa casa gatto");
    EXPECT_EQ(Stored(third_), "<Z S0 >la caza");  // never reached
    EXPECT_EQ(walk.PagesStored(), 2);
}

TEST_F(SpellerPages, SkippingAPageGoesOnWithTheNext) {
    SpellPagesWalk walk(set_, *checker_, scheduler_);
    walk.CheckAllPages();
    checker_->Dialog()->SaltaClick();
    scheduler_.RunPending();
    EXPECT_EQ(walk.CurrentPage(), 1);
    EXPECT_EQ(checker_->Dialog()->contextLine, "casa caza gatto");
    // One page from a caret: the check starts at the word that holds it.
    SpellPagesWalk one(set_, *checker_, scheduler_);
    one.CheckPage(1, 0, 12);  // in "gatto"
    EXPECT_EQ(checker_->Dialog()->contextError, 10u);
    EXPECT_EQ(checker_->Dialog()->Buffer(), "          gatto");
}

TEST_F(SpellerPages, TheBackgroundCheckPacesItselfOnTheWindowThread) {
    FixedMetrics metrics;
    HeadlessTextViewFactory views(metrics);
    HeadlessFrameSet frames;
    frames.automaticSpellCheck = frames.activeSpellChecker = true;
    RecordingUndoPurge undo;
    ManualScheduler scheduler;
    TQzSpellThread thread(*checker_, scheduler);
    TKYTpage page(set_, frames, views, undo, thread, scheduler);
    AddPage("Quattro", std::string("<Z S0 >uno casa<Z S0 >cane gatto topo") + '\0');
    page.ShowText(3);
    scheduler.Advance(kSpellDelay);
    ASSERT_TRUE(thread.Running());
    scheduler.Advance(std::chrono::milliseconds(299));
    EXPECT_EQ(thread.ParagraphsChecked(), 0);
    scheduler.Advance(std::chrono::milliseconds(1));
    auto& paragraphs = views.Last()->AllParagraphs();
    EXPECT_EQ(paragraphs[0]->spellFlags, "!!!     ");
    EXPECT_TRUE(paragraphs[1]->spellFlags.empty());
    // A change of the text stops the check before it touches the next paragraph.
    page.TextChanged();
    EXPECT_FALSE(thread.Running());
    EXPECT_EQ(thread.Ends(), 1);
    scheduler.Advance(std::chrono::milliseconds(100));
    EXPECT_EQ(thread.ParagraphsChecked(), 1);
    // Started again two seconds later, it runs to the end by itself.
    scheduler.Advance(kSpellDelay - std::chrono::milliseconds(100));
    scheduler.Advance(std::chrono::milliseconds(300));
    scheduler.Advance(std::chrono::milliseconds(100));
    EXPECT_EQ(paragraphs[1]->spellFlags, "     !!!!! !!!!");
    scheduler.Advance(std::chrono::milliseconds(100));
    EXPECT_FALSE(thread.Running());
    EXPECT_EQ(thread.Ends(), 2);
    EXPECT_EQ(thread.ParagraphsChecked(), 3);

    // The marks as the editor reads them: the stretches it underlines, the word under a point
    // and the spelling menu on it.
    const std::string& flags = paragraphs[1]->spellFlags;
    EXPECT_THAT(SpellStretches(flags), ElementsAre(SpellStretch{5, 9}, SpellStretch{11, 14}));
    EXPECT_EQ(SpellStretchAt(flags, 7), (SpellStretch{5, 9}));
    EXPECT_EQ(SpellStretchAt(flags, 14), (SpellStretch{11, 14}));
    EXPECT_FALSE(SpellStretchAt(flags, 10));
    EXPECT_FALSE(SpellStretchAt(flags, 15));
    EXPECT_TRUE(SpellStretches("").empty());
    const std::vector<SpellMenuItem> tail{
        {"-", SpellMenuAction::Separator, true, ""},
        {"&Ignora tutti", SpellMenuAction::IgnoreAll, true, ""},
        {"&Aggiungi", SpellMenuAction::Add, true, ""},
        {"-", SpellMenuAction::Separator, true, ""},
        {"&Controllo ortografia", SpellMenuAction::CheckSpelling, true, "F7"}};
    std::vector<SpellMenuItem> menu = SpellMenuItems(*checker_, "caza");
    ASSERT_GT(menu.size(), tail.size());
    EXPECT_EQ(menu.front(), (SpellMenuItem{"casa", SpellMenuAction::Replace, true, ""}));
    EXPECT_TRUE(std::equal(tail.begin(), tail.end(), menu.end() - std::ptrdiff_t(tail.size())));
    menu = SpellMenuItems(*checker_, "qqqqqqqqqq");
    ASSERT_EQ(menu.size(), tail.size() + 1);
    EXPECT_EQ(menu.front(),
              (SpellMenuItem{"(nessun suggerimento)", SpellMenuAction::None, false, ""}));
    const std::string word = paragraphs[1]->text.substr(11, 4);
    EXPECT_EQ(word, "topo");
    EXPECT_FALSE(ApplySpellMenuAction(*checker_, SpellMenuAction::CheckSpelling, word));
    EXPECT_TRUE(ApplySpellMenuAction(*checker_, SpellMenuAction::Add, word));
    EXPECT_TRUE(checker_->WordPasses("topo"));
    EXPECT_TRUE(ApplySpellMenuAction(*checker_, SpellMenuAction::IgnoreAll, "gatto"));
    EXPECT_TRUE(checker_->WordPasses("gatto"));
}

}  // namespace
}  // namespace orvo::test

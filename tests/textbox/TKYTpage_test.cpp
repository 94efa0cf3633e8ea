// The page surface: showing a page with its header and footer, committing, closing, the
// replaced-page rule, modes, anchors, browse sequence and the spell check's pacing.
#include "textbox/TKYTpage.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/Cp1252.h"
#include "model/HeaderRecord.h"
#include "model/KytFixture.h"
#include "model/TKYTparag.h"
#include "model/uKYTpag.h"
#include "platform/FixedMetrics.h"
#include "textbox/TKYTpageHeadless.h"

namespace orvo {
namespace {

using namespace orvo::literals;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::string Text(std::string_view markup) {
    return std::string(markup) + '\0';
}

class PageSurface : public test::KytTest {
protected:
    // Page 0 links to page 1 and to a web address, with a bold and a coloured run; page 1 is
    // the hypertext's header, page 2 its footer.
    TKYToggetto& link_ = Add(TOggettiHel::internetLink, "http://www.esempio.it/");
    TKYToggetto& body_ = AddPage(
        "Pagina",
        Text(
            "<Z S0 >Vai alla <$00000001>pagina<%> o al <$01000000>sito<%>, in <Y y1 >grassetto<Y > "
            "e in <Y c0000FF >blu<Y >.<Z S0 A2 >Fine &amp; basta"));
    TKYToggetto& header_ = AddPage("Intestazione", Text("<Z S0 >Intestazione"));
    TKYToggetto& footer_ = AddPage("Pie", Text("<Z S0 >Pi\xE8 di pagina"));

    void UseHypertextHeaderAndFooter() {
        set_.HeaderRecordView().SetI32(kHdrHeaderPage, 1);
        set_.HeaderRecordView().SetI32(kHdrFooterPage, 2);
    }
    HeadlessTextView& View() { return *views_.Last(); }
    std::vector<std::string> ParagraphTexts() {
        std::vector<std::string> texts;
        for (const auto& p : View().AllParagraphs())
            texts.push_back(std::to_string(p->kind) + ":" + p->text);
        return texts;
    }
    // An edit: the view's body becomes `markup` (working form).
    void Edit(std::string_view markup) {
        View().LoadText(std::nullopt, Text(markup), std::nullopt);
    }
    std::string Stored(std::int32_t page) const {
        return *set_.ObjectByKind(TOggettiHel::testoHtml, page)->ContentBytes();
    }
    int PageCount() const { return set_.KindCount(TOggettiHel::testoHtml); }

    FixedMetrics metrics_;
    HeadlessTextViewFactory views_{metrics_};
    HeadlessFrameSet frames_;
    RecordingUndoPurge undo_;
    ManualSpellPacer spell_;
    ManualScheduler scheduler_;
    TKYTpage page_{set_, frames_, views_, undo_, spell_, scheduler_};
};

TEST_F(PageSurface, ShowsThePageBetweenTheHypertextsHeaderAndFooter) {
    UseHypertextHeaderAndFooter();
    TKYTtesto* text = page_.ShowText(0);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(page_.PageIdentifier(), 0);
    EXPECT_FALSE(page_.IsNewPage());
    EXPECT_THAT(ParagraphTexts(),
                ElementsAre("1:Intestazione", "0:Vai alla pagina o al sito, in grassetto e in blu.",
                            "0:Fine & basta", "2:Pi\xE8 di pagina"));
    // the working text is a copy: its web link is a local working object
    EXPECT_NE(text, &body_);
    EXPECT_EQ(text->links.size(), 1u);
    EXPECT_THAT(frames_.registered, ElementsAre(&page_));
    EXPECT_EQ(View().Activations(), 1);
    EXPECT_EQ(frames_.previewStarts, 1);
    EXPECT_TRUE(page_.SpellTimerArmed());
}

TEST_F(PageSurface, ShowsNoHeaderForMinusTwoAndThePagesOwnForAnIdentifier) {
    UseHypertextHeaderAndFooter();
    PageRecord(body_).SetHeader(-2);
    PageRecord(body_).SetFooter(1);
    page_.ShowText(0);
    EXPECT_THAT(ParagraphTexts(), ElementsAre("0:Vai alla pagina o al sito, in grassetto e in blu.",
                                              "0:Fine & basta", "2:Intestazione"));
}

TEST_F(PageSurface, ShowsTheHeaderPageItselfWithoutItselfAsHeader) {
    UseHypertextHeaderAndFooter();
    page_.ShowText(1);
    EXPECT_THAT(ParagraphTexts(), ElementsAre("0:Intestazione", "2:Pi\xE8 di pagina"));
}

TEST_F(PageSurface, CommitAndCloseLeaveAnUneditedPageByteForByte) {
    UseHypertextHeaderAndFooter();
    const std::string before = Stored(0);
    const std::string record = test::RecordString(body_, 292);
    page_.ShowText(0);
    EXPECT_TRUE(page_.CommitText());
    page_.CloseText();
    EXPECT_EQ(test::Escaped(Stored(0)), test::Escaped(before));
    EXPECT_EQ(test::RecordString(*set_.ObjectByKind(TOggettiHel::testoHtml, 0), 292), record);
    EXPECT_EQ(set_.KindCount(TOggettiHel::internetLink), 1);  // the same link, not a second one
    EXPECT_EQ(Stored(1), Text("<Z S0 >Intestazione"));
    EXPECT_THAT(messages_.Shown(), IsEmpty());
    EXPECT_THAT(undo_.purged, ElementsAre(&page_));
    EXPECT_FALSE(page_.Showing());
}

TEST_F(PageSurface, StoresEditsAndPropertiesUnderTheSameIdentifierOnce) {
    PageRecord(body_).SetVersionStamp(0);
    frames_.raiseVersionStamp = true;
    TKYTtesto* text = page_.ShowText(0);
    PageRecord(*text).SetTitle("Pagina nuova");
    PageRecord(*text).SetAlias("nuova.htm");
    text->SetAuxiliary(std::string("<META NAME=\"x\">"));
    Edit("<Z S0 >Testo <$6f000000>cambiato<%>");
    const int pages = PageCount();
    EXPECT_TRUE(page_.CommitText());
    EXPECT_EQ(PageCount(), pages);
    EXPECT_EQ(Stored(0), Text("<Z S0 >Testo <$01000000>cambiato<%>"));
    const PageRecord stored = PageRecord::Read(*set_.ObjectByKind(TOggettiHel::testoHtml, 0));
    EXPECT_EQ(stored.Title(), "Pagina nuova");
    EXPECT_EQ(stored.Alias(), "nuova.htm");
    EXPECT_EQ(stored.VersionStamp(), set_.SaveCounter());
    EXPECT_EQ(*set_.ObjectByKind(TOggettiHel::testoHtml, 0)->Auxiliary(), "<META NAME=\"x\">");
    EXPECT_TRUE(page_.Committed());
    // a second commit without showing the page again stores nothing
    Edit("<Z S0 >ancora");
    EXPECT_FALSE(page_.CommitText());
    EXPECT_EQ(Stored(0), Text("<Z S0 >Testo <$01000000>cambiato<%>"));
}

TEST_F(PageSurface, KeepsEditsOfAPageReplacedMeanwhileAsANewPageAndSaysSo) {
    TKYTpage other{set_, frames_, views_, undo_, spell_, scheduler_};
    page_.ShowText(0);
    HeadlessTextView& mine = View();
    other.ShowText(0);
    Edit("<Z S0 >dall'altra cornice");
    ASSERT_TRUE(other.CommitText());

    mine.LoadText(std::nullopt, Text("<Z S0 >le mie modifiche"), std::nullopt);
    const int pages = PageCount();
    EXPECT_TRUE(page_.CommitText());
    EXPECT_THAT(messages_.Shown(),
                ElementsAre(Message{Box::Warning,
                                    std::string("La pagina è stata sostituita nel frattempo: le "
                                                "modifiche sono state salvate in una nuova "
                                                "pagina."_cp)}));
    EXPECT_EQ(PageCount(), pages + 1);
    EXPECT_EQ(page_.PageIdentifier(), pages);
    EXPECT_EQ(Stored(pages), Text("<Z S0 >le mie modifiche"));
    EXPECT_EQ(PageRecord::Read(*set_.ObjectByKind(TOggettiHel::testoHtml, pages)).Title(),
              "Pagina");
    EXPECT_EQ(Stored(0), Text("<Z S0 >dall'altra cornice"));
}

TEST_F(PageSurface, StoresNothingForAReplacedPageThatWasNotEdited) {
    TKYTpage other{set_, frames_, views_, undo_, spell_, scheduler_};
    page_.ShowText(0);
    other.ShowText(0);
    Edit("<Z S0 >dall'altra cornice");
    ASSERT_TRUE(other.CommitText());
    const int pages = PageCount();
    EXPECT_FALSE(page_.CommitText());
    EXPECT_EQ(PageCount(), pages);
    EXPECT_THAT(messages_.Shown(), IsEmpty());
    // a page deleted while shown counts as replaced
    page_.ShowText(0);
    Edit("<Z S0 >salvami");
    set_.ObjectByKind(TOggettiHel::testoHtml, 0)->Clear();
    EXPECT_TRUE(page_.CommitText());
    EXPECT_EQ(Stored(page_.PageIdentifier()), Text("<Z S0 >salvami"));
    EXPECT_EQ(messages_.Shown().size(), 1u);
}

TEST_F(PageSurface, FindsItsPageAgainAfterASaveRecreatedEveryObject) {
    page_.ShowText(0);
    Edit("<Z S0 >prima del salvataggio");
    page_.DetachView();
    ASSERT_TRUE(set_.SaveToFile(Path("Libro.kyt")));
    page_.ReattachView();
    EXPECT_THAT(ParagraphTexts(), ElementsAre("0:prima del salvataggio"));
    const int pages = PageCount();
    EXPECT_TRUE(page_.CommitText());
    EXPECT_THAT(messages_.Shown(), IsEmpty());
    EXPECT_EQ(PageCount(), pages);
    EXPECT_EQ(Stored(0), Text("<Z S0 >prima del salvataggio"));
}

TEST_F(PageSurface, StoresANewPageUnderANewIdentifier) {
    UseHypertextHeaderAndFooter();
    TKYTtesto* text = page_.ShowText(std::unique_ptr<TKYTtesto>());
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(page_.IsNewPage());
    EXPECT_EQ(page_.PageIdentifier(), -1);
    EXPECT_THAT(ParagraphTexts(), ElementsAre("1:Intestazione", "0:", "2:Pi\xE8 di pagina"));
    Edit("<Z S0 >Una pagina nuova di zecca");
    const int pages = PageCount();
    EXPECT_TRUE(page_.CommitText());
    EXPECT_EQ(page_.PageIdentifier(), pages);
    EXPECT_FALSE(page_.IsNewPage());
    EXPECT_EQ(Stored(pages), Text("<Z S0 >Una pagina nuova di zecca"));
    const TKYToggetto* stored = set_.ObjectByKind(TOggettiHel::testoHtml, pages);
    EXPECT_FALSE(stored->IsFree());
    EXPECT_EQ(stored->Name(), "Una pagina nuova di zecca");  // titled from its text
    // an identifier naming no page shows a new one too
    page_.ShowText(77);
    EXPECT_TRUE(page_.IsNewPage());
}

TEST_F(PageSurface, PassesItsModesToTheViewAndDecidesTheScrollBars) {
    page_.ShowText(0);
    EXPECT_TRUE(page_.ScrollBarsVisible());
    page_.SetScrollBarMode(0);
    EXPECT_TRUE(page_.ScrollBarsVisible());  // edit mode: always shown
    page_.SetReadOnly(true);
    EXPECT_TRUE(View().ReadOnly());
    EXPECT_FALSE(page_.ScrollBarsVisible());
    page_.SetScrollBarMode(2);
    EXPECT_TRUE(page_.ScrollBarsVisible());
    page_.SetScrollBarMode(1);
    EXPECT_FALSE(page_.ScrollBarsVisible());
    page_.SetScrollBarMode(7);  // changes nothing
    EXPECT_EQ(page_.ScrollBarMode(), 1);
    EXPECT_FALSE(page_.ScrollBarsVisible());
    page_.SetAnimated(false);
    EXPECT_FALSE(View().Animated());

    EXPECT_EQ(page_.VerticalRange(), 1024);
    page_.SetReadOnly(false);
    page_.Click();
    EXPECT_THAT(frames_.previewClicks, IsEmpty());
    page_.SetPreviewMode(true);
    EXPECT_TRUE(page_.ReadOnly());
    EXPECT_FALSE(page_.BorderVisible());
    EXPECT_EQ(page_.VerticalRange(), 0);
    EXPECT_EQ(page_.Repaints(), 1);
    page_.Click();
    EXPECT_THAT(frames_.previewClicks, ElementsAre(&page_));
    EXPECT_TRUE(page_.HandlesEraseBackground());
    page_.CloseText();
    EXPECT_FALSE(page_.HandlesEraseBackground());
}

TEST_F(PageSurface, GoesToAnchorsAndNumbersTheNextOne) {
    auto anchor = [&](std::int32_t number) -> TKYToggetto& {
        TKYToggetto& a = Add(TOggettiHel::shortObj);
        a.Record()[4] = 14;
        a.View().SetI32At(5, number);
        return a;
    };
    anchor(7);
    anchor(2);
    AddPage("Ancore", Text("<Z S0 >ab<$0b000000>cd<Z S0 >x<$0b000001>"));
    page_.ShowText(3);
    EXPECT_EQ(page_.NextAnchorNumber(), 8);
    EXPECT_TRUE(page_.GoToAnchor(2));
    EXPECT_EQ(View().Caret(), (std::pair<std::int32_t, std::int32_t>{1, 1}));
    EXPECT_TRUE(page_.GoToAnchor(7));
    EXPECT_EQ(View().Caret(), (std::pair<std::int32_t, std::int32_t>{0, 2}));
    EXPECT_FALSE(page_.GoToAnchor(3));
    EXPECT_THAT(messages_.Shown(), ElementsAre(Message{Box::Warning, "Ancora non trovata: a3"}));
    page_.SetReadOnly(true);
    EXPECT_FALSE(page_.GoToAnchor(3));
    EXPECT_EQ(messages_.Shown().size(), 1u);

    page_.ShowText(0);
    EXPECT_EQ(page_.NextAnchorNumber(), 0);
}

TEST_F(PageSurface, StepsThroughTheBrowseSequenceOfTheShownPage) {
    auto sequence = [&](TKYToggetto& page, std::int16_t order) {
        PageRecord(page).SetGroup(1);
        PageRecord(page).SetOrder(order);
    };
    sequence(body_, 4);
    sequence(header_, 1);
    sequence(footer_, 3);
    page_.ShowText(0);
    EXPECT_EQ(page_.PreviousInSequence(), 2);
    EXPECT_EQ(page_.NextInSequence(), 0);
    page_.ShowText(1);
    EXPECT_EQ(page_.NextInSequence(), 2);
    EXPECT_EQ(page_.PreviousInSequence(), 1);
}

TEST_F(PageSurface, StartsTheSpellCheckTwoSecondsAfterTheLastChange) {
    UseHypertextHeaderAndFooter();
    frames_.automaticSpellCheck = true;
    frames_.activeSpellChecker = true;
    page_.ShowText(0);
    scheduler_.Advance(std::chrono::milliseconds(1500));
    page_.TextChanged();  // re-armed: two seconds from now
    scheduler_.Advance(std::chrono::milliseconds(1999));
    EXPECT_EQ(spell_.Starts(), 0);
    scheduler_.Advance(std::chrono::milliseconds(1));
    EXPECT_EQ(spell_.Starts(), 1);
    EXPECT_TRUE(spell_.Running());

    TKYTparag* first = spell_.Take();  // the header paragraph is passed over
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->spellFlags, std::string(first->text.size(), ' '));
    page_.SpellMisspelt(*first, 4, 4);    // "alla"
    page_.SpellMisspelt(*first, 48, 10);  // runs past the end: cut at the text's end
    EXPECT_EQ(first->spellFlags.substr(0, 10), "    !!!!  ");
    EXPECT_EQ(first->spellFlags.substr(48), "!");
    ASSERT_NE(spell_.Take(), nullptr);
    EXPECT_EQ(spell_.Take(), nullptr);  // the footer and header are not checked
    EXPECT_FALSE(spell_.Running());

    // a change stops a running check
    page_.TextChanged();
    scheduler_.Advance(kSpellDelay);
    EXPECT_EQ(spell_.Starts(), 2);
    page_.TextChanged();
    EXPECT_FALSE(spell_.Running());
    EXPECT_EQ(spell_.Stops(), 1);
    page_.CloseText();
    EXPECT_FALSE(page_.SpellTimerArmed());
}

TEST_F(PageSurface, StartsNoSpellCheckWhenReadOnlyOrWithoutAChecker) {
    frames_.automaticSpellCheck = true;
    page_.ShowText(0);
    scheduler_.Advance(kSpellDelay);
    EXPECT_EQ(spell_.Starts(), 0);  // no checker open
    frames_.activeSpellChecker = true;
    page_.SetReadOnly(true);
    page_.TextChanged();
    scheduler_.Advance(kSpellDelay);
    EXPECT_EQ(spell_.Starts(), 0);
    frames_.automaticSpellCheck = false;
    page_.SetReadOnly(false);
    page_.TextChanged();
    scheduler_.Advance(kSpellDelay);
    EXPECT_EQ(spell_.Starts(), 0);
}

}  // namespace
}  // namespace orvo

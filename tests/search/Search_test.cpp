// The word search without a window: the comparison, the walk over a page's paragraphs, find,
// replace and replace-all on a page's box with each step undone back to the same bytes, the
// four-term page test and the keywords.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "model/KytFixture.h"
#include "model/TextForms.h"
#include "model/uKYTpag.h"
#include "platform/FixedMetrics.h"
#include "platform/IClipboard.h"
#include "platform/IScheduler.h"
#include "search/SearchPages.h"
#include "textbox/PageEditSession.h"
#include "textbox/uKYTbox.h"

namespace orvo::test {
namespace {

using namespace std::string_literals;

TEST(FindTermTest, WholeWordsCaseAndBounds) {
    struct Case {
        std::string_view text, term;
        std::size_t start;
        int options;
        std::size_t expected;
    };
    constexpr std::size_t no = std::string_view::npos;
    const Case cases[] = {
        {"la casa.", "casa", 0, stWholeWord, 3},
        {"(casa)", "casa", 0, stWholeWord, 1},
        {"casale", "casa", 0, stWholeWord, no},
        {"casa2", "casa", 0, stWholeWord, no},
        {"pi\xF9"
         "casa",
         "casa", 0, stWholeWord, no},                // bytes from 127 up are letters
        {"casale casa", "casa", 0, stWholeWord, 7},  // the first whole word, not the first hit
        {"casa_x", "casa", 0, stWholeWord, 0},       // '_' separates
        {"casa\tx", "casa", 0, stWholeWord, no},     // a control byte does not
        {"casale", "casa", 0, 0, 0},
        {"una Casa", "casa", 0, stMatchCase, no},
        {"una Casa", "casa", 0, 0, 4},
        {"\xC8 qui", "\xE8", 0, 0, 0},  // È and è fold together
        {"\xC8 qui", "\xE8", 0, stMatchCase, no},
        {"casa casa", "casa", 1, 0, 5},  // from the starting byte on
        {"casa", "casa", 4, 0, no},      // a start past the text
        {"cas", "casa", 0, 0, no},       // a term longer than the text
        {"abc", "", 0, 0, no},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindTerm(c.text, c.term, c.start, c.options), c.expected)
            << Escaped(c.text) << " / " << Escaped(c.term) << " options " << c.options;
}

// A page's text in a box with its header and footer, and the session that edits it.
struct Surface {
    Surface(TKYTset& set, IMessages& messages, TKYToggetto& page, FixedMetrics& metrics,
            std::optional<std::string> header = {}, std::optional<std::string> footer = {})
        : text(OpenText(set, page, false)),
          host(set, *text, metrics),
          box(host, boxHost),
          session(set, messages, scheduler, clipboard, inputHost) {
        box.LoadText(header, *text->ContentBytes(), footer);
        session.SetEditable(true);
        session.Attach(box, *text, page.Identifier());
    }
    TKYTTextAttributes& Text() { return session.Editing()->Text(); }
    std::string Markup() {
        std::string bytes = WriteText(box.AllParagraphs(), host);
        if (!bytes.empty() && bytes.back() == '\0') bytes.pop_back();
        return bytes;
    }
    // The selection as (paragraph, first, last).
    std::tuple<int, int, int> Selected() {
        auto [a, b] = Text().Selection();
        return {a.para, a.ch, b.ch};
    }

    std::unique_ptr<TKYTtesto> text;
    TextMarkupHost host;
    RecordingBoxHost boxHost{600, 400};
    TKYTbox box;
    ManualScheduler scheduler;
    MemoryClipboard clipboard;
    IBoxInputHost inputHost;
    PageEditSession session;
};

class PageSearchTest : public KytTest {
protected:
    FixedMetrics metrics_;
};

TEST_F(PageSearchTest, FindNextGoesOnAfterTheSelectionAndHeaderAndFooterArePassedOver) {
    TKYToggetto& page =
        AddPage("Prima", "<Z S0 >una casa e la Casa<Z S0 >nessuna<Z S0 >casa &egrave; qui\0"s);
    Surface s(set_, messages_, page, metrics_, "<Z S0 >casa in testa\0"s,
              "<Z S0 >casa in fondo\0"s);
    const int body = s.box.FirstEditable();
    TPageSearch search(s.Text(), s.host);
    ASSERT_TRUE(search.Find("casa", 0));
    EXPECT_EQ(s.Selected(), std::make_tuple(body, 4, 8));
    ASSERT_TRUE(search.FindNext("casa", 0));
    EXPECT_EQ(s.Selected(), std::make_tuple(body, 14, 18));
    ASSERT_TRUE(search.FindNext("casa", 0));
    EXPECT_EQ(s.Selected(), std::make_tuple(body + 2, 0, 4));
    // The footer's "casa" is not found: the search ends with an empty selection.
    EXPECT_FALSE(search.FindNext("casa", 0));
    EXPECT_FALSE(s.Text().HasSelection());
    // An entity is the character it stands for.
    ASSERT_TRUE(search.Find("\xE8", stWholeWord));
    EXPECT_EQ(s.Selected(), std::make_tuple(body + 2, 5, 6));
    // Match case: "Casa" only where it is written so.
    ASSERT_TRUE(search.Find("Casa", stMatchCase));
    EXPECT_EQ(s.Selected(), std::make_tuple(body, 14, 18));
    EXPECT_FALSE(search.FindNext("Casa", stMatchCase));
    EXPECT_FALSE(search.Find("", 0));
}

TEST_F(PageSearchTest, ReplaceAllAsksEachHitAndEveryStepUndoesBackToTheSameBytes) {
    const std::string original = "<Z S0 >a casa, la casa<Z S0 ><Y y1 >casa<Y > grande casa";
    TKYToggetto& page = AddPage("Prima", original + '\0');
    Surface s(set_, messages_, page, metrics_);
    TPageSearch search(s.Text(), s.host);
    // Yes, No, Yes, then Cancel stops at the fourth hit.
    const ReplaceAnswer answers[] = {ReplaceAnswer::Yes, ReplaceAnswer::No, ReplaceAnswer::Yes,
                                     ReplaceAnswer::Cancel};
    int asked = 0;
    const ReplaceCount count =
        search.ReplaceAll("casa", "dimora", stWholeWord, true, [&] { return answers[asked++]; });
    EXPECT_EQ(asked, 4);
    EXPECT_EQ(count.replaced, 2);
    EXPECT_EQ(count.skipped, 1);
    EXPECT_TRUE(count.cancelled);
    EXPECT_EQ(s.Markup(), "<Z S0 >a dimora, la casa<Z S0 ><Y y1 >dimora<Y > grande casa");
    EXPECT_EQ(s.session.Tools().undoLabels,
              (std::vector<std::string>{"Sostituzione selezione con: dimora",
                                        "Sostituzione selezione con: dimora"}));
    ASSERT_TRUE(s.session.UndoSteps(1));
    EXPECT_EQ(s.Markup(), "<Z S0 >a dimora, la casa<Z S0 ><Y y1 >casa<Y > grande casa");
    ASSERT_TRUE(s.session.UndoSteps(1));
    EXPECT_EQ(s.Markup(), original);

    // Without asking every hit goes; a word that holds itself ("a" -> "aa") ends.
    const ReplaceCount all = search.ReplaceAll("a", "aa", stMatchCase, true);
    EXPECT_FALSE(all.cancelled);
    EXPECT_EQ(all.replaced, 11);
    EXPECT_EQ(s.Markup(), "<Z S0 >aa caasaa, laa caasaa<Z S0 ><Y y1 >caasaa<Y > graande caasaa");
    ASSERT_TRUE(s.session.UndoSteps(11));
    EXPECT_EQ(s.Markup(), original);

    // Replace one asks, and replaces nothing without a replacement.
    bool replaced = true;
    ASSERT_TRUE(search.Find("la", stWholeWord));
    EXPECT_TRUE(search.ReplaceOne(
        "casa", "dimora", 0, [] { return false; }, &replaced));
    EXPECT_FALSE(replaced);
    EXPECT_FALSE(search.ReplaceOne("casa", "", 0, {}, &replaced));
    EXPECT_EQ(s.Markup(), original);
    EXPECT_EQ(search.ReplaceAll("casa", "", 0, true).replaced, 0);
    EXPECT_TRUE(messages_.Shown().empty());
}

TEST_F(PageSearchTest, PagesAreMatchedByTheirTextWithTermsMovedUp) {
    AddPage("Uno", "<Z S0 >il gatto e il cane\0"s);
    AddPage("Due", "<Z S0 >caff&egrave; e latte<Z S0 >gattone\0"s);
    TKYToggetto& freed = AddPage("Tre", "<Z S0 >gatto\0"s);
    AddPage("Quattro", "<Z S0 >cane<Z S0 >latte\0"s);
    freed.Clear();
    TPagesText texts(set_);
    struct Case {
        SearchTerms terms;
        int options;
        std::vector<std::int32_t> pages;
        std::string matchedOnFirst;
    };
    const Case cases[] = {
        {{"gatto", "", "", ""}, 0, {0, 1}, "gatto"},
        {{"gatto", "", "", ""}, stWholeWord, {0}, "gatto"},
        {{"gatto", "cane", "", ""}, 0, {0}, "gatto"},
        {{"", "", "latte", "cane"}, 0, {3}, ""},
        {{"", "cane", "", ""}, 0, {0, 3}, "cane"},
        {{"topo", "", "", "latte"}, 0, {1, 3}, ""},
        {{"CAFF\xC8", "", "", ""}, 0, {1}, ""},
        {{"CAFF\xC8", "", "", ""}, stMatchCase, {}, ""},
        {{"gatto", "topo", "latte", ""}, 0, {1, 3}, ""},
        {{"", "", "", ""}, 0, {}, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PagesMatching(texts, c.terms, c.options), c.pages) << c.terms.first;
        EXPECT_EQ(MatchPageTerms(texts, 0, c.terms, c.options), c.matchedOnFirst);
    }
    // The page after the last one: nothing.
    EXPECT_FALSE(NextPageMatching(texts, 3, {"cane", "", "", ""}, 0));
    EXPECT_EQ(NextPageMatching(texts, 0, {"", "", "latte", ""}, 0),
              std::make_pair(std::int32_t(1), std::string("latte")));
    // A page whose text changes is read again.
    set_.ObjectByKind(TOggettiHel::testoHtml, 3)->SetContent("<Z S0 >gatto nero\0"s);
    EXPECT_EQ(PagesMatching(texts, {"gatto", "", "", ""}, stWholeWord),
              (std::vector<std::int32_t>{0, 3}));
    EXPECT_EQ(HitsInPage(texts, 1, "latte", 0).size(), 1u);
    EXPECT_EQ(HitsInPage(texts, 1, "gatt", 0)[0].line, 2);
}

TEST_F(PageSearchTest, KeywordsListTheirPages) {
    TKYToggetto& cat = Add(TOggettiHel::keyword, "Gatti");
    TKYToggetto& dog = Add(TOggettiHel::keyword, "cani");
    TKYToggetto& a = AddPage("A", "<Z S0 >a\0"s);
    TKYToggetto& b = AddPage("B", "<Z S0 >b\0"s);
    PageRecord(a).AddKeyword(cat.Identifier());
    PageRecord(b).AddKeyword(cat.Identifier());
    PageRecord(b).AddKeyword(dog.Identifier());
    const std::vector<KeywordEntry> list = KeywordList(set_);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].word, "Gatti");
    EXPECT_EQ(PagesWithKeyword(set_, cat.Identifier()),
              (std::vector<std::int32_t>{a.Identifier(), b.Identifier()}));
    EXPECT_EQ(PagesWithKeyword(set_, dog.Identifier()),
              (std::vector<std::int32_t>{b.Identifier()}));
    EXPECT_EQ(KeywordByPrefix(list, "gat"), 0u);
    EXPECT_EQ(KeywordByPrefix(list, "CA"), 1u);
    EXPECT_FALSE(KeywordByPrefix(list, "topo"));
    EXPECT_FALSE(KeywordByPrefix(list, ""));
}

}  // namespace
}  // namespace orvo::test

// Opening a page's text into working form and storing it back, in a real hypertext.
#include "model/TextForms.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "model/ObjectRecord.h"
#include "model/uKYTset.h"
#include "platform/FixedMetrics.h"
#include "support/TestSupport.h"

namespace orvo {
namespace {

using K = TOggettiHel;

std::string Text(std::string_view markup) {
    std::string text(markup);
    text += '\0';
    return text;
}

class PageTexts : public ::testing::Test {
protected:
    FixedEnvironment environment_;
    RecordingMessages messages_;
    TKYTset set_{environment_, messages_};
    FixedMetrics metrics_;

    TKYToggetto& NewObject(K kind, std::string_view name = {}) {
        auto object = NewObjectOfKind(kind, &set_);
        object->Clear();
        if (!name.empty()) object->SetName(name);
        object->TakeIntoUse();
        TKYToggetto& stored = *object;
        (void)set_.Register(std::move(object), -1);
        return stored;
    }
    TKYToggetto& NewPage(std::string_view text) {
        TKYToggetto& page = NewObject(K::testoHtml, "Pagina");
        page.SetContent(std::string(text));
        return page;
    }
    std::string Content(const TKYToggetto& object) {
        auto bytes = object.ContentBytes();
        return bytes ? *bytes : std::string();
    }
};

TEST_F(PageTexts, LinkCodesBecomeLocalAndGoBackToTheSameLink) {
    for (int i = 0; i < 3; ++i) NewObject(K::internetLink, "http://a" + std::to_string(i));
    TKYToggetto& link = NewObject(K::internetLink, "http://example.org/");
    ASSERT_EQ(link.Code(), 0x01000003);
    TKYToggetto& page = NewPage(Text("<Z S0 >see <$01000003>here<%>"));

    auto text = OpenText(set_, page, false);
    EXPECT_EQ(Content(*text), Text("<Z S0 >see <$6f000000>here<%>"));
    ASSERT_EQ(text->links.size(), 1u);
    EXPECT_EQ(text->links[0]->Name(), "http://example.org/");
    EXPECT_EQ(text->links[0]->LocalCode(), 0x6F000000);

    StoreText(set_, *text, Content(*text), page, false);
    EXPECT_EQ(Content(page), Text("<Z S0 >see <$01000003>here<%>"));
    EXPECT_EQ(set_.KindCount(K::internetLink), 4);
}

TEST_F(PageTexts, TheSameNewAddressTwiceGivesOneLink) {
    TKYToggetto& page = NewPage(Text("<Z S0 >"));
    auto text = OpenText(set_, page, false);
    for (int i = 0; i < 2; ++i) {
        auto link = NewObjectOfKind(K::internetLink, &set_);
        link->Clear();
        link->SetName("mailto:a@b.it");
        link->TakeIntoUse();
        text->links.push_back(std::move(link));
    }
    StoreText(set_, *text, Text("<Z S0 ><$6f000000>a<$6f000001>b<%>"), page, false);
    EXPECT_EQ(set_.KindCount(K::internetLink), 1);
    EXPECT_EQ(Content(page), Text("<Z S0 ><$01000000>a<$01000000>b<%>"));
}

TEST_F(PageTexts, EmbeddedObjectsGetWorkingCopiesAndPageObjectCodes) {
    TKYToggetto& table = NewObject(K::tabellaHtml);
    TKYToggetto& image = NewObject(K::immagineNew);
    TKYToggetto& page =
        NewPage(Text("<Z S0 >a<$10000000>b<$08000000><Z S1 >cell<T><Z S0 >c<$00000000>d"));
    auto text = OpenText(set_, page, false);
    EXPECT_EQ(Content(*text),
              Text("<Z S0 >a<$FF000000>b<$FF000001><Z S1 >cell<T><Z S0 >c<$00000000>d"));
    ASSERT_EQ(text->pageObjects.size(), 2u);
    EXPECT_NE(text->pageObjects[0].get(), &image) << "a copy, owned by the text";
    EXPECT_EQ(text->pageObjects[0]->Kind(), K::immagineNew);
    EXPECT_EQ(text->pageObjects[1]->Kind(), K::tabellaHtml);
    EXPECT_EQ(text->codePositions[1], 20u);
    (void)table;
}

TEST_F(PageTexts, PageWithoutTextOpensEmpty) {
    TKYToggetto& page = NewPage("");
    page.MutableContent().Reset();
    EXPECT_EQ(Content(*OpenText(set_, page, false)), Text("<Z S0 >"));
    TKYToggetto& unterminated = NewPage("<Z S0 >x");
    EXPECT_EQ(Content(*OpenText(set_, unterminated, false)), Text("<Z S0 >x"));
}

TEST_F(PageTexts, AdjacentCharacterCodesAreNeutralisedWhenStored) {
    TKYToggetto& page = NewPage(Text("<Z S0 >"));
    auto text = OpenText(set_, page, false);
    StoreText(set_, *text, Text("<Z S0 >a<Y y1 ><Y c0000FF >b"), page, false);
    EXPECT_EQ(Content(page), Text("<Z S0 >a\x03\x03\x03\x03\x03\x03\x03<Y c0000FF >b"));
    EXPECT_EQ(WorkingMarkupOfPage(set_, page, metrics_), Text("<Z S0 >a<Y c0000FF >b"));
}

TEST_F(PageTexts, ReopeningAndStoringLeavesACanonicalTextAsItWas) {
    TKYToggetto& link = NewObject(K::internetLink, "http://orvo.example/");
    TKYToggetto& table = NewObject(K::tabellaHtml);
    TKYToggetto& image = NewObject(K::immagineNew);
    table.View().SetU8(kTableColumns, 2);
    const std::string stored = Text(
        "<Z S0 c0000FF A2 >Titolo <$01000000>link<Y y1 ><%>grassetto"
        "<Z S0 ><$08000000><Z S1 >uno<T><Z S1 ><$10000000>due<T><Z S0 >fine &amp; basta");
    TKYToggetto& page = NewPage(stored);
    EXPECT_EQ(WorkingMarkupOfPage(set_, page, metrics_),
              Text("<Z S0 c0000FF A2 >Titolo <$6f000000>link<Y y1 ><%>grassetto"
                   "<Z S0 ><$FF000000><Z S1 >uno<T><Z S1 ><$FF000001>due<T><Z S0 >fine &amp; "
                   "basta"));
    ReopenAndStorePage(set_, page, metrics_);
    EXPECT_EQ(test::Escaped(Content(page)), test::Escaped(stored));
    EXPECT_EQ(set_.ObjectByCode(0x08000000)->Kind(), K::tabellaHtml);
    EXPECT_FALSE(set_.ObjectByCode(0x08000000)->IsFree());
    EXPECT_FALSE(set_.ObjectByCode(0x10000000)->IsFree());
    EXPECT_EQ(set_.KindCount(K::tabellaHtml), 1);
    EXPECT_EQ(set_.KindCount(K::immagineNew), 1);
    (void)link;
    (void)image;
}

TEST_F(PageTexts, StoringRegistersObjectsAtTheFirstFreeSlot) {
    NewObject(K::immagineNew);
    TKYToggetto& second = NewObject(K::immagineNew);
    TKYToggetto& page = NewPage(Text("<Z S0 ><$10000001>"));
    set_.ObjectByCode(0x10000000)->Clear();  // slot 0 is free now
    (void)second;
    ReopenAndStorePage(set_, page, metrics_);
    EXPECT_EQ(Content(page), Text("<Z S0 ><$10000000>"));
}

TEST_F(PageTexts, CodesInWorkingFormInAStoredTextBindToNothing) {
    TKYToggetto& table = NewObject(K::tabellaHtml);
    table.View().SetU8(kTableRows, 1);
    table.View().SetU8(kTableColumns, 1);
    // Stored texts never hold 0xFF or 0x6F codes; a damaged one must not name the working
    // objects of this text through them, or the table would be stored twice.
    TKYToggetto& page =
        NewPage(Text("<Z S0 >a<$08000000><Z S1 >x<T><Z S0 >b<$FF000000>c<$ff>d<$6f000000>e<$FF0"));
    ReopenAndStorePage(set_, page, metrics_);
    const std::string once = Content(page);
    EXPECT_EQ(once, Text("<Z S0 >a<$08000000><Z S1 >x<T><Z S0 >bcde"));
    ReopenAndStorePage(set_, page, metrics_);
    EXPECT_EQ(Content(page), once);
    EXPECT_EQ(set_.KindCount(K::tabellaHtml), 1);
}

TEST_F(PageTexts, AnglesInAFontNameAreDroppedSoStoringBlanksTheRightCode) {
    TKYToggetto& page = NewPage(Text("<Z S0 >a<Y F\"Ar<i>al\" >b<Y c0000FF F\"x<$08000000>y\" >c"));
    ReopenAndStorePage(set_, page, metrics_);
    const std::string once = Content(page);
    EXPECT_EQ(once, Text("<Z S0 >a<Y F\"Arial\" >b<Y c0000FF F\"x$08000000y\" >c"));
    EXPECT_EQ(WorkingMarkupOfPage(set_, page, metrics_), once);
    ReopenAndStorePage(set_, page, metrics_);
    EXPECT_EQ(Content(page), once);
}

TEST_F(PageTexts, ByteFieldsReadAsTheWriterWritesThem) {
    // The writer writes a position and 127: 128 is 0, the style's own, so no override.
    TKYToggetto& page = NewPage(Text("<Z S0 p128 A130 >a<Y p128 >b"));
    ReopenAndStorePage(set_, page, metrics_);
    const std::string once = Content(page);
    EXPECT_EQ(once.find("p0"), std::string::npos) << test::Escaped(once);
    EXPECT_NE(once.find("A2 "), std::string::npos) << test::Escaped(once);
    ReopenAndStorePage(set_, page, metrics_);
    EXPECT_EQ(Content(page), once);
}

TEST_F(PageTexts, StoringKeepsAnObjectAnotherPageNamesToo) {
    TKYToggetto& image = NewObject(K::immagineNew);
    image.View().SetI16(kImageWidth, 40);
    TKYToggetto& mine = NewPage(Text("<Z S0 >mia<$10000000>"));
    TKYToggetto& theirs = NewPage(Text("<Z S0 >sua<$10000000>"));
    auto text = OpenText(set_, mine, false);
    StoreText(set_, *text, Text("<Z S0 >senza immagine"), mine, false);
    EXPECT_FALSE(image.IsFree()) << "the other page still shows it";
    EXPECT_EQ(image.ReadView().I16(kImageWidth), 40);
    EXPECT_EQ(Content(theirs), Text("<Z S0 >sua<$10000000>"));
    // Once no other page names it, storing frees it.
    theirs.SetContent(Text("<Z S0 >sua"));
    mine.SetContent(Text("<Z S0 >mia<$10000000>"));
    text = OpenText(set_, mine, false);
    StoreText(set_, *text, Text("<Z S0 >senza"), mine, false);
    EXPECT_TRUE(image.IsFree());
}

TEST_F(PageTexts, StoringAMarkerAgainKeepsTheSpecialLinkItsCopyNames) {
    TKYToggetto& link = NewObject(K::speclink);
    TKYToggetto& marker = NewObject(K::shortObj);
    marker.View().SetU8(kRecSubtype, 13);
    marker.View().SetI32(kShortReference, link.Code());
    TKYToggetto& page = NewPage(Text("<Z S0 >apri<$0b000000>"));
    ReopenAndStorePage(set_, page, metrics_);
    EXPECT_EQ(Content(page), Text("<Z S0 >apri<$0b000000>"));
    EXPECT_FALSE(link.IsFree());
    EXPECT_EQ(set_.ObjectByCode(0x0B000000)->ReadView().I32(kShortReference), link.Code());
}

TEST_F(PageTexts, UntitledPageTakesItsTitleFromItsText) {
    TKYToggetto& page = NewPage(Text("<Z S0 >"));
    page.SetName("Senza titolo");
    auto text = OpenText(set_, page, false);
    StoreText(set_, *text, Text("<Z S0 >  Ciao<Z S0 >mondo &egrave; qui"), page, false);
    EXPECT_EQ(page.Name(), "Ciao mondo \xE8 qui");
    EXPECT_EQ(TitleFromText(Text("<Z S0 >Un titolo lungo   e il resto")), "Un titolo lungo");
    EXPECT_EQ(TitleFromText(Text("<Z S0 >" + std::string(50, 'x'))), std::string(35, 'x'));
}

TEST_F(PageTexts, StoringMarksTextVersionTwoAndRaisesTheStampWhenAsked) {
    TKYToggetto& page = NewPage(Text("<Z S0 >"));
    page.SetVersionStamp(-5);
    auto text = OpenText(set_, page, false);
    StoreText(set_, *text, Text("<Z S0 >x"), page, true);
    EXPECT_EQ(page.ReadView().U8(kPageTextVersion), 2);
    EXPECT_EQ(page.VersionStamp(), set_.SaveCounter());
}

}  // namespace
}  // namespace orvo

namespace orvo {
namespace {

// Every page opened into paragraphs and stored back, through a saved and reloaded document.
TEST(OpenPages, ResavingACanonicalDocumentLeavesEveryPageTextAsItWas) {
    FixedEnvironment environment;
    RecordingMessages messages;
    FixedMetrics metrics;
    const std::filesystem::path first = test::TestDir() / "open pages.kyt";
    const std::filesystem::path second = test::TestDir() / "open pages again.kyt";
    std::vector<std::string> texts;
    {
        TKYTset set(environment, messages);
        auto add = [&](TOggettiHel kind, std::string_view name) -> TKYToggetto& {
            auto object = NewObjectOfKind(kind, &set);
            object->Clear();
            if (!name.empty()) object->SetName(name);
            object->TakeIntoUse();
            TKYToggetto& stored = *object;
            (void)set.Register(std::move(object), -1);
            return stored;
        };
        add(TOggettiHel::internetLink, "http://uno.example/");
        add(TOggettiHel::tabellaHtml, {}).View().SetU8(kTableRows, 2);
        add(TOggettiHel::immagineNew, {});
        add(TOggettiHel::immagineNew, {});
        const char* pages[] = {
            "<Z S0 >Prima <$01000000>pagina<%> con &amp; e &lt;<Z S1 l4 >due",
            "<Z S0 y1 ><$08000000><Z S1 >a<$10000001><T><Z S1 >b<T><Z S0 ><Y c00FF00 >fine",
            "<Z S0 ><$10000000><$00000001>alla prima<%><Z S0 A2 C00FF00 S14 Y1 >centrato",
        };
        for (const char* markup : pages) {
            TKYToggetto& page = add(TOggettiHel::testoHtml, "Pagina");
            std::string text(markup);
            text += '\0';
            page.SetContent(text);
        }
        for (const auto& page : set.KindList(TOggettiHel::testoHtml))
            if (!page->IsFree()) texts.push_back(*page->ContentBytes());
        ASSERT_TRUE(set.SaveToFile(first.string()));
    }
    TKYTset set(environment, messages);
    ASSERT_TRUE(set.LoadFromFile(first.string()));
    ReopenAndStoreAllPages(set, metrics);
    ASSERT_TRUE(set.SaveToFile(second.string()));
    TKYTset again(environment, messages);
    ASSERT_TRUE(again.LoadFromFile(second.string()));
    std::vector<std::string> after;
    for (const auto& page : again.KindList(TOggettiHel::testoHtml))
        if (!page->IsFree()) after.push_back(*page->ContentBytes());
    ASSERT_EQ(after.size(), texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i)
        EXPECT_EQ(test::Escaped(after[i]), test::Escaped(texts[i])) << "page " << i;
    EXPECT_EQ(again.KindCount(TOggettiHel::immagineNew), 2);
    EXPECT_EQ(again.KindCount(TOggettiHel::internetLink), 1);
    EXPECT_TRUE(messages.Shown().empty());
}

}  // namespace
}  // namespace orvo

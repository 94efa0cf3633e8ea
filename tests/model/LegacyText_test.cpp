// Converting legacy tag texts (text version 1) into markup.
#include "model/LegacyText.h"

#include <gtest/gtest.h>

#include <map>

#include "model/ObjectRecord.h"
#include "model/uKYTset.h"
#include "support/MarkupHost.h"
#include "support/TestSupport.h"

namespace orvo {
namespace {

using K = TOggettiHel;

const std::string kHead = "<Z S0 C0000FF >";
const std::string kTimes = "<Y c000000 F\"Times New Roman\" s12 y0 p0 >";

std::string Text(std::string_view markup) {
    std::string text(markup);
    text += '\0';
    return text;
}

class FakeObjects final : public ILegacyObjects {
public:
    std::map<std::int32_t, int> kinds;
    std::map<std::int32_t, int> tables;
    std::map<std::int32_t, std::int32_t> zipLinks;
    int newImages = 0;

    std::int32_t ReplacementOf(std::int32_t code) override {
        auto found = zipLinks.find(code);
        return found == zipLinks.end() ? -1 : found->second;
    }
    std::int32_t NewImageFor(std::int32_t code) override {
        if (!kinds.count(code)) return -1;
        const std::int32_t image = MakeCode(K::immagineNew, newImages++);
        kinds[image] = KindIndex(K::immagineNew);
        return image;
    }
    std::int32_t NewShortObjFor(std::int32_t) override { return -1; }
    int KindOf(std::int32_t code) override {
        auto found = kinds.find(code);
        return found == kinds.end() ? -1 : found->second;
    }
    int TableCells(std::int32_t code) override { return tables.count(code) ? tables[code] : 0; }
};

class LegacyConversion : public ::testing::Test {
protected:
    FakeObjects objects_;
    LegacyPage page_;  // text black, links blue
    std::string Convert(std::string_view old) { return ConvertLegacyTags(old, page_, objects_); }
};

TEST_F(LegacyConversion, PlainTextGetsTheHeadAndTheFont) {
    EXPECT_EQ(Convert("Ciao"), Text(kHead + kTimes + "Ciao"));
    page_.textColour = 0x0000FF;
    page_.linkColour = 0x00FF00;
    EXPECT_EQ(Convert("x"), Text("<Z S0 C00FF00 ><Y cFF0000 F\"Times New Roman\" s12 y0 p0 >x"));
}

TEST_F(LegacyConversion, BoldItalicAndFontsChangeTheCharacterCode) {
    EXPECT_EQ(Convert("a<B>b</B><I>c</I>"),
              Text(kHead + kTimes + "a<Y c000000 F\"Times New Roman\" s12 y1 p0 >b" +
                   "<Y c000000 F\"Times New Roman\" s12 y2 p0 >c"));
    EXPECT_EQ(Convert("<PRE>code</PRE>x"),
              Text(kHead + "<Y c000000 F\"Courier New\" s12 y0 p0 >code" + kTimes + "x"));
    EXPECT_EQ(Convert("<FONT SIZE=5>big<FONT SIZE=9>same"),
              Text(kHead + "<Y c000000 F\"Times New Roman\" s19 y0 p0 >bigsame"));
    EXPECT_EQ(Convert("<FONT COLOR=#FF8000>o"),
              Text(kHead + "<Y cFF8000 F\"Times New Roman\" s12 y0 p0 >o"));
}

TEST_F(LegacyConversion, BreaksAlignmentsAndIndentsStartParagraphs) {
    EXPECT_EQ(Convert("a<BR>b"), Text(kHead + kTimes + "a<Z S0 A0 C0000FF >" + kTimes + "b"));
    EXPECT_EQ(Convert("<CENTER>c"), Text(kHead + "<Z S0 A2 C0000FF >" + kTimes + "c"));
    EXPECT_EQ(Convert("<DIV ALIGN=RIGHT>r<DIV ALIGN=LEFT>l"),
              Text(kHead + "<Z S0 A1 C0000FF >" + kTimes + "r<Z S0 A0 C0000FF >" + kTimes + "l"));
    EXPECT_EQ(Convert("<UL><UL>x</UL>y</UL></UL>z"),
              Text(kHead + "<Z S0 A0 l40 C0000FF >" + kTimes + "<Z S0 A0 l80 C0000FF >" + kTimes +
                   "x<Z S0 A0 l40 C0000FF >" + kTimes + "y<Z S0 A0 C0000FF >" + kTimes +
                   "<Z S0 A0 C0000FF >" + kTimes + "z"));
}

TEST_F(LegacyConversion, UnknownTagsAreDroppedSoNoBlockSwallowsThePage) {
    EXPECT_EQ(Convert("a<DL>b<RX>c<HR>d<%>e"), Text(kHead + kTimes + "abcd<%>e"));
    test::TestMarkupHost host;
    Paragraphs paragraphs = ReadText(Convert("a<DL>b<RX>c"), host);
    ASSERT_EQ(paragraphs.size(), 1u);
    EXPECT_EQ(paragraphs[0]->text, "abc");
}

TEST_F(LegacyConversion, CodesAreRewrittenByKind) {
    objects_.zipLinks[0x02000001] = 0x03000004;
    objects_.kinds[0x03000004] = KindIndex(K::genLink);
    objects_.kinds[0x05000002] = KindIndex(K::immagine);
    objects_.kinds[0x01000000] = KindIndex(K::internetLink);
    EXPECT_EQ(Convert("<$02000001>f<%><$02000009>g<%>"),
              Text(kHead + "<$03000004>" + kTimes + "f<%><$00000000>g<%>"));
    EXPECT_EQ(Convert("<B><$05000002>"),
              Text(kHead + "<Y c000000 F\"Times New Roman\" s12 y1 p0 ><$10000000>"));
    EXPECT_EQ(Convert("<B><$01000000>x"),
              Text(kHead + "<$01000000><Y c000000 F\"Times New Roman\" s12 y1 p0 >x"));
    EXPECT_EQ(Convert("<$0100"), Text(kHead)) << "a code cut short";
}

TEST_F(LegacyConversion, TableCellsBecomeCellTexts) {
    objects_.kinds[0x08000000] = KindIndex(K::tabellaHtml);
    objects_.tables[0x08000000] = 2;
    const std::string bold = "<Y c000000 F\"Times New Roman\" s12 y1 p0 >";
    EXPECT_EQ(Convert("<CENTER><$08000000><B>A<TE>B<TE>after"),
              Text(kHead + "<Z S0 A2 C0000FF >" + kTimes + "<$08000000>" + "<Z S1 A2 C0000FF >" +
                   kTimes + bold + "A<T>" + "<Z S1 A2 C0000FF >" + kTimes + "B<T>" +
                   "<Z S0 A2 C0000FF >" + kTimes + "after"));
}

TEST(LegacyPages, ConvertingAPageRegistersItsImagesAndMarksItVersionTwo) {
    FixedEnvironment environment;
    RecordingMessages messages;
    TKYTset set(environment, messages);
    auto picture = NewObjectOfKind(K::immagine, &set);
    picture->Clear();
    picture->TakeIntoUse();
    picture->SetName("foto");
    (void)set.Register(std::move(picture), -1);
    auto page = NewObjectOfKind(K::testoHtml, &set);
    page->Clear();
    page->TakeIntoUse();
    page->View().SetU8(kPageTextVersion, 1);
    page->SetContent(std::string("uno<BR><$05000000>\0", 19));
    TKYToggetto& stored = *page;
    (void)set.Register(std::move(page), -1);
    ConvertLegacyPage(set, stored);
    EXPECT_EQ(stored.ReadView().U8(kPageTextVersion), 2);
    ASSERT_EQ(set.KindCount(K::immagineNew), 1);
    EXPECT_EQ(set.ObjectByCode(0x10000000)->ReadView().I32(kImagePicture), 0);
    const std::string head = "<Z S0 C0000FF >";
    auto text = stored.ContentBytes();
    ASSERT_TRUE(text.ok());
    EXPECT_EQ(*text, Text(head + kTimes + "uno<Z S0 A0 C0000FF >" + kTimes + "<$10000000>"));
    ConvertLegacyPage(set, stored);  // a version-2 page is left alone
    EXPECT_EQ(set.KindCount(K::immagineNew), 1);
}

}  // namespace
}  // namespace orvo

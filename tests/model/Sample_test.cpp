// The sample hypertext: what it holds, that it survives saving and reopening unchanged, and
// that the generator scales to benchmark documents.
#include "model/SampleHypertext.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "KytFixture.h"
#include "base/Cp1252.h"
#include "base/Format.h"
#include "model/BrowseSequence.h"
#include "model/HeaderRecord.h"
#include "model/StyleRecord.h"
#include "model/TKYTorderedTree.h"
#include "model/TextForms.h"
#include "model/uKYTpag.h"
#include "picture/GifCodec.h"
#include "picture/Picture.h"
#include "picture/TKYTpicture.h"
#include "platform/FixedMetrics.h"

namespace orvo {
namespace {

using namespace orvo::literals;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using K = TOggettiHel;

class Sample : public test::KytTest {
protected:
    std::string Text(std::int32_t page) const {
        return *set_.ObjectByKind(K::testoHtml, page)->ContentBytes();
    }
    PageRecord Record(std::int32_t page) {
        return PageRecord(*set_.ObjectByKind(K::testoHtml, page));
    }
    std::vector<std::string> Names(K kind) const {
        std::vector<std::string> names;
        for (const auto& object : set_.KindList(kind)) names.push_back(object->Name());
        return names;
    }
    std::vector<std::int32_t> Sequence(std::int32_t page) const {
        std::vector<SequenceEntry> entries;
        for (const auto& p : set_.KindList(K::testoHtml)) {
            const PageRecord r = PageRecord::Read(*p);
            entries.push_back({p->Identifier(), r.Group(), r.Order(), p->IsFree()});
        }
        std::vector<std::int32_t> steps{page};
        for (std::int32_t next = NextInSequence(entries, page); next != steps.back();
             next = NextInSequence(entries, next))
            steps.push_back(next);
        return steps;
    }
    std::string TreeText() {
        TKYTorderedTree tree(&set_);
        tree.LoadTree();
        return tree.Text();
    }
};

TEST_F(Sample, HoldsACoverAHeaderAFooterAndSixPagesInTwoChapters) {
    MakeSampleHypertext(set_);
    EXPECT_THAT(
        Names(K::testoHtml),
        ElementsAre("Copertina", "Intestazione", "Piè di pagina"_cp, "Che cos'è un ipertesto"_cp,
                    "Pagine e capitoli", "Gli stili di paragrafo", "I collegamenti",
                    "Intestazione e piè di pagina"_cp, "Parole chiave e sequenze",
                    "La mappa della guida", "Una tabella", "Un modulo"));
    EXPECT_EQ(TreeText(),
              "a0,-2,Esempio.kyt\r\n"
              "a1,0,x\r\n"
              "a1,-3,Primi passi\r\n"
              "a2,3,x\r\na2,4,x\r\na2,5,x\r\n"
              "a1,-3,Approfondimenti\r\n"
              "a2,6,x\r\na2,7,x\r\na2,8,x\r\n"
              "a1,9,x\r\n"
              "a1,10,x\r\n"
              "a1,11,x\r\n");
    EXPECT_THAT(messages_.Shown(), IsEmpty());
    const RecordView h = set_.HeaderView();
    EXPECT_EQ(h.PStr(kHdrTitle), "Guida di Orvo");
    EXPECT_EQ(h.U16(kHdrLanguage), 1040);  // Italian: the window checks it with it_IT
    EXPECT_EQ(h.I32(kHdrHeaderPage), 1);
    EXPECT_EQ(h.I32(kHdrFooterPage), 2);
    EXPECT_EQ(h.PStr(kHdrCopyright), "© Gli autori di Orvo"_cp);
}

TEST_F(Sample, HasThreeStylesBesidesTheBuiltInOnes) {
    MakeSampleHypertext(set_);
    EXPECT_THAT(Names(K::stileParagrafo),
                ElementsAre("[nessuno stile]", "[nessuno stile tabella]", "Titolo",
                            "Elenco puntato", "Elenco numerato"));
    const StyleRecord heading(set_.ObjectByKind(K::stileParagrafo, 2)->Record());
    EXPECT_EQ(heading.FontName(), "Arial");
    EXPECT_EQ(heading.Size(), 18);
    EXPECT_EQ(heading.StyleBits(), 1);
    EXPECT_EQ(StyleRecord(set_.ObjectByKind(K::stileParagrafo, 3)->Record()).ListKind(), 10);
    EXPECT_EQ(StyleRecord(set_.ObjectByKind(K::stileParagrafo, 4)->Record()).ListKind(), 6);
}

TEST_F(Sample, WritesTheCoverWithFormatsAndEveryKindOfLink) {
    MakeSampleHypertext(set_);
    const std::string expected(
        "<Z S2 >Benvenuti nella guida di Orvo"
        "<Z S0 >Questa è una guida di esempio: ogni pagina mostra una parte del programma. Il "
        "testo può essere in <Y y1 >grassetto<Y >, in <Y y2 >corsivo<Y >, <Y cC00000 >colorato"
        "<Y > o scritto con <Y F\"Courier New\" >un altro carattere<Y >."
        "<Z S0 >Cominciate dal <$00000003>primo capitolo<%> oppure passate agli "
        "<$00000006>approfondimenti<%>."
        "<Z S0 >Fuori dalla guida: il <$01000000>sito di Orvo<%> e <$01000001>un altro "
        "ipertesto<%>."
        "<Z S3 >Pagine e capitoli<Z S3 >Stili e formati<Z S3 >Collegamenti"_cp);
    EXPECT_EQ(test::Escaped(Text(0)), test::Escaped(expected + '\0'));
    EXPECT_THAT(Names(K::internetLink),
                ElementsAre("http://www.esempio.it/orvo/", "orvo://Altro.kyt|0"));
    EXPECT_EQ(set_.ObjectByKind(K::internetLink, 0)->Subtype(), 7);
    EXPECT_EQ(set_.ObjectByKind(K::internetLink, 1)->Subtype(), 6);
    EXPECT_EQ(Text(1), std::string("<Z S0 A2 ><Y F\"Arial\" >Guida di Orvo") + '\0');
}

TEST_F(Sample, GivesPagesKeywordsSequencesHeadersAndAnAlias) {
    MakeSampleHypertext(set_);
    EXPECT_THAT(Names(K::keyword), ElementsAre("ipertesto", "stile", "collegamento", "sequenza"));
    EXPECT_EQ(Record(0).Alias(), "benvenuti.htm");
    EXPECT_EQ(Record(0).Header(), -2);
    EXPECT_EQ(Record(3).Header(), -1);
    EXPECT_EQ(HeaderPageOf(set_, *set_.ObjectByKind(K::testoHtml, 3)), 1);
    EXPECT_EQ(FooterPageOf(set_, *set_.ObjectByKind(K::testoHtml, 8)), 2);
    EXPECT_EQ(HeaderPageOf(set_, *set_.ObjectByKind(K::testoHtml, 0)), -1);
    EXPECT_TRUE(Record(8).HasKeyword(3));
    EXPECT_TRUE(Record(8).HasKeyword(2));
    EXPECT_TRUE(Record(5).HasKeyword(1));
    EXPECT_THAT(Sequence(3), ElementsAre(3, 4, 5));
    EXPECT_THAT(Sequence(6), ElementsAre(6, 7, 8));
    EXPECT_TRUE(Record(4).InSequence());
    EXPECT_FALSE(Record(0).InSequence());
    EXPECT_EQ(Record(0).BackgroundColour(), 0x00E0FFFF);
    EXPECT_EQ(Record(4).BackgroundColour(), 0x00FFFFFF);
}

TEST_F(Sample, LaysAPaperPictureUnderTheCoverThatSurvivesSavingAndReopening) {
    MakeSampleHypertext(set_);
    const std::int32_t paper = Record(0).BackgroundPicture();
    ASSERT_GE(paper, 0);
    EXPECT_EQ(Record(3).BackgroundPicture(), -1);
    EXPECT_THAT(Names(K::immagine), ElementsAre("Carta della copertina", "Mappa della guida",
                                                "Disegno di una tabella"));
    ASSERT_TRUE(set_.SaveToFile(Path("Guida.kyt")));

    FixedEnvironment env;
    RecordingMessages messages;
    TKYTset reopened(env, messages);
    ASSERT_TRUE(reopened.LoadFromFile(Path("Guida.kyt")));
    TKYToggetto* picture = reopened.ObjectByKind(K::immagine, paper);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->Subtype(), 0);  // a GIF
    EXPECT_EQ(picture->FileName(), "carta.gif");
    EXPECT_EQ(picture->ReadView().I32(kPictureTransparency), -2);
    Result<std::shared_ptr<TKYTpicture>> decoded = reopened.PictureOf(*picture);
    ASSERT_TRUE(decoded) << decoded.failure().text;
    ASSERT_TRUE((*decoded)->HasGraphic());
    EXPECT_EQ((*decoded)->Width(), 64);
    const Bitmap pixels = RenderPicture((*decoded)->Graphic());
    EXPECT_EQ(pixels.ColourAt(1, 0), (Rgb{0xFF, 0xFF, 0xE0}));  // the cover's own colour
    EXPECT_EQ(pixels.ColourAt(0, 0), (Rgb{0xF0, 0xE6, 0xB4}));  // a thread of the weave
    EXPECT_THAT(messages.Shown(), IsEmpty());
}

TEST_F(Sample, HasATablePageWithAHeaderRowALinkAndAPicture) {
    MakeSampleHypertext(set_);
    ASSERT_EQ(set_.KindCount(K::tabellaHtml), 1);
    const TKYToggetto& table = *set_.KindList(K::tabellaHtml).front();
    const RecordView r = table.ReadView();
    EXPECT_EQ(r.U8(kTableRows), 4);
    EXPECT_EQ(r.U8(kTableColumns), 3);
    EXPECT_EQ(r.U8(kTablePercent), 99);
    EXPECT_EQ(r.U8(kTableBorder), 1);
    // The first row on light blue, the other nine cells transparent.
    std::string backgrounds;
    for (int i = 0; i < 12; ++i)
        backgrounds += i < 3 ? std::string("\xC0\xE0\xFF\0", 4) : std::string(4, '\xFF');
    EXPECT_EQ(table.Auxiliary(), backgrounds);
    const std::string text = Text(10);
    const auto code = [](const TKYToggetto& o) {
        return "<$" + Hex8(std::uint32_t(MakeCode(o.Kind(), o.Identifier()))) + ">";
    };
    EXPECT_THAT(text, ::testing::HasSubstr("<Z S0 >" + code(table) + "<Z S1 ><Y y1 >Parte<T>"));
    EXPECT_THAT(text, ::testing::HasSubstr("<Z S1 ><$00000000>Vai alla copertina<%><T>"));
    const std::string image = code(*set_.KindList(K::immagineNew).back());
    EXPECT_THAT(text, ::testing::HasSubstr("<Z S1 >" + image + "<T><Z S1 >Capitoli<T>"));
}

TEST_F(Sample, ReadsBackFromItsFileAndStaysTheSameWhenEveryPageIsReopened) {
    MakeSampleHypertext(set_, {.fileName = "Guida.kyt"});
    ASSERT_TRUE(set_.SaveToFile(Path("Guida.kyt")));
    std::vector<std::string> before;
    for (std::int32_t p = 0; p < set_.KindCount(K::testoHtml); ++p) before.push_back(Text(p));
    FixedMetrics metrics;
    for (const auto& page : set_.KindList(K::testoHtml)) ReopenAndStorePage(set_, *page, metrics);
    for (std::int32_t p = 0; p < set_.KindCount(K::testoHtml); ++p)
        EXPECT_EQ(test::Escaped(Text(p)), test::Escaped(before[std::size_t(p)])) << "page " << p;
    EXPECT_EQ(set_.KindCount(K::internetLink), 2);
    EXPECT_THAT(TreeText(), ::testing::StartsWith("a0,-2,Guida.kyt\r\na1,0,x\r\n"));
}

TEST_F(Sample, IsTheSameFileEveryTime) {
    MakeSampleHypertext(set_);
    ASSERT_TRUE(set_.SaveToFile(Path("uno.kyt")));
    TKYTset second(env_, messages_);
    MakeSampleHypertext(second);
    ASSERT_TRUE(second.SaveToFile(Path("due.kyt")));
    EXPECT_EQ(test::ReadFile(Path("uno.kyt")), test::ReadFile(Path("due.kyt")));
}

TEST_F(Sample, ScalesToManyLongPages) {
    MakeSampleHypertext(set_, {.pages = 41, .textKb = 4});
    ASSERT_EQ(set_.KindCount(K::testoHtml), 46);
    for (std::int32_t p : {0, 3, 22, 42}) {
        EXPECT_GE(Text(p).size(), 4096u) << "page " << p;
        EXPECT_LT(Text(p).size(), 4096u + 400u) << "page " << p;
    }
    EXPECT_LT(Text(1).size(), 100u);  // the header page is not filled
    const std::string tree = TreeText();
    // 40 chapter pages: 20 in each chapter, each chapter one sequence; the map, table and form
    // pages last
    EXPECT_EQ(std::count(tree.begin(), tree.end(), '\n'), 1 + 1 + 2 + 40 + 3);
    EXPECT_EQ(Sequence(3).size(), 20u);
    EXPECT_EQ(Sequence(23).size(), 20u);
    EXPECT_EQ(Record(9).Title(), "Che cos'è un ipertesto (7)"_cp);
    ASSERT_TRUE(set_.SaveToFile(Path("Grande.kyt")));
    EXPECT_EQ(set_.KindCount(K::testoHtml), 46);
}

TEST_F(Sample, KeepsAtLeastTheCover) {
    MakeSampleHypertext(set_, {.pages = 0, .textKb = -3});
    EXPECT_EQ(set_.KindCount(K::testoHtml), 6);
    EXPECT_EQ(TreeText(), "a0,-2,Esempio.kyt\r\na1,0,x\r\na1,3,x\r\na1,4,x\r\na1,5,x\r\n");
    EXPECT_THAT(Text(0), ::testing::Not(::testing::HasSubstr("primo capitolo")));

    TKYTset two(env_, messages_);
    MakeSampleHypertext(two, {.pages = 2});
    TKYTorderedTree tree(&two);
    tree.LoadTree();
    EXPECT_EQ(tree.Text(),
              "a0,-2,Esempio.kyt\r\na1,0,x\r\na1,-3,Primi passi\r\na2,3,x\r\na1,4,x\r\n"
              "a1,5,x\r\na1,6,x\r\n");
}

}  // namespace
}  // namespace orvo

// Writing paragraphs as markup, byte for byte, in the four modes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/ByteStream.h"
#include "support/MarkupHost.h"
#include "support/TestSupport.h"

namespace orvo {
namespace {

using test::Read;
using test::Rewrite;
using test::Written;

std::string Text(std::string_view markup) {
    std::string text(markup);
    text += '\0';
    return text;
}

class MarkupWriting : public ::testing::Test {
protected:
    test::TestMarkupHost host_;

    std::unique_ptr<TKYTparag> One(std::string_view markup) {
        Paragraphs paragraphs = Read(markup, host_);
        EXPECT_EQ(paragraphs.size(), 1u);
        return std::move(paragraphs.front());
    }
    std::string Code(int id) {
        char code[12];
        std::snprintf(code, sizeof code, "<$FF%06x>", id);
        return code;
    }
};

TEST_F(MarkupWriting, EmptyParagraphAndEmptyText) {
    EXPECT_EQ(Written(*One("<Z S0 >"), host_), "<Z S0 >");
    EXPECT_EQ(WriteText(Paragraphs{}, host_), std::string(1, '\0'));
    EXPECT_EQ(Rewrite("<Z S0 >", host_), Text("<Z S0 >"));
}

TEST_F(MarkupWriting, HeadNamesTheStyleAndOnlyItsOverridesInHeadOrder) {
    const int five = host_.AddStyle([](StyleRecord&) {});
    for (int n = 3; n < five; ++n) host_.AddStyle([](StyleRecord&) {});
    TKYTparag para;
    para.style.SetDefinition(&host_.Style(2));
    para.style.SetLinkStyle(1);
    para.style.SetLinkColour(0x00FF00);
    para.style.SetLinkSize(9);
    para.style.Set(StyleField::Alignment, 2);
    para.style.SetColour(0x0000FF);
    para.style.SetFontName("Arial");
    para.style.Set(StyleField::FirstIndent, -15);
    para.metrics.resize(1);
    EXPECT_EQ(Written(para, host_), "<Z S2 cFF0000 F\"Arial\" A2 I-15 C00FF00 S9 Y1 >");
}

TEST_F(MarkupWriting, ByteFieldsAreMaskedAsStored) {
    TKYTparag para;
    para.style.SetDefinition(&host_.Style(0));
    para.style.SetStyleBits(0xF3);               // y and 15
    para.style.Set(StyleField::ListKind, 0x8A);  // N and 127
    para.metrics.resize(1);
    EXPECT_EQ(Written(para, host_), "<Z S0 y3 N10 >");
}

TEST_F(MarkupWriting, TextIsEscaped) {
    EXPECT_EQ(Rewrite("<Z S0 >a&lt;b &amp; c&gt;d", host_), Text("<Z S0 >a&lt;b &amp; c&gt;d"));
    EXPECT_EQ(One("<Z S0 >a&lt;b &amp; c&gt;d")->text, "a<b & c>d");
    // Other references come back as their byte.
    EXPECT_EQ(Rewrite("<Z S0 >&eacute;&#65;&quot;", host_), Text("<Z S0 >\xE9"
                                                                 "A\""));
}

TEST_F(MarkupWriting, ColoursUpperCaseAndReferenceDigitsLowerCase) {
    const int image = host_.AddObject(TOggettiHel::immagineNew);
    for (int n = image + 1; n <= 10; ++n) host_.AddObject(TOggettiHel::immagineNew);
    EXPECT_EQ(Rewrite("<Z S0 ><Y c0000ff >a<$6F000001>b<%>" + Code(10), host_),
              Text("<Z S0 ><Y c0000FF >a<$6f000001>b<%><$FF00000a>"));
}

TEST_F(MarkupWriting, ColourWithATopByteIsWrittenFromItsLowBits) {
    TKYTparag para;
    para.style.SetDefinition(&host_.Style(0));
    para.style.SetColour(std::int32_t(0x80000005u));
    para.metrics.resize(1);
    EXPECT_EQ(Written(para, host_), "<Z S0 c050000 >");
    EXPECT_EQ(Written(*One("<Z S0 >"), host_), "<Z S0 >");
}

TEST_F(MarkupWriting, LinksEndWithTheirParagraph) {
    Paragraphs paragraphs = Read("<Z S0 >see <$00000003>this<Z S0 >next", host_);
    EXPECT_EQ(WriteText(paragraphs, host_), Text("<Z S0 >see <$00000003>this<%><Z S0 >next"));
    EXPECT_EQ(paragraphs[1]->LinkAt(0), -1);
}

TEST_F(MarkupWriting, RunCodesCarryOnlyWhatDiffersFromTheStyle) {
    // The head is blue; the run code lists its own fields against the style, not the head.
    EXPECT_EQ(Rewrite("<Z S0 c0000FF >a<Y c0000FF s12 y1 >b<Y >c", host_),
              Text("<Z S0 c0000FF >a<Y c0000FF y1 >b<Y >c"));
}

TEST_F(MarkupWriting, SnapshotFromTheMiddleStartsWithACompleteCharacterCode) {
    // A bold paragraph (head y1); characters 7.. written alone.
    auto para = One("<Z S0 y1 >0123456789");
    EXPECT_EQ(Written(*para, host_, wmSnapshot, 7, -1),
              "<Z S0 y1 ><Y c000000 F\"Times New Roman\" s12 y1 p0 >789");
    // From a run that started before the range: its format, complete.
    auto runs = One("<Z S0 >012<Y c00FF00 s20 >3456789");
    EXPECT_EQ(Written(*runs, host_, wmSnapshot, 5, 8),
              "<Z S0 ><Y c00FF00 F\"Times New Roman\" s20 y0 p0 >567");
    // A range that starts on a run code writes that code.
    EXPECT_EQ(Written(*runs, host_, wmSnapshot, 3, 5), "<Z S0 ><Y c00FF00 s20 >34");
    // Start 0 needs no complete code.
    EXPECT_EQ(Written(*runs, host_, wmSnapshot, 0, 2), "<Z S0 >01");
}

TEST_F(MarkupWriting, LinkInForceAtTheRangeStartIsOpened) {
    auto para = One("<Z S0 ><$00000002>linked<%>");
    EXPECT_EQ(Written(*para, host_, wmSnapshot, 2, 4),
              "<Z S0 ><Y c000000 F\"Times New Roman\" "
              "s12 y0 p0 ><$00000002>nk<%>");
}

TEST_F(MarkupWriting, ContinuationHeadCarriesTheEffectiveCharacterFields) {
    auto para = One("<Z S0 F\"Arial\" s9 A2 l4 >tail");
    EXPECT_EQ(Written(*para, host_, wmContinuation), "<Y c000000 F\"Arial\" s9 y0 p0 >tail");
    // Joining: the first paragraph in mode 1, the second in mode 2, read back as one.
    auto first = One("<Z S0 y1 >head ");
    MemoryStream joined;
    ASSERT_TRUE(first->WriteMarkup(joined, wmSnapshot, 0, -1, host_));
    ASSERT_TRUE(para->WriteMarkup(joined, wmContinuation, 0, -1, host_));
    ASSERT_TRUE(joined.Write("\0", 1));
    ASSERT_TRUE(joined.Seek(0));
    Paragraphs one = ReadText(joined, host_);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0]->text, "head tail");
    EXPECT_EQ(one[0]->FormatAt(0).styleBits, kFontBold);
    EXPECT_EQ(one[0]->FormatAt(6).name, "Arial");
    EXPECT_EQ(one[0]->FormatAt(6).styleBits, 0);
}

TEST_F(MarkupWriting, TablesInlineInSaveModeAndAsCodesInSnapshots) {
    const int table = host_.AddTable(2, 1);
    host_.Table(table).SetCellParagraphs(0, 0, Read("<Z S1 >top<Z S1 >two", host_));
    const std::string text = "<Z S0 >" + Code(table) + "<Z S1 >top<Z S1 >two<T><Z S1 ><T>";
    Paragraphs paragraphs = Read(text + "<Z S0 >after", host_);
    ASSERT_EQ(paragraphs.size(), 2u);
    EXPECT_EQ(WriteText(paragraphs, host_), Text(text + "<Z S0 >after"));
    EXPECT_EQ(Written(*paragraphs[0], host_, wmSnapshot), "<Z S0 >" + Code(table));
    // A table paragraph keeps its head when continued.
    EXPECT_EQ(Written(*paragraphs[0], host_, wmContinuation), "<Z S0 >" + Code(table));
}

TEST_F(MarkupWriting, RangeModeWritesTablesInTheRangeAndMarksTheOthers) {
    const int first = host_.AddTable(1, 1);
    const int second = host_.AddTable(1, 1);
    Paragraphs paragraphs =
        Read("<Z S0 >a" + Code(first) + "<Z S1 >one<T>b" + Code(second) + "<Z S1 >two<T>c", host_);
    ASSERT_EQ(paragraphs.size(), 1u);
    // Characters: a, table 1, b, table 2, c. The caller's range [0, 2) holds the first table.
    EXPECT_EQ(Written(*paragraphs[0], host_, wmRange, 0, 2),
              "<Z S0 >a" + Code(first) + "<Z S1 >one<T>b" + Code(second) + "<@>c");
    // Reading it back in mode 0 keeps the second table as it is.
    host_.Table(second).SetCellParagraphs(0, 0, Read("<Z S1 >kept", host_));
    Paragraphs back = Read(Written(*paragraphs[0], host_, wmRange, 0, 2), host_);
    EXPECT_EQ(back[0]->text, "a b c");
    EXPECT_EQ(host_.Table(second).CellParagraphs(0, 0)[0]->text, "kept");
}

TEST_F(MarkupWriting, HeaderAndFooterParagraphsAreNotPartOfTheText) {
    Paragraphs paragraphs = Read("<Z S0 >head<Z S0 >body<Z S0 >foot", host_);
    paragraphs[0]->kind = kHeaderParagraph;
    paragraphs[2]->kind = kFooterParagraph;
    EXPECT_EQ(WriteText(paragraphs, host_), Text("<Z S0 >body"));
}

TEST_F(MarkupWriting, AStreamThatRefusesWritesIsReported) {
    class Refusing final : public ByteStream {
    public:
        std::size_t Read(void*, std::size_t) override { return 0; }
        bool Write(const void*, std::size_t) override { return false; }
        std::int64_t Position() const override { return 0; }
        bool Seek(std::int64_t) override { return false; }
        std::int64_t Size() const override { return 0; }
    } refusing;
    auto para = One("<Z S0 >x");
    EXPECT_FALSE(para->WriteMarkup(refusing, wmSave, 0, -1, host_));
    Paragraphs paragraphs;
    paragraphs.push_back(std::move(para));
    EXPECT_FALSE(WriteText(refusing, paragraphs, host_));
}

}  // namespace
}  // namespace orvo

namespace orvo {
namespace {

TEST(MarkupWritingHostile, TableInsideItsOwnCellIsWrittenAsItsCodeAlone) {
    test::TestMarkupHost host;
    const int table = host.AddTable(1, 1);
    char code[12];
    std::snprintf(code, sizeof code, "<$FF%06x>", table);
    // The cell holds a paragraph whose character is the table itself.
    const std::string text = std::string("<Z S0 >") + code + "<Z S1 >" + code + "<T><Z S0 >x";
    Paragraphs paragraphs = test::Read(text, host);
    const std::string written = WriteText(paragraphs, host);
    EXPECT_EQ(written, std::string("<Z S0 >") + code + "<Z S1 >" + code + "<T><Z S0 >x" + '\0');
    EXPECT_EQ(test::Rewrite(written.substr(0, written.size() - 1), host), written);
}

}  // namespace
}  // namespace orvo

// Reading markup into paragraphs: formats, links, objects, references, tolerance.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/ByteStream.h"
#include "base/Cp1252.h"
#include "support/MarkupHost.h"
#include "support/TestSupport.h"

namespace orvo {
namespace {

using namespace orvo::literals;
using test::Read;
using test::Rewrite;
using ::testing::ElementsAre;

class MarkupReading : public ::testing::Test {
protected:
    test::TestMarkupHost host_;

    // The single paragraph of a text.
    std::unique_ptr<TKYTparag> One(std::string_view markup, int mode = 0) {
        Paragraphs paragraphs = Read(markup, host_, mode);
        EXPECT_EQ(paragraphs.size(), 1u) << test::Escaped(markup);
        if (paragraphs.empty()) return std::make_unique<TKYTparag>();
        return std::move(paragraphs.front());
    }
};

TEST_F(MarkupReading, EmptyParagraphHasOneLineAndTheEndRecord) {
    auto para = One("<Z S0 >");
    EXPECT_EQ(para->text, "");
    ASSERT_EQ(para->metrics.size(), 1u);
    EXPECT_EQ(para->metrics[0], (TKYTcharMetric{0, 15, 12, -1, -1, -1}));
    ASSERT_EQ(para->lines.size(), 1u);
    EXPECT_EQ(para->lines[0].height, 15);  // Times New Roman 12: the default line height
    EXPECT_EQ(para->defaultLineHeight, 15);
    EXPECT_EQ(para->style.Definition(), &host_.Style(0));
    EXPECT_FALSE(para->style.OverridesAny());
}

TEST_F(MarkupReading, EveryCharacterIsMeasuredInItsFormat) {
    // "ab" at 12 points (6 px), "cd" bold at 20 points (11 px)
    auto para = One("<Z S0 >ab<Y s20 y1 >cd");
    EXPECT_EQ(para->text, "abcd");
    ASSERT_EQ(para->metrics.size(), 5u);
    EXPECT_EQ(para->metrics[0], (TKYTcharMetric{6, 15, 12, -1, -1, -1}));
    EXPECT_EQ(para->metrics[2], (TKYTcharMetric{11, 25, 20, 0, -1, -1}));
    EXPECT_EQ(para->metrics[3], (TKYTcharMetric{11, 25, 20, -1, -1, -1}));
    EXPECT_EQ(para->lines[0].height, 25);
    EXPECT_EQ(para->lines[0].ascent, 20);
    EXPECT_EQ(para->lines[0].count, 4);
    ASSERT_EQ(para->fonts.size(), 1u);
    EXPECT_EQ(para->fonts[0].FontSize(), 20);
    EXPECT_EQ(para->fonts[0].StyleBits(), kFontBold);
    EXPECT_FALSE(para->fonts[0].Overrides(StyleField::Colour));
}

TEST_F(MarkupReading, SubscriptAndSuperscriptChangeHeightAndAscent) {
    auto para = One("<Z S0 ><Y p1 >a<Y p2 >b");
    EXPECT_EQ(para->metrics[0].height, 15 + 7);
    EXPECT_EQ(para->metrics[0].ascent, 12);
    EXPECT_EQ(para->metrics[1].height, 15);
    EXPECT_EQ(para->metrics[1].ascent, 12 + 7);
}

TEST_F(MarkupReading, HeadFieldsBecomeOverridesOfTheStyle) {
    auto para =
        One("<Z S0 c0000FF F\"Arial\" s14 y3 p2 P5 A2 N6 M3 L30 I-20 l5 r6 t7 b8 C00FF00 "
            "S16 Y1 >x");
    const TKYTParaStyle& s = para->style;
    EXPECT_EQ(s.Colour(), 0xFF0000);  // RRGGBB 0000FF is blue, 0x00FF0000
    EXPECT_EQ(s.FontName(), "Arial");
    EXPECT_EQ(s.FontSize(), 14);
    EXPECT_EQ(s.StyleBits(), 3);
    EXPECT_EQ(s.Position(), 2);
    EXPECT_EQ(s.ReservedP(), 5);
    EXPECT_EQ(s.Alignment(), 2);
    EXPECT_EQ(s.ListKind(), 6);
    EXPECT_EQ(s.Unit(), 3);
    EXPECT_EQ(s.LineHeight(), 30);
    EXPECT_EQ(s.FirstIndent(), -20);
    EXPECT_EQ(s.LeftMargin(), 5);
    EXPECT_EQ(s.RightMargin(), 6);
    EXPECT_EQ(s.SpaceBefore(), 7);
    EXPECT_EQ(s.SpaceAfter(), 8);
    EXPECT_EQ(s.LinkColour(), 0x00FF00);
    EXPECT_EQ(s.LinkSize(), 16);
    EXPECT_EQ(s.LinkStyle(), 1);
    for (const StyleKey& key : kStyleKeys) EXPECT_TRUE(s.Overrides(key.field)) << key.key;
    // The paragraph's character format follows the head.
    EXPECT_EQ(s.charFormat.FontName(), "Arial");
    EXPECT_EQ(s.charFormat.Colour(), 0xFF0000);
}

TEST_F(MarkupReading, FieldsOutOfOrderEndTheHead) {
    auto para = One("<Z S0 A2 c000000 >x");
    EXPECT_EQ(para->style.Alignment(), 2);
    EXPECT_TRUE(para->style.Overrides(StyleField::Alignment));
    EXPECT_FALSE(para->style.Overrides(StyleField::Colour));
    EXPECT_EQ(para->text, "x");

    // c after A is out of order: skipped with the rest, even when it differs.
    auto skipped = One("<Z S0 A1 c0000FF s30 >x");
    EXPECT_EQ(skipped->style.Colour(), 0);
    EXPECT_EQ(skipped->style.FontSize(), 12);
}

TEST_F(MarkupReading, AValueEqualToTheStylesIsNoOverride) {
    auto para = One("<Z S0 c000000 s12 l10 >x");
    EXPECT_FALSE(para->style.OverridesAny());
    EXPECT_EQ(Rewrite("<Z S0 c000000 s12 l10 >x", host_), std::string("<Z S0 >x\0", 9));
}

TEST_F(MarkupReading, UnknownStyleNumberFallsBackToStyleZero) {
    auto para = One("<Z S77 >x");
    EXPECT_EQ(para->style.Definition(), &host_.Style(0));
    const int titles = host_.AddStyle([](StyleRecord& r) { r.SetSize(20); });
    auto titled = One("<Z S" + std::to_string(titles) + " >x");
    EXPECT_EQ(titled->style.Definition(), &host_.Style(titles));
    EXPECT_EQ(titled->metrics[0].width, 10);
}

TEST_F(MarkupReading, EmptyCharacterCodeReturnsToTheStylesOwnFormat) {
    // The head makes the paragraph blue; "<Y >" goes back to the definition's black.
    auto para = One("<Z S0 c0000FF >a<Y >b");
    EXPECT_EQ(para->FormatAt(0).colour, 0xFF0000);
    EXPECT_EQ(para->FormatAt(1).colour, 0);
    ASSERT_EQ(para->fonts.size(), 1u);
    EXPECT_FALSE(para->fonts[0].OverridesAny());
}

TEST_F(MarkupReading, TwoCodesBeforeOneCharacterActAsOne) {
    auto para = One("<Z S0 >a<Y s20 ><Y y2 >b<Y y1 >c");
    ASSERT_EQ(para->fonts.size(), 2u);
    EXPECT_EQ(para->metrics[1].fontIndex, 0);
    // The second code changes only its own field: the size stays 20.
    EXPECT_EQ(para->FormatAt(1).size, 20);
    EXPECT_EQ(para->FormatAt(1).styleBits, kFontItalic);
    // A code that is no repeat restores the absent fields.
    EXPECT_EQ(para->FormatAt(2).size, 12);
    EXPECT_EQ(para->FormatAt(2).styleBits, kFontBold);
}

TEST_F(MarkupReading, LegacyItalicAndBoldKeysSetAndClearBits) {
    auto para = One("<Z S0 ><Y i1 g1 >a<Y i1 g0 >b<Y g7 >c");
    EXPECT_EQ(para->FormatAt(0).styleBits, kFontItalic | kFontBold);
    EXPECT_EQ(para->FormatAt(1).styleBits, kFontItalic);
    // g carried: the bits are not restored from the style, only bold cleared.
    EXPECT_EQ(para->FormatAt(2).styleBits, kFontItalic);
}

TEST_F(MarkupReading, HeadFontNameIsCutToTwentyCharactersButARunsIsNot) {
    const std::string name25 = "ABCDEFGHIJKLMNOPQRSTUVWXY";
    auto para = One("<Z S0 F\"" + name25 + "\" >a<Y F\"" + name25 + "\" >b");
    EXPECT_EQ(para->style.FontName(), name25.substr(0, 20));
    EXPECT_EQ(para->FormatAt(1).name, name25);
}

TEST_F(MarkupReading, ColoursReadInEitherCase) {
    auto lower = One("<Z S0 ><Y c0000ff >a");
    auto upper = One("<Z S0 ><Y c0000FF >a");
    EXPECT_EQ(lower->FormatAt(0).colour, 0xFF0000);
    EXPECT_EQ(upper->FormatAt(0).colour, 0xFF0000);
    EXPECT_EQ(One("<Z S0 ><Y c4080FF >a")->FormatAt(0).colour, 0x00FF8040);
}

TEST_F(MarkupReading, LinksRecordTheirCodeOnEveryCharacter) {
    auto para = One("<Z S0 >a<$6f000001>bc<%>d<$00000005>e<$03000002>f<$0a000001>g");
    std::vector<int> links;
    for (std::size_t i = 0; i < para->text.size(); ++i) links.push_back(para->LinkAt(int(i)));
    EXPECT_THAT(links, ElementsAre(-1, 0x6F000001, 0x6F000001, -1, 5, 0x03000002, 0x03000002));
    // A kind the reader does not know changes nothing (g keeps the genLink).
    EXPECT_EQ(para->text, "abcdefg");
    EXPECT_EQ(para->metrics.back().linkId, 0x03000002);
}

TEST_F(MarkupReading, LinkTextIsMeasuredWithTheLinkAppearance) {
    // Link size 20 (11 px a byte) and link style bold (one more pixel).
    auto para = One("<Z S0 S20 Y1 >a<$00000001>b<%>c");
    EXPECT_EQ(para->metrics[0].width, 6);
    EXPECT_EQ(para->metrics[1].width, 11);
    EXPECT_EQ(para->metrics[2].width, 6);
    // With the link size of the style (-1) a bold code inside a link makes a bold link normal.
    auto keeps = One("<Z S0 Y1 ><$00000001>a<Y y1 >b");
    EXPECT_EQ(keeps->metrics[0].width, 7);
    EXPECT_EQ(keeps->metrics[1].width, 6);
}

TEST_F(MarkupReading, PageObjectsTakeTheirCharacterAndSize) {
    const int image = host_.AddObject(TOggettiHel::immagineNew, 40, 30);
    auto para = One("<Z S0 >a<$FF" + std::string(5, '0') + std::to_string(image) + ">b");
    EXPECT_EQ(para->text, "a b");
    ASSERT_EQ(para->objects.size(), 1u);
    EXPECT_EQ(para->objects[0], &host_.Object(image));
    EXPECT_EQ(para->metrics[1], (TKYTcharMetric{40, 30, 30, -1, 0, -1}));
    EXPECT_EQ(para->lines[0].height, 30);

    // A code that names no page object leaves a plain space.
    auto missing = One("<Z S0 >a<$FF000077>b");
    EXPECT_EQ(missing->text, "a b");
    EXPECT_TRUE(missing->objects.empty());
    EXPECT_EQ(missing->metrics[1], (TKYTcharMetric{6, 15, 12, -1, -1, -1}));
}

TEST_F(MarkupReading, IgnoredBlocksVanishWithTheirContent) {
    EXPECT_EQ(One("<Z S0 ><D x><d>text")->text, "text");
    EXPECT_EQ(One("<Z S0 >a<F x>hidden<f>b<R y>more<r>c")->text, "abc");
    EXPECT_EQ(One("<Z S0 >a<Q anything>b<@>c")->text, "abc");
}

TEST_F(MarkupReading, ControlBytesAreDropped) {
    auto para = One("<Z S0 >a\tb\r\nc&#9;d");
    EXPECT_EQ(para->text, "abcd");
    EXPECT_EQ(para->metrics.size(), 5u);
}

TEST_F(MarkupReading, CharacterReferencesAreDecoded) {
    EXPECT_EQ(One("<Z S0 >a&lt;b &amp; c&gt;d")->text, "a<b & c>d");
    EXPECT_EQ(One("<Z S0 >&#233;")->text, "\xE9");
    EXPECT_EQ(One("<Z S0 >&eacute")->text, "\xE9");
    EXPECT_EQ(One("<Z S0 >&#1234;")->text, "{4;");
}

TEST_F(MarkupReading, ParagraphsFollowOneAnotherAndTextBeforeAHeadIsNotRead) {
    Paragraphs paragraphs = Read("junk<Z S0 >one<Z S1 >two<Z S0 >", host_);
    ASSERT_EQ(paragraphs.size(), 3u);
    EXPECT_EQ(paragraphs[0]->text, "one");
    EXPECT_EQ(paragraphs[1]->text, "two");
    EXPECT_EQ(paragraphs[1]->style.Definition(), &host_.Style(1));
    EXPECT_EQ(paragraphs[2]->text, "");
}

TEST_F(MarkupReading, ReadMarkupLeavesTheStreamWhereTheNextParagraphStarts) {
    MemoryStream stream(std::string("<Z S0 >ab<Z S0 >c\0", 18));
    TKYTparag first;
    EXPECT_FALSE(first.ReadMarkup(stream, 0, host_));
    EXPECT_EQ(stream.Position(), 9);
    TKYTparag second;
    EXPECT_TRUE(second.ReadMarkup(stream, 0, host_));
    EXPECT_EQ(stream.Position(), 17);  // on the 0x00
    EXPECT_EQ(second.text, "c");
    TKYTparag third;  // nothing left
    EXPECT_FALSE(third.ReadMarkup(stream, 0, host_));
    EXPECT_EQ(stream.Position(), 17);
}

TEST_F(MarkupReading, OnlyMemoryStreamsAreRead) {
    auto file = FileStream::Open(test::TestDir() / "text.bin", FileStream::Mode::Create);
    ASSERT_TRUE(file.ok());
    ASSERT_TRUE(file->Write(std::string_view("<Z S0 >abc")));
    ASSERT_TRUE(file->Seek(0));
    TKYTparag para;
    EXPECT_FALSE(para.ReadMarkup(*file, 0, host_));
    EXPECT_EQ(para.text, "");
    EXPECT_EQ(file->Position(), 0);
}

TEST_F(MarkupReading, RemapTablesRenameStylesObjectsAndLocalLinks) {
    const int titles = host_.AddStyle([](StyleRecord& r) { r.SetSize(20); });
    const int image = host_.AddObject(TOggettiHel::immagineNew, 8, 8);
    MarkupRemap remap;
    remap.objectIds = RemapList{{9}, {image}};
    remap.codes = RemapList{{0x11000004, 0x6F000002}, {0x11000000 + titles, 0x6F000007}};
    std::string text = "<Z S4 ><$FF000009>a<$6f000002>b<$6f000003>c";
    text += '\0';
    Paragraphs paragraphs = ReadText(text, host_, 0, &remap);
    ASSERT_EQ(paragraphs.size(), 1u);
    const TKYTparag& para = *paragraphs[0];
    EXPECT_EQ(para.style.Definition(), &host_.Style(titles));
    ASSERT_EQ(para.objects.size(), 1u);
    EXPECT_EQ(para.objects[0], &host_.Object(image));
    EXPECT_EQ(para.LinkAt(2), 0x6F000007);
    EXPECT_EQ(para.LinkAt(3), -1) << "a local link the tables do not hold is dropped";
}

TEST_F(MarkupReading, TablesReadTheirCellsInlineInModeZero) {
    const int table = host_.AddTable(1, 2);
    const std::string text = "<Z S0 ><$FF00000" + std::to_string(table) +
                             "><Z S1 >left<T><Z S1 >right<Z S1 >two<T><Z S0 >after";
    Paragraphs paragraphs = Read(text, host_);
    ASSERT_EQ(paragraphs.size(), 2u);
    EXPECT_TRUE(paragraphs[0]->IsTableParagraph(host_));
    EXPECT_EQ(paragraphs[1]->text, "after");
    const Paragraphs& left = host_.Table(table).CellParagraphs(0, 0);
    const Paragraphs& right = host_.Table(table).CellParagraphs(0, 1);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0]->text, "left");
    ASSERT_EQ(right.size(), 2u);
    EXPECT_EQ(right[1]->text, "two");
}

TEST_F(MarkupReading, NoInlineContentKeepsTheTable) {
    const int table = host_.AddTable(1, 1);
    host_.Table(table).SetCellParagraphs(0, 0, Read("<Z S1 >kept", host_));
    const std::string code = "<$FF00000" + std::to_string(table) + ">";
    Paragraphs paragraphs = Read("<Z S0 >" + code + "<@><Z S0 >x", host_);
    ASSERT_EQ(paragraphs.size(), 2u);
    EXPECT_EQ(host_.Table(table).CellParagraphs(0, 0)[0]->text, "kept");
    // In another mode a table's content is never read: "<@>" is a code like any other.
    Paragraphs snapshot = Read("<Z S0 >" + code + "<@>y", host_, 1);
    ASSERT_EQ(snapshot.size(), 1u);
    EXPECT_EQ(snapshot[0]->text, " y");
    EXPECT_EQ(host_.Table(table).CellParagraphs(0, 0)[0]->text, "kept");
}

// Input that is cut short, malformed or hostile is read as far as it goes, never past the
// 0x00 byte or the end of the data, and reported where a field is cut.
class HostileMarkup : public MarkupReading {};

TEST_F(HostileMarkup, NumericFieldWithoutItsBlankIsATruncatedLineError) {
    auto para = One("<Z S0 s1234567890123>x");
    EXPECT_THAT(host_.messages.Shown(), ElementsAre(Message{Box::Error, "Truncated line!"}));
    EXPECT_EQ(para->style.FontSize(), 12);
    EXPECT_EQ(para->text, "x");
}

TEST_F(HostileMarkup, FontWithoutClosingQuoteIsATruncatedLineInformation) {
    auto para = One("<Z S0 >a<Y F\"Arial");
    EXPECT_THAT(host_.messages.Shown(), ElementsAre(Message{Box::Information, "Truncated line!"}));
    EXPECT_EQ(para->text, "a");
}

TEST_F(HostileMarkup, HeadWithoutStyleNumberStillGivesAParagraphWithALine) {
    Paragraphs paragraphs = Read("<Z Sx >lost<Z S-4 >also<Z S0 >kept", host_);
    ASSERT_EQ(paragraphs.size(), 3u);
    for (const auto& para : paragraphs) {
        ASSERT_EQ(para->lines.size(), 1u);
        EXPECT_GT(para->lines[0].height, 0);
        EXPECT_EQ(para->style.Definition(), &host_.Style(0));
        EXPECT_EQ(para->metrics.size(), para->text.size() + 1);
    }
    EXPECT_EQ(paragraphs[2]->text, "kept");
}

TEST_F(HostileMarkup, NumbersAreSignedClampedAndNeverOverflow) {
    auto para = One("<Z S0 l99999999999 r-9999999999 >x");
    EXPECT_EQ(para->style.LeftMargin(), 2147483647);
    EXPECT_EQ(para->style.RightMargin(), -2147483647 - 1);
    EXPECT_EQ(One("<Z S0 s-10000000 >x")->style.FontSize(), 12) << "the absent marker";
}

TEST_F(HostileMarkup, ByteFieldsKeepWhatTheirByteCarries) {
    auto para = One("<Z S0 y200 A300 >x");
    EXPECT_EQ(para->style.StyleBits(), 200 & 15);
    EXPECT_EQ(para->style.Alignment(), 300 & 0xFF);
    EXPECT_EQ(Rewrite("<Z S0 y200 A300 >x", host_), std::string("<Z S0 y8 A44 >x\0", 16));
}

TEST_F(HostileMarkup, ColourWithoutItsBlankIsATruncatedLineError) {
    auto para = One("<Z S0 >a<Y c00FF00>b");
    EXPECT_THAT(host_.messages.Shown(), ElementsAre(Message{Box::Error, "Truncated line!"}));
    EXPECT_EQ(para->text, "ab");
    EXPECT_EQ(para->FormatAt(1).colour, 0);
}

TEST_F(HostileMarkup, ReadingIntoAUsedParagraphStartsAfresh) {
    auto para = One("<Z S0 A2 >old text");
    MemoryStream stream(std::string("<Z S0 >new", 10));
    EXPECT_TRUE(para->ReadMarkup(stream, 0, host_));
    EXPECT_EQ(para->text, "new");
    EXPECT_EQ(para->metrics.size(), 4u);
    EXPECT_EQ(para->lines.size(), 1u);
    EXPECT_FALSE(para->style.OverridesAny());
}

TEST_F(HostileMarkup, StrayCellEndAtTheTopLevelIsSkipped) {
    Paragraphs paragraphs = Read("<Z S0 >ab<T>cd<Z S0 >ef", host_);
    ASSERT_EQ(paragraphs.size(), 2u);
    EXPECT_EQ(paragraphs[0]->text, "abcd");
    EXPECT_EQ(paragraphs[1]->text, "ef");
}

TEST_F(HostileMarkup, TableWhoseObjectIsMissingKeepsItsCellsAsParagraphs) {
    Paragraphs paragraphs = Read("<Z S0 ><$FF000042><Z S1 >cell<T><Z S0 >after", host_);
    ASSERT_EQ(paragraphs.size(), 3u);
    EXPECT_EQ(paragraphs[1]->text, "cell");
    EXPECT_EQ(paragraphs[2]->text, "after");
}

TEST_F(HostileMarkup, TableInsideItsOwnCellIsNotReadAgain) {
    const int table = host_.AddTable(1, 1);
    const std::string code = "<$FF00000" + std::to_string(table) + ">";
    Paragraphs paragraphs =
        Read("<Z S0 >" + code + "<Z S1 >" + code + "<Z S1 >inner<T><T><Z S0 >x", host_);
    ASSERT_FALSE(paragraphs.empty());
    EXPECT_EQ(paragraphs.back()->text, "x");
}

TEST_F(HostileMarkup, CutShortInputEndsAtTheTerminator) {
    const char* inputs[] = {"<Z S0 >a<$12",
                            "<Z S0 >a&#1",
                            "<Z S0 >a<D x>never closed",
                            "<Z S0 >a<Y s1",
                            "<Z S0 >a<Y c12",
                            "<Z S0 >a<Y F\"abc",
                            "<Z S0 >a&&",
                            "<Z S0 >a&",
                            "<Z S0 >a<",
                            "<Z",
                            "<Z S",
                            "<Z S0 >a<$FF0000"};
    for (const char* input : inputs) {
        std::string text(input);
        text += '\0';
        text += "<Z S0 >after the terminator";
        MemoryStream stream(text);
        Paragraphs paragraphs = ReadText(stream, host_);
        EXPECT_LE(stream.Position(), std::int64_t(std::string_view(input).size())) << input;
        for (const auto& para : paragraphs) {
            EXPECT_EQ(para->text.find("after"), std::string::npos) << input;
            EXPECT_EQ(para->metrics.size(), para->text.size() + 1) << input;
        }
        // Without any terminator the end of the data ends the text.
        ReadText(std::string(input), host_);
    }
}

}  // namespace
}  // namespace orvo

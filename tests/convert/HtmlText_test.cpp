// The HTML of page texts: paragraphs, lists, runs, spaces, escaping, links and the style sheet.
#include <gtest/gtest.h>

#include <string>

#include "base/Cp1252.h"
#include "convert/HtmlExport.h"
#include "convert/HtmlText.h"
#include "model/ObjectRecord.h"
#include "model/StyleRecord.h"
#include "model/StyleTable.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "support/TestSupport.h"

namespace orvo {
namespace {

using namespace orvo::literals;
using namespace orvo::test;

class HtmlTextTest : public ::testing::Test {
protected:
    HtmlTextTest() : set_(environment_, messages_), html_(&set_) {}

    TKYToggetto& Page(std::int32_t identifier, std::string markup) {
        TKYToggetto* page = set_.ObjectByKind(TOggettiHel::testoHtml, identifier);
        if (!page) {
            auto made = NewObjectOfKind(TOggettiHel::testoHtml, &set_);
            made->Clear();
            made->TakeIntoUse();
            set_.Register(std::move(made), identifier);
            page = set_.ObjectByKind(TOggettiHel::testoHtml, identifier);
        }
        page->SetContent(markup + '\0');
        return *page;
    }
    std::string Body(std::string markup) {
        TKYToggetto& page = Page(0, std::move(markup));
        TExportContext context;
        context.images = &images_;
        return html_.WriteBody(0, context, page);
    }
    TKYToggetto& Object(TOggettiHel kind) {
        auto made = NewObjectOfKind(kind, &set_);
        made->Clear();
        made->TakeIntoUse();
        const std::int32_t id = set_.Register(std::move(made));
        return *set_.ObjectByKind(kind, id);
    }
    StyleRecord Style(TKYToggetto& style) { return StyleRecord(style.Record()); }

    FixedEnvironment environment_;
    RecordingMessages messages_;
    TKYTset set_;
    TKYTtoHtml html_;
    std::vector<TKYToggetto*> images_;
};

TEST_F(HtmlTextTest, EmptyParagraphsSpacesAndEscapes) {
    EXPECT_EQ(Body("<Z S0 ><Z S0 >"),
              "<DIV class=s0 >\r\n&nbsp;</DIV>\r\n<DIV class=s0 >\r\n&nbsp;</DIV>\r\n");
    EXPECT_EQ(Body("<Z S0 >a   b"), "<DIV class=s0 >\r\na &nbsp;&nbsp;b&nbsp;</DIV>\r\n");
    // Codes between spaces keep the rule; "<", ">" and "&" from the markup's entities.
    EXPECT_EQ(Body("<Z S0 >a <Y > b&lt;&#233;&&\x01\xE9\xFC\""),
              "<DIV class=s0 >\r\na &nbsp;b&lt;&#233;&amp;&eacute;\xFC\"&nbsp;</DIV>\r\n");
    EXPECT_EQ(Body("<Z S0 >x<&y>"), "<DIV class=s0 >\r\nx&nbsp;</DIV>\r\n");
    // Hidden sections are skipped; a code without its ">" ends the walk.
    EXPECT_EQ(Body("<Z S0 >a<D>nascosto<d>b<Qzz"), "<DIV class=s0 >\r\nab&nbsp;</DIV>\r\n");
    EXPECT_EQ(EscapeChar(0xE9), "&eacute;");
    EXPECT_EQ(EscapeChar(0xA0), "&nbsp;");
    EXPECT_EQ(EscapeChar(0xFB), "&ucirc;");
    EXPECT_EQ(EscapeChar(0xFC), "\xFC");
    EXPECT_EQ(EscapeChar(0x1F), "");
    EXPECT_EQ(EscapeText("a\"<b>&"), "a&quot;&lt;b&gt;&amp;");
}

TEST_F(HtmlTextTest, NumberedAndBulletedLists) {
    EXPECT_EQ(Body("<Z S0 N6 >a<Z S0 N6 >b<Z S0 >c<Z S0 N6 >d<Z S0 N10 >e"),
              "<DIV class=s0  style='list-style-type:decimal;'>\r\n<!lisnum>1. "
              "<!/lisnum>a&nbsp;</LI></DIV>\r\n"
              "<DIV class=s0  style='list-style-type:decimal;'>\r\n<!lisnum>2. "
              "<!/lisnum>b&nbsp;</LI></DIV>\r\n"
              "<DIV class=s0 >\r\nc&nbsp;</DIV>\r\n"
              "<DIV class=s0  style='list-style-type:decimal;'>\r\n<!lisnum>1. "
              "<!/lisnum>d&nbsp;</LI></DIV>\r\n"
              "<DIV class=s0  style='list-style-type:disc;'>\r\n<LI>e&nbsp;</LI></DIV>\r\n");
    // Only the two list kinds close a list item.
    for (int kind = 1; kind < 16; ++kind) {
        if (kind == 6 || kind == 10) continue;
        EXPECT_EQ(Body("<Z S0 N" + std::to_string(kind) + " >a").find("</LI>"), std::string::npos)
            << kind;
    }
}

TEST_F(HtmlTextTest, AlignmentLayoutAndEmulation) {
    environment_.SetPixelsPerInch(96);
    EXPECT_EQ(Body("<Z S0 A1 M3 I-48 l96 >x"),
              "<DIV ALIGN=right class=s0  style='text-align: right;text-indent: -36pt;margin-left: "
              "72pt;'>\r\nx&nbsp;</DIV>\r\n");
    html_.ExpCSS = TExpCSS::ecEmulateFF;
    EXPECT_EQ(Body("<Z S0 A1 >x"), "<DIV ALIGN=right class=s0 >\r\nx&nbsp;</DIV>\r\n");
    EXPECT_EQ(UnitValue(96, 2, 96), "1in");
    EXPECT_EQ(UnitValue(38, 0, 96), "1cm");  // 1.005 cm
    EXPECT_EQ(UnitValue(4, 3, 96), "3pt");   // 3 pt
    EXPECT_EQ(UnitValue(2, 3, 96), "2pt");   // 1.5 pt: halves go to even
    EXPECT_EQ(UnitValue(10, 3, 96), "8pt");  // 7.5 pt: to even
    EXPECT_EQ(UnitValue(-7, 5, 96), "-7px");
}

TEST_F(HtmlTextTest, RunsOpenAndCloseOnlyWhatChanges) {
    EXPECT_EQ(Body("<Z S0 >a<Y y1 >b<Y y3 >c<Y >d<Y p2 >e<Y p1 >f<Y >g"),
              "<DIV class=s0 >\r\na<B>b<I>c</I></B>d<SUP>e</SUP><SUB>f</SUB>g&nbsp;</DIV>\r\n");
    EXPECT_EQ(Body("<Z S0 >a<Y cFF0000 >r<Y s40 >g<Y F\"Arial\" >h<Y >i"),
              "<DIV class=s0 >\r\na<FONT style='color:#FF0000;' COLOR=#FF0000>r</FONT>"
              "<FONT style='font-size:40pt;' SIZE=+4>g</FONT>"
              "<FONT style='font-family:\"Arial\";' FACE=\"Arial\">h</FONT>i&nbsp;</DIV>\r\n");
    // Format open at the end of the paragraph is closed before it.
    EXPECT_EQ(Body("<Z S0 >a<Y cFF0000 y1 >b"),
              "<DIV class=s0 >\r\na<FONT style='color:#FF0000;' "
              "COLOR=#FF0000><B>b&nbsp;</B></FONT></DIV>\r\n");
    // Hostile font names cannot leave the attribute.
    EXPECT_EQ(Body("<Z S0 >a<Y F\"x';{}<b&\" >b"),
              "<DIV class=s0 >\r\na<FONT style='font-family:\"xb\";' "
              "FACE=\"xb\">b&nbsp;</FONT></DIV>\r\n");
}

TEST_F(HtmlTextTest, FontTags) {
    HtmlFont p;
    HtmlFont f;
    EXPECT_EQ(FontTag(p, f), "");
    f.size = 40;
    EXPECT_EQ(FontTag(p, f), "<FONT style='font-size:40pt;' SIZE=+4>");
    f.size = 9;
    EXPECT_EQ(FontTag(p, f), "<FONT style='font-size:9pt;' SIZE=-1>");
    f = p;
    p.bits = 1 | 2;
    f.bits = 4;
    EXPECT_EQ(FontTag(p, f),
              "<FONT style='font-weight:normal;font-style:normal;text-decoration:underline;'>");
    f.bits = 0;
    p.bits = 8;
    EXPECT_EQ(FontTag(p, f), "<FONT style='text-decoration:normal;'>");
    p = HtmlFont{};
    p.name = "Arial";
    f = p;
    EXPECT_EQ(FontTag(p, f), "<FONT FACE=\"Arial\">");
}

TEST_F(HtmlTextTest, TextLinksToPagesFilesAndAddresses) {
    Page(1, "<Z S0 >uno");
    TKYToggetto& web = Object(TOggettiHel::internetLink);
    web.View().SetPStr(kLinkAddress, "http://www.example.org/");
    TKYToggetto& file = Object(TOggettiHel::genLink);
    file.SetFileName("guida.pdf");
    char webCode[9], fileCode[9];
    std::snprintf(webCode, sizeof webCode, "%08x", unsigned(web.Code()));
    std::snprintf(fileCode, sizeof fileCode, "%08x", unsigned(file.Code()));
    const std::string body = Body(std::string("<Z S0 >Vai a <$00000001>uno<%>, al <$") + webCode +
                                  ">sito<%> o al <$" + fileCode + ">file<%>.");
    char fileName[32];
    std::snprintf(fileName, sizeof fileName, "_g%06x.pdf", unsigned(file.Identifier()));
    EXPECT_EQ(body,
              std::string("<DIV class=s0 >\r\nVai a <A class=s0 HREF=\"_000001.html\"   >uno</A>, "
                          "al <A class=s0 HREF=\"http://www.example.org/\"   >sito</A> o al "
                          "<A class=s0 HREF=\"") +
                  fileName + "\"   >file</A>.&nbsp;</DIV>\r\n");
    ASSERT_EQ(images_.size(), 1u);
    EXPECT_EQ(images_[0], &file);
    // A link still open where a paragraph starts is closed inside its paragraph; a link to a
    // missing page writes nothing; a stray link end writes nothing.
    EXPECT_EQ(Body("<Z S0 ><$00000001>uno<Z S0 >due<$00000063>x<%>"),
              "<DIV class=s0 >\r\n<A class=s0 HREF=\"_000001.html\"   >uno&nbsp;</A></DIV>\r\n"
              "<DIV class=s0 >\r\nduex&nbsp;</DIV>\r\n");
    // A paragraph's link values unlike its style's give the link a style.
    EXPECT_EQ(
        Body("<Z S0 C00FF00 S14 Y1 ><$00000001>uno<%>"),
        "<DIV class=s0 >\r\n<A class=s0 style='color:#00FF00;font-size:14pt;font-weight:bold;' "
        "HREF=\"_000001.html\"   >uno</A>&nbsp;</DIV>\r\n");
}

TEST_F(HtmlTextTest, TruncatedParametersAreReported) {
    EXPECT_EQ(Body("<Z S0 A1"), "&nbsp;");
    const std::string body = Body("<Z S0 l12>x");
    EXPECT_FALSE(messages_.Shown().empty());
    EXPECT_EQ(messages_.Shown().back().text, "Truncated line!");
    EXPECT_NE(body.find("x&nbsp;</DIV>"), std::string::npos);
}

TEST_F(HtmlTextTest, StyleSheet) {
    TKYToggetto& title = CreateStyle(set_, "Titolo principale con un nome lungo assai");
    Style(title).SetFontName("Arial");
    Style(title).SetSize(20);
    Style(title).SetColour(0x800000);
    Style(title).SetStyleBits(1 | 2 | 4);
    Style(title).SetAlignment(2);
    Style(title).SetUnit(3);
    Style(title).SetSpaceBefore(16);
    Style(title).SetLineHeight(24);
    Style(title).SetLinkSize(20);
    Style(title).SetLinkStyleBits(1 | 2 | 4 | 8);
    TKYToggetto& list = CreateStyle(set_, "Elenco */ numerato");
    Style(list).SetListKind(6);
    Style(list).SetFontName("Comic\"; } body { x");
    ExpectMatchesGolden("convert", "style.css", html_.StyleSheet());
}

}  // namespace
}  // namespace orvo

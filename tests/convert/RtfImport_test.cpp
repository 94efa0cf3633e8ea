// The RTF import: the markup each construct gives (byte-exact), hostile input, tables within
// the model's limits, splitting with chains and the index, help topics and their links, and
// round trips through our own RTF export (words, runs, styles; help titles, keywords, ids,
// links).
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "base/Cp1252.h"
#include "base/Format.h"
#include "base/Paths.h"
#include "convert/RtfExport.h"
#include "convert/RtfImport.h"
#include "convert/TextExport.h"
#include "convert/TextImport.h"
#include "model/ObjectRecord.h"
#include "model/ParaStyle.h"
#include "model/SampleHypertext.h"
#include "model/StyleRecord.h"
#include "model/StyleTable.h"
#include "model/uKYTogge.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/FixedMetrics.h"
#include "platform/IMessages.h"
#include "platform/WordProcessor.h"
#include "support/TestSupport.h"

namespace orvo {
namespace {

using namespace orvo::test;
using K = TOggettiHel;

constexpr std::string_view kHead =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Times New Roman;}{\\f1 Arial;}}"
    "{\\colortbl;\\red255\\green0\\blue0;}";

class RtfImportTest : public ::testing::Test {
protected:
    RtfImportTest() : set_(environment_, messages_) { set_.NewDocument(); }

    std::string File(std::string_view name, std::string_view bytes) {
        const std::filesystem::path path = TestDir() / "in" / std::string(name);
        WriteFile(path, bytes);
        return NameOfPath(path);
    }
    std::string Text(std::int32_t page) {
        TKYToggetto* object = set_.ObjectByKind(K::testoHtml, page);
        if (!object) return "(no page)";
        Result<std::string> bytes = object->ContentBytes();
        if (!bytes) return "(unreadable)";
        std::string s = *bytes;
        if (!s.empty() && s.back() == '\0') s.pop_back();
        return s;
    }
    // The markup of a body after the standard head, as pasted RTF.
    std::string Body(std::string_view body, RtfImportOptions options = {}) {
        TRtfImp run(set_, options);
        return run.ImportFragment(std::string(kHead) + std::string(body) + "}");
    }
    std::string Normal() {
        const TKYToggetto* style = StyleByName(set_, "Normal");
        return style ? "<Z S" + std::to_string(StyleNumber(*style)) + " " : "(no Normal)";
    }
    int Live(K kind) {
        int n = 0;
        for (const auto& o : set_.KindList(kind))
            if (!o->IsFree()) ++n;
        return n;
    }

    FixedEnvironment environment_;
    RecordingMessages messages_;
    TKYTset set_;
};

TEST_F(RtfImportTest, EachConstructGivesItsMarkup) {
    struct Case {
        std::string_view body;
        std::string_view markup;  // after the paragraph head "<Z Sn "
    };
    const std::vector<Case> cases{
        {"x{\\dn6 a}{\\sub b}{\\up6 c}{\\super d}{\\dn-4 e}", ">x<Y p1 >ab<Y p2 >cde"},
        {"\\qj x\\par\\qc y\\par\\qr z", ">x<Z Sn A2 >y<Z Sn A1 >z"},
        {"a\\tab b\\~c\\_d\\-e", ">a      b c-de"},
        {"\\'e8\\'3c\\'00\\'26 <&>", ">\xE8&lt;&amp; &lt;&amp;&gt;"},
        {"\\u8364?\\u26580?\\uc2\\u12354xx\\uc1 \\u-10179?\\u-8903?!", ">\x80??\?!"},
        {"\\lquote\\rquote\\ldblquote\\rdblquote\\bullet\\endash\\emdash",
         ">\x91\x92\x93\x94\x95\x96\x97"},
        {"x{\\b b}{\\i i}{\\ul u}{\\strike s}{\\b\\i bi}{\\cf1 r}{\\f1 a}{\\fs20 t}",
         ">x<Y y1 >b<Y y2 >i<Y y4 >u<Y y8 >s<Y y3 >bi<Y cFF0000 >r<Y F\"Arial\" >a<Y s10 >t"},
        {"{\\*\\unknown secret}{\\info{\\title T}}{\\*\\bkmkstart b}vis{\\v hidden}ible",
         ">visible"},
        {"{\\pntext 1.\\tab}\\pard{\\*\\pn\\pnlvlbody\\pndec}uno", "N6 >uno"},
        {"\\fs999999999999999999999 x\\fs-5 y", "s1000 >x<Y s1 >y"},
        {"a\\'e", ">a"},  // cut inside an escape
        // Shapes: a text box's text is read and its drawn result left out; a shape whose
        // picture cannot be read falls back on its result; property names and values never
        // show.
        {"{\\shp{\\*\\shpinst\\shpleft0{\\sp{\\sn shapeType}{\\sv 202}}{\\shptxt "
         "dentro}}{\\shprslt fuori}}",
         ">dentro"},
        {"{\\shp{\\*\\shpinst{\\sp{\\sn pib}{\\sv {\\pict\\macpict 00}}}}{\\shprslt "
         "fuori}}",
         ">fuori"},
    };
    for (const Case& c : cases) {
        std::string got = Body(c.body);
        const std::string head = Normal();
        std::string want = head + std::string(c.markup);
        for (std::size_t at = want.find("<Z Sn "); at != std::string::npos;
             at = want.find("<Z Sn ", at))
            want.replace(at, 6, head);
        EXPECT_EQ(got, want) << c.body;
    }
}

// A picture that a word processor placed as a shape comes in, beside the picture of the
// embedded object's result further on (the shape's own result is a drawing object, left out).
TEST_F(RtfImportTest, PictureOfAShapeComesIn) {
    const std::filesystem::path file = std::filesystem::path(ORVO_SOURCE_DIR) / ".." / "shared" /
                                       "corpus" / "rtf" / "word_ole_object_wmf.rtf";
    ASSERT_TRUE(std::filesystem::exists(file)) << file;
    TRtfImp run(set_, {});
    run.ImportFiles({NameOfPath(file)}, false);
    ASSERT_EQ(run.ImportedPages.size(), 1u);
    EXPECT_NE(PageText(set_, run.ImportedPages[0]).find("At last you can see an image"),
              std::string::npos);
    EXPECT_EQ(Live(K::immagineNew), 2);
    EXPECT_EQ(Live(K::immagine), 2);
}

TEST_F(RtfImportTest, MalformedDocumentsStopAtTheirEndAndLoseNothingBefore) {
    const std::string deep = std::string(100000, '{') + "deep" + std::string(100000, '}');
    struct Case {
        std::string rtf;
        std::string text;
    };
    const std::vector<Case> cases{
        {"{\\rtf1 one}} two}", "one"},
        {"{\\rtf1 {\\b one", "one"},
        {"{\\rtf1 a{\\pict\\wmetafile8\\bin6 }}}{{{}b}", "ab"},
        {"{\\rtf1 a" + deep + "b}", "ab"},
        {"{\\rtf1 a\\bin999999999 xyz", "a"},
        {"{\\rtf1 a\\verylongcontrolwordthatgoesonandonandonforeverandever b}", "ab"},
        {"{\\rtf1 \\trowd\\cellx100\\intbl a\\cell", "a\r\n"},
    };
    for (const Case& c : cases) {
        TRtfImp run(set_, {});
        const std::string markup = run.ImportFragment(c.rtf);
        EXPECT_EQ(PlainText(markup, StoredTextLookup(set_)), c.text)
            << Escaped(c.rtf.substr(0, 60));
    }
    // Not RTF at all: one empty paragraph as pasted text, a problem for a file.
    TRtfImp run(set_, {});
    EXPECT_EQ(run.ImportFragment("plain text"), "<Z S0 >");
    const int pages = Live(K::testoHtml);
    const std::int32_t first =
        run.ImportFiles({File("a.rtf", "not rtf"), File("b.rtf", "{\\rtf1 ok}")}, false);
    ASSERT_EQ(run.ImportedPages.size(), 1u);
    EXPECT_EQ(first, run.ImportedPages[0]);
    EXPECT_EQ(run.Problems, std::vector<std::string>{NameOfPath(TestDir() / "in" / "a.rtf")});
    // The importer shows nothing itself: its caller shows the failure.
    EXPECT_TRUE(messages_.Shown().empty());
    EXPECT_EQ(run.Failures,
              std::vector<std::string>{std::string(kRtfProblems) +
                                       NameOfPath(TestDir() / "in" / "a.rtf") + "\r\n"});
    EXPECT_EQ(Live(K::testoHtml), std::max(pages, 1));
}

// Every table: its rows x columns are the "<T>" its cells end with, within 50 x 255.
void ExpectTablesConsistent(const TKYTset& set, const std::string& markup) {
    int cells = 0, expected = 0;
    for (std::size_t at = markup.find("<T>"); at != std::string::npos;
         at = markup.find("<T>", at + 1))
        ++cells;
    for (const auto& t : set.KindList(K::tabellaHtml)) {
        if (t->IsFree()) continue;
        const int rows = t->ReadView().U8(kTableRows), columns = t->ReadView().U8(kTableColumns);
        EXPECT_GE(columns, 1);
        EXPECT_LE(columns, 50);
        expected += rows * columns;
        for (int c = 0; c < columns; ++c)
            EXPECT_GE(t->ReadView().I16At(kTableColumnWidths + 2 * std::size_t(c)), 1);
    }
    EXPECT_EQ(cells, expected) << Escaped(markup.substr(0, 200));
}

TEST_F(RtfImportTest, TablesAreRepairedToWhatTheModelHolds) {
    std::string wide = "\\trowd";
    for (int c = 1; c <= 60; ++c) wide += "\\cellx" + std::to_string(c * 100);
    wide += "\\intbl";
    for (int c = 1; c <= 60; ++c) wide += "c" + std::to_string(c) + "\\cell ";
    wide += "\\row\\pard after\\par";
    std::string tall;
    for (int r = 0; r < 300; ++r) tall += "\\trowd\\cellx1000\\intbl r\\cell\\row ";
    tall += "\\pard end";
    struct Case {
        std::string body;
        std::vector<std::pair<int, int>> tables;  // rows, columns
    };
    const std::vector<Case> cases{
        {"\\trowd\\clcfpat1\\cellx1000\\cellx2000\\intbl a\\cell\\row\\pard z\\par", {{1, 2}}},
        {"\\trowd\\cellx2000\\cellx1000\\cellx1000\\intbl a\\cell b\\cell c\\cell d\\cell\\row",
         {{1, 3}}},
        {"\\trowd\\intbl a\\cell b\\row\\pard c", {}},
        {wide, {{1, 50}}},
        {tall, {{255, 1}, {45, 1}}},
        {"\\trowd\\cellx1000\\intbl a\\cell\\row\\trowd\\cellx1000\\intbl b", {{2, 1}}},
    };
    for (const Case& c : cases) {
        TKYTset set(environment_, messages_);
        set.NewDocument();
        TRtfImp run(set, {});
        const std::string markup = run.ImportFragment(std::string(kHead) + c.body + "}");
        std::vector<std::pair<int, int>> tables;
        for (const auto& t : set.KindList(K::tabellaHtml))
            if (!t->IsFree())
                tables.push_back({t->ReadView().U8(kTableRows), t->ReadView().U8(kTableColumns)});
        EXPECT_EQ(tables, c.tables) << c.body.substr(0, 80);
        ExpectTablesConsistent(set, markup);
    }
    // The text of the cells, in order, and the colour of the first row's first cell.
    TRtfImp run(set_, {});
    const std::string markup = run.ImportFragment(
        std::string(kHead) +
        "\\trowd\\clcfpat1\\cellx1000\\cellx2000\\intbl a\\cell b\\cell\\row\\pard z}");
    EXPECT_EQ(PlainText(markup, StoredTextLookup(set_)), "a\tb\r\nz");
    const TKYToggetto* table = set_.KindList(K::tabellaHtml).back().get();
    ASSERT_TRUE(table->Auxiliary());
    EXPECT_EQ(table->Auxiliary()->substr(0, 8), std::string("\xFF\0\0\0\xFF\xFF\xFF\xFF", 8));
}

TEST_F(RtfImportTest, SplittingChainsPagesAndBuildsTheIndex) {
    std::string body;
    for (int i = 1; i <= 130; ++i) body += "p" + std::to_string(i) + "\\par ";
    RtfImportOptions options;
    options.maxParagraphs = 60;
    TRtfImp run(set_, options);
    run.ImportFiles({File("long.rtf", std::string(kHead) + body + "}")}, true);
    ASSERT_EQ(run.ImportedPages.size(), 3u);
    const auto& p = run.ImportedPages;
    const std::string link1 = "<$00" + Hex8(std::uint32_t(p[1])).substr(2) + ">continua...<%>";
    const std::string back1 = "<$00" + Hex8(std::uint32_t(p[0])).substr(2) + ">...continua<%>";
    EXPECT_TRUE(Text(p[0]).ends_with("<Z S0 ><Z S0 >" + link1 + "<Z S0 >"));
    EXPECT_TRUE(Text(p[1]).starts_with("<Z S0 >" + back1 + "<Z S0 >"));
    EXPECT_EQ(PlainText(Text(p[2]), StoredTextLookup(set_)).substr(0, 19),
              "...continua\r\n\r\np121");
    EXPECT_NE(Text(p[0]).find("p60"), std::string::npos);
    EXPECT_EQ(Text(p[0]).find("p61"), std::string::npos);
    EXPECT_NE(Text(p[1]).find(">p61"), std::string::npos);

    // Headings 1 and 2 split with limit 2, heading 3 does not; level 2 lines start with ". ".
    TKYTset set(environment_, messages_);
    set.NewDocument();
    RtfImportOptions indexed;
    indexed.buildIndex = true;
    indexed.headingLimit = 2;
    TRtfImp index(set, indexed);
    const std::int32_t first = index.ImportFiles(
        {File("h.rtf", std::string(kHead) +
                           "{\\stylesheet{\\s0 Normal;}{\\s1\\b heading 1;}{\\s2\\i heading 2;}"
                           "{\\s3\\ul heading 3;}}\\pard\\s1 Uno\\par\\pard intro\\par\\pard\\s2 "
                           "Due\\par\\pard\\s3 Tre\\par\\pard\\s1 Quattro\\par}")},
        true);
    ASSERT_EQ(index.ImportedPages.size(), 4u);
    EXPECT_EQ(first, index.ImportedPages[0]);
    const auto pageText = [&](std::int32_t n) {
        Result<std::string> b = set.ObjectByKind(K::testoHtml, n)->ContentBytes();
        return b ? *b : std::string();
    };
    const std::string idx = pageText(first);
    const auto& q = index.ImportedPages;
    const auto line = [&](std::int32_t page, std::string dots) {
        return "<Z S0 >" + dots + "<$00" + Hex8(std::uint32_t(page)).substr(2) + ">" +
               std::to_string(page) + "<%><Z S0 >";
    };
    EXPECT_EQ(idx,
              "<Z S0 >INDICE<Z S0 >" + line(q[1], "") + line(q[2], ". ") + line(q[3], "") + '\0');
    EXPECT_NE(pageText(q[2]).find("Tre"), std::string::npos);
    EXPECT_TRUE(pageText(q[1]).ends_with("<Z S0 ><$00" + Hex8(std::uint32_t(first)).substr(2) +
                                         ">Indice<%><Z S0 >" + '\0'));
}

TEST_F(RtfImportTest, HelpTopicsBecomePagesWithTheirIdsTitlesKeywordsAndLinks) {
    const std::string rtf =
        std::string(kHead) +
        "#{\\footnote # IDH_A}${\\footnote $ Primo argomento}K{\\footnote K uno;due}\n"
        "\\pard Vai {\\uldb al secondo}{\\v IDH_B} o {\\strike al terzo}{\\v idh_c>finestra}, "
        "{\\ul nessuno} e {\\uldb macro}{\\v !Back()}.\\par\\page\n"
        "#{\\footnote # IDH_B}${\\footnote $ Secondo}K{\\footnote K due}\n"
        "\\pard Torna {\\uldb indietro}{\\v IDH_A}.\\par\\page\n"
        "${\\footnote $ Senza id}\\pard niente\\par\\page}";
    RtfImportOptions options;
    options.helpMode = true;
    TRtfImp run(set_, options);
    run.ImportFiles({File("help.rtf", rtf)}, true);
    std::map<std::string, std::int32_t> byContext;
    for (const auto& page : set_.KindList(K::testoHtml))
        if (!page->IsFree()) byContext[PageRecord::Read(*page).HelpContext()] = page->Identifier();
    ASSERT_TRUE(byContext.count("IDH_A") && byContext.count("IDH_B") && byContext.count("idh_c"));
    const std::int32_t a = byContext["IDH_A"], b = byContext["IDH_B"], c = byContext["idh_c"];
    const auto code = [](std::int32_t n) {
        return "<$00" + Hex8(std::uint32_t(n)).substr(2) + ">";
    };
    EXPECT_EQ(PageRecord::Read(*set_.ObjectByKind(K::testoHtml, a)).Title(), "Primo argomento");
    EXPECT_EQ(Text(a), Normal() + ">Vai " + code(b) + "al secondo<%> o " + code(c) +
                           "al terzo<%>, nessuno e macro.");
    EXPECT_EQ(Text(b), Normal() + ">Torna " + code(a) + "indietro<%>.");
    // A link to a topic that never came: a page holding the id it waits for.
    EXPECT_EQ(Text(c), "<Z S0 >idh_c<Z S0 >");
    std::vector<std::string> keywords;
    for (std::int32_t k : PageRecord::Read(*set_.ObjectByKind(K::testoHtml, a)).Keywords())
        if (k != -1)
            keywords.push_back(set_.ObjectByKind(K::keyword, k)->ReadView().PStr(kKeywordText));
    EXPECT_EQ(keywords, (std::vector<std::string>{"uno", "due"}));
    EXPECT_EQ(Live(K::keyword), 2);  // "due" of the second topic is the same keyword
    const std::int32_t bad = run.ImportedPages.back();
    EXPECT_EQ(PageRecord::Read(*set_.ObjectByKind(K::testoHtml, bad)).HelpContext(),
              "BadPageId" + std::to_string(bad));
    // "(" + the first 32 characters of id:number) and dots, then ".." and the title.
    const auto line = [](std::string id, std::int32_t n, std::string title) {
        const std::string head = id + ":" + std::to_string(n) + ")" + std::string(32, '.');
        return "(" + head.substr(0, 32) + ".." + title + "\r\n";
    };
    EXPECT_EQ(line("IDH_A", 7, "T"), "(IDH_A:7)" + std::string(24, '.') + "..T\r\n");
    EXPECT_EQ(run.Report.Text(),
              "  Pagine importate:\r\n" + line("IDH_A", a, "Primo argomento") +
                  line("IDH_B", b, "Secondo") +
                  line("BadPageId" + std::to_string(bad), bad, "Senza id") +
                  "  Parole chiave importate:\r\nuno\r\ndue\r\n"
                  "  Collegamenti non importati:\r\nnessuno\r\nmacro (!Back())\r\n");
}

TEST_F(RtfImportTest, OurOwnRtfComesBackWithItsWordsRunsAndStyles) {
    FixedMetrics metrics;
    MakeSampleHypertext(set_);
    TKYTtortf rtf(&set_, metrics);
    for (const auto& page : set_.KindList(K::testoHtml)) {
        if (page->IsFree()) continue;
        const std::int32_t number = page->Identifier();
        rtf.ExportFileName = NameOfPath(TestDir() / ("p" + std::to_string(number) + ".rtf"));
        ASSERT_TRUE(rtf.ExportPage(number));
        TKYTset back(environment_, messages_);
        back.NewDocument();
        TRtfImp run(back, {});
        const std::int32_t made = run.ImportFiles({rtf.ExportFileName}, false);
        const auto words = [](std::string s) {
            std::replace_if(
                s.begin(), s.end(), [](char c) { return c == '\r' || c == '\n' || c == '\t'; },
                ' ');
            std::string out;
            for (char c : s)
                if (c != ' ' || (!out.empty() && out.back() != ' ')) out += c;
            while (!out.empty() && out.back() == ' ') out.pop_back();
            return out;
        };
        EXPECT_EQ(words(PageText(back, made)), words(PageText(set_, number))) << number;
        if (number != 0) continue;
        Result<std::string> markup = back.ObjectByKind(K::testoHtml, made)->ContentBytes();
        ASSERT_TRUE(markup);
        for (std::string_view run :
             {"<Y y1 >grassetto", "<Y y2 >corsivo", "F\"Courier New\" >un altro carattere"})
            EXPECT_NE(markup->find(run), std::string::npos) << run << "\n" << Escaped(*markup);
        // The paragraph styles the page uses come back under their names.
        Result<std::string> original = page->ContentBytes();
        ASSERT_TRUE(original);
        int styles = 0;
        for (const std::string& name : StyleNames(set_)) {
            const TKYToggetto* style = StyleByName(set_, name);
            if (name.starts_with("[") ||
                original->find("<Z S" + std::to_string(StyleNumber(*style)) + " ") ==
                    std::string::npos)
                continue;
            ++styles;
            const TKYToggetto* copy = StyleByName(back, name);
            ASSERT_TRUE(copy) << name;
            EXPECT_NE(markup->find("<Z S" + std::to_string(StyleNumber(*copy)) + " "),
                      std::string::npos)
                << name;
        }
        EXPECT_GE(styles, 2);
    }
}

// The whole hypertext in one RTF file, split again at its sections: every page is titled by
// its own first paragraph (never by two paragraphs run together), header and footer pieces
// included, and the body pages come back in order.
TEST_F(RtfImportTest, OurWholeDocumentRtfSplitsIntoPagesTitledByTheirFirstParagraph) {
    FixedMetrics metrics;
    MakeSampleHypertext(set_);
    TKYTtortf rtf(&set_, metrics);
    rtf.ExportFileName = NameOfPath(TestDir() / "whole.rtf");
    std::vector<std::int32_t> pages;
    for (const auto& page : set_.KindList(K::testoHtml))
        if (!page->IsFree()) pages.push_back(page->Identifier());
    ASSERT_TRUE(rtf.ExportPages(pages));
    // The first line of a page's text, after the "...continua" link to the page before.
    const auto firstLine = [](std::string text) {
        if (text.starts_with("...continua")) text.erase(0, 11);
        std::size_t start = text.find_first_not_of("\r\n ");
        if (start == std::string::npos) return std::string();
        const std::size_t end = text.find_first_of("\r\n", start);
        std::string line = text.substr(start, end == std::string::npos ? end : end - start);
        while (!line.empty() && line.back() == ' ') line.pop_back();
        return line.substr(0, kPageTitleLength);
    };
    // Into a hypertext that has a page already: the empty header and footer groups of the
    // first section make no pages.
    TKYTset back(environment_, messages_);
    back.NewDocument();
    const std::int32_t before = NewImportedPage(back, "<Z S0 >Prima<Z S0 >", 0xFFFFFF, -1);
    PageRecord(*back.ObjectByKind(K::testoHtml, before)).SetTitle("Prima");
    TRtfImp run(back, {});
    run.ImportFiles({rtf.ExportFileName}, true);
    ASSERT_EQ(run.ImportedPages.size(), pages.size() + 2);
    std::vector<std::string> titles;
    for (const auto& page : back.KindList(K::testoHtml)) {
        if (page->IsFree()) continue;
        const std::string title = PageRecord(*page).Title();
        EXPECT_NE(title, "Senza titolo") << page->Identifier();
        EXPECT_EQ(title, firstLine(PageText(back, page->Identifier()))) << page->Identifier();
        titles.push_back(title);
    }
    // The body pages in export order, with the header and footer pages of the one section that
    // changes them in between.
    std::size_t at = 0;
    for (std::int32_t number : pages) {
        const std::string expected = firstLine(PageText(set_, number));
        while (at < titles.size() && titles[at] != expected) ++at;
        ASSERT_LT(at, titles.size()) << "page " << number << " \"" << expected << "\" is missing";
        ++at;
    }
    EXPECT_EQ(titles.size(), 1 + pages.size() + 2);
}

TEST_F(RtfImportTest, OurHelpRtfComesBackWithTitlesKeywordsIdsAndLinks) {
    FixedMetrics metrics;
    MakeSampleHypertext(set_);
    TKYTtortf rtf(&set_, metrics);
    rtf.ExportFileName = NameOfPath(TestDir() / "guida.rtf");
    std::vector<std::int32_t> pages;
    for (const auto& page : set_.KindList(K::testoHtml))
        if (!page->IsFree()) pages.push_back(page->Identifier());
    ASSERT_TRUE(rtf.ExportHelp(pages));
    TKYTset back(environment_, messages_);
    back.NewDocument();
    RtfImportOptions options;
    options.helpMode = true;
    TRtfImp run(back, options);
    run.ImportFiles({rtf.ExportFileName}, true);
    // Each page comes back with its title, context id and keywords; each link to a page
    // leads to the page of the same title.
    std::map<std::string, const TKYToggetto*> imported;  // by title
    for (const auto& page : back.KindList(K::testoHtml))
        if (!page->IsFree()) imported[PageRecord::Read(*page).Title()] = page.get();
    const auto keywordsOf = [](const TKYTset& set, const TKYToggetto& page) {
        std::vector<std::string> words;
        for (std::int32_t k : PageRecord::Read(page).Keywords())
            if (k != -1)
                words.push_back(
                    set.ObjectByKind(K::keyword, CodeIdentifier(k))->ReadView().PStr(kKeywordText));
        std::sort(words.begin(), words.end());
        return words;
    };
    // A special link showing a page (the form page's popup) comes back as a jump to it.
    const auto linkTitles = [](const TKYTset& set, const std::string& markup) {
        std::vector<std::string> titles;
        for (std::size_t at = markup.find("<$"); at != std::string::npos;
             at = markup.find("<$", at + 1)) {
            std::uint32_t code = 0;
            if (ParseHex(std::string_view(markup).substr(at + 2, 8), 8, code) != 8) continue;
            std::int32_t page = std::int32_t(code);
            if (CodeKind(page) == KindIndex(K::speclink)) {
                const TKYToggetto* link = set.ObjectByKind(K::speclink, CodeIdentifier(page));
                page = link ? link->ReadView().I32(kSpecTarget) : -1;
            }
            if (CodeKind(page) != KindIndex(K::testoHtml)) continue;
            const TKYToggetto* target = set.ObjectByKind(K::testoHtml, CodeIdentifier(page));
            titles.push_back(target ? PageRecord::Read(*target).Title() : "?");
        }
        return titles;
    };
    int compared = 0;
    for (std::int32_t number : pages) {
        const TKYToggetto& page = *set_.ObjectByKind(K::testoHtml, number);
        const std::string title = PageRecord::Read(page).Title();
        ASSERT_TRUE(imported.count(title)) << title;
        const TKYToggetto& copy = *imported[title];
        EXPECT_EQ(PageRecord::Read(copy).HelpContext(), rtf.ContextIdOf(page));
        EXPECT_EQ(keywordsOf(back, copy), keywordsOf(set_, page)) << title;
        Result<std::string> original = page.ContentBytes(), again = copy.ContentBytes();
        ASSERT_TRUE(original && again);
        EXPECT_EQ(linkTitles(back, *again), linkTitles(set_, *original)) << title;
        ++compared;
    }
    EXPECT_GE(compared, 5);
    EXPECT_EQ(run.Report.pages.size(), pages.size());
}

// A word processor that "converts" by writing a small RTF of the document's name.
class RtfWriterProcessor final : public IWordProcessor {
public:
    bool available = true;
    std::vector<std::string> formats;
    bool Available() const override { return available; }
    Result<std::filesystem::path> Convert(const std::filesystem::path& file,
                                          std::string_view format,
                                          const std::filesystem::path& folder) override {
        formats.emplace_back(format);
        const std::filesystem::path out = folder / (file.stem().string() + ".rtf");
        WriteFile(out, "{\\rtf1 dal documento " + file.stem().string() + "}");
        return out;
    }
};

TEST_F(RtfImportTest, DocumentsGoThroughTheWordProcessorAndLeaveNoTemporaryFile) {
    RtfWriterProcessor processor;
    TRtfImp run(set_, {});
    const std::int32_t page = run.ImportDocuments({File("lettera.docx", "PK")}, false, processor);
    EXPECT_EQ(processor.formats, std::vector<std::string>{"rtf"});
    EXPECT_EQ(PageText(set_, page), "dal documento lettera");
    EXPECT_FALSE(std::filesystem::exists(set_.WorkingDirectory() / "rtftmpI"));
    processor.available = false;
    TRtfImp none(set_, {});
    EXPECT_EQ(none.ImportDocuments({File("altro.doc", "x")}, false, processor), 0);
    EXPECT_EQ(none.Failures, std::vector<std::string>{std::string(kNoWordProcessor)});
}

}  // namespace
}  // namespace orvo

// The web-page import: exact markup of text, formatting, paragraphs and tables; links,
// pictures and maps; the head; reads that would leave the import's folder; linked pages and
// their links after an import; the round trip of our own export.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "base/Cp1252.h"
#include "base/Format.h"
#include "base/Paths.h"
#include "convert/HtmlExport.h"
#include "convert/HtmlImport.h"
#include "convert/HtmlOpenChooser.h"
#include "convert/TextExport.h"
#include "model/ObjectRecord.h"
#include "model/ParaStyle.h"
#include "model/SampleHypertext.h"
#include "model/StyleRecord.h"
#include "model/StyleTable.h"
#include "model/TextForms.h"
#include "model/uKYTogge.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "objects/ImageRecord.h"
#include "platform/Environment.h"
#include "platform/FixedMetrics.h"
#include "platform/IMessages.h"
#include "support/TestSupport.h"

namespace orvo {
namespace {

using namespace orvo::test;
using K = TOggettiHel;

constexpr std::string_view kPlain = "<Y c000000 F\"Times New Roman\" s12 y0 p0 >";

struct Fixture {
    FixedEnvironment environment;
    RecordingMessages messages;
    TKYTset set{environment, messages};
    Fixture() { set.NewDocument(); }
    std::string Markup(std::string_view html, const std::filesystem::path& file = "/none/p.html") {
        THt2Imp run(set);
        return run.Scan(html, NameOfPath(file)).markup;
    }
    int Live(K kind) const {
        int n = 0;
        for (const auto& o : set.KindList(kind))
            if (o && !o->IsFree()) ++n;
        return n;
    }
};

// The text after the first paragraph head, without character codes.
std::string Words(std::string markup) {
    std::string out;
    for (std::size_t i = 0; i < markup.size(); ++i) {
        if (markup.compare(i, 2, "<Y") == 0) {
            i = markup.find('>', i);
            continue;
        }
        if (markup.compare(i, 2, "<Z") == 0) {
            out += '|';
            i = markup.find('>', i);
            continue;
        }
        out += markup[i];
    }
    return out;
}

TEST(HtmlImport, TextSpacesAndParagraphsAsTheScanReadsThem) {
    struct Case {
        const char* html;
        const char* words;
    };
    const Case cases[] = {
        {"a   b", "|a b"},
        {"<pre>a   b\nc</pre>", "|a   b|c"},
        {"one\ntwo", "|one two"},
        {"<p>one<p>two", "|one||two"},
        {"<p>one</p><p>two</p>", "|one|two"},
        {"x &amp; &lt;y&gt; &euro;&#8364;&#x41E;&#128;", "|x &amp; &lt;y&gt; \x80\x80?\x80"},
        {"a&bogus;b", "|a&amp;bogus;b"},
        {"<h1>T</h1>body", "|T|body"},
        {"<br>a<br>b", "||a|b"},
        {"<ul><li>one<li>two</ul>", "|one|two"},
        {"a<!-- c -->b", "|a<$0b000000>b"},
        {"</b></i></p></table></td>x", "|x"},
    };
    for (const Case& c : cases) {
        Fixture f;
        EXPECT_EQ(Escaped(Words(f.Markup(c.html))), Escaped(c.words)) << c.html;
    }
}

TEST(HtmlImport, CharacterLevelsEndTheMostRecentStart) {
    Fixture f;
    const std::string m = f.Markup("<b>x<i>y</b>z</i>w");
    const std::string bold = "<Y c000000 F\"Times New Roman\" s12 y1 p0 >";
    const std::string both = "<Y c000000 F\"Times New Roman\" s12 y3 p0 >";
    // The pending paragraph is written before x, with the format then in force.
    EXPECT_EQ(m, "<Z S0 A0 >" + bold + "x" + both + "y" + bold + "z" + std::string(kPlain) + "w");
    Fixture g;
    EXPECT_EQ(g.Markup("<font face=\"Arial, Helvetica\" size=+1 color=#00FF00>f</font>"
                       "<sub>2</sub>"),
              "<Z S0 A0 ><Y c00FF00 F\"Arial\" s14 y0 p0 >f" + std::string(kPlain) +
                  "<Y c000000 F\"Times New Roman\" s10 y0 p1 >2" + std::string(kPlain));
}

TEST(HtmlImport, TablesGetEveryCellTheirSizeExpects) {
    Fixture f;
    const std::string m = f.Markup(
        "<table width=50%><tr><td width=20>a</td><td>b</td></tr>"
        "<tr><td>c</td></tr><tr><td>d<td>e<td>f</table>after");
    ASSERT_EQ(f.Live(K::tabellaHtml), 1);
    const TKYToggetto& t = *f.set.KindList(K::tabellaHtml).back();
    EXPECT_EQ(t.ReadView().U8(kTableRows), 3);
    EXPECT_EQ(t.ReadView().U8(kTableColumns), 2);
    EXPECT_EQ(t.ReadView().U8(kTablePercent), 50);
    EXPECT_EQ(t.ReadView().I16At(kTableColumnWidths), 20);
    // The short row gets a placeholder; the surplus cell writes no <T>, so its text runs on
    // past the table's last cell.
    EXPECT_EQ(Words(m), "|<$08000000>|a<T>|b<T>|c<T>|<patchtr><T>|d<T>|e<T>|f |after");
    Fixture g;
    g.Markup("<table></table><table><tr></tr></table>x");
    EXPECT_EQ(g.Live(K::tabellaHtml), 0);
    Fixture h;  // left open at the end of the file
    EXPECT_EQ(Words(h.Markup("<table><tr><td>a<td>b<tr><td>c")),
              "|<$08000000>|a<T>|b<T>|c|<T>|<T>|");
}

TEST(HtmlImport, LinksPicturesAndMaps) {
    Fixture f;
    const std::filesystem::path dir = TestDir() / "links";
    // A red pixel.
    WriteFile(dir / "outside.gif",
              std::string("GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\x00\x00\x00\x00\x00,"
                          "\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;",
                          35));
    std::filesystem::create_directories(dir / "site");
    std::filesystem::copy_file(dir / "outside.gif", dir / "site" / "in.gif");
    const std::string m = f.Markup(
        "<img src=in.gif usemap=#m><map name=m><area href=b.html coords=1,2,31,4>"
        "<area href=\"mailto:x@y\"></map><img src=in.gif usemap=#M width=7 alt=\"Alt\">"
        "<img src=../outside.gif><img src=\"" +
            NameOfPath(dir / "outside.gif") +
            "\">"
            "<img src=\"file:" +
            NameOfPath(dir / "outside.gif") +
            "\">"
            "<a href=b.html>B</a><a href=\"../up.html\">U</a><a href=\"http://e/x.html\">E</a>",
        dir / "site" / "p.html");
    // Three pictures refused for leaving the folder; two images of one picture.
    EXPECT_EQ(Words(m).substr(Words(m).find("[i]")),
              "[i] [i] [i] <$0a000001>B<%><$01000001>U<%>"
              "<$01000002>E<%>");
    ASSERT_EQ(f.Live(K::immagineNew), 2);
    EXPECT_EQ(f.Live(K::immagine), 1);
    const ImageRecord first(*f.set.KindList(K::immagineNew)[0]);
    const ImageRecord second(*f.set.KindList(K::immagineNew)[1]);
    EXPECT_EQ(first.ZoneCount(), 0);  // the map came after it
    ASSERT_EQ(second.ZoneCount(), 2);
    EXPECT_EQ(second.Zone(0).left, 1);
    EXPECT_EQ(second.Zone(0).width, 30);
    EXPECT_EQ(second.Zone(0).height, 5);
    EXPECT_EQ(second.Zone(1).left, 10);
    EXPECT_EQ(second.Width(), 7);
    EXPECT_EQ(second.AlternativeText(), "Alt");
    const TKYToggetto& special = *f.set.KindList(K::speclink)[1];
    EXPECT_EQ(special.Subtype(), 6);
    EXPECT_EQ(*special.ContentBytes(), NameOfPath(dir / "site" / "b.html"));
    EXPECT_EQ(f.set.KindList(K::internetLink)[1]->Name(), "../up.html");
}

TEST(HtmlImport, HeadBecomesTitleKeywordsAndHeadCode) {
    const std::filesystem::path dir = TestDir() / "head";
    WriteFile(dir / "p.html",
              "<!DOCTYPE html><html><head><title>Caf&eacute;\n bar</title>"
              "<meta name=keywords content=\"one, two;three\"><meta name=generator content=x>"
              "<meta name=author content=me><script>var a=1;</script><!--pageOrvo=\"1;x\"-->"
              "</head><body bgcolor=#102030>a&nbsp;&nbsp;&nbsp;b</body></html>");
    Fixture f;
    THt2Imp run(f.set);
    const std::int32_t page = run.ImportFiles({NameOfPath(dir / "p.html")});
    const PageRecord record = PageRecord::Read(*f.set.ObjectByKind(K::testoHtml, page));
    EXPECT_EQ(record.Title(), "Caf\xE9 bar");
    EXPECT_EQ(record.BackgroundColour(), 0x302010);
    std::vector<std::string> words;
    for (std::int32_t k : record.Keywords())
        if (k >= 0) words.push_back(f.set.ObjectByKind(K::keyword, k)->Name());
    EXPECT_EQ(words, (std::vector<std::string>{"one", "two", "three"}));
    EXPECT_EQ(ImportedFileOf(f.set, page), NameOfPath(dir / "p.html"));
    EXPECT_EQ(f.set.ObjectByKind(K::testoHtml, page)->AuxiliaryCode(),
              "<meta name=author content=me>\r\n<script>var a=1;</script>\r\n");
    // The doctype is an annotation; the marked page's runs of entities alternate.
    const std::string text = *f.set.ObjectByKind(K::testoHtml, page)->ContentBytes();
    EXPECT_EQ(Words(text), "|<$0b000000>a \xA0 b" + std::string(1, '\0'));
    ASSERT_EQ(f.set.KindList(K::shortObj).size(), 1u);
    EXPECT_EQ(*f.set.KindList(K::shortObj)[0]->Auxiliary(), "n.n.\r\nDOCTYPE html");
}

// The objects an import makes take the first free entries of their kinds: the holes the
// document had, then an entry freed earlier in the same run (a table left empty at the end of
// one page), before new entries at the end of the list.
TEST(HtmlImport, ObjectsTakeTheFirstFreeEntriesOfTheirKinds) {
    Fixture f;
    std::vector<TKYToggetto*> made;
    for (int i = 0; i < 4; ++i) {
        auto link = NewObjectOfKind(K::speclink, &f.set);
        link->Clear();
        link->TakeIntoUse();
        made.push_back(link.get());
        f.set.Register(std::move(link));
    }
    const std::int32_t hole1 = made[1]->Identifier(), hole2 = made[2]->Identifier();
    f.set.Unregister(*made[2]);
    f.set.Unregister(*made[1]);
    const std::size_t links = f.set.KindList(K::speclink).size();
    const std::size_t tables = f.set.KindList(K::tabellaHtml).size();
    const std::filesystem::path dir = TestDir() / "entries";
    WriteFile(dir / "a.html", "<table></table><a href=b.html>B</a><a href=c.html>C</a>");
    WriteFile(dir / "b.html", "<table><tr><td>x</td></tr></table><a href=d.html>D</a>");
    THt2Imp run(f.set, {false, 0xFFFFFF, -1, dir});
    run.ImportFiles({NameOfPath(dir / "a.html"), NameOfPath(dir / "b.html")});
    ASSERT_EQ(run.ImportedPages.size(), 2u);
    auto text = [&](int i) {
        return *f.set.ObjectByKind(K::testoHtml, run.ImportedPages[std::size_t(i)])->ContentBytes();
    };
    auto code = [](K kind, std::size_t id) {
        return "<$" + Hex8(std::uint32_t(MakeCode(kind, std::int32_t(id)))) + ">";
    };
    EXPECT_NE(text(0).find(code(K::speclink, std::size_t(hole1)) + "B<%>" +
                           code(K::speclink, std::size_t(hole2)) + "C<%>"),
              std::string::npos)
        << Escaped(text(0));
    EXPECT_NE(text(1).find(code(K::tabellaHtml, tables)), std::string::npos) << Escaped(text(1));
    EXPECT_NE(text(1).find(code(K::speclink, links) + "D<%>"), std::string::npos)
        << Escaped(text(1));
    EXPECT_EQ(f.set.KindList(K::tabellaHtml).size(), tables + 1);
    EXPECT_EQ(f.set.KindList(K::speclink).size(), links + 1);
}

TEST(HtmlImport, PreviewStopsNearFiveThousandCharacters) {
    std::string big;
    for (int i = 0; i < 3000; ++i) big += "<p>paragraph " + std::to_string(i);
    Fixture f;
    HtmlImportOptions options;
    options.ImpPreview = true;
    THt2Imp run(f.set, options);
    const std::size_t size = run.Scan(big, "/none/p.html").markup.size();
    EXPECT_GT(size, 4999u);
    EXPECT_LT(size, 5200u);
}

TEST(HtmlImport, CharsetsBecomeWindows1252) {
    EXPECT_EQ(HtmlBytesToCp1252("<meta charset=utf-8>caf\xC3\xA9 \xE2\x82\xAC \xD0\x9E"),
              "<meta charset=utf-8>caf\xE9 \x80 ?");
    EXPECT_EQ(HtmlBytesToCp1252("<meta http-equiv=content-type content='text/html; "
                                "charset=ISO-8859-15'>\xA4"),
              "<meta http-equiv=content-type content='text/html; charset=ISO-8859-15'>\x80");
    EXPECT_EQ(HtmlBytesToCp1252("<meta charset=koi8-r>\xEF"), "<meta charset=koi8-r>?");
    EXPECT_EQ(HtmlBytesToCp1252("<meta charset=windows-1252>\x80\xE9"),
              "<meta charset=windows-1252>\x80\xE9");
    EXPECT_EQ(HtmlBytesToCp1252("no charset caf\xC3\xA9"), "no charset caf\xE9");
    EXPECT_EQ(HtmlBytesToCp1252("no charset caf\xE9"), "no charset caf\xE9");
}

// Every way a page names another file (a picture, its low-resolution version, a table's, a
// cell's or the page's background, a style sheet, a linked page), written as leaving the root
// folder in each form ("../", absolute, "file:", "file://", "..\\", a climb through a folder):
// nothing outside is read, the link stays a web link. The same names inside are read, which
// shows the page would have read them.
TEST(HtmlImport, NamesThatLeaveTheRootFolderAreNeverRead) {
    const std::filesystem::path dir = TestDir() / "root-folder";
    const std::string gif(
        "GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\x00\x00\x00\x00\x00,"
        "\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;",
        35);
    const std::string css = "\n/* Fuori */\nDIV.fuori { font-size: 31pt; color: #FF0000 }\n";
    for (const std::filesystem::path& folder : {dir, dir / "site", dir / "site" / "sub"}) {
        WriteFile(folder / "x.gif", gif);
        WriteFile(folder / "x.css", css);
        WriteFile(folder / "x.html", "<p>x</p>");
    }
    auto page = [](const std::string& stem) {
        return "<html><head><link rel=stylesheet href=\"" + stem +
               ".css\"></head>"
               "<body background=\"" +
               stem + ".gif\"><img src=\"" + stem +
               ".gif\">"
               "<img src=\"" +
               stem + ".gif?v=1\" lowsrc=\"" + stem +
               ".gif\">"
               "<table background=\"" +
               stem + ".gif\"><tr><td background=\"" + stem +
               ".gif\">c</td></tr></table><a href=\"" + stem + ".html\">L</a></body></html>";
    };
    const std::string outside = NameOfPath(dir / "x");
    const int speclinks = Fixture().Live(K::speclink), webLinks = Fixture().Live(K::internetLink);
    for (const std::string& stem :
         {std::string("../x"), outside, "file:" + outside, "file://" + outside,
          std::string("..\\x"), std::string("sub/../../x"), std::string("sub/../../site/../x")}) {
        Fixture f;
        WriteFile(dir / "site" / "p.html", page(stem));
        THt2Imp run(f.set, {false, 0xFFFFFF, -1, dir / "site"});
        run.ImportFiles({NameOfPath(dir / "site" / "p.html")});
        ASSERT_EQ(run.ImportedPages.size(), 1u) << stem;
        EXPECT_LT(PageRecord::Read(*f.set.ObjectByKind(K::testoHtml, run.ImportedPages[0]))
                      .BackgroundPicture(),
                  0)
            << stem;
        EXPECT_EQ(f.Live(K::immagine), 0) << stem;
        EXPECT_EQ(f.Live(K::immagineNew), 0) << stem;
        EXPECT_EQ(StyleByName(f.set, "Fuori"), nullptr) << stem;
        EXPECT_EQ(f.Live(K::speclink), speclinks) << stem;
        EXPECT_EQ(f.Live(K::internetLink), webLinks + 1) << stem;
        const std::string text =
            *f.set.ObjectByKind(K::testoHtml, run.ImportedPages[0])->ContentBytes();
        EXPECT_NE(text.find("[i] [i] "), std::string::npos) << stem;
    }
    for (const std::string& stem : {std::string("x"), std::string("sub/x"), std::string("sub/../x"),
                                    "file:" + NameOfPath(dir / "site" / "x")}) {
        Fixture f;
        WriteFile(dir / "site" / "p.html", page(stem));
        THt2Imp run(f.set, {false, 0xFFFFFF, -1, dir / "site"});
        run.ImportFiles({NameOfPath(dir / "site" / "p.html")});
        ASSERT_EQ(run.ImportedPages.size(), 1u) << stem;
        const PageRecord record =
            PageRecord::Read(*f.set.ObjectByKind(K::testoHtml, run.ImportedPages[0]));
        // Background and images read; "file:" is no picture name for the page's background.
        EXPECT_EQ(f.Live(K::immagine), 1) << stem;
        EXPECT_EQ(f.Live(K::immagineNew), 2) << stem;
        EXPECT_EQ(record.BackgroundPicture() >= 0, !stem.starts_with("file:")) << stem;
        EXPECT_NE(StyleByName(f.set, "Fuori"), nullptr) << stem;
        EXPECT_EQ(f.Live(K::speclink), speclinks + 1) << stem;
        EXPECT_EQ(f.Live(K::internetLink), webLinks) << stem;
    }
}

TEST(HtmlImport, LinkedPagesAreCollectedByLevelAndLinkedAfterTheImport) {
    const std::filesystem::path dir = TestDir() / "site";
    WriteFile(dir / "root.html",
              "<a href=a.html>A</a><a href=\"b.html#x\">B</a><frame src=a.html>"
              "<a href=../out.html>O</a><a href=/etc/x.html>X</a>");
    WriteFile(dir / "a.html",
              "<a href=b.html>B</a><a href=sub/c.html>C</a><a href=root.html>R</a>");
    WriteFile(dir / "b.html", "<base href=sub/><a href=c.html>C</a><a href=third.html>T</a>");
    WriteFile(dir / "sub/c.html", "<a href=\"../a.html\">A</a>");
    WriteFile(TestDir() / "out.html", "<a href=site/root.html>R</a>");
    const std::string root = NameOfPath(dir / "root.html");
    auto collect = [&](int levels) {
        std::vector<std::string> pages;
        CollectLinkedPages(root, pages, levels);
        for (std::string& p : pages) p = NameOfPath(NativePath(p).lexically_relative(dir));
        return pages;
    };
    EXPECT_EQ(collect(0), std::vector<std::string>{});
    EXPECT_EQ(collect(1), std::vector<std::string>{});
    EXPECT_EQ(collect(2), (std::vector<std::string>{"a.html", "b.html"}));
    EXPECT_EQ(collect(9),
              (std::vector<std::string>{"a.html", "b.html", "sub/c.html", "sub/third.html"}));

    Fixture f;
    // As the dialog's list: the root, then the pages collected from it.
    std::vector<std::string> pages;
    CollectLinkedPages(root, pages, 9);
    pages.insert(pages.begin(), root);
    THt2Imp run(f.set, {false, 0xFFFFFF, -1, dir});
    run.ImportFiles(pages);
    ResolveImportedLinks(f.set);
    ASSERT_EQ(run.ImportedPages.size(), 4u);  // sub/third.html does not exist
    auto text = [&](int i) {
        return *f.set.ObjectByKind(K::testoHtml, run.ImportedPages[std::size_t(i)])->ContentBytes();
    };
    auto code = [&](int i) {
        return "<$00" + Hex8(std::uint32_t(run.ImportedPages[std::size_t(i)])).substr(2) + ">";
    };
    EXPECT_NE(text(0).find(code(1) + "A<%>"), std::string::npos) << Escaped(text(0));
    EXPECT_NE(text(1).find(code(0) + "R<%>"), std::string::npos) << Escaped(text(1));
    EXPECT_NE(text(3).find(code(1) + "A<%>"), std::string::npos) << Escaped(text(3));
    // The link to a page not imported stays a special link of automatic import.
    const std::size_t t = text(2).find("T<%>");
    ASSERT_NE(t, std::string::npos);
    const std::int32_t left = std::int32_t(std::stoul(text(2).substr(t - 9, 8), nullptr, 16));
    EXPECT_EQ(CodeKind(left), KindIndex(K::speclink));
    // Links that leave the folder are web links, never pages.
    EXPECT_NE(text(0).find("O<%>"), std::string::npos);
    for (const auto& l : f.set.KindList(K::speclink)) {
        if (!l || l->IsFree()) continue;
        EXPECT_TRUE(InsideFolder(NativePath(*l->ContentBytes()), dir));
    }
}

TEST(HtmlImport, ExportedSampleComesBackWithTitlesKeywordsStylesWordsAndLinks) {
    Fixture source;
    MakeSampleHypertext(source.set);
    TKYTtoHtml exporter(&source.set);
    const std::filesystem::path out = TestDir() / "roundtrip";
    exporter.ExportPath = NameOfPath(out);
    std::vector<TKYToggetto*> images;
    ASSERT_TRUE(exporter.ExportAllPages(images));
    ASSERT_TRUE(exporter.WriteObjectFiles(images));

    Fixture back;
    std::vector<std::string> files;
    std::vector<std::int32_t> sourcePages;
    for (const auto& page : source.set.KindList(K::testoHtml)) {
        if (!page || page->IsFree()) continue;
        const std::string file = exporter.ObjectFileName(*page, 0);
        if (file.empty() || !std::filesystem::exists(out / NativePath(file))) continue;
        files.push_back(NameOfPath(out / NativePath(file)));
        sourcePages.push_back(page->Identifier());
    }
    ASSERT_GE(files.size(), 5u);
    THt2Imp run(back.set, {false, 0xFFFFFF, -1, out});
    run.ImportFiles(files);
    ResolveImportedLinks(back.set);
    ASSERT_EQ(run.ImportedPages.size(), files.size());
    auto keywords = [](const TKYTset& set, std::int32_t page) {
        std::vector<std::string> words;
        for (std::int32_t k : PageRecord::Read(*set.ObjectByKind(K::testoHtml, page)).Keywords())
            if (k >= 0 && set.ObjectByKind(K::keyword, k))
                words.push_back(set.ObjectByKind(K::keyword, k)->Name());
        return words;
    };
    // Words: the plain text with runs of blanks as one (the export writes a paragraph's end
    // as a no-break space).
    auto words = [](std::string text) {
        std::string out;
        for (char c : text) {
            const bool blank = static_cast<unsigned char>(c) <= ' ' || c == '\xA0';
            if (blank && (out.empty() || out.back() == ' ')) continue;
            out += blank ? ' ' : c;
        }
        while (!out.empty() && out.back() == ' ') out.pop_back();
        return out;
    };
    // The letters of a page's text (no blanks, no object codes), each with the bold, italic,
    // underline and strike bits and the position in force: its paragraph style's bits, unless
    // a character code gives others. (The export writes a letter's font, size and colour in
    // FONT tags, which a paragraph of a style-sheet class does not read: they come back only
    // through the paragraph's style.)
    FixedMetrics metrics;
    auto runs = [&](TKYTset& set, std::int32_t page) {
        // The value of a code's field named by `letter` (a font name in quotes skipped whole).
        auto field = [](std::string_view code, char letter) -> std::optional<std::string> {
            for (std::size_t at = 2; at + 1 < code.size();) {
                if (code[at] == ' ') {
                    ++at;
                    continue;
                }
                const char name = code[at++];
                std::size_t end = code[at] == '"' ? code.find('"', at + 1) + 1 : code.find(' ', at);
                end = std::min(end == 0 ? code.size() - 1 : end, code.size() - 1);
                if (name == letter) return std::string(code.substr(at, end - at));
                at = end;
            }
            return std::nullopt;
        };
        std::vector<std::pair<char, std::string>> letters;
        const std::string text =
            WorkingMarkupOfPage(set, *set.ObjectByKind(K::testoHtml, page), metrics);
        std::string styleBits = "0", format = "0|0";
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '<') {
                const std::size_t end = text.find('>', i);
                if (end == std::string::npos) break;
                const std::string_view code = std::string_view(text).substr(i, end + 1 - i);
                if (code.starts_with("<Z")) {
                    const TKYToggetto* style =
                        StyleByNumber(set, std::stoi(field(code, 'S').value_or("0")));
                    if (!style) style = StyleByNumber(set, 0);
                    styleBits = std::to_string(
                        StyleRecord(const_cast<TKYToggetto*>(style)->Record()).StyleBits());
                    format = styleBits + "|0";
                }
                if (code.starts_with("<Y"))
                    format =
                        field(code, 'y').value_or(styleBits) + "|" + field(code, 'p').value_or("0");
                i = end;
                continue;
            }
            const unsigned char c = static_cast<unsigned char>(text[i]);
            if (c > ' ' && c != 0xA0) letters.emplace_back(text[i], format);
        }
        return letters;
    };
    std::map<std::int32_t, std::int32_t> pageOf;
    for (std::size_t i = 0; i < files.size(); ++i) pageOf[sourcePages[i]] = run.ImportedPages[i];
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::int32_t a = sourcePages[i], b = run.ImportedPages[i];
        const PageRecord ra = PageRecord::Read(*source.set.ObjectByKind(K::testoHtml, a));
        const PageRecord rb = PageRecord::Read(*back.set.ObjectByKind(K::testoHtml, b));
        EXPECT_EQ(rb.Title(), ra.Title()) << files[i];
        EXPECT_EQ(keywords(back.set, b), keywords(source.set, a)) << files[i];
        // The export writes the header and footer pages into every page, and they come back
        // as the page's own text around it.
        const TKYToggetto& page = *source.set.ObjectByKind(K::testoHtml, a);
        std::string expected;
        for (std::int32_t part :
             {HeaderPageOf(source.set, page), a, FooterPageOf(source.set, page)})
            if (part >= 0) expected += " " + PageText(source.set, part);
        EXPECT_EQ(words(PageText(back.set, b)), words(expected)) << files[i];
        // Runs: each letter with the bits and position it has in the source.
        std::vector<std::pair<char, std::string>> expectedRuns;
        for (std::int32_t part :
             {HeaderPageOf(source.set, page), a, FooterPageOf(source.set, page)})
            if (part >= 0) {
                const auto partRuns = runs(source.set, part);
                expectedRuns.insert(expectedRuns.end(), partRuns.begin(), partRuns.end());
            }
        const auto gotRuns = runs(back.set, b);
        std::size_t same = 0;
        while (same < gotRuns.size() && same < expectedRuns.size() &&
               gotRuns[same] == expectedRuns[same])
            ++same;
        auto around = [&](const std::vector<std::pair<char, std::string>>& letters) {
            std::string shown;
            for (std::size_t k = same >= 8 ? same - 8 : 0; k < letters.size() && k < same + 8; ++k)
                shown += std::string(1, letters[k].first) + "{" + letters[k].second + "}";
            return shown;
        };
        EXPECT_TRUE(same == gotRuns.size() && same == expectedRuns.size())
            << files[i] << " differs at letter " << same << "\n  got:      " << around(gotRuns)
            << "\n  expected: " << around(expectedRuns);
    }
    // Every named style of the source is back with its name and character format.
    for (const auto& style : source.set.KindList(K::stileParagrafo)) {
        if (!style || style->IsFree()) continue;
        const StyleRecord a(style->Record());
        const TKYToggetto* found = nullptr;
        for (const auto& s : back.set.KindList(K::stileParagrafo))
            if (s && !s->IsFree() && SameText1252(StyleRecord(s->Record()).Name(), a.Name()))
                found = s.get();
        ASSERT_NE(found, nullptr) << a.Name();
        const StyleRecord b(const_cast<TKYToggetto*>(found)->Record());
        EXPECT_EQ(b.FontName(), a.FontName()) << a.Name();
        EXPECT_EQ(b.Size(), a.Size()) << a.Name();
        EXPECT_EQ(b.Colour(), a.Colour()) << a.Name();
        EXPECT_EQ(b.StyleBits(), a.StyleBits()) << a.Name();
        EXPECT_EQ(b.Alignment(), a.Alignment()) << a.Name();
    }
    // Links between exported pages are links between the new pages: same count of page links
    // per page, each to the page imported from the link's target.
    for (std::size_t i = 0; i < files.size(); ++i) {
        auto pageLinks = [](const std::string& text) {
            std::vector<std::int32_t> links;
            for (std::size_t at = text.find("<$00"); at != std::string::npos;
                 at = text.find("<$00", at + 1))
                links.push_back(std::int32_t(std::stoul(text.substr(at + 2, 8), nullptr, 16)));
            return links;
        };
        std::vector<std::int32_t> expected;
        for (std::int32_t l :
             pageLinks(*source.set.ObjectByKind(K::testoHtml, sourcePages[i])->ContentBytes()))
            if (pageOf.count(l)) expected.push_back(pageOf[l]);
        std::vector<std::int32_t> got =
            pageLinks(*back.set.ObjectByKind(K::testoHtml, run.ImportedPages[i])->ContentBytes());
        EXPECT_EQ(got, expected) << files[i];
    }
}

}  // namespace
}  // namespace orvo

namespace orvo {
namespace {

TEST(HtmlOpenChooser, OffersAndAsksAsThePageMarkerSays) {
    RecordingMessages messages;
    const HtmlOpenChooser plain("", false);
    ASSERT_EQ(plain.Choices().size(), 3u);
    EXPECT_EQ(Cp1252ToUtf8(plain.Choices()[1].text),
              "aprire un nuovo ipertesto di cui questa sarà la prima pagina");
    EXPECT_EQ(plain.Explanation(), "");
    EXPECT_FALSE(plain.SearchShown());
    EXPECT_TRUE(plain.Ok(2, messages));

    HtmlOpenChooser moved("/x/guida.kyt", false);
    ASSERT_EQ(moved.Choices().size(), 4u);
    EXPECT_EQ(moved.Choices().front().number, 3);
    EXPECT_TRUE(moved.SearchShown());
    EXPECT_EQ(Cp1252ToUtf8(moved.Explanation()),
              "Questa pagina html deriva dall'ipertesto  \"/x/guida.kyt\", che Orvo non riesce a "
              "trovare: è consigliabile scegliere Cerca per cercarlo. Editando l'Html per conto "
              "suo vanno perse alcune caratteristiche di formattazione.");
    messages.ScriptAnswers({Answer::No, Answer::Yes});
    EXPECT_FALSE(moved.Ok(3, messages));  // No: the chooser stays open
    EXPECT_TRUE(moved.Ok(4, messages));
    ASSERT_EQ(messages.Questions().size(), 2u);
    EXPECT_EQ(Cp1252ToUtf8(messages.Questions()[0]),
              "L'ipertesto Orvo corrispondente alla pagina Html non è stato trovato. Per cercare "
              "l'ipertesto, scegliere No e poi Cerca. Per cercare di importare in qualche modo "
              "l'ipertesto dall'Html, scegliere Sì.");
    EXPECT_TRUE(moved.Ok(5, messages));
    EXPECT_EQ(messages.Questions().size(), 2u);
    moved.Found("/y/guida.kyt", true);
    EXPECT_FALSE(moved.SearchShown());
    EXPECT_EQ(Cp1252ToUtf8(moved.Explanation()),
              "Questa pagina html deriva dall'ipertesto  \"/y/guida.kyt\": Orvo utilizzerà la "
              "pagina in formato nativo, prelevandola dall'ipertesto. ");
    EXPECT_TRUE(moved.Ok(3, messages));
}

}  // namespace
}  // namespace orvo

// The site export: file names in every mode, the page skeleton, keywords, refresh, alias
// pages, the marker read-back and the run over a folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/Cp1252.h"
#include "base/Format.h"
#include "base/Paths.h"
#include "convert/HtmlExport.h"
#include "convert/HtmlText.h"
#include "model/HeaderRecord.h"
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

class HtmlExportTest : public ::testing::Test {
protected:
    HtmlExportTest() : set_(environment_, messages_), html_(&set_) {}

    // The page with `identifier` (made when missing) holding `markup`.
    TKYToggetto& Page(std::int32_t identifier, std::string_view title, std::string markup) {
        TKYToggetto* page = set_.ObjectByKind(TOggettiHel::testoHtml, identifier);
        if (!page) {
            auto made = NewObjectOfKind(TOggettiHel::testoHtml, &set_);
            made->Clear();
            made->TakeIntoUse();
            set_.Register(std::move(made), identifier);
            page = set_.ObjectByKind(TOggettiHel::testoHtml, identifier);
        }
        if (page->IsFree()) page->TakeIntoUse();
        PageRecord record(*page);
        record.SetTitle(title);
        record.SetHeader(kNoHeaderFooter);
        record.SetFooter(kNoHeaderFooter);
        page->SetContent(markup + '\0');
        return *page;
    }
    TKYToggetto& Object(TOggettiHel kind) {
        auto made = NewObjectOfKind(kind, &set_);
        made->Clear();
        made->TakeIntoUse();
        const std::int32_t id = set_.Register(std::move(made));
        return *set_.ObjectByKind(kind, id);
    }
    std::string Body(std::string markup) {
        TKYToggetto& page = Page(0, "t", std::move(markup));
        TExportContext context;
        context.images = &images_;
        return html_.WriteBody(0, context, page);
    }

    FixedEnvironment environment_;
    RecordingMessages messages_;
    TKYTset set_;
    TKYTtoHtml html_;
    std::vector<TKYToggetto*> images_;
};

TEST_F(HtmlExportTest, FileNamesInEveryMode) {
    TKYToggetto& home = Page(0, "Copertina", "<Z S0 >");
    TKYToggetto& other = Page(26, "Altra", "<Z S0 >");
    EXPECT_EQ(html_.ObjectFileName(home, 0), "_index.html");
    EXPECT_EQ(html_.ObjectFileName(other, 0), "_00001a.html");
    EXPECT_EQ(html_.ObjectFileName(other, 1), "-00001a.html");
    EXPECT_EQ(html_.ObjectFileName(other, 2), "=00001a.html");
    html_.ExpTipoExt = 0;
    EXPECT_EQ(html_.ObjectFileName(other, 0), "_00001a.htm");
    set_.SetExpPrefix("guida");
    EXPECT_EQ(html_.ObjectFileName(home, 0), "guida_index.htm");
    html_.PrefixOverride = "sito";
    EXPECT_EQ(html_.ObjectFileName(other, 1), "sito-00001a.htm");
    EXPECT_EQ(html_.StyleSheetName(), "sito_style.css");
    // A prefix from data never names another folder.
    html_.PrefixOverride = "../x";
    EXPECT_EQ(html_.ObjectFileName(other, 0), ".._x_00001a.htm");

    TKYToggetto& file = Object(TOggettiHel::genLink);
    file.SetFileName("C:\\dati\\Manuale.PDF");
    html_.PrefixOverride.clear();
    set_.SetExpPrefix("");
    const std::string hex = [&] {
        char b[8];
        std::snprintf(b, sizeof b, "%06x", unsigned(file.Identifier()));
        return std::string(b);
    }();
    EXPECT_EQ(html_.ObjectFileName(file, 0), "_g" + hex + ".pdf");
    html_.ExpSepImage = true;
    EXPECT_EQ(html_.ObjectFileName(file, 2), "images/_g" + hex + ".pdf");
    html_.ExpOrigName = true;
    EXPECT_EQ(html_.ObjectFileName(file, 0), "images/Manuale.PDF");
    // Java classes and films keep their names in any mode; a name that would leave the folder
    // gets a generated one.
    html_.ExpOrigName = false;
    file.SetFileName("Gioco.class");
    EXPECT_EQ(html_.ObjectFileName(file, 0), "images/Gioco.class");
    html_.ExpOrigName = true;
    file.SetFileName("..");
    EXPECT_EQ(html_.ObjectFileName(file, 0), "images/_g" + hex);

    TKYToggetto& web = Object(TOggettiHel::internetLink);
    web.View().SetPStr(kLinkAddress, "http://example.org/a\"b");
    EXPECT_EQ(html_.ObjectFileName(web, 0), "http://example.org/a%22b");
}

TEST_F(HtmlExportTest, KeptOriginalNamesNeverOverwriteEachOther) {
    auto hex = [](const TKYToggetto& o) {
        char b[8];
        std::snprintf(b, sizeof b, "%06x", unsigned(o.Identifier()));
        return std::string(b);
    };
    TKYToggetto& first = Object(TOggettiHel::immagine);
    first.SetFileName("C:\\a\\foto.gif");
    TKYToggetto& second = Object(TOggettiHel::immagine);
    second.SetFileName("C:\\b\\FOTO.GIF");
    TKYToggetto& removed = Object(TOggettiHel::immagine);
    removed.SetFileName("/c/mappa.png");
    TKYToggetto& map = Object(TOggettiHel::immagine);
    map.SetFileName("/d/mappa.png");
    TKYToggetto& lookalike = Object(TOggettiHel::immagine);
    lookalike.SetFileName("_i000001.gif");
    TKYToggetto& applet = Object(TOggettiHel::genLink);
    applet.SetFileName("/x/Gioco.class");
    TKYToggetto& file = Object(TOggettiHel::genLink);
    file.SetFileName("/y/foto.gif");
    removed.Clear();
    html_.ExpSepImage = true;
    html_.ExpOrigName = true;
    // The first in object order keeps the name (files come before pictures), the others get
    // generated ones, in every mode; a removed object holds no name.
    EXPECT_EQ(html_.ObjectFileName(file, 0), "images/foto.gif");
    EXPECT_EQ(html_.ObjectFileName(first, 2), "images/_i" + hex(first) + ".gif");
    EXPECT_EQ(html_.ObjectFileName(second, 0), "images/_i" + hex(second) + ".gif");
    EXPECT_EQ(html_.ObjectFileName(map, 0), "images/mappa.png");
    EXPECT_EQ(html_.ObjectFileName(lookalike, 0), "images/_i" + hex(lookalike) + ".gif");
    EXPECT_EQ(html_.ObjectFileName(applet, 0), "images/Gioco.class");
    // Without original names only the applet keeps its own; nothing clashes.
    html_.ExpOrigName = false;
    EXPECT_EQ(html_.ObjectFileName(first, 0), "images/_i" + hex(first) + ".gif");
    EXPECT_EQ(html_.ObjectFileName(file, 0), "images/_g" + hex(file) + ".gif");
    EXPECT_EQ(html_.ObjectFileName(applet, 0), "images/Gioco.class");

    // Written for real: two pictures of the same name give two files with their own bytes.
    html_.ExpOrigName = true;
    first.SetContent("prima");
    second.SetContent("seconda");
    html_.ExportPath = NameOfPath(TestDir() / "sito");
    ASSERT_TRUE(html_.WriteObjectFiles({&first, &second}));
    EXPECT_EQ(ReadFile(TestDir() / "sito" / "images" / ("_i" + hex(first) + ".gif")), "prima");
    EXPECT_EQ(ReadFile(TestDir() / "sito" / "images" / ("_i" + hex(second) + ".gif")), "seconda");
}

TEST_F(HtmlExportTest, PageSkeletonKeywordsRefreshAndMeta) {
    TKYToggetto& home = Page(0, "Copertina & <indice>", "<Z S0 >Ciao");
    Page(3, "Tre", "<Z S0 >x");
    set_.HeaderRecordView().SetPStr(kHdrAuthors, "Anna \"Bianchi\"");
    set_.HeaderRecordView().SetPStr(kHdrCopyright, "\xA9 2026");
    PageRecord record(home);
    TKYToggetto& k1 = Object(TOggettiHel::keyword);
    k1.View().SetPStr(kKeywordText, "ipertesto");
    TKYToggetto& k2 = Object(TOggettiHel::keyword);
    k2.View().SetPStr(kKeywordText, "citt\xE0");
    record.SetKeyword(0, k1.Identifier());
    record.SetKeyword(5, k2.Identifier());
    record.SetKeyword(6, 999);  // missing: skipped
    record.SetRedirect(5, 3);
    record.SetTextColour(0x000000);
    record.SetLinkColour(0xFF0000);
    record.SetVisitedColour(0x800080);
    record.SetBackgroundColour(0xC0C0C0);
    std::vector<std::int32_t> secondaries;
    ExpectMatchesGolden("convert", "skeleton.html",
                        html_.WritePage(home, &secondaries, images_, 0));
    // A delay of 0 goes at once; a page with a target but no delay set (-1) or any negative
    // one writes no refresh, which browsers would ignore as invalid anyway.
    record.SetRedirect(0, 3);
    EXPECT_NE(html_.WritePage(home, &secondaries, images_, 0)
                  .find("<META HTTP-EQUIV=\"refresh\" CONTENT=\"0;URL=_000003.html\">\r\n"),
              std::string::npos);
    for (std::int16_t delay : {-1, -2, -32768}) {
        record.SetRedirect(delay, 3);
        EXPECT_EQ(html_.WritePage(home, &secondaries, images_, 0).find("refresh"),
                  std::string::npos)
            << delay;
    }
}

TEST_F(HtmlExportTest, TitleIsCutAtSeventyOneCharacters) {
    TKYToggetto& page = Page(1, std::string(71, 'a'), "<Z S0 >");
    PageRecord(page).SetTitle(std::string(71, 'a'));
    const std::string file = html_.WritePage(page, nullptr, images_, 0);
    EXPECT_TRUE(
        file.starts_with("<HTML><HEAD>\r\n<TITLE>" + std::string(71, 'a') + "\r\n</TITLE>\r\n"));
    EXPECT_EQ(file.find("keywords"), std::string::npos);
}

TEST_F(HtmlExportTest, HeaderAndFooterPagesFrameTheBody) {
    Page(1, "Testata", "<Z S0 >TESTA");
    Page(2, "Piede", "<Z S0 >PIEDE");
    TKYToggetto& page = Page(3, "Corpo", "<Z S0 >CORPO");
    PageRecord(page).SetHeader(1);
    PageRecord(page).SetFooter(2);
    const std::string file = html_.WritePage(page, nullptr, images_, 0);
    const auto body = file.find("<BODY");
    const auto head = file.find("TESTA"), corpo = file.find("CORPO"), piede = file.find("PIEDE");
    ASSERT_NE(body, std::string::npos);
    EXPECT_LT(body, head);
    EXPECT_LT(head, corpo);
    EXPECT_LT(corpo, piede);
    EXPECT_EQ(file.find("<BODY", body + 1), std::string::npos);
    EXPECT_TRUE(file.ends_with("&nbsp;</DIV>\r\n\r\n</BODY></HTML>\r\n"));
}

TEST_F(HtmlExportTest, AliasPageAndMarkerReadBack) {
    ASSERT_TRUE(set_.SaveToFile(NameOfPath(TestDir() / "Guida--uno%.kyt")));
    set_.SetExpPrefix("");
    TKYToggetto& home = Page(0, "Copertina", "<Z S0 >");
    PageRecord(home).SetAlias("benvenuto.html");
    PageRecord(home).SetBackgroundColour(0xFFFFFF);
    const std::string alias = html_.AliasPage(home);
    const std::string path = set_.KYTFileName();
    std::string marked = path;
    marked.replace(marked.find("--"), 2, "-%2D");
    marked.replace(marked.find("%.kyt"), 1, "%25");
    EXPECT_EQ(alias,
              "<HTML><HEAD>\r\n<TITLE>Copertina\r\n</TITLE>\r\n<!--pageOrvo=\"0;" + marked +
                  "\"-->\r\n<META HTTP-EQUIV=\"refresh\" CONTENT=\"0;URL=_index.html\">\r\n"
                  "</HEAD>\r\n<BODY TEXT=#000000 LINK=#0000FF VLINK=#FF0000 BGCOLOR=#FFFFFF>\r\n"
                  "<A HREF=\"_index.html\">Loading...</A>\r\n</BODY></HTML>\r\n");
    const PageMarker marker = TKYTtoHtml::ReadPageMarkerText(alias);
    EXPECT_EQ(marker.page, 0);
    EXPECT_EQ(marker.documentFile, path);
    EXPECT_EQ(alias.find("--", alias.find("<!--") + 4), alias.find("-->"));

    Result<std::string> written = html_.WriteAliasPage(home, NameOfPath(TestDir()));
    ASSERT_TRUE(written);
    EXPECT_EQ(ReadFile(NativePath(*written)), alias);
    // An alias that names another folder writes nothing.
    PageRecord(home).SetAlias("../fuori.html");
    Result<std::string> refused = html_.WriteAliasPage(home, NameOfPath(TestDir()));
    ASSERT_TRUE(refused);
    EXPECT_EQ(*refused, "");
    EXPECT_FALSE(std::filesystem::exists(TestDir().parent_path() / "fuori.html"));

    // An alias that names a file of the export itself would replace it with a redirect: the
    // home page's own file with one to itself, the style sheet, another page, a picture.
    set_.SetExpPrefix("guida");
    for (const char* taken :
         {"guida_index.html", "GUIDA_INDEX.HTM", "guida_style.css", "guida_00001a.htm",
          "guida-00001a.html", "guida=000000.html", "guida_i000003.gif", "guida_g00ffee.PDF"}) {
        PageRecord(home).SetAlias(taken);
        EXPECT_EQ(html_.AliasFileName(home), "") << taken;
    }
    for (const char* free : {"guida_indice.html", "guida_00001a.txt", "guida_0001a.html",
                             "_index.html", "guida.html", "guida_", "guida_ix.gif"}) {
        PageRecord(home).SetAlias(free);
        EXPECT_EQ(html_.AliasFileName(home), free);
    }
}

TEST_F(HtmlExportTest, LinksToPagesOfOtherHypertexts) {
    // This document and, in a sub-folder, another one with its own prefix and home page 2.
    Page(0, "Copertina", "<Z S0 >");
    ASSERT_TRUE(set_.SaveToFile(NameOfPath(TestDir() / "guida.kyt")));
    std::filesystem::create_directories(TestDir() / "sub");
    {
        TKYTset other(environment_, messages_);
        for (int i = 0; i < 4; ++i) {
            auto page = NewObjectOfKind(TOggettiHel::testoHtml, &other);
            page->Clear();
            page->TakeIntoUse();
            other.Register(std::move(page), i);
        }
        other.SetExpPrefix("altro");
        other.HeaderRecordView().SetI32(kHdrCoverPage, 2);
        ASSERT_TRUE(other.SaveToFile(NameOfPath(TestDir() / "sub" / "altro.kyt")));
        ASSERT_TRUE(other.SaveToFile(NameOfPath(TestDir() / "vecchio.kyt"), 1));
    }
    auto link = [&](std::string address) {
        TKYToggetto& web = Object(TOggettiHel::internetLink);
        web.View().SetPStr(kLinkAddress, address);
        return Hex8(std::uint32_t(web.Code()));
    };
    const std::string three = link("orvo://sub/altro.kyt|3");
    const std::string home = link("orvo://sub/altro.kyt");
    const std::string cover = link("orvo://sub/altro.kyt|2");
    const std::string old = link("orvo:vecchio.kyt|1");
    const std::string missing = link("orvo://sub/mancante.kyt|1");
    const std::string garbage = link("orvo://" + NameOfPath(TestDir() / "guida.kyt") + "x|1");
    const std::string self = link("orvo://" + NameOfPath(TestDir() / "guida.kyt") + "|0");
    const std::string selfMissing = link("orvo://" + NameOfPath(TestDir() / "guida.kyt") + "|9");
    const std::string empty = link("");
    WriteFile(TestDir() / "guidax", "not a hypertext");
    const std::string body =
        Body("<Z S0 ><$" + three + ">a<%> <$" + home + ">b<%> <$" + cover + ">c<%> <$" + old +
             ">d<%> <$" + missing + ">e<%> <$" + garbage + ">f<%> <$" + self + ">g<%> <$" +
             selfMissing + ">h<%> <$" + empty + ">i<%> <$" + three + ">j<$" + missing + ">k<%>");
    // A hypertext that cannot be read (missing, not a document), a missing page and an empty
    // address give plain text, never an empty HREF; a link they follow is closed first.
    EXPECT_EQ(body,
              "<DIV class=s0 >\r\n"
              "<A class=s0 HREF=\"sub/altro_000003.html\"   >a</A> "
              "<A class=s0 HREF=\"sub/altro_index.html\"   >b</A> "
              "<A class=s0 HREF=\"sub/altro_index.html\"   >c</A> "
              "<A class=s0 HREF=\"LinkToOldHypertext.html\"   >d</A> e f "
              "<A class=s0 HREF=\"guida_index.html\"   >g</A> h i "
              "<A class=s0 HREF=\"sub/altro_000003.html\"   >j</A>k&nbsp;</DIV>\r\n");
    EXPECT_EQ(body.find("HREF=\"\""), std::string::npos);
}

TEST(PageMarker, HostileAndMissingFiles) {
    EXPECT_EQ(TKYTtoHtml::ReadPageMarker("/nonexistent/x.html").page, 0);
    PageMarker m = TKYTtoHtml::ReadPageMarkerText("<!--pageOrvo=\"12;/a/b.KYT\"-->\r\n");
    EXPECT_EQ(m.page, 12);
    EXPECT_EQ(m.documentFile, "/a/b.KYT");
    m = TKYTtoHtml::ReadPageMarkerText("<!--pageOrvo=\"x;/a/b.txt\"-->");
    EXPECT_EQ(m.page, 0);
    EXPECT_EQ(m.documentFile, "");
    m = TKYTtoHtml::ReadPageMarkerText("<!--pageOrvo=\"99999999999;/a/b.kyt");
    EXPECT_EQ(m.page, 2147483647);  // clamped
    EXPECT_EQ(m.documentFile, "/a/b.kyt");
    m = TKYTtoHtml::ReadPageMarkerText("<!--pageOrvo=\"");
    EXPECT_EQ(m.page, 0);
    std::string far;
    for (int i = 0; i < 100; ++i) far += "riga\r\n";
    EXPECT_EQ(TKYTtoHtml::ReadPageMarkerText(far + "<!--pageOrvo=\"4;/a.kyt\"-->").page, 0);
    EXPECT_EQ(TKYTtoHtml::ReadPageMarkerText(far.substr(6) + "<!--pageOrvo=\"4;/a.kyt\"-->").page,
              4);
}

TEST_F(HtmlExportTest, ExportRunWritesFilesInOrderWithProgress) {
    Page(0, "Copertina", "<Z S0 >Home");
    Page(1, "Uno", "<Z S0 >Uno");
    Page(2, "Due", "<Z S0 >Due");
    set_.KindList(TOggettiHel::testoHtml)[2]->Clear();  // removed: skipped
    std::vector<std::string> progress;
    html_.OnExpProgress = [&](TKYTconv&, int pag, int tot, int phase) {
        progress.push_back(ProgressText(phase, pag, tot));
    };
    html_.ExportPath = NameOfPath(TestDir() / "sito" / "dentro");
    ASSERT_TRUE(html_.ExportPages({1, 0, 2, 7}));
    EXPECT_EQ(progress, (std::vector<std::string>{"Export in corso, fase 1: 0%",
                                                  "Export in corso, fase 1: 25%"}));
    const auto dir = TestDir() / "sito" / "dentro";
    EXPECT_TRUE(std::filesystem::exists(dir / "_style.css"));
    EXPECT_TRUE(std::filesystem::exists(dir / "_index.html"));
    EXPECT_TRUE(std::filesystem::exists(dir / "_000001.html"));
    EXPECT_FALSE(std::filesystem::exists(dir / "_000002.html"));
    EXPECT_EQ(TKYTtoHtml::ReadPageMarker(NameOfPath(dir / "_000001.html")).page, 1);

    // A second export over longer files of the same names leaves exactly the new bytes.
    const std::string junk(20000, 'j');
    WriteFile(dir / "_000001.html", junk);
    WriteFile(dir / "_style.css", junk);
    ASSERT_TRUE(html_.ExportPages({1}));
    std::vector<TKYToggetto*> images;
    std::vector<std::int32_t> secondaries;
    EXPECT_EQ(
        ReadFile(dir / "_000001.html"),
        html_.WritePage(*set_.ObjectByKind(TOggettiHel::testoHtml, 1), &secondaries, images, 0));
    EXPECT_EQ(ReadFile(dir / "_style.css"), html_.StyleSheet());
    // A name taken by what is not a file (here a folder) stops the run with its name; the files
    // before it stay.
    std::filesystem::remove(dir / "_index.html");
    std::filesystem::create_directory(dir / "_000001.html.d");
    std::filesystem::remove(dir / "_000001.html");
    std::filesystem::rename(dir / "_000001.html.d", dir / "_000001.html");
    Status blocked = html_.ExportPages({0, 1});
    ASSERT_FALSE(blocked);
    EXPECT_EQ(blocked.failure().text, "Impossibile scrivere \"" + NameOfPath(dir / "_000001.html") +
                                          "\": non \xE8 un file normale e non viene sostituito.");
    EXPECT_TRUE(std::filesystem::exists(dir / "_index.html"));

    html_.ExportPath.clear();
    Status failed = html_.ExportPages({0});
    ASSERT_FALSE(failed);
    EXPECT_EQ(failed.failure().text, "Unable to create directory");
}

}  // namespace
}  // namespace orvo

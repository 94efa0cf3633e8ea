// The sample hypertext exported to a folder and read by real HTML readers: html5lib parses
// every page with no error but the few the page format requires where it requires them (see
// data/check_site.py), tidy finds no error, and every link between exported files names one
// that exists.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "base/Paths.h"
#include "convert/ExportOptions.h"
#include "convert/HtmlExport.h"
#include "convert/TKYTListHtmlToTx.h"
#include "model/SampleHypertext.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "support/TestSupport.h"

namespace orvo {
namespace {

using namespace orvo::test;

std::string RunCommand(const std::string& command) {
    std::string out;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return out;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    ::pclose(pipe);
    return out;
}

TEST(HtmlSite, SampleExportParsesAndLinksResolve) {
    FixedEnvironment environment;
    RecordingMessages messages;
    TKYTset set(environment, messages);
    MakeSampleHypertext(set, SampleOptions{});
    const std::string document = NameOfPath(TestDir() / "Esempio.kyt");
    ASSERT_TRUE(set.SaveToFile(document));
    TKYTtoHtml html(&set);
    html.ExportPath = NameOfPath(TestDir() / "sito");
    html.ExpSepImage = true;
    std::vector<TKYToggetto*> images;
    ASSERT_TRUE(html.ExportAllPages(images));
    ASSERT_TRUE(html.WriteObjectFiles(images));
    int aliases = 0;
    for (const auto& page : set.KindList(TOggettiHel::testoHtml)) {
        if (!page || page->IsFree()) continue;
        Result<std::string> alias = html.WriteAliasPage(*page, html.ExportPath);
        ASSERT_TRUE(alias);
        if (!alias->empty()) {
            ++aliases;
            EXPECT_EQ(TKYTtoHtml::ReadPageMarker(*alias).documentFile, document);
        }
    }
    EXPECT_EQ(aliases, 1);
    const std::string report = RunCommand("/usr/bin/python3 " ORVO_TEST_DATA "/check_site.py '" +
                                          (TestDir() / "sito").string() + "' 2>&1");
    // The pages, the alias page, all links resolved and none empty: the link to a page of
    // another hypertext that is not beside the sample is left out as plain text; the cover
    // and its alias page both name the background picture in "images/"; the map page names
    // its picture and, through the two areas of its image map, the cover and a chapter page;
    // the table page names the cover from a cell and from its last line, and the picture of
    // another cell; the form page names its sound, and through its popup link the map page's
    // popup version, a page of its own.
    EXPECT_EQ(report, "pages=14 links=40 empty=0\n");
}

// The export window's run over the sample, then the list of what it wrote: every row names a
// file that exists and shows its size.
TEST(HtmlSite, ExportedItemsOfTheSampleSite) {
    FixedEnvironment environment;
    RecordingMessages messages;
    TKYTset set(environment, messages);
    MakeSampleHypertext(set, SampleOptions{});
    ASSERT_TRUE(set.SaveToFile(NameOfPath(TestDir() / "Esempio.kyt")));
    TKYTtoHtml html(&set);
    html.ExportPath = NameOfPath(TestDir() / "sito");
    html.ExpSepImage = true;
    TKYTListHtmlToTx list(&html);
    list.Rebuild();
    list.SetAllChecked(true);
    std::vector<std::string> shown;
    ASSERT_TRUE(RunHtmlExport(html, list, [&](const std::string& t) { shown.push_back(t); }));
    ASSERT_FALSE(shown.empty());
    // the third of four objects: three pictures and the form page's sound
    EXPECT_EQ(shown.back(), "Export in corso, fase 3: 75%");
    list.Rebuild();
    int pages = 0, pictures = 0, popups = 0;
    for (std::size_t i = 0; i < list.Rows().size(); ++i) {
        const TListHtmlRow& row = list.Rows()[i];
        std::string first, second;
        list.ItemFiles(int(i), first, second);
        ASSERT_TRUE(std::filesystem::exists(NativePath(first))) << first;
        EXPECT_EQ(row.texts[colSize], std::to_string(std::filesystem::file_size(NativePath(first))))
            << row.caption;
        // Only the map page, shown in a popup by the form page, has a second file.
        if (!second.empty()) {
            ++popups;
            EXPECT_TRUE(std::filesystem::exists(NativePath(second))) << second;
        }
        pages += row.texts[colType] == "Pagina";
        pictures += row.texts[colType] == "Immagine";
    }
    EXPECT_EQ(pages, 12);
    EXPECT_EQ(pictures, 3);
    EXPECT_EQ(popups, 1);
    ASSERT_GE(list.Rows().size(), 3u);
    EXPECT_EQ(list.Rows()[0].caption, "Stili del testo");
    EXPECT_EQ(list.Rows()[1].caption, "campanello.wav");
    EXPECT_EQ(list.Rows()[2].caption, "Carta della copertina");
    EXPECT_EQ(list.Rows()[2].texts[colFile].substr(0, 14), "images/guida_i");
    EXPECT_TRUE(std::filesystem::exists(TestDir() / "sito" / "benvenuti.htm"));
}

}  // namespace
}  // namespace orvo

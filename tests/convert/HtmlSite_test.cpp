// The sample hypertext exported to a folder and read by real HTML readers: html5lib parses
// every page, tidy finds no error, and every link between exported files names one that
// exists.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "base/Paths.h"
#include "convert/HtmlExport.h"
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
    // and its alias page both name the background picture in "images/".
    EXPECT_EQ(report, "pages=10 links=24 empty=0\n");
}

}  // namespace
}  // namespace orvo

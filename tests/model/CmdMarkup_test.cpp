// orvo-cli markup, run as a user runs it, on a document saved under a non-ASCII name.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "base/Cp1252.h"
#include "model/uKYTset.h"
#include "support/TestSupport.h"

namespace orvo {
namespace {

using namespace orvo::literals;

struct CliRun {
    int status;
    std::string out;
};

CliRun OrvoCli(const std::string& arguments) {
    const std::filesystem::path cli = std::filesystem::path(ORVO_BINARY_DIR) / "cli" / "orvo-cli";
    EXPECT_TRUE(std::filesystem::exists(cli)) << "build orvo-cli first: " << cli;
    const std::string command = "'" + cli.string() + "' " + arguments + " 2>&1";
    CliRun run{-1, {}};
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    std::size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
    run.status = pclose(pipe);
    return run;
}

TEST(CmdMarkup, PrintsThePageInWorkingForm) {
    const std::filesystem::path file = test::TestDir() / "perch\xC3\xA9.kyt";
    {
        FixedEnvironment environment;
        RecordingMessages messages;
        TKYTset set(environment, messages);
        auto link = NewObjectOfKind(TOggettiHel::internetLink, &set);
        link->Clear();
        link->SetName("http://example.org/");
        link->TakeIntoUse();
        (void)set.Register(std::move(link), -1);
        auto page = NewObjectOfKind(TOggettiHel::testoHtml, &set);
        page->Clear();
        page->TakeIntoUse();
        std::string text = "<Z S0 c0000ff >Perch\xE9 <$01000000>qui";
        text += '\0';
        page->SetContent(text);
        const std::int32_t id = set.Register(std::move(page), -1);
        ASSERT_TRUE(set.SaveToFile(Utf8ToCp1252(file.string()))) << set.Errors().size();
        const CliRun run = OrvoCli("markup '" + file.string() + "' " + std::to_string(id));
        EXPECT_EQ(run.status, 0) << run.out;
        // The writer closes the link the paragraph ends in.
        EXPECT_EQ(run.out, "<Z S0 c0000FF >Perch\xC3\xA9 <$6f000000>qui<%>\n");
        const CliRun raw = OrvoCli("markup --raw '" + file.string() + "' " + std::to_string(id));
        EXPECT_EQ(raw.out, "<Z S0 c0000FF >Perch\xE9 <$6f000000>qui<%>");
    }
    const CliRun missing = OrvoCli("markup '" + file.string() + "' 999");
    EXPECT_NE(missing.status, 0);
    EXPECT_EQ(missing.out, "the document has no page 999\n");
    EXPECT_NE(OrvoCli("markup '" + file.string() + "' x").status, 0);
}

}  // namespace
}  // namespace orvo

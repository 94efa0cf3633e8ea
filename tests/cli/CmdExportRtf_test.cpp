// orvo-cli export rtf, run as the built program.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/ProgramRun.h"
#include "support/TestSupport.h"

namespace orvo::test {
namespace {

using ::testing::HasSubstr;

using Output = ProgramRun;

// orvo-cli with `args`; its messages (standard error) follow its output in `out`.
Output Cli(std::vector<std::string> args) {
    Output run = RunOrvoCli(std::move(args));
    run.out += run.err;
    return run;
}

TEST(CliExportRtf, OneFilePerPageAndHelp) {
    const std::filesystem::path kyt = TestDir() / "guida.kyt";
    ASSERT_EQ(Cli({"sample", kyt}).status, 0);

    const std::filesystem::path one = TestDir() / "uno.rtf";
    Output done = Cli({"export", "rtf", kyt, one});
    ASSERT_EQ(done.status, 0) << done.out;
    const std::string rtf = ReadFile(one);
    EXPECT_TRUE(rtf.starts_with("{\\rtf1\\ansi\\deff0{\\fonttbl"));
    EXPECT_TRUE(rtf.ends_with("\\par \r\n}"));
    EXPECT_THAT(rtf, HasSubstr("\\sect\\sectd "));
    EXPECT_FALSE(std::filesystem::exists(TestDir() / "uno.HPJ"));

    const std::filesystem::path folder = TestDir() / "pagine";
    done = Cli({"export", "rtf", kyt, "--per-page", folder});
    ASSERT_EQ(done.status, 0) << done.out;
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        ++files;
        EXPECT_EQ(entry.path().extension(), ".rtf");
    }
    EXPECT_EQ(files, 12);  // the sample's 7 pages with its header, footer, map, table and form
                           // pages
    EXPECT_TRUE(std::filesystem::exists(folder / "guidaindex.rtf"));

    const std::filesystem::path help = TestDir() / "aiuto.rtf";
    done = Cli({"export", "rtf", kyt, help, "--help-project"});
    ASSERT_EQ(done.status, 0) << done.out;
    EXPECT_THAT(ReadFile(help), HasSubstr("{\\super #{\\footnote"));
    EXPECT_THAT(ReadFile(TestDir() / "aiuto.HPJ"), HasSubstr("[FILES]\r\naiuto.rtf\r\n"));
}

TEST(CliExportRtf, UsageAndFailures) {
    const std::string usage =
        "Usage: orvo-cli export rtf FILE (OUT.rtf | --per-page DIR) [--help-project]";
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"export", "rtf"},
                                               {"export", "rtf", "a.kyt"},
                                               {"export", "rtf", "a", "b", "c"},
                                               {"export", "rtf", "a.kyt", "--per-page"},
                                               {"export", "rtf", "a", "--bogus", "b"}}) {
        const Output wrong = Cli(args);
        EXPECT_EQ(wrong.status, 1) << args.size();
        EXPECT_THAT(wrong.out, HasSubstr(usage)) << args.size();
    }
    const Output both = Cli({"export", "rtf", "a.kyt", "--per-page", "d", "--help-project"});
    EXPECT_EQ(both.status, 1);
    EXPECT_THAT(both.out, HasSubstr("--help-project writes one file"));
    // A target that cannot be written: the message names it.
    const std::filesystem::path kyt = TestDir() / "g.kyt";
    ASSERT_EQ(Cli({"sample", kyt}).status, 0);
    const std::filesystem::path bad = TestDir() / "manca" / "x.rtf";
    const Output failed = Cli({"export", "rtf", kyt, bad});
    EXPECT_EQ(failed.status, 1);
    EXPECT_THAT(failed.out, HasSubstr("Errore nella scrittura file " + bad.string()));
}

}  // namespace
}  // namespace orvo::test

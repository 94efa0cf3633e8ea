// orvo-cli export html, run as the built program over the sample hypertext.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/ProgramRun.h"
#include "support/TestSupport.h"

namespace orvo::test {
namespace {

using Output = ProgramRun;

// orvo-cli with `args`; its messages (standard error) follow its output in `out`.
Output Cli(std::vector<std::string> args) {
    Output run = RunOrvoCli(std::move(args));
    run.out += run.err;
    return run;
}

TEST(CliExportHtml, OptionsNameTheFilesAndFailuresAreReported) {
    const std::filesystem::path kyt = TestDir() / "guida.kyt";
    ASSERT_EQ(Cli({"sample", kyt}).status, 0);

    // The document's own prefix, ".html", pictures beside the pages.
    const std::filesystem::path plain = TestDir() / "sito";
    Output done = Cli({"export", "html", kyt, plain});
    ASSERT_EQ(done.status, 0) << done.out;
    EXPECT_EQ(done.out, "");
    for (const char* name : {"guida_style.css", "guida_index.html", "guida_000001.html",
                             "guida_000008.html", "guida_i000000.gif", "benvenuti.htm"})
        EXPECT_TRUE(std::filesystem::exists(plain / name)) << name;
    const std::string home = ReadFile(plain / "guida_index.html");
    EXPECT_TRUE(home.starts_with("<HTML><HEAD>\r\n<TITLE>Copertina\r\n</TITLE>\r\n"));
    EXPECT_NE(home.find("<BODY BACKGROUND=\"guida_i000000.gif\" "), std::string::npos);
    // The cover's keyword slot holds the identifier of the keyword "ipertesto".
    EXPECT_NE(home.find("</TITLE>\r\n<META NAME=\"keywords\" CONTENT=\"ipertesto,\">\r\n"),
              std::string::npos);
    EXPECT_TRUE(ReadFile(plain / "guida_i000000.gif").starts_with("GIF89a"));
    EXPECT_NE(ReadFile(plain / "benvenuti.htm")
                  .find("<META HTTP-EQUIV=\"refresh\" CONTENT=\"0;URL=guida_index.html\">"),
              std::string::npos);

    // Another prefix, ".htm", pictures in "images/" under their own names.
    const std::filesystem::path other = TestDir() / "altro";
    done = Cli({"export", "html", kyt, other, "--prefix", "web", "--ext", "htm", "--sep-images",
                "--orig-names"});
    ASSERT_EQ(done.status, 0) << done.out;
    for (const char* name :
         {"web_style.css", "web_index.htm", "web_000003.htm", "images/carta.gif", "benvenuti.htm"})
        EXPECT_TRUE(std::filesystem::exists(other / name)) << name;
    EXPECT_FALSE(std::filesystem::exists(other / "web_index.html"));
    const std::string cover = ReadFile(other / "web_index.htm");
    EXPECT_NE(cover.find("HREF=\"web_style.css\""), std::string::npos);
    EXPECT_NE(cover.find("BACKGROUND=\"images/carta.gif\""), std::string::npos);
    EXPECT_NE(cover.find("HREF=\"web_000003.htm\""), std::string::npos);

    // Wrong use, a missing document, a folder that cannot be made.
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"export", "html", kyt},
                                               {"export", "html", "a", "b", "c"},
                                               {"export", "html", kyt, "x", "--prefix"},
                                               {"export", "html", kyt, "x", "--y"}}) {
        done = Cli(args);
        EXPECT_EQ(done.status, 1) << args.back();
        EXPECT_EQ(done.out.rfind("Usage: orvo-cli export html FILE OUTDIR", 0), 0u) << done.out;
    }
    done = Cli({"export", "html", kyt, "x", "--ext", "php"});
    EXPECT_EQ(done.status, 1);
    EXPECT_EQ(done.out, "--ext takes htm or html\n");
    done = Cli({"export", "html", TestDir() / "manca.kyt", TestDir() / "m"});
    EXPECT_NE(done.status, 0);
    EXPECT_FALSE(std::filesystem::exists(TestDir() / "m"));
    WriteFile(TestDir() / "file", "x");
    done = Cli({"export", "html", kyt, TestDir() / "file" / "sito"});
    EXPECT_EQ(done.status, 1);
    EXPECT_EQ(done.out, "Unable to create directory\n");
}

}  // namespace
}  // namespace orvo::test

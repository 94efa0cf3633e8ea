// The word processor of ".doc" conversions: finding soffice, its argument vector and private
// profile, waiting with a time-out, the program's message, and (when LibreOffice is
// installed) real conversions that agree with our text export.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "base/Cp1252.h"
#include "base/Paths.h"
#include "convert/RtfExport.h"
#include "convert/TextExport.h"
#include "convert/TextImport.h"
#include "convert/TextWordProcessor.h"
#include "model/ObjectRecord.h"
#include "model/SampleHypertext.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/FixedMetrics.h"
#include "platform/IMessages.h"
#include "platform/PosixShell.h"
#include "platform/RecordingShell.h"
#include "support/TestSupport.h"

namespace orvo {
namespace {

using namespace std::chrono_literals;
using namespace orvo::test;
namespace fs = std::filesystem;

fs::path Script(const fs::path& path, std::string_view body) {
    WriteFile(path, "#!/bin/sh\n" + std::string(body));
    fs::permissions(path, fs::perms::owner_all);
    return path;
}

// Text as LibreOffice writes it (UTF-8, maybe a byte-order mark, LF, list items led by four
// blanks and their bullet or number) as our export writes it (Windows-1252, CR LF, no list
// marks, no line end after the last line).
std::string AsOurText(std::string utf8) {
    if (utf8.starts_with("\xEF\xBB\xBF")) utf8.erase(0, 3);
    const std::string text = Utf8ToCp1252(utf8);
    std::string out;
    for (std::string_view line : SplitTextLines(text)) {
        if (line.starts_with("    \x95 ")) {
            line.remove_prefix(6);
        } else if (line.starts_with("    ")) {
            const std::size_t dot = line.find(". ");
            if (dot > 4 && dot != std::string_view::npos &&
                line.substr(4, dot - 4).find_first_not_of("0123456789") == std::string_view::npos)
                line.remove_prefix(dot + 2);
        }
        out += line;
        out += "\r\n";
    }
    while (out.ends_with("\r\n")) out.resize(out.size() - 2);
    return out;
}

TEST(WordProcessorLookup, FindsTheFirstExecutableProgramOfThePath) {
    const fs::path a = TestDir() / "path-a", b = TestDir() / "path-b", c = TestDir() / "path-c";
    WriteFile(a / "soffice", "not executable");
    fs::permissions(a / "soffice", fs::perms::owner_read);
    fs::create_directories(b / "soffice");  // a folder is no program
    Script(c / "soffice", "exit 0\n");
    const std::string path = "::" + a.string() + ":" + b.string() + ":" + c.string();
    EXPECT_EQ(FindOnPath("soffice", path), c / "soffice");
    EXPECT_EQ(FindOnPath("soffice", a.string()), fs::path());
    EXPECT_EQ(FindOnPath("soffice", ""), fs::path());
    EXPECT_EQ(FindOnPath((c / "soffice").string(), ""), c / "soffice");
}

TEST(WordProcessorLookup, TheProfileIsAFileUrlWithItsBytesEscaped) {
    EXPECT_EQ(FileUrl("/tmp/a b/perch\xC3\xA9/%x/./"), "file:///tmp/a%20b/perch%C3%A9/%25x/");
}

class WordProcessorRun : public ::testing::Test {
protected:
    fs::path profile_ = TestDir() / "profilo";
    fs::path source_ = TestDir() / "documenti con spazi" / "Lettera \"1\".rtf";
    fs::path out_ = TestDir() / "uscita";
};

TEST_F(WordProcessorRun, StartsSofficeWithAnArgumentVectorAndEndsItAfterTheTimeOut) {
    WriteFile(source_, "{\\rtf1 x}");
    RecordingShell shell;
    LibreOfficeWordProcessor processor(shell, profile_, 30ms);
    processor.program = Script(TestDir() / "bin" / "soffice", "exit 0\n");
    ASSERT_TRUE(processor.Available());
    const Result<fs::path> made = processor.Convert(source_, "doc", out_);
    ASSERT_FALSE(made);
    EXPECT_NE(made.failure().text.find("did not finish"), std::string::npos);
    ASSERT_EQ(shell.Starts().size(), 1u);
    EXPECT_TRUE(shell.Starts()[0].terminated);
    EXPECT_EQ(
        shell.Starts()[0].command.argv,
        (std::vector<std::string>{
            processor.program.string(), "-env:UserInstallation=" + FileUrl(profile_), "--headless",
            "--norestore", "--convert-to", "doc", "--outdir", out_.string(), source_.string()}));
    EXPECT_TRUE(fs::is_directory(profile_));
    EXPECT_TRUE(fs::is_directory(out_));
}

TEST_F(WordProcessorRun, ARealProgramIsWaitedForAndItsFileChecked) {
    WriteFile(source_, "{\\rtf1 x}");
    PosixShell shell;
    LibreOfficeWordProcessor processor(shell, profile_, 20s);
    // Writes "<outdir>/<stem>.doc" holding its own arguments, one a line.
    processor.program = Script(TestDir() / "bin" / "fake-office",
                               "out=\"$7\"; src=\"$8\"; stem=$(basename \"$src\" .rtf)\n"
                               "for a in \"$@\"; do echo \"$a\"; done > \"$out/$stem.doc\"\n");
    const Result<fs::path> made = processor.Convert(source_, "doc", out_);
    ASSERT_TRUE(made) << made.failure().text;
    EXPECT_EQ(*made, out_ / "Lettera \"1\".doc");
    EXPECT_EQ(ReadFile(*made), "-env:UserInstallation=" + FileUrl(profile_) +
                                   "\n--headless\n--norestore\n--convert-to\ndoc\n--outdir\n" +
                                   out_.string() + "\n" + source_.string() + "\n");

    // A file left from before does not pass for a result; a failing run is a failure.
    processor.program = Script(TestDir() / "bin" / "quiet-office", "exit 0\n");
    EXPECT_FALSE(processor.Convert(source_, "doc", out_));
    EXPECT_FALSE(fs::exists(out_ / "Lettera \"1\".doc"));
    processor.program = Script(TestDir() / "bin" / "broken-office", "exit 3\n");
    const Result<fs::path> broken = processor.Convert(source_, "doc", out_);
    ASSERT_FALSE(broken);
    EXPECT_NE(broken.failure().text.find("status 3"), std::string::npos);
    EXPECT_FALSE(processor.Convert(TestDir() / "manca.rtf", "doc", out_));
}

TEST_F(WordProcessorRun, WithoutAWordProcessorTheFailureIsGivenAndTheRtfIsDeleted) {
    WriteFile(source_, "{\\rtf1 x}");
    const fs::path second = TestDir() / "due.rtf";
    WriteFile(second, "{\\rtf1 y}");
    RecordingShell shell;
    LibreOfficeWordProcessor processor(shell, profile_);
    const char* saved = std::getenv("PATH");
    const std::string path = saved ? saved : "";
    ::setenv("PATH", (TestDir() / "empty-bin").c_str(), 1);
    const auto made = ConvertToWordDocuments(processor, {source_, second}, out_);
    ::setenv("PATH", path.c_str(), 1);
    ASSERT_FALSE(made);
    EXPECT_EQ(made.failure().text, "MsWord non installato, o linguaggio di MsWord non supportato.");
    EXPECT_TRUE(shell.Starts().empty());
    EXPECT_FALSE(fs::exists(source_));
    EXPECT_FALSE(fs::exists(second));
}

TEST_F(WordProcessorRun, TheFirstFailedConversionStopsTheRest) {
    WriteFile(source_, "{\\rtf1 x}");
    const fs::path second = TestDir() / "due.rtf";
    WriteFile(second, "{\\rtf1 y}");
    PosixShell shell;
    LibreOfficeWordProcessor processor(shell, profile_, 20s);
    processor.program = Script(TestDir() / "bin" / "counting-office",
                               "echo run >> \"" + (TestDir() / "runs").string() + "\"\nexit 1\n");
    std::vector<std::string> progress;
    const auto made = ConvertToWordDocuments(processor, {source_, second}, out_, [&](int i, int n) {
        progress.push_back(std::to_string(i) + "/" + std::to_string(n));
    });
    ASSERT_FALSE(made);
    EXPECT_EQ(made.failure().text, kNoWordProcessor);
    EXPECT_EQ(ReadFile(TestDir() / "runs"), "run\n");
    EXPECT_EQ(progress, (std::vector<std::string>{"0/2"}));
}

// LibreOffice itself, when installed, as an independent reader of our RTF: each page's RTF
// read as text gives the text our export gives of that page; made into a ".doc" and read
// back it still does.
class LibreOffice : public ::testing::Test {
protected:
    void SetUp() override {
        if (!processor_.Available()) GTEST_SKIP() << "soffice is not installed";
        MakeSampleHypertext(set_);
    }
    // LibreOffice's text of a file, as our export writes text.
    std::string TextOf(const fs::path& file, const fs::path& folder) {
        const Result<fs::path> text = processor_.Convert(file, "txt:Text (encoded):UTF8", folder);
        if (!text) {
            ADD_FAILURE() << text.failure().text;
            return {};
        }
        return AsOurText(ReadFile(*text));
    }

    PosixShell shell_;
    LibreOfficeWordProcessor processor_{shell_, TestDir() / "lo-profile", 3min};
    FixedEnvironment environment_;
    RecordingMessages messages_;
    FixedMetrics metrics_;
    TKYTset set_{environment_, messages_};
};

TEST_F(LibreOffice, ReadsEachPageOfOurRtfAsTheTextWeExport) {
    TKYTtortf rtf(&set_, metrics_);
    std::vector<fs::path> files;
    int compared = 0;
    for (int page = 0; page < set_.KindCount(TOggettiHel::testoHtml); ++page) {
        const fs::path file = TestDir() / "lo-rtf" / ("pagina" + std::to_string(page) + ".rtf");
        fs::create_directories(file.parent_path());
        rtf.ExportFileName = NameOfPath(file);
        ASSERT_TRUE(rtf.ExportPage(page));
        EXPECT_EQ(Escaped(TextOf(file, TestDir() / "lo-txt")), Escaped(PageText(set_, page)))
            << "page " << page;
        files.push_back(file);
        ++compared;
    }
    EXPECT_GE(compared, 7);

    // The ".doc" documents made from the same RTF files read back as the same text; the
    // RTF files are gone afterwards.
    const fs::path docs = TestDir() / "lo-doc";
    files.resize(3);  // each conversion takes LibreOffice a second or two
    const Result<std::vector<fs::path>> converted = ConvertToWordDocuments(processor_, files, docs);
    ASSERT_TRUE(converted);
    const std::vector<fs::path>& made = *converted;
    ASSERT_EQ(made.size(), files.size());
    for (std::size_t page = 0; page < made.size(); ++page) {
        EXPECT_EQ(made[page], docs / ("pagina" + std::to_string(page) + ".doc"));
        EXPECT_EQ(ReadFile(made[page]).substr(0, 4), "\xD0\xCF\x11\xE0");  // a compound file
        EXPECT_FALSE(fs::exists(files[page]));
        EXPECT_EQ(Escaped(TextOf(made[page], TestDir() / "lo-doc-txt")),
                  Escaped(PageText(set_, int(page))))
            << "page " << page;
    }
}

}  // namespace
}  // namespace orvo

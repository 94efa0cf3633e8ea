// orvo-cli edit changing text: typing with formats saved and read back, the undo list's labels,
// and undo.
#include <gtest/gtest.h>

#include <string>

#include "support/ProgramRun.h"
#include "support/TestSupport.h"

namespace orvo::test {
namespace {

class CliEditText : public ::testing::Test {
protected:
    void SetUp() override {
        const ProgramRun sample = RunOrvoCli({"sample", file_});
        ASSERT_EQ(sample.status, 0) << sample.err;
    }
    ProgramRun Edit(std::vector<std::string> args, std::string_view script) {
        args.insert(args.begin(), {"edit", file_});
        return RunOrvoCli(args, {}, script);
    }
    std::string file_ = (TestDir() / "guida.kyt").string();
};

TEST_F(CliEditText, TenThousandTypedCharactersWithFormatsAreSavedAndReadBack) {
    // Ten paragraphs of 1,000 characters in the cover's heading style (bold already); in each
    // the first word is made bold and red.
    std::string script = "caret 0 0\n";
    std::string expected;
    for (int p = 0; p < 10; ++p) {
        std::string line;
        for (int i = 0; line.size() < 1000; ++i) line += "parola" + std::to_string(p) + " ";
        line.resize(1000);
        script += "type " + line + "\nselect " + std::to_string(p) + " 0 " + std::to_string(p) +
                  " 7\ncommand ApplyFontStyle 1\ncommand ApplyColour FF0000\ncaret " +
                  std::to_string(p) + " 1000\nkey Return\n";
        expected += "<Y cFF0000 >" + line.substr(0, 7) + "<Y >" + line.substr(7);
    }
    const ProgramRun edit = Edit({"0"}, script);
    ASSERT_EQ(edit.status, 0) << edit.err;
    const ProgramRun markup = RunOrvoCli({"markup", file_, "0"});
    ASSERT_EQ(markup.status, 0) << markup.err;
    std::string text;
    // The typed paragraphs, without their heads, in order.
    for (std::size_t at = 0; (at = markup.out.find("<Z S", at)) != std::string::npos;) {
        const std::size_t body = markup.out.find('>', at) + 1;
        const std::size_t next = markup.out.find("<Z S", body);
        text +=
            markup.out.substr(body, next == std::string::npos ? std::string::npos : next - body);
        at = body;
    }
    EXPECT_EQ(text.substr(0, expected.size()), expected);
}

TEST_F(CliEditText, TheUndoListShowsTheStepsLabelsNewestFirst) {
    const ProgramRun run = Edit({"0", "--print", "--undo-list"},
                                "caret 1 0\ntype ab\nkey Return\nselect 2 0 2 5\n"
                                "command ApplyFontSize 14\ncommand SetAlignment 1\n"
                                "command ApplyColour 808080\nkey Del\nselect 2 0 2 2\n"
                                "link 2\nundo 1\n");
    ASSERT_EQ(run.status, 0) << run.err;
    const std::size_t labels = run.out.find('\n') + 1;
    EXPECT_EQ(run.out.substr(labels),
              "Cancella selezione\nApplica colore Grigio scuro\nAllinea a destra\n"
              "Applica dimensione font 14\nInserimento paragrafo\nInserimento caratteri\n");
    // Undoing everything gives the page back as it was.
    const ProgramRun before = RunOrvoCli({"markup", file_, "0"});
    const ProgramRun undone =
        Edit({"0", "--print"}, "caret 1 0\ntype xyz\nkey Return\nkey Backspace\nundo 3\n");
    ASSERT_EQ(undone.status, 0) << undone.err;
    EXPECT_EQ(undone.out, before.out);
    const ProgramRun tooMany = Edit({"0"}, "undo 2\n");
    EXPECT_EQ(tooMany.err, "line 1: there are only 0 steps to undo\n");
}

}  // namespace
}  // namespace orvo::test

// orvo-cli edit, run as the built program over the sample guide.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "support/ProgramRun.h"
#include "support/TestSupport.h"

namespace orvo::test {
namespace {

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class CliEdit : public ::testing::Test {
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

TEST_F(CliEdit, MovesAndSelectsThroughTheBoxsInput) {
    const ProgramRun markup = RunOrvoCli({"markup", file_, "3"});
    ASSERT_EQ(markup.status, 0) << markup.err;
    struct Case {
        const char* script;
        const char* state;
    };
    // Body paragraph 1: "Un ipertesto è un documento fatto di pagine collegate tra loro. ..."
    const Case cases[] = {
        {"caret 1 0\nkey Ctrl+Right\nkey Ctrl+Right\n", "caret 1 13\n"},
        {"caret 1 3\nkey Ctrl+Right\nkey Shift+Ctrl+Right\n", "selection 1 13 1 15\n"},
        {"caret 1 0\nkey Shift+Down\nkey Shift+Up\nkey Shift+Left\n", "selection 0 22 1 0\n"},
        {"caret 0 5\nkey Ctrl+Down\nkey Ctrl+Down\nkey Ctrl+Up\n", "caret 1 0\n"},
        {"select 2 1 1 4\nkey Left\n", "caret 1 4\n"},
        {"select 1 4 2 1\nkey Right\n", "caret 2 1\n"},
        {"caret 0 0\nkey Ctrl+End\nkey Shift+Home\n", "selection 5 0 5 40\n"},
        {"command EditSelectAll\n", "selection 0 0 5 40\n"},
        {"caret 1 0\nkey End\nkey Shift+Right\n", "selection 1 58 1 59\n"},
        // A double click on the title's "Che" selects it with the space after it.
        {"dblclick 12 30\n", "selection 0 0 0 4\n"},
        // A drag along the title; a drag that starts on the page's header selects nothing.
        {"drag 10 40 80 40\n", "selection 0 1 0 7\n"},
        {"drag 10 12 80 12\n", "caret 0 7\n"},
        {"click 40 12\n", "caret 0 3\n"},
    };
    for (const Case& c : cases) {
        const ProgramRun run = Edit({"3", "--print", "--state", "--width", "400"}, c.script);
        ASSERT_EQ(run.status, 0) << c.script << run.err;
        EXPECT_EQ(run.out, markup.out + c.state) << c.script;
    }
}

TEST_F(CliEdit, ABadLineStopsWithItsNumberAndLeavesTheFile) {
    const std::string before = Bytes(file_);
    struct Case {
        const char* script;
        const char* message;
    };
    const Case cases[] = {
        {"caret 1 0\n\nfly 3\n", "line 3: unknown action \"fly\"\n"},
        {"# a comment\nkey Hyper+Left\n", "line 2: unknown key \"Hyper+Left\"\n"},
        {"caret 9 0\n", "line 1: the page has no paragraph 9 (it has 6)\n"},
        {"select 1 0 1 900\n", "line 1: paragraph 1 has no character 900 (it has 124)\n"},
        {"click 1\n", "line 1: click takes 2 numbers\n"},
        {"caret 1 0\ntype x\nfly\n", "line 3: unknown action \"fly\"\n"},
        {"command FileSave\n",
         "line 1: no command \"FileSave\" acts on a text box (orvo-cli edit --commands)\n"},
    };
    for (const Case& c : cases) {
        const ProgramRun run = Edit({"3"}, c.script);
        EXPECT_EQ(run.status, 1) << c.script;
        EXPECT_EQ(run.err, c.message) << c.script;
        EXPECT_EQ(run.out, "");
    }
    EXPECT_EQ(Bytes(file_), before);
}

TEST_F(CliEdit, SavesTheDocumentAndListsItsCommands) {
    const ProgramRun before = RunOrvoCli({"markup", file_, "4"});
    const std::string script = (TestDir() / "moves.txt").string();
    std::ofstream(script) << "caret 1 2\r\nkey Shift+Right\r\n";
    const ProgramRun run = RunOrvoCli({"edit", file_, "4", script});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(RunOrvoCli({"markup", file_, "4"}).out, before.out);
    EXPECT_EQ(RunOrvoCli({"edit", file_, "99"}, {}, "").err, "the document has no page 99\n");

    const ProgramRun list = RunOrvoCli({"edit", "--commands"});
    ASSERT_EQ(list.status, 0);
    EXPECT_EQ(list.out.substr(0, 97),
              "EditUndo\t&Undo\nEditCut\t&Taglia\nEditCopy\t&Copia\nEditPaste\t&Incolla\n"
              "EditSelectAll\t&Seleziona tutto\n");
}

}  // namespace
}  // namespace orvo::test

// orvo-cli sample and tree, run as the built program.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/TestSupport.h"

extern char** environ;

namespace orvo::test {
namespace {

using ::testing::HasSubstr;

struct CliOutcome {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs orvo-cli with `args` (no shell), its output captured in files.
CliOutcome OrvoCli(const std::vector<std::string>& args) {
    const std::string program = ORVO_BINARY_DIR "/cli/orvo-cli";
    const std::string out = (TestDir() / "pages-out.txt").string();
    const std::string err = (TestDir() / "pages-err.txt").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t child = 0;
    const int spawned =
        posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return {};
    int status = 0;
    waitpid(child, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(out), ReadFile(err)};
}

std::string Path(std::string_view name) {
    return (TestDir() / name).string();
}

TEST(CliPages, SampleWritesTheGuideThatTreeShowsChapterByChapter) {
    const std::string file = Path("Guida perché.kyt");
    const CliOutcome sample = OrvoCli({"sample", file});
    ASSERT_EQ(sample.status, 0) << sample.err;
    EXPECT_EQ(sample.err, "");
    EXPECT_EQ(sample.out, "");
    const CliOutcome tree = OrvoCli({"tree", file});
    ASSERT_EQ(tree.status, 0) << tree.err;
    EXPECT_EQ(tree.err, "");
    EXPECT_EQ(tree.out,
              "Guida perché.kyt\n"
              "  Copertina [0]\n"
              "  Primi passi/\n"
              "    Che cos'è un ipertesto [3]\n"
              "    Pagine e capitoli [4]\n"
              "    Gli stili di paragrafo [5]\n"
              "  Approfondimenti/\n"
              "    I collegamenti [6]\n"
              "    Intestazione e piè di pagina [7]\n"
              "    Parole chiave e sequenze [8]\n");
}

TEST(CliPages, SampleTakesAPageCountAndATextSize) {
    const std::string file = Path("Grande.kyt");
    const CliOutcome sample = OrvoCli({"sample", file, "--pages", "4", "--text-kb", "3"});
    ASSERT_EQ(sample.status, 0) << sample.err;
    const CliOutcome tree = OrvoCli({"tree", file});
    EXPECT_EQ(tree.out,
              "Grande.kyt\n"
              "  Copertina [0]\n"
              "  Primi passi/\n"
              "    Che cos'è un ipertesto [3]\n"
              "    Pagine e capitoli [4]\n"
              "  Approfondimenti/\n"
              "    Gli stili di paragrafo [5]\n");
    // four filled pages of at least 3 KiB each, and the header and footer
    EXPECT_GT(ReadFile(file).size(), 4u * 3072u);
}

TEST(CliPages, SampleRefusesWhatItCannotRead) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{"sample"},
                                                 {"sample", Path("a.kyt"), "--pages"},
                                                 {"sample", Path("a.kyt"), "--pages", "0"},
                                                 {"sample", Path("a.kyt"), "--pages", "7x"},
                                                 {"sample", Path("a.kyt"), "--text-kb", "-1"},
                                                 {"sample", Path("a.kyt"), "--colori", "2"},
                                                 {"sample", Path("a.kyt"), Path("b.kyt")}}) {
        const CliOutcome run = OrvoCli(args);
        EXPECT_EQ(run.status, 1) << args.back();
        EXPECT_NE(run.err, "") << args.back();
        EXPECT_FALSE(std::filesystem::exists(Path("a.kyt"))) << args.back();
    }
    EXPECT_EQ(OrvoCli({"sample", Path("a.kyt"), "--pages", "0"}).err,
              "--pages needs a number from 1 to 100000\n");
    EXPECT_EQ(OrvoCli({"sample"}).err, "Usage: orvo-cli sample FILE [--pages N] [--text-kb K]\n");
    const CliOutcome help = OrvoCli({"sample", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_THAT(help.out, HasSubstr("--text-kb K"));
}

TEST(CliPages, TreeOfAMissingFileFailsWithTheWarning) {
    const CliOutcome run = OrvoCli({"tree", Path("manca.kyt")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_THAT(run.err, HasSubstr("Attenzione!: " + Path("manca.kyt") + " non esiste"));
    EXPECT_EQ(OrvoCli({"tree"}).status, 1);
}

TEST(CliPages, TreeOfADocumentWithoutAStoreShowsItsDefaultTree) {
    ASSERT_EQ(OrvoCli({"new", Path("Vuoto.kyt")}).status, 0);
    const CliOutcome run = OrvoCli({"tree", Path("Vuoto.kyt")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Vuoto.kyt\n");
}

}  // namespace
}  // namespace orvo::test

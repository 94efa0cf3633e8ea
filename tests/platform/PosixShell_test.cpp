// Starting real programs without a shell, the waiter, and the desktop's program for a file.
#include "platform/PosixShell.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>

#include "base/Cp1252.h"
#include "platform/RecordingShell.h"
#include "support/TestSupport.h"

namespace orvo {
namespace {

using namespace orvo::literals;
using ::testing::ElementsAre;

// Collects the exit status a waiter thread reports.
class ExitWaiter {
public:
    IShell::ExitCallback Callback() {
        return [this](int status) {
            std::lock_guard lock(mutex_);
            status_ = status;
            done_ = true;
            changed_.notify_all();
        };
    }
    // The exit status, or -999 when nothing came within 20 seconds.
    int Wait() {
        std::unique_lock lock(mutex_);
        if (!changed_.wait_for(lock, std::chrono::seconds(20), [this] { return done_; }))
            return -999;
        return status_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool done_ = false;
    int status_ = 0;
};

std::filesystem::path Folder(const char* name) {
    const auto folder = test::TestDir() / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

TEST(StartingPrograms, PassesEveryArgumentAsItIsWithoutAShell) {
    const auto folder = Folder("argv");
    test::WriteFile(folder / "source.txt", "contenuto");
    const std::string hostile = "dest; touch pwned $(touch pwned2) 'q' \"d\" *.txt perché";
    PosixShell shell;
    ExitWaiter waiter;
    auto pid = shell.Start({{"cp", "source.txt", hostile}, folder}, waiter.Callback());
    ASSERT_TRUE(pid.ok());
    EXPECT_GT(*pid, 0);
    EXPECT_EQ(waiter.Wait(), 0);
    EXPECT_EQ(test::ReadFile(folder / hostile), "contenuto");
    EXPECT_FALSE(std::filesystem::exists(folder / "pwned"));
    EXPECT_FALSE(std::filesystem::exists(folder / "pwned2"));
}

TEST(StartingPrograms, ReportsHowTheProgramEnded) {
    PosixShell shell;
    ExitWaiter ok, failed;
    ASSERT_TRUE(shell.Start({{"/bin/true"}, {}}, ok.Callback()).ok());
    ASSERT_TRUE(shell.Start({{"/bin/false"}, {}}, failed.Callback()).ok());
    EXPECT_EQ(ok.Wait(), 0);
    EXPECT_EQ(failed.Wait(), 1);

    ExitWaiter stopped;
    auto pid = shell.Start({{"sleep", "30"}, {}}, stopped.Callback());
    ASSERT_TRUE(pid.ok());
    shell.Terminate(*pid);
    EXPECT_EQ(stopped.Wait(), 128 + 15);
}

TEST(StartingPrograms, SaysWhichProgramCouldNotStart) {
    PosixShell shell;
    auto missing = shell.Start({{"/nessun/programma è"_cp.data()}, {}});
    ASSERT_FALSE(missing.ok());
    auto inPath = shell.Start({{"orvo-no-such-program"}, {}});
    ASSERT_FALSE(inPath.ok());
    EXPECT_EQ(inPath.failure().text,
              "Non è stato possibile avviare il programma \"orvo-no-such-program\"."_cp);
    EXPECT_FALSE(shell.Start({{}, {}}).ok());
}

TEST(StartingPrograms, CapturesWhatAProgramWrites) {
    auto out = PosixShell::Capture({"printf", "%s|%s", "a b", "$HOME"});
    ASSERT_TRUE(out.ok());
    EXPECT_EQ(*out, "a b|$HOME");
    EXPECT_FALSE(PosixShell::Capture({"/bin/false"}).ok());
}

// ---------------------------------------------------------------------------------------------
// Desktop entries

TEST(DesktopExec, SplitsQuotesAndFillsInTheFieldCodes) {
    using V = std::vector<std::string>;
    EXPECT_EQ(ExpandDesktopExec("gimp-2.10 %U", "/t/a b.gif"), (V{"gimp-2.10", "/t/a b.gif"}));
    EXPECT_EQ(ExpandDesktopExec("\"/opt/My App/run\" --open=%f -x", "/f"),
              (V{"/opt/My App/run", "--open=/f", "-x"}));
    EXPECT_EQ(ExpandDesktopExec("app \"quoted %f\" %%d %i", "/f"),
              (V{"app", "quoted %f", "%d", "/f"}));
    EXPECT_EQ(ExpandDesktopExec("app \"a \\\"b\\\" \\$c \\\\d\"", "/f"),
              (V{"app", "a \"b\" $c \\d", "/f"}));
    EXPECT_EQ(ExpandDesktopExec("app --name %c --entry %k %d %m", "/f", "Nome", "/e.desktop"),
              (V{"app", "--name", "Nome", "--entry", "/e.desktop", "/f"}));
    EXPECT_EQ(ExpandDesktopExec("viewer", "/f"), (V{"viewer", "/f"}));
    EXPECT_EQ(ExpandDesktopExec("app \"unclosed", "/f"), std::nullopt);
    EXPECT_EQ(ExpandDesktopExec("   ", "/f"), std::nullopt);
    EXPECT_EQ(ExpandDesktopExec("%i", "/f"), std::nullopt);
}

TEST(DesktopExec, ReadsOnlyTheDesktopEntryGroup) {
    const DesktopEntry entry = ParseDesktopEntry(
        "# comment\n"
        "[Desktop Action new]\n"
        "Exec=wrong --new\n"
        "[Desktop Entry]\n"
        "Name=Visore\n"
        "Name[it]=Altro\n"
        "Exec[it]=wrong\n"
        "Exec = viewer\\s--a %F\n"
        "Exec=second\n");
    EXPECT_EQ(entry.exec, "viewer --a %F");
    EXPECT_EQ(entry.name, "Visore");
    EXPECT_TRUE(ParseDesktopEntry("[Desktop Entry]\nExec=x\nHidden=true\n").exec.empty());
    EXPECT_TRUE(ParseDesktopEntry("[Other]\nExec=x\n").exec.empty());
}

// The desktop's own lookup, with a private mimeapps.list and entry.
class DesktopAssociation : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* v : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION",
                              "GNOME_DESKTOP_SESSION_ID", "XDG_DATA_DIRS"})
            ::unsetenv(v);
        ASSERT_TRUE(std::filesystem::exists("/usr/bin/xdg-mime")) << "xdg-utils is missing";
        const char* config = std::getenv("XDG_CONFIG_HOME");
        const char* data = std::getenv("XDG_DATA_HOME");
        ASSERT_TRUE(config && data);
        folder_ = Folder("association");
        test::WriteFile(std::filesystem::path(config) / "mimeapps.list",
                        "[Default Applications]\ntext/plain=orvo-prova.desktop\n");
        test::WriteFile(std::filesystem::path(data) / "applications/orvo-prova.desktop",
                        "[Desktop Entry]\nType=Application\nName=Prova\nExec=/bin/cp %f " +
                            (folder_ / "copia.txt").string() + "\n");
    }
    std::filesystem::path folder_;
};

TEST_F(DesktopAssociation, FindsTheProgramAndItOpensTheFile) {
    const auto file = folder_ / "nota con spazi.txt";
    test::WriteFile(file, "testo semplice\n");
    PosixShell shell;
    const AssociatedProgram program = shell.ProgramFor(file);
    ASSERT_EQ(program.outcome, ProgramLookup::Found);
    EXPECT_THAT(program.command.argv,
                ElementsAre("/bin/cp", file.string(), (folder_ / "copia.txt").string()));
    EXPECT_EQ(program.command.workingFolder, folder_);

    ExitWaiter waiter;
    ASSERT_TRUE(shell.Start(program.command, waiter.Callback()).ok());
    EXPECT_EQ(waiter.Wait(), 0);
    EXPECT_EQ(test::ReadFile(folder_ / "copia.txt"), "testo semplice\n");
}

TEST_F(DesktopAssociation, KnowsWhenNoProgramIsAssociated) {
    const auto file = folder_ / "dati.orvobin";
    test::WriteFile(file, std::string("\x00\x01\x02\x03\xFF", 5));
    PosixShell shell;
    EXPECT_EQ(shell.ProgramFor(file).outcome, ProgramLookup::NoAssociation);
    EXPECT_EQ(shell.ProgramFor(folder_ / "missing.txt").outcome, ProgramLookup::Failed);
}

TEST(RecordingShellTest, RecordsAndEndsProgramsWhenTold) {
    RecordingShell shell;
    shell.SetAssociation({ProgramLookup::Found, {{"viewer"}, {}}});
    const auto program = shell.ProgramFor("/w/a.txt");
    EXPECT_THAT(program.command.argv, ElementsAre("viewer", "/w/a.txt"));
    int seen = -1;
    auto pid = shell.Start(program.command, [&](int s) { seen = s; });
    ASSERT_TRUE(pid.ok());
    EXPECT_EQ(seen, -1);
    shell.Finish(0, 7);
    EXPECT_EQ(seen, 7);
    shell.FailStarts(Fail("no"));
    EXPECT_FALSE(shell.Start({{"x"}, {}}).ok());
}

}  // namespace
}  // namespace orvo

// The settings file: its exact text, reading damaged files, and several writers at once.
#include "platform/FileSettings.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "base/Cp1252.h"
#include "base/Paths.h"
#include "support/TestSupport.h"

namespace orvo {
namespace {

using namespace orvo::literals;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

unsigned ModeOf(const std::filesystem::path& p) {
    struct stat st {};
    if (::stat(p.c_str(), &st) != 0) return 0;
    return st.st_mode & 07777;
}

std::filesystem::path FreshFile(const char* name) {
    const auto folder = test::TestDir() / name;
    std::filesystem::remove_all(folder);
    return folder / "settings.reg";
}

// ---------------------------------------------------------------------------------------------
// The text form

TEST(SettingsText, IsWrittenByteForByte) {
    SettingsTree tree;
    SettingsTree::SetValue(tree.FindOrCreate("options"), "Bak", "1");
    SettingsTree::SetValue(tree.FindOrCreate("options"), "TimeSave", "5");
    tree.FindOrCreate("ext\\.pdf");
    SettingsTree::SetValue(tree.FindOrCreate("ftpnet\\0"), "pass",
                           "a\"b\\c\r\n\td\x01"
                           "\xE8\xA7");
    SettingsTree::SetValue(tree.FindOrCreate("100%"), "", "");
    const std::string expected =
        "; Orvo settings\n"
        "[\\SOFTWARE\\QX\\Orvo3.0lite]\n"
        "[\\SOFTWARE\\QX\\Orvo3.0lite\\options]\n"
        "\"Bak\"=\"1\"\n"
        "\"TimeSave\"=\"5\"\n"
        "[\\SOFTWARE\\QX\\Orvo3.0lite\\ext]\n"
        "[\\SOFTWARE\\QX\\Orvo3.0lite\\ext\\.pdf]\n"
        "[\\SOFTWARE\\QX\\Orvo3.0lite\\ftpnet]\n"
        "[\\SOFTWARE\\QX\\Orvo3.0lite\\ftpnet\\0]\n"
        "\"pass\"=\"a\\\"b\\\\c\\r\\n\\td\\x01\xC3\xA8\xC2\xA7\"\n"
        "[\\SOFTWARE\\QX\\Orvo3.0lite\\100%25]\n"
        "\"\"=\"\"\n"
        "; end\n";
    EXPECT_EQ(test::Escaped(SerializeSettings(tree)), test::Escaped(expected));
}

TEST(SettingsText, ReadsBackWhatItWrites) {
    SettingsTree tree;
    std::string every;
    for (int c = 1; c < 256; ++c) every += static_cast<char>(c);
    SettingsTree::SetValue(tree.FindOrCreate("odd\x01name\\[x]\\%41"), "every byte", every);
    SettingsTree::SetValue(tree.FindOrCreate("options"), "Naïve name"_cp, "è"_cp);
    tree.FindOrCreate("empty\\deeper\\deepest");

    SettingsFileState state;
    const SettingsTree back = ParseSettings(SerializeSettings(tree), &state);
    EXPECT_TRUE(state.exists);
    EXPECT_FALSE(state.damaged);
    EXPECT_EQ(SerializeSettings(back), SerializeSettings(tree));
    const auto* odd = back.Find("odd\x01name\\[x]\\%41");
    ASSERT_NE(odd, nullptr);
    EXPECT_EQ(odd->name, "%41");
    EXPECT_EQ(*SettingsTree::ValueOf(*odd, "EVERY BYTE"), every);
    EXPECT_NE(back.Find("empty\\deeper\\deepest"), nullptr);
}

TEST(SettingsText, SkipsWhatItCannotReadAndSaysWhere) {
    const std::string text =
        "; Orvo settings\n"
        "\"orphan\"=\"1\"\n"  // 2: before any key
        "[\\SOFTWARE\\QX\\Orvo3.0lite\\options]\n"
        "\"Bak\"=\"0\"\n"
        "\"broken=\"1\"\n"                            // 5
        "\"bad escape\"=\"\\q\"\n"                    // 6
        "\"short\"=\"\\x4\"\n"                        // 7
        "[\\SOFTWARE\\Other\\program]\n"              // 8: another program's key
        "\"stolen\"=\"1\"\n"                          // 9: belongs to it, so dropped as well
        "[\\SOFTWARE\\QX\\Orvo3.0lite\\bad%zzkey]\n"  // 10
        "[\\SOFTWARE\\QX\\Orvo3.0lite\\finds]\n"
        "\"wholeword\"=\"1\"   \r\n"  // trailing blanks and CR are fine
        "; end\n";
    SettingsFileState state;
    const SettingsTree tree = ParseSettings(text, &state);
    EXPECT_TRUE(state.damaged);
    EXPECT_EQ(state.damagedLine, 2);
    ASSERT_NE(tree.Find("options"), nullptr);
    EXPECT_THAT(tree.Find("options")->values,
                ElementsAre(std::pair<std::string, std::string>{"Bak", "0"}));
    EXPECT_EQ(*SettingsTree::ValueOf(*tree.Find("finds"), "wholeword"), "1");
    EXPECT_EQ(tree.Find("stolen"), nullptr);
    EXPECT_EQ(tree.Root().children.size(), 2u);
}

TEST(SettingsText, AFileCutShortIsDamaged) {
    SettingsTree tree;
    SettingsTree::SetValue(tree.FindOrCreate("options"), "Bak", "1");
    const std::string whole = SerializeSettings(tree);
    SettingsFileState state;
    ParseSettings(whole.substr(0, whole.size() - 6), &state);
    EXPECT_TRUE(state.damaged);
    EXPECT_EQ(state.damagedLine, 0);
    ParseSettings(whole + "\"late\"=\"1\"\n", &state);
    EXPECT_TRUE(state.damaged);
}

// ---------------------------------------------------------------------------------------------
// The store on disk

TEST(FileStore, ComparesNamesWithoutCaseAndKeepsThemAsFirstWritten) {
    const auto path = FreshFile("names");
    FileSettings store(path);
    store.Write("Browser", "Num", "2");
    store.Write("browser", "num", "3");
    store.Write("options", "FormLim", "4");
    EXPECT_EQ(store.Read("BROWSER", "NUM"), "3");
    EXPECT_EQ(store.Read("options", "formLim"), "4");
    EXPECT_EQ(store.Read("options", "missing"), std::nullopt);
    EXPECT_EQ(store.Read("nowhere", "missing"), std::nullopt);

    FileSettings reopened(path);
    EXPECT_THAT(reopened.SubKeys(""), ElementsAre("Browser", "options"));
    EXPECT_THAT(reopened.ValueNames("browser"), ElementsAre("Num"));
    EXPECT_EQ(reopened.Read("Browser", "num"), "3");
    EXPECT_THAT(test::ReadFile(path), HasSubstr("[\\SOFTWARE\\QX\\Orvo3.0lite\\Browser]\n"
                                                "\"Num\"=\"3\"\n"));
}

TEST(FileStore, ListsAndDeletesGroupsWithEverythingBelow) {
    const auto path = FreshFile("groups");
    FileSettings store(path);
    store.Write("ext\\.pdf", "comp", "2");
    store.Write("ext\\.ZIP", "comp", "1");
    store.Write("ext\\.zip\\deeper", "x", "y");
    store.Write("forms\\TMainForm", "Left", "10");
    EXPECT_THAT(store.SubKeys("ext"), ElementsAre(".pdf", ".ZIP"));
    store.DeleteKey("EXT\\.zip");
    store.DeleteValue("forms\\tmainform", "LEFT");
    FileSettings reopened(path);
    EXPECT_THAT(reopened.SubKeys("ext"), ElementsAre(".pdf"));
    EXPECT_FALSE(reopened.KeyExists("ext\\.zip\\deeper"));
    EXPECT_TRUE(reopened.KeyExists("forms\\TMainForm"));
    EXPECT_THAT(reopened.ValueNames("forms\\TMainForm"), ElementsAre());
}

TEST(FileStore, KeepsTheFileAndItsLockPrivate) {
    const auto path = FreshFile("private");
    FileSettings store(path);
    store.Write("ftpnet\\0", "pass", "segreta");
    EXPECT_EQ(ModeOf(path), 0600u);
    EXPECT_EQ(ModeOf(path.parent_path()), 0700u);
    std::filesystem::path lock = path;
    lock += ".lock";
    EXPECT_EQ(ModeOf(lock), 0600u);

    ASSERT_EQ(::chmod(path.c_str(), 0644), 0);
    store.Write("ftpnet\\0", "pass", "altra");
    EXPECT_EQ(ModeOf(path), 0600u);
}

TEST(FileStore, SeesWhatAnotherStoreWrote) {
    const auto path = FreshFile("another");
    FileSettings first(path), second(path);
    first.Write("options", "Bak", "0");
    EXPECT_EQ(second.Read("options", "Bak"), "0");
    second.Write("options", "Alt", "1");
    EXPECT_EQ(first.Read("options", "alt"), "1");
    EXPECT_EQ(first.Read("options", "bak"), "0");
}

TEST(FileStore, ABatchReplacesTheFileOnce) {
    const auto path = FreshFile("batch");
    FileSettings store(path);
    store.Write("options", "first", "1");
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    {
        FileSettings::Batch batch(store);
        for (int i = 0; i < 50; ++i) store.Write("many", std::to_string(i), std::to_string(i));
        EXPECT_EQ(store.PendingChanges(), 50u);
        EXPECT_EQ(store.Read("many", "49"), "49");  // seen at once by this program
        FileSettings other(path);
        EXPECT_EQ(other.Read("many", "49"), std::nullopt);
    }
    EXPECT_EQ(store.PendingChanges(), 0u);
    FileSettings other(path);
    EXPECT_EQ(other.ValueNames("many").size(), 50u);
}

// A file system whose renames fail while `failing` is set.
class FlakyFileSystem final : public PosixFileSystem {
public:
    bool failing = true;
    Status Rename(const std::filesystem::path& from, const std::filesystem::path& to) override {
        if (failing) return Fail("disco pieno");
        return PosixFileSystem::Rename(from, to);
    }
};

TEST(FileStore, AFailedWriteIsKeptAndTriedAgain) {
    const auto path = FreshFile("flaky");
    {
        FileSettings good(path);
        good.Write("options", "Bak", "1");
    }
    FlakyFileSystem fs;
    FileSettings store(path, fs);
    store.Write("options", "Bak", "0");
    EXPECT_FALSE(store.LastFailure().ok());
    EXPECT_EQ(store.Read("options", "Bak"), "0");  // this program goes on seeing it
    EXPECT_EQ(store.PendingChanges(), 1u);
    EXPECT_EQ(FileSettings(path).Read("options", "Bak"), "1");  // the file is as it was
    std::vector<std::string> leftovers;
    for (const auto& e : std::filesystem::directory_iterator(path.parent_path()))
        leftovers.push_back(e.path().filename().string());
    std::sort(leftovers.begin(), leftovers.end());
    EXPECT_THAT(leftovers, ElementsAre("settings.reg", "settings.reg.lock"));

    fs.failing = false;
    EXPECT_TRUE(store.Flush().ok());
    EXPECT_TRUE(store.LastFailure().ok());
    EXPECT_EQ(FileSettings(path).Read("options", "Bak"), "0");
}

// A file system on which the settings file cannot be opened for reading.
class UnreadableFileSystem final : public PosixFileSystem {
public:
    Result<FileStream> Open(const std::filesystem::path& path, FileStream::Mode mode,
                            unsigned permissions) override {
        if (mode == FileStream::Mode::Read) return Fail("permesso negato");
        return PosixFileSystem::Open(path, mode, permissions);
    }
};

TEST(FileStore, AFileItCannotReadIsNeverReplaced) {
    const auto path = FreshFile("unreadable");
    FileSettings(path).Write("ftpnet\\0", "pass", "segreta");
    const std::string before = test::ReadFile(path);
    UnreadableFileSystem fs;
    FileSettings store(path, fs);
    EXPECT_EQ(store.Read("ftpnet\\0", "pass"), std::nullopt);  // a key that cannot be opened
    store.Write("options", "Bak", "0");
    ASSERT_FALSE(store.LastFailure().ok());
    EXPECT_EQ(store.LastFailure().failure().text,
              std::string("Non è stato possibile salvare le impostazioni in "_cp) +
                  NameOfPath(path) + ".");
    EXPECT_EQ(test::ReadFile(path), before);
}

TEST(FileStore, CannotSaveInAFolderItCannotMake) {
    const auto blocker = test::TestDir() / "blocker";
    test::WriteFile(blocker, "a file where the folder should be");
    FileSettings store(blocker / "settings.reg");
    store.Write("options", "Bak", "1");
    ASSERT_FALSE(store.LastFailure().ok());
    EXPECT_EQ(store.LastFailure().failure().text,
              std::string("Non è stato possibile salvare le impostazioni in "_cp) +
                  NameOfPath(blocker) + ".");
    EXPECT_EQ(store.Read("options", "Bak"), "1");
}

TEST(FileStore, BacksUpADamagedFileBeforeReplacingIt) {
    const auto path = FreshFile("damaged");
    const std::string damaged =
        "; Orvo settings\n"
        "[\\SOFTWARE\\QX\\Orvo3.0lite\\options]\n"
        "\"Bak\"=\"0\"\n"
        "garbage written by hand\n";
    test::WriteFile(path, damaged);
    FileSettings store(path);
    EXPECT_TRUE(store.FileState().damaged);
    EXPECT_EQ(store.Read("options", "Bak"), "0");
    store.Write("options", "Alt", "1");
    std::filesystem::path backup = path;
    backup += ".damaged";
    EXPECT_EQ(test::ReadFile(backup), damaged);
    EXPECT_EQ(ModeOf(backup), 0600u);
    FileSettings reopened(path);
    EXPECT_FALSE(reopened.FileState().damaged);
    EXPECT_EQ(reopened.Read("options", "Bak"), "0");
    EXPECT_EQ(reopened.Read("options", "Alt"), "1");
}

// ---------------------------------------------------------------------------------------------
// Several processes

// Runs `body` in a child process; returns its pid.
template <class F>
pid_t Child(F body) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        body();
        ::_exit(0);
    }
    return pid;
}

int ExitOf(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST(SharedStore, TwoProcessesWritingAtOnceLoseNothing) {
    const auto path = FreshFile("shared");
    FileSettings(path).Write("options", "before", "1");
    constexpr int kWrites = 60;
    auto writer = [&path](const char* group) {
        return [&path, group] {
            FileSettings store(path);
            for (int i = 0; i < kWrites; ++i) {
                store.Write(group, "v" + std::to_string(i), std::to_string(i));
                store.Write("common", std::string(group) + std::to_string(i), "x");
                if (!store.LastFailure().ok()) ::_exit(3);
            }
        };
    };
    const pid_t a = Child(writer("alpha"));
    const pid_t b = Child(writer("beta"));
    ASSERT_EQ(ExitOf(a), 0);
    ASSERT_EQ(ExitOf(b), 0);

    FileSettings store(path);
    EXPECT_FALSE(store.FileState().damaged);
    EXPECT_EQ(store.ValueNames("alpha").size(), std::size_t(kWrites));
    EXPECT_EQ(store.ValueNames("beta").size(), std::size_t(kWrites));
    EXPECT_EQ(store.ValueNames("common").size(), std::size_t(2 * kWrites));
    EXPECT_EQ(store.Read("alpha", "v59"), "59");
    EXPECT_EQ(store.Read("options", "before"), "1");
}

// Writes in pieces of 4 KB, and the process dies (SIGKILL) after `pieces` pieces of its
// `writes`-th file: a writer killed in the middle of replacing the settings.
class DyingFileSystem final : public PosixFileSystem {
public:
    DyingFileSystem(int writes, int pieces) : writes_(writes), pieces_(pieces) {}
    bool Write(FileStream& file, std::string_view bytes) override {
        ++written_;
        for (std::size_t at = 0, piece = 0; at < bytes.size(); at += 4096, ++piece) {
            if (written_ == writes_ && int(piece) == pieces_) ::raise(SIGKILL);
            if (!PosixFileSystem::Write(file, bytes.substr(at, 4096))) return false;
        }
        return true;
    }

private:
    int writes_, pieces_, written_ = 0;
};

TEST(SharedStore, AWriterKilledMidWriteLeavesAWholeFile) {
    const auto path = FreshFile("killed");
    const std::string big(20000, 'x');
    for (int round = 0; round < 6; ++round) {
        const pid_t pid = Child([&] {
            DyingFileSystem dying(2 + round, 1 + 3 * round);
            FileSettings store(path, dying);
            for (int i = 0;; ++i) {
                // Each batch writes the pair together: a whole file never holds half of one.
                FileSettings::Batch batch(store);
                store.Write("pair", "n", std::to_string(round * 100 + i));
                store.Write("pair", "copy", std::to_string(round * 100 + i));
                store.Write("bulk", std::to_string(i % 10), big);
            }
        });
        ASSERT_EQ(ExitOf(pid), 128 + SIGKILL);

        const auto bytes = ReadFileBytes(path);
        ASSERT_TRUE(bytes.ok()) << "round " << round;
        SettingsFileState state;
        const SettingsTree tree = ParseSettings(*bytes, &state);
        EXPECT_FALSE(state.damaged) << "round " << round << " line " << state.damagedLine;
        const auto* pair = tree.Find("pair");
        ASSERT_NE(pair, nullptr);
        // The last whole write of this round: the one before the write it died in.
        const std::string last = std::to_string(round * 100 + round);
        EXPECT_EQ(*SettingsTree::ValueOf(*pair, "n"), last) << "round " << round;
        EXPECT_EQ(*SettingsTree::ValueOf(*pair, "copy"), last) << "round " << round;
        // The killed write's temporary file is what is left of it.
        int leftovers = 0;
        for (const auto& e : std::filesystem::directory_iterator(path.parent_path())) {
            const std::string name = e.path().filename().string();
            if (name != "settings.reg" && name != "settings.reg.lock") {
                ++leftovers;
                std::filesystem::remove(e.path());
            }
        }
        EXPECT_EQ(leftovers, 1) << "round " << round;
    }
    // The store goes on working after its writers died.
    FileSettings store(path);
    store.Write("after", "ok", "1");
    EXPECT_TRUE(store.LastFailure().ok());
    EXPECT_EQ(FileSettings(path).Read("after", "ok"), "1");
    EXPECT_EQ(FileSettings(path).ValueNames("bulk").size(),
              6u);  // batches 0 to 5 of the last round
}

}  // namespace
}  // namespace orvo

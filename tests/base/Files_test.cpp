// File names from data, and replacing a file so it is always whole.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>

#include "base/Files.h"
#include "base/Paths.h"
#include "support/TestSupport.h"

using namespace orvo;
namespace fs = std::filesystem;

TEST(FileNames, NamesFromDataStayInTheirFolder) {
    EXPECT_TRUE(IsSafeName("pagina1.htm"));
    for (const char* bad : {"", ".", "..", "../x", "a/b", "a\\b", "/etc", "c:x"})
        EXPECT_FALSE(IsSafeName(bad)) << bad;
    EXPECT_TRUE(IsSafeRelativePath("images/a.gif"));
    for (const char* bad : {"/images/a.gif", "images/../../a", "images//a", "a\\b", ""})
        EXPECT_FALSE(IsSafeRelativePath(bad)) << bad;
}

TEST(FileNames, WindowsFormsBecomeLinuxPaths) {
    EXPECT_EQ(FromWindowsPath("C:\\Documenti\\foto.GIF"), "/Documenti/foto.GIF");
    EXPECT_EQ(FromWindowsPath("images\\a.gif"), "images/a.gif");
    EXPECT_EQ(LastComponent("C:\\a\\b.gif"), "b.gif");
    EXPECT_EQ(LastComponent("/a/b/c"), "c");
    EXPECT_EQ(ExtensionOf("Foto.JPEG"), ".jpeg");
    EXPECT_EQ(ExtensionOf("dir.x/noext"), "");
    EXPECT_EQ(StemOf("/a/libro.kyt"), "libro");
}

TEST(FileNames, AccentedNamesAreUtf8OnDisk) {
    const fs::path p = NativePath("perch\xE9.kyt");
    EXPECT_EQ(p.string(), "perch\xC3\xA9.kyt");
    EXPECT_EQ(NameOfPath(p), "perch\xE9.kyt");
}

namespace {
// Fails the rename of a temporary file over its target.
class RenameFails : public PosixFileSystem {
public:
    Status Rename(const fs::path&, const fs::path&) override { return Fail("rename refused"); }
};
// Fails every write.
class WriteFails : public PosixFileSystem {
public:
    bool Write(FileStream&, std::string_view) override { return false; }
};

// Counts what is flushed to the disk.
class CountsFlushes : public PosixFileSystem {
public:
    bool Sync(FileStream& file) override {
        ++flushes;
        return PosixFileSystem::Sync(file);
    }
    Status SyncFolder(const fs::path& folder) override {
        ++flushes;
        return PosixFileSystem::SyncFolder(folder);
    }
    int flushes = 0;
};

std::vector<std::string> FolderNames(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}
}  // namespace

TEST(AtomicWrites, ReplaceTheTargetAndKeepItsPermissions) {
    const fs::path dir = orvo::test::TestDir() / "atomic";
    fs::create_directories(dir);
    const fs::path target = dir / "settings";
    ASSERT_TRUE(WriteFileAtomically(target, "first", 0600).ok());
    EXPECT_EQ(orvo::test::ReadFile(target), "first");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    ::chmod(target.c_str(), 0640);
    ASSERT_TRUE(WriteFileAtomically(target, "second").ok());
    EXPECT_EQ(orvo::test::ReadFile(target), "second");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(FolderNames(dir), std::vector<std::string>{"settings"});
}

TEST(AtomicWrites, AFailureLeavesTheTargetAndNoTemporaryFile) {
    const fs::path dir = orvo::test::TestDir() / "failing";
    fs::create_directories(dir);
    const fs::path target = dir / "doc.kyt";
    orvo::test::WriteFile(target, "old bytes");
    RenameFails renameFails;
    EXPECT_FALSE(WriteFileAtomically(target, "new", std::nullopt, renameFails).ok());
    WriteFails writeFails;
    EXPECT_FALSE(WriteFileAtomically(target, "new", std::nullopt, writeFails).ok());
    EXPECT_EQ(orvo::test::ReadFile(target), "old bytes");
    EXPECT_EQ(FolderNames(dir), std::vector<std::string>{"doc.kyt"});
}

TEST(AtomicWrites, AnUnflushedReplacementStillNeverLeavesHalfAFile) {
    const fs::path dir = orvo::test::TestDir() / "export";
    fs::create_directories(dir);
    const fs::path target = dir / "pagina.rtf";
    orvo::test::WriteFile(target, "old bytes, longer than the new ones");
    CountsFlushes counting;
    ASSERT_TRUE(ReplaceFileUnflushed(target, "new", counting).ok());
    EXPECT_EQ(counting.flushes, 0);
    EXPECT_EQ(orvo::test::ReadFile(target), "new");
    ASSERT_TRUE(WriteFileAtomically(target, "flushed", std::nullopt, counting).ok());
    EXPECT_EQ(counting.flushes, 2);  // the file, then its folder
    WriteFails writeFails;
    EXPECT_FALSE(ReplaceFileUnflushed(target, "lost", writeFails).ok());
    EXPECT_EQ(orvo::test::ReadFile(target), "flushed");
    EXPECT_EQ(FolderNames(dir), std::vector<std::string>{"pagina.rtf"});
}

TEST(AtomicWrites, AMissingFolderIsAFailureNotACrash) {
    EXPECT_FALSE(WriteFileAtomically(orvo::test::TestDir() / "no" / "such" / "f", "x").ok());
}

TEST(AtomicWrites, ReadFileBytesReadsWholeFiles) {
    const fs::path p = orvo::test::TestDir() / "big.bin";
    std::string big(300000, '\0');
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = char(i * 7);
    orvo::test::WriteFile(p, big);
    auto read = ReadFileBytes(p);
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(*read, big);
    EXPECT_FALSE(ReadFileBytes(orvo::test::TestDir() / "none").ok());
}

TEST(AtomicWrites, ALinkStaysALinkAndWhatIsNotAFileIsRefused) {
    const fs::path dir = orvo::test::TestDir() / "links";
    fs::create_directories(dir / "real");
    const fs::path file = dir / "real" / "doc.txt";
    orvo::test::WriteFile(file, "old");
    ::chmod(file.c_str(), 0640);
    // A relative link, and a link to that link.
    fs::create_symlink("real/doc.txt", dir / "link.txt");
    fs::create_symlink("link.txt", dir / "link2.txt");
    for (const char* name : {"link.txt", "link2.txt"}) {
        ASSERT_TRUE(WriteFileAtomically(dir / name, name).ok()) << name;
        EXPECT_TRUE(fs::is_symlink(dir / name)) << name;
        EXPECT_EQ(orvo::test::ReadFile(file), name);
        EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    }
    EXPECT_EQ(FolderNames(dir / "real"), std::vector<std::string>{"doc.txt"});
    // A link to nothing yet: the file it names is made.
    fs::create_symlink("real/new.txt", dir / "dangling");
    ASSERT_TRUE(ReplaceFileUnflushed(dir / "dangling", "made").ok());
    EXPECT_TRUE(fs::is_symlink(dir / "dangling"));
    EXPECT_EQ(orvo::test::ReadFile(dir / "real" / "new.txt"), "made");

    // A pipe, a folder, a device (through a link too): refused, left as they are.
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
    fs::create_symlink("/dev/null", dir / "null");
    for (const fs::path& special : {dir / "pipe", dir / "real", dir / "null"}) {
        const Status written = WriteFileAtomically(special, "x");
        ASSERT_FALSE(written.ok()) << special;
        EXPECT_EQ(written.failure().text,
                  "Impossibile scrivere \"" + special.string() +
                      "\": non \xE8 un file normale e non viene sostituito.");
    }
    EXPECT_TRUE(fs::is_fifo(dir / "pipe"));
    EXPECT_TRUE(fs::is_symlink(dir / "null"));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    EXPECT_EQ(FolderNames(dir), (std::vector<std::string>{"dangling", "link.txt", "link2.txt",
                                                          "null", "pipe", "real"}));
}

TEST(AtomicWrites, TemporariesOfProcessesThatAreGoneAreRemoved) {
    const fs::path dir = orvo::test::TestDir() / "stale";
    fs::create_directories(dir);
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ASSERT_GT(child, 0);
    ::waitpid(child, nullptr, 0);  // its number now names no process
    const std::string dead = std::to_string(child), self = std::to_string(::getpid());
    for (const std::string& name : std::vector<std::string>{
             ".doc.kyt." + dead + "-7-0.tmp", ".doc.kyt.bak." + dead + "-3.tmp",
             ".doc.kyt." + self + "-7-0.tmp", ".doc.kyt.1-7-0.tmp",
             ".altro.kyt." + dead + "-1-0.tmp", ".doc.kyt.x" + dead + "-1-0.tmp", "doc.kyt"})
        orvo::test::WriteFile(dir / name, "x");
    RemoveStaleTemporaries(dir / "doc.kyt");
    // Those of this process and of a running one (1), of another file, or of another form stay.
    std::vector<std::string> kept{".altro.kyt." + dead + "-1-0.tmp", ".doc.kyt.1-7-0.tmp",
                                  ".doc.kyt." + self + "-7-0.tmp", ".doc.kyt.x" + dead + "-1-0.tmp",
                                  "doc.kyt"};
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(FolderNames(dir), kept);
}

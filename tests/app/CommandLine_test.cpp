// The desktop program's command line and the desktop registration of "/INIT".
#include "app/CommandLine.h"

#include <set>

#include <gtest/gtest.h>

#include "support/ProgramRun.h"
#include "support/TestSupport.h"

namespace orvo {
namespace {

using test::ReadFile;
using test::TestDir;

// Files that "exist" for the parser.
struct FakeFiles {
    std::set<std::string> present;
    std::function<bool(const std::filesystem::path&)> Exists() const {
        return [this](const std::filesystem::path& p) { return present.count(p.string()) != 0; };
    }
};

CommandLine Parse(std::vector<std::string> args, const FakeFiles& files = {}) {
    return ParseCommandLine(args, files.Exists());
}

TEST(CommandLineSwitches, EachSwitchInAnyCaseChoosesItsActionAndTakesTheNextArgument) {
    EXPECT_EQ(Parse({"/print", "/home/u/a.kyt"}),
              (CommandLine{NextAction::Print, false, "/home/u/a.kyt"}));
    EXPECT_EQ(Parse({"/PFTP", "b.kyt"}), (CommandLine{NextAction::PublishFtp, false, "b.kyt"}));
    EXPECT_EQ(Parse({"/PoRvO"}), (CommandLine{NextAction::PublishServer, false, ""}));
    EXPECT_EQ(Parse({"/Init", "c.kyt"}),
              (CommandLine{NextAction::ProbeWordProcessor, true, "c.kyt"}));
}

TEST(CommandLineSwitches, AbsolutePathsAndUnknownSlashWordsAreFileNames) {
    // Every absolute path begins with "/": it must never be read as a switch.
    EXPECT_EQ(Parse({"/home/u/libro.kyt"}),
              (CommandLine{NextAction::ProbeWordProcessor, false, "/home/u/libro.kyt"}));
    EXPECT_EQ(Parse({"/printer"}).file, "/printer");
    EXPECT_EQ(Parse({"/printer"}).nextAction, NextAction::ProbeWordProcessor);
    EXPECT_EQ(Parse({"/"}).file, "/");
}

TEST(CommandLineSwitches, AFileNamedLikeASwitchIsOpenedNotObeyed) {
    FakeFiles files;
    files.present = {"/PRINT"};
    EXPECT_EQ(Parse({"/PRINT"}, files),
              (CommandLine{NextAction::ProbeWordProcessor, false, "/PRINT"}));
    // The same word in another case names another file, which is missing: a switch.
    EXPECT_EQ(Parse({"/print", "x.kyt"}, files).nextAction, NextAction::Print);
}

TEST(CommandLineSwitches, OnlyTheFirstArgumentCanBeASwitch) {
    EXPECT_EQ(Parse({"a.kyt", "/PRINT"}),
              (CommandLine{NextAction::ProbeWordProcessor, false, "a.kyt /PRINT"}));
}

TEST(CommandLineFiles, ArgumentsWithoutASwitchAreJoinedWithSingleBlanks) {
    EXPECT_EQ(Parse({"/home/u/Il", "mio", "libro.kyt"}).file, "/home/u/Il mio libro.kyt");
    EXPECT_EQ(Parse({"perch\xC3\xA9.kyt"}).file, "perch\xC3\xA9.kyt");  // bytes kept as given
}

TEST(CommandLineFiles, NoArgumentsMeansTheLastDocument) {
    EXPECT_EQ(Parse({}), CommandLine{});
    EXPECT_TRUE(Parse({}).file.empty());
}

TEST(DesktopRegistration, NamesTheTypeOrvoHypertextForKytFiles) {
    EXPECT_EQ(MimePackageText(),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
              "  <mime-type type=\"application/x-orvo-hypertext\">\n"
              "    <comment>Orvo hypertext</comment>\n"
              "    <glob pattern=\"*.kyt\"/>\n"
              "  </mime-type>\n"
              "</mime-info>\n");
}

TEST(DesktopRegistration, TheDesktopEntryQuotesTheProgramAsOneArgument) {
    EXPECT_EQ(DesktopEntryText("/opt/orvo/bin/orvo"),
              "[Desktop Entry]\nType=Application\nName=Orvo 3\nComment=Orvo hypertext\n"
              "Exec=\"/opt/orvo/bin/orvo\" %f\nMimeType=application/x-orvo-hypertext;\n"
              "Terminal=false\nCategories=Office;\n");
    // A blank, a dollar, a quote, a backslash and a percent sign in the program's path.
    const std::string entry = DesktopEntryText("/opt/my $dir/\"q\\%/orvo");
    EXPECT_NE(entry.find("Exec=\"/opt/my \\\\$dir/\\\\\"q\\\\\\\\%%/orvo\" %f\n"),
              std::string::npos)
        << entry;
}

TEST(DesktopRegistration, WritesBothFilesAndRunningAgainGivesTheSameFiles) {
    const auto home = TestDir() / "share";
    ASSERT_TRUE(RegisterWithDesktop(home, "/usr/bin/orvo").ok());
    const auto paths = DesktopRegistrationPaths(home);
    EXPECT_EQ(paths.mimePackage, home / "mime/packages/orvo.xml");
    EXPECT_EQ(paths.desktopEntry, home / "applications/orvo.desktop");
    EXPECT_EQ(ReadFile(paths.mimePackage), MimePackageText());
    EXPECT_EQ(ReadFile(paths.desktopEntry), DesktopEntryText("/usr/bin/orvo"));
    ASSERT_TRUE(RegisterWithDesktop(home, "/usr/bin/orvo").ok());
    EXPECT_EQ(ReadFile(paths.desktopEntry), DesktopEntryText("/usr/bin/orvo"));
}

TEST(DesktopRegistration, AnIconGoesInTheIconThemeAndTheEntryNamesItsFile) {
    EXPECT_EQ(DesktopEntryText("/usr/bin/orvo", "/home/u/.local/share/icons/orvo.svg"),
              "[Desktop Entry]\nType=Application\nName=Orvo 3\nComment=Orvo hypertext\n"
              "Exec=\"/usr/bin/orvo\" %f\nIcon=/home/u/.local/share/icons/orvo.svg\n"
              "MimeType=application/x-orvo-hypertext;\nTerminal=false\nCategories=Office;\n");
    // A backslash, a tab and a line break in the icon's path are written as escapes.
    EXPECT_NE(DesktopEntryText("/usr/bin/orvo", "/d\\x/a\tb\nc.svg")
                  .find("\nIcon=/d\\\\x/a\\tb\\nc.svg\n"),
              std::string::npos);

    const auto home = TestDir() / "share";
    const std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\"/>\n";
    ASSERT_TRUE(RegisterWithDesktop(home, "/usr/bin/orvo", svg).ok());
    const auto paths = DesktopRegistrationPaths(home);
    EXPECT_EQ(paths.icon, home / "icons/hicolor/scalable/apps/orvo.svg");
    EXPECT_EQ(ReadFile(paths.icon), svg);
    EXPECT_EQ(ReadFile(paths.desktopEntry), DesktopEntryText("/usr/bin/orvo", paths.icon));
    EXPECT_EQ(ReadFile(paths.mimePackage), MimePackageText());
    // Without an icon none is installed and the entry names none.
    const auto bare = TestDir() / "bare";
    ASSERT_TRUE(RegisterWithDesktop(bare, "/usr/bin/orvo").ok());
    EXPECT_FALSE(std::filesystem::exists(DesktopRegistrationPaths(bare).icon));
    EXPECT_EQ(ReadFile(DesktopRegistrationPaths(bare).desktopEntry).find("Icon="),
              std::string::npos);
}

TEST(DesktopRegistration, AnIconFolderThatCannotBeMadeLeavesNoEntryNamingIt) {
    const auto home = TestDir() / "blocked";
    test::WriteFile(home / "icons", "a file where the icon theme should be");
    EXPECT_FALSE(RegisterWithDesktop(home, "/usr/bin/orvo", "<svg/>").ok());
    EXPECT_FALSE(std::filesystem::exists(DesktopRegistrationPaths(home).desktopEntry));
}

TEST(DesktopRegistration, TheDesktopsOwnToolsReadTheFiles) {
    const auto home = TestDir() / "peers";
    ASSERT_TRUE(RegisterWithDesktop(home, "/opt/my $dir/orvo",
                                    "<svg xmlns=\"http://www.w3.org/2000/svg\"/>")
                    .ok());
    const auto paths = DesktopRegistrationPaths(home);
    // The entry as the desktop reads it: no error, no warning.
    const test::ProgramRun validate =
        test::RunProgram({"/usr/bin/desktop-file-validate", paths.desktopEntry.string()});
    EXPECT_EQ(validate.status, 0) << validate.out << validate.err;
    EXPECT_EQ(validate.out + validate.err, "");
    // The type as the desktop's MIME database compiles it: "*.kyt" names it.
    const test::ProgramRun mime =
        test::RunProgram({"/usr/bin/update-mime-database", (home / "mime").string()});
    EXPECT_EQ(mime.status, 0) << mime.out << mime.err;
    EXPECT_NE(ReadFile(home / "mime" / "globs2").find(":application/x-orvo-hypertext:*.kyt\n"),
              std::string::npos);
}

TEST(DesktopRegistration, AFolderThatCannotBeMadeIsAFailure) {
    const auto blocker = TestDir() / "blocker";
    test::WriteFile(blocker, "a file where a folder should be");
    EXPECT_FALSE(RegisterWithDesktop(blocker, "/usr/bin/orvo").ok());
}

}  // namespace
}  // namespace orvo

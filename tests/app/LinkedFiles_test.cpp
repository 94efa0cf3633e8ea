// Following links to embedded files and programs, and editing files with outside programs.
#include "app/LinkedFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "base/Cp1252.h"
#include "platform/PosixShell.h"
#include "platform/RecordingShell.h"
#include "support/TestSupport.h"

namespace orvo {
namespace {

using namespace orvo::literals;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::filesystem::path Folder(const std::string& name) {
    const auto folder = test::TestDir() / "linked" / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

// An embedded file whose content is written into a folder when extracted.
class FakeFile final : public IEmbeddedFile {
public:
    FakeFile(std::string name, std::string content, std::filesystem::path folder)
        : name_(std::move(name)), content_(std::move(content)), folder_(std::move(folder)) {}
    std::string FileName() const override { return name_; }
    Result<std::filesystem::path> ExtractContent() override {
        if (failExtract) return Fail("Lo spazio su HD potrebbe essere insufficiente!");
        const auto path = folder_ / std::string(LastComponentOf(name_));
        test::WriteFile(path, content_);
        return path;
    }
    Status SaveContentAs(const std::filesystem::path& target) override {
        saved.push_back(target);
        return Status::Ok();
    }
    bool failExtract = false;
    std::vector<std::filesystem::path> saved;

private:
    static std::string_view LastComponentOf(std::string_view n) {
        const auto cut = n.find_last_of("/\\");
        return cut == std::string_view::npos ? n : n.substr(cut + 1);
    }
    std::string name_, content_;
    std::filesystem::path folder_;
};

class FakeWindows final : public ILinkedFileWindows {
public:
    FileLinkAction action = FileLinkAction::Annulla;
    std::optional<std::filesystem::path> savePath;
    std::optional<std::filesystem::path> application;
    std::vector<std::string> shown;

    FileLinkAction AskFileAction(std::string_view name) override {
        shown.push_back("Collegamento a file: " + std::string(name));
        return action;
    }
    std::optional<std::filesystem::path> AskSavePath(std::string_view name) override {
        shown.push_back("save as " + std::string(name));
        return savePath;
    }
    void ShowFileTypeOptions() override { shown.push_back("options"); }
    std::optional<std::filesystem::path> ChooseApplication() override {
        shown.push_back("Scegli l'applicazione da usare:");
        return application;
    }
};

class LinkedFilesTest : public ::testing::Test {
protected:
    MemorySettings settings_;
    RecordingMessages messages_;
    SettingsStore store_{settings_, messages_};
    RecordingShell shell_;
    ManualScheduler scheduler_;
    FakeWindows windows_;
    LinkedFiles linked_{store_, shell_, scheduler_, windows_};
    std::filesystem::path work_ =
        Folder(::testing::UnitTest::GetInstance()->current_test_info()->name());

    void Behaviour(const char* extension, const char* comp, const char* app = "") {
        settings_.Write(std::string("ext\\") + extension, "comp", comp);
        settings_.Write(std::string("ext\\") + extension, "appPath", app);
    }
};

// ---------------------------------------------------------------------------------------------
// openLinkedFile

TEST_F(LinkedFilesTest, AnUnknownTypeAsksTheUser) {
    FakeFile file("c:\\docs\\Relazione.PDF", "%PDF", work_);
    windows_.action = FileLinkAction::Avanzate;
    linked_.openLinkedFile(file);
    EXPECT_THAT(windows_.shown, ElementsAre("Collegamento a file: Relazione.PDF", "options"));
    EXPECT_THAT(shell_.Opened(), IsEmpty());

    windows_.shown.clear();
    windows_.action = FileLinkAction::Esegui;
    linked_.openLinkedFile(file);
    EXPECT_THAT(shell_.Opened(), ElementsAre(work_ / "Relazione.PDF"));

    windows_.action = FileLinkAction::Salva;
    windows_.savePath = work_ / "copia.pdf";
    linked_.openLinkedFile(file);
    EXPECT_THAT(file.saved, ElementsAre(work_ / "copia.pdf"));
    EXPECT_THAT(messages_.Shown(), IsEmpty());
}

TEST_F(LinkedFilesTest, EachBehaviourDoesItsOwnThing) {
    Behaviour(".txt", "1");
    Behaviour(".pdf", "2");
    Behaviour(".gif", "3", "/usr/bin/gimp");
    FakeFile text("nota.txt", "x", work_), pdf("Doc.Pdf", "%PDF", work_),
        gif("a b.gif", "GIF89a", work_);
    windows_.savePath = std::nullopt;  // the save dialog is cancelled
    linked_.openLinkedFile(text);
    linked_.openLinkedFile(pdf);
    linked_.openLinkedFile(gif);
    EXPECT_THAT(windows_.shown, ElementsAre("save as nota.txt"));
    EXPECT_THAT(text.saved, IsEmpty());
    EXPECT_THAT(shell_.Opened(), ElementsAre(work_ / "Doc.Pdf"));
    ASSERT_EQ(shell_.Starts().size(), 1u);
    EXPECT_EQ(shell_.Starts()[0].command,
              (ShellCommand{{"/usr/bin/gimp", (work_ / "a b.gif").string()}, work_}));
}

TEST_F(LinkedFilesTest, AProgramInADocumentIsNeverOpenedByTheDefaultAction) {
    Behaviour(".exe", "2");
    FakeFile exe("setup.exe", "MZ....", work_);
    FakeFile script("leggimi", "#!/bin/sh\nrm -rf ~\n", work_);
    FakeFile launcher("app.desktop", "[Desktop Entry]\n", work_);
    linked_.openLinkedFile(exe);
    windows_.action = FileLinkAction::Esegui;
    linked_.openLinkedFile(script);
    linked_.openLinkedFile(launcher);
    EXPECT_THAT(shell_.Opened(), IsEmpty());
    EXPECT_THAT(
        messages_.Shown(),
        ElementsAre(
            Message{Box::Warning,
                    "Il file \"setup.exe\" è un programma: non viene aperto."_cp.data()},
            Message{Box::Warning,
                    "Il file \"leggimi\" è un programma: non viene aperto."_cp.data()},
            Message{Box::Warning,
                    "Il file \"app.desktop\" è un programma: non viene aperto."_cp.data()}));
}

TEST_F(LinkedFilesTest, FailuresAreShown) {
    Behaviour(".pdf", "2");
    Behaviour(".doc", "3", "");
    FakeFile pdf("a.pdf", "%PDF", work_), doc("b.doc", "x", work_);
    pdf.failExtract = true;
    linked_.openLinkedFile(pdf);
    linked_.openLinkedFile(doc);
    shell_.FailOpens(Fail("xdg-open manca", Severity::Warning));
    pdf.failExtract = false;
    linked_.openLinkedFile(pdf);
    EXPECT_THAT(messages_.Shown(),
                ElementsAre(Message{Box::Error, "Lo spazio su HD potrebbe essere insufficiente!"},
                            Message{Box::Warning,
                                    "Dovresti definire l'editor in Windows, oppure in Orvo "
                                    "usando \"Strumenti >Opzioni programma...\""},
                            Message{Box::Warning, "xdg-open manca"}));
    EXPECT_THAT(shell_.Starts(), IsEmpty());
}

// ---------------------------------------------------------------------------------------------
// runWithApplication

TEST_F(LinkedFilesTest, TheWaiterReportsTheEndOnTheOwnerThread) {
    shell_.SetAssociation({ProgramLookup::Found, {{"gimp"}, {}}});
    int ended = -1;
    auto waiter = linked_.runWithApplication(work_ / "foto.gif", [&](int s) { ended = s; });
    ASSERT_NE(waiter, nullptr);
    ASSERT_EQ(shell_.Starts().size(), 1u);
    EXPECT_THAT(shell_.Starts()[0].command.argv,
                ElementsAre("gimp", (work_ / "foto.gif").string()));
    EXPECT_EQ(waiter->ProcessId(), shell_.Starts()[0].processId);
    EXPECT_FALSE(waiter->Done());
    std::thread([&] { shell_.Finish(0, 3); }).join();  // the program ends, seen off-thread
    EXPECT_TRUE(waiter->Done());
    EXPECT_EQ(ended, -1);  // not yet: it is posted to the owner thread
    EXPECT_EQ(scheduler_.RunPending(), 1);
    EXPECT_EQ(ended, 3);
    EXPECT_EQ(waiter->ExitStatus(), 3);
}

TEST_F(LinkedFilesTest, TheProgramComesFromTheBehaviour) {
    Behaviour(".bmp", "0");
    Behaviour(".png", "3", "/opt/paint/bin/paint");
    windows_.application = "/usr/bin/pinta";
    ASSERT_NE(linked_.runWithApplication(work_ / "a.bmp", {}), nullptr);
    ASSERT_NE(linked_.runWithApplication(work_ / "b.PNG", {}), nullptr);
    shell_.SetAssociation({ProgramLookup::NoAssociation, {}});
    ASSERT_NE(linked_.runWithApplication(work_ / "c.xyz", {}), nullptr);
    ASSERT_EQ(shell_.Starts().size(), 3u);
    EXPECT_EQ(shell_.Starts()[0].command,
              (ShellCommand{{"/usr/bin/pinta", (work_ / "a.bmp").string()}, work_}));
    EXPECT_EQ(shell_.Starts()[1].command,
              (ShellCommand{{"/opt/paint/bin/paint", (work_ / "b.PNG").string()}, work_}));
    EXPECT_EQ(shell_.Starts()[2].command.argv[0], "/usr/bin/pinta");
    EXPECT_THAT(windows_.shown,
                ElementsAre("Scegli l'applicazione da usare:", "Scegli l'applicazione da usare:"));
}

TEST_F(LinkedFilesTest, NoProgramNoWaiter) {
    shell_.SetAssociation({ProgramLookup::Failed, {}});
    EXPECT_EQ(linked_.runWithApplication(work_ / "a.gif", {}), nullptr);
    Behaviour(".bmp", "0");
    EXPECT_EQ(linked_.runWithApplication(work_ / "a.bmp", {}), nullptr);  // nothing chosen
    Behaviour(".png", "3", "");
    EXPECT_EQ(linked_.runWithApplication(work_ / "a.png", {}), nullptr);
    Behaviour(".jpg", "3", "/usr/bin/gimp");
    shell_.FailStarts(Fail("no"));
    EXPECT_EQ(linked_.runWithApplication(work_ / "a.jpg", {}), nullptr);
    EXPECT_THAT(shell_.Starts(), IsEmpty());
}

TEST(RunWithApplicationOnLinux, ARealProgramEditsTheFileAndTheWaiterSeesItEnd) {
    MemorySettings settings;
    RecordingMessages messages;
    SettingsStore store(settings, messages);
    PosixShell shell;
    ManualScheduler scheduler;
    FakeWindows windows;
    LinkedFiles linked(store, shell, scheduler, windows);
    const auto work = Folder("real");
    const auto file = work / "perché.txt";
    test::WriteFile(file, "prima");
    // "touch" stands for the editor: it changes the file and ends.
    settings.Write("ext\\.txt", "comp", "3");
    settings.Write("ext\\.txt", "appPath", "touch");
    int ended = -1;
    auto waiter = linked.runWithApplication(file, [&](int s) { ended = s; });
    ASSERT_NE(waiter, nullptr);
    for (int i = 0; i < 200 && scheduler.PendingCount() == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(scheduler.RunPending(), 1);
    EXPECT_EQ(ended, 0);
    EXPECT_TRUE(waiter->Done());
}

// ---------------------------------------------------------------------------------------------
// runRegisteredProgram

TEST_F(LinkedFilesTest, AProgramFromTheSettingsStartsOnlyAfterYes) {
    settings_.Write("tools", "editor", "/usr/bin/mousepad");
    const std::string address = "prog:\\SOFTWARE\\QX\\Orvo3.0lite\\tools\\editor";
    messages_.ScriptAnswers({Answer::No});
    linked_.runRegisteredProgram(address, "a=\"1\"\r\n", work_);
    EXPECT_THAT(shell_.Starts(), IsEmpty());
    EXPECT_FALSE(std::filesystem::exists(work_ / "params.txt"));

    messages_.ScriptAnswers({Answer::Yes});
    linked_.runRegisteredProgram(address, "a=\"1\"\r\n", work_);
    EXPECT_THAT(
        messages_.Questions(),
        ElementsAre("Il collegamento avvia il programma \"/usr/bin/mousepad\". Vuoi avviarlo?",
                    "Il collegamento avvia il programma \"/usr/bin/mousepad\". Vuoi avviarlo?"));
    ASSERT_EQ(shell_.Starts().size(), 1u);
    EXPECT_EQ(shell_.Starts()[0].command,
              (ShellCommand{{"/usr/bin/mousepad", (work_ / "params.txt").string()}, work_}));
    EXPECT_EQ(test::ReadFile(work_ / "params.txt"), "a=\"1\"\r\n");
}

TEST_F(LinkedFilesTest, AnEmptyRegistryValueFallsBackToShowingTheParameters) {
    const std::string address = "prog:\\SOFTWARE\\QX\\Orvo3.0lite\\tools\\nothing";
    linked_.runRegisteredProgram(address, "x", work_);
    EXPECT_THAT(messages_.Shown(),
                ElementsAre(Message{Box::Information,
                                    "Tmp err msg. Key non trovata nel registry:\\SOFTWARE"
                                    "\\QX\\Orvo3.0lite\\tools : nothing"},
                            Message{Box::Warning,
                                    "La chiave di registro indicata risulta vuota! (\\SOFTWARE"
                                    "\\QX\\Orvo3.0lite\\tools\\nothing)"}));
    EXPECT_THAT(shell_.Opened(), ElementsAre(work_ / "params.txt"));
    EXPECT_THAT(shell_.Starts(), IsEmpty());
    EXPECT_EQ(test::ReadFile(work_ / "params.txt"), "x");
}

TEST_F(LinkedFilesTest, AnAddressWithoutAKeyOpensItsParameterFile) {
    messages_.ScriptAnswers({Answer::Yes});
    linked_.runRegisteredProgram("prog:conti.XLS", "dati", work_);
    EXPECT_THAT(messages_.Questions(),
                ElementsAre("Il collegamento avvia il programma \"conti.XLS\". Vuoi avviarlo?"));
    EXPECT_THAT(shell_.Opened(), ElementsAre(work_ / "params.xls"));
    EXPECT_EQ(test::ReadFile(work_ / "params.xls"), "dati");
}

TEST_F(LinkedFilesTest, AParameterFileThatIsAProgramIsRefused) {
    messages_.SetDefaultAnswer(Answer::Yes);
    for (const char* address : {"prog:setup.exe", "prog:x.SH", "prog:run.desktop"})
        linked_.runRegisteredProgram(address, "echo", work_);
    EXPECT_THAT(shell_.Opened(), IsEmpty());
    EXPECT_THAT(messages_.Questions(), IsEmpty());
    ASSERT_EQ(messages_.Shown().size(), 3u);
    EXPECT_EQ(messages_.Shown()[1],
              (Message{Box::Warning,
                       "Il file \"params.sh\" è un programma: non viene aperto."_cp.data()}));
    EXPECT_TRUE(std::filesystem::is_empty(work_));
}

TEST(ProgramParameters, AreTheAttributesThenTheDataAfterItsHeader) {
    const std::string aux = test::Bytes({3, 0, 0, 0, 'h', 'd', 'r'}) + "CORPO\r\n";
    EXPECT_EQ(BuildProgramParameters({{"nome", "Anna"}, {"città"_cp.data(), "Roma"}}, aux),
              "nome=\"Anna\"\r\ncittà=\"Roma\"\r\nCORPO\r\n"_cp);
    EXPECT_EQ(BuildProgramParameters({}, test::Bytes({0, 0, 0, 0}) + "tutto"), "tutto");
    // Headers that lie: past the end, negative, or no room for the length itself.
    EXPECT_EQ(BuildProgramParameters({}, test::Bytes({9, 0, 0, 0, 'a'})), "");
    EXPECT_EQ(BuildProgramParameters({}, test::Bytes({0xFF, 0xFF, 0xFF, 0xFF, 'a'})), "");
    EXPECT_EQ(BuildProgramParameters({}, test::Bytes({0xFF, 0xFF, 0xFF, 0x7F, 'a'})), "");
    EXPECT_EQ(BuildProgramParameters({}, "ab"), "");
    EXPECT_EQ(BuildProgramParameters({}, test::Bytes({1, 0, 0, 0, 'a'})), "");
}

}  // namespace
}  // namespace orvo

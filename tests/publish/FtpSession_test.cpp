// The session against a real server: pyftpdlib on 127.0.0.1, started for each test.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "base/Paths.h"
#include "publish/FtpTestSupport.h"
#include "support/TestSupport.h"

namespace orvo::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

std::vector<T_Filedata> Entries(T_Ftp& ftp) {
    std::vector<T_Filedata> entries;
    T_Filedata e;
    while (ftp.NextListingEntry(e)) entries.push_back(e);
    std::sort(entries.begin(), entries.end(),
              [](const T_Filedata& a, const T_Filedata& b) { return a.name < b.name; });
    return entries;
}

std::set<std::string> FilesIn(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.insert(e.path().filename().string());
    return names;
}

class FtpSession : public ::testing::Test {
protected:
    void SetUp() override {
        // Each test starts from empty folders, also when several run in one process.
        std::filesystem::remove_all(root_);
        std::filesystem::remove_all(local_);
        std::filesystem::create_directories(local_);
        server_ =
            std::make_unique<PyFtpServer>(root_, PyFtpServer::Options{{"sola-lettura"}, false, {}});
        ASSERT_TRUE(server_->Started()) << "pyftpdlib did not start (python3-pyftpdlib missing?)";
        client_ = std::make_unique<FtpClient>(server_->Port());
        trace_.Attach(client_->comm);
    }

    TQzFtpComm& comm() { return client_->comm; }

    const std::filesystem::path root_ = TestDir() / "server";
    const std::filesystem::path local_ = TestDir() / "perch\xC3\xA9";  // UTF-8 on disk
    std::unique_ptr<PyFtpServer> server_;
    std::unique_ptr<FtpClient> client_;
    TraceLog trace_;
};

TEST_F(FtpSession, LogsInOnceAndKeepsTheSessionBetweenOperations) {
    EXPECT_EQ(comm().RunConnect(), 200);
    std::string folder;
    EXPECT_EQ(comm().RunCurrentDir(folder), 200);
    EXPECT_EQ(folder, "/");
    EXPECT_EQ(comm().RunMakeDir("uno"), 200);
    EXPECT_EQ(comm().RunChangeDir("uno"), 200);
    EXPECT_EQ(comm().RunCurrentDir(folder), 200);
    EXPECT_EQ(folder, "/uno/");
    const auto commands = trace_.Commands();
    EXPECT_EQ(std::count(commands.begin(), commands.end(), "USER orvo"), 1);
    EXPECT_THAT(commands, ElementsAre("USER orvo", "PASS ******", "TYPE I", "PWD", "MKD uno",
                                      "CWD uno", "PWD"));
}

TEST_F(FtpSession, PasswordNeverAppearsInATraceOrMessage) {
    EXPECT_EQ(comm().RunConnect(), 200);
    EXPECT_EQ(comm().RunList("."), 200);
    EXPECT_TRUE(trace_.Contains("PASS ******"));
    EXPECT_FALSE(trace_.Contains(kFtpPassword));
    EXPECT_THAT(comm().StatusText(), Not(HasSubstr(kFtpPassword)));
}

TEST_F(FtpSession, WrongPasswordFailsWithTheServersText) {
    FtpClient wrong(server_->Port(), kFtpUser, "sbagliata");
    EXPECT_EQ(wrong.comm.RunConnect(), -6);
    EXPECT_TRUE(wrong.comm.Failed());
    EXPECT_EQ(wrong.comm.ErrorText(), "Authentication failed.");
    EXPECT_EQ(wrong.comm.ResultCode(), -6);
    EXPECT_FALSE(wrong.comm.Busy());
    EXPECT_THAT(wrong.comm.ErrorText(), Not(HasSubstr("sbagliata")));
}

TEST_F(FtpSession, ListsFoldersFilesAndNamesWithSpacesInUnixStyle) {
    WriteFile(root_ / "a.txt", "ciao\r\n");
    WriteFile(root_ / "nome con spazi.txt", std::string(70000, 'x'));
    std::filesystem::create_directories(root_ / "my dir");
    EXPECT_EQ(comm().RunList("."), 200);
    const auto entries = Entries(comm().Ftp());
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].name, "a.txt");
    EXPECT_EQ(entries[0].kind, T_Filedata::kFile);
    EXPECT_EQ(entries[0].size, 6);
    EXPECT_TRUE(entries[0].date.known);
    EXPECT_EQ(entries[1].name, "my dir");
    EXPECT_EQ(entries[1].kind, T_Filedata::kDirectory);
    EXPECT_EQ(entries[2].name, "nome con spazi.txt");
    EXPECT_EQ(entries[2].size, 70000);
    EXPECT_EQ(entries[3].name, "sola-lettura");
}

TEST_F(FtpSession, ListsInDosStyleFromAWindowsStyleServer) {
    PyFtpServer dos(TestDir() / "dos", PyFtpServer::Options{{}, true, {}});
    ASSERT_TRUE(dos.Started());
    WriteFile(dos.Root() / "report.doc", std::string(2048, 'r'));
    std::filesystem::create_directories(dos.Root() / "my folder");
    FtpClient client(dos.Port());
    EXPECT_EQ(client.comm.RunList("."), 200);
    EXPECT_THAT(client.ftp().ListingLines().at(0), HasSubstr("M "));  // "03:45PM <DIR> ..."
    const auto entries = Entries(client.ftp());
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "my folder");
    EXPECT_EQ(entries[0].kind, T_Filedata::kDirectory);
    EXPECT_EQ(entries[0].size, 0);
    EXPECT_EQ(entries[1].name, "report.doc");
    EXPECT_EQ(entries[1].kind, T_Filedata::kFile);
    EXPECT_EQ(entries[1].size, 2048);
    EXPECT_TRUE(entries[1].date.known);
}

TEST_F(FtpSession, MakesFoldersAndReportsARefusedOne) {
    EXPECT_EQ(comm().RunMakeDir("nuova"), 200);
    EXPECT_TRUE(std::filesystem::is_directory(root_ / "nuova"));
    EXPECT_EQ(comm().RunMakeDir("sola-lettura/vietata"), -6);
    EXPECT_EQ(comm().ErrorText(), "Not enough privileges.");
    EXPECT_FALSE(std::filesystem::exists(root_ / "sola-lettura" / "vietata"));
    EXPECT_EQ(comm().RunMakeDir("nuova"), -6);  // it exists: the server says so
    EXPECT_EQ(comm().ErrorText(), "File exists.");
    EXPECT_EQ(comm().RunMakeDir("dopo"), 200);  // the session is still in step
}

TEST_F(FtpSession, RenamesAndDeletesFilesAndFolders) {
    WriteFile(root_ / "vecchio.txt", "contenuto");
    std::filesystem::create_directories(root_ / "cartella");
    EXPECT_EQ(comm().RunRename("vecchio.txt", "nuovo.txt"), 200);
    EXPECT_EQ(ReadFile(root_ / "nuovo.txt"), "contenuto");
    EXPECT_FALSE(std::filesystem::exists(root_ / "vecchio.txt"));
    EXPECT_EQ(comm().RunDelete("nuovo.txt"), 200);
    EXPECT_FALSE(std::filesystem::exists(root_ / "nuovo.txt"));
    EXPECT_EQ(comm().RunRemoveDir("cartella"), 200);
    EXPECT_FALSE(std::filesystem::exists(root_ / "cartella"));
    EXPECT_EQ(comm().RunDelete("nuovo.txt"), -6);
}

TEST_F(FtpSession, RenameOfAMissingFileSendsNoRnto) {
    EXPECT_EQ(comm().RunRename("manca.txt", "altro.txt"), -6);
    EXPECT_FALSE(comm().ErrorText().empty());
    const auto commands = trace_.Commands();
    EXPECT_EQ(commands.back(), "RNFR manca.txt");
    for (const auto& c : commands) EXPECT_THAT(c, Not(HasSubstr("RNTO")));
}

TEST_F(FtpSession, MissingRemoteFileLeavesTheLocalFileAsItWas) {
    const auto target = local_ / "esistente.txt";
    WriteFile(target, "contenuto di prima");
    EXPECT_EQ(comm().RunGetFile("manca.txt", target), -6);
    EXPECT_EQ(comm().ErrorText(), "No such file or directory.");
    EXPECT_EQ(ReadFile(target), "contenuto di prima");
    EXPECT_EQ(FilesIn(local_), std::set<std::string>{"esistente.txt"});  // no temporary left
}

TEST_F(FtpSession, DownloadReplacesTheLocalFileKeepingItsPermissions) {
    WriteFile(root_ / "nuovo.txt", "contenuto nuovo");
    const auto target = local_ / "copia.txt";
    WriteFile(target, "vecchio");
    std::filesystem::permissions(target, std::filesystem::perms(0640));
    EXPECT_EQ(comm().RunGetFile("nuovo.txt", target), 200);
    EXPECT_EQ(ReadFile(target), "contenuto nuovo");
    EXPECT_EQ(std::filesystem::status(target).permissions(), std::filesystem::perms(0640));
    EXPECT_EQ(FilesIn(local_), std::set<std::string>{"copia.txt"});
}

TEST_F(FtpSession, UploadOfAMissingLocalFileFailsWithItsName) {
    EXPECT_EQ(comm().RunPutFile(local_ / "assente.txt", "x.txt"), -6);
    EXPECT_EQ(comm().ErrorText(),
              "Non riesco ad aprire il file " + NameOfPath(local_ / "assente.txt"));
    EXPECT_FALSE(std::filesystem::exists(root_ / "x.txt"));
}

TEST_F(FtpSession, ArgumentsWithLineBreaksAreRefusedBeforeAnythingIsSent) {
    WriteFile(root_ / "vittima.txt", "resta");
    EXPECT_EQ(comm().RunConnect(), 200);
    EXPECT_EQ(comm().RunDelete("x\r\nDELE vittima.txt"), -6);
    EXPECT_EQ(comm().ErrorText(), kBadArgumentText);
    EXPECT_EQ(comm().RunRename("a\nb", "c"), -6);
    EXPECT_EQ(comm().RunMakeDir(std::string("a\0b", 3)), -6);
    EXPECT_TRUE(std::filesystem::exists(root_ / "vittima.txt"));
    EXPECT_THAT(trace_.Commands(), ElementsAre("USER orvo", "PASS ******", "TYPE I"));
    EXPECT_EQ(comm().RunDelete("vittima.txt"), 200);  // the session was kept
}

TEST_F(FtpSession, UserOrPasswordWithLineBreaksIsRefusedWithoutAWordToTheServer) {
    FtpClient badUser(server_->Port(), "orvo\r\nDELE x", kFtpPassword);
    TraceLog trace;
    trace.Attach(badUser.comm);
    EXPECT_EQ(badUser.comm.RunConnect(), -6);
    EXPECT_EQ(badUser.comm.ErrorText(), kBadArgumentText);
    FtpClient badPassword(server_->Port(), kFtpUser, "pass\r\nword");
    trace.Attach(badPassword.comm);
    EXPECT_EQ(badPassword.comm.RunConnect(), -6);
    EXPECT_EQ(badPassword.comm.ErrorText(), kBadArgumentText);
    EXPECT_TRUE(trace.Commands().empty());
    EXPECT_FALSE(trace.Contains("word"));
}

TEST_F(FtpSession, SecondOperationWhileOneRunsIsRefusedAndTheFirstCompletes) {
    WriteFile(root_ / "resta.txt", "x");
    int done = 0;
    comm().OnDone = [&](int result) { done = result; };
    ASSERT_EQ(comm().Begin(FtpAction::List, "."), 200);
    EXPECT_TRUE(comm().Busy());
    EXPECT_EQ(comm().RunDelete("resta.txt"), -1);
    EXPECT_EQ(comm().RunConnect(), -1);
    client_->loop.RunUntil([&] { return !comm().Busy(); });
    EXPECT_EQ(done, 200);
    EXPECT_EQ(comm().ResultCode(), 200);
    EXPECT_EQ(Entries(comm().Ftp()).size(), 2u);  // resta.txt and sola-lettura
    EXPECT_TRUE(std::filesystem::exists(root_ / "resta.txt"));
}

TEST_F(FtpSession, MultiLineGreetingIsReadBeforeUser) {
    const std::string banner(90, 'B');  // longer than one line: the server sends 220- and 220
    PyFtpServer greeting(TestDir() / "banner", PyFtpServer::Options{{}, false, banner});
    ASSERT_TRUE(greeting.Started());
    FtpClient client(greeting.Port());
    TraceLog trace;
    trace.Attach(client.comm);
    EXPECT_EQ(client.comm.RunConnect(), 200);
    const auto all = trace.All();
    ASSERT_GE(all.size(), 3u);
    EXPECT_EQ(all[0], "220-" + banner);
    EXPECT_EQ(all[1], "220 ");
    EXPECT_EQ(all[2], "USER orvo");
}

TEST_F(FtpSession, ServerThatGoesAwayGivesFailuresNeverSuccess) {
    EXPECT_EQ(comm().RunConnect(), 200);
    server_.reset();  // the server process ends; its sockets close
    EXPECT_EQ(comm().RunList("."), -6);
    EXPECT_EQ(comm().ErrorText(), kConnectionClosedText);
    EXPECT_FALSE(comm().Ftp().Connected());
    EXPECT_EQ(comm().RunList("."), -6);  // reconnecting finds nobody
    EXPECT_EQ(comm().ErrorText(), kSocketErrorText);
}

TEST_F(FtpSession, HostNamesAreResolvedAndAMissingOneIsAFailure) {
    // Only names the machine knows by itself: tests never ask a name server.
    comm().Ftp().Hostname = "localhost";
    EXPECT_EQ(comm().RunConnect(), 200) << comm().ErrorText();
    FtpClient nameless(server_->Port());
    nameless.ftp().Hostname.clear();
    EXPECT_EQ(nameless.comm.RunConnect(), -6);
    EXPECT_EQ(nameless.comm.ErrorText(), "Non riesco a tradurre in numeri il nome host ");
}

TEST_F(FtpSession, ConfiguredPortIsTheOneContacted) {
    // A second server on another port: the session goes where Port says.
    PyFtpServer other(TestDir() / "other");
    ASSERT_TRUE(other.Started());
    WriteFile(other.Root() / "solo-qui.txt", "x");
    comm().Ftp().Port = other.Port();
    EXPECT_EQ(comm().RunList("."), 200);
    const auto entries = Entries(comm().Ftp());
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, "solo-qui.txt");
}

TEST_F(FtpSession, NameFromAListingIsFetchedOnlyInsideTheFolder) {
    WriteFile(root_ / "buono.txt", "ok");
    EXPECT_EQ(comm().RunGetIntoFolder("buono.txt", local_), 200);
    EXPECT_EQ(ReadFile(local_ / "buono.txt"), "ok");
    for (const char* bad :
         {"../fuori.txt", "/etc/passwd", "..", ".", "a/b", "a\\b", "", "c:x", "tab\there"}) {
        EXPECT_EQ(comm().RunGetIntoFolder(bad, local_), -1) << bad;
        EXPECT_EQ(comm().ErrorText(), kUnsafeNameText);
    }
    EXPECT_FALSE(std::filesystem::exists(TestDir() / "fuori.txt"));
    EXPECT_EQ(FilesIn(local_), std::set<std::string>{"buono.txt"});
}

// Transfers of text and binary data of awkward sizes, both ways, passive and active.
struct TransferCase {
    std::size_t size;
    bool passive;
};

void PrintTo(const TransferCase& c, std::ostream* os) {
    *os << c.size << (c.passive ? " bytes, passive" : " bytes, active");
}

class FtpTransfer : public FtpSession, public ::testing::WithParamInterface<TransferCase> {};

TEST_P(FtpTransfer, StreamsRoundTripByteForByte) {
    comm().Ftp().Passive = GetParam().passive;
    const std::string data = PatternBytes(GetParam().size, std::uint32_t(GetParam().size));
    MemoryStream up(data);
    EXPECT_EQ(comm().RunPutStream(up, "dati.bin"), 200) << comm().ErrorText();
    EXPECT_EQ(ReadFile(root_ / "dati.bin"), data);
    MemoryStream down;
    EXPECT_EQ(comm().RunGetStream("dati.bin", down), 200) << comm().ErrorText();
    EXPECT_EQ(down.Bytes().size(), data.size());
    EXPECT_TRUE(down.Bytes() == data);
    EXPECT_EQ(comm().BytesSoFar(), std::int64_t(data.size()));
}

TEST_P(FtpTransfer, FilesRoundTripByteForByte) {
    comm().Ftp().Passive = GetParam().passive;
    const std::string data = PatternBytes(GetParam().size, 7);
    WriteFile(local_ / "origine.bin", data);
    EXPECT_EQ(comm().RunPutFile(local_ / "origine.bin", "copia.bin"), 200) << comm().ErrorText();
    EXPECT_EQ(comm().RunGetFile("copia.bin", local_ / "ritorno.bin"), 200) << comm().ErrorText();
    EXPECT_TRUE(ReadFile(local_ / "ritorno.bin") == data);
}

INSTANTIATE_TEST_SUITE_P(Sizes, FtpTransfer,
                         ::testing::Values(TransferCase{0, true}, TransferCase{1, true},
                                           TransferCase{32512, true}, TransferCase{32513, true},
                                           TransferCase{1 << 20, true}, TransferCase{0, false},
                                           TransferCase{32513, false},
                                           TransferCase{1 << 20, false}),
                         [](const auto& info) {
                             return std::to_string(info.param.size) +
                                    (info.param.passive ? "Passive" : "Active");
                         });

TEST_F(FtpSession, TextFileKeepsItsLineEndsAndAccents) {
    const std::string text = "prima riga\r\nseconda \xE8 accentata\nterza\r";
    MemoryStream up(text);
    EXPECT_EQ(comm().RunPutStream(up, "testo.txt"), 200);
    MemoryStream down;
    EXPECT_EQ(comm().RunGetStream("testo.txt", down), 200);
    EXPECT_EQ(Escaped(down.Bytes()), Escaped(text));
}

TEST_F(FtpSession, ActiveModeListsWithTypeAAndReturnsToTypeI) {
    comm().Ftp().Passive = false;
    WriteFile(root_ / "a.txt", "x");
    EXPECT_EQ(comm().RunList("."), 200);
    const auto commands = trace_.Commands();
    ASSERT_GE(commands.size(), 4u);
    EXPECT_THAT(commands[commands.size() - 4], HasSubstr("PORT 127,0,0,1,"));
    EXPECT_EQ(commands[commands.size() - 3], "TYPE A");
    EXPECT_EQ(commands[commands.size() - 2], "LIST .");
    EXPECT_EQ(commands.back(), "TYPE I");
    EXPECT_EQ(Entries(comm().Ftp()).size(), 2u);
}

}  // namespace
}  // namespace orvo::test

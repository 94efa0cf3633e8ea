// orvo-cli ftp against pyftpdlib: the real program, its output and its exit status.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>

#include "publish/FtpTestSupport.h"
#include "support/ProgramRun.h"
#include "support/TestSupport.h"

namespace orvo::test {
namespace {

using ::testing::HasSubstr;

using CliRun = ProgramRun;

// Runs orvo-cli with `args`; `password` (when given) goes in ORVO_FTP_PASSWORD.
CliRun RunCli(std::vector<std::string> args, const char* password = kFtpPassword) {
    return RunOrvoCli(std::move(args), {password ? std::string("ORVO_FTP_PASSWORD=") + password
                                                 : std::string("ORVO_FTP_PASSWORD")});
}

class FtpCli : public ::testing::Test {
protected:
    void SetUp() override {
        server_ = std::make_unique<PyFtpServer>(TestDir() / "server");
        ASSERT_TRUE(server_->Started());
        host_ = "127.0.0.1:" + std::to_string(server_->Port());
        std::filesystem::create_directories(local_);
    }
    CliRun Ftp(std::vector<std::string> args) {
        args.insert(args.begin(), {"ftp", host_, kFtpUser});
        return RunCli(std::move(args));
    }
    std::unique_ptr<PyFtpServer> server_;
    std::string host_;
    const std::filesystem::path local_ = TestDir() / "locale";
};

TEST_F(FtpCli, ListsKindSizeDateAndName) {
    const auto file = server_->Root() / "vecchio file.txt";
    WriteFile(file, "123456");
    // Older than six months: the server writes the year, which reads as midnight.
    std::filesystem::last_write_time(
        file, std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * 400));
    std::filesystem::create_directories(server_->Root() / "cartella");
    const CliRun run = Ftp({"ls"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_THAT(run.out, ::testing::MatchesRegex(
                             "(.*\n)?-            6 [0-9]{4}-[0-9]{2}-[0-9]{2} 00:00 vecchio "
                             "file.txt\n(.*\n)?"));
    EXPECT_THAT(run.out, ::testing::ContainsRegex(
                             "d +[0-9]+ [0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2} cartella\n"));
    EXPECT_EQ(run.err, "");
}

TEST_F(FtpCli, PutGetMkdirRenameAndDeleteWork) {
    const std::string data = PatternBytes(100000, 9);
    WriteFile(local_ / "dati.bin", data);
    EXPECT_EQ(Ftp({"mkdir", "su"}).status, 0);
    EXPECT_TRUE(std::filesystem::is_directory(server_->Root() / "su"));
    EXPECT_EQ(Ftp({"put", (local_ / "dati.bin").string(), "su/dati.bin"}).status, 0);
    EXPECT_TRUE(ReadFile(server_->Root() / "su" / "dati.bin") == data);
    EXPECT_EQ(Ftp({"rename", "su/dati.bin", "su/altro.bin"}).status, 0);
    const CliRun got = Ftp({"get", "su/altro.bin", local_.string()});  // into the folder
    EXPECT_EQ(got.status, 0) << got.err;
    EXPECT_TRUE(ReadFile(local_ / "altro.bin") == data);
    EXPECT_EQ(RunCli({"ftp", "--active", host_, kFtpUser, "get", "su/altro.bin",
                      (local_ / "attivo.bin").string()})
                  .status,
              0);
    EXPECT_TRUE(ReadFile(local_ / "attivo.bin") == data);
    EXPECT_EQ(Ftp({"delete", "su/altro.bin"}).status, 0);
    EXPECT_FALSE(std::filesystem::exists(server_->Root() / "su" / "altro.bin"));
}

TEST_F(FtpCli, FailuresExitWithTheMessage) {
    const CliRun wrong = RunCli({"ftp", host_, kFtpUser, "ls"}, "sbagliata");
    EXPECT_EQ(wrong.status, 1);
    EXPECT_EQ(wrong.err, "Authentication failed.\n");
    const CliRun missing = Ftp({"get", "manca.txt", (local_ / "x").string()});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "No such file or directory.\n");
    EXPECT_FALSE(std::filesystem::exists(local_ / "x"));
    const CliRun unsafe = Ftp({"get", "..", local_.string()});
    EXPECT_EQ(unsafe.status, 1);
    EXPECT_EQ(unsafe.err, "Nome di file non ammesso\n");
    const CliRun nothing = RunCli({"ftp", "127.0.0.1:1", kFtpUser, "ls"});
    EXPECT_EQ(nothing.status, 1);
    EXPECT_EQ(nothing.err, "Errore di creazione socket\n");
}

TEST_F(FtpCli, PasswordComesFromAFileOrTheEnvironmentNeverTheCommandLine) {
    WriteFile(local_ / "pw", std::string(kFtpPassword) + "\n");
    const CliRun fromFile = RunCli(
        {"ftp", "--password-file", (local_ / "pw").string(), host_, kFtpUser, "ls"}, nullptr);
    EXPECT_EQ(fromFile.status, 0) << fromFile.err;
    const CliRun onLine = RunCli({"ftp", "--password", kFtpPassword, host_, kFtpUser, "ls"});
    EXPECT_EQ(onLine.status, 1);
    EXPECT_THAT(onLine.err, HasSubstr("never from the command line"));
    const CliRun verbose = RunCli({"ftp", "--verbose", host_, kFtpUser, "ls"});
    EXPECT_EQ(verbose.status, 0);
    EXPECT_THAT(verbose.err, HasSubstr("> PASS ******\n"));
    EXPECT_THAT(verbose.err, ::testing::Not(HasSubstr(kFtpPassword)));
}

TEST_F(FtpCli, WrongUsageIsExplained) {
    EXPECT_EQ(RunCli({"ftp", host_}).status, 1);
    EXPECT_EQ(Ftp({"frobnicate"}).status, 1);
    EXPECT_EQ(Ftp({"put", "solo-uno"}).status, 1);
    EXPECT_EQ(RunCli({"ftp", "127.0.0.1:99999", kFtpUser, "ls"}).err,
              "ftp: the port must be a number from 1 to 65535\n");
    const CliRun help = RunCli({"ftp", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_THAT(help.out, HasSubstr("ORVO_FTP_PASSWORD"));
}

}  // namespace
}  // namespace orvo::test

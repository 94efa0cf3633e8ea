// orvo-cli ftp against pyftpdlib: the real program, its output and its exit status.
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>

#include "publish/FtpTestSupport.h"
#include "support/TestSupport.h"

extern char** environ;

namespace orvo::test {
namespace {

using ::testing::HasSubstr;

struct CliRun {
    int status = -1;
    std::string out, err;
};

// Runs orvo-cli with `args`; `password` (when given) goes in ORVO_FTP_PASSWORD.
CliRun RunCli(std::vector<std::string> args, const char* password = kFtpPassword) {
    args.insert(args.begin(), ORVO_CLI_PATH);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        if (std::string_view(*e).rfind("ORVO_FTP_PASSWORD=", 0) != 0) env.emplace_back(*e);
    if (password) env.push_back(std::string("ORVO_FTP_PASSWORD=") + password);
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);

    int out[2], err[2];
    CliRun run;
    if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) return run;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    ::close(err[1]);
    if (spawned == 0) {
        pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
        int open = 2;
        while (open > 0 && ::poll(fds, 2, 60000) > 0) {
            for (pollfd& p : fds) {
                if (p.fd < 0 || !(p.revents & (POLLIN | POLLHUP))) continue;
                char buffer[4096];
                const ssize_t n = ::read(p.fd, buffer, sizeof buffer);
                if (n <= 0) {
                    p.fd = -1;
                    --open;
                } else {
                    (p.fd == out[0] ? run.out : run.err).append(buffer, std::size_t(n));
                }
            }
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    ::close(out[0]);
    ::close(err[0]);
    return run;
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

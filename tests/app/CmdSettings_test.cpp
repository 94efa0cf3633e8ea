// orvo-cli settings, run as a user runs it.
#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "base/Cp1252.h"
#include "platform/FileSettings.h"
#include "support/TestSupport.h"

extern char** environ;

namespace orvo {
namespace {

using ::testing::HasSubstr;

struct CliRun {
    int status = -1;
    std::string out, err;
};

std::string Drain(int fd) {
    std::string text;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, std::size_t(n));
    ::close(fd);
    return text;
}

CliRun RunCli(std::vector<std::string> args) {
    args.insert(args.begin(), {ORVO_BINARY_DIR "/cli/orvo-cli", "settings"});
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    int out[2], err[2];
    EXPECT_EQ(::pipe2(out, O_CLOEXEC), 0);
    EXPECT_EQ(::pipe2(err, O_CLOEXEC), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    pid_t pid = -1;
    CliRun run;
    if (::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        ADD_FAILURE() << "orvo-cli did not start";
        return run;
    }
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    ::close(err[1]);
    run.err = Drain(err[0]);  // small outputs: one pipe at a time does not block
    run.out = Drain(out[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

TEST(CliSettings, WritesReadsAndListsTheStore) {
    const char* home = std::getenv("ORVO_HOME");
    ASSERT_NE(home, nullptr);
    const std::filesystem::path file = std::filesystem::path(home) / "settings.reg";
    std::filesystem::remove(file);

    EXPECT_EQ(RunCli({"options/Bak", "0"}).status, 0);
    EXPECT_EQ(RunCli({"ftpnet/0/server", "ftp.città.it"}).status, 0);
    EXPECT_EQ(RunCli({"FTPNET/0/Server"}).out, "ftp.città.it\n");

    // What the command wrote is what the program reads, in Windows-1252.
    FileSettings settings(file);
    EXPECT_EQ(settings.Read("ftpnet\\0", "server"), Utf8ToCp1252("ftp.città.it"));
    EXPECT_EQ(settings.Read("options", "Bak"), "0");

    EXPECT_EQ(RunCli({}).out, "options/Bak=0\nftpnet/0/server=ftp.città.it\n");
    EXPECT_EQ(RunCli({"ftpnet/"}).out, "ftpnet/0/server=ftp.città.it\n");

    const CliRun missing = RunCli({"options/LastFile"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "Valore non presente nelle impostazioni: options/LastFile\n");
    EXPECT_EQ(RunCli({"orto/"}).err, "Gruppo non presente nelle impostazioni: orto/\n");
    EXPECT_EQ(RunCli({"a", "b", "c"}).status, 1);
    EXPECT_THAT(RunCli({"--help"}).out, HasSubstr("Usage: orvo-cli settings [KEY [VALUE]]"));
}

}  // namespace
}  // namespace orvo

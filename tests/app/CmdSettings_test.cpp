// orvo-cli settings, run as a user runs it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "base/Cp1252.h"
#include "platform/FileSettings.h"
#include "support/ProgramRun.h"
#include "support/TestSupport.h"

namespace orvo {
namespace {

using ::testing::HasSubstr;

using CliRun = test::ProgramRun;

CliRun RunCli(std::vector<std::string> args) {
    args.insert(args.begin(), "settings");
    return test::RunOrvoCli(std::move(args));
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

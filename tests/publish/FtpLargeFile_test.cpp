// A 100 MB file through pyftpdlib both ways, and a stop in the middle of it.
#include <gtest/gtest.h>

#include <chrono>
#include <set>

#include "base/Files.h"
#include "publish/FtpTestSupport.h"
#include "support/TestSupport.h"

namespace orvo::test {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr std::size_t kHundredMegabytes = 100u << 20;

// The bytes of a large file, read in one go.
std::string WholeFile(const std::filesystem::path& path) {
    auto bytes = ReadFileBytes(path);
    EXPECT_TRUE(bytes) << path;
    return bytes ? std::move(*bytes) : std::string();
}

class FtpLargeFile : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(local_);
        server_ = std::make_unique<PyFtpServer>(TestDir() / "server");
        ASSERT_TRUE(server_->Started());
        client_ = std::make_unique<FtpClient>(server_->Port());
        client_->ftp().Timeout = 60;
    }
    const std::filesystem::path local_ = TestDir() / "locale";
    std::unique_ptr<PyFtpServer> server_;
    std::unique_ptr<FtpClient> client_;
};

TEST_F(FtpLargeFile, HundredMegabytesGoAndComeBackByteForByte) {
    const std::string data = PatternBytes(kHundredMegabytes, 100);
    WriteFile(local_ / "grande.bin", data);
    TQzFtpComm& comm = client_->comm;
    EXPECT_EQ(comm.RunPutFile(local_ / "grande.bin", "grande.bin"), 200) << comm.ErrorText();
    EXPECT_EQ(comm.TotalBytes(), std::int64_t(kHundredMegabytes));
    EXPECT_EQ(comm.BytesSoFar(), std::int64_t(kHundredMegabytes));
    EXPECT_EQ(comm.ProgressPercent(), 100);  // 100 MB × 100 does not fit in 32 bits
    EXPECT_TRUE(WholeFile(server_->Root() / "grande.bin") == data) << "upload differs";
    EXPECT_EQ(comm.RunGetFile("grande.bin", local_ / "ritorno.bin"), 200) << comm.ErrorText();
    EXPECT_EQ(comm.BytesSoFar(), std::int64_t(kHundredMegabytes));
    EXPECT_TRUE(WholeFile(local_ / "ritorno.bin") == data) << "download differs";
}

TEST_F(FtpLargeFile, StopInTheMiddleOfADownloadIsPromptLeavesNothingAndTheNextOperationWorks) {
    WriteFile(server_->Root() / "grande.bin", PatternBytes(kHundredMegabytes, 3));
    WriteFile(local_ / "grande.bin", "versione locale");
    TQzFtpComm& comm = client_->comm;
    Clock::time_point stoppedAt{};
    int stopped = -100;
    // The progress the worker shares is read on the owner thread, as a progress bar would.
    const auto timer = client_->loop.StartTimer(5ms, true, [&] {
        if (stopped == -100 && comm.BytesSoFar() > (8 << 20)) {
            stoppedAt = Clock::now();
            stopped = comm.StopOperation();
        }
    });
    const int result = comm.RunGetFile("grande.bin", local_ / "grande.bin");
    const auto returnedAt = Clock::now();
    client_->loop.StopTimer(timer);
    ASSERT_EQ(stopped, 0) << "the transfer ended before it could be stopped";
    EXPECT_EQ(result, 0);
    EXPECT_LT(std::chrono::duration<double>(returnedAt - stoppedAt).count(), 1.0);
    EXPECT_LT(comm.BytesSoFar(), std::int64_t(kHundredMegabytes));
    EXPECT_EQ(comm.ProgressPercent(), -1);  // this server announces no size with RETR
    EXPECT_EQ(ReadFile(local_ / "grande.bin"), "versione locale");
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(local_))
        names.insert(e.path().filename().string());
    EXPECT_EQ(names, std::set<std::string>{"grande.bin"});
    EXPECT_EQ(comm.RunList("."), 200) << comm.ErrorText();
    T_Filedata entry;
    ASSERT_TRUE(comm.Ftp().NextListingEntry(entry));
    EXPECT_EQ(entry.size, std::int64_t(kHundredMegabytes));
}

}  // namespace
}  // namespace orvo::test

// The progress bar of an operation: shown while it runs, its turning stop caption, the gauge,
// the status text when the size is unknown, hidden at the end.
#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "publish/FtpTestSupport.h"
#include "publish/TQzFtpTxRxBarRules.h"

namespace orvo::test {
namespace {

using namespace std::chrono_literals;

class ManualPump final : public IEventPump {
public:
    explicit ManualPump(ManualScheduler& scheduler) : scheduler_(scheduler) {}
    void RunUntil(const std::function<bool()>& done) override {
        while (!done()) {
            scheduler_.RunPending();
            std::this_thread::sleep_for(1ms);
        }
    }

private:
    ManualScheduler& scheduler_;
};

template <class F>
bool WaitFor(F&& condition) {
    for (int i = 0; i < 2000 && !condition(); ++i) std::this_thread::sleep_for(5ms);
    return condition();
}

TEST(ProgressBar, ShowsTheGaugeWhileATransferRunsAndHidesAtTheEnd) {
    std::promise<void> release;
    auto released = release.get_future();
    ScriptedServer server([&](ScriptedPeer& peer, int) {
        peer.Login();
        peer.AnswerPasv();
        peer.Expect();
        peer.Reply("150 Opening data connection for f.bin (1000 bytes).");
        peer.AcceptData();
        peer.SendData(std::string(400, 'a'));
        released.wait_for(10s);
        peer.SendData(std::string(600, 'b'));
        peer.CloseData();
        peer.Reply("226 Transfer complete.");
    });
    ManualScheduler scheduler;
    ManualPump pump(scheduler);
    TQzFtpTxRxBarRules bar(scheduler, pump);
    TQzFtpComm& comm = bar.Comm();
    comm.Ftp().Hostname = "127.0.0.1";
    comm.Ftp().Port = server.Port();
    comm.Ftp().Username = kFtpUser;
    comm.Ftp().Password = kFtpPassword;
    int refreshes = 0;
    bar.OnRefresh = [&] { ++refreshes; };
    EXPECT_FALSE(bar.Visible());

    MemoryStream down;
    ASSERT_EQ(comm.Begin(FtpAction::Retrieve, "f.bin", {}, &down), 200);
    EXPECT_TRUE(bar.Visible());
    EXPECT_EQ(bar.Gauge(), 0);
    EXPECT_EQ(bar.StopCaption(), "Stop! ");
    ASSERT_TRUE(WaitFor([&] { return comm.BytesSoFar() == 400; }));
    scheduler.Advance(150ms);
    EXPECT_EQ(bar.StopCaption(), "top! S");
    EXPECT_TRUE(bar.GaugeShown());
    EXPECT_EQ(bar.Gauge(), 40);
    EXPECT_EQ(bar.StatusLabel(), "");
    scheduler.Advance(300ms);
    EXPECT_EQ(bar.StopCaption(), "p! Sto");  // three turns
    release.set_value();
    ASSERT_TRUE(WaitFor([&] { return scheduler.PendingCount() > 0; }));
    scheduler.RunPending();
    EXPECT_EQ(comm.ResultCode(), 200);
    EXPECT_FALSE(bar.Visible());
    const int before = refreshes;
    scheduler.Advance(600ms);  // the timer is off
    EXPECT_EQ(refreshes, before);
    EXPECT_EQ(down.Bytes().size(), 1000u);
}

TEST(ProgressBar, UnknownSizeShowsTheStatusText) {
    std::promise<void> release;
    auto released = release.get_future();
    ScriptedServer server([&](ScriptedPeer& peer, int) {
        peer.Login();
        peer.AnswerPasv();
        peer.Expect();
        peer.Reply("125 Transfer starting.");
        peer.AcceptData();
        peer.SendData("-rw-r--r--   1 u g 3 Jan 10 12:30 a.txt\r\n");
        released.wait_for(10s);
        peer.CloseData();
        peer.Reply("226 Done.");
    });
    ManualScheduler scheduler;
    ManualPump pump(scheduler);
    TQzFtpTxRxBarRules bar(scheduler, pump);
    TQzFtpComm& comm = bar.Comm();
    comm.Ftp().Hostname = "127.0.0.1";
    comm.Ftp().Port = server.Port();
    comm.Ftp().Username = kFtpUser;
    comm.Ftp().Password = kFtpPassword;
    ASSERT_EQ(comm.Begin(FtpAction::List, "."), 200);
    ASSERT_TRUE(WaitFor([&] { return comm.BytesSoFar() > 0; }));
    scheduler.Advance(150ms);
    EXPECT_FALSE(bar.GaugeShown());
    EXPECT_EQ(bar.StatusLabel(), "125 Transfer starting.");
    release.set_value();
    ASSERT_TRUE(WaitFor([&] { return scheduler.PendingCount() > 0; }));
    scheduler.RunPending();
    EXPECT_FALSE(bar.Visible());
}

TEST(ProgressBar, StopButtonStopsAndTellsItsOwner) {
    ManualScheduler scheduler;
    ManualPump pump(scheduler);
    TQzFtpTxRxBarRules bar(scheduler, pump);
    int clicks = 0;
    bar.OnStopClick = [&] { ++clicks; };
    bar.StopClick();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(bar.Comm().StopOperation(), 0);
    EXPECT_FALSE(bar.Visible());
}

}  // namespace
}  // namespace orvo::test

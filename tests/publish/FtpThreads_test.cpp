// Worker and watcher threads, and completion that reaches the owner thread only through its
// scheduler.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "publish/FtpTestSupport.h"

namespace orvo::test {
namespace {

using namespace std::chrono_literals;

// Waits (bounded) until something was posted to the owner thread.
bool WaitForPost(ManualScheduler& scheduler) {
    for (int i = 0; i < 1000 && scheduler.PendingCount() == 0; ++i)
        std::this_thread::sleep_for(5ms);
    return scheduler.PendingCount() > 0;
}

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

TEST(WorkerThreads, ExceptionAndEndAreReportedOnTheOwnerThread) {
    ManualScheduler scheduler;
    TWinThread threads(scheduler);
    const auto owner = std::this_thread::get_id();
    std::thread::id workerId, exceptionId, terminateId;
    std::string message;
    int argument = 0, terminated = 0;
    threads.ThreadProc = [&](int n) {
        workerId = std::this_thread::get_id();
        argument = n;
        throw ETcpIpError("Errore nel lavoro");
    };
    threads.ThreadException = [&](const std::string& m) {
        exceptionId = std::this_thread::get_id();
        message = m;
    };
    threads.ThreadTerminate = [&] {
        terminateId = std::this_thread::get_id();
        ++terminated;
    };
    auto spawned = threads.Spawn(7);
    ASSERT_TRUE(spawned);
    EXPECT_GT(*spawned, 0);
    EXPECT_EQ(threads.WaitAll(5000), 0);
    ASSERT_TRUE(WaitForPost(scheduler));
    EXPECT_TRUE(message.empty());  // nothing reaches the owner before its scheduler runs
    EXPECT_EQ(terminated, 0);
    EXPECT_EQ(threads.Running(), 1);
    scheduler.RunPending();
    EXPECT_EQ(argument, 7);
    EXPECT_NE(workerId, owner);
    EXPECT_EQ(message, "Errore nel lavoro");
    EXPECT_EQ(exceptionId, owner);
    EXPECT_EQ(terminated, 1);
    EXPECT_EQ(terminateId, owner);
    EXPECT_EQ(threads.Running(), 0);
    EXPECT_EQ(threads.WaitAll(10), -100);
}

TEST(WorkerThreads, NothingStartsWithoutAProcedure) {
    ManualScheduler scheduler;
    TWinThread threads(scheduler);
    auto spawned = threads.Spawn(1);
    ASSERT_TRUE(spawned);
    EXPECT_EQ(*spawned, 0);
    EXPECT_EQ(threads.WaitAll(10), -100);
}

TEST(WorkerThreads, KillAllStopsTheWorkerCooperativelyAndJoinsIt) {
    ManualScheduler scheduler;
    TWinThread threads(scheduler);
    std::atomic<bool> stop{false};
    std::atomic<bool> started{false};
    int terminated = 0;
    threads.ThreadProc = [&](int) {
        started = true;
        while (!stop) std::this_thread::sleep_for(1ms);
    };
    threads.OnKillRequest = [&] { stop = true; };
    threads.ThreadTerminate = [&] { ++terminated; };
    ASSERT_TRUE(threads.Spawn(0));
    while (!started) std::this_thread::sleep_for(1ms);
    EXPECT_EQ(threads.WaitAll(50), 1);  // still running
    EXPECT_TRUE(threads.KillAll());
    EXPECT_EQ(threads.Running(), 0);
    scheduler.RunPending();
    EXPECT_EQ(terminated, 0);  // a killed worker's end is not reported

    threads.CallOnKill = true;
    stop = false;
    started = false;
    ASSERT_TRUE(threads.Spawn(0));
    while (!started) std::this_thread::sleep_for(1ms);
    EXPECT_TRUE(threads.KillAll());
    scheduler.RunPending();
    EXPECT_EQ(terminated, 1);
}

TEST(WorkerThreads, DestroyingWithAWorkerRunningJoinsIt) {
    ManualScheduler scheduler;
    std::atomic<bool> stop{false}, ended{false};
    {
        TWinThread threads(scheduler);
        threads.ThreadProc = [&](int) {
            while (!stop) std::this_thread::sleep_for(1ms);
            ended = true;
        };
        threads.OnKillRequest = [&] { stop = true; };
        ASSERT_TRUE(threads.Spawn(0));
    }
    EXPECT_TRUE(ended);
    scheduler.RunPending();  // a late report of the destroyed component does nothing
}

TEST(RunnerCompletion, ResultReachesTheOwnerOnlyThroughTheScheduler) {
    ScriptedServer server([](ScriptedPeer& peer, int) { peer.Login(); });
    ManualScheduler scheduler;
    ManualPump pump(scheduler);
    TQzFtpComm comm(scheduler, pump);
    comm.Ftp().Hostname = "127.0.0.1";
    comm.Ftp().Port = server.Port();
    comm.Ftp().Username = kFtpUser;
    comm.Ftp().Password = kFtpPassword;
    int done = 0;
    std::thread::id doneOn;
    comm.OnDone = [&](int result) {
        done = result;
        doneOn = std::this_thread::get_id();
    };
    ASSERT_EQ(comm.Begin(FtpAction::Connect), 200);
    ASSERT_TRUE(WaitForPost(scheduler));
    EXPECT_TRUE(comm.Busy());
    EXPECT_EQ(done, 0);
    scheduler.RunPending();
    EXPECT_FALSE(comm.Busy());
    EXPECT_EQ(done, 200);
    EXPECT_EQ(doneOn, std::this_thread::get_id());
    EXPECT_TRUE(comm.Ftp().LoggedIn());
}

TEST(RunnerCompletion, FailureCarriesItsMessageAndIsNeverSuccess) {
    std::uint16_t closedPort = 0;
    {
        ScriptedServer probe([](ScriptedPeer&, int) {}, 0);
        closedPort = probe.Port();
    }  // nobody listens there any more
    ManualScheduler scheduler;
    ManualPump pump(scheduler);
    TQzFtpComm comm(scheduler, pump);
    comm.Ftp().Hostname = "127.0.0.1";
    comm.Ftp().Port = closedPort;
    int done = 0;
    comm.OnDone = [&](int result) { done = result; };
    EXPECT_EQ(comm.RunConnect(), -6);
    EXPECT_EQ(done, -6);
    EXPECT_TRUE(comm.Failed());
    EXPECT_EQ(comm.ErrorText(), kSocketErrorText);
}

TEST(RunnerCompletion, MissingArgumentsDoNotStart) {
    ManualScheduler scheduler;
    ManualPump pump(scheduler);
    TQzFtpComm comm(scheduler, pump);
    MemoryStream stream;
    EXPECT_EQ(comm.RunRename("a", ""), -1);
    EXPECT_EQ(comm.RunDelete(""), -1);
    EXPECT_EQ(comm.RunPutFile("", "remoto"), -1);
    EXPECT_EQ(comm.RunPutFile("locale", ""), -1);
    EXPECT_EQ(comm.RunGetFile("remoto", ""), -1);
    EXPECT_EQ(comm.RunGetStream("", stream), -1);
    EXPECT_EQ(comm.Begin(FtpAction::Retrieve, "remoto"), -1);  // neither stream nor file
    std::string folder = "x";
    EXPECT_EQ(comm.RunCurrentDir(folder), -6);  // starts, and fails: no host
    EXPECT_EQ(folder, "/");
    EXPECT_FALSE(comm.Busy());
    EXPECT_EQ(scheduler.PendingCount(), 0u);
}

}  // namespace
}  // namespace orvo::test

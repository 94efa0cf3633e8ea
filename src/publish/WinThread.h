// TWinThread: runs a procedure on worker threads, each watched by a watcher thread that reports
// its end (and the message of an exception that escaped it) to the owner thread through the
// scheduler.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "base/Result.h"
#include "platform/IScheduler.h"

namespace orvo {

inline constexpr std::string_view kCouldNotCreateThreadText = "Could not create thread";
inline constexpr std::string_view kCouldNotCreateThread2Text = "Could not create thread 2";

/// Threads cannot be killed safely: KillAll asks the work to stop through `OnKillRequest` (which
/// must make every blocking call of the worker return) and joins the threads. A stopped worker's
/// end is reported only when `CallOnKill` is set.
class TWinThread {
public:
    explicit TWinThread(IScheduler& scheduler);
    ~TWinThread();  // KillAll
    TWinThread(const TWinThread&) = delete;
    TWinThread& operator=(const TWinThread&) = delete;

    std::function<void(int argument)> ThreadProc;                     // worker thread
    std::function<void(const std::string& message)> ThreadException;  // owner thread
    std::function<void()> ThreadTerminate;                            // owner thread
    std::function<void()> OnKillRequest;  // any thread: make the running work return
    bool CallOnKill = false;

    /// Starts ThreadProc(argument) on a new worker and its watcher; returns the worker's number
    /// (from 1). Does nothing (returns 0) when ThreadProc is not set.
    Result<int> Spawn(int argument);
    /// Asks every worker to stop and joins them and their watchers; true when none is left.
    bool KillAll();
    /// Waits up to `milliseconds` for every worker to end: 0 when they all ended, 1 when some
    /// still run, -100 when none was running.
    int WaitAll(int milliseconds);
    /// Workers started and not yet reported to the owner thread.
    int Running() const;

    void Lock() { shared_->mutex.lock(); }
    void Unlock() { shared_->mutex.unlock(); }

private:
    struct Record {
        int id = 0;
        std::thread worker;
        std::thread watcher;
        bool ended = false;   // the worker returned
        bool killed = false;  // stopped by KillAll
        bool failed = false;
        std::string message;  // of the exception that escaped ThreadProc
    };
    struct Shared {
        std::mutex mutex;
        std::condition_variable ended;
        std::list<Record> records;
        int nextId = 1;
    };

    void Report(int id);

    IScheduler& scheduler_;
    std::shared_ptr<Shared> shared_;
};

}  // namespace orvo

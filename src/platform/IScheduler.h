// Running work later on the owner (window) thread: posted tasks and timers.
#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <vector>

namespace orvo {

class IScheduler {
public:
    using TimerId = int;
    virtual ~IScheduler() = default;
    /// Queues `task` to run on the owner thread. Safe to call from any thread.
    virtual void Post(std::function<void()> task) = 0;
    /// Runs `task` on the owner thread after `interval`, once or every interval; returns an id
    /// for StopTimer. Owner thread only.
    virtual TimerId StartTimer(std::chrono::milliseconds interval, bool repeat,
                               std::function<void()> task) = 0;
    virtual void StopTimer(TimerId id) = 0;
};

/// A scheduler driven by hand in tests: posted tasks run at RunPending, timers at Advance.
class ManualScheduler final : public IScheduler {
public:
    void Post(std::function<void()> task) override;
    TimerId StartTimer(std::chrono::milliseconds interval, bool repeat,
                       std::function<void()> task) override;
    void StopTimer(TimerId id) override;

    /// Runs every posted task (and those they post) in order; returns how many ran.
    int RunPending();
    /// Moves the clock on and fires the timers that come due, in order of their due time.
    void Advance(std::chrono::milliseconds by);
    std::size_t PendingCount() const;
    bool TimerActive(TimerId id) const { return timers_.count(id) != 0; }
    std::chrono::milliseconds Now() const { return now_; }

private:
    struct Timer {
        std::chrono::milliseconds due, interval;
        bool repeat;
        std::function<void()> task;
    };
    mutable std::mutex mutex_;
    std::vector<std::function<void()>> posted_;
    std::map<TimerId, Timer> timers_;
    TimerId nextId_ = 1;
    std::chrono::milliseconds now_{0};
};

}  // namespace orvo

// An owner-thread event loop without a window: a scheduler whose posted tasks and timers run
// while the owner waits in RunUntil. The command-line tool and the tests drive the FTP session
// with it; the desktop program uses its window's loop instead.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <vector>

#include "platform/IEventPump.h"
#include "platform/IScheduler.h"

namespace orvo {

class LoopScheduler final : public IScheduler, public IEventPump {
public:
    void Post(std::function<void()> task) override;
    TimerId StartTimer(std::chrono::milliseconds interval, bool repeat,
                       std::function<void()> task) override;
    void StopTimer(TimerId id) override;
    void RunUntil(const std::function<bool()>& done) override;
    /// Runs what is due now without waiting; returns how many tasks ran.
    int RunPending();

private:
    using Clock = std::chrono::steady_clock;
    struct Timer {
        Clock::time_point due;
        std::chrono::milliseconds interval;
        bool repeat;
        std::function<void()> task;
    };
    int RunDueTimers();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<std::function<void()>> posted_;
    std::map<TimerId, Timer> timers_;  // owner thread only
    TimerId nextId_ = 1;
};

}  // namespace orvo

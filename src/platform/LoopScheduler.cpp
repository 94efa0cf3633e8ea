// The owner-thread event loop without a window.
#include "platform/LoopScheduler.h"

namespace orvo {

void LoopScheduler::Post(std::function<void()> task) {
    {
        std::lock_guard lock(mutex_);
        posted_.push_back(std::move(task));
    }
    wake_.notify_all();
}

IScheduler::TimerId LoopScheduler::StartTimer(std::chrono::milliseconds interval, bool repeat,
                                              std::function<void()> task) {
    const TimerId id = nextId_++;
    timers_[id] = Timer{Clock::now() + interval, interval, repeat, std::move(task)};
    return id;
}

void LoopScheduler::StopTimer(TimerId id) {
    timers_.erase(id);
}

int LoopScheduler::RunDueTimers() {
    int ran = 0;
    const auto now = Clock::now();
    while (true) {
        auto next = timers_.end();
        for (auto it = timers_.begin(); it != timers_.end(); ++it)
            if (it->second.due <= now &&
                (next == timers_.end() || it->second.due < next->second.due))
                next = it;
        if (next == timers_.end()) return ran;
        auto task = next->second.task;
        if (next->second.repeat && next->second.interval.count() > 0) {
            next->second.due += next->second.interval;
            if (next->second.due <= now) next->second.due = now + next->second.interval;
        } else {
            timers_.erase(next);
        }
        task();
        ++ran;
    }
}

int LoopScheduler::RunPending() {
    int ran = RunDueTimers();
    while (true) {
        std::vector<std::function<void()>> batch;
        {
            std::lock_guard lock(mutex_);
            batch.swap(posted_);
        }
        if (batch.empty()) return ran;
        for (auto& task : batch) {
            task();
            ++ran;
        }
    }
}

void LoopScheduler::RunUntil(const std::function<bool()>& done) {
    while (true) {
        RunPending();
        if (done()) return;
        std::unique_lock lock(mutex_);
        if (!posted_.empty()) continue;
        auto until = Clock::now() + std::chrono::milliseconds(200);
        for (const auto& [id, timer] : timers_)
            if (timer.due < until) until = timer.due;
        wake_.wait_until(lock, until, [this] { return !posted_.empty(); });
    }
}

}  // namespace orvo

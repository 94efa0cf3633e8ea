// The hand-driven scheduler of tests.
#include "platform/IScheduler.h"

namespace orvo {

void ManualScheduler::Post(std::function<void()> task) {
    std::lock_guard lock(mutex_);
    posted_.push_back(std::move(task));
}

std::size_t ManualScheduler::PendingCount() const {
    std::lock_guard lock(mutex_);
    return posted_.size();
}

int ManualScheduler::RunPending() {
    int ran = 0;
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

IScheduler::TimerId ManualScheduler::StartTimer(std::chrono::milliseconds interval, bool repeat,
                                                std::function<void()> task) {
    const TimerId id = nextId_++;
    timers_[id] = Timer{now_ + interval, interval, repeat, std::move(task)};
    return id;
}

void ManualScheduler::StopTimer(TimerId id) {
    timers_.erase(id);
}

void ManualScheduler::Advance(std::chrono::milliseconds by) {
    const auto end = now_ + by;
    while (true) {
        auto next = timers_.end();
        for (auto it = timers_.begin(); it != timers_.end(); ++it)
            if (it->second.due <= end &&
                (next == timers_.end() || it->second.due < next->second.due))
                next = it;
        if (next == timers_.end()) break;
        now_ = next->second.due;
        const TimerId id = next->first;
        auto task = next->second.task;
        if (next->second.repeat && next->second.interval.count() > 0)
            next->second.due += next->second.interval;
        else
            timers_.erase(next);
        task();
        (void)id;
    }
    now_ = end;
}

}  // namespace orvo

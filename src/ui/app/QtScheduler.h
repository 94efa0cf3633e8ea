// The scheduler of the Qt program: posted tasks and timers run in the event loop of the
// thread that made it.
#pragma once

#include <QObject>

#include <map>
#include <memory>

#include "platform/IScheduler.h"

class QTimer;

namespace orvo {

class QtScheduler final : public IScheduler {
public:
    QtScheduler();
    ~QtScheduler() override;
    void Post(std::function<void()> task) override;
    TimerId StartTimer(std::chrono::milliseconds interval, bool repeat,
                       std::function<void()> task) override;
    void StopTimer(TimerId id) override;
    bool TimerActive(TimerId id) const { return timers_.count(id) != 0; }

private:
    std::unique_ptr<QObject> context_;  // lives in the owner thread; posted tasks run on it
    std::map<TimerId, QTimer*> timers_;
    TimerId nextId_ = 1;
};

}  // namespace orvo

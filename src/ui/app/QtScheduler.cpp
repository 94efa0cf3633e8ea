#include "ui/app/QtScheduler.h"

#include <QMetaObject>
#include <QTimer>

namespace orvo {

QtScheduler::QtScheduler() : context_(std::make_unique<QObject>()) {}

QtScheduler::~QtScheduler() {
    for (auto& [id, timer] : timers_) delete timer;
}

void QtScheduler::Post(std::function<void()> task) {
    // Queued to the context object's thread whichever thread posts it.
    QMetaObject::invokeMethod(context_.get(), std::move(task), Qt::QueuedConnection);
}

IScheduler::TimerId QtScheduler::StartTimer(std::chrono::milliseconds interval, bool repeat,
                                            std::function<void()> task) {
    const TimerId id = nextId_++;
    auto* timer = new QTimer;
    timer->setSingleShot(!repeat);
    timer->setInterval(interval);
    timers_[id] = timer;
    QObject::connect(timer, &QTimer::timeout, context_.get(), [this, id, repeat, task] {
        if (!repeat) StopTimer(id);  // the task may start a timer of its own
        task();
    });
    timer->start();
    return id;
}

void QtScheduler::StopTimer(TimerId id) {
    auto it = timers_.find(id);
    if (it == timers_.end()) return;
    QTimer* timer = it->second;
    timers_.erase(it);
    timer->stop();
    timer->deleteLater();  // may be the timer whose signal is running
}

}  // namespace orvo

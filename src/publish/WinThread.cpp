// Worker and watcher threads.
#include "publish/WinThread.h"

#include <exception>
#include <system_error>
#include <vector>

namespace orvo {

TWinThread::TWinThread(IScheduler& scheduler)
    : scheduler_(scheduler), shared_(std::make_shared<Shared>()) {}

TWinThread::~TWinThread() {
    CallOnKill = false;
    KillAll();
}

Result<int> TWinThread::Spawn(int argument) {
    if (!ThreadProc) return 0;
    Shared* shared = shared_.get();
    std::unique_lock lock(shared->mutex);
    Record& record = shared->records.emplace_back();
    record.id = shared->nextId++;
    const int id = record.id;
    try {
        record.worker = std::thread([shared, &record, proc = ThreadProc, argument] {
            bool failed = false;
            std::string message;
            try {
                proc(argument);
            } catch (const std::exception& e) {
                failed = true;
                message = e.what();
            } catch (...) {
                failed = true;
                message = "Exception";
            }
            std::lock_guard end(shared->mutex);
            record.ended = true;
            record.failed = failed;
            record.message = std::move(message);
            shared->ended.notify_all();
        });
    } catch (const std::system_error&) {
        shared->records.pop_back();
        return Fail(std::string(kCouldNotCreateThreadText));
    }
    try {
        std::weak_ptr<Shared> weak = shared_;
        record.watcher = std::thread([this, &record, weak, id] {
            record.worker.join();
            scheduler_.Post([this, weak, id] {
                if (weak.lock()) Report(id);
            });
        });
    } catch (const std::system_error&) {
        lock.unlock();
        if (OnKillRequest) OnKillRequest();
        record.worker.join();
        lock.lock();
        shared->records.remove_if([id](const Record& r) { return r.id == id; });
        return Fail(std::string(kCouldNotCreateThread2Text));
    }
    return id;
}

void TWinThread::Report(int id) {
    std::thread watcher;
    bool failed = false;
    std::string message;
    {
        std::lock_guard lock(shared_->mutex);
        auto it = shared_->records.begin();
        while (it != shared_->records.end() && it->id != id) ++it;
        if (it == shared_->records.end()) return;  // already handled by KillAll
        watcher = std::move(it->watcher);
        failed = it->failed;
        message = std::move(it->message);
        shared_->records.erase(it);
    }
    if (watcher.joinable()) watcher.join();
    if (failed && ThreadException) ThreadException(message);
    if (ThreadTerminate) ThreadTerminate();
}

bool TWinThread::KillAll() {
    if (OnKillRequest) OnKillRequest();
    std::vector<std::thread> watchers;
    std::vector<int> killed;
    {
        std::lock_guard lock(shared_->mutex);
        for (Record& r : shared_->records) {
            r.killed = true;
            if (r.watcher.joinable()) watchers.push_back(std::move(r.watcher));
        }
    }
    // Each watcher joins its worker; the worker returns once the kill request reached it.
    for (std::thread& w : watchers) w.join();
    {
        std::lock_guard lock(shared_->mutex);
        for (const Record& r : shared_->records)
            if (r.killed) killed.push_back(r.id);
        shared_->records.remove_if([](const Record& r) { return r.killed; });
    }
    if (CallOnKill && ThreadTerminate)
        for (std::size_t i = 0; i < killed.size(); ++i) ThreadTerminate();
    return Running() == 0;
}

int TWinThread::WaitAll(int milliseconds) {
    std::unique_lock lock(shared_->mutex);
    if (shared_->records.empty()) return -100;
    const bool all = shared_->ended.wait_for(lock, std::chrono::milliseconds(milliseconds), [&] {
        for (const Record& r : shared_->records)
            if (!r.ended) return false;
        return true;
    });
    return all ? 0 : 1;
}

int TWinThread::Running() const {
    std::lock_guard lock(shared_->mutex);
    return int(shared_->records.size());
}

}  // namespace orvo

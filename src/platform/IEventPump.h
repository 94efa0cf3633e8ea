// How an owner thread waits for work it started elsewhere while still running what is posted
// to it (the window stays responsive, a stop button still works).
#pragma once

#include <functional>

namespace orvo {

class IEventPump {
public:
    virtual ~IEventPump() = default;
    /// Runs posted tasks and timers until `done` is true.
    virtual void RunUntil(const std::function<bool()>& done) = 0;
};

}  // namespace orvo

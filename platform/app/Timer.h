#pragma once
// A repeating timer on the event loop, as a form's timer control behaves:
// while Enabled with an Interval above 0 it calls OnTick every Interval ms.
// Enabling it or changing the Interval starts the countdown afresh.
#include <cstdint>
#include <functional>

#include "platform/app/EventLoop.h"

namespace platform::app {

class Timer {
public:
    explicit Timer(EventLoop& loop = EventLoop::Instance()) : loop_(loop) {}
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    int32_t Interval() const { return interval_; }
    void Interval(int32_t ms);
    bool Enabled() const { return enabled_; }
    void Enabled(bool on);

    // Called on each tick; it may change or destroy the timer. An exception
    // it throws is trapped by the loop.
    std::function<void()> OnTick;

private:
    void Restart();
    void Tick();

    EventLoop& loop_;
    int32_t interval_ = 0;
    bool enabled_ = false;
    EventLoop::TimerId pending_ = 0;
};

}  // namespace platform::app

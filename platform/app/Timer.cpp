#include "platform/app/Timer.h"

namespace platform::app {

Timer::~Timer() {
    if (pending_) loop_.Cancel(pending_);
}

void Timer::Interval(int32_t ms) {
    interval_ = ms;
    Restart();
}

void Timer::Enabled(bool on) {
    enabled_ = on;
    Restart();
}

void Timer::Restart() {
    if (pending_) loop_.Cancel(pending_);
    pending_ = 0;
    if (enabled_ && interval_ > 0) pending_ = loop_.PostTick(interval_, [this] { Tick(); });
}

void Timer::Tick() {
    pending_ = 0;
    Restart();  // the next tick is due before OnTick runs, so OnTick may stop it
    const auto onTick = OnTick;  // OnTick may destroy this timer
    if (onTick) onTick();
}

}  // namespace platform::app

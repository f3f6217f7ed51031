#include "platform/ui/Timer.h"

#include "platform/com/Error.h"

namespace platform::ui {

namespace {
constexpr int32_t kMaxInterval = 65535;
}

Timer::Timer() {
    timer_.Enabled(true);
    timer_.OnTick = [this] {
        const auto keep = Keep();
        TimerEvent.Raise();
    };
}

void Timer::Interval(int32_t ms) {
    if (ms < 0 || ms > kMaxInterval) com::Raise(com::errBadPropertyValue, "Invalid property value");
    timer_.Interval(ms);
}

void Timer::Enabled(bool on) {
    Control::Enabled(on);
    timer_.Enabled(on);
}

void Timer::Describe(Description& d) const {
    Control::Describe(d);
    d.Attr("interval=" + std::to_string(Interval()) + (Enabled() ? " on" : " off"));
    d.Prop("interval", Interval());
    d.Prop("enabled", Enabled());
}

}  // namespace platform::ui

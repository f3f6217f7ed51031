#pragma once
// The timer control on the event loop: while Enabled with an Interval above 0
// it raises Timer every Interval ms of virtual time. Enabling it or changing
// the Interval restarts the countdown; the next tick is armed before Timer
// runs, so a handler may stop it. Ticks run whether the form is shown or not.
#include <cstdint>

#include "platform/app/Timer.h"
#include "platform/ui/Control.h"
#include "platform/ui/Signal.h"

namespace platform::ui {

class Timer : public Control {
public:
    Timer();
    std::string TypeName() const override { return "Timer"; }
    bool Windowed() const override { return false; }
    int32_t Interval() const { return timer_.Interval(); }
    // Outside 0..65535 raises 380.
    void Interval(int32_t ms);
    using Control::Enabled;
    void Enabled(bool on) override;
    void Describe(Description& d) const override;
    Signal<> TimerEvent;  // the Timer event

private:
    app::Timer timer_;
};

}  // namespace platform::ui

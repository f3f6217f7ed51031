#pragma once
// The scale control of the scale library, as the bar graph hosts it: a
// caption, a range with its actual (drawn) range, a mirror flag, a language
// value and the one method the bar calls when it is shown. The actual range is
// exactly what was set (no automatic scaling); nothing is drawn. RangeChanged
// follows every change of the actual range.
#include <cstdint>
#include <string>
#include <utility>

#include "platform/com/Variant.h"
#include "platform/ui/Control.h"
#include "platform/ui/Signal.h"

namespace platform::ctl {

class Scale : public ui::Control {
public:
    std::string TypeName() const override { return "Scale"; }

    const std::string& Caption() const { return caption_; }
    void Caption(std::string text) { caption_ = std::move(text); }
    double RangeMin() const { return rangeMin_; }
    void RangeMin(double v) { rangeMin_ = v; }
    double RangeMax() const { return rangeMax_; }
    void RangeMax(double v) { rangeMax_ = v; }
    double ActualRangeMin() const { return actualMin_; }
    void ActualRangeMin(double v);
    double ActualRangeMax() const { return actualMax_; }
    void ActualRangeMax(double v);
    bool Mirrored() const { return mirrored_; }
    void Mirrored(bool on) { mirrored_ = on; }
    int16_t UserLanguage() const { return userLanguage_; }
    void UserLanguage(int16_t language) { userLanguage_ = language; }

    // The method the bar calls whenever it is shown; recorded only: the count
    // of calls and the arguments of the last.
    void Method12015(const Variant& arg1, const Variant& arg2) {
        lastMethodCall_ = {arg1, arg2};
        ++methodCallCount_;
    }
    int64_t MethodCallCount() const { return methodCallCount_; }
    const std::pair<Variant, Variant>& LastMethodCall() const { return lastMethodCall_; }

    ui::Signal<> RangeChanged;

    void Describe(ui::Description& d) const override;

private:
    std::string caption_;
    double rangeMin_ = 0, rangeMax_ = 100, actualMin_ = 0, actualMax_ = 100;
    bool mirrored_ = false;
    int16_t userLanguage_ = 0;
    std::pair<Variant, Variant> lastMethodCall_;
    int64_t methodCallCount_ = 0;
};

}  // namespace platform::ctl

#include "platform/ctl/Scale.h"

#include "platform/ui/Description.h"

namespace platform::ctl {

void Scale::ActualRangeMin(double v) {
    if (v == actualMin_) return;
    actualMin_ = v;
    const auto keep = Keep();
    RangeChanged.Raise();
}

void Scale::ActualRangeMax(double v) {
    if (v == actualMax_) return;
    actualMax_ = v;
    const auto keep = Keep();
    RangeChanged.Raise();
}

void Scale::Describe(ui::Description& d) const {
    Control::Describe(d);
    d.onlyWithAll = true;
    d.Attr(ui::Quote(caption_));
    d.Prop("caption", caption_);
    d.Prop("actualRangeMin", actualMin_);
    d.Prop("actualRangeMax", actualMax_);
    d.Prop("mirrored", mirrored_);
}

}  // namespace platform::ctl

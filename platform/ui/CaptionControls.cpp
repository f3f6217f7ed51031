#include "platform/ui/CaptionControls.h"

#include "platform/com/Error.h"
#include "platform/ui/UserControl.h"

namespace platform::ui {

void CaptionedControl::Describe(Description& d) const {
    Control::Describe(d);
    d.Attr(Quote(caption_));
    d.Prop("caption", caption_);
}

bool CommandButton::UserClick() {
    const auto keep = Keep();
    Click.Raise();
    return true;
}

void CheckBox::Value(int16_t v) {
    if (v < 0 || v > 2) com::Raise(com::errBadPropertyValue, "Invalid property value");
    if (v == value_) return;
    value_ = v;
    const auto keep = Keep();
    Click.Raise();
}

bool CheckBox::UserClick() {
    Value(value_ == 0 ? int16_t{1} : int16_t{0});
    return true;
}

void CheckBox::Describe(Description& d) const {
    CaptionedControl::Describe(d);
    d.Attr(value_ == 1 ? "[x]" : value_ == 2 ? "[-]" : "[ ]");
    d.Prop("value", static_cast<int32_t>(value_));
}

void OptionButton::Value(bool on) {
    if (on == value_) return;
    value_ = on;
    if (!on) return;
    if (Parent() && Index)
        for (const auto& c : Parent()->Controls()) {
            auto* other = dynamic_cast<OptionButton*>(c.get());
            if (other && other != this && other->Name == Name && other->Index && other->Container() == Container())
                other->value_ = false;
        }
    const auto keep = Keep();
    Click.Raise();
}

bool OptionButton::UserClick() {
    Value(true);
    return true;
}

void OptionButton::Describe(Description& d) const {
    CaptionedControl::Describe(d);
    d.Attr(value_ ? "(o)" : "( )");
    d.Prop("value", value_);
}

}  // namespace platform::ui

#include "platform/ui/Input.h"

#include "platform/app/ErrorSink.h"
#include "platform/ui/CaptionControls.h"
#include "platform/ui/Focus.h"
#include "platform/ui/Host.h"
#include "platform/ui/IntrinsicControls.h"
#include "platform/ui/TabStrip.h"

namespace platform::ui {

bool Dispatch(const std::string& where, const std::function<bool()>& input) {
    try {
        return input();
    } catch (...) {
        app::ErrorSink::Instance().RecordCurrentException(where);
        return false;
    }
}

std::string InputWhere(const Control& control, const std::string& kind) {
    return "input " + ControlPath(control) + " " + kind;
}

bool TakesInput(const Control& control) { return control.EffectiveVisible() && control.EffectiveEnabled(); }

namespace Input {

namespace {
// Dispatches `input` on `control` when it takes input.
bool On(Control& control, const std::string& kind, const std::function<bool()>& input) {
    if (!TakesInput(control)) return false;
    return Dispatch(InputWhere(control, kind), input);
}
}  // namespace

bool Click(Control& control) {
    return On(control, "Click", [&] { return control.UserClick(); });
}

bool Check(CheckBox& box, bool checked) {
    return On(box, "Check", [&] {
        // One click, as a user gives it; a grayed box takes a second one to
        // become checked, unless the first one's handler set the box itself.
        const int16_t target = checked ? 1 : 0;
        if (box.Value() == target) return true;
        const bool grayed = box.Value() == 2;
        box.UserClick();
        if (grayed && target == 1 && box.Value() == 0) box.UserClick();
        return true;
    });
}

bool SelectOption(OptionButton& option) {
    return On(option, "SelectOption", [&] { return option.UserClick(); });
}

bool ClickTab(TabStrip& strip, int32_t index) {
    if (index < 1 || index > strip.Tabs().Count()) return false;
    return On(strip, "ClickTab", [&] {
        strip.UserClickTab(index);
        return true;
    });
}

bool Scroll(VScrollBar& bar, int32_t value) {
    return On(bar, "Scroll", [&] {
        bar.Value(bar.Clamp(value));
        return true;
    });
}

bool Focus(Control& control) {
    if (!FocusManager::CanFocus(control)) return false;
    return Dispatch(InputWhere(control, "Focus"), [&] {
        control.SetFocus();
        return true;
    });
}

bool Resize(Host& host, float width, float height) {
    return Dispatch("input host Resize", [&] {
        host.Resize(width, height);
        return true;
    });
}

bool SetAmbient(Host& host, const std::string& name, const Variant& value) {
    return Dispatch("input host SetAmbient " + name, [&] {
        host.SetAmbient(name, value);
        return true;
    });
}

}  // namespace Input

}  // namespace platform::ui

#pragma once
// User input, trapped at the boundary: each call answers whether the input was
// taken. An input on a control that is not effectively visible and enabled is
// refused (False, nothing raised). An error raised by a handler is recorded in
// app::ErrorSink with where = "input <control path> <kind>" and answers False.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/com/Variant.h"

namespace platform::ui {

class CheckBox;
class Control;
class Host;
class OptionButton;
class TabStrip;
class VScrollBar;

// Runs `input`; a raised error is recorded at `where` and answers False.
bool Dispatch(const std::string& where, const std::function<bool()>& input);
// "input <control path> <kind>".
std::string InputWhere(const Control& control, const std::string& kind);
// Effectively visible and enabled.
bool TakesInput(const Control& control);

namespace Input {

// A click: a button raises Click, a check box toggles, an option button is set.
bool Click(Control& control);
// Clicks the box until it is checked or unchecked as asked (none when it is).
bool Check(CheckBox& box, bool checked);
bool SelectOption(OptionButton& option);
// Clicks tab `index` (1-based); a tab that does not exist is refused.
bool ClickTab(TabStrip& strip, int32_t index);
// Scrolls to `value`, held within Min..Max.
bool Scroll(VScrollBar& bar, int32_t value);
// Refused when the control cannot take the focus.
bool Focus(Control& control);
bool Resize(Host& host, float width, float height);
bool SetAmbient(Host& host, const std::string& name, const Variant& value);

}  // namespace Input

}  // namespace platform::ui

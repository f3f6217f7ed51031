#pragma once
// The focus of one host. SetFocus sets the focus first, then tells the control
// left (FocusLost), then raises ExitFocus on the user controls left (innermost
// first) and EnterFocus on those entered (outermost first). A SetFocus from one
// of those handlers starts from the new focus and ends the outer sequence.
#include <cstdint>

#include "platform/com/Variant.h"

namespace platform::ui {

class Control;

class FocusManager {
public:
    // 5 unless `control` is focusable, effectively visible and enabled.
    void SetFocus(Control& control);
    // True when SetFocus would take `control`.
    static bool CanFocus(const Control& control);
    // The focused control, or null.
    Control* Focused() const;
    // Drops the focus when it lies on or below `control` (a removed control).
    void Forget(const Control& control);

private:
    W<Control> focusedWeak_;
    Control* focused_ = nullptr;
    bool tracked_ = false;  // focused_ is owned by a shared pointer
    uint64_t generation_ = 0;
};

}  // namespace platform::ui

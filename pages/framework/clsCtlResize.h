#pragma once
// Keeps child controls of a page at their designed distance from the page's
// right and bottom edges: a page records each child once (Add) in its designed
// layout and resizes it from its own Resize. Only Width and Height change; a
// size that would be 0 or less is not applied.
#include <cstdint>

#include "platform/com/Collection.h"
#include "platform/ui/Control.h"

namespace dtm {

enum ControlResizeMode : int32_t { crmWidth = 0, crmHeight = 1, crmBoth = 2 };

class clsCtlResize {
public:
    // Stores the child's right and bottom margins under its name; a name added
    // before raises 457.
    void Add(const platform::ui::Control& userCtl, const platform::ui::Control& ctl);
    // Applies the stored margins by mode; a name never added raises 5, any
    // other mode changes nothing.
    void Resize(const platform::ui::Control& userCtl, platform::ui::Control& ctl, ControlResizeMode mode);

private:
    platform::com::KeyedList<float> rightMargins_;
    platform::com::KeyedList<float> bottomMargins_;
};

}  // namespace dtm

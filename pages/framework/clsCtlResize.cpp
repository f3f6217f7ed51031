#include "pages/framework/clsCtlResize.h"

namespace dtm {

void clsCtlResize::Add(const platform::ui::Control& userCtl, const platform::ui::Control& ctl) {
    const float right = userCtl.Width() - (ctl.Left() + ctl.Width());
    const float bottom = userCtl.Height() - (ctl.Top() + ctl.Height());
    rightMargins_.Insert(right, ctl.Name);
    bottomMargins_.Insert(bottom, ctl.Name);
}

void clsCtlResize::Resize(const platform::ui::Control& userCtl, platform::ui::Control& ctl, ControlResizeMode mode) {
    if (mode == crmWidth || mode == crmBoth) {
        const float w = userCtl.Width() - rightMargins_.At(ctl.Name) - ctl.Left();
        if (w > 0) ctl.Width(w);
    }
    if (mode == crmHeight || mode == crmBoth) {
        const float h = userCtl.Height() - bottomMargins_.At(ctl.Name) - ctl.Top();
        if (h > 0) ctl.Height(h);
    }
}

}  // namespace dtm

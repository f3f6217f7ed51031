#include "platform/ctl/ctlParamHelp.h"

#include "platform/ui/Description.h"

namespace platform::ctl {

void ctlParamHelp::Describe(ui::Description& d) const {
    Control::Describe(d);
    d.onlyWithAll = true;
    d.Attr(ui::Quote(lastShown_.text));
    d.Prop("helpText", helpText_);
    d.Prop("lastShown", lastShown_.text);
}

}  // namespace platform::ctl

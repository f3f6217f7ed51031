#pragma once
// The parameter edit control of the control library: shows one model element
// with its label; pages find it among their controls.
#include <string>

#include "platform/ui/Control.h"

namespace platform::ctl {

class ctlParameter : public ui::Control {
public:
    std::string TypeName() const override { return "ctlParameter"; }
    bool Focusable() const override { return true; }

    std::string LabelText;
    // The element the row shows; may hold "%d", "%ch" and "%blk" for a block.
    std::string parameterTag;
};

}  // namespace platform::ctl

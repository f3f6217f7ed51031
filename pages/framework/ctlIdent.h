#pragma once
// The identification page: the operating unit's three texts and the device's
// identification, sixteen rows bound by parameter tag, in two frames.
#include "pages/framework/NavigablePage.h"
#include "platform/ctl/ctlParameter.h"
#include "platform/ui/CaptionControls.h"

namespace dtm {

class ctlIdent : public NavigablePage, public platform::ctl::IParamHelpHost {
public:
    ctlIdent();
    platform::P<platform::ctl::ctlParamHelp> GetParamHelpCtl() override { return ctlParamHelp1; }

    platform::P<platform::ui::Frame> frmOperUnit, frmDevice;

protected:
    void BuildForm() override;
};

}  // namespace dtm

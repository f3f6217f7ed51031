#pragma once
// The input page, tab 2 of the offline parameterisation window: the tag
// description and static revision of the Flow Coriolis Transducer Block above
// a tab strip over its three input tab pages.
#include "pages/framework/NavigablePage.h"
#include "pages/parameterisation/ctlInpTabPage.h"
#include "platform/ctl/ctlParamHelp.h"
#include "platform/ui/TabStrip.h"

namespace dtm {

class ctlInput : public NavigablePage, public platform::ctl::IParamHelpHost {
public:
    ctlInput();
    platform::P<platform::ctl::ctlParamHelp> GetParamHelpCtl() override { return ctlParamHelp1; }

    platform::P<dtm::ctlInpCtrlParam> ctlInpCtrlParam;
    platform::P<dtm::ctlInpMeasConLimits> ctlInpMeasConLimits;
    platform::P<dtm::ctlInpMeasLimits> ctlInpMeasLimits;
    platform::P<platform::ui::TabStrip> TabStrip;

protected:
    void BuildForm() override;
    void InitControls() override;

private:
    void TabStrip_Click();
};

}  // namespace dtm

#pragma once
// The measured values window (function 7): the eight measured variables of
// transducer block 1 on three tabs (overview, flow bars, concentration bars),
// read by the status bar's cycle: the diagnosis, then the unit, record and
// limits of every variable, whatever tab is shown.
#include <string>

#include "pages/framework/ctlStatus.h"
#include "pages/measurement/ctlMeasBars.h"
#include "pages/measurement/ctlMeasOView.h"
#include "pages/parameterisation/TabWindow.h"

namespace dtm {

class ctlMeasure : public TabWindow, public platform::ctl::IParamHelpHost {
public:
    ctlMeasure();
    platform::P<platform::ctl::ctlParamHelp> GetParamHelpCtl() override { return ctlParamHelp1; }

    platform::P<dtm::ctlStatus> ctlStatus;
    platform::P<dtm::ctlMeasOView> ctlMeasOView;
    platform::P<dtm::ctlMeasFlow> ctlMeasFlow;
    platform::P<dtm::ctlMeasConc> ctlMeasConc;

protected:
    void BuildForm() override;

private:
    void ctlStatus_OnAddCycleRequests(platform::rt::TransGrp& group);
    void ctlStatus_OnAddDiagnoseRequests(platform::rt::TransGrp& group);
    void ctlStatus_OnRemoveRequests(platform::rt::TransGrp& group);
};

}  // namespace dtm

#pragma once
// The online parameterisation window (function 10): the service pages that
// work directly on the connected device, one per tab (zero point
// calibration, resets, protection), under the headline and above the status
// bar. The status bar's cycle reads the parameters of all three tabs,
// whichever is shown, and marks the derived diagnosis parts and the zero
// point state as live values while it runs.
#include <string>

#include "pages/framework/CycleMarks.h"
#include "pages/framework/ctlStatus.h"
#include "pages/parameterisation/TabWindow.h"
#include "pages/service/ctlCalib.h"
#include "pages/service/ctlProtect.h"
#include "pages/service/ctlReset.h"
#include "platform/rt/IPrivateProcess.h"

namespace dtm {

class ctlOnline : public TabWindow, public platform::ctl::IParamHelpHost, public platform::rt::IPrivateProcess {
public:
    ctlOnline();
    platform::P<platform::ctl::ctlParamHelp> GetParamHelpCtl() override { return ctlParamHelp1; }
    // The window starts no process of its own.
    void OnProcessProgress(const std::string&, int16_t, const platform::Variant&) override {}
    void OnProcessFinished(const std::string&, const platform::Variant&) override {}

    platform::P<dtm::ctlStatus> ctlStatus;
    platform::P<dtm::ctlProtect> ctlProtect;
    platform::P<dtm::ctlReset> ctlReset;
    platform::P<dtm::ctlCalib> ctlCalib;

protected:
    void BuildForm() override;

private:
    void ctlStatus_OnAddCycleRequests(platform::rt::TransGrp& group);
    void ctlStatus_OnRemoveRequests(platform::rt::TransGrp& group);

    CycleMarks marks_;  // the derived values, live while the cycle runs
};

}  // namespace dtm

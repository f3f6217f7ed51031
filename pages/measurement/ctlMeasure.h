#pragma once
// The measured values window (function 7): the eight measured variables of
// transducer block 1 on three tabs (overview, flow bars, concentration bars),
// read by the status bar's cycle: the diagnosis, then the unit, record and
// limits of every variable, whatever tab is shown.
#include <string>

#include "pages/framework/NavigablePage.h"
#include "pages/framework/ctlHeadline.h"
#include "pages/framework/ctlStatus.h"
#include "pages/measurement/ctlMeasBars.h"
#include "pages/measurement/ctlMeasOView.h"
#include "platform/ui/CaptionControls.h"
#include "platform/ui/TabStrip.h"

namespace dtm {

class ctlMeasure : public NavigablePage, public platform::ctl::IParamHelpHost {
public:
    ctlMeasure();
    platform::P<platform::ctl::ctlParamHelp> GetParamHelpCtl() override { return ctlParamHelp1; }

    // A "TabStrip" path whose tail names no tab answers False and selects nothing.
    bool ShowControl(const std::string& controlPfad, const std::string& ctlName) override;

    platform::P<platform::ui::CommandButton> HelpButton;
    platform::P<dtm::ctlHeadline> ctlHeadline;
    platform::P<dtm::ctlStatus> ctlStatus;
    platform::P<dtm::ctlMeasOView> ctlMeasOView;
    platform::P<dtm::ctlMeasFlow> ctlMeasFlow;
    platform::P<dtm::ctlMeasConc> ctlMeasConc;
    platform::P<platform::ui::TabStrip> TabStrip;

protected:
    void BuildForm() override;
    void InitControls() override;
    void InitLanguageDependedControls(int32_t languageId) override;
    void SelectTabForPath(const std::string& head, const std::string& tail) override;

private:
    void TabStrip_Click();
    void ctlStatus_OnAddCycleRequests(platform::rt::TransGrp& group);
    void ctlStatus_OnAddDiagnoseRequests(platform::rt::TransGrp& group);
    void ctlStatus_OnRemoveRequests(platform::rt::TransGrp& group);
    void HelpButton_Click();

    bool badTabPath_ = false;
};

}  // namespace dtm

#pragma once
// The alarm page (function 4): the alarms of the function blocks, one block
// at a time. A tab strip holds one tab per function block; the one block
// alarm page shows the block of the selected tab and is initialised anew
// for it. The status bar reads the device's diagnosis and the selected
// block's alarm records and limits cyclically.
//
// A tab whose block has no "~/BLOCK/n" counts as no block: its caption is
// empty, the child is not initialised for it and it gets no cycle requests.
#include <cstdint>
#include <memory>
#include <string>

#include "pages/framework/BlockTabStrip.h"
#include "pages/framework/NavigablePage.h"
#include "pages/framework/ctlHeadline.h"
#include "pages/framework/ctlStatus.h"
#include "pages/parameterisation/ctlAlarmAI.h"
#include "platform/rt/IPrivateProcess.h"
#include "platform/ui/CaptionControls.h"
#include "platform/ui/TabStrip.h"

namespace dtm {

class ctlAlarm : public NavigablePage, public platform::ctl::IParamHelpHost, public platform::rt::IPrivateProcess {
public:
    ctlAlarm();
    platform::P<platform::ctl::ctlParamHelp> GetParamHelpCtl() override { return ctlParamHelp1; }

    bool Init(const std::string& invokeId, const std::string& functionCall,
              const platform::P<platform::com::Object>& dtm) override;
    // Brings the tabs in line with a comma-separated list of tab keys.
    void TabStrip_Update(const std::string& strTabs);

    // ---- IPrivateProcess: the page starts no process ----
    void OnProcessProgress(const std::string&, int16_t, const platform::Variant&) override {}
    void OnProcessFinished(const std::string&, const platform::Variant&) override {}

    platform::P<platform::ui::CommandButton> HelpButton;
    platform::P<dtm::ctlStatus> ctlStatus;
    platform::P<dtm::ctlAlarmAI> ctlAlarmAI;
    platform::P<platform::ui::TabStrip> TabStrip;
    platform::P<dtm::ctlHeadline> ctlHeadline;

protected:
    void BuildForm() override;
    void InitControls() override;
    void InitLanguageDependedControls(int32_t languageId) override;
    void UpdateParameterCtl(const platform::P<platform::rt::IPrivateDataElement>& pda) override;
    void UpdateAllParameterCtls() override;
    bool ExitControls() override;

private:
    void TabStrip_Click();
    // Re-initialises the child `ctlName` for block `number`, between a
    // removal and a new start of the status bar's requests.
    void UpdateControl(const std::string& ctlName, int32_t number);
    void ShowTabControl(const std::string& ctlName, bool visible);
    void ctlStatus_OnAddDiagnoseRequests(platform::rt::TransGrp& grp);
    void ctlStatus_OnAddCycleRequests(platform::rt::TransGrp& grp);
    void ctlStatus_OnRemoveRequests(platform::rt::TransGrp& grp);
    void HelpButton_Click();

    std::unique_ptr<BlockTabStrip> tabs_;
    std::string m_FunctionCall;
    std::weak_ptr<platform::com::Object> m_Dtm;
};

}  // namespace dtm

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

#include "pages/framework/BlockTabPage.h"
#include "pages/framework/NoProcessCallbacks.h"
#include "pages/framework/ctlStatus.h"
#include "pages/parameterisation/ctlAlarmAI.h"

namespace dtm {

class ctlAlarm : public BlockTabPage, public platform::ctl::IParamHelpHost, public NoProcessCallbacks {
public:
    ctlAlarm();
    platform::P<platform::ctl::ctlParamHelp> GetParamHelpCtl() override { return ctlParamHelp1; }

    bool Init(const std::string& invokeId, const std::string& functionCall,
              const platform::P<platform::com::Object>& dtm) override;

    platform::P<dtm::ctlStatus> ctlStatus;
    platform::P<dtm::ctlAlarmAI> ctlAlarmAI;

protected:
    void BuildForm() override;

private:
    void TabStrip_Click() override;
    // Re-initialises the child `ctlName` for block `number`, between a
    // removal and a new start of the status bar's requests.
    void UpdateControl(const std::string& ctlName, int32_t number);
    void ShowTabControl(const std::string& ctlName, bool visible);
    void ctlStatus_OnAddDiagnoseRequests(platform::rt::TransGrp& grp);
    void ctlStatus_OnAddCycleRequests(platform::rt::TransGrp& grp);
    void ctlStatus_OnRemoveRequests(platform::rt::TransGrp& grp);

    std::string m_FunctionCall;
    std::weak_ptr<platform::com::Object> m_Dtm;
};

}  // namespace dtm

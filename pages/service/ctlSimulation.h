#pragma once
// The simulation window (function 2): one tab per AI function block, the
// list chosen by the ident number selector; every tab shows the one AI
// simulation page, initialised again for the tab's block between a stop and
// a restart of the status bar's requests, which read the diagnosis and the
// selected block's simulation, target mode, output and mode. A tab's caption
// carries the text of its block's channel and is built anew, by the tab's
// key, when that channel changes.
//
// A tab path ("TabStrip.n") without a number or tab selects nothing and
// answers False.
#include <cstdint>
#include <memory>
#include <string>

#include "pages/framework/BlockTabPage.h"
#include "pages/framework/ctlStatus.h"
#include "pages/service/ctlSimuCh.h"

namespace dtm {

class ctlSimulation : public BlockTabPage, public platform::ctl::IParamHelpHost {
public:
    ctlSimulation();
    platform::P<platform::ctl::ctlParamHelp> GetParamHelpCtl() override { return ctlParamHelp1; }

    platform::P<dtm::ctlSimuCh> ctlSimuCh;
    platform::P<dtm::ctlStatus> ctlStatus;

protected:
    void BuildForm() override;
    void SelectTabForPath(const std::string& head, const std::string& tail) override;

private:
    void TabStrip_Click() override;
    // The first control whose name the tab key's name part holds ("ctlSimuChAI" -> ctlSimuCh).
    platform::P<platform::ui::Control> FindTabChild(const std::string& view) const;
    void SelectTabChild(const std::string& child, int16_t n);
    void ctlStatus_OnAddCycleRequests(platform::rt::TransGrp& group);
    void ctlStatus_OnAddDiagnoseRequests(platform::rt::TransGrp& group);
};

}  // namespace dtm

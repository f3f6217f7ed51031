#pragma once
// The function block outputs window (function 71): an overview tab of all
// eight function blocks and one tab per block, showing the AI or the
// Totaliser output page bound to that block. The tabs follow the ident
// number selector; a block tab's caption carries the text of the block's
// channel and is built anew when that channel changes. A tab click shows the
// tab's page and initialises it again for the tab's block between a stop and
// a restart of the status bar's requests, which read the diagnosis and the
// elements of the selected tab.
//
// A block tab whose block has no "~/BLOCK/n" counts as no block: no channel
// text, no page initialised for it, no cycle requests.
#include <cstdint>
#include <memory>
#include <string>

#include "pages/framework/BlockTabPage.h"
#include "pages/framework/NoProcessCallbacks.h"
#include "pages/framework/ctlStatus.h"
#include "pages/measurement/ctlMeasOutBlock.h"
#include "pages/measurement/ctlMeasOutOView.h"

namespace dtm {

class ctlMeasOutputs : public BlockTabPage, public platform::ctl::IParamHelpHost, public NoProcessCallbacks {
public:
    ctlMeasOutputs();
    platform::P<platform::ctl::ctlParamHelp> GetParamHelpCtl() override { return ctlParamHelp1; }

    bool Init(const std::string& invokeId, const std::string& functionCall,
              const platform::P<platform::com::Object>& dtm) override;

    platform::P<dtm::ctlStatus> ctlStatus;
    platform::P<dtm::ctlMeasOutOView> ctlMeasOutOView;
    platform::P<dtm::ctlMeasOutAI> ctlMeasOutAI;
    platform::P<dtm::ctlMeasOutTOT> ctlMeasOutTOT;

protected:
    void BuildForm() override;

private:
    void TabStrip_Click() override;
    // Takes the page down and brings it up again for block n under a new invoke id.
    void ReinitPage(const std::string& view, int16_t n);
    void ctlStatus_OnAddCycleRequests(platform::rt::TransGrp& group);
    void ctlStatus_OnAddDiagnoseRequests(platform::rt::TransGrp& group);
    void ctlStatus_OnRemoveRequests(platform::rt::TransGrp& group);

    std::string functionCall_;
};

}  // namespace dtm

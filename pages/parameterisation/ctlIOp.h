#pragma once
// The function block I/O page, tab 3 of the offline parameterisation window:
// one tab per function block (the block tab strip), and the AI or Totaliser
// I/O page of the selected tab's kind, released and initialised anew for the
// tab's block on every tab click, also on the tab already selected. The
// children are initialised before the page's own InitControls.
#include <memory>
#include <string>

#include "pages/framework/BlockTabPage.h"
#include "pages/parameterisation/ctlIOpFuncPage.h"
#include "platform/ctl/ctlParamHelp.h"

namespace dtm {

class ctlIOp : public BlockTabPage, public platform::ctl::IParamHelpHost {
public:
    ctlIOp();
    platform::P<platform::ctl::ctlParamHelp> GetParamHelpCtl() override { return ctlParamHelp1; }

    platform::P<dtm::ctlIOpFuncAI> ctlIOpFuncAI;
    platform::P<dtm::ctlIOpFuncTOT> ctlIOpFuncTOT;

protected:
    void BuildForm() override;
    // The children are released first; the tab strip stops only when they were.
    bool ExitControls() override;

private:
    void TabStrip_Click() override;
};

}  // namespace dtm

#pragma once
// The function block I/O page, tab 3 of the offline parameterisation window:
// one tab per function block, and the AI or Totaliser I/O page of the
// selected tab's kind, initialised anew for its block on every tab click.
#include <string>

#include "pages/framework/NavigablePage.h"
#include "pages/parameterisation/ctlIOpFuncPage.h"
#include "platform/ctl/ctlParamHelp.h"
#include "platform/ui/TabStrip.h"

namespace dtm {

class ctlIOp : public NavigablePage, public platform::ctl::IParamHelpHost {
public:
    ctlIOp();
    platform::P<platform::ctl::ctlParamHelp> GetParamHelpCtl() override { return ctlParamHelp1; }

    bool Init(const std::string& invokeId, const std::string& functionCall,
              const platform::P<platform::com::Object>& dtm) override;

    platform::P<dtm::ctlIOpFuncAI> ctlIOpFuncAI;
    platform::P<dtm::ctlIOpFuncTOT> ctlIOpFuncTOT;
    platform::P<platform::ui::TabStrip> TabStrip;

protected:
    void BuildForm() override;

private:
    std::string functionCall_;
};

}  // namespace dtm

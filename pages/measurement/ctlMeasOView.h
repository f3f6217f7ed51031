#pragma once
// The overview tab of the measured values window: value and status of the
// eight measured variables as rows, every row shown as a plain field again
// after each full refresh, whatever kind its link chose.
#include "pages/framework/NavigablePage.h"

namespace dtm {

class ctlMeasOView : public NavigablePage, public platform::ctl::IParamHelpHost {
public:
    ctlMeasOView();
    platform::P<platform::ctl::ctlParamHelp> GetParamHelpCtl() override { return ctlParamHelp1; }

protected:
    void BuildForm() override;
    void ConfigureLink(clsParamLink& link) override;
    void UpdateAllParameterCtls() override;
};

}  // namespace dtm

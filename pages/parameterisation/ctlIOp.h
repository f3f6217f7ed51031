#pragma once
// The function block I/O page, tab 3 of the offline parameterisation window:
// one tab per function block (the block tab strip), and the AI or Totaliser
// I/O page of the selected tab's kind, released and initialised anew for the
// tab's block on every tab click, also on the tab already selected. The
// children are initialised before the page's own InitControls.
#include <memory>
#include <string>

#include "pages/framework/BlockTabStrip.h"
#include "pages/framework/NavigablePage.h"
#include "pages/parameterisation/ctlIOpFuncPage.h"
#include "platform/ctl/ctlParamHelp.h"
#include "platform/ui/TabStrip.h"

namespace dtm {

class ctlIOp : public NavigablePage, public platform::ctl::IParamHelpHost {
public:
    ctlIOp();
    platform::P<platform::ctl::ctlParamHelp> GetParamHelpCtl() override { return ctlParamHelp1; }

    // Brings the tabs in line with a comma-separated list of tab keys.
    void TabStrip_Update(const std::string& strTabs) { tabs_->Update(strTabs); }

    platform::P<dtm::ctlIOpFuncAI> ctlIOpFuncAI;
    platform::P<dtm::ctlIOpFuncTOT> ctlIOpFuncTOT;
    platform::P<platform::ui::TabStrip> TabStrip;

protected:
    void BuildForm() override;
    void InitControls() override;
    void InitLanguageDependedControls(int32_t languageId) override;
    bool ExitControls() override;
    // The site, then the tab list (selector) or the caption at the block's
    // position (CHANNEL of a function block).
    void UpdateParameterCtl(const platform::P<platform::rt::IPrivateDataElement>& pda) override;
    void UpdateAllParameterCtls() override;

private:
    void TabStrip_Click();

    std::unique_ptr<BlockTabStrip> tabs_;
};

}  // namespace dtm

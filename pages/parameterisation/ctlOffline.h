#pragma once
// The offline parameterisation window (function 1): the headline above a tab
// strip over the identification, input and function block I/O pages, a help
// button and the status bar, which shows the connection and data-set state
// without cyclic reading. The window matches navigation paths with its own
// name and selects the tab a path leads to.
#include <string>

#include "pages/framework/NavigablePage.h"
#include "pages/framework/ctlHeadline.h"
#include "pages/framework/ctlIdent.h"
#include "pages/framework/ctlStatus.h"
#include "pages/parameterisation/ctlIOp.h"
#include "pages/parameterisation/ctlInput.h"
#include "platform/ctl/ctlParamHelp.h"
#include "platform/ui/CaptionControls.h"
#include "platform/ui/TabStrip.h"

namespace dtm {

class ctlOffline : public NavigablePage, public platform::ctl::IParamHelpHost {
public:
    ctlOffline();
    platform::P<platform::ctl::ctlParamHelp> GetParamHelpCtl() override { return ctlParamHelp1; }

    platform::P<platform::ui::CommandButton> HelpButton;
    platform::P<dtm::ctlStatus> ctlStatus;
    platform::P<dtm::ctlIOp> ctlIOp;
    platform::P<dtm::ctlInput> ctlInput;
    platform::P<dtm::ctlIdent> ctlIdent;
    platform::P<dtm::ctlHeadline> ctlHeadline;
    platform::P<platform::ui::TabStrip> TabStrip;

protected:
    void BuildForm() override;
    void InitControls() override;
    void InitLanguageDependedControls(int32_t languageId) override;
    // "ctlInput" selects tab 2, "TabStrip" the tab numbered by the tail; a
    // tail that is no number or names no tab raises.
    void SelectTabForPath(const std::string& head, const std::string& tail) override;

private:
    void TabStrip_Click();
    void HelpButton_Click();
};

}  // namespace dtm

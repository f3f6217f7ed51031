#pragma once
// The overview tab of the function block outputs window: output value and
// status quality of all eight function blocks and, for the AI blocks, the
// simulation switch, as read-only rows in a grid. Each block's caption gets
// the text of the block's channel whenever the language texts are set; the
// captions of blocks 5 to 8 are hidden while the ident number selector
// says the device runs with the profile's ident number.
#include "pages/framework/NavigablePage.h"

namespace dtm {

class ctlMeasOutOView : public NavigablePage, public platform::ctl::IParamHelpHost {
public:
    ctlMeasOutOView();
    platform::P<platform::ctl::ctlParamHelp> GetParamHelpCtl() override { return ctlParamHelp1; }

protected:
    void BuildForm() override;
    void ConfigureLink(clsParamLink& link) override;
    void InitLanguageDependedControls(int32_t languageId) override;
    void UpdateParameterCtl(const platform::P<platform::rt::IPrivateDataElement>& element) override;
    void UpdateAllParameterCtls() override;

private:
    // Puts the channel text of each block into its caption's "%d".
    void OverviewSetLanguage();
};

}  // namespace dtm

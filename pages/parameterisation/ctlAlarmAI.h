#pragma once
// The block alarm page: the alarm summary and the four limit alarms of one
// function block, an AI or a Totaliser block, with their limits. Two inner
// tabs switch between the summary and the limits. The alarm page sets the
// block number and initialises the page again for every block it shows; the
// rows are bound to the block number and kind of the last Init.
//
// A block number without a block ("~/BLOCK/n" missing) binds no row.
#include <cstdint>

#include "pages/framework/BlockIndexedPage.h"
#include "platform/ctl/ctlParameter.h"
#include "platform/ui/TabStrip.h"


namespace dtm {

class ctlAlarmAI : public BlockIndexedPage, public platform::ctl::IParamHelpHost {
public:
    ctlAlarmAI();
    platform::P<platform::ctl::ctlParamHelp> GetParamHelpCtl() override { return ctlParamHelp1; }

    // BlockIndex, the block shown, takes effect at the next Init.

    // Summary and limits, the frames of the same names.
    platform::P<platform::ui::TabStrip> TabStrip;

protected:
    void BuildForm() override;
    void ConfigureLink(clsParamLink& link) override;
    void InitControls() override;

private:
    void TabStrip_Click();
};

}  // namespace dtm

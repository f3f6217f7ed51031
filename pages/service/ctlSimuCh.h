#pragma once
// The AI simulation page, the tab page of the simulation window: the
// SIMULATE record of one AI function block (value, status and the switch),
// its target and actual mode and its output. cmdRead reads them from the
// device; cmdTransfer writes the simulation and the target mode (and OUT in
// manual mode, 16) and reads the actual mode back.
//
// The window sets BlockIndex and initialises the page again for each tab. A
// number without an AI block (0, the Totaliser blocks 4 and 8) leaves the rows
// unbound and both buttons disabled and inert; cmdTransfer needs the user
// level the SIMULATE record requires at the click.
//
// A click that does nothing says why: cmdRead while an upload runs
// ("error_upload_running"), cmdTransfer while the page's transfer runs
// ("error_command_running"). A page released before its transfer's writes
// began (its window closed, or another tab chosen) says that the values were
// not sent ("error_command_not_sent"); once they began, they all go out.
#include <cstdint>
#include <string>

#include "pages/framework/BlockIndexedPage.h"
#include "pages/framework/NoProcessCallbacks.h"
#include "platform/rt/TransGrp.h"
#include "platform/ui/CaptionControls.h"

namespace dtm {

class ctlSimuCh : public BlockIndexedPage, public platform::ctl::IParamHelpHost, public NoProcessCallbacks {
public:
    static constexpr int16_t kDefaultBlockIndex = 1;
    static constexpr int16_t kManualMode = 16;

    ctlSimuCh();
    platform::P<platform::ctl::ctlParamHelp> GetParamHelpCtl() override { return ctlParamHelp1; }

    const platform::P<platform::rt::TransGrp>& TransferGroup() const { return m_TransGrp; }

    platform::P<platform::ui::CommandButton> cmdRead, cmdTransfer;

protected:
    void BuildForm() override;
    void ConfigureLink(clsParamLink& link) override;
    void InitControls() override;
    bool ExitControls() override;
    void SetLockState(bool editable) override;

private:
    // The page shows an AI block ("~/BLOCK/n" is "AI").
    bool ShowsAIBlock() const;
    // A transfer of cmdTransfer runs and none of its writes has gone out yet.
    bool SendWaits() const;
    void cmdRead_Click();
    void cmdTransfer_Click();

    platform::P<platform::rt::TransGrp> m_TransGrp;
};

}  // namespace dtm

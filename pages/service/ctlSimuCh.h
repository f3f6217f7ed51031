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
#include <cstdint>
#include <string>

#include "pages/framework/IBlockIndexed.h"
#include "pages/framework/NavigablePage.h"
#include "platform/rt/IPrivateProcess.h"
#include "platform/rt/TransGrp.h"
#include "platform/ui/CaptionControls.h"

namespace dtm {

class ctlSimuCh : public NavigablePage,
                  public platform::ctl::IParamHelpHost,
                  public platform::rt::IPrivateProcess,
                  public IBlockIndexed {
public:
    static constexpr int16_t kDefaultBlockIndex = 1;
    static constexpr int16_t kManualMode = 16;

    ctlSimuCh();
    platform::P<platform::ctl::ctlParamHelp> GetParamHelpCtl() override { return ctlParamHelp1; }

    int16_t BlockIndex() const override { return m_BlockIndex; }
    void BlockIndex(int16_t index) override { m_BlockIndex = index; }
    void InitProperties() override;
    void ReadProperties(const platform::com::PropertyBag& bag) override;
    void WriteProperties(platform::com::PropertyBag& bag) override;

    void OnProcessProgress(const std::string&, int16_t, const platform::Variant&) override {}
    void OnProcessFinished(const std::string&, const platform::Variant&) override {}

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
    void cmdRead_Click();
    void cmdTransfer_Click();

    int16_t m_BlockIndex = kDefaultBlockIndex;
    platform::P<platform::rt::TransGrp> m_TransGrp;
};

}  // namespace dtm

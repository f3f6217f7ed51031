#pragma once
// The archive and trend page (function 72): the trend of the eight measured
// variables in the archive control, over the DTM instance's archive object.
// The page builds one curve per variable (value, limits, record, label, unit,
// format), hands them with the context and the archive to the control, keeps
// labels and units in step with the model and passes its parameter, language
// and lock notices and its shut-down on to the control. It reads nothing
// itself; its status bar has no cycle.
//
// The first opening after a new instance sets the curve-enable mask up (every
// curve enabled: 255); a mask already set is kept. A failure while the curves
// are built after the mask was taken for setting up puts it back to "not yet
// set", so that the next opening sets it up again.
#include <memory>
#include <string>

#include "pages/framework/PageBase.h"
#include "pages/framework/clsCtlResize.h"
#include "pages/framework/ctlHeadline.h"
#include "pages/framework/ctlStatus.h"
#include "platform/archive/ctlDTMArchive.h"
#include "platform/ui/CaptionControls.h"

namespace dtm {

class ctlArchive : public PageBase, public platform::ctl::IParamHelpHost {
public:
    ctlArchive();
    platform::P<platform::ctl::ctlParamHelp> GetParamHelpCtl() override { return ctlParamHelp1; }

    void Initialize() override;
    void Resize() override;

    platform::P<platform::ui::CommandButton> HelpButton;
    platform::P<dtm::ctlStatus> ctlStatus;
    platform::P<platform::archive::ctlDTMArchive> ctlDTMArchive;
    platform::P<dtm::ctlHeadline> ctlHeadline;

protected:
    void BuildForm() override;
    void InitControls() override;
    void InitLanguageDependedControls(int32_t languageId) override;
    bool ExitControls() override;
    void UpdateParameterCtl(const platform::P<platform::rt::IPrivateDataElement>& element) override;
    void UpdateAllParameterCtls() override;
    void SetLockState(bool editable) override;

private:
    void InitArchive();
    // Label and unit of the curves from their elements: every curve, or only
    // the curves of `pda` when given.
    void UpdateCurves(const platform::P<platform::rt::IPrivateDataElement>& pda = nullptr);
    void HelpButton_Click();

    std::unique_ptr<clsCtlResize> m_Resize;
};

}  // namespace dtm

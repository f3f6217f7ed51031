#pragma once
// The channel assignment page (function 24): the data module of each of the
// eight cyclic slots of the device's PROFIBUS configuration, the resulting
// slave parameter set as hexadecimal text, and a button that hands the slot
// choice to the process-data channels and asks the frame to save.
//
// A slot whose value channel is in use opens locked; the lock is told to the
// pages only, so opening the page changes neither the set nor the data set's
// modified mark. A failure while the locks are read or while the choice is
// stored is traced and reported to the frame; the page stays open.
#include "pages/framework/PageBase.h"
#include "pages/framework/ctlHeadline.h"
#include "platform/ctl/ctlParameter.h"
#include "platform/ui/CaptionControls.h"

namespace dtm {

class ctlChannelAssign : public PageBase {
public:
    ctlChannelAssign();

    platform::P<platform::ui::CommandButton> StoreNewConfig;
    platform::P<platform::ui::Frame> frmBusMasterConfig, frmCfgData;
    // The whole slave parameter set; the slot rows are the array ctlParameter 1 to 8.
    platform::P<platform::ctl::ctlParameter> ctlParameter3;
    platform::P<dtm::ctlHeadline> ctlHeadline;

protected:
    void BuildForm() override;
    void ConfigureLink(clsParamLink& link) override;
    void InitLanguageDependedControls(int32_t languageId) override;
    void AfterInit() override;

private:
    // Locks the row of each slot whose value channel is in use.
    void RefreshSlotElements();
    void StoreNewConfig_Click();
    // Traces and reports a failure of `member` under the message key.
    void ReportFailure(const std::string& member, const std::string& messageKey, const std::exception& error);
};

}  // namespace dtm

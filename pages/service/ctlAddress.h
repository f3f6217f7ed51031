#pragma once
// The bus address page (function 9): the PROFIBUS address under which the DTM
// addresses the device ("~/Address") and a new address the user may enter
// ("~/NewAddress"). The user takes the new address over, resets the device's
// address to 126 (confirmed; "~/Address" follows when the device took the
// command; one it did not carry out is said, and one declined, not carried out
// or cut short by the page's closing leaves "PHYS/FACTORY_RESET" as it was) or
// cancels, which restores both values and asks the frame to close
// the page. Cancel restores the values of the last validation request, or
// those the page opened with when none came.
//
// Both rows are read-only while any of the 16 channels reports its lock.
// Taking the address over and the reset need user level 2 at the click.
#include <cstdint>
#include <string>

#include "pages/framework/ConfirmedGroupWrite.h"
#include "pages/framework/NavigablePage.h"
#include "pages/framework/ctlHeadline.h"
#include "pages/framework/ctlStatus.h"
#include "platform/ctl/ctlParameter.h"
#include "platform/rt/IPrivateProcess.h"
#include "platform/rt/TransGrp.h"
#include "platform/ui/CaptionControls.h"

namespace dtm {

class ctlAddress : public NavigablePage, public platform::ctl::IParamHelpHost, public platform::rt::IPrivateProcess {
public:
    static constexpr const char* kAddressPath = "~/Address";
    static constexpr const char* kNewAddressPath = "~/NewAddress";
    static constexpr int32_t kRequiredUserLevel = 2;

    ctlAddress();
    platform::P<platform::ctl::ctlParamHelp> GetParamHelpCtl() override { return ctlParamHelp1; }

    void OnProcessProgress(const std::string&, int16_t, const platform::Variant&) override {}
    void OnProcessFinished(const std::string& invokeId, const platform::Variant& extraData) override;

    const platform::P<platform::rt::TransGrp>& TransferGroup() const { return m_TransGrp; }

    platform::P<dtm::ctlHeadline> ctlHeadline;
    platform::P<platform::ui::CommandButton> HelpButton, cmdChange, cmdAddrReset, cmdCancel;
    platform::P<dtm::ctlStatus> ctlStatus;
    platform::P<platform::ui::Frame> frmAddress;
    platform::P<platform::ctl::ctlParameter> ctlParameter1, ctlParameter2;

protected:
    void BuildForm() override;
    void InitControls() override;
    void InitLanguageDependedControls(int32_t languageId) override;
    bool ExitControls() override;
    void ValidateAllParameterCtls() override;
    void AfterInit() override;

private:
    void UpdateAddressLock();
    void SaveValues();
    // False, with the message, below the level the address changes need.
    bool UserMayChange() const;
    void cmdChange_Click();
    void cmdAddrReset_Click();
    void cmdCancel_Click();
    void HelpButton_Click();

    platform::P<platform::rt::TransGrp> m_TransGrp;
    ConfirmedGroupWriter writer_;
    platform::Variant m_SavedAddress, m_SavedNewAddress;
    bool m_ResetSent = false;
};

}  // namespace dtm

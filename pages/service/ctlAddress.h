#pragma once
// The bus address page (function 9): the PROFIBUS address under which the DTM
// addresses the device ("~/Address") and a new address the user may enter
// ("~/NewAddress"). The user takes the new address over, resets the device's
// address to 126 (confirmed; "~/Address" follows when the device took the
// command; one it did not carry out is said, and one declined, not carried out
// or cut short by the page's closing leaves "PHYS/FACTORY_RESET" as it was) or
// cancels, which restores both values and asks the frame to close
// the page. Cancel takes back only what the page itself changed: it restores
// the values of the last validation request, or those the page opened with
// when none came, unless something else changed the element since (another
// window's address reset, the frame): then the value it left stays.
//
// Both rows are read-only while any of the 16 channels reports its lock.
// Taking the address over and the reset need user level 2 at the click; a new
// address out of the address's range is not taken over.
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

class clsDataElement;

class ctlAddress : public NavigablePage, public platform::ctl::IParamHelpHost, public platform::rt::IPrivateProcess {
public:
    static constexpr const char* kAddressPath = "~/Address";
    static constexpr const char* kNewAddressPath = "~/NewAddress";
    static constexpr int32_t kRequiredUserLevel = 2;

    ctlAddress();
    platform::P<platform::ctl::ctlParamHelp> GetParamHelpCtl() override { return ctlParamHelp1; }

    void OnProcessProgress(const std::string&, int16_t, const platform::Variant&) override {}
    void OnProcessFinished(const std::string& invokeId, const platform::Variant& extraData) override;
    // Values new from elsewhere (a load, the frame's document): Cancel keeps them.
    void ParameterSetChanged() override;

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
    void UpdateParameterCtl(const platform::P<platform::rt::IPrivateDataElement>& element) override;
    void AfterInit() override;

private:
    void UpdateAddressLock();
    // What Cancel sets an element back to, and the element's values as the
    // page last saw them.
    struct CancelValue {
        platform::Variant saved, transient, persistent;
    };
    void SaveValues();
    // Whether the change notified now is the page's own: its buttons' or a
    // value the user committed in one of its rows.
    bool OwnChange() const;
    // The element's values as the page sees them now; a change that is not
    // the page's own becomes what Cancel sets back to.
    void Follow(CancelValue& value, const clsDataElement& element) const;
    // False, with the message, below the level the address changes need.
    bool UserMayChange() const;
    // False, with the message, for a new address out of the address's range.
    bool AddressMayTake(const platform::Variant& newAddress) const;
    void cmdChange_Click();
    void cmdAddrReset_Click();
    void cmdCancel_Click();
    void HelpButton_Click();

    platform::P<platform::rt::TransGrp> m_TransGrp;
    ConfirmedGroupWriter writer_;
    CancelValue m_Address, m_NewAddress;
    bool m_Changing = false;  // while the page notifies its own change
};

}  // namespace dtm

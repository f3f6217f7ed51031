#pragma once
// The protection page (tab 3 of the online window): the service code the user
// types and the access rights the device grants for it, the device's write
// lock switched on and off, and a read of the four protection parameters.
// The device alone judges the code; the page checks its length only.
//
// The code never stays in the element: once its write has ended, when it is
// not sent (wrong length, declined, refused, not allowed, group busy with the
// write lock) and when the page closes, the element goes back to nine blanks
// (a stored value too: the data set holds no code). A click while the code's
// own write runs leaves the element to that write.
#include <string>

#include "pages/framework/ConfirmedGroupWrite.h"
#include "pages/framework/NavigablePage.h"
#include "platform/rt/IPrivateProcess.h"
#include "platform/rt/TransGrp.h"
#include "platform/ui/CaptionControls.h"

namespace dtm {

class ctlProtect : public NavigablePage, public platform::ctl::IParamHelpHost, public platform::rt::IPrivateProcess {
public:
    static constexpr const char* kServicePasswordPath = "PHYS/MANU/SERVICE_PASSWORD";
    static constexpr const char* kAccessRightsPath = "PHYS/MANU/ACCESS_RIGHTS";
    static constexpr const char* kWriteLockingPath = "PHYS/WRITE_LOCKING";
    static constexpr int16_t kLock = 0;
    static constexpr int16_t kUnlock = 2457;
    static constexpr int32_t kCodeLength = 9;

    ctlProtect();
    platform::P<platform::ctl::ctlParamHelp> GetParamHelpCtl() override { return ctlParamHelp1; }

    void OnProcessProgress(const std::string&, int16_t, const platform::Variant&) override {}
    // The end of the code's write takes the code out of the element.
    void OnProcessFinished(const std::string& invokeId, const platform::Variant& extraData) override;

    const platform::P<platform::rt::TransGrp>& TransferGroup() const { return m_TransGrp; }

    platform::P<platform::ui::Frame> frmServiceAccess;
    platform::P<platform::ui::CommandButton> cmdWriteLockActivate, cmdWriteLockDeactivate, cmdRead, cmdServiceCode;

protected:
    void BuildForm() override;
    void InitControls() override;
    bool ExitControls() override;

private:
    void cmdRead_Click();
    void cmdServiceCode_Click();
    void cmdWriteLockActivate_Click();
    void cmdWriteLockDeactivate_Click();
    void SetWriteLocking(int16_t value, const std::string& caption);
    void WriteLock(const std::string& caption, const platform::Variant& previous);
    // The element back to its initial nine blanks, a stored value too; the
    // open pages redraw it.
    void ForgetServiceCode();

    platform::P<platform::rt::TransGrp> m_TransGrp;
    ConfirmedGroupWriter writer_;
    bool codeSent_ = false;  // a write of the code runs on the group
};

}  // namespace dtm

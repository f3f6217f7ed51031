#pragma once
// The zero point calibration page (tab 1 of the online window): starts the
// zero point adjustment of transducer block 1 by writing 1 to its
// ZERO_POINT_ADJUST and follows it by polling every 4000 ms while chkCycle is
// ticked. The state it shows in "~/ZERO_POINT_ADJUST":
//   0 nothing running, 1 started (the device has not read 1 yet),
//   2 running (the device reads 1), 3 finished (it read 0 after 1),
//   4 failed (the write or a read failed, a poll could not start, or no 1
//   within four polls).
// A read button reads the state once; cancel stops the polling (the device's
// adjustment goes on).
#include <cstdint>
#include <string>

#include "pages/framework/ConfirmedGroupWrite.h"
#include "pages/framework/NavigablePage.h"
#include "platform/rt/IPrivateProcess.h"
#include "platform/rt/TransGrp.h"
#include "platform/ui/CaptionControls.h"
#include "platform/ui/Timer.h"

namespace dtm {

class clsDataElement;

class ctlCalib : public NavigablePage, public platform::ctl::IParamHelpHost, public platform::rt::IPrivateProcess {
public:
    static constexpr const char* kZeroPointPath = "TRANS/1/FlowCori/ZERO_POINT_ADJUST";
    static constexpr const char* kConverterStatusPath = "TRANS/1/FlowCori/MANU/_converter_status";
    static constexpr const char* kStatePath = "~/ZERO_POINT_ADJUST";
    static constexpr int32_t kPollInterval = 4000;
    static constexpr uint8_t kPollsWithoutStart = 4;

    ctlCalib();
    platform::P<platform::ctl::ctlParamHelp> GetParamHelpCtl() override { return ctlParamHelp1; }

    void OnProcessProgress(const std::string&, int16_t, const platform::Variant&) override {}
    // The start write's and the polls' results (the group's id) and the read
    // button's (its own id).
    void OnProcessFinished(const std::string& invokeId, const platform::Variant& extraData) override;

    int32_t ZeroState() const { return m_ZeroState; }
    const platform::P<platform::rt::TransGrp>& TransferGroup() const { return m_TransGrp; }

    platform::P<platform::ui::Timer> tmrCycle;
    platform::P<platform::ui::Frame> frmTrim;
    platform::P<platform::ui::CommandButton> cmdCancel;
    platform::P<platform::ui::CheckBox> chkCycle;
    platform::P<platform::ui::CommandButton> cmdZeroAdjust;
    platform::P<platform::ui::CommandButton> cmdRead;

protected:
    void BuildForm() override;
    void InitControls() override;
    // Stops the polling before the group goes.
    bool ExitControls() override;
    // cmdRead follows the lock; cmdZeroAdjust too, and stays disabled for
    // user level 0. Both are enabled until the first lock notice.
    void SetLockState(bool editable) override;

private:
    void cmdRead_Click();
    void cmdZeroAdjust_Click();
    void chkCycle_Click();
    void tmrCycle_Timer();
    void cmdCancel_Click();
    void ReadZeroPointStatus();
    void PollConverterStatus();
    // `readButton`: the result of the read button's upload (the state is
    // then judged also with the polling off); a group read that arrives
    // after the polling stopped changes nothing.
    void UpdateZeroPointAdjust(const clsDataElement& pda, bool bWrite, bool bFailed, bool readButton);
    void SetCycleActive(bool active);

    platform::P<platform::rt::TransGrp> m_TransGrp;
    ConfirmedGroupWriter writer_;
    std::string m_ReadInvokeId;
    int32_t m_ZeroState = 0;
    uint8_t m_ZeroRetries = 0;
    bool cycleActive_ = false;  // this page's polling counted in the GUI registry
};

}  // namespace dtm

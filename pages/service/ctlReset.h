#pragma once
// The reset page (tab 2 of the online window): the resets of the Physical
// Block (factory reset, warm start, bus address reset) on one tab, those of
// the signal converter (instrument reset, totaliser reset, acknowledgement of
// errors) on the other, each tab with the status its resets change and a
// button that reads it again.
//
// The reset buttons are enabled until the frame's first lock notice, then
// follow the lock for user level 2 and above and are disabled below it; a
// click is checked against the element's required user level in any case.
// After a bus address reset that the device took, "~/Address" is 126, also
// when the page closed after the reset went out. A reset declined, not
// carried out by the device (which the page says) or cut short by the page's
// closing before it went out leaves its element as it was before the click.
#include <cstdint>
#include <string>

#include "pages/framework/NavigablePage.h"
#include "pages/service/ExecuteDeviceReset.h"
#include "platform/rt/IPrivateProcess.h"
#include "platform/rt/TransGrp.h"
#include "platform/ui/CaptionControls.h"
#include "platform/ui/TabStrip.h"

namespace dtm {

class ctlReset : public NavigablePage, public platform::ctl::IParamHelpHost, public platform::rt::IPrivateProcess {
public:
    static constexpr const char* kResetsPath = "TRANS/1/FlowCori/MANU/_resets";
    static constexpr const char* kConverterStatusPath = "TRANS/1/FlowCori/MANU/_converter_status";
    static constexpr const char* kAddressPath = "~/Address";
    static constexpr int16_t kFactoryReset = 1, kWarmStart = 2506, kAddressReset = kBusAddressResetCommand;
    static constexpr int16_t kInstrReset = 0, kTotReset = 1, kQuitErr = 2;

    ctlReset();
    platform::P<platform::ctl::ctlParamHelp> GetParamHelpCtl() override { return ctlParamHelp1; }

    void OnProcessProgress(const std::string&, int16_t, const platform::Variant&) override {}
    void OnProcessFinished(const std::string& invokeId, const platform::Variant& extraData) override;

    const platform::P<platform::rt::TransGrp>& TransferGroup() const { return m_TransGrp; }

    platform::P<platform::ui::TabStrip> TabStrip;
    platform::P<platform::ui::Frame> frmCMReset, frmRXDReset;
    platform::P<platform::ui::CommandButton> cmdFactoryReset, cmdWarmStart, cmdAddrReset;
    platform::P<platform::ui::CommandButton> cmdQuitErr, cmdTotReset, cmdInstrReset;

protected:
    void BuildForm() override;
    void InitControls() override;
    bool ExitControls() override;
    void SetLockState(bool editable) override;

private:
    void TabStrip_Click();
    void cmdRead_Click(int16_t index);
    void ReadCM();
    void ReadRXD();
    // A Physical Block reset through the device reset request.
    void DeviceReset(const char* member, int16_t command);
    // A converter reset through TransferRXD.
    void ConverterReset(const char* member, int16_t command);
    void TransferRXD(const platform::Variant& previous);

    platform::P<platform::rt::TransGrp> m_TransGrp;
    ConfirmedGroupWriter writer_;
};

}  // namespace dtm

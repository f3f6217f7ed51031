#pragma once
// The diagnosis window (function 5): an overview of the device, the detailed
// diagnosis with the acknowledgement of a device error, a table of every
// block, and one tab per block showing ctlDiagBlock bound to that block. The
// block tabs follow the ident number selector. While the status bar's cycle
// runs it reads the diagnosis and the elements of the selected tab, and the
// derived diagnosis parts and the operating time are marked as live values.
#include <memory>
#include <string>

#include "pages/framework/BlockTabPage.h"
#include "pages/framework/ConfirmedGroupWrite.h"
#include "pages/framework/CycleMarks.h"
#include "pages/framework/ctlStatus.h"
#include "pages/measurement/ctlDiagBlock.h"
#include "platform/rt/IPrivateProcess.h"
#include "platform/rt/TransGrp.h"

namespace dtm {

// The acknowledgement of a device error sets the converter's reset command
// for as long as its write is on the way: a declined or refused write, one
// the device did not take (shown by a message) or one cut short by the
// window's closing gives "_resets" its previous value back, so the data set
// holds no command that was never carried out. Its read-back reaches the rows
// by notices.
class ctlDiagnosis : public BlockTabPage, public platform::ctl::IParamHelpHost, public platform::rt::IPrivateProcess {
public:
    static constexpr const char* kResetsPath = "TRANS/1/FlowCori/MANU/_resets";
    static constexpr const char* kConverterStatusPath = "TRANS/1/FlowCori/MANU/_converter_status";
    static constexpr int16_t kAcknowledgeError = 2;

    ctlDiagnosis();
    platform::P<platform::ctl::ctlParamHelp> GetParamHelpCtl() override { return ctlParamHelp1; }

    const platform::P<platform::rt::TransGrp>& TransferGroup() const { return m_TransGrp; }

    void OnProcessProgress(const std::string&, int16_t, const platform::Variant&) override {}
    void OnProcessFinished(const std::string& invokeId, const platform::Variant& extraData) override;

    platform::P<dtm::ctlStatus> ctlStatus;
    platform::P<platform::ui::Frame> frmDiagOverview, frmDiagDetails, frmDiagBlockInfo;
    platform::P<platform::ui::CommandButton> cmdQuitErr;
    platform::P<dtm::ctlDiagBlock> ctlDiagBlock;

protected:
    void BuildForm() override;
    // The block tab page's steps, then the transfer group.
    void InitControls() override;
    // Its own order: the tab captions traced, the block table's labels between them and the help button.
    void InitLanguageDependedControls(int32_t languageId) override;
    // Its own order: the children released first, then the transfer group, then the tab strip.
    bool ExitControls() override;
    // The block tab page's steps, then the manufacturer's labels (selector) or the block page's caption (CHANNEL).
    void UpdateParameterCtl(const platform::P<platform::rt::IPrivateDataElement>& element) override;
    void UpdateAllParameterCtls() override;

private:
    // A tab key resolved: the control it shows, the block kind and number.
    struct TabTarget {
        std::string control;
        int32_t kind = -1;
        int16_t n = 0;
    };
    TabTarget ResolveTab(const std::string& key) const;

    void TabStrip_Click() override;
    void SetControlVisible(const std::string& name, bool visible);
    void ShowBlockControl(const TabTarget& target);
    void BlockInfo_SetLanguage();
    void ResetRowControlType(const std::string& frame);
    void ctlStatus_OnAddCycleRequests(platform::rt::TransGrp& group);
    void ctlStatus_OnAddDiagnoseRequests(platform::rt::TransGrp& group);
    void ctlStatus_OnRemoveRequests(platform::rt::TransGrp& group);
    void cmdQuitErr_Click();
    void TransferRXD(const platform::Variant& previous);
    void HelpButton_Click() override;

    platform::P<platform::rt::TransGrp> m_TransGrp;
    ConfirmedGroupWriter writer_;
    CycleMarks marks_;  // the derived diagnosis, live while the cycle runs
};

}  // namespace dtm

#include "pages/service/ctlCalib.h"

#include "core/services/APIHelpers.h"
#include "model/elements/LanguageHelpers.h"
#include "model/elements/clsDataElement.h"
#include "pages/framework/ConfirmedGroupWrite.h"
#include "pages/framework/MarkedUpload.h"
#include "pages/parameterisation/FormTable.h"
#include "platform/com/Error.h"
#include "platform/com/Variant.h"
#include "platform/ctl/ctlParameter.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmCommService.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/Parameters.h"
#include "platform/rt/TransactionResult.h"

namespace dtm {

namespace ui = platform::ui;
namespace com = platform::com;
namespace rt = platform::rt;
using platform::Variant;

namespace {

constexpr int32_t kOkOnly = 0;

constexpr FormLine kHelpAndFrame[] = {HelpPane(), Frame("frmTrim")};
constexpr FormLine kDiagnosisRow[] = {Row("frmTrim", 2, "PHYS/MANU/DIAGNOSIS_EXTENSION/Diagnosis_Extension_Rxd", 0, 0)};
constexpr FormLine kStateRowAndSite[] = {Row("frmTrim", 0, ctlCalib::kStatePath, 0, 0, false, true), Site()};

constexpr const char* kReadPaths[] = {ctlCalib::kConverterStatusPath, ctlCalib::kZeroPointPath};

clsDataElement& ElementOf(const platform::P<rt::DTMContext>& ctx, const std::string& path) {
    return com::Deref(std::dynamic_pointer_cast<clsDataElement>(com::Deref(com::Deref(ctx).Parameters()).Item(path)));
}

}  // namespace

ctlCalib::ctlCalib() : NavigablePage(PageTraits{.className = "ctlCalib", .container = true}) {}

void ctlCalib::BuildForm() {
    tmrCycle = Place<ui::Timer>("tmrCycle");
    tmrCycle->Interval(kPollInterval);
    tmrCycle->Enabled(false);
    tmrCycle->TimerEvent.Connect([this] { tmrCycle_Timer(); });
    PlaceForm(*this, kHelpAndFrame);
    frmTrim = std::dynamic_pointer_cast<ui::Frame>(Controls().Item("frmTrim"));
    PlaceForm(*this, kDiagnosisRow);
    cmdCancel = Place<ui::CommandButton>("cmdCancel", std::nullopt, frmTrim.get());
    cmdCancel->Click.Connect([this] { cmdCancel_Click(); });
    chkCycle = Place<ui::CheckBox>("chkCycle", std::nullopt, frmTrim.get());
    chkCycle->Click.Connect([this] { chkCycle_Click(); });
    cmdZeroAdjust = Place<ui::CommandButton>("cmdZeroAdjust", std::nullopt, frmTrim.get());
    cmdZeroAdjust->Click.Connect([this] { cmdZeroAdjust_Click(); });
    cmdRead = Place<ui::CommandButton>("cmdRead", std::nullopt, frmTrim.get());
    cmdRead->Click.Connect([this] { cmdRead_Click(); });
    PlaceForm(*this, kStateRowAndSite);
    std::dynamic_pointer_cast<platform::ctl::ctlParameter>(Controls().Item("ctlParameter", 0))->ValueFormat("0.0##");
}

void ctlCalib::InitControls() {
    NavigablePage::InitControls();
    m_TransGrp = std::make_shared<rt::TransGrp>();
    m_TransGrp->InitGroup(GetContext());
}

bool ctlCalib::ExitControls() {
    NavigablePage::ExitControls();
    // A poll of a released group would fail and report an error on a closed page.
    chkCycle->Value(0);
    tmrCycle->Enabled(false);
    writer_.PageClosed(*this);
    if (m_TransGrp) m_TransGrp->ReleaseGroup();
    return true;
}

void ctlCalib::SetLockState(bool editable) {
    NavigablePage::SetLockState(editable);
    cmdRead->Enabled(editable);
    cmdZeroAdjust->Enabled(editable && com::Deref(GetContext()).UserLevel() != 0);
}

void ctlCalib::cmdRead_Click() {
    Trace("cmdRead_Click", "");
    m_ReadInvokeId = MarkedUpload(*this, kReadPaths, "cmdRead_Click").invokeId;
}

void ctlCalib::cmdZeroAdjust_Click() {
    Trace("cmdZeroAdjust_Click", "");
    auto& adjust = ElementOf(GetContext(), kZeroPointPath);
    const Variant previous = adjust.TransientValue;
    adjust.TransientValue = Variant::Int(1);
    GroupWriteRequest request;
    request.promptKey = "acknowledge_zero";
    request.arg1 = cmdZeroAdjust->Caption();
    request.write = com::Deref(GetContext()->Parameters()).Item(kZeroPointPath);
    request.previous = previous;
    request.traceMember = "cmdZeroAdjust_Click";
    request.traceOpened = "AddDataExchangeRequest executed";
    request.traceRefused = "ExecuteDataExchangeRequests failed";
    // A start while polling would join the poll group: the polling ends first,
    // only when the new start goes ahead, so that a No keeps following the
    // adjustment that runs.
    request.beforeWrite = [this] { chkCycle->Value(0); };
    writer_.Write(*this, com::Deref(m_TransGrp), request);
}

void ctlCalib::OnProcessFinished(const std::string& invokeId, const Variant& extraData) {
    Trace("IPrivateProcess_OnProcessFinished", "");
    const auto ctx = GetContext();
    if (m_TransGrp && m_TransGrp->OwnsInvokeId(invokeId)) {
        writer_.Finished(*this, *m_TransGrp, invokeId);
        for (const auto& result : com::Deref(com::Deref(ctx).CommService()).GetTransactionResults(invokeId)) {
            const auto element = std::dynamic_pointer_cast<clsDataElement>(result.DataElement);
            if (!element) continue;
            UpdateZeroPointAdjust(*element, result.IsWrite, result.Failed, false);
            Trace("IPrivateProcess_OnProcessFinished", "UpdateZeroPointAdjust was called");
            if (!result.IsWrite) continue;
            m_TransGrp->CloseConnection();
            if (!result.Failed) chkCycle->Value(1);
        }
    } else if (IsSameInvokeId(invokeId, m_ReadInvokeId)) {
        Trace("IPrivateProcess_OnProcessFinished", "Read-Button");
        const bool failed = !(extraData.Type() == com::VarType::Boolean && com::CBool(extraData));
        UpdateZeroPointAdjust(ElementOf(ctx, kZeroPointPath), false, failed, true);
    }
}

void ctlCalib::chkCycle_Click() {
    Trace("chkCycle_Click", "");
    if (chkCycle->Value() != 1) {
        m_TransGrp->CloseConnection();
        SetCycleActive(false);
        return;
    }
    if (m_TransGrp->IsBusy()) {
        chkCycle->Value(0);
        return;
    }
    if (m_TransGrp->OpenConnection() == 0) ReadZeroPointStatus();
    tmrCycle->Enabled(false);
    PollConverterStatus();
    SetCycleActive(true);
}

void ctlCalib::ReadZeroPointStatus() {
    auto& params = com::Deref(com::Deref(GetContext()).Parameters());
    for (const char* path : kReadPaths) m_TransGrp->AddRequest(params.Item(path), false);
}

void ctlCalib::tmrCycle_Timer() {
    tmrCycle->Enabled(false);
    PollConverterStatus();
}

void ctlCalib::PollConverterStatus() {
    if (chkCycle->Value() != 1 || tmrCycle->Enabled()) return;
    const auto self = std::dynamic_pointer_cast<rt::IPrivateProcess>(Keep());
    if (m_TransGrp->Execute(self, false, false) == 0) {
        tmrCycle->Enabled(true);
        return;
    }
    // A poll that cannot start (the last one's answer lost, or the device out
    // of reach) ends the following as a failed read does: an adjustment shown
    // as started or running then shows failed. A state the page did not reach
    // itself (0 at its opening, the element showing what a page before it
    // left there) stays shown.
    if (m_ZeroState != 0) UpdateZeroPointAdjust(ElementOf(GetContext(), kZeroPointPath), false, true, false);
    chkCycle->Value(0);
    const auto ctx = GetContext();
    ctx->MsgBox(GetLangText(ctx, "error_at_read_status"), kOkOnly);
}

void ctlCalib::cmdCancel_Click() {
    chkCycle->Value(0);
    Trace("cmdCancel_Click", "");
}

void ctlCalib::UpdateZeroPointAdjust(const clsDataElement& pda, bool bWrite, bool bFailed, bool readButton) {
    Trace("UpdateZeroPointAdjust", "");
    if (pda.Name != kZeroPointPath) return;
    const bool polling = chkCycle->Value() == 1;
    if (bWrite) {
        m_ZeroRetries = 0;
        m_ZeroState = bFailed ? 4 : 1;
    } else if (polling) {
        const double value = bFailed ? 0 : com::CDbl(pda.TransientValue);
        switch (m_ZeroState) {
            case 1:
                if (bFailed) {
                    m_ZeroState = 4;
                } else if (value == 1) {
                    m_ZeroState = 2;
                } else if (++m_ZeroRetries >= kPollsWithoutStart) {
                    m_ZeroState = 4;
                    m_ZeroRetries = 0;
                }
                break;
            case 2:
                if (bFailed) m_ZeroState = 4;
                else if (value == 0) m_ZeroState = 3;
                break;
            case 3:
                m_ZeroState = 0;
                break;
            default:
                break;
        }
    } else if (readButton) {
        m_ZeroState = bFailed ? 4 : (com::CDbl(pda.TransientValue) == 0 ? 0 : 2);
    } else {
        return;  // a poll's result after the polling stopped
    }
    if (m_ZeroState == 0 || m_ZeroState == 4) chkCycle->Value(0);
    const auto ctx = GetContext();
    const auto state = com::Deref(com::Deref(ctx).Parameters()).Item(kStatePath);
    auto& stateElement = ElementOf(ctx, kStatePath);
    stateElement.TransientValue = Variant::Lng(m_ZeroState);
    stateElement.DeviceValue = Variant::Lng(m_ZeroState);
    // The page's display, which the data set does not keep: its row is
    // redrawn, the modified mark stays as it is.
    com::Deref(ctx->GuiRegistry()).NotifyParameterChanged(state, "");
}

void ctlCalib::SetCycleActive(bool active) {
    // The registry counts the cycles of every page: only this page's own goes off.
    if (active == cycleActive_) return;
    cycleActive_ = active;
    if (const auto ctx = GetContext()) com::Deref(ctx->GuiRegistry()).SetCycleActive(active);
}

}  // namespace dtm

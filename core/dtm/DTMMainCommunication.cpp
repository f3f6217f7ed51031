// DTMMain: the frame's communication channel, from IDtm_SetCommunication to
// its release, the end of the instance, and the frame's answers on the way.
#include "core/dtm/DTMMain.h"
#include "core/services/APIHelpers.h"
#include "platform/com/Error.h"
#include "platform/fdt/Boundary.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmCommService.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/Parameters.h"

namespace dtm {

using platform::P;
using platform::Variant;
using platform::com::Deref;
using platform::fdt::InvokeFromFrame;

namespace {
constexpr int32_t kDataSetReleased = 4;
}  // namespace

bool DTMMain::IDtm_SetCommunication(const P<platform::com::Object>& communication) {
    return InvokeFromFrame("DTMMain-IDtm_SetCommunication", [&] { return SetCommunication(communication); }, false);
}
bool DTMMain::IDtm_PrepareToRelease() {
    return InvokeFromFrame("DTMMain-IDtm_PrepareToRelease", [&] { return PrepareToRelease(); }, false);
}
bool DTMMain::IDtm_PrepareToReleaseCommunication() {
    return InvokeFromFrame("DTMMain-IDtm_PrepareToReleaseCommunication",
                           [&] { return PrepareToReleaseCommunication(); }, false);
}
bool DTMMain::IDtm_ReleaseCommunication() {
    return InvokeFromFrame("DTMMain-IDtm_ReleaseCommunication", [&] { return ReleaseCommunication(); }, false);
}
bool DTMMain::IDtm_PrepareToDelete() {
    return InvokeFromFrame("DTMMain-IDtm_PrepareToDelete", [&] { return PrepareToDelete(); }, false);
}

bool DTMMain::SetCommunication(const P<platform::com::Object>& communication) {
    auto& service = Deref(Deref(m_DTMContext).CommService());
    const bool active = service.IsActive();
    // Only the frame's communication channel can be attached.
    if (!std::dynamic_pointer_cast<platform::fdt::IFdtCommunication>(communication) || active) {
        Trace("-IDtm_SetCommunication", kRetFalse);
        return false;
    }
    service.SetCommunication(communication);
    m_PendingDisconnectId.clear();
    Trace("-IDtm_SetCommunication", kRetTrue);
    m_Attached = service.Attach();
    NotifyDataStatus();
    return true;
}

bool DTMMain::PrepareToRelease() {
    auto& ctx = Deref(m_DTMContext);
    auto& registry = Deref(ctx.GuiRegistry());
    if (registry.AnyGuiOpen() && !registry.CloseAllGuis()) {
        ctx.ReportError("Error closing user interaces.");
        Trace("-IDtm_PrepareToRelease", "cannot close user interfaces");
        return false;
    }
    auto& service = Deref(ctx.CommService());
    // A disconnect the frame asked for and still awaits: the release below
    // forgets it, so its end is told here, once the communication is released.
    const bool disconnectAwaited = !m_PendingDisconnectId.empty();
    if (service.IsActive() && !service.Terminate()) {
        ctx.ReportError("Error terminating communication.");
        Trace("-IDtm_PrepareToRelease", "Error terminating communication");
        return false;
    }
    if (!IDtm_ReleaseCommunication()) {
        Trace("-IDtm_PrepareToRelease", "cannot release communication");
        return false;
    }
    if (disconnectAwaited)
        if (auto events = ctx.DTMEvents()) events->OnPreparedToReleaseCommunication(ctx.SystemTag());
    auto& parameters = Deref(ctx.Parameters());
    if (parameters.QueryDataSetState() == 1)
        if (auto container = ctx.Container()) container->SaveRequest(ctx.SystemTag());
    parameters.DataSetState(kDataSetReleased);
    if (auto events = ctx.DTMEvents()) events->OnPreparedToRelease(ctx.SystemTag());
    Trace("-IDtm_PrepareToRelease", kRetTrue);
    return true;
}

bool DTMMain::PrepareToReleaseCommunication() {
    auto& ctx = Deref(m_DTMContext);
    auto& service = Deref(ctx.CommService());
    if (service.IsActive()) {
        Trace("-IDtm_PrepareToReleaseCommunication", "Communication is active");
        m_PendingDisconnectId = GetNewGuidString(Variant::Bool(false));
        const auto self = std::static_pointer_cast<platform::rt::IPrivateProcess>(shared_from_this());
        // An empty id could never be matched by the end of the disconnect.
        if (m_PendingDisconnectId.empty() || !service.StartDisconnect(m_PendingDisconnectId, self)) {
            m_PendingDisconnectId.clear();
            ctx.ReportError("Cannot shut down communication.");
            Trace("-IDtm_PrepareToReleaseCommunication", kRetFalse);
            return false;
        }
        Trace("-IDtm_PrepareToReleaseCommunication", kRetTrue);
        return true;
    }
    Trace("-IDtm_PrepareToReleaseCommunication", "Communication is not active");
    m_PendingDisconnectId.clear();
    service.SetCommunication(nullptr);
    if (auto events = ctx.DTMEvents()) {
        events->OnPreparedToReleaseCommunication(ctx.SystemTag());
        Trace("-IDtm_PrepareToReleaseCommunication", "OnPreparedToReleaseCommunication sended");
    }
    return true;
}

bool DTMMain::ReleaseCommunication() {
    auto& service = Deref(Deref(m_DTMContext).CommService());
    if (service.IsActive()) {
        Trace("-IDtm_ReleaseCommunication", "CommunicationIsActive, RetValue = FALSE");
        return false;
    }
    if (m_Attached) {
        m_Attached = false;
        service.Detach();
    }
    service.SetCommunication(nullptr);
    m_PendingDisconnectId.clear();
    Trace("-IDtm_ReleaseCommunication", kRetTrue);
    try {
        NotifyDataStatus();
    } catch (...) {
    }
    return true;
}

bool DTMMain::PrepareToDelete() {
    auto& ctx = Deref(m_DTMContext);
    const bool active = Deref(ctx.CommService()).IsActive();
    const bool anyGui = Deref(ctx.GuiRegistry()).AnyGuiOpen();
    if (!active && !anyGui) {
        Deref(ctx.Parameters()).DataSetState(kDataSetReleased);
        Trace("-IDtm_PrepareToDelete", kRetTrue);
        return true;
    }
    Trace("-IDtm_PrepareToDelete", kRetFalse);
    return false;
}

// ---- The end of a disconnect ----

void DTMMain::OnProcessProgress(const std::string&, int16_t, const Variant&) {}

void DTMMain::OnProcessFinished(const std::string& InvokeId, const Variant&) {
    if (!IsSameInvokeId(InvokeId, m_PendingDisconnectId)) return;
    FinishDisconnect(InvokeId);
}

void DTMMain::FinishDisconnect(const std::string&) {
    auto& ctx = Deref(m_DTMContext);
    auto& service = Deref(ctx.CommService());
    m_PendingDisconnectId.clear();
    if (service.IsActive()) {
        ctx.ReportError("Error shutting down communication");
        if (!service.Terminate()) ctx.ReportError("Error terminating communication.");
    }
    service.SetCommunication(nullptr);
    NotifyDataStatus();
    if (auto events = ctx.DTMEvents()) events->OnPreparedToReleaseCommunication(ctx.SystemTag());
}

// ---- The frame's communication answers ----

void DTMMain::ShowOnTransactionMonitor(const std::string& Response) noexcept {
    try {
        auto& ctx = Deref(m_DTMContext);
        const auto element = Deref(ctx.Parameters()).Find("InvokeId_ctl_TR_Monitor");
        if (!element) return;
        const std::string monitorId = platform::com::CStr(element->TransientValue());
        if (monitorId.empty()) return;
        auto monitor = std::dynamic_pointer_cast<ITransactionMonitor>(Deref(ctx.GuiRegistry()).FindGui(monitorId));
        if (monitor) monitor->DisplayTransactionResponse(Response);
    } catch (...) {
    }
}

void DTMMain::OnAbort(const std::string& CommunicationReference) {
    InvokeFromFrame("DTMMain-IFdtCommunicationEvents_OnAbort", [&] {
        Deref(Deref(m_DTMContext).CommService()).OnAbort(CommunicationReference);
        Trace("-IFdtCommunicationEvents_OnAbort", "");
    });
}

void DTMMain::OnConnectResponse(const std::string& InvokeId, const std::string& Response) {
    InvokeFromFrame("DTMMain-IFdtCommunicationEvents_OnConnectResponse", [&] {
        ShowOnTransactionMonitor(Response);
        Deref(Deref(m_DTMContext).CommService()).OnConnectResponse(InvokeId, Response);
        Trace("-IFdtCommunicationEvents_OnConnectResponse", "");
    });
}

void DTMMain::OnDisconnectResponse(const std::string& InvokeId, const std::string& Response) {
    InvokeFromFrame("DTMMain-IFdtCommunicationEvents_OnDisconnectResponse", [&] {
        ShowOnTransactionMonitor(Response);
        Deref(Deref(m_DTMContext).CommService()).OnDisconnectResponse(InvokeId, Response);
        Trace("-IFdtCommunicationEvents_OnDisconnectResponse", "");
    });
}

void DTMMain::OnTransactionResponse(const std::string& InvokeId, const std::string& Response) {
    InvokeFromFrame("DTMMain-IFdtCommunicationEvents_OnTransactionResponse", [&] {
        ShowOnTransactionMonitor(Response);
        Deref(Deref(m_DTMContext).CommService()).OnTransactionResponse(InvokeId, Response);
        Trace("-IFdtCommunicationEvents_OnTransactionResponse", "");
    });
}

}  // namespace dtm

#include "pages/service/ctlProtect.h"

#include "model/elements/clsDataElement.h"
#include "pages/framework/ConfirmedGroupWrite.h"
#include "pages/framework/MarkedUpload.h"
#include "pages/parameterisation/FormTable.h"
#include "platform/com/Error.h"
#include "platform/com/VbText.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/Parameters.h"

namespace dtm {

namespace ui = platform::ui;
namespace com = platform::com;
namespace rt = platform::rt;
using platform::Variant;

namespace {

constexpr int32_t kExclamationOk = 48;

constexpr FormLine kForm[] = {
    HelpPane(),
    Site(),
    Frame("frmServiceAccess"),
    Row("frmServiceAccess", 0, ctlProtect::kServicePasswordPath, -55, 0),
    Row("frmServiceAccess", 1, ctlProtect::kAccessRightsPath, -55, 0),
};

constexpr const char* kReadPaths[] = {ctlProtect::kServicePasswordPath, ctlProtect::kAccessRightsPath,
                                      ctlProtect::kWriteLockingPath, "PHYS/DIAGNOSIS"};

}  // namespace

ctlProtect::ctlProtect() : NavigablePage(PageTraits{.className = "ctlProtect", .container = true}) {}

void ctlProtect::BuildForm() {
    PlaceForm(*this, kForm);
    frmServiceAccess = std::dynamic_pointer_cast<ui::Frame>(Controls().Item("frmServiceAccess"));
    const auto button = [this](const char* name, void (ctlProtect::*handler)()) {
        auto b = Place<ui::CommandButton>(name, std::nullopt, frmServiceAccess.get());
        b->Click.Connect([this, handler] { (this->*handler)(); });
        return b;
    };
    cmdWriteLockActivate = button("cmdWriteLockActivate", &ctlProtect::cmdWriteLockActivate_Click);
    cmdWriteLockDeactivate = button("cmdWriteLockDeactivate", &ctlProtect::cmdWriteLockDeactivate_Click);
    cmdRead = button("cmdRead", &ctlProtect::cmdRead_Click);
    cmdServiceCode = button("cmdServiceCode", &ctlProtect::cmdServiceCode_Click);
}

void ctlProtect::InitControls() {
    NavigablePage::InitControls();
    m_TransGrp = std::make_shared<rt::TransGrp>();
    m_TransGrp->InitGroup(GetContext());
}

bool ctlProtect::ExitControls() {
    NavigablePage::ExitControls();
    writer_.PageClosed(*this);
    if (m_TransGrp) m_TransGrp->ReleaseGroup();
    // A code typed and not sent, or one whose write is dropped with the
    // group and so never ends, goes with the page.
    ForgetServiceCode();
    return true;
}

void ctlProtect::OnProcessFinished(const std::string& invokeId, const Variant&) {
    if (m_TransGrp) writer_.Finished(*this, *m_TransGrp, invokeId);
    if (!codeSent_ || !m_TransGrp || !m_TransGrp->OwnsInvokeId(invokeId)) return;
    ForgetServiceCode();
}

void ctlProtect::cmdRead_Click() {
    Trace("cmdRead_Click", "");
    MarkedUpload(*this, kReadPaths, "cmdRead_Click");
}

void ctlProtect::cmdServiceCode_Click() {
    Trace("cmdServiceCode_Click", "");
    const auto ctx = GetContext();
    const auto& params = com::Deref(com::Deref(ctx).Parameters());
    const auto code = params.Item(kServicePasswordPath);
    auto& element = com::Deref(std::dynamic_pointer_cast<clsDataElement>(code));
    const std::string label = element.Label;
    if (com::vb::Len(com::CStr(element.TransientValue)) != kCodeLength) {
        const std::string text = com::vb::Replace(KeyText("invalde_code"), "%1", label);
        Trace("cmdServiceCode_Click", "Invalde Code");
        if (!codeSent_) ForgetServiceCode();
        ctx->MsgBox(text, kExclamationOk);
        return;
    }
    GroupWriteRequest request;
    request.promptKey = "acknowledge_write_actual_param";
    request.arg1 = label;
    request.write = code;
    request.previous = element.TransientValue;
    request.reads = {params.Item(kAccessRightsPath)};
    request.traceMember = "cmdServiceCode_Click";
    request.traceRefused = "Error at write status";
    // While the code's own write runs, the element holds what it sends: a
    // further click leaves it to the write's end.
    if (writer_.Write(*this, com::Deref(m_TransGrp), request) == GroupWriteResult::Started) codeSent_ = true;
    else if (!codeSent_) ForgetServiceCode();
}

void ctlProtect::cmdWriteLockActivate_Click() {
    Trace("cmdWriteLockActivate_Click", "");
    SetWriteLocking(kLock, cmdWriteLockActivate->Caption());
}

void ctlProtect::cmdWriteLockDeactivate_Click() {
    Trace("cmdWriteLockDeactivate_Click", "");
    SetWriteLocking(kUnlock, cmdWriteLockDeactivate->Caption());
}

void ctlProtect::SetWriteLocking(int16_t value, const std::string& caption) {
    auto& element = com::Deref(std::dynamic_pointer_cast<clsDataElement>(
        com::Deref(com::Deref(GetContext()).Parameters()).Item(kWriteLockingPath)));
    const Variant previous = element.TransientValue;
    element.TransientValue = Variant::Int(value);
    WriteLock(caption, previous);
}

void ctlProtect::WriteLock(const std::string& caption, const Variant& previous) {
    const auto& params = com::Deref(com::Deref(GetContext()).Parameters());
    GroupWriteRequest request;
    request.promptKey = "acknowledge_action";
    request.arg1 = caption;
    request.write = params.Item(kWriteLockingPath);
    request.previous = previous;
    request.reads = {params.Item("PHYS/DIAGNOSIS")};
    request.traceMember = "WriteLock";
    request.traceAtEntry = "Begin of function";
    request.traceOpened = "OpenConnection succeeded";
    request.traceRefused = "Error at write status";
    writer_.Write(*this, com::Deref(m_TransGrp), request);
}

void ctlProtect::ForgetServiceCode() {
    codeSent_ = false;
    const auto ctx = GetContext();
    if (!ctx) return;
    auto& params = com::Deref(ctx->Parameters());
    const auto code = params.Item(kServicePasswordPath);
    auto& element = com::Deref(std::dynamic_pointer_cast<clsDataElement>(code));
    const auto holdsCode = [&](const Variant& value) {
        return !value.IsEmpty() && !com::Identical(value, element.InitialValue);
    };
    // Nothing to forget, nothing changes: the data set is not touched.
    if (com::Identical(element.TransientValue, element.InitialValue) && !holdsCode(element.PersistentValue) &&
        !holdsCode(element.DeviceValue))
        return;
    element.TransientValue = element.InitialValue;
    // The data set holds no code: a stored value is the initial value.
    if (holdsCode(element.PersistentValue)) element.PersistentValue = element.InitialValue;
    if (holdsCode(element.DeviceValue)) element.DeviceValue = element.InitialValue;
    // The data set never keeps the code, so forgetting it changes nothing there.
    params.NotifyRestored(code, "");
}

}  // namespace dtm

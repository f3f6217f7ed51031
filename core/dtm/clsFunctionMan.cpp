#include "core/dtm/clsFunctionMan.h"

#include <array>
#include <utility>

#include "platform/com/Error.h"
#include "platform/fdt/FrameInterfaces.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmFunctionCall.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/FunctionList.h"
#include "platform/rt/Parameters.h"

namespace dtm {

using platform::Variant;
using platform::com::Deref;

namespace {

struct FunctionPage {
    int32_t functionId;
    const char* progId;
};

constexpr std::array<FunctionPage, 14> kFunctionPages{{
    {1, "RG38N226_4_07.ctlOffline"},
    {2, "RG38N226_4_07.ctlSimulation"},
    {4, "RG38N226_4_07.ctlAlarm"},
    {5, "RG38N226_4_07.ctlDiagnosis"},
    {7, "RG38N226_4_07.ctlMeasure"},
    {8, "RG38N226_4_07.ctlProfilViewDyn"},
    {9, "RG38N226_4_07.ctlAddress"},
    {10, "RG38N226_4_07.ctlOnline"},
    {24, "RG38N226_4_07.ctlChannelAssign"},
    {71, "RG38N226_4_07.ctlMeasOutputs"},
    {72, "RG38N226_4_07.ctlArchive"},
    {97, "RG38N226_4_07.ctl_TR_Monitor"},
    {98, "RG38N226_4_07.ctlMethodAnalysis"},
    {99, "RG38N226_4_07.ctlAbout"},
}};

// Empties the pending invoke id on every way out of a request.
class PendingScope {
public:
    PendingScope(std::string& pending, const std::string& invokeId) : pending_(pending) { pending_ = invokeId; }
    ~PendingScope() { pending_.clear(); }
    PendingScope(const PendingScope&) = delete;
    PendingScope& operator=(const PendingScope&) = delete;

private:
    std::string& pending_;
};

void SendPrintRequest(const platform::rt::DTMContext& ctx, const std::string& functionCall) {
    Deref(ctx.DTMEvents()).OnPrint(ctx.SystemTag(), functionCall);
}

}  // namespace

std::string FunctionProgId(int32_t functionId) {
    for (const auto& page : kFunctionPages)
        if (page.functionId == functionId) return page.progId;
    return {};
}

std::string clsFunctionMan::GetFunctions(const Ctx& DTMContext, const platform::P<platform::rt::OperationPhase>&) {
    platform::rt::FunctionList list;
    FilterFunctions(DTMContext, list);
    return list.Render(DTMContext, "DTMFunctions");
}

std::string clsFunctionMan::GetActiveXProgId(const Ctx& DTMContext, const Call& FuncCall) {
    auto& ctx = Deref(DTMContext);
    const Variant is95 = Deref(ctx.Parameters()).Item("Is95_98_Or_Me")->TransientValue();
    const int32_t openPages = Deref(ctx.GuiRegistry()).OpenGuis();
    const int32_t functionId = Deref(FuncCall).FunctionId();
    if (platform::com::Equals(is95, Variant::Bool(true)) && openPages >= 1 &&
        functionId != kTransactionMonitorFunctionId)
        return kNoMoreWindowsProgId;
    return FunctionProgId(functionId);
}

bool clsFunctionMan::InvokeFunctionRequest(const Ctx& DTMContext, const std::string& InvokeId, const Call& FuncCall) {
    if (!m_PendingInvokeId.empty()) return false;
    PendingScope pending(m_PendingInvokeId, InvokeId);
    auto& ctx = Deref(DTMContext);
    bool result = true;
    if (Deref(FuncCall).FunctionId() == kPrintFunctionId)
        SendPrintRequest(ctx, FuncCall->Render(DTMContext));
    else
        result = false;
    if (result) Deref(ctx.DTMEvents()).OnInvokedFunctionFinished(ctx.SystemTag(), m_PendingInvokeId, true);
    return result;
}

bool clsFunctionMan::OnGUIRequest(const Ctx& DTMContext, const std::string&, int32_t requestCode,
                                  const Variant& ExtraData) {
    auto& ctx = Deref(DTMContext);
    switch (requestCode) {
        case drcPrintRequest: {
            platform::rt::DtmFunctionCall call;
            call.FunctionId(platform::com::CLng(ExtraData));
            SendPrintRequest(ctx, call.Render(DTMContext));
            return true;
        }
        case drcSaveRequest:
            return Deref(ctx.Container()).SaveRequest(ctx.SystemTag());
        default:
            return false;
    }
}

}  // namespace dtm

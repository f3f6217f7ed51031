// DTMMain: the FDT operations of IDtm that give the instance its environment,
// its model, its user and language, and its functions. The public members run
// the bodies at the frame boundary, so the frame sees False or "" instead of
// an error.
#include "core/dtm/DTMMain.h"
#include "core/dtm/DTMState.h"
#include "model/elements/LanguageHelpers.h"
#include "platform/archive/Archive.h"
#include "platform/com/Error.h"
#include "platform/fdt/Boundary.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmFunctionCall.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/DtmRuntimeGlobal.h"
#include "platform/rt/IPrivateDataModel.h"
#include "platform/rt/IPrivateFunctions.h"
#include "platform/rt/OperationPhase.h"
#include "platform/rt/UserInfo.h"

namespace dtm {

using platform::P;
using platform::com::Deref;
using platform::fdt::InvokeFromFrame;

bool DTMMain::IDtm_Environment(const std::string& SystemTag, const P<platform::com::Object>& container) {
    return InvokeFromFrame("DTMMain-IDtm_Environment", [&] { return Environment(SystemTag, container); }, false);
}
bool DTMMain::IDtm_InitNew(const std::string& deviceType) {
    return InvokeFromFrame("DTMMain-IDtm_InitNew", [&] { return InitNew(deviceType); }, false);
}
bool DTMMain::IDtm_Config(const std::string& userInfo) {
    return InvokeFromFrame("DTMMain-IDtm_Config", [&] { return Config(userInfo); }, false);
}
bool DTMMain::IDtm_SetLanguage(int32_t LanguageId) {
    return InvokeFromFrame("DTMMain-IDtm_SetLanguage", [&] { return SetLanguage(LanguageId); }, false);
}
std::string DTMMain::IDtm_GetFunctions(const std::string& OperationState) {
    return InvokeFromFrame("DTMMain-IDtm_GetFunctions", [&] { return GetFunctions(OperationState); },
                           std::string());
}
bool DTMMain::IDtm_InvokeFunctionRequest(const std::string& InvokeId, const std::string& FunctionCall) {
    return InvokeFromFrame("DTMMain-IDtm_InvokeFunctionRequest",
                           [&] { return InvokeFunctionRequest(InvokeId, FunctionCall); }, false);
}
bool DTMMain::IDtm_PrivateDialogEnabled(bool enabled) {
    return InvokeFromFrame("DTMMain-IDtm_PrivateDialogEnabled", [&] {
        Deref(m_DTMContext).PrivateDialogEnabled(enabled);
        Trace("-IDtm_PrivateDialogEnabled", "");
        return true;
    }, false);
}

bool DTMMain::Environment(const std::string& SystemTag, const P<platform::com::Object>& container) {
    auto events = std::dynamic_pointer_cast<platform::fdt::IDtmEvents>(container);
    if (SystemTag.empty() || !events) {
        Trace("-IDtm_Environment", kRetFalse);
        return false;
    }
    auto& ctx = Deref(m_DTMContext);
    ctx.SystemTag(SystemTag);
    ctx.Container(std::dynamic_pointer_cast<platform::fdt::IFdtContainer>(container));
    ctx.DTMEvents(events);
    auto& deviceType = Deref(ctx.DeviceType());
    if (!deviceType.DeviceTypeId().IsEmpty() && !deviceType.ManufacturerId().IsEmpty()) {
        if (auto supported = deviceType.FindSupportedType(m_DTMContext))
            deviceType.CopyDescription(*supported);
        else
            ReportUnsupportedType(deviceType);
    }
    Trace("-IDtm_Environment", kRetTrue);
    return true;
}

bool DTMMain::InitNew(const std::string& deviceType) {
    auto& ctx = Deref(m_DTMContext);
    auto probe = std::make_shared<platform::rt::DtmRuntimeGlobal>();
    if (HasModel() || !probe->CheckDeviceType(deviceType, m_DTMContext)) {
        Trace("-IDtm_InitNew", kRetFalse);
        return false;
    }
    Deref(ctx.DeviceType()).InitFrom(*probe);
    Deref(m_DataModel).CreateModel(m_DTMContext);
    if (auto supported = probe->FindSupportedType(m_DTMContext))
        probe->CopyDescription(*supported);
    else
        ReportUnsupportedType(*probe);
    ctx.InitNewInstance(probe);
    Deref(Deref(std::dynamic_pointer_cast<DTMState>(ctx.StateObject())).Archive).CheckCurveEnabled(platform::archive::Archive::kMaskNotSet);
    ResetSessionVariables();
    Trace("-IDtm_InitNew", kRetTrue);
    return true;
}

void DTMMain::ReportUnsupportedType(const platform::rt::DtmRuntimeGlobal& deviceType) {
    auto& ctx = Deref(m_DTMContext);
    ctx.ReportError(GetLangText(m_DTMContext, "devtype_not_supported", deviceType.ManufacturerId(),
                                deviceType.DeviceTypeId(), deviceType.DeviceTypeName()));
}

bool DTMMain::Config(const std::string& userInfo) {
    auto& ctx = Deref(m_DTMContext);
    const bool answer = Deref(ctx.UserInfo()).Config(userInfo, m_DTMContext);
    Trace("-IDtm_Config", "");
    // A frame that configures before it gives the environment has no event face yet.
    if (auto events = ctx.DTMEvents()) events->OnFunctionChanged(ctx.SystemTag());
    return answer;
}

bool DTMMain::SetLanguage(int32_t LanguageId) {
    auto& registry = Deref(Deref(m_DTMContext).GuiRegistry());
    registry.LanguageId(LanguageId);
    const bool kept = registry.LanguageId() == LanguageId;
    Trace("-IDtm_SetLanguage", "");
    return kept;
}

std::string DTMMain::GetFunctions(const std::string& OperationState) {
    Trace("-IDtm_GetFunctions", "");
    auto phase = std::make_shared<platform::rt::OperationPhase>();
    if (!phase->Take(OperationState, m_DTMContext)) return {};
    return Deref(m_FunctionMan).GetFunctions(m_DTMContext, phase);
}

bool DTMMain::InvokeFunctionRequest(const std::string& InvokeId, const std::string& FunctionCall) {
    Trace("-IDtm_InvokeFunctionRequest", "");
    auto call = std::make_shared<platform::rt::DtmFunctionCall>();
    if (!call->Parse(FunctionCall, m_DTMContext)) return false;
    return Deref(m_FunctionMan).InvokeFunctionRequest(m_DTMContext, InvokeId, call);
}

}  // namespace dtm

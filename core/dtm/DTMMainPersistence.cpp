// DTMMain: loading and storing the instance through the frame's property bag,
// and the device-type check of a validated connection.
#include "core/dtm/DTMMain.h"
#include "model/elements/LanguageHelpers.h"
#include "model/elements/clsDataElement.h"
#include "model/elements/clsDataModel.h"
#include "platform/com/Error.h"
#include "platform/com/PropertyBag.h"
#include "platform/com/VbText.h"
#include "platform/rt/CommObj.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/DtmRuntimeGlobal.h"
#include "platform/rt/IPrivateDataModel.h"
#include "platform/rt/Parameters.h"

namespace dtm {

using platform::Variant;
using platform::com::Deref;
namespace vb = platform::com::vb;

namespace {

constexpr int32_t kYesNoExclamation = 52;
constexpr int32_t kAnswerNo = 7;

// A stored instance without a device type name takes it from its icon file.
void NameFromIcon(platform::rt::DtmRuntimeGlobal& deviceType) {
    if (!deviceType.DeviceTypeName().IsEmpty()) return;
    const std::string& icon = deviceType.IconFile();
    if (icon.find("RXD214.ico") != std::string::npos)
        deviceType.DeviceTypeName(Variant(std::string("RXD 214")));
    else if (icon.find("RXD218.ico") != std::string::npos)
        deviceType.DeviceTypeName(Variant(std::string("RXD 218")));
}

std::string TrimmedText(const Variant& value) {
    return value.IsEmpty() || value.IsNull() ? std::string() : vb::Trim(platform::com::CStr(value));
}

}  // namespace

void DTMMain::Class_ReadProperties(platform::com::PropertyBag& PropBag) {
    auto& ctx = Deref(m_DTMContext);
    if (HasModel()) {
        Trace("-Class_ReadProperties", "data set already initialised");
        platform::com::Raise(platform::com::errInvalidArgument, "The data set is already initialised.");
    }
    Deref(ctx.DeviceType()).LoadFromBag(PropBag);
    Deref(m_DataModel).CreateModel(m_DTMContext);
    ctx.LoadData(PropBag);
    Trace("-Class_ReadProperties", "");
    NameFromIcon(*ctx.DeviceType());
    ResetSessionVariables();
    ResetDataStatus();
}

void DTMMain::Class_WriteProperties(platform::com::PropertyBag& PropBag) {
    auto& ctx = Deref(m_DTMContext);
    Deref(ctx.GuiRegistry()).FlushInput();
    ctx.SaveData(PropBag);
    Trace("-Class_WriteProperties", "");
    ResetDataStatus();
}

void DTMMain::ResetDataStatus() {
    auto& ctx = Deref(m_DTMContext);
    auto status = Deref(ctx.Parameters()).Item("~/DataStatus");
    status->TransientValue(Variant::Int(0));
    Deref(ctx.GuiRegistry()).NotifyParameterChanged(status, "");
}

void DTMMain::ResetSessionVariables() {
    auto& parameters = Deref(Deref(m_DTMContext).Parameters());
    for (const char* name : kSessionVariablePaths) {
        auto& element = dynamic_cast<clsDataElement&>(*parameters.Item(name));
        element.TransientValue = element.InitialValue;
    }
}

bool DTMMain::HasModel() const { return Deref(Deref(m_DTMContext).Parameters()).Count() > 0; }

void DTMMain::NotifyDataStatus() {
    auto& ctx = Deref(m_DTMContext);
    if (auto status = Deref(ctx.Parameters()).Find("~/DataStatus"))
        Deref(ctx.GuiRegistry()).NotifyParameterChanged(status, "");
}

void DTMMain::ConnectionIsValidated(bool& bCancel) {
    auto& ctx = Deref(m_DTMContext);
    NotifyDataStatus();
    const auto& deviceType = Deref(ctx.DeviceType());
    const Variant connectedId = m_CommObj->ConnectedManufacturerId();
    const std::string connectedName = vb::Trim(m_CommObj->ConnectedDeviceName());
    const bool sameManufacturer = platform::com::Equals(connectedId, deviceType.ManufacturerId());
    if (sameManufacturer && connectedName == TrimmedText(deviceType.DeviceTypeName())) return;
    const std::string text =
        GetLangText(m_DTMContext, "devicetype_not_supported", connectedId, Variant(connectedName)) +
        GetLangText(m_DTMContext, "devicetype_expected", deviceType.ManufacturerId(), deviceType.DeviceTypeName());
    if (ctx.MsgBox(text, kYesNoExclamation) != kAnswerNo) bCancel = true;
}

}  // namespace dtm

#include "platform/rt/DtmRuntimeGlobal.h"

#include "platform/com/PropertyBag.h"

namespace platform::rt {

namespace {
constexpr const char* kPrefix = "DeviceType.";

std::string Key(const char* property) { return std::string(kPrefix) + property; }

std::string StringOf(const Variant& value) { return value.IsEmpty() || value.IsNull() ? "" : com::CStr(value); }
}  // namespace

std::string DtmRuntimeGlobal::DeviceIdText() const { return StringOf(deviceTypeName_); }

void DtmRuntimeGlobal::InitFrom(const DtmRuntimeGlobal& other) {
    if (&other == this) return;
    manufacturerId_ = other.manufacturerId_;
    deviceTypeId_ = other.deviceTypeId_;
    deviceTypeName_ = other.deviceTypeName_;
    iconFile_ = other.iconFile_;
    deviceVendor_ = other.deviceVendor_;
    deviceDescriptor_ = other.deviceDescriptor_;
    deviceDate_ = other.deviceDate_;
    classificationId_ = other.classificationId_;
    subDeviceType_ = other.subDeviceType_;
}

void DtmRuntimeGlobal::LoadFromBag(com::PropertyBag& bag) {
    manufacturerId_ = bag.ReadProperty(Key("ManufacturerId"));
    deviceTypeId_ = bag.ReadProperty(Key("DeviceTypeId"));
    deviceTypeName_ = bag.ReadProperty(Key("DeviceTypeName"));
    iconFile_ = StringOf(bag.ReadProperty(Key("IconFile")));
    deviceVendor_ = StringOf(bag.ReadProperty(Key("DeviceVendor")));
    deviceDescriptor_ = StringOf(bag.ReadProperty(Key("DeviceDescriptor")));
    deviceDate_ = StringOf(bag.ReadProperty(Key("DeviceDate")));
    classificationId_ = bag.ReadProperty(Key("ClassificationId"));
    subDeviceType_ = bag.ReadProperty(Key("SubDeviceType"));
}

void DtmRuntimeGlobal::SaveToBag(com::PropertyBag& bag) const {
    bag.WriteProperty(Key("ManufacturerId"), manufacturerId_);
    bag.WriteProperty(Key("DeviceTypeId"), deviceTypeId_);
    bag.WriteProperty(Key("DeviceTypeName"), deviceTypeName_);
    bag.WriteProperty(Key("IconFile"), Variant(iconFile_));
    bag.WriteProperty(Key("DeviceVendor"), Variant(deviceVendor_));
    bag.WriteProperty(Key("DeviceDescriptor"), Variant(deviceDescriptor_));
    bag.WriteProperty(Key("DeviceDate"), Variant(deviceDate_));
    bag.WriteProperty(Key("ClassificationId"), classificationId_);
    bag.WriteProperty(Key("SubDeviceType"), subDeviceType_);
}

}  // namespace platform::rt

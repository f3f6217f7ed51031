#pragma once
// The device-type object: the identity of the device type an instance serves
// (also used as the probe handed to InitNew).
#include <string>

#include "platform/com/Variant.h"

namespace platform::com {
class PropertyBag;
}

namespace platform::rt {

class DTMContext;

class DtmRuntimeGlobal : public com::Object {
public:
    // 0..255; Empty until known.
    Variant ManufacturerId() const { return manufacturerId_; }
    void ManufacturerId(const Variant& value) { manufacturerId_ = value; }
    Variant DeviceTypeId() const { return deviceTypeId_; }
    void DeviceTypeId(const Variant& value) { deviceTypeId_ = value; }
    // "RXD 214"
    Variant DeviceTypeName() const { return deviceTypeName_; }
    void DeviceTypeName(const Variant& value) { deviceTypeName_ = value; }
    // CStr(DeviceTypeName).
    std::string DeviceIdText() const;
    // "RXD214.ico"
    const std::string& IconFile() const { return iconFile_; }
    void IconFile(const std::string& value) { iconFile_ = value; }
    const std::string& DeviceVendor() const { return deviceVendor_; }
    void DeviceVendor(const std::string& value) { deviceVendor_ = value; }
    const std::string& DeviceDescriptor() const { return deviceDescriptor_; }
    void DeviceDescriptor(const std::string& value) { deviceDescriptor_ = value; }
    const std::string& DeviceDate() const { return deviceDate_; }
    void DeviceDate(const std::string& value) { deviceDate_ = value; }
    Variant ClassificationId() const { return classificationId_; }
    void ClassificationId(const Variant& value) { classificationId_ = value; }
    Variant SubDeviceType() const { return subDeviceType_; }
    void SubDeviceType(const Variant& value) { subDeviceType_ = value; }

    // Reads the ids of the first DtmDeviceType element of the frame's text;
    // known ids complete the identity from the data file. Malformed: False.
    bool CheckDeviceType(const std::string& text, const P<DTMContext>& ctx);
    // The supported type of the data file with the same ids, or null.
    P<DtmRuntimeGlobal> FindSupportedType(const P<DTMContext>& ctx) const;
    // Copies the four description properties: icon file, vendor, descriptor, date.
    void CopyDescription(const DtmRuntimeGlobal& from);
    // Copies all identity.
    void InitFrom(const DtmRuntimeGlobal& other);
    // Keys "DeviceType.<Property>".
    void LoadFromBag(com::PropertyBag& bag);
    void SaveToBag(com::PropertyBag& bag) const;

private:
    Variant manufacturerId_;
    Variant deviceTypeId_;
    Variant deviceTypeName_;
    std::string iconFile_;
    std::string deviceVendor_;
    std::string deviceDescriptor_;
    std::string deviceDate_;
    Variant classificationId_;
    Variant subDeviceType_;
};

}  // namespace platform::rt

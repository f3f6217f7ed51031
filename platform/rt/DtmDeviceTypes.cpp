// DtmRuntimeGlobal: the device type the frame names, and the supported types of
// "DTMInformation.xml".
#include <cstdint>
#include <optional>

#include "platform/com/Error.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmPathInfo.h"
#include "platform/rt/DtmRuntimeGlobal.h"
#include "platform/xml/Dom.h"

namespace platform::rt {

namespace {

constexpr const char* kInformationFile = "DTMInformation.xml";
constexpr const char* kDeviceTypePath = "FDT/DtmInfo/DtmDeviceTypes/fdt:DtmDeviceType";

// An id attribute as a number 0..255, or nothing.
std::optional<int32_t> IdOf(const xml::Element& node, const char* name) {
    const Variant text = node.GetAttribute(name);
    if (!text.IsString() || !com::IsNumeric(text) || text.StrRef().find_first_not_of(" 0123456789") != std::string::npos)
        return std::nullopt;
    try {
        const int32_t id = com::CLng(text);
        if (id >= 0 && id <= 255) return id;
    } catch (const com::ComError&) {
    }
    return std::nullopt;
}

std::string TextOf(const xml::Element& node, const char* name) {
    const Variant value = node.GetAttribute(name);
    return value.IsString() ? value.StrRef() : std::string();
}

Variant VariantOf(const xml::Element& node, const char* name) {
    const Variant value = node.GetAttribute(name);
    return value.IsNull() ? Variant() : value;
}

// The first device-type element of the frame's text, with or without its prefix.
P<xml::Element> FirstDeviceType(const xml::Document& doc) {
    const auto root = doc.DocumentElement();
    if (!root) return nullptr;
    for (const char* name : {"fdt:DtmDeviceType", "DtmDeviceType"}) {
        if (root->Name() == name) return root;
        if (auto node = doc.SelectSingleNode(std::string("//") + name)) return node;
    }
    return nullptr;
}

bool SameId(const Variant& id, int32_t number) {
    try {
        return !id.IsEmpty() && com::IsNumeric(id) && com::CLng(id) == number;
    } catch (const com::ComError&) {
        return false;
    }
}

}  // namespace

bool DtmRuntimeGlobal::CheckDeviceType(const std::string& text, const P<DTMContext>& ctx) {
    xml::Document doc;
    if (!doc.LoadXML(text)) return false;
    const auto node = FirstDeviceType(doc);
    if (!node) return false;
    const auto manufacturer = IdOf(*node, "manufacturerId");
    const auto deviceType = IdOf(*node, "deviceTypeId");
    if (!manufacturer || !deviceType) return false;
    DtmRuntimeGlobal named;
    named.manufacturerId_ = Variant::Lng(*manufacturer);
    named.deviceTypeId_ = Variant::Lng(*deviceType);
    if (const Variant name = node->GetAttribute("name"); name.IsString()) named.deviceTypeName_ = name;
    if (auto known = named.FindSupportedType(ctx))
        InitFrom(*known);
    else
        InitFrom(named);
    return true;
}

P<DtmRuntimeGlobal> DtmRuntimeGlobal::FindSupportedType(const P<DTMContext>& ctx) const {
    if (manufacturerId_.IsEmpty() || deviceTypeId_.IsEmpty() || !ctx || !ctx->PathInfo()) return nullptr;
    xml::Document doc;
    if (!doc.Load(ctx->PathInfo()->XmlDataPath() + kInformationFile)) return nullptr;
    for (const auto& node : doc.SelectNodes(kDeviceTypePath)) {
        const auto manufacturer = IdOf(*node, "manufacturerId");
        const auto deviceType = IdOf(*node, "deviceTypeId");
        if (!manufacturer || !deviceType || !SameId(manufacturerId_, *manufacturer) ||
            !SameId(deviceTypeId_, *deviceType))
            continue;
        auto found = std::make_shared<DtmRuntimeGlobal>();
        found->manufacturerId_ = Variant::Lng(*manufacturer);
        found->deviceTypeId_ = Variant::Lng(*deviceType);
        found->deviceTypeName_ = VariantOf(*node, "name");
        found->iconFile_ = TextOf(*node, "iconFile");
        found->deviceVendor_ = TextOf(*node, "vendor");
        found->deviceDescriptor_ = TextOf(*node, "descriptor");
        found->deviceDate_ = TextOf(*node, "date");
        found->classificationId_ = VariantOf(*node, "classificationId");
        found->subDeviceType_ = VariantOf(*node, "subDeviceType");
        return found;
    }
    return nullptr;
}

void DtmRuntimeGlobal::CopyDescription(const DtmRuntimeGlobal& from) {
    iconFile_ = from.iconFile_;
    deviceVendor_ = from.deviceVendor_;
    deviceDescriptor_ = from.deviceDescriptor_;
    deviceDate_ = from.deviceDate_;
}

}  // namespace platform::rt

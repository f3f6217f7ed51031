#include "platform/rt/DtmPathInfo.h"

#include <cstdio>

#include "platform/app/Path.h"
#include "platform/com/Error.h"
#include "platform/com/HexText.h"
#include "platform/com/VbText.h"
#include "platform/xml/Dom.h"

namespace platform::rt {

namespace {

std::string DateText(double serial) {
    const auto d = com::SplitDate(serial);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", d.year, d.month, d.day, d.hour,
                  d.minute, d.second);
    return text;
}

// The attribute form of a value: numbers with ".", whatever the process's
// decimal separator; anything that has no attribute form raises 13.
std::string AttributeText(const Variant& v) {
    using com::VarType;
    switch (v.Type()) {
        case VarType::Empty:
        case VarType::Null: return "";
        case VarType::Boolean: return com::CBool(v) ? "true" : "false";
        case VarType::Integer:
        case VarType::Long:
        case VarType::Byte: return std::to_string(com::CLng(v));
        case VarType::Single: return com::vb::NumberText(com::CSng(v), 7, '.');
        case VarType::Double:
        case VarType::Currency:
        case VarType::Decimal: return com::vb::NumberText(com::CDbl(v), 15, '.');
        case VarType::Date: return DateText(v.DateSerial());
        case VarType::String: return v.StrRef();
        case VarType::Array:
            if (v.IsByteArray()) return com::HexFromBytes(v.BytesRef());
            break;
        default: break;
    }
    com::Raise(com::errTypeMismatch);
}

}  // namespace

DtmPathInfo::DtmPathInfo() : xmlDataPath_(app::Path() + "/XMLData/") {}

Variant DtmPathInfo::GetNodeAttribute(const std::string& name, const P<xml::Element>& node) const {
    Variant value = com::Deref(node).GetAttribute(name);
    return value.IsNull() ? Variant() : value;
}

P<xml::Element> DtmPathInfo::AddChildElement(const std::string& qname,
                                             const P<xml::Element>& parent) const {
    auto child = com::Deref(com::Deref(parent).OwnerDocument()).CreateElement(qname);
    parent->AppendChild(child);
    return child;
}

void DtmPathInfo::SetNodeAttribute(const std::string& name, const Variant& value,
                                   const P<xml::Element>& node) const {
    com::Deref(node).SetAttribute(name, AttributeText(value));
}

void DtmPathInfo::SetDocAttribute(const std::string& name, const Variant& value,
                                  const P<xml::Element>& node) const {
    SetNodeAttribute(name, value, node);
}

}  // namespace platform::rt

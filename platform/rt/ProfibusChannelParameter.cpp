#include "platform/rt/ProfibusChannelParameter.h"

#include <charconv>

#include "platform/com/Error.h"
#include "platform/com/PropertyBagText.h"
#include "platform/xml/Dom.h"

namespace platform::rt {

namespace {
size_t Slot0(int32_t i) {
    if (i < 1 || i > ProfibusChannelParameter::kPropertyCount) com::Raise(com::errSubscript);
    return static_cast<size_t>(i - 1);
}
constexpr const char* kRoot = "FDT";
constexpr const char* kNode = "ProfibusChannelParameter";
constexpr const char* kProperty = "P";

// A whole decimal number of the text, or false.
bool ParseInt(const std::string& text, int32_t& out) {
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && ptr == end && !text.empty();
}

// The number of attribute `name`, or false when it is missing or no number.
bool IntAttribute(const xml::Element& el, const char* name, int32_t& out) {
    const Variant value = el.GetAttribute(name);
    return value.IsString() && ParseInt(value.StrRef(), out);
}

}  // namespace

ProfibusChannelParameter::ProfibusChannelParameter() {
    properties_[Slot0(kChannelLocked)] = Variant::Bool(false);
}

const Variant& ProfibusChannelParameter::Property(int32_t i) const {
    return properties_[Slot0(i)];
}

void ProfibusChannelParameter::Property(int32_t i, const Variant& value) {
    properties_[Slot0(i)] = value;
}

bool ProfibusChannelParameter::ChannelLocked() const {
    return com::CBool(Property(kChannelLocked));
}

void ProfibusChannelParameter::ChannelLocked(bool locked) {
    Property(kChannelLocked, Variant::Bool(locked));
}

std::string ProfibusChannelParameter::Render(const P<DTMContext>& /*ctx*/) const {
    auto doc = std::make_shared<xml::Document>();
    auto root = doc->CreateElement(kRoot);
    doc->SetDocumentElement(root);
    auto node = doc->CreateElement(kNode);
    root->AppendChild(node);
    for (int32_t i = 1; i <= kPropertyCount; ++i) {
        const Variant& value = Property(i);
        // An object other than Nothing has no text form; it is written as Empty.
        const bool storable = com::bagtext::IsStorable(value);
        auto p = doc->CreateElement(kProperty);
        p->SetAttribute("n", std::to_string(i));
        p->SetAttribute("vt", std::to_string(storable ? value.VarTypeCode() : 0));
        if (storable) p->SetText(com::bagtext::EncodeValue(value));
        node->AppendChild(p);
    }
    return doc->Xml();
}

bool ProfibusChannelParameter::Load(const std::string& xmlText, const P<DTMContext>& /*ctx*/) {
    xml::Document doc;
    if (!doc.LoadXML(xmlText)) return false;
    auto node = doc.SelectSingleNode(std::string(kRoot) + "/" + kNode);
    if (!node) return false;
    ProfibusChannelParameter loaded;
    std::array<bool, kPropertyCount> seen{};
    for (const auto& p : node->ChildElements()) {
        if (p->Name() != kProperty) continue;
        int32_t n = 0;
        int32_t vt = 0;
        if (!IntAttribute(*p, "n", n) || !IntAttribute(*p, "vt", vt)) return false;
        if (n < 1 || n > kPropertyCount || seen[Slot0(n)]) return false;
        Variant value;
        if (!com::bagtext::DecodeValue(vt, p->Text(), value)) return false;
        loaded.properties_[Slot0(n)] = std::move(value);
        seen[Slot0(n)] = true;
    }
    if (!seen[Slot0(kChannelId)]) return false;
    properties_ = std::move(loaded.properties_);
    return true;
}

}  // namespace platform::rt

#include "platform/ui/Description.h"

#include <cmath>
#include <cstdio>

namespace platform::ui {

namespace {

// Escapes for both forms; `json` selects \u00XX over \xXX for other controls.
std::string Escape(const std::string& text, bool json) {
    std::string out = "\"";
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        switch (ch) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20 || c == 0x7F) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, json ? "\\u%04X" : "\\x%02X", c);
                    out += buf;
                } else {
                    out += ch;
                }
        }
    }
    return out + "\"";
}

std::string ByteText(const Variant& value) {
    std::string out = "{";
    for (const uint8_t b : value.ToBytes()) {
        char buf[4];
        std::snprintf(buf, sizeof buf, "%02X", b);
        if (out.size() > 1) out += " ";
        out += buf;
    }
    return out + "}";
}

}  // namespace

std::string Quote(const std::string& text) { return Escape(text, false); }
std::string JsonString(const std::string& text) { return Escape(text, true); }

std::string ValueText(const Variant& value) {
    if (value.IsEmpty()) return "<empty>";
    if (value.IsNull()) return "<null>";
    if (value.IsByteArray()) return ByteText(value);
    if (value.IsArray() || value.IsObject() || value.IsMissing()) return "<" + com::TypeName(value) + ">";
    if (value.IsString()) return Quote(value.StrRef());
    return com::CStr(value);
}

std::string JsonVariant(const Variant& value) {
    std::string text;
    if (value.IsByteArray()) text = ByteText(value);
    else if (value.IsString()) text = value.StrRef();
    else if (!value.IsArray() && !value.IsObject() && !value.IsMissing() && !value.IsNull()) text = com::CStr(value);
    return "{\"vt\": " + JsonString(com::TypeName(value)) + ", \"text\": " + JsonString(text) + "}";
}

void Description::Prop(const std::string& name, double number) {
    props.emplace_back(name, std::isfinite(number) ? com::CStr(Variant::Dbl(number)) : "null");
}

}  // namespace platform::ui

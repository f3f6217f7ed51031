#include "platform/ui/Description.h"

#include <cmath>
#include <cstdio>

#include "platform/com/TextCoding.h"

namespace platform::ui {

namespace {

// Escapes for both forms; `json` selects \u00XX over \xXX for other controls.
// JSON text must be UTF-8: there a byte that is no part of a well-formed UTF-8
// character is escaped too, \u00XX with the byte's value (its ISO 8859-1
// character), so that reading the text back gives the same bytes.
std::string Escape(const std::string& text, bool json) {
    std::string out = "\"";
    const auto escaped = [&out, json](unsigned char c) {
        char buf[8];
        std::snprintf(buf, sizeof buf, json ? "\\u%04X" : "\\x%02X", c);
        out += buf;
    };
    for (size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        const auto c = static_cast<unsigned char>(ch);
        if (json && c >= 0x80) {
            const com::Utf8Char character = com::DecodeUtf8At(text, i);
            if (!character.valid) {
                escaped(c);
                continue;
            }
            out.append(text, i, character.size);
            i += character.size - 1;
            continue;
        }
        switch (ch) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20 || c == 0x7F) escaped(c);
                else out += ch;
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

#pragma once
// What a control tells the snapshot about itself: its kind word, its flags and
// attributes of the text form, sub-lines (tabs, panels), and the members of
// its JSON form. Each control kind fills it in Control::Describe.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/com/Variant.h"

namespace platform::ui {

// "text" with C escapes.
std::string Quote(const std::string& text);
// A JSON string literal.
std::string JsonString(const std::string& text);
// {"vt": "<type name>", "text": "<CStr form>"}; Empty, Null and arrays keep their type name.
std::string JsonVariant(const Variant& value);
// The text form of a value: CStr, "<empty>", "<null>", byte arrays "{01 A0}",
// strings quoted.
std::string ValueText(const Variant& value);

struct Description {
    std::string kind;                  // first word of the line
    bool onlyWithAll = false;          // left out of the default text form
    bool withTips = false;             // asked for tool tips (rows add tip="...")
    std::vector<std::string> flags;    // kind-specific flags ("ro", "editing")
    std::vector<std::string> attrs;    // attributes after the flags, in order
    std::vector<std::string> lines;    // sub-lines, one level deeper
    std::vector<std::pair<std::string, std::string>> props;    // JSON "props" members (raw JSON)
    std::vector<std::pair<std::string, std::string>> members;  // further top-level JSON members

    void Attr(std::string text) { attrs.push_back(std::move(text)); }
    void Prop(const std::string& name, const std::string& text) { props.emplace_back(name, JsonString(text)); }
    void Prop(const std::string& name, const char* text) { Prop(name, std::string(text)); }
    void Prop(const std::string& name, bool on) { props.emplace_back(name, on ? "true" : "false"); }
    void Prop(const std::string& name, double number);
    void Prop(const std::string& name, int32_t number) { Prop(name, static_cast<int64_t>(number)); }
    void Prop(const std::string& name, int64_t number) { props.emplace_back(name, std::to_string(number)); }
    void Prop(const std::string& name, const Variant& value) { props.emplace_back(name, JsonVariant(value)); }
    void PropRaw(const std::string& name, std::string json) { props.emplace_back(name, std::move(json)); }
};

}  // namespace platform::ui

#include "platform/ctl/ctlParameter.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "platform/com/Error.h"
#include "platform/com/VbText.h"
#include "platform/ui/Description.h"

namespace platform::ctl {

namespace {

// Cuts to `maxLength` characters (0 = no limit) and upper-cases ASCII letters when asked.
std::string ShapeTypedText(const std::string& text, int32_t maxLength, bool upper) {
    std::string out = maxLength > 0 && com::vb::Len(text) > maxLength ? com::vb::Left(text, maxLength) : text;
    if (upper)
        std::transform(out.begin(), out.end(), out.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return out;
}

std::string TextOfCode(const std::vector<ValueListEntry>& entries, int64_t code) {
    for (const auto& e : entries)
        if (e.code == code) return e.text;
    return {};
}

}  // namespace

std::vector<ValueListEntry> ParseValueList(const std::string& list) {
    std::vector<ValueListEntry> entries;
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find('|', start);
        if (end == std::string::npos) end = list.size();
        const std::string item = list.substr(start, end - start);
        const size_t colon = item.find(':');
        if (colon != std::string::npos && colon > 0) {
            const std::string number = item.substr(0, colon);
            char* stop = nullptr;
            const long long code = std::strtoll(number.c_str(), &stop, 10);
            if (stop && *stop == '\0') entries.push_back({code, item.substr(colon + 1)});
        }
        start = end + 1;
    }
    return entries;
}

const std::string& ctlParameter::MenuItemText(int32_t item) const {
    if (item < 1 || item > MenuItemCount()) com::Raise(com::errSubscript);
    return menuItems_[static_cast<size_t>(item - 1)];
}

void ctlParameter::MenuItemText(int32_t item, std::string text) {
    if (item < 1 || item > MenuItemCount()) com::Raise(com::errSubscript);
    menuItems_[static_cast<size_t>(item - 1)] = std::move(text);
}

// Kind 1 with a format: the formatted number; kinds 2 and 3: the value-list
// text of the value; kind 4: the set bits as "index:text"; kind 5: the label;
// otherwise the value's text, masked when the row has a password character.
std::string ctlParameter::DisplayText() const {
    switch (controlType_) {
        case kRowCommand: return labelText_;
        case kRowChosenForType10:
        case kRowValueList:
            if (com::IsNumeric(value_) && !value_.IsEmpty()) {
                const std::string text = TextOfCode(ParseValueList(valueList_), com::CLng(value_));
                if (!text.empty()) return text;
            }
            break;
        case kRowBitList: {
            if (value_.IsEmpty() || value_.IsNull()) return {};
            const auto entries = ParseValueList(valueList_);
            const std::string bits = com::CStr(value_);
            std::string out;
            int64_t index = 0;
            size_t start = 0;
            while (start <= bits.size()) {
                size_t end = bits.find('|', start);
                if (end == std::string::npos) end = bits.size();
                if (bits.compare(start, end - start, "1") == 0) {
                    if (!out.empty()) out += ", ";
                    out += std::to_string(index);
                    const std::string text = TextOfCode(entries, index);
                    if (!text.empty()) out += ":" + text;
                }
                ++index;
                start = end + 1;
            }
            return out;
        }
        default:
            if (!valueFormat_.empty() && value_.IsNumberType()) {
                try {
                    return com::vb::Format(com::CDbl(value_), valueFormat_);
                } catch (const com::ComError&) {
                    // a format the formatter does not know shows the plain text
                }
            }
            break;
    }
    return value_.IsEmpty() || value_.IsNull() ? std::string() : Masked(com::CStr(value_));
}

std::string ctlParameter::Masked(const std::string& text) const {
    if (passwordChar_ == '\0') return text;
    std::string out;
    for (const char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) == 0x80) continue;  // the rest of a UTF-8 character
        out += c == ' ' ? ' ' : passwordChar_;
    }
    return out;
}

void ctlParameter::EventSink(const std::shared_ptr<IRowEvents>& sink) {
    if (sink != sink_.lock()) editing_ = false;
    sink_ = sink;
}

void ctlParameter::StartEditIfIdle() {
    if (editing_) return;
    editing_ = true;
    valueAtStart_ = value_;
    if (auto sink = EventSink()) sink->OnStartEdit();
}

void ctlParameter::EndEdit(bool commit) {
    editing_ = false;
    if (auto sink = EventSink()) sink->OnEndEdit(commit);
}

// A pick from a list or of bits: the edit starts, takes the value, clicks and ends committed.
void ctlParameter::WholeEdit(const Variant& value) {
    const auto keep = Keep();
    StartEditIfIdle();
    value_ = value;
    if (auto sink = EventSink()) sink->OnChange();
    if (auto sink = EventSink()) sink->OnClick();
    EndEdit(true);
}

bool ctlParameter::ValueListHas(int32_t code) const {
    for (const auto& e : ParseValueList(valueList_))
        if (e.code == code) return true;
    return false;
}

bool ctlParameter::UserType(const std::string& text) {
    if (ReadOnly() || (controlType_ != kRowNotChosen && controlType_ != kRowPlain)) return false;
    const auto keep = Keep();
    StartEditIfIdle();
    value_ = Variant::Str(ShapeTypedText(text, valueMaxLength_, valueUpperCase_));
    if (auto sink = EventSink()) sink->OnChange();
    return true;
}

bool ctlParameter::UserCommit() {
    if (!editing_) return false;
    const auto keep = Keep();
    EndEdit(true);
    return true;
}

bool ctlParameter::UserCancel() {
    if (!editing_) return false;
    const auto keep = Keep();
    value_ = valueAtStart_;
    if (auto sink = EventSink()) sink->OnChange();
    EndEdit(false);
    return true;
}

bool ctlParameter::UserSelect(int32_t code) {
    if (ReadOnly() || (controlType_ != kRowChosenForType10 && controlType_ != kRowValueList)) return false;
    if (controlType_ == kRowValueList && !ValueListHas(code)) return false;
    WholeEdit(Variant::Lng(code));
    return true;
}

bool ctlParameter::UserSetBits(const std::vector<int32_t>& indexes) {
    if (ReadOnly() || controlType_ != kRowBitList) return false;
    int32_t count = 0;
    for (int32_t i : indexes) {
        if (i < 0 || i > 255) return false;
        count = std::max(count, i + 1);
    }
    // As many entries as the row shows now, more when a set bit lies beyond.
    const std::string shown = com::CStr(value_.IsEmpty() || value_.IsNull() ? Variant::Str("") : value_);
    const int32_t shownCount = shown.empty() ? 0 : static_cast<int32_t>(std::count(shown.begin(), shown.end(), '|')) + 1;
    count = std::max(count, shownCount);
    std::vector<std::string> entries(static_cast<size_t>(count), "0");
    for (int32_t i : indexes) entries[static_cast<size_t>(i)] = "1";
    std::string text;
    for (size_t i = 0; i < entries.size(); ++i) text += (i ? "|" : "") + entries[i];
    WholeEdit(Variant::Str(text));
    return true;
}

// Every kind takes a click; a command row also while locked (its link then
// answers that the command runs), other rows only when not read-only.
bool ctlParameter::UserClick() {
    if (unbound_ || !siteEditable_) return false;
    if (controlType_ != kRowCommand && ReadOnly()) return false;
    const auto keep = Keep();
    if (auto sink = EventSink()) sink->OnClick();
    return true;
}

bool ctlParameter::UserKey(int32_t& keyCode, int32_t shift) {
    const auto keep = Keep();
    if (auto sink = EventSink()) sink->OnKeyDown(keyCode, shift);
    return true;
}

bool ctlParameter::UserMenu(int32_t item) {
    if (item < 1 || item > MenuItemCount()) return false;
    const auto keep = Keep();
    if (auto sink = EventSink()) sink->OnMenuClick(item);
    return true;
}

void ctlParameter::FocusLost() {
    if (editing_) EndEdit(true);
}

void ctlParameter::Describe(ui::Description& d) const {
    Control::Describe(d);
    d.kind = "row";
    if (ReadOnly()) d.flags.push_back("ro");
    if (editing_) d.flags.push_back("editing");
    const auto element = Bound();
    if (element) {
        d.Attr("@" + element->Name());
        d.Attr(ui::Quote(labelText_));
        d.Attr("=");
        d.Attr(ui::Quote(DisplayText()));
        if (!unitText_.empty()) d.Attr(ui::Quote(unitText_));
        d.Attr("icon=" + (statusIcon_ ? StatusIconKey() : std::string("none")));
        if (d.withTips) d.Attr("tip=" + ui::Quote(iconToolTip_));
    } else {
        d.Attr("tag=" + ui::Quote(parameterTag_));
        d.Attr("unbound");
    }
    d.Prop("tag", parameterTag_);
    d.Prop("bound", element ? element->Name() : std::string());
    d.Prop("label", labelText_);
    d.Prop("value", passwordChar_ != '\0' && value_.IsString() ? Variant::Str(Masked(value_.StrRef())) : value_);
    d.Prop("display", DisplayText());
    d.Prop("unit", unitText_);
    d.Prop("icon", StatusIconKey());
    d.Prop("tip", iconToolTip_);
    d.Prop("readOnly", ReadOnly());
    d.Prop("controlType", controlType_);
    d.Prop("editing", editing_);
}

}  // namespace platform::ctl

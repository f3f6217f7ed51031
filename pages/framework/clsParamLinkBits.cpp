#include "pages/framework/clsParamLinkBits.h"

#include <algorithm>
#include <vector>

#include "core/services/ProjectHelpers.h"
#include "model/elements/clsDataElement.h"

namespace dtm {

using platform::Variant;

namespace {

std::vector<std::string> SplitBar(const std::string& text) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find('|', start);
        parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) return parts;
        start = end + 1;
    }
}

std::string JoinBar(const std::vector<std::string>& parts) {
    std::string out;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i) out += '|';
        out += parts[i];
    }
    return out;
}

bool EntrySet(const std::string& entry) {
    const Variant v = Variant::Str(entry);
    return platform::com::IsNumeric(v) && platform::com::CDbl(v) != 0;
}

bool IsZero(const Variant& value) {
    if (value.IsArray()) {
        if (!value.IsByteArray()) return false;
        const auto bytes = value.ToBytes();
        if (bytes.empty()) return false;
        for (uint8_t b : bytes)
            if (b != 0) return false;
        return true;
    }
    return value.IsNumberType() && platform::com::CDbl(value) == 0;
}

// The zero entry's index when the element's value list names it, else -1.
int32_t ZeroEntryOf(const clsDataElement& element) {
    const int32_t nbits = BitCountOf(element.ValueType, element.ValueTypeLength);
    if (nbits <= 0 || element.GetStrValueFromIdxList(nbits).empty()) return -1;
    return nbits;
}

}  // namespace

int32_t BitCountOf(int32_t valueType, int32_t valueTypeLength) {
    switch (valueType) {
        case 1: return valueTypeLength > 0 ? valueTypeLength * 8 : 0;
        case 2: return 8;
        case 3:
        case 5: return 16;
        case 4:
        case 6:
        case 7: return 32;
        default: return 0;
    }
}

std::string ValueToDisplayText(const Variant& value) { return ValueToBitString(value); }

std::string ShowElementValue(const clsDataElement& element) {
    const Variant value = element.TransientValue;
    std::string text = ValueToDisplayText(value);
    if (text.empty() || element.ControlType() != 4 || !IsZero(value)) return text;
    const int32_t zero = ZeroEntryOf(element);
    return zero < 0 ? text : FormatListText(text, zero, true);
}

Variant ControlTextToValue(const std::string& text, const clsDataElement& element) {
    const int32_t zero = ZeroEntryOf(element);
    const std::string bits = zero < 0 ? text : JoinListText(FormatListText(text, zero, false));
    return ParseNumberList(bits, element.ValueType, element.ValueTypeLength);
}

Variant ParseNumberList(const std::string& text, int32_t valueType, int32_t valueTypeLength) {
    const std::vector<std::string> entries = text.empty() ? std::vector<std::string>() : SplitBar(text);
    if (valueType == 1) {
        const int32_t n = static_cast<int32_t>(entries.size());
        if (n <= 0) return Variant();
        std::vector<uint8_t> bytes(static_cast<size_t>(std::max(valueTypeLength, (n + 7) / 8)), 0);
        for (int32_t i = 0; i < n; ++i)
            if (EntrySet(entries[static_cast<size_t>(i)])) bytes[static_cast<size_t>(i / 8)] |= uint8_t(1u << (i % 8));
        return Variant::ByteArray(std::move(bytes));
    }
    uint32_t acc = 0, weight = 1;
    for (const auto& entry : entries) {
        if (EntrySet(entry)) acc |= weight;
        weight = weight >= 0x40000000u ? 0x80000000u : weight * 2;
    }
    switch (valueType) {
        case 2: return acc > 0xFFu ? Variant::Null() : Variant::Byte(static_cast<uint8_t>(acc));
        case 3:
        case 4:
        case 6:
        case 7: return Variant::Lng(static_cast<int32_t>(acc));
        case 5: return acc > 0xFFFFu ? Variant::Null() : Variant::Int(static_cast<int16_t>(static_cast<uint16_t>(acc)));
        case 16: return Variant::Dbl(static_cast<double>(acc));
        default: return Variant::Null();
    }
}

std::string FormatListText(const std::string& list, int32_t idx, bool flag) {
    std::vector<std::string> parts = SplitBar(list);
    if (idx < 0) return list;
    if (static_cast<size_t>(idx) >= parts.size()) parts.resize(static_cast<size_t>(idx) + 1);
    parts[static_cast<size_t>(idx)] = flag ? std::string("1") : std::string();
    return JoinBar(parts);
}

std::string JoinListText(const std::string& list) {
    std::vector<std::string> parts = SplitBar(list);
    parts.pop_back();
    return JoinBar(parts);
}

}  // namespace dtm

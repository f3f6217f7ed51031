// SlaveBusParamSet: the three forms of the slave parameter set kept in step,
// and the process-data channels placed after the slot codes.
#include "core/channels/SlaveBusParamSet.h"

#include <cstring>
#include <iterator>
#include <string_view>
#include <utility>
#include <vector>

#include "core/services/ConvStr.h"
#include "core/services/ProjectHelpers.h"
#include "core/channels/clsChannel.h"
#include "model/elements/DataModelHelpers.h"
#include "model/elements/clsDataElement.h"
#include "platform/com/Error.h"
#include "platform/com/HexText.h"
#include "platform/com/VbText.h"
#include "platform/rt/ChannelList.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/Parameters.h"
#include "platform/rt/ProfibusChannelParameter.h"

namespace dtm {

namespace com = platform::com;
namespace vb = platform::com::vb;
using platform::P;
using platform::Variant;
using platform::rt::Parameters;

namespace {

// A slot code, the configuration identifier that stands for it in Cfg_Data,
// and the bytes of cyclic input data a slot with that code sends.
struct SlotCodeRow {
    int16_t code;
    const char* identifier;
    int16_t inputBytes;
};

constexpr SlotCodeRow kSlotCodes[] = {
    {1, "00", 0},          {2, "94", 5},          {3, "14", 5},          {4, "42840805", 5},
    {5, "418485", 5},      {6, "C1808485", 5},    {7, "C1818485", 5},    {8, "42848181", 5},
    {9, "42848581", 5},    {10, "C280848583", 5}, {11, "C280848585", 5}, {12, "C281848587", 5},
    {13, "82808582", 0},   {14, "82808584", 0},   {15, "82818586", 0},
};

static_assert(std::size(kSlotCodes) == kLastSlotCode - kFirstSlotCode + 1);

// Identifiers whose first byte alone fixes the slot code when the rest of the
// identifier is none of the table's.
struct LeadCode {
    const char* lead;
    int16_t code;
};
constexpr LeadCode kLeadCodes[] = {{"41", 5}, {"C1", 7}};

// Digit positions (0-based) in the whole string.
constexpr size_t kHeaderDigits = 56;       // Slave_Para_Len up to the end of Prm_Data
constexpr size_t kCfgLenDigits = 4;        // Cfg_Data_Len
constexpr size_t kCfgDataStart = kHeaderDigits + kCfgLenDigits;
constexpr size_t kMaxDigits = 2 * 0xFFFF;  // Slave_Para_Len is 16 bits
constexpr size_t kIdentNumberByte = 22;

// Bits of cyclic input data per slot with input: a 32-bit value and an 8-bit status.
constexpr int16_t kSlotInputBits = 40;
constexpr int16_t kStatusBitOffset = 32;

const SlotCodeRow* RowOfCode(int32_t code) {
    for (const SlotCodeRow& row : kSlotCodes)
        if (row.code == code) return &row;
    return nullptr;
}

P<clsDataElement> Get(const Parameters& params, const std::string& path) {
    auto el = ElementAt(params, path);
    if (!el) com::Raise(com::errObjectNotSet);
    return el;
}

std::string TextOf(const Variant& value) {
    if (value.IsString()) return value.StrRef();
    try {
        return com::CStr(value);
    } catch (const com::ComError&) {
        return {};  // Null, an array or an object: no set at all
    }
}

[[noreturn]] void RaiseUnusable(const std::string& fault) {
    com::Raise(com::errBadPropertyValue, "The slave parameter set is not usable: " + fault + ".");
}

void CheckUsable(const std::string& hex) {
    const std::string fault = CheckSlaveBusParamSet(hex);
    if (!fault.empty()) RaiseUnusable(fault);
}

// The value of hexadecimal digits; a character that is no digit raises 13.
uint32_t HexValue(std::string_view digits) {
    uint32_t value = 0;
    for (char c : digits) {
        const int d = com::HexDigitValue(c);
        if (d < 0) com::Raise(com::errTypeMismatch);
        value = value * 16 + static_cast<uint32_t>(d);
    }
    return value;
}

// Four upper-case hexadecimal digits.
std::string Hex4(size_t value) {
    if (value > 0xFFFF) com::Raise(com::errOverflow);
    std::string out;
    com::AppendHexByte(out, static_cast<uint8_t>(value >> 8));
    com::AppendHexByte(out, static_cast<uint8_t>(value & 0xFF));
    return out;
}

// Cfg_Data_Len as the string carries it.
size_t CfgDataLen(const std::string& hex) {
    if (hex.size() < kCfgDataStart) com::Raise(com::errTypeMismatch);
    return HexValue(std::string_view(hex).substr(kHeaderDigits, kCfgLenDigits));
}

void SetSlotCode(Parameters& params, int32_t slot, int16_t code) {
    auto el = Get(params, SlaveBusParamSlotName(slot));
    const Variant value = Variant::Int(code);
    if (IsSameValue(el->TransientValue, value)) return;
    el->TransientValue = value;
    params.NotifyChange(el, "");
}

// The whole string changed: the bytes and the slot codes follow it.
void TakeWholeString(Parameters& params, const clsDataElement& wholeString) {
    const std::string text = TextOf(wholeString.TransientValue);
    const std::string fault = CheckSlaveBusParamSet(text);
    if (!fault.empty()) {
        BusParamBytesToWholeString(params);  // back to the set as it stands
        RaiseUnusable(fault);
    }
    auto bytesElement = Get(params, kBusMasterConfigurationPart);
    const Variant bytes = HexToBytes(text);
    const bool changed = !IsSameValue(bytesElement->TransientValue, bytes);
    if (changed) bytesElement->TransientValue = bytes;
    ParseBusParamWholeString(params);
    // The bytes' report brings the string back to their upper-case text; bytes
    // already in force do the same here.
    if (changed)
        params.NotifyChange(bytesElement, "");
    else
        BusParamBytesToWholeString(params);
}

// The bytes changed: a usable set goes on into the string and the slot codes;
// an unusable one is set back to the set in force and refused (380).
void TakeBytes(Parameters& params, clsDataElement& bytesElement) {
    const std::string fault = CheckSlaveBusParamSet(BytesToHex(bytesElement.TransientValue));
    if (fault.empty()) {
        BusParamBytesToWholeString(params);
        return;
    }
    const std::string inForce = TextOf(Get(params, kSlaveBusParamSetWholeString)->TransientValue);
    if (CheckSlaveBusParamSet(inForce).empty()) bytesElement.TransientValue = HexToBytes(inForce);
    RaiseUnusable(fault);
}

// A slot code changed by the user: the whole string is rebuilt from the codes.
void RebuildWholeString(Parameters& params) {
    auto wholeString = Get(params, kSlaveBusParamSetWholeString);
    const Variant before = wholeString->TransientValue;
    BuildBusParamWholeString(params);
    SetBusParamTotalLength(*wholeString);
    if (!IsSameValue(before, wholeString->TransientValue)) params.NotifyChange(wholeString, "");
}

// The slot number of "SlaveBusParamSet_FB1" .. "SlaveBusParamSet_FB8", else 0.
int32_t SlotOfName(std::string_view name) {
    constexpr std::string_view kSlotNamePrefix = "SlaveBusParamSet_FB";
    static_assert(kSlaveBusParamSlots <= 9, "a slot name ends in one digit");
    if (name.size() != kSlotNamePrefix.size() + 1 || !name.starts_with(kSlotNamePrefix)) return 0;
    const int32_t slot = name.back() - '0';
    return slot >= 1 && slot <= kSlaveBusParamSlots ? slot : 0;
}

}  // namespace

std::string SlaveBusParamSlotName(int32_t slot) { return "SlaveBusParamSet_FB" + std::to_string(slot); }

int16_t DefaultSlotCode(int32_t slot) { return (slot == 4 || slot == 8) ? 5 : 4; }

std::string SlotCodeIdentifier(int32_t code) {
    const SlotCodeRow* row = RowOfCode(code);
    return row ? row->identifier : "";
}

bool SlotCodeHasInput(int32_t code) {
    const SlotCodeRow* row = RowOfCode(code);
    return row && row->inputBytes > 0;
}

std::string CheckSlaveBusParamSet(const std::string& hex) {
    if (hex.size() % 2 != 0) return "an odd number of hexadecimal digits";
    for (size_t i = 0; i < hex.size(); ++i)
        if (com::HexDigitValue(hex[i]) < 0) return "no hexadecimal digit at position " + std::to_string(i + 1);
    if (hex.size() < kCfgDataStart) return "shorter than its fixed header of 30 bytes";
    if (hex.size() > kMaxDigits) return "longer than 65535 bytes";
    const size_t cfgLen = CfgDataLen(hex);
    if (cfgLen < 2) return "Cfg_Data_Len is below 2";
    if (kHeaderDigits + 2 * cfgLen > hex.size()) return "its configuration data reach past its end";
    return {};
}

bool IsUsableSlaveBusParamSet(const Variant& value) {
    const std::string hex = value.IsByteArray() ? BytesToHex(value) : TextOf(value);
    return CheckSlaveBusParamSet(hex).empty();
}

void OnBusParamChanged(const P<clsDataElement>& pda, Parameters& Parameters, int32_t NestingLevel) {
    const std::string_view name = com::Deref(pda).Name;
    if (name == std::string_view(kBusMasterConfigurationPart)) {
        TakeBytes(Parameters, *pda);
    } else if (name == std::string_view(kSlaveBusParamSetWholeString)) {
        TakeWholeString(Parameters, *pda);
    } else if (SlotOfName(name) != 0) {
        // Slot codes set by the parser (deeper levels) must not rebuild the string.
        if (NestingLevel == 1) RebuildWholeString(Parameters);
    }
}

void BuildBusParamWholeString(Parameters& Parameters) {
    auto wholeString = Get(Parameters, kSlaveBusParamSetWholeString);
    const std::string old = TextOf(wholeString->TransientValue);
    CheckUsable(old);
    std::string cfg;
    for (int32_t slot = 1; slot <= kSlaveBusParamSlots; ++slot)
        cfg += SlotCodeIdentifier(com::CInt(Get(Parameters, SlaveBusParamSlotName(slot))->TransientValue));
    std::string text = old.substr(0, kHeaderDigits) + Hex4(cfg.size() / 2 + 2) + cfg + GetTailAfterCfgData(*wholeString);
    if (text.size() > kMaxDigits) RaiseUnusable("longer than 65535 bytes");
    wholeString->TransientValue = Variant::Str(std::move(text));
}

std::string GetTailAfterCfgData(const clsDataElement& wholeString) {
    const std::string text = TextOf(wholeString.TransientValue);
    const size_t end = kHeaderDigits + 2 * CfgDataLen(text);
    return end < text.size() ? text.substr(end) : std::string();
}

void SetBusParamTotalLength(clsDataElement& wholeString) {
    const std::string text = TextOf(wholeString.TransientValue);
    const size_t bytes = static_cast<size_t>(vb::Len(text)) / 2;
    wholeString.TransientValue = Variant::Str(Hex4(bytes) + vb::Mid(text, 5));
}

void ParseBusParamWholeString(Parameters& Parameters) {
    const std::string text = TextOf(Get(Parameters, kSlaveBusParamSetWholeString)->TransientValue);
    CheckUsable(text);
    const std::string cfg = vb::UCase(text.substr(kCfgDataStart, 2 * (CfgDataLen(text) - 2)));
    size_t p = 0;
    for (int32_t slot = 1; slot <= kSlaveBusParamSlots; ++slot) {
        const std::string lead = p < cfg.size() ? cfg.substr(p, 2) : std::string();
        size_t width = 0;
        for (const SlotCodeRow& row : kSlotCodes)
            if (lead.size() == 2 && std::string_view(row.identifier).substr(0, 2) == lead) {
                width = std::strlen(row.identifier);
                break;
            }
        if (width == 0) break;  // not an identifier: the remaining slots keep their codes
        const std::string identifier = cfg.substr(p, width);
        int16_t code = 0;
        for (const SlotCodeRow& row : kSlotCodes)
            if (identifier == row.identifier) code = row.code;
        if (code == 0)
            for (const LeadCode& leadCode : kLeadCodes)
                if (lead == leadCode.lead) code = leadCode.code;
        if (code != 0) SetSlotCode(Parameters, slot, code);
        p += width;
    }
}

void BusParamBytesToWholeString(Parameters& Parameters) {
    auto wholeString = Get(Parameters, kSlaveBusParamSetWholeString);
    const Variant text = Variant::Str(BytesToHex(Get(Parameters, kBusMasterConfigurationPart)->TransientValue));
    if (IsSameValue(wholeString->TransientValue, text)) return;
    wholeString->TransientValue = text;
    Parameters.NotifyChange(wholeString, "");
}

void SwapSlaveIdentNumber(Parameters& Parameters, bool deviceOwn) {
    auto bytesElement = Get(Parameters, kBusMasterConfigurationPart);
    const Variant& value = bytesElement->TransientValue;
    if (!value.IsByteArray()) return;
    std::vector<uint8_t> bytes = value.ToBytes();
    if (bytes.size() < kIdentNumberByte + 2) return;
    const uint16_t from = deviceOwn ? kProfileIdentNumber : kDeviceIdentNumber;
    const uint16_t to = deviceOwn ? kDeviceIdentNumber : kProfileIdentNumber;
    const uint16_t current = static_cast<uint16_t>(bytes[kIdentNumberByte] << 8 | bytes[kIdentNumberByte + 1]);
    if (current != from) return;
    bytes[kIdentNumberByte] = static_cast<uint8_t>(to >> 8);
    bytes[kIdentNumberByte + 1] = static_cast<uint8_t>(to & 0xFF);
    bytesElement->TransientValue = Variant::ByteArray(bytes, value.LBound());
}

BusParamSetValues BusParamSetValuesOf(const Parameters& Parameters) {
    BusParamSetValues values{Get(Parameters, kBusMasterConfigurationPart)->TransientValue,
                             Get(Parameters, kSlaveBusParamSetWholeString)->TransientValue, {}};
    for (int32_t slot = 1; slot <= kSlaveBusParamSlots; ++slot)
        values.slotCodes.push_back(Get(Parameters, SlaveBusParamSlotName(slot))->TransientValue);
    return values;
}

void ReportChangedBusParamForm(Parameters& Parameters, const BusParamSetValues& before) {
    // The forms in the order in which they win.
    std::vector<std::pair<std::string, Variant>> forms = {{kSlaveBusParamSetWholeString, before.wholeString},
                                                          {kBusMasterConfigurationPart, before.bytes}};
    for (int32_t slot = 1; slot <= kSlaveBusParamSlots; ++slot)
        forms.emplace_back(SlaveBusParamSlotName(slot), before.slotCodes.at(static_cast<size_t>(slot - 1)));
    for (const auto& [path, old] : forms) {
        auto element = Get(Parameters, path);
        if (IsSameValue(element->TransientValue, old)) continue;
        // One report brings every form in line; a slot code rebuilds the set from all eight.
        Parameters.NotifyChange(element, "");
        return;
    }
}

void UpdateChannelSlots(const std::shared_ptr<platform::rt::DTMContext>& DTMContext) {
    auto& params = com::Deref(com::Deref(DTMContext).Parameters());
    auto& channels = com::Deref(params.Channels());
    int16_t slotsWithInput = 0;
    for (int32_t slot = 1; slot <= kSlaveBusParamSlots; ++slot) {
        const int16_t code = com::CInt(Get(params, SlaveBusParamSlotName(slot))->TransientValue);
        auto& value = com::Deref(std::dynamic_pointer_cast<clsChannel>(channels.Item(2 * slot - 1)));
        auto& status = com::Deref(std::dynamic_pointer_cast<clsChannel>(channels.Item(2 * slot)));
        const bool hasInput = SlotCodeHasInput(code);
        int16_t offset = 0;
        if (hasInput) offset = static_cast<int16_t>(kSlotInputBits * slotsWithInput++);
        value.Active(hasInput);
        value.ProfibusChannelParameter()->BitOffset(Variant::Int(offset));
        status.Active(hasInput);
        status.ProfibusChannelParameter()->BitOffset(Variant::Int(hasInput ? offset + kStatusBitOffset : 0));
    }
}

}  // namespace dtm

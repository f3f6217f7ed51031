#include "model/elements/clsDataElement.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>

#include "core/services/ConvStr.h"
#include "core/services/ProjectHelpers.h"
#include "model/elements/clsDataModel.h"
#include "model/elements/clsPROFIBUSProfil3Units.h"
#include "platform/com/Error.h"
#include "platform/com/VbText.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/Parameters.h"
#include "platform/rt/UserInfo.h"

namespace dtm {

using platform::P;
using platform::Variant;
namespace com = platform::com;
namespace vb = platform::com::vb;

namespace {

// Whether the first entry of the "|"-separated list that begins with the key is
// the key & `text` already. `barKey` is the key behind a "|": the entry is found
// by one search of the list instead of entry by entry.
bool IndexEntryIs(std::string_view list, std::string_view barKey, std::string_view text) {
    const std::string_view key = barKey.substr(1);
    size_t start = 0;
    if (!list.starts_with(key)) {
        // Every entry begins behind a "|": a search that skips by the key's
        // length passes most of them without looking at each.
        const auto at = std::search(list.begin(), list.end(),
                                    std::boyer_moore_horspool_searcher(barKey.begin(), barKey.end()));
        if (at == list.end()) return false;
        start = static_cast<size_t>(at - list.begin()) + 1;
    }
    const size_t bar = list.find('|', start);
    const std::string_view entry = list.substr(start, bar == std::string_view::npos ? bar : bar - start);
    return entry.size() == key.size() + text.size() && entry.ends_with(text);
}

constexpr int32_t kErrNotValid = 0x2000;
constexpr int32_t kErrOutOfRange = 0x4000;
constexpr int32_t kErrTooLong = 0x5000;
constexpr int32_t kErrBadCharacter = 0x6000;


bool IsNumericType(int32_t valueType) {
    return (valueType >= 2 && valueType <= 9) || valueType == 15 || valueType == 16;
}

// Limits of a numeric value type; false for types without limits.
bool TypeLimits(int32_t valueType, double& lo, double& hi) {
    switch (valueType) {
        case 2: lo = 0; hi = 255; return true;
        case 3: lo = 0; hi = 65535; return true;
        case 4: lo = 0; hi = 16777215; return true;
        case 5: lo = -32768; hi = 32767; return true;
        case 6: lo = -8388608; hi = 8388607; return true;
        case 7: lo = -2147483648.0; hi = 2147483647.0; return true;
        case 8: lo = -3.402823E+38; hi = 3.402823E+38; return true;
        case 9: lo = -1.79769313486231E+308; hi = 1.79769313486231E+308; return true;
        case 15: lo = -7.92281625142643E+28; hi = 7.92281625142643E+28; return true;
        case 16: lo = 0; hi = 4294967295.0; return true;
        default: return false;
    }
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// One whole number written with "." as decimal point, whatever the locale:
// blanks, sign, digits with one ".", an exponent E or D, blanks. Anything
// else (a second point, trailing letters) is not a number.
bool ParseDotNumber(const std::string& text, double& out) {
    size_t b = 0, e = text.size();
    while (b < e && IsBlank(text[b])) ++b;
    while (e > b && IsBlank(text[e - 1])) --e;
    std::string s;
    s.reserve(e - b);
    size_t i = b;
    if (i < e && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') s += '-';
        ++i;
    }
    size_t digits = 0;
    bool point = false;
    for (; i < e; ++i) {
        char c = text[i];
        if (c >= '0' && c <= '9') {
            ++digits;
            s += c;
        } else if (c == '.' && !point) {
            point = true;
            s += c;
        } else {
            break;
        }
    }
    if (digits == 0) return false;
    if (i < e && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
        s += 'e';
        ++i;
        if (i < e && (text[i] == '+' || text[i] == '-')) s += text[i++];
        size_t expDigits = 0;
        for (; i < e && text[i] >= '0' && text[i] <= '9'; ++i, ++expDigits) s += text[i];
        if (expDigits == 0) return false;
    }
    if (i != e) return false;
    auto res = std::from_chars(s.data(), s.data() + s.size(), out);
    return res.ec == std::errc() && res.ptr == s.data() + s.size() && std::isfinite(out);
}

// True when `value` lies within the bounds (an Empty bound is open; a Null
// comparison counts as outside).
bool InRange(const Variant& value, const Variant& minValue, const Variant& maxValue) {
    if (!minValue.IsEmpty()) {
        com::Cmp c = com::Compare(value, minValue);
        if (c == com::Cmp::Less || c == com::Cmp::Null) return false;
    }
    if (!maxValue.IsEmpty()) {
        com::Cmp c = com::Compare(value, maxValue);
        if (c == com::Cmp::Greater || c == com::Cmp::Null) return false;
    }
    return true;
}

// Key of a value-list entry: the number before its first ":", -1 when that is
// not a number.
int32_t EntryKey(const std::string& keyText) {
    Variant key(keyText);
    if (!com::IsNumeric(key)) return -1;
    try {
        return com::CLng(key);
    } catch (const com::ComError&) {
        return -1;
    }
}

}  // namespace

// ---- Ranges ----

bool clsDataElement::GetRange(int32_t rangeIndex, Variant& minValue, Variant& maxValue) const {
    if (rangeIndex < 0) return false;
    const size_t i = static_cast<size_t>(rangeIndex);
    if (i >= m_Ranges.size()) return false;
    minValue = m_Ranges[i].first;
    maxValue = m_Ranges[i].second;
    return !minValue.IsEmpty() || !maxValue.IsEmpty();
}

void clsDataElement::SetRange(int32_t rangeIndex, const Variant& minValue, const Variant& maxValue) {
    if (rangeIndex < 0) return;
    const size_t i = static_cast<size_t>(rangeIndex);
    if (!minValue.IsEmpty() || !maxValue.IsEmpty()) {
        if (m_Ranges.size() <= i) m_Ranges.resize(i + 1);
        m_Ranges[i] = {minValue, maxValue};
        return;
    }
    if (m_Ranges.size() <= i) return;
    for (size_t k = i; k + 1 < m_Ranges.size(); ++k) m_Ranges[k] = std::move(m_Ranges[k + 1]);
    m_Ranges.back() = {};
}

// ---- Values ----

Variant clsDataElement::GetTypedValue(const Variant& aValue) const {
    if (aValue.IsEmpty()) return Variant();
    const int32_t type = ValueType;
    if (type == 0) return Variant();
    try {
        switch (type) {
            case 1:
                if (aValue.IsByteArray()) return aValue;
                if (aValue.IsString()) return HexToBytes(aValue.StrRef());
                return Variant::Null();
            case 2: return Variant::Byte(com::CByte(aValue));
            case 3:
            case 4:
            case 6:
            case 7: return Variant::Lng(com::CLng(aValue));
            case 5: return Variant::Int(com::CInt(aValue));
            case 8:
            case 9: {
                Variant number = aValue;
                if (aValue.IsString() && aValue.StrRef().find('.') != std::string::npos) {
                    double d = 0;
                    if (!ParseDotNumber(aValue.StrRef(), d)) return Variant::Null();
                    number = Variant::Dbl(d);
                }
                if (type == 8) return Variant::Sng(com::CSng(number));
                return Variant::Dbl(com::CDbl(number));
            }
            case 10: return Variant::Bool(com::CBool(aValue));
            case 11:
            case 12:
            case 13: return com::CDate(aValue);
            case 14: return Variant(com::CStr(aValue));
            case 15: return Variant::Dec(com::CDbl(aValue));
            case 16: return Variant::Dbl(com::CDbl(aValue));
            default: return Variant::Null();
        }
    } catch (const com::ComError&) {
        return Variant::Null();
    }
}

int32_t clsDataElement::CalcParamErrorFlags(const Ctx& DTMContext, const Variant& aValue) const {
    const int32_t type = ValueType;
    if (type == 0) return 0;
    if (aValue.IsNull()) return kErrNotValid;

    Variant minValue, maxValue;
    if (type == 14) {
        const std::string text = com::CStr(aValue);
        const int32_t length = vb::Len(text);
        if (ValueTypeLength > 0 && length > ValueTypeLength) return kErrTooLong;
        if (!GetRange(0, minValue, maxValue)) return 0;
        for (int32_t pos = 1; pos <= length; ++pos) {
            const Variant code = Variant::Lng(vb::Asc(vb::Mid(text, pos, 1)));
            bool inside = false;
            for (int32_t r = 0; !inside && GetRange(r, minValue, maxValue); ++r)
                inside = InRange(code, minValue, maxValue);
            if (!inside) return kErrBadCharacter;
        }
        return 0;
    }
    if (type == 1) return 0;
    const bool numericType = IsNumericType(type);
    if (numericType && !com::IsNumeric(aValue)) return kErrNotValid;
    if (IsNaN(aValue)) return 0;

    if (GetRange(0, minValue, maxValue)) {
        // Ranges are stated in the initial unit; numbers are compared as
        // numbers even when they arrive as text.
        Variant checkValue = numericType ? Variant::Dbl(com::CDbl(aValue)) : aValue;
        if (nTransientUnit != kUnknownUnitCode && nInitUnit != kUnknownUnitCode && nTransientUnit != nInitUnit) {
            checkValue = Variant::Dbl(
                UnitsOf(DTMContext).CalculateUnitValue(com::CDbl(aValue), nTransientUnit, nInitUnit));
        }
        bool inside = false;
        for (int32_t r = 0; !inside && GetRange(r, minValue, maxValue); ++r)
            inside = InRange(checkValue, minValue, maxValue);
        if (!inside) return kErrOutOfRange;
    }

    double lo = 0, hi = 0;
    if (TypeLimits(type, lo, hi)) {
        const double v = com::CDbl(aValue);
        if (v < lo || v > hi) return kErrOutOfRange;
    }
    return 0;
}

int32_t clsDataElement::CalcParamStatusFlags(const Ctx&, const Variant& newValue) const {
    if (ValueType == 0) return 0;
    const auto unitCounts = [](int16_t unit) { return unit >= 1000 && unit <= 2000; };
    if (DeviceValue.IsEmpty() && PersistentValue.IsEmpty())
        return IsSameValue(newValue, InitialValue) && nTransientUnit == nInitUnit ? 0 : 4;
    if (!PersistentValue.IsEmpty()) {
        return IsSameValue(newValue, PersistentValue) &&
                       (!unitCounts(nPersistentUnit) || nPersistentUnit == nTransientUnit)
                   ? 0
                   : 4;
    }
    return IsSameValue(newValue, DeviceValue) && (!unitCounts(nDeviceUnit) || nDeviceUnit == nTransientUnit)
               ? 0
               : 4;
}

// ---- Value lists ----

std::string clsDataElement::GetBitListText(const std::string& list, int32_t value, bool bitMode) {
    std::string result;
    bool first = true;
    for (const std::string& entry : vb::Split(list, "|")) {
        const size_t colon = entry.find(':');
        if (colon == std::string::npos) continue;
        const int32_t key = EntryKey(entry.substr(0, colon));
        if (!bitMode) {
            if (key == value) return entry.substr(colon + 1);
            continue;
        }
        if (key < 0 || key > 31) continue;
        const uint32_t mask = uint32_t{1} << key;
        if (!first) result += ", ";
        first = false;
        result += (static_cast<uint32_t>(value) & mask) ? "[x] " : "[ ] ";
        result += entry.substr(colon + 1);
    }
    return result;
}

std::string clsDataElement::GetStrValueFromIdxList(int32_t aIndex) const {
    return GetBitListText(ValueList, aIndex, bBitEncoding);
}

void clsDataElement::SetStrValueFromIdxList(int32_t aIndex, const std::string& replaceString) {
    // Only an entry that begins with the key (at the start of the list or
    // behind "|") is the index's entry: index 1 never rewrites entry 11.
    char barKey[16] = {'|'};
    char* const end = std::to_chars(barKey + 1, barKey + sizeof barKey - 1, aIndex).ptr;
    *end = ':';
    const std::string_view barKeyView(barKey, static_cast<size_t>(end + 1 - barKey));
    if (IndexEntryIs(ValueList.str(), barKeyView, replaceString)) return;  // the list stays as it is
    const std::string key(barKeyView.substr(1));
    std::vector<std::string> entries = vb::Split(ValueList, "|");
    std::string oldEntry;
    bool found = false;
    for (const std::string& entry : entries) {
        if (entry.compare(0, key.size(), key) == 0) {
            oldEntry = entry;
            found = true;
            break;
        }
    }
    if (!found) return;
    for (std::string& entry : entries) {
        if (entry == oldEntry) entry = key + replaceString;
    }
    ValueList = vb::Join(entries, "|");
}

std::string clsDataElement::GetStrCommandErrorFromIndex(int32_t aIndex) const {
    return GetBitListText(CmdErrList, aIndex, false);
}

void clsDataElement::ReplaceValueListEntries() {
    // Most lists have no "none" at all: they are not split.
    if (ValueList.find("none") == std::string::npos) return;
    bool keyedNone = false;
    for (const std::string& entry : vb::Split(ValueList, "|")) {
        const size_t colon = entry.find(':');
        if (colon != std::string::npos && entry.compare(0, colon, "none") == 0) {
            keyedNone = true;
            break;
        }
    }
    if (!keyedNone) return;
    int64_t width = 0;  // 64-bit: eight times any length
    switch (ValueType) {
        case 1: width = int64_t{8} * ValueTypeLength; break;
        case 2: width = 8; break;
        case 3:
        case 5: width = 16; break;
        case 4:
        case 6:
        case 7: width = 32; break;
        default: return;
    }
    ValueList = vb::Replace(ValueList, "none", std::to_string(width));
}

std::string clsDataElement::GetValueLists(int32_t listIndex) const {
    // The parts between the ":{" marks, read in place: each part but the last
    // ends with a selector (behind the previous list's "}"), the next part
    // begins with that selector's list.
    const std::string_view text = ValueLists.str();
    constexpr std::string_view kOpen = ":{";
    size_t start = 0;
    for (size_t i = 0;; ++i) {
        const size_t open = text.find(kOpen, start);
        if (open == std::string_view::npos) return {};
        std::string_view selector = text.substr(start, open - start);
        if (i > 0) {
            const size_t brace = selector.find('}');
            if (brace != std::string_view::npos) selector = selector.substr(brace + 1);
        }
        start = open + kOpen.size();
        if (com::CLng(Variant(std::string(selector))) == listIndex) {
            const size_t nextOpen = text.find(kOpen, start);
            const std::string_view next =
                text.substr(start, nextOpen == std::string_view::npos ? nextOpen : nextOpen - start);
            return std::string(next.substr(0, next.find('}')));
        }
    }
}

P<clsDataElement> clsDataElement::GetParentParameter(const P<platform::rt::Parameters>& Parameters) const {
    if (!Parameters || Name.size() < 2) return nullptr;
    const size_t slash = Name.rfind('/', Name.size() - 2);
    if (slash == std::string::npos || slash == 0) return nullptr;
    return std::dynamic_pointer_cast<clsDataElement>(Parameters->Find(std::string_view(Name).substr(0, slash + 1)));
}

// ---- Status flags ----

int32_t clsDataElement::StatusFlags() const { return m_StatusFlags & ~kPrivateFlagsMask; }

void clsDataElement::StatusFlags(int32_t value) {
    SetAllFlags((m_StatusFlags & kPrivateFlagsMask) | (value & ~kPrivateFlagsMask));
}

void clsDataElement::SetStatusFlag(int32_t StatusFlag) { SetAllFlags(m_StatusFlags | (StatusFlag & ~kPrivateFlagsMask)); }

void clsDataElement::ClearStatusFlag(int32_t StatusFlag) {
    SetAllFlags(m_StatusFlags & ~(StatusFlag & ~kPrivateFlagsMask));
}

void clsDataElement::SetAllFlags(int32_t flags) {
    if (flags == m_StatusFlags) return;
    m_StatusFlags = flags;
    Written();
}

bool clsDataElement::Validity() const { return (m_StatusFlags & kValidityFlag) != 0; }

void clsDataElement::Validity(bool value) {
    SetAllFlags(value ? (m_StatusFlags | kValidityFlag) : (m_StatusFlags & ~kValidityFlag));
}

bool clsDataElement::ParamOptional() const { return (m_StatusFlags & kParamOptionalFlag) != 0; }

void clsDataElement::ParamOptional(bool value) {
    SetAllFlags(value ? (m_StatusFlags | kParamOptionalFlag) : (m_StatusFlags & ~kParamOptionalFlag));
}

bool clsDataElement::ParamDynamic() const { return (m_StatusFlags & kParamDynamicFlag) != 0; }

void clsDataElement::ParamDynamic(bool value) {
    SetAllFlags(value ? (m_StatusFlags | kParamDynamicFlag) : (m_StatusFlags & ~kParamDynamicFlag));
}

void clsDataElement::ControlType(int32_t value) {
    if (m_ControlType != value) m_ControlType = value;
}

// ---- Unit text ----

std::string clsDataElement::UnitString(const Ctx& DTMContext) const {
    if (nTransientUnit == 0) return {};
    std::string text = UnitsOf(DTMContext).PROFIBUSProfil3UnitString(nTransientUnit);
    if (text.empty()) return "#" + std::to_string(nTransientUnit);
    return text;
}

void clsDataElement::UnitString(const Ctx& DTMContext, const std::string& New_UnitString) {
    if (vb::Left(New_UnitString, 1) == "#") {
        nTransientUnit = com::CInt(Variant(vb::Mid(New_UnitString, 2)));
        return;
    }
    // An empty text is "no unit", as the Get shows unit 0.
    if (vb::Trim(New_UnitString).empty()) {
        nTransientUnit = 0;
        return;
    }
    nTransientUnit = static_cast<int16_t>(UnitsOf(DTMContext).PROFIBUSProfil3UnitIndex(New_UnitString));
}

// ---- IPrivateDataElement ----

bool clsDataElement::InitNew(P<platform::rt::DtmRuntimeGlobal>, Ctx) {
    TransientValue = InitialValue;
    PersistentValue = Variant();
    DeviceValue = Variant();
    nTransientUnit = nInitUnit;
    return true;
}

bool clsDataElement::ExcludedByIdentNumber(const Ctx& DTMContext) const {
    if (Slot < 5 || (BlockType != pbfFunctionAIBlock && BlockType != pbfFunctionTOTBlock)) return false;
    const auto& parameters = com::Deref(com::Deref(DTMContext).Parameters());
    const auto owner = parameters.DataModel();
    const auto* model = dynamic_cast<const clsDataModel*>(owner.get());
    if (model && model->IdentNumberSelector())
        return com::CompareTo(model->IdentNumberSelector()->TransientValue, 0) == com::Cmp::Equal;
    platform::rt::El selector = parameters.Item(kIdentNumberSelectorPath);
    return com::CompareTo(selector->TransientValue(), 0) == com::Cmp::Equal;
}

bool clsDataElement::UserMayWrite(const Ctx& DTMContext) const {
    return com::Deref(com::Deref(DTMContext).UserInfo()).UserLevel() >= RequiredUserLevel;
}

bool clsDataElement::IsUploadParam(const Ctx& DTMContext) {
    return (ElementMode & kModeUpload) != 0 && !ExcludedByIdentNumber(DTMContext);
}

bool clsDataElement::IsDownloadParam(const Ctx& DTMContext) {
    return (ElementMode & kModeDownload) != 0 && (ElementMode & kModeCommand) == 0 && UserMayWrite(DTMContext) &&
           !ExcludedByIdentNumber(DTMContext);
}

bool clsDataElement::IsDeviceCommand(Ctx DTMContext) {
    return (ElementMode & kModeCommand) != 0 && UserMayWrite(DTMContext);
}

}  // namespace dtm

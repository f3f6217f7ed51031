#include "core/services/ProjectHelpers.h"

#include <cmath>
#include <cstring>

#include "platform/ctl/ctlParameter.h"

namespace dtm {
using namespace platform::com;

bool IsNaN(const Variant& value) {
    switch (value.Type()) {
        case VarType::Single: return !std::isfinite(CSng(value));
        case VarType::Double: return !std::isfinite(CDbl(value));
        default: return false;
    }
}

namespace {

// A Single or Double NaN (IsNaN also answers True for infinities).
bool IsFloatingType(VarType type) { return type == VarType::Single || type == VarType::Double; }

// Elements of two arrays differ only when the comparison says so; a Null
// comparison does not count as a difference.
bool ArraysMatch(const Variant& a, const Variant& b) {
    if (!a.IsArray() || !b.IsArray()) return false;
    if (a.LBound() != b.LBound() || a.UBound() != b.UBound()) return false;
    // Bytes compare as their values: the same bytes, the same array.
    if (a.IsByteArray() && b.IsByteArray()) return a.BytesRef() == b.BytesRef();
    for (int32_t i = a.LBound(); i <= a.UBound(); ++i) {
        const Cmp c = Compare(a.At(i), b.At(i));
        if (c == Cmp::Less || c == Cmp::Greater) return false;
    }
    return true;
}

bool IsWholeNumberType(VarType type) {
    return type == VarType::Integer || type == VarType::Long || type == VarType::Byte;
}

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

bool IsSameValue(const Variant& first, const Variant& second) {
    if (first.IsArray() || second.IsArray()) return ArraysMatch(first, second);
    if (first.IsNull() || second.IsNull()) return first.IsNull() && second.IsNull();
    if (first.IsEmpty() || second.IsEmpty()) return first.IsEmpty() && second.IsEmpty();
    // Only two NaNs are the same "not a number"; infinities compare by their
    // text forms like every other number, so +Inf and -Inf differ.
    // A floating value's number is taken once, for both questions.
    const bool firstFloating = IsFloatingType(first.Type());
    const bool secondFloating = IsFloatingType(second.Type());
    const double firstNumber = firstFloating ? CDbl(first) : 0.0;
    const double secondNumber = secondFloating ? CDbl(second) : 0.0;
    const bool firstNaN = firstFloating && std::isnan(firstNumber);
    const bool secondNaN = secondFloating && std::isnan(secondNumber);
    if (firstNaN || secondNaN) return firstNaN && secondNaN;
    // Whole numbers have one text per value, and one floating value of one
    // subtype one text: those are decided without the texts.
    if (IsWholeNumberType(first.Type()) && IsWholeNumberType(second.Type())) return CLng(first) == CLng(second);
    if (first.Type() == second.Type() && firstFloating && SameBits(firstNumber, secondNumber)) return true;
    if (IsNumeric(first) && IsNumeric(second)) return CStr(first) == CStr(second);
    return Compare(first, second) == Cmp::Equal;
}

namespace {

std::string Bits(uint32_t pattern, int width) {
    std::string out;
    for (int bit = 0; bit < width; ++bit) {
        if (bit) out += '|';
        out += ((pattern >> bit) & 1u) ? '1' : '0';
    }
    return out;
}

}  // namespace

std::string ValueToBitString(const Variant& value) {
    if (value.IsArray()) {
        if (!value.IsByteArray()) return {};
        std::string out;
        for (uint8_t b : value.ToBytes()) {
            if (!out.empty()) out += '|';
            out += Bits(b, 8);
        }
        return out;
    }
    switch (value.Type()) {
        case VarType::Byte: return Bits(CByte(value), 8);
        case VarType::Integer: return Bits(static_cast<uint16_t>(CInt(value)), 16);
        case VarType::Long: return Bits(static_cast<uint32_t>(CLng(value)), 32);
        case VarType::Double: return Bits(static_cast<uint32_t>(LowLong(value)), 32);
        default: return {};
    }
}

int32_t LowLong(const Variant& value) {
    const double rounded = std::nearbyint(CDbl(value));  // halves to even
    if (!std::isfinite(rounded)) Raise(errOverflow);
    double low = std::fmod(rounded, 4294967296.0);  // exact, sign of the value
    if (low < 0) low += 4294967296.0;
    return static_cast<int32_t>(static_cast<uint32_t>(low));
}

void RemoveLabelUnits(const std::vector<platform::P<platform::ui::Control>>& controls) {
    for (const auto& control : controls) {
        auto parameter = std::dynamic_pointer_cast<platform::ctl::ctlParameter>(control);
        if (!parameter) continue;
        const std::string& label = parameter->LabelText();
        const auto bracket = label.find('(');
        if (bracket != std::string::npos) parameter->LabelText(label.substr(0, bracket));
    }
}

void SplitMilliseconds(int32_t milliseconds, int16_t& hours, int16_t& minutes, int16_t& seconds) {
    hours = static_cast<int16_t>(milliseconds / 3600000);
    minutes = static_cast<int16_t>((milliseconds % 3600000) / 60000);
    seconds = static_cast<int16_t>((milliseconds % 60000) / 1000);
}

}  // namespace dtm

#include "platform/com/Variant.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <type_traits>
#include <utility>

#include "platform/com/VbText.h"

namespace platform::com {

namespace {

// Largest Decimal: 2^96 - 1, which as a double is 2^96.
constexpr double kMaxDecimal = 79228162514264337593543950335.0;
// Date serials from 0100-01-01 00:00:00 to 9999-12-31 23:59:59 lie strictly between these.
constexpr double kDateLow = -657435.0;
constexpr double kDateHigh = 2958466.0;

char g_decimalSeparator = '.';

// Rounds half to even without depending on the floating-point environment.
template <class T>
T RoundHalfEven(T x) {
    const T below = std::floor(x);
    const T diff = x - below;
    if (diff > T(0.5)) return below + 1;
    if (diff < T(0.5)) return below;
    return std::fmod(below, T(2)) == 0 ? below : below + 1;
}

int64_t FloorDiv(int64_t a, int64_t b) {
    const int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// Days since 1970-01-01 of a proleptic Gregorian date.
constexpr int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2 ? 1 : 0;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

struct CivilDate {
    int64_t year;
    unsigned month, day;
};

constexpr CivilDate CivilFromDays(int64_t z) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<int64_t>(yoe) + era * 400 + (m <= 2 ? 1 : 0), m, d};
}

constexpr int64_t kSerialZero = DaysFromCivil(1899, 12, 30);

bool IsLeap(int64_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

unsigned DaysInMonth(int64_t y, unsigned m) {
    static const unsigned days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : days[m - 1];
}

// The serial of day `day` plus a time fraction: before 1899-12-30 the fraction
// counts away from zero.
double MakeSerial(int64_t day, double fraction) {
    return day < 0 ? static_cast<double>(day) - fraction : static_cast<double>(day) + fraction;
}

bool IsDateSerial(double serial) { return serial > kDateLow && serial < kDateHigh; }

// Splits a serial, rounding the time to `ticksPerDay` (86400 or 86400000).
DateParts SplitSerial(double serial, int64_t ticksPerDay) {
    if (!IsDateSerial(serial)) Raise(errOverflow);
    const double dayPart = std::trunc(serial);
    auto day = static_cast<int64_t>(dayPart);
    int64_t ticks = std::llround(std::fabs(serial - dayPart) * static_cast<double>(ticksPerDay));
    if (ticks >= ticksPerDay) {  // rounded up to midnight: the next calendar day
        ticks -= ticksPerDay;
        ++day;
    }
    const int64_t ms = ticksPerDay == 86400 ? ticks * 1000 : ticks;
    const CivilDate c = CivilFromDays(day + kSerialZero);
    DateParts p{};
    p.year = static_cast<int>(c.year);
    p.month = static_cast<int>(c.month);
    p.day = static_cast<int>(c.day);
    p.hour = static_cast<int>(ms / 3600000);
    p.minute = static_cast<int>(ms / 60000 % 60);
    p.second = static_cast<int>(ms / 1000 % 60);
    p.millisecond = static_cast<int>(ms % 1000);
    p.weekday = static_cast<int>((day % 7 + 7 + 6) % 7 + 1);  // day 0 was a Saturday (7)
    return p;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

enum class NumberParse { Ok, Invalid, Overflow };

// The one number parser: blanks, sign, digits with an optional decimal
// separator, exponent E or D, blanks. Too small a value reads as 0.
NumberParse ParseNumberText(const std::string& text, double& out) {
    const char sep = g_decimalSeparator;
    const size_t n = text.size();
    size_t i = 0;
    while (i < n && text[i] == ' ') ++i;
    std::string number;  // normalised for from_chars: '.' and 'e', no '+'
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') number += '-';
        ++i;
    }
    size_t mantissaDigits = 0;
    long order = 0;  // decimal exponent of the first significant digit, plus one
    bool significant = false;
    for (; i < n && IsDigit(text[i]); ++i, ++mantissaDigits) {
        number += text[i];
        if (text[i] != '0') significant = true;
        if (significant) ++order;
    }
    if (i < n && text[i] == sep) {
        number += '.';
        for (++i; i < n && IsDigit(text[i]); ++i, ++mantissaDigits) {
            number += text[i];
            if (!significant) {
                if (text[i] != '0') significant = true;
                else --order;
            }
        }
    }
    if (mantissaDigits == 0) return NumberParse::Invalid;
    long exponent = 0;
    if (i < n && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
        number += 'e';
        ++i;
        bool negative = false;
        if (i < n && (text[i] == '+' || text[i] == '-')) {
            negative = text[i] == '-';
            number += text[i++];
        }
        size_t expDigits = 0;
        for (; i < n && IsDigit(text[i]); ++i, ++expDigits) {
            number += text[i];
            if (exponent < 1000000) exponent = exponent * 10 + (text[i] - '0');
        }
        if (expDigits == 0) return NumberParse::Invalid;
        if (negative) exponent = -exponent;
    }
    while (i < n && text[i] == ' ') ++i;
    if (i != n) return NumberParse::Invalid;

    double value = 0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        if (order + exponent > 0) return NumberParse::Overflow;
        value = number[0] == '-' ? -0.0 : 0.0;
    } else if (result.ec != std::errc() || result.ptr != number.data() + number.size()) {
        return NumberParse::Invalid;
    }
    out = value;
    return NumberParse::Ok;
}

double ParseOrRaise(const std::string& text) {
    double value = 0;
    switch (ParseNumberText(text, value)) {
        case NumberParse::Ok: return value;
        case NumberParse::Overflow: Raise(errOverflow);
        case NumberParse::Invalid: break;
    }
    Raise(errTypeMismatch);
}

// Blanks-trimmed, ASCII case-insensitive equality with a lower-case word.
bool IsWord(const std::string& text, const char* lowerWord) {
    size_t b = 0, e = text.size();
    while (b < e && text[b] == ' ') ++b;
    while (e > b && text[e - 1] == ' ') --e;
    size_t k = 0;
    for (; b < e; ++b, ++k) {
        const char c = text[b];
        const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        if (lowerWord[k] == '\0' || lower != lowerWord[k]) return false;
    }
    return lowerWord[k] == '\0';
}

// Reads up to `maxDigits` digits (at least one) from text[i].
bool ReadNumberField(const std::string& text, size_t& i, size_t minDigits, size_t maxDigits, int& out) {
    size_t count = 0;
    out = 0;
    while (i < text.size() && IsDigit(text[i]) && count < maxDigits) {
        out = out * 10 + (text[i++] - '0');
        ++count;
    }
    return count >= minDigits && !(i < text.size() && IsDigit(text[i]));
}

// "hh:nn[:ss]" from text[i]; seconds of the day.
bool ReadTime(const std::string& text, size_t& i, int& seconds) {
    int h = 0, n = 0, s = 0;
    if (!ReadNumberField(text, i, 1, 2, h) || i >= text.size() || text[i] != ':') return false;
    ++i;
    if (!ReadNumberField(text, i, 1, 2, n)) return false;
    if (i < text.size() && text[i] == ':') {
        ++i;
        if (!ReadNumberField(text, i, 1, 2, s)) return false;
    }
    if (h > 23 || n > 59 || s > 59) return false;
    seconds = h * 3600 + n * 60 + s;
    return true;
}

// "yyyy-mm-dd[ hh:nn[:ss]]" or "hh:nn[:ss]", surrounded by blanks.
bool ParseDateText(const std::string& text, double& serial) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    const size_t start = i;
    int64_t day = 0;
    int seconds = 0;
    int y = 0, m = 0, d = 0;
    if (ReadNumberField(text, i, 4, 4, y) && i < text.size() && text[i] == '-') {
        ++i;
        if (!ReadNumberField(text, i, 1, 2, m) || i >= text.size() || text[i] != '-') return false;
        ++i;
        if (!ReadNumberField(text, i, 1, 2, d)) return false;
        if (y < 100 || m < 1 || m > 12 || d < 1 || static_cast<unsigned>(d) > DaysInMonth(y, static_cast<unsigned>(m))) {
            return false;
        }
        day = DaysFromCivil(y, static_cast<unsigned>(m), static_cast<unsigned>(d)) - kSerialZero;
        // The time follows blanks, or the "T" of the XML form written into FDT documents.
        if (i < text.size() && text[i] == 'T') {
            ++i;
            if (!ReadTime(text, i, seconds)) return false;
        } else {
            size_t j = i;
            while (j < text.size() && text[j] == ' ') ++j;
            if (j > i && j < text.size()) {
                i = j;
                if (!ReadTime(text, i, seconds)) return false;
            }
        }
    } else {
        i = start;
        if (!ReadTime(text, i, seconds)) return false;
    }
    while (i < text.size() && text[i] == ' ') ++i;
    if (i != text.size()) return false;
    serial = MakeSerial(day, seconds / 86400.0);
    return true;
}

bool IsValidElementType(VarType t) {
    switch (t) {
        case VarType::Integer:
        case VarType::Long:
        case VarType::Single:
        case VarType::Double:
        case VarType::Currency:
        case VarType::Date:
        case VarType::String:
        case VarType::Object:
        case VarType::Boolean:
        case VarType::Variant:
        case VarType::Decimal:
        case VarType::Byte:
            return true;
        default:
            return false;
    }
}

Variant ZeroOf(VarType t) {
    switch (t) {
        case VarType::Integer: return Variant::Int(0);
        case VarType::Long: return Variant::Lng(0);
        case VarType::Single: return Variant::Sng(0);
        case VarType::Double: return Variant::Dbl(0);
        case VarType::Currency: return Variant::Cur(0);
        case VarType::Date: return Variant::Date(0);
        case VarType::String: return Variant::Str({});
        case VarType::Object: return Variant::Obj(nullptr);
        case VarType::Boolean: return Variant::Bool(false);
        case VarType::Decimal: return Variant::Dec(0);
        case VarType::Byte: return Variant::Byte(0);
        default: return Variant();
    }
}

const char* TypeNameOf(VarType t) {
    switch (t) {
        case VarType::Empty: return "Empty";
        case VarType::Null: return "Null";
        case VarType::Integer: return "Integer";
        case VarType::Long: return "Long";
        case VarType::Single: return "Single";
        case VarType::Double: return "Double";
        case VarType::Currency: return "Currency";
        case VarType::Date: return "Date";
        case VarType::String: return "String";
        case VarType::Object: return "Object";
        case VarType::Error: return "Error";
        case VarType::Boolean: return "Boolean";
        case VarType::Variant: return "Variant";
        case VarType::Decimal: return "Decimal";
        case VarType::Byte: return "Byte";
        default: return "Unknown";
    }
}

constexpr int64_t kMaxElements = std::numeric_limits<int32_t>::max();

// Number of elements of lbound..ubound; below zero or more than a Long counts → 9.
size_t ElementCount(int32_t lbound, int32_t ubound) {
    const int64_t count = static_cast<int64_t>(ubound) - lbound + 1;
    if (count < 0 || count > kMaxElements) Raise(errSubscript);
    return static_cast<size_t>(count);
}

// `count` elements from `lbound` must end at an upper bound that a Long holds
// (an empty array needs lbound - 1, which the lowest Long does not have) → 9.
void CheckBounds(int32_t lbound, size_t count) {
    if (count > static_cast<size_t>(kMaxElements)) Raise(errSubscript);
    const int64_t ubound = static_cast<int64_t>(lbound) + static_cast<int64_t>(count) - 1;
    if (ubound < std::numeric_limits<int32_t>::min() || ubound > std::numeric_limits<int32_t>::max()) {
        Raise(errSubscript);
    }
}

Cmp CompareDoubles(double a, double b) {
    // NaN equals NaN and lies above every number, so arrays holding NaN still compare.
    const bool nanA = std::isnan(a), nanB = std::isnan(b);
    if (nanA || nanB) return nanA == nanB ? Cmp::Equal : (nanA ? Cmp::Greater : Cmp::Less);
    if (a < b) return Cmp::Less;
    if (a > b) return Cmp::Greater;
    return Cmp::Equal;
}

Cmp CompareStrings(const std::string& a, const std::string& b) {
    const int c = a.compare(b);  // char_traits<char> compares bytes as unsigned char
    return c < 0 ? Cmp::Less : (c > 0 ? Cmp::Greater : Cmp::Equal);
}

bool SameDouble(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
    return a == b && std::signbit(a) == std::signbit(b);
}

}  // namespace

// Payload access for this file. Each accessor expects the subtype that holds it.
struct VariantAccess {
    static const Variant::Num& NumOf(const Variant& v) { return std::get<Variant::Num>(v.payload_); }
    static const std::string& StrOf(const Variant& v) { return std::get<std::string>(v.payload_); }
    static const std::shared_ptr<Object>& ObjOf(const Variant& v) {
        return std::get<std::shared_ptr<Object>>(v.payload_);
    }
    static const SafeArray& ArrOf(const Variant& v) { return *std::get<std::unique_ptr<SafeArray>>(v.payload_); }
    // A number, a Date or a Boolean: a payload that reads as a number.
    static bool IsNumeric(const Variant& v) {
        return v.IsNumberType() || v.type_ == VarType::Date || v.type_ == VarType::Boolean;
    }
    // The exact value of a number, Date or Boolean (-1/0) subtype.
    static double Number(const Variant& v) {
        const Variant::Num& n = NumOf(v);
        switch (v.type_) {
            case VarType::Integer: return n.i16;
            case VarType::Long: return n.i32;
            case VarType::Byte: return n.u8;
            case VarType::Single: return n.f32;
            case VarType::Boolean: return n.b ? -1.0 : 0.0;
            default: return n.f64;
        }
    }
    static float SingleValue(const Variant& v) { return NumOf(v).f32; }
    static SafeArray& MutableArray(Variant& v) {
        if (v.type_ != VarType::Array) Raise(errTypeMismatch);
        return *std::get<std::unique_ptr<SafeArray>>(v.payload_);
    }
    static bool SamePayload(const Variant& a, const Variant& b) {
        switch (a.type_) {
            case VarType::Empty:
            case VarType::Null:
            case VarType::Error:
                return true;
            case VarType::Integer: return NumOf(a).i16 == NumOf(b).i16;
            case VarType::Long: return NumOf(a).i32 == NumOf(b).i32;
            case VarType::Byte: return NumOf(a).u8 == NumOf(b).u8;
            case VarType::Boolean: return NumOf(a).b == NumOf(b).b;
            case VarType::Single: return SameDouble(NumOf(a).f32, NumOf(b).f32);
            case VarType::String: return StrOf(a) == StrOf(b);
            case VarType::Object: return ObjOf(a) == ObjOf(b);
            case VarType::Array: {
                const SafeArray& x = ArrOf(a);
                const SafeArray& y = ArrOf(b);
                if (x.elementType != y.elementType || x.lbound != y.lbound || x.size() != y.size()) return false;
                if (x.elementType == VarType::Byte) return x.bytes == y.bytes;
                for (size_t i = 0; i < x.items.size(); ++i) {
                    if (!Identical(x.items[i], y.items[i])) return false;
                }
                return true;
            }
            default: return SameDouble(NumOf(a).f64, NumOf(b).f64);
        }
    }
};

namespace {

std::unique_ptr<SafeArray> MakeArray(VarType elementType, int32_t lbound, std::vector<Variant> items) {
    return std::make_unique<SafeArray>(SafeArray{elementType, lbound, std::move(items), {}});
}

std::unique_ptr<SafeArray> MakeByteArray(int32_t lbound, std::vector<uint8_t> bytes) {
    return std::make_unique<SafeArray>(SafeArray{VarType::Byte, lbound, {}, std::move(bytes)});
}

// The value of `v` for a numeric conversion: Empty 0, Boolean -1/0, a String parsed.
double ConversionValue(const Variant& v) {
    if (VariantAccess::IsNumeric(v)) return VariantAccess::Number(v);
    switch (v.Type()) {
        case VarType::Empty: return 0;
        case VarType::Null: Raise(errInvalidNull);
        case VarType::String: return ParseOrRaise(v.StrRef());
        default: Raise(errTypeMismatch);
    }
}

template <class T>
T ToIntegral(const Variant& v) {
    const double x = ConversionValue(v);
    if (std::isnan(x)) Raise(errOverflow);
    const double r = RoundHalfEven(x);
    if (!(r >= static_cast<double>(std::numeric_limits<T>::min()) &&
          r <= static_cast<double>(std::numeric_limits<T>::max()))) {
        Raise(errOverflow);
    }
    return static_cast<T>(r);
}

}  // namespace

// ---- Variant ----

// One tag, and the numeric value sharing storage with the string, object and array.
static_assert(sizeof(Variant) <= 48, "Variant is embedded in every parameter element: keep it small");
static_assert(std::is_nothrow_move_constructible_v<Variant> && std::is_nothrow_move_assignable_v<Variant>);

Variant::Variant() noexcept = default;

Variant::Variant(VarType type, Payload payload) noexcept : payload_(std::move(payload)), type_(type) {}

Variant::Variant(const Variant& o)
    : payload_(std::visit(
          [](const auto& p) -> Payload {
              if constexpr (std::is_same_v<std::decay_t<decltype(p)>, std::unique_ptr<SafeArray>>) {
                  return std::make_unique<SafeArray>(*p);  // arrays are copied, as VB does
              } else {
                  return p;
              }
          },
          o.payload_)),
      type_(o.type_) {}

Variant::Variant(Variant&& o) noexcept : payload_(std::move(o.payload_)), type_(o.type_) {
    o.type_ = VarType::Empty;
    o.payload_ = Num{};
}

Variant& Variant::operator=(const Variant& o) {
    if (this == &o) return *this;
    // A number over a number, a text over a text: in place, without a temporary.
    if (auto* num = std::get_if<Num>(&payload_)) {
        if (const auto* from = std::get_if<Num>(&o.payload_)) {
            *num = *from;
            type_ = o.type_;
            return *this;
        }
    } else if (auto* text = std::get_if<std::string>(&payload_)) {
        if (const auto* from = std::get_if<std::string>(&o.payload_)) {
            *text = *from;
            type_ = o.type_;
            return *this;
        }
    }
    *this = Variant(o);
    return *this;
}

Variant& Variant::operator=(Variant&& o) noexcept {
    if (this == &o) return *this;
    if (auto* num = std::get_if<Num>(&payload_)) {
        if (const auto* from = std::get_if<Num>(&o.payload_)) {
            *num = *from;
            type_ = o.type_;
            o.type_ = VarType::Empty;
            o.payload_ = Num{};
            return *this;
        }
    }
    {
        // `o` may live inside this Variant's array: take it out before the old payload goes.
        Variant taken(std::move(o));
        std::swap(type_, taken.type_);
        payload_.swap(taken.payload_);
    }
    return *this;
}

Variant::~Variant() = default;

Variant::Variant(std::string s) : payload_(std::move(s)), type_(VarType::String) {}

Variant::Variant(const char* s) : payload_(std::in_place_type<std::string>, s ? s : ""), type_(VarType::String) {}

Variant Variant::Null() { return Variant(VarType::Null, Num{}); }

Variant Variant::Missing() { return Variant(VarType::Error, Num{.i32 = static_cast<int32_t>(0x80020004u)}); }

Variant Variant::Int(int16_t x) { return Variant(VarType::Integer, Num{.i16 = x}); }

Variant Variant::Lng(int32_t x) { return Variant(VarType::Long, Num{.i32 = x}); }

Variant Variant::Byte(uint8_t x) { return Variant(VarType::Byte, Num{.u8 = x}); }

Variant Variant::Sng(float x) { return Variant(VarType::Single, Num{.f32 = x}); }

Variant Variant::Dbl(double x) { return Variant(VarType::Double, Num{.f64 = x}); }

Variant Variant::Cur(double x) {
    if (!std::isfinite(x)) Raise(errOverflow);
    // The product of a double and 10000 fits the 64-bit mantissa exactly, so
    // rounding is exact and applying Cur to its own result changes nothing.
    const long double scaled = RoundHalfEven(static_cast<long double>(x) * 10000.0L);
    if (scaled > 9223372036854775807.0L || scaled < -9223372036854775808.0L) Raise(errOverflow);
    return Variant(VarType::Currency, Num{.f64 = scaled == 0 ? 0.0 : static_cast<double>(scaled / 10000.0L)});
}

Variant Variant::Dec(double x) {
    if (!(std::fabs(x) <= kMaxDecimal)) Raise(errOverflow);
    return Variant(VarType::Decimal, Num{.f64 = x});
}

Variant Variant::Date(double serial) {
    if (!IsDateSerial(serial)) Raise(errOverflow);
    return Variant(VarType::Date, Num{.f64 = serial});
}

Variant Variant::Bool(bool x) { return Variant(VarType::Boolean, Num{.b = x}); }

Variant Variant::Str(std::string s) { return Variant(std::move(s)); }

Variant Variant::Obj(std::shared_ptr<Object> p) { return Variant(VarType::Object, std::move(p)); }

Variant Variant::Array(VarType elementType, int32_t lbound, int32_t ubound) {
    if (!IsValidElementType(elementType)) Raise(errInvalidArgument);
    const size_t count = ElementCount(lbound, ubound);
    if (elementType == VarType::Byte) {
        return Variant(VarType::Array, MakeByteArray(lbound, std::vector<uint8_t>(count, 0)));
    }
    return Variant(VarType::Array, MakeArray(elementType, lbound, std::vector<Variant>(count, ZeroOf(elementType))));
}

Variant Variant::ByteArray(std::vector<uint8_t> bytes, int32_t lbound) {
    CheckBounds(lbound, bytes.size());
    return Variant(VarType::Array, MakeByteArray(lbound, std::move(bytes)));
}

Variant Variant::VariantArray(std::vector<Variant> items, int32_t lbound) {
    CheckBounds(lbound, items.size());
    return Variant(VarType::Array, MakeArray(VarType::Variant, lbound, std::move(items)));
}

int32_t Variant::VarTypeCode() const noexcept {
    if (type_ == VarType::Array) {
        return static_cast<int32_t>(VarType::Array) | static_cast<int32_t>(VariantAccess::ArrOf(*this).elementType);
    }
    return static_cast<int32_t>(type_);
}

VarType Variant::ElementType() const { return ArrayRef().elementType; }

bool Variant::IsByteArray() const noexcept {
    return type_ == VarType::Array && VariantAccess::ArrOf(*this).elementType == VarType::Byte;
}

bool Variant::IsNothing() const noexcept { return type_ == VarType::Object && !VariantAccess::ObjOf(*this); }

bool Variant::IsNumberType() const noexcept {
    switch (type_) {
        case VarType::Integer:
        case VarType::Long:
        case VarType::Byte:
        case VarType::Single:
        case VarType::Double:
        case VarType::Currency:
        case VarType::Decimal:
            return true;
        default:
            return false;
    }
}

const std::string& Variant::StrRef() const {
    if (type_ != VarType::String) Raise(errTypeMismatch);
    return VariantAccess::StrOf(*this);
}

std::shared_ptr<Object> Variant::ObjRef() const {
    if (type_ != VarType::Object) Raise(errTypeMismatch);
    return VariantAccess::ObjOf(*this);
}

double Variant::DateSerial() const {
    if (type_ != VarType::Date) Raise(errTypeMismatch);
    return VariantAccess::NumOf(*this).f64;
}

const SafeArray& Variant::ArrayRef() const {
    if (type_ != VarType::Array) Raise(errTypeMismatch);
    return VariantAccess::ArrOf(*this);
}

int32_t Variant::LBound() const { return ArrayRef().lbound; }

// Every array's bounds fit a Long (ByteArray, VariantArray, ElementCount check them).
int32_t Variant::UBound() const {
    const SafeArray& a = ArrayRef();
    return static_cast<int32_t>(static_cast<int64_t>(a.lbound) + static_cast<int64_t>(a.size()) - 1);
}

int32_t Variant::Count() const { return static_cast<int32_t>(ArrayRef().size()); }

namespace {
size_t SlotOf(const SafeArray& a, int32_t index) {
    const int64_t offset = static_cast<int64_t>(index) - a.lbound;
    if (offset < 0 || offset >= static_cast<int64_t>(a.size())) Raise(errSubscript);
    return static_cast<size_t>(offset);
}
}  // namespace

Variant Variant::At(int32_t index) const {
    const SafeArray& a = ArrayRef();
    const size_t slot = SlotOf(a, index);
    return a.elementType == VarType::Byte ? Variant::Byte(a.bytes[slot]) : a.items[slot];
}

void Variant::Set(int32_t index, const Variant& v) {
    SafeArray& a = VariantAccess::MutableArray(*this);
    const size_t slot = SlotOf(a, index);
    if (a.elementType == VarType::Byte) {
        a.bytes[slot] = CByte(v);
    } else {
        a.items[slot] = ToVarType(v, a.elementType);
    }
}

void Variant::ReDimPreserve(int32_t ubound) {
    SafeArray& a = VariantAccess::MutableArray(*this);
    const size_t count = ElementCount(a.lbound, ubound);
    if (a.elementType == VarType::Byte) {
        a.bytes.resize(count, 0);
    } else {
        a.items.resize(count, ZeroOf(a.elementType));
    }
}

std::vector<uint8_t> Variant::ToBytes() const { return BytesRef(); }

const std::vector<uint8_t>& Variant::BytesRef() const {
    if (!IsByteArray()) Raise(errTypeMismatch);
    return VariantAccess::ArrOf(*this).bytes;
}

// ---- Conversions ----

uint8_t CByte(const Variant& v) { return ToIntegral<uint8_t>(v); }
int16_t CInt(const Variant& v) { return ToIntegral<int16_t>(v); }
int32_t CLng(const Variant& v) {
    // The whole-number subtypes fit as they are: no rounding, no range to check.
    switch (v.Type()) {
        case VarType::Integer: return VariantAccess::NumOf(v).i16;
        case VarType::Long: return VariantAccess::NumOf(v).i32;
        case VarType::Byte: return VariantAccess::NumOf(v).u8;
        default: return ToIntegral<int32_t>(v);
    }
}

float CSng(const Variant& v) {
    if (v.Type() == VarType::Single) return VariantAccess::SingleValue(v);
    const double x = ConversionValue(v);
    if (std::fabs(x) > static_cast<double>(FLT_MAX)) Raise(errOverflow);  // NaN passes
    return static_cast<float>(x);
}

double CDbl(const Variant& v) { return ConversionValue(v); }

bool CBool(const Variant& v) {
    if (v.IsString()) {
        if (IsWord(v.StrRef(), "true")) return true;
        if (IsWord(v.StrRef(), "false")) return false;
    }
    return ConversionValue(v) != 0;  // NaN is not 0
}

std::string CStr(const Variant& v) {
    switch (v.Type()) {
        case VarType::Empty: return {};
        case VarType::Null: Raise(errInvalidNull);
        case VarType::String: return v.StrRef();
        case VarType::Boolean: return VariantAccess::Number(v) != 0 ? "True" : "False";
        case VarType::Integer:
        case VarType::Long:
        case VarType::Byte:
            return std::to_string(static_cast<int32_t>(VariantAccess::Number(v)));
        case VarType::Single: return FormatSingle(VariantAccess::SingleValue(v));
        case VarType::Double:
        case VarType::Currency:
        case VarType::Decimal:
            return FormatDouble(VariantAccess::Number(v));
        case VarType::Date: return FormatDate(VariantAccess::Number(v));
        default: Raise(errTypeMismatch);
    }
}

Variant CDate(const Variant& v) {
    switch (v.Type()) {
        case VarType::Empty: return Variant::Date(0);
        case VarType::Null: Raise(errInvalidNull);
        case VarType::Date: return v;
        case VarType::String: {
            double serial = 0;
            if (!ParseDateText(v.StrRef(), serial)) Raise(errTypeMismatch);
            return Variant::Date(serial);
        }
        default:
            if (!VariantAccess::IsNumeric(v)) Raise(errTypeMismatch);
            return Variant::Date(VariantAccess::Number(v));
    }
}

Variant CVar(const Variant& v) { return v; }

Variant ToVarType(const Variant& v, VarType target) {
    switch (target) {
        case VarType::Variant: return v;
        case VarType::Integer: return Variant::Int(CInt(v));
        case VarType::Long: return Variant::Lng(CLng(v));
        case VarType::Byte: return Variant::Byte(CByte(v));
        case VarType::Single: return Variant::Sng(CSng(v));
        case VarType::Double: return Variant::Dbl(CDbl(v));
        case VarType::Currency: return Variant::Cur(ConversionValue(v));
        case VarType::Decimal: return Variant::Dec(ConversionValue(v));
        case VarType::Date: return CDate(v);
        case VarType::String: return Variant::Str(CStr(v));
        case VarType::Boolean: return Variant::Bool(CBool(v));
        case VarType::Object:
            if (!v.IsObject()) Raise(errTypeMismatch);
            return v;
        default: Raise(errInvalidArgument);
    }
}

// ---- Tests ----

bool IsNumeric(const Variant& v) {
    switch (v.Type()) {
        case VarType::Empty:
        case VarType::Boolean:
            return true;
        case VarType::String: {
            double value = 0;
            return ParseNumberText(v.StrRef(), value) == NumberParse::Ok;
        }
        default:
            return v.IsNumberType();
    }
}

std::string TypeName(const Variant& v) {
    if (v.IsArray()) return std::string(TypeNameOf(v.ElementType())) + "()";
    if (v.IsNothing()) return "Nothing";
    return TypeNameOf(v.Type());
}

int32_t LBound(const Variant& v) { return v.LBound(); }
int32_t UBound(const Variant& v) { return v.UBound(); }

// ---- Comparison ----

Cmp Compare(const Variant& a, const Variant& b) {
    if (a.IsNull() || b.IsNull()) return Cmp::Null;
    const bool numA = VariantAccess::IsNumeric(a), numB = VariantAccess::IsNumeric(b);
    if ((!numA && !a.IsString() && !a.IsEmpty()) || (!numB && !b.IsString() && !b.IsEmpty())) {
        Raise(errTypeMismatch);
    }
    if (a.IsEmpty() && b.IsEmpty()) return Cmp::Equal;
    if (a.IsString() || b.IsString()) {
        if (numA) return Cmp::Less;
        if (numB) return Cmp::Greater;
        static const std::string empty;
        return CompareStrings(a.IsString() ? a.StrRef() : empty, b.IsString() ? b.StrRef() : empty);
    }
    return CompareDoubles(numA ? VariantAccess::Number(a) : 0.0, numB ? VariantAccess::Number(b) : 0.0);
}

Cmp CompareTo(const Variant& v, double literal) {
    if (v.IsNull()) return Cmp::Null;
    return CompareDoubles(ConversionValue(v), literal);
}

bool Identical(const Variant& a, const Variant& b) {
    return a.VarTypeCode() == b.VarTypeCode() && VariantAccess::SamePayload(a, b);
}

// ---- Number text ----

bool ParseNumber(const std::string& text, double& out) {
    double value = 0;
    if (ParseNumberText(text, value) != NumberParse::Ok) return false;
    out = value;
    return true;
}

void SetDecimalSeparator(char sep) { g_decimalSeparator = sep; }
char DecimalSeparator() { return g_decimalSeparator; }

std::string FormatSingle(float v) { return vb::NumberText(v, 7, g_decimalSeparator); }
std::string FormatDouble(double v) { return vb::NumberText(v, 15, g_decimalSeparator); }

std::string FormatDate(double serial) {
    const DateParts p = SplitSerial(serial, 86400);
    char date[32];
    char time[16];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", p.year, p.month, p.day);
    std::snprintf(time, sizeof time, "%02d:%02d:%02d", p.hour, p.minute, p.second);
    if (p.year == 1899 && p.month == 12 && p.day == 30) return time;
    if (p.hour == 0 && p.minute == 0 && p.second == 0) return date;
    return std::string(date) + " " + time;
}

// ---- Dates ----

double DateSerial(int year, int month, int day) {
    int64_t y = year;
    if (y >= 0 && y <= 29) {
        y += 2000;
    } else if (y >= 30 && y <= 99) {
        y += 1900;
    }
    const int64_t monthIndex = static_cast<int64_t>(month) - 1;
    const int64_t yearShift = FloorDiv(monthIndex, 12);
    y += yearShift;
    const auto m = static_cast<unsigned>(monthIndex - yearShift * 12 + 1);
    const int64_t days = DaysFromCivil(y, m, 1) - kSerialZero + (static_cast<int64_t>(day) - 1);
    if (days <= kDateLow || days >= kDateHigh) Raise(errInvalidArgument);
    return static_cast<double>(days);
}

double TimeSerial(int hour, int minute, int second) {
    const int64_t total = static_cast<int64_t>(hour) * 3600 + static_cast<int64_t>(minute) * 60 + second;
    const int64_t day = FloorDiv(total, 86400);
    const double serial = MakeSerial(day, static_cast<double>(total - day * 86400) / 86400.0);
    if (!IsDateSerial(serial)) Raise(errInvalidArgument);
    return serial;
}

DateParts SplitDate(double serial) { return SplitSerial(serial, 86400000); }

double DateMoment(double serial) {
    const double day = std::trunc(serial);
    return day + std::fabs(serial - day);
}

double MomentDate(double moment) {
    if (!IsDateSerial(moment)) return moment;
    const double day = std::floor(moment);
    return MakeSerial(static_cast<int64_t>(day), moment - day);
}

}  // namespace platform::com

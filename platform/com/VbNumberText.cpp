// VB number text functions: Val, Str, Hex, Oct, Format and the CStr number form.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <limits>

#include "platform/com/Error.h"
#include "platform/com/Variant.h"
#include "platform/com/VbText.h"

namespace platform::com::vb {

namespace {

// A non-negative finite number as decimal digits: value = 0.digits × 10^pointExp.
// `digits` has no leading or trailing zeros; it is empty for zero.
struct DecimalText {
    std::string digits;
    int pointExp = 0;

    bool IsZero() const { return digits.empty(); }

    // The digit at the place of 10^power.
    char DigitAt(int power) const {
        const int index = pointExp - 1 - power;
        return index >= 0 && index < static_cast<int>(digits.size()) ? digits[static_cast<size_t>(index)]
                                                                     : '0';
    }

    // Rounds half away from zero to the first `keep` significant digits.
    void KeepDigits(int keep) {
        if (keep >= static_cast<int>(digits.size())) return;
        if (keep < 0) {
            digits.clear();
            return;
        }
        const bool up = digits[static_cast<size_t>(keep)] >= '5';
        digits.resize(static_cast<size_t>(keep));
        if (up) {
            size_t i = digits.size();
            while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
            if (i == 0) {
                digits.insert(digits.begin(), '1');
                ++pointExp;
            } else {
                ++digits[i - 1];
            }
        }
        StripTrailingZeros();
    }

    void StripTrailingZeros() {
        while (!digits.empty() && digits.back() == '0') digits.pop_back();
    }
};

// The magnitude `m` (finite, >= 0) rounded to `significant` digits.
DecimalText DecimalOf(double m, int significant) {
    DecimalText d;
    if (m == 0) return d;
    // to_chars ignores the C locale, so a process locale with "," cannot leak in.
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, m, std::chars_format::scientific, significant - 1);
    const char* p = buf;
    for (; p < res.ptr && *p != 'e'; ++p) {
        if (*p != '.') d.digits += *p;
    }
    int exponent = 0;
    if (p < res.ptr) {
        ++p;
        if (*p == '+') ++p;
        std::from_chars(p, res.ptr, exponent);
    }
    d.pointExp = exponent + 1;
    d.StripTrailingZeros();
    return d;
}

std::string NonFiniteText(double v) {
    if (std::isnan(v)) return "NaN";
    return v > 0 ? "Infinity" : "-Infinity";
}

// A Format digit pattern (see Format in VbText.h).
struct NumberPattern {
    int intZeros = 0;   // "0" in the integer part: digits always shown
    int intPlaces = 0;  // "0" and "#" in the integer part
    bool point = false;
    int minDecimals = 0;  // up to the last "0" after the point
    int maxDecimals = 0;  // all placeholders after the point
    bool scientific = false;
    char expLetter = 'E';
    bool expPlus = false;  // "E+": sign always shown
    int expZeros = 0;
    bool percent = false;
};

bool IsPlaceholder(char c) { return c == '0' || c == '#'; }

bool ParsePattern(const std::string& f, NumberPattern& p) {
    size_t i = 0;
    for (; i < f.size() && IsPlaceholder(f[i]); ++i) {
        ++p.intPlaces;
        if (f[i] == '0') ++p.intZeros;
    }
    if (i < f.size() && f[i] == '.') {
        p.point = true;
        for (++i; i < f.size() && IsPlaceholder(f[i]); ++i) {
            ++p.maxDecimals;
            if (f[i] == '0') p.minDecimals = p.maxDecimals;
        }
    }
    if (i + 1 < f.size() && (f[i] == 'E' || f[i] == 'e') && (f[i + 1] == '+' || f[i + 1] == '-')) {
        p.scientific = true;
        p.expLetter = f[i];
        p.expPlus = f[i + 1] == '+';
        size_t places = 0;
        for (i += 2; i < f.size() && IsPlaceholder(f[i]); ++i, ++places) {
            if (f[i] == '0') ++p.expZeros;
        }
        if (places == 0) return false;
    }
    if (i < f.size() && f[i] == '%') {
        p.percent = true;
        ++i;
    }
    return i == f.size() && p.intPlaces + p.maxDecimals > 0;
}

// Integer digits, point and decimals of `d`, already rounded to the pattern's decimals.
std::string FixedText(const DecimalText& d, const NumberPattern& p, char separator) {
    std::string out;
    const int intDigits = std::max(d.IsZero() ? 0 : d.pointExp, p.intZeros);
    for (int power = intDigits - 1; power >= 0; --power) out += d.DigitAt(power);
    if (p.point) {
        std::string decimals;
        for (int k = 1; k <= p.maxDecimals; ++k) decimals += d.DigitAt(-k);
        while (static_cast<int>(decimals.size()) > p.minDecimals && decimals.back() == '0') {
            decimals.pop_back();
        }
        out += separator;
        out += decimals;
    }
    return out;
}

std::string ExponentText(int exponent, const NumberPattern& p) {
    std::string out(1, p.expLetter);
    if (exponent < 0) {
        out += '-';
    } else if (p.expPlus) {
        out += '+';
    }
    std::string digits = std::to_string(std::abs(exponent));
    const size_t width = static_cast<size_t>(std::max(p.expZeros, 1));
    if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
    return out + digits;
}

// Text of a 32-bit pattern in base 16 or 8.
std::string RadixText(int64_t value, unsigned radix) {
    if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<uint32_t>::max()) {
        Raise(errOverflow);
    }
    uint32_t u = static_cast<uint32_t>(value);  // negative: 32-bit two's complement
    std::string out;
    do {
        out.insert(out.begin(), "0123456789ABCDEF"[u % radix]);
        u /= radix;
    } while (u != 0);
    return out;
}

// Val of "&H..." / "&O...": the digits from `i` on (blanks already removed).
double RadixValue(const std::string& s, size_t i, unsigned radix) {
    uint64_t value = 0;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        unsigned digit;
        if (c >= '0' && c <= '9') {
            digit = static_cast<unsigned>(c - '0');
        } else if (radix == 16 && c >= 'A' && c <= 'F') {
            digit = static_cast<unsigned>(c - 'A' + 10);
        } else if (radix == 16 && c >= 'a' && c <= 'f') {
            digit = static_cast<unsigned>(c - 'a' + 10);
        } else {
            break;
        }
        if (digit >= radix) break;
        value = value * radix + digit;
        if (value > 0xFFFFFFFFu) Raise(errOverflow);
    }
    // Like a VB hex literal: an Integer when it fits 16 bits, else a Long.
    if (value <= 0xFFFF) return static_cast<int16_t>(value);
    return static_cast<int32_t>(value);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string NumberText(double v, int significantDigits, char decimalSeparator) {
    if (!std::isfinite(v)) return NonFiniteText(v);
    if (v == 0) return "0";
    const int n = std::clamp(significantDigits, 1, 17);
    const DecimalText d = DecimalOf(std::fabs(v), n);
    const int exponent = d.pointExp - 1;  // of the first digit
    std::string out = v < 0 ? "-" : "";
    if (exponent < -4 || exponent >= n) {
        out += d.digits[0];
        if (d.digits.size() > 1) {
            out += decimalSeparator;
            out.append(d.digits, 1);
        }
        out += exponent < 0 ? "E-" : "E+";
        const std::string expDigits = std::to_string(std::abs(exponent));
        if (expDigits.size() < 2) out += '0';
        return out + expDigits;
    }
    for (int power = std::max(exponent, 0); power >= 0; --power) out += d.DigitAt(power);
    const int decimals = static_cast<int>(d.digits.size()) - d.pointExp;
    if (decimals > 0) {
        out += decimalSeparator;
        for (int k = 1; k <= decimals; ++k) out += d.DigitAt(-k);
    }
    return out;
}

std::string Str(double v) {
    const std::string text = NumberText(v, 15);
    return v < 0 ? text : " " + text;
}

double Val(const std::string& s) {
    std::string t;  // the text without blanks, tabs and line feeds
    t.reserve(s.size());
    for (char c : s) {
        if (c != ' ' && c != '\t' && c != '\n') t += c;
    }
    if (t.size() >= 2 && t[0] == '&') {
        if (t[1] == 'H' || t[1] == 'h') return RadixValue(t, 2, 16);
        if (t[1] == 'O' || t[1] == 'o') return RadixValue(t, 2, 8);
        return 0;
    }
    size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
    const size_t numberStart = i;
    size_t digits = 0;
    for (; i < t.size() && IsDigit(t[i]); ++i) ++digits;
    if (i < t.size() && t[i] == '.') {
        for (++i; i < t.size() && IsDigit(t[i]); ++i) ++digits;
    }
    if (digits == 0) return 0;
    std::string number = t.substr(numberStart, i - numberStart);
    long exponent = 0;  // saturates: beyond a million only its sign matters
    if (i < t.size() && (t[i] == 'E' || t[i] == 'e' || t[i] == 'D' || t[i] == 'd')) {
        size_t j = i + 1;
        std::string exponentText = "e";
        const bool negativeExponent = j < t.size() && t[j] == '-';
        if (j < t.size() && (t[j] == '+' || t[j] == '-')) exponentText += t[j++];
        const size_t expDigitsStart = j;
        for (; j < t.size() && IsDigit(t[j]); ++j) {
            exponentText += t[j];
            if (exponent < 1000000) exponent = exponent * 10 + (t[j] - '0');
        }
        if (j > expDigitsStart) {
            number += exponentText;
            if (negativeExponent) exponent = -exponent;
        } else {
            exponent = 0;
        }
    }
    double value = 0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    (void)end;
    if (ec == std::errc::result_out_of_range) {
        // Too large overflows as in VB; too small is 0.
        const std::string mantissa = number.substr(0, number.find('e'));
        const size_t point = mantissa.find('.');
        const size_t firstSignificant = mantissa.find_first_not_of("0.");
        long magnitude = exponent;  // decimal exponent of the first significant digit, roughly
        if (firstSignificant != std::string::npos) {
            const size_t intEnd = point == std::string::npos ? mantissa.size() : point;
            magnitude += static_cast<long>(intEnd) - static_cast<long>(firstSignificant);
        }
        if (magnitude > 0) Raise(errOverflow);
        value = 0;
    }
    return negative ? -value : value;
}

std::string Hex(int64_t value) { return RadixText(value, 16); }
std::string Oct(int64_t value) { return RadixText(value, 8); }

std::string Format(double value, const std::string& format) {
    const char separator = DecimalSeparator();
    if (format.empty() || !std::isfinite(value)) return NumberText(value, 15, separator);
    NumberPattern p;
    if (!ParsePattern(format, p)) Raise(errInvalidArgument);

    DecimalText d = DecimalOf(std::fabs(value), 15);
    if (p.percent && !d.IsZero()) d.pointExp += 2;
    std::string body;
    if (p.scientific) {
        int exponent = 0;
        if (!d.IsZero()) {
            d.KeepDigits(p.intPlaces + p.maxDecimals);
            exponent = d.pointExp - p.intPlaces;
            d.pointExp = p.intPlaces;
        }
        body = FixedText(d, p, separator) + ExponentText(exponent, p);
    } else {
        d.KeepDigits(d.pointExp + p.maxDecimals);
        body = FixedText(d, p, separator);
    }
    if (p.percent) body += '%';
    // Only a result that shows a non-zero digit carries the sign.
    return std::signbit(value) && !d.IsZero() ? "-" + body : body;
}

}  // namespace platform::com::vb

#include "platform/com/PropertyBagText.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <limits>
#include <new>
#include <stdexcept>
#include <vector>

#include "platform/com/HexText.h"

namespace platform::com::bagtext {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A whole field as a decimal integer within lo..hi.
bool ReadInteger(std::string_view text, int64_t lo, int64_t hi, int64_t& out) {
    int64_t value = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || r.ec != std::errc() || r.ptr != text.data() + text.size()) return false;
    if (value < lo || value > hi) return false;
    out = value;
    return true;
}

template <class F, class Bits>
std::string EncodeFloat(F v) {
    if (std::isnan(v)) {
        const auto bits = std::bit_cast<Bits>(v);
        std::string out = "nan:";
        for (int shift = static_cast<int>(sizeof(Bits)) * 8 - 4; shift >= 0; shift -= 4) {
            out += kHexDigits[(bits >> shift) & 0xF];
        }
        return out;
    }
    if (std::isinf(v)) return v > 0 ? "inf" : "-inf";
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);  // shortest text that reads back exactly
    return std::string(buf, r.ptr);
}

template <class F, class Bits>
bool DecodeFloat(std::string_view text, F& out) {
    if (text == "inf" || text == "-inf") {
        out = text[0] == '-' ? -std::numeric_limits<F>::infinity() : std::numeric_limits<F>::infinity();
        return true;
    }
    if (text.starts_with("nan:")) {
        const std::string_view hex = text.substr(4);
        if (hex.size() != sizeof(Bits) * 2) return false;
        Bits bits = 0;
        for (char c : hex) {
            const int h = HexDigitValue(c);
            if (h < 0) return false;
            bits = static_cast<Bits>((bits << 4) | static_cast<Bits>(h));
        }
        const F value = std::bit_cast<F>(bits);
        if (!std::isnan(value)) return false;
        out = value;
        return true;
    }
    const size_t first = text.starts_with('-') ? 1 : 0;
    if (first >= text.size() || !IsDigit(text[first])) return false;  // no "nan", "infinity", "+1"
    F value = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    if (r.ec != std::errc() || r.ptr != text.data() + text.size()) return false;
    out = value;
    return true;
}

bool Storable(const Variant& v, int depth) {
    if (v.IsObject()) return v.IsNothing();
    if (!v.IsArray()) return true;
    if (depth >= kMaxDepth) return false;
    for (const Variant& item : v.ArrayRef().items) {
        if (!Storable(item, depth + 1)) return false;
    }
    return true;
}

void AppendArray(std::string& out, const Variant& v) {
    const SafeArray& a = v.ArrayRef();
    out += std::to_string(a.lbound);
    out += ':';
    if (a.elementType == VarType::Byte) {
        AppendHexBytes(out, a.bytes);
        return;
    }
    out += std::to_string(a.items.size());
    for (const Variant& item : a.items) {
        const std::string encoded = EncodeValue(item);
        out += '|';
        out += std::to_string(item.VarTypeCode());
        out += ':';
        out += std::to_string(encoded.size());
        out += ':';
        out += encoded;
    }
}

bool Decode(int32_t varType, std::string_view text, Variant& out, int depth);

bool DecodeArray(VarType elementType, std::string_view text, Variant& out, int depth) {
    const size_t colon = text.find(':');
    int64_t lbound = 0;
    if (colon == std::string_view::npos ||
        !ReadInteger(text.substr(0, colon), std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(),
                     lbound)) {
        return false;
    }
    const std::string_view rest = text.substr(colon + 1);
    if (elementType == VarType::Byte) {
        if (rest.size() % 2 != 0) return false;
        std::vector<uint8_t> bytes(rest.size() / 2);
        for (size_t i = 0; i < bytes.size(); ++i) {
            const int hi = HexDigitValue(rest[2 * i]);
            const int lo = HexDigitValue(rest[2 * i + 1]);
            if (hi < 0 || lo < 0) return false;
            bytes[i] = static_cast<uint8_t>(hi * 16 + lo);
        }
        out = Variant::ByteArray(std::move(bytes), static_cast<int32_t>(lbound));  // bounds checked there
        return true;
    }
    const std::string_view countText = rest.substr(0, rest.find('|'));
    int64_t count = 0;
    // Each element takes at least five characters, which bounds what a damaged count can allocate.
    if (!ReadInteger(countText, 0, static_cast<int64_t>(rest.size() / 5), count)) return false;
    // The upper bound must be a Long: an empty array cannot start at the lowest Long.
    const int64_t ubound = lbound + count - 1;
    if (ubound < std::numeric_limits<int32_t>::min() || ubound > std::numeric_limits<int32_t>::max()) return false;
    Variant array = Variant::Array(elementType, static_cast<int32_t>(lbound), static_cast<int32_t>(ubound));
    size_t pos = countText.size();
    for (int64_t i = 0; i < count; ++i) {
        if (pos >= rest.size() || rest[pos] != '|') return false;
        ++pos;
        const size_t typeEnd = rest.find(':', pos);
        if (typeEnd == std::string_view::npos) return false;
        const size_t lengthEnd = rest.find(':', typeEnd + 1);
        if (lengthEnd == std::string_view::npos) return false;
        int64_t itemType = 0, length = 0;
        if (!ReadInteger(rest.substr(pos, typeEnd - pos), 0, std::numeric_limits<int32_t>::max(), itemType) ||
            !ReadInteger(rest.substr(typeEnd + 1, lengthEnd - typeEnd - 1), 0,
                         static_cast<int64_t>(rest.size() - lengthEnd - 1), length)) {
            return false;
        }
        pos = lengthEnd + 1;
        Variant item;
        if (!Decode(static_cast<int32_t>(itemType), rest.substr(pos, static_cast<size_t>(length)), item, depth + 1)) {
            return false;
        }
        if (elementType != VarType::Variant && item.VarTypeCode() != static_cast<int32_t>(elementType)) return false;
        array.Set(static_cast<int32_t>(lbound + i), item);
        pos += static_cast<size_t>(length);
    }
    if (pos != rest.size()) return false;
    out = std::move(array);
    return true;
}

bool Decode(int32_t varType, std::string_view text, Variant& out, int depth) {
    int64_t n = 0;
    float f = 0;
    double d = 0;
    switch (static_cast<VarType>(varType)) {
        case VarType::Empty:
            out = Variant();
            return text.empty();
        case VarType::Null:
            out = Variant::Null();
            return text.empty();
        case VarType::Error:
            out = Variant::Missing();
            return text.empty();
        case VarType::Object:
            out = Variant::Obj(nullptr);
            return text.empty();
        case VarType::Integer:
            if (!ReadInteger(text, std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max(), n)) {
                return false;
            }
            out = Variant::Int(static_cast<int16_t>(n));
            return true;
        case VarType::Long:
            if (!ReadInteger(text, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(), n)) {
                return false;
            }
            out = Variant::Lng(static_cast<int32_t>(n));
            return true;
        case VarType::Byte:
            if (!ReadInteger(text, 0, 255, n)) return false;
            out = Variant::Byte(static_cast<uint8_t>(n));
            return true;
        case VarType::Boolean:
            if (text != "True" && text != "False") return false;
            out = Variant::Bool(text == "True");
            return true;
        case VarType::Single:
            if (!DecodeFloat<float, uint32_t>(text, f)) return false;
            out = Variant::Sng(f);
            return true;
        case VarType::Double:
        case VarType::Currency:
        case VarType::Date:
        case VarType::Decimal:
            if (!DecodeFloat<double, uint64_t>(text, d)) return false;
            // Currency, Date and Decimal check their range (error 6 → damaged).
            if (varType == static_cast<int32_t>(VarType::Double)) out = Variant::Dbl(d);
            if (varType == static_cast<int32_t>(VarType::Currency)) out = Variant::Cur(d);
            if (varType == static_cast<int32_t>(VarType::Date)) out = Variant::Date(d);
            if (varType == static_cast<int32_t>(VarType::Decimal)) out = Variant::Dec(d);
            return true;
        case VarType::String: {
            std::string s;
            if (!Unescape(text, s)) return false;
            out = Variant::Str(std::move(s));
            return true;
        }
        default:
            break;
    }
    const int32_t array = static_cast<int32_t>(VarType::Array);
    if (varType <= array || varType >= 2 * array || depth >= kMaxDepth) return false;
    return DecodeArray(static_cast<VarType>(varType - array), text, out, depth);
}

}  // namespace

std::string Escape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '\t': out += "\\t"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\0': out += "\\0"; break;
            default:
                if (byte >= 0x20 && byte < 0x7F) {
                    out += c;
                } else {
                    out += "\\x";
                    AppendHexByte(out, static_cast<uint8_t>(byte));
                }
        }
    }
    return out;
}

bool Unescape(std::string_view text, std::string& out) {
    std::string result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\t' || c == '\n') return false;
        if (c != '\\') {
            result += c;
            continue;
        }
        if (++i >= text.size()) return false;
        switch (text[i]) {
            case '\\': result += '\\'; break;
            case 't': result += '\t'; break;
            case 'n': result += '\n'; break;
            case 'r': result += '\r'; break;
            case '0': result += '\0'; break;
            case 'x': {
                if (i + 2 >= text.size()) return false;
                const int hi = HexDigitValue(text[i + 1]);
                const int lo = HexDigitValue(text[i + 2]);
                if (hi < 0 || lo < 0) return false;
                result += static_cast<char>(hi * 16 + lo);
                i += 2;
                break;
            }
            default: return false;
        }
    }
    out = std::move(result);
    return true;
}

bool IsStorable(const Variant& v) { return Storable(v, 0); }

std::string EncodeValue(const Variant& v) {
    std::string out;
    AppendValue(out, v);
    return out;
}

void AppendValue(std::string& out, const Variant& v) {
    switch (v.Type()) {
        case VarType::Integer: out += std::to_string(CInt(v)); break;
        case VarType::Long: out += std::to_string(CLng(v)); break;
        case VarType::Byte: out += std::to_string(CByte(v)); break;
        case VarType::Boolean: out += CBool(v) ? "True" : "False"; break;
        case VarType::Single: out += EncodeFloat<float, uint32_t>(CSng(v)); break;
        case VarType::Double:
        case VarType::Currency:
        case VarType::Decimal:
            out += EncodeFloat<double, uint64_t>(CDbl(v));
            break;
        case VarType::Date: out += EncodeFloat<double, uint64_t>(v.DateSerial()); break;
        case VarType::String: out += Escape(v.StrRef()); break;
        case VarType::Array: AppendArray(out, v); break;
        default: break;  // Empty, Null, Missing, Nothing
    }
}

bool DecodeValue(int32_t varType, std::string_view text, Variant& out) {
    try {
        Variant value;
        if (!Decode(varType, text, value, 0)) return false;
        out = std::move(value);
        return true;
    } catch (const ComError&) {
        return false;  // a value out of its subtype's range
    } catch (const std::bad_alloc&) {
        return false;  // more than memory holds: the entry is damaged, not the load
    } catch (const std::length_error&) {
        return false;
    }
}

}  // namespace platform::com::bagtext

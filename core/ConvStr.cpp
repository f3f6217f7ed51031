#include "core/ConvStr.h"

namespace dtm {
using namespace platform::com;

namespace {
int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}
}  // namespace

Variant HexToBytes(const std::string& text) {
    if (text.empty()) return Variant();
    std::vector<uint8_t> bytes((text.size() + 1) / 2);
    for (size_t i = 0; i < bytes.size(); ++i) {
        const int hi = HexDigit(text[2 * i]);
        const int lo = 2 * i + 1 < text.size() ? HexDigit(text[2 * i + 1]) : 0;
        if (hi < 0 || lo < 0) Raise(errTypeMismatch);
        bytes[i] = static_cast<uint8_t>(hi * 16 + lo);
    }
    return Variant::ByteArray(bytes);
}

std::string BytesToHex(const Variant& value) {
    if (!value.IsByteArray()) return {};
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (uint8_t b : value.ToBytes()) {
        out += digits[b >> 4];
        out += digits[b & 0x0F];
    }
    return out;
}

}  // namespace dtm

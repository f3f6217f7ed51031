#include "platform/com/HexText.h"

namespace platform::com {

namespace {
constexpr char kDigits[] = "0123456789ABCDEF";
}

void AppendHexByte(std::string& out, uint8_t byte) {
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0x0F];
}

void AppendHexBytes(std::string& out, const std::vector<uint8_t>& bytes) {
    const size_t start = out.size();
    out.resize(start + 2 * bytes.size());
    char* p = out.data() + start;
    for (uint8_t b : bytes) {
        *p++ = kDigits[b >> 4];
        *p++ = kDigits[b & 0x0F];
    }
}

std::string HexFromBytes(const std::vector<uint8_t>& bytes) {
    std::string text;
    AppendHexBytes(text, bytes);
    return text;
}

int HexDigitValue(char c) noexcept {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace platform::com

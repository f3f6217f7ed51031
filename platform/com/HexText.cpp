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

}  // namespace platform::com

#pragma once
// Hexadecimal digits of bytes, as the data set, the FDT documents and the
// communication documents write them.
#include <cstdint>
#include <string>
#include <vector>

namespace platform::com {

// Two upper-case digits per byte: {0x0A, 0xFF} → "0AFF".
std::string HexFromBytes(const std::vector<uint8_t>& bytes);
void AppendHexByte(std::string& out, uint8_t byte);
void AppendHexBytes(std::string& out, const std::vector<uint8_t>& bytes);
// The value of one hexadecimal digit in either case, -1 for any other character.
constexpr int HexDigitValue(char c) noexcept {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace platform::com

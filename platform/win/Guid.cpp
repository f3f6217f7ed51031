#include "platform/win/Guid.h"

#include <uuid/uuid.h>

#include <cstdio>
#include <utility>

namespace platform::win {

namespace {

bool SystemGuid(Guid& out) {
    uuid_t u;
    uuid_generate(u);
    out = GuidFromTextOrderBytes(u);
    return true;
}

GuidGenerator& Generator() {
    static GuidGenerator generator;
    return generator;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

Guid GuidFromTextOrderBytes(const uint8_t b[16]) {
    Guid g;
    g.Data1 = static_cast<uint32_t>(b[0]) << 24 | static_cast<uint32_t>(b[1]) << 16 |
              static_cast<uint32_t>(b[2]) << 8 | b[3];
    g.Data2 = static_cast<uint16_t>(b[4] << 8 | b[5]);
    g.Data3 = static_cast<uint16_t>(b[6] << 8 | b[7]);
    for (int i = 0; i < 8; ++i) g.Data4[i] = b[8 + i];
    return g;
}

bool NewGuid(Guid& out) {
    Guid g;
    const bool ok = Generator() ? Generator()(g) : SystemGuid(g);
    if (ok) out = g;
    return ok;
}

std::string NewGuidString() {
    Guid g;
    return NewGuid(g) ? GuidToString(g) : std::string();
}

GuidGenerator SetGuidGenerator(GuidGenerator generator) { return std::exchange(Generator(), std::move(generator)); }

std::string GuidToString(const Guid& g) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.Data1, g.Data2, g.Data3,
                  g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
    return buf;
}

bool GuidFromString(const std::string& text, Guid& out) {
    std::string s = text;
    if (s.size() == 38 && s.front() == '{' && s.back() == '}') s = s.substr(1, 36);
    if (s.size() != 36) return false;
    uint8_t bytes[16];
    size_t pos = 0;
    for (int i = 0; i < 16; ++i) {
        if (pos == 8 || pos == 13 || pos == 18 || pos == 23) {
            if (s[pos] != '-') return false;
            ++pos;
        }
        const int hi = HexDigit(s[pos]), lo = HexDigit(s[pos + 1]);
        if (hi < 0 || lo < 0) return false;
        bytes[i] = static_cast<uint8_t>(hi << 4 | lo);
        pos += 2;
    }
    out = GuidFromTextOrderBytes(bytes);
    return true;
}

}  // namespace platform::win

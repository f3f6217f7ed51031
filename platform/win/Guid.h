#pragma once
// GUIDs: creation through the system's UUID generator, and the registry text
// form "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
#include <cstdint>
#include <functional>
#include <string>

namespace platform::win {

// The COM layout: Data1..Data3 are numbers, Data4 bytes in text order.
struct Guid {
    uint32_t Data1 = 0;
    uint16_t Data2 = 0;
    uint16_t Data3 = 0;
    uint8_t Data4[8] = {};

    bool operator==(const Guid&) const = default;
};
static_assert(sizeof(Guid) == 16);

// Fills `out` with a new random GUID; False when creation failed.
bool NewGuid(Guid& out);
// A new GUID in text form, or "" when creation failed.
std::string NewGuidString();

// Replaces the generator (for tests: a failing or a predictable one). An empty
// function restores the system generator. Answers the generator it replaced.
using GuidGenerator = std::function<bool(Guid&)>;
GuidGenerator SetGuidGenerator(GuidGenerator generator);

// The GUID of 16 bytes in text order (as libuuid and RFC 4122 lay them out:
// Data1..Data3 most significant byte first).
Guid GuidFromTextOrderBytes(const uint8_t bytes[16]);

// "{8-4-4-4-12}", upper-case hex digits.
std::string GuidToString(const Guid& guid);
// Reads "{8-4-4-4-12}" (braces optional, hex digits in either case). False,
// leaving `out` unchanged, for anything else.
bool GuidFromString(const std::string& text, Guid& out);

}  // namespace platform::win

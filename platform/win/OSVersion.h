#pragma once
// The operating-system version query. The answer comes from a replaceable
// provider; the default describes a Windows NT 5.1 system, so nothing takes
// the rules meant for the old consumer systems.
#include <cstdint>
#include <functional>
#include <string>

namespace platform::win {

inline constexpr int32_t kOSVersionInfoSize = 148;     // the plain record
inline constexpr int32_t kOSVersionInfoExSize = 156;   // the extended record
inline constexpr int32_t kPlatformWin32Windows = 1;    // Windows 95, 98, Me
inline constexpr int32_t kPlatformWin32NT = 2;

struct OSVersionInfo {
    int32_t size = kOSVersionInfoSize;  // set by the caller
    int32_t major = 0;
    int32_t minor = 0;
    int32_t build = 0;
    int32_t platformId = 0;
    std::string csdVersion;  // service pack text
};

// Fills `info` (all but `size`) from the provider. False, `info` unchanged,
// when `size` is neither record size or the provider fails.
bool GetVersionEx(OSVersionInfo& info);

// Replaces the provider (an empty function restores the default: platform 2,
// version 5.1, build 2600, no service pack text). Answers the one it replaced.
using OSVersionProvider = std::function<bool(OSVersionInfo&)>;
OSVersionProvider SetOSVersionProvider(OSVersionProvider provider);

}  // namespace platform::win

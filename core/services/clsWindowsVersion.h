#pragma once
// The operating system's version record, read once at creation.
#include <cstdint>
#include <string>

#include "platform/win/OSVersion.h"

namespace dtm {

class clsWindowsVersion {
public:
    clsWindowsVersion();

    std::string GetVersionInfoExStr() const { return summary_; }
    int32_t GetMajorVersion() const { return info_.major; }
    int32_t GetMinorVersion() const { return info_.minor; }
    int32_t GetBuildNumber() const { return info_.build; }
    int32_t GetPlatformId() const { return info_.platformId; }
    std::string GetCSDVersion() const { return info_.csdVersion; }
    std::string GetOperatingSystemString() const;
    bool Is_NT_2000_Or_XP() const { return info_.platformId == 2; }
    bool Is_95_98_Or_Me() const { return info_.platformId == 1; }

private:
    platform::win::OSVersionInfo info_{};
    std::string summary_;
};

}  // namespace dtm

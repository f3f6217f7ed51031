#include "core/services/clsWindowsVersion.h"

namespace dtm {

namespace {
constexpr size_t kCSDVersionLength = 128;  // the record's fixed service-pack text
}

clsWindowsVersion::clsWindowsVersion() {
    platform::win::OSVersionInfo queried;
    queried.size = platform::win::kOSVersionInfoSize;
    if (!platform::win::GetVersionEx(queried)) {
        info_.size = platform::win::kOSVersionInfoSize;
        return;
    }
    info_ = queried;
    // The record holds the text in a fixed field padded with NULs.
    info_.csdVersion.resize(kCSDVersionLength, '\0');
    summary_ = "Version Info Size = " + std::to_string(info_.size) + "\r\n" +
               "Major Version = " + std::to_string(info_.major) + "\r\n" +
               "Minor Version = " + std::to_string(info_.minor) + "\r\n" +
               "Build Number = " + std::to_string(info_.build) + "\r\n" +
               "Platform Id = " + std::to_string(info_.platformId) + "\r\n" +
               "CSD Version = " + info_.csdVersion;
}

std::string clsWindowsVersion::GetOperatingSystemString() const {
    const int32_t major = info_.major, minor = info_.minor;
    switch (info_.platformId) {
        case 0: return "Microsoft Win32s ";
        case 1:
            if (major == 4 && minor == 0) return "Microsoft Windows 95";
            if (major == 4 && minor == 10) return "Microsoft Windows 98";
            if (major == 4 && minor == 90) return "Microsoft Windows Me";
            return "";
        case 2:
            if (major < 5) return "Microsoft Windows NT";
            if (major == 5 && minor == 0) return "Microsoft Windows 2000";
            if (major == 5 && minor == 1) return "Microsoft Windows XP";
            return "Unknown Operating System";
        default: return "Unknown Operating System";
    }
}

}  // namespace dtm

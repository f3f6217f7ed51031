#include "platform/win/OSVersion.h"

#include <utility>

namespace platform::win {

namespace {

bool DefaultVersion(OSVersionInfo& info) {
    info.major = 5;
    info.minor = 1;
    info.build = 2600;
    info.platformId = kPlatformWin32NT;
    info.csdVersion.clear();
    return true;
}

OSVersionProvider& Provider() {
    static OSVersionProvider provider;
    return provider;
}

}  // namespace

bool GetVersionEx(OSVersionInfo& info) {
    if (info.size != kOSVersionInfoSize && info.size != kOSVersionInfoExSize) return false;
    OSVersionInfo answer;
    answer.size = info.size;
    if (!(Provider() ? Provider()(answer) : DefaultVersion(answer))) return false;
    answer.size = info.size;
    info = std::move(answer);
    return true;
}

OSVersionProvider SetOSVersionProvider(OSVersionProvider provider) {
    return std::exchange(Provider(), std::move(provider));
}

}  // namespace platform::win

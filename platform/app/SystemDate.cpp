#include "platform/app/SystemDate.h"

#include <ctime>

#include "platform/com/Variant.h"

namespace platform::app {

double SystemDate() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return com::DateSerial(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
           com::TimeSerial(local.tm_hour, local.tm_min, local.tm_sec);
}

}  // namespace platform::app

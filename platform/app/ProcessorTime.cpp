#include "platform/app/ProcessorTime.h"

#include <ctime>

namespace platform::app {

int64_t ProcessorTimeNs() noexcept {
    timespec ts{};
    if (clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts) != 0)
        return static_cast<int64_t>(std::clock()) * (1000000000 / CLOCKS_PER_SEC);
    return static_cast<int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

int64_t MonotonicNs() noexcept {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

}  // namespace platform::app

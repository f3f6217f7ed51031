#pragma once
// The processor time the process has used, for reports of the component's own cost.
#include <cstdint>

namespace platform::app {

// Processor time of the whole process so far, in nanoseconds (CLOCK_PROCESS_CPUTIME_ID).
int64_t ProcessorTimeNs() noexcept;

// A clock that costs next to nothing to read (no system call): monotonic
// nanoseconds. For a short stretch of work on the one thread it stands for
// the processor time of that stretch, where reading the process clock twice
// would cost more than the stretch.
int64_t MonotonicNs() noexcept;

// Processor time used between construction (or the last Restart) and now.
class ProcessorStopwatch {
public:
    ProcessorStopwatch() noexcept : start_(ProcessorTimeNs()) {}
    void Restart() noexcept { start_ = ProcessorTimeNs(); }
    int64_t ElapsedNs() const noexcept { return ProcessorTimeNs() - start_; }

private:
    int64_t start_;
};

}  // namespace platform::app

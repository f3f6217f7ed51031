#pragma once
// The processor time the process has used, for reports of the component's own cost.
#include <cstdint>

namespace platform::app {

// Processor time of the whole process so far, in nanoseconds (CLOCK_PROCESS_CPUTIME_ID).
int64_t ProcessorTimeNs() noexcept;

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

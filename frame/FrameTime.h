#pragma once
// The frame's own time while it runs the DTM: its logs, its event records, the
// simulated device and the progress display. Reports of the DTM's processor
// time take this share out, so that only the DTM's work is booked as its own.
//
// The frame's stretches are short and many (several per transaction), so they
// are timed on the monotonic clock, which costs next to nothing to read; the
// process clock is a system call and would cost more than the stretch.
#include <algorithm>
#include <cstdint>

#include "platform/app/ProcessorTime.h"

namespace dtm::frame {

class FrameTime {
public:
    // The frame's time so far, in nanoseconds.
    static int64_t TotalNs() noexcept { return totalNs_; }

    // Books the time from construction to destruction as the frame's. A charge
    // inside another counts once. The code inside must not call into the DTM.
    class Charge {
    public:
        Charge() noexcept : outer_(depth_++ == 0), startNs_(outer_ ? platform::app::MonotonicNs() : 0) {}
        ~Charge() {
            --depth_;
            if (outer_) totalNs_ += platform::app::MonotonicNs() - startNs_;
        }
        Charge(const Charge&) = delete;
        Charge& operator=(const Charge&) = delete;

    private:
        bool outer_;
        int64_t startNs_;
    };

private:
    static inline int64_t totalNs_ = 0;
    static inline int depth_ = 0;
};

// The DTM's processor time over a stretch of frame work that runs the DTM: the
// process's processor time less the frame's share. The frame's share of the
// monotonic time of the whole is taken out of the processor time, so that a
// wait for the machine falls on both sides alike.
class DtmStopwatch {
public:
    DtmStopwatch() noexcept : frameAtStart_(FrameTime::TotalNs()), wallAtStart_(platform::app::MonotonicNs()) {}
    int64_t ElapsedNs() const {
        const int64_t processor = processor_.ElapsedNs();
        const int64_t wall = platform::app::MonotonicNs() - wallAtStart_;
        const int64_t frame = FrameTime::TotalNs() - frameAtStart_;
        if (wall <= 0) return processor;
        const double dtmShare = 1.0 - std::min(1.0, static_cast<double>(frame) / static_cast<double>(wall));
        return static_cast<int64_t>(static_cast<double>(processor) * dtmShare);
    }

private:
    int64_t frameAtStart_;
    int64_t wallAtStart_;
    platform::app::ProcessorStopwatch processor_;
};

}  // namespace dtm::frame

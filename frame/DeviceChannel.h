#pragma once
// The simulated device on the frame's communication channel: each transaction
// request (the runtime's ReadRequest / WriteRequest document) goes to the
// device; its answer document is sent to the DTM later on the event loop,
// after the transaction's bus time on the virtual clock. A dropped
// transaction is never answered; a request the frame cannot read is answered
// with a communication error.
#include <algorithm>
#include <cstdint>
#include <string>

#include "frame/FrameCommunication.h"
#include "frame/SimulatedDevice.h"
#include "platform/app/ProcessorTime.h"

namespace dtm::frame {

class DeviceChannel {
public:
    // Installs itself as the channel's transaction handler; both must outlive
    // the channel's use.
    DeviceChannel(FrameCommunication& channel, SimulatedDevice& device);

    // The answer document of a device answer to a request (slot and index as asked).
    static std::string AnswerDocument(const DeviceRequest& request, const DeviceAnswer& answer);
    // The device request of a request document; False when it is none.
    static bool ParseRequest(const std::string& xml, DeviceRequest& request);

    // Totals over the transactions this channel passed to the device.
    int64_t BusTimeUs() const { return busTimeUs_; }
    int64_t Transactions() const { return transactions_; }
    int64_t DataBytes() const { return dataBytes_; }
    // Time spent on the frame's side: reading requests, the device, writing
    // answers, on the monotonic clock (StretchStopwatch).
    int64_t FrameTimeNs() const { return frameNs_; }
    void ResetTotals() { busTimeUs_ = transactions_ = dataBytes_ = frameNs_ = 0; }

private:
    bool Transact(const std::string& invokeId, const std::string& xml, FrameCommunication::Sink sink);

    SimulatedDevice& device_;
    int64_t busTimeUs_ = 0;
    int64_t transactions_ = 0;
    int64_t dataBytes_ = 0;
    int64_t frameNs_ = 0;
};

// The DTM's processor time over a stretch of transfers through the channel:
// the process's processor time less the frame's share. The frame's own
// stretches are timed on the cheap monotonic clock, and their share of the
// monotonic time of the whole is taken out of the processor time, so that a
// wait for the machine falls on both sides alike.
class DtmStopwatch {
public:
    explicit DtmStopwatch(const DeviceChannel& channel)
        : channel_(channel), frameAtStart_(channel.FrameTimeNs()), wallAtStart_(platform::app::MonotonicNs()) {}
    int64_t ElapsedNs() const {
        const int64_t processor = processor_.ElapsedNs();
        const int64_t wall = platform::app::MonotonicNs() - wallAtStart_;
        const int64_t frame = channel_.FrameTimeNs() - frameAtStart_;
        if (wall <= 0) return processor;
        const double dtmShare = 1.0 - std::min(1.0, static_cast<double>(frame) / static_cast<double>(wall));
        return static_cast<int64_t>(static_cast<double>(processor) * dtmShare);
    }

private:
    const DeviceChannel& channel_;
    int64_t frameAtStart_;
    int64_t wallAtStart_;
    platform::app::ProcessorStopwatch processor_;
};

}  // namespace dtm::frame

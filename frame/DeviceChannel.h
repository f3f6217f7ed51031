#pragma once
// The simulated device on the frame's communication channel: each transaction
// request (the runtime's ReadRequest / WriteRequest document) goes to the
// device; its answer document is sent to the DTM later on the event loop,
// after the transaction's bus time on the virtual clock. A dropped
// transaction is never answered; a request the frame cannot read is answered
// with a communication error.
#include <cstdint>
#include <string>

#include "frame/FrameCommunication.h"
#include "frame/SimulatedDevice.h"

namespace dtm::frame {

class DeviceChannel {
public:
    // Installs itself as the channel's transaction handler; both must outlive
    // the channel's use.
    DeviceChannel(FrameCommunication& channel, SimulatedDevice& device);

    // The answer document of a device answer to a request (slot and index as asked).
    static std::string AnswerDocument(const DeviceRequest& request, const DeviceAnswer& answer);
    // The device request of a request document; False when it is none.
    // Requests in the form the runtime writes are read without the XML parser.
    static bool ParseRequest(const std::string& xml, DeviceRequest& request);
    // The same reading, always through the XML parser.
    static bool ParseRequestDocument(const std::string& xml, DeviceRequest& request);

    // Totals over the transactions this channel passed to the device.
    int64_t BusTimeUs() const { return busTimeUs_; }
    int64_t Transactions() const { return transactions_; }
    int64_t DataBytes() const { return dataBytes_; }
    void ResetTotals() { busTimeUs_ = transactions_ = dataBytes_ = 0; }

private:
    bool Transact(const std::string& invokeId, const std::string& xml, FrameCommunication::Sink sink);

    SimulatedDevice& device_;
    int64_t busTimeUs_ = 0;
    int64_t transactions_ = 0;
    int64_t dataBytes_ = 0;
};

}  // namespace dtm::frame

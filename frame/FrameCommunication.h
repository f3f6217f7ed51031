#pragma once
// The test frame's communication channel to the device. Connect and
// disconnect requests are answered by the frame itself, later (on the event
// loop), to the sink the connect named. Transaction requests go to a handler
// that a simulated device installs; without one they are refused.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "frame/RecentLog.h"
#include "platform/fdt/FrameInterfaces.h"

namespace dtm::frame {

struct CommunicationRequest {
    std::string kind;  // "Connect", "Disconnect", "Transaction", "Abort"
    std::string invokeId;
    std::string xml;
};

class FrameCommunication : public platform::fdt::IFdtCommunication,
                           public std::enable_shared_from_this<FrameCommunication> {
public:
    using Sink = platform::W<platform::fdt::IFdtCommunicationEvents>;
    // Answers a transaction request: True when it was taken (its answer is then
    // sent to the sink later), False to refuse it.
    using TransactionHandler = std::function<bool(const std::string& invokeId, const std::string& xml, Sink sink)>;

    bool ConnectRequest(Sink sink, const std::string& invokeId, const std::string& protocolId,
                        const std::string& xml) override;
    bool DisconnectRequest(const std::string& invokeId, const std::string& xml) override;
    bool TransactionRequest(const std::string& invokeId, const std::string& xml) override;
    bool AbortRequest(const std::string& communicationReference) override;

    void SetTransactionHandler(TransactionHandler handler) { transactionHandler_ = std::move(handler); }
    // The sink of the last connect.
    Sink ResponseSink() const { return sink_; }
    bool Connected() const { return connected_; }
    // The last requests (RecentLog::kDefaultCapacity unless KeepLast says otherwise).
    const RecentLog<CommunicationRequest>& Requests() const { return requests_; }
    void KeepLast(size_t requests) { requests_.Keep(requests); }

    // Sends the answers of the disconnects held back (holdDisconnect).
    void AnswerHeldDisconnects();

    // Every request is refused while False.
    bool acceptRequests = true;
    // The errorCode of connect answers; 0 accepts the connection.
    int32_t connectErrorCode = 0;
    // Virtual milliseconds from a request to its answer.
    int64_t answerDelayMs = 20;
    // Disconnect answers wait for AnswerHeldDisconnects.
    bool holdDisconnect = false;

private:
    void PostAnswer(const std::string& kind, const std::string& invokeId, const std::string& response);

    Sink sink_;
    bool connected_ = false;
    RecentLog<CommunicationRequest> requests_;
    std::vector<std::string> heldDisconnects_;
    TransactionHandler transactionHandler_;
};

}  // namespace dtm::frame

#include "frame/FrameCommunication.h"

#include "frame/FrameTime.h"
#include "platform/app/EventLoop.h"

namespace dtm::frame {

namespace {
std::string Answer(const std::string& element, int32_t errorCode) {
    return "<FDT><" + element + " api=\"DPV1\" busAddress=\"126\" errorCode=\"" + std::to_string(errorCode) +
           "\"/></FDT>";
}
}  // namespace

void FrameCommunication::PostAnswer(const std::string& kind, const std::string& invokeId,
                                    const std::string& response) {
    Sink sink = sink_;
    platform::app::EventLoop::Instance().PostAfter(answerDelayMs, [sink, kind, invokeId, response] {
        auto target = sink.lock();
        if (!target) return;
        if (kind == "Connect")
            target->OnConnectResponse(invokeId, response);
        else
            target->OnDisconnectResponse(invokeId, response);
    });
}

bool FrameCommunication::ConnectRequest(Sink sink, const std::string& invokeId, const std::string&,
                                        const std::string& xml) {
    requests_.push_back({"Connect", invokeId, xml});
    if (!acceptRequests) return false;
    sink_ = std::move(sink);
    connected_ = connectErrorCode == 0;
    PostAnswer("Connect", invokeId, Answer("ConnectResponse", connectErrorCode));
    return true;
}

bool FrameCommunication::DisconnectRequest(const std::string& invokeId, const std::string& xml) {
    requests_.push_back({"Disconnect", invokeId, xml});
    if (!acceptRequests) return false;
    connected_ = false;
    if (holdDisconnect)
        heldDisconnects_.push_back(invokeId);
    else
        PostAnswer("Disconnect", invokeId, Answer("DisconnectResponse", 0));
    return true;
}

void FrameCommunication::AnswerHeldDisconnects() {
    for (const auto& id : heldDisconnects_) PostAnswer("Disconnect", id, Answer("DisconnectResponse", 0));
    heldDisconnects_.clear();
}

bool FrameCommunication::TransactionRequest(const std::string& invokeId, const std::string& xml) {
    {
        // Only the log is the frame's here: a handler may answer from inside
        // the request, into the DTM, and times its own part (DeviceChannel).
        const FrameTime::Charge frameTime;
        requests_.push_back({"Transaction", invokeId, xml});
    }
    if (!acceptRequests || !connected_ || !transactionHandler_) return false;
    return transactionHandler_(invokeId, xml, sink_);
}

bool FrameCommunication::AbortRequest(const std::string& communicationReference) {
    requests_.push_back({"Abort", communicationReference, ""});
    connected_ = false;
    heldDisconnects_.clear();
    return true;
}

}  // namespace dtm::frame

// DtmCommService: the frame's channel, the connection made on demand and its
// end (disconnect, terminate, abort).
//
// Connection states: no channel → channel held → connecting (connect request
// sent) → connected (online unless given up at validation) → disconnecting →
// channel held. Completions are always posted, never called back from inside
// the request that starts them.
#include "platform/app/ErrorSink.h"
#include "platform/app/EventLoop.h"
#include "platform/com/Error.h"
#include "platform/fdt/FrameInterfaces.h"
#include "platform/rt/CommObj.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmCommService.h"
#include "platform/rt/ICommObjEvents.h"
#include "platform/rt/TransactionDocuments.h"
#include "platform/rt/IPrivateProcess.h"
#include "platform/win/Guid.h"
#include "platform/xml/Dom.h"

namespace platform::rt {

namespace {

constexpr const char* kProtocolId = "036D1497-387B-11D4-86E1-00E0987270B9";
constexpr const char* kConnectRequest = "<FDT><ConnectRequest/></FDT>";
constexpr const char* kDisconnectRequest = "<FDT><DisconnectRequest/></FDT>";

// A connect answer is good when it is a ConnectResponse whose errorCode is 0 (or absent).
bool IsGoodConnectAnswer(const std::string& response) {
    xml::Document doc;
    if (!doc.LoadXML(response)) return false;
    const auto answer = doc.SelectSingleNode("FDT/ConnectResponse");
    if (!answer) return false;
    const Variant code = answer->GetAttribute("errorCode");
    if (code.IsNull()) return true;
    try {
        return com::IsNumeric(code) && com::CLng(code) == 0;
    } catch (const com::ComError&) {
        return false;
    }
}

void PostFinished(const W<IPrivateProcess>& callback, const std::string& invokeId) {
    app::EventLoop::Instance().Post([callback, invokeId] {
        if (auto cb = callback.lock()) cb->OnProcessFinished(invokeId, Variant::Missing());
    });
}

}  // namespace

bool CommObj::RaiseConnectionIsValidated() {
    auto sink = sink_.lock();
    if (!sink) return false;
    bool cancel = false;
    try {
        sink->ConnectionIsValidated(cancel);
    } catch (...) {
        app::ErrorSink::Instance().RecordCurrentException("CommObj-ConnectionIsValidated");
        return false;
    }
    return cancel;
}

void DtmCommService::SetCommunication(const P<com::Object>& frameComm) {
    communication_ = std::dynamic_pointer_cast<fdt::IFdtCommunication>(frameComm);
    if (!communication_) DropConnection();
}

bool DtmCommService::IsActive() const {
    return connected_ || ConnectPending() || disconnect_.has_value() || !transactions_.empty();
}

bool DtmCommService::IsOnline() const { return connected_ && !givenUp_ && !validating_; }

P<com::Object> DtmCommService::ActiveConnection() const { return IsOnline() ? communication_ : nullptr; }

bool DtmCommService::Attach() {
    auto ctx = context_.lock();
    sink_ = ctx ? std::dynamic_pointer_cast<fdt::IFdtCommunicationEvents>(ctx->Dtm()) : nullptr;
    return communication_ != nullptr;
}

void DtmCommService::Detach() { sink_.reset(); }

bool DtmCommService::OpenConnection() {
    if (!communication_ || disconnect_) return false;
    if (connected_ || ConnectPending()) return true;
    const std::string id = win::NewGuidString();
    if (id.empty() || !communication_->ConnectRequest(sink_, id, kProtocolId, kConnectRequest)) return false;
    connectId_ = id;
    lastConnectFailure_ = ConnectFailure::None;
    return true;
}

bool DtmCommService::Terminate() {
    FailTransactions(kTransportTimeout);
    if (communication_ && (connected_ || ConnectPending())) {
        try {
            communication_->AbortRequest(connectId_);
        } catch (...) {
            app::ErrorSink::Instance().RecordCurrentException("DtmCommService-Terminate");
        }
    }
    DropConnection();
    return !IsActive();
}

bool DtmCommService::StartDisconnect(const std::string& invokeId, const P<IPrivateProcess>& callback) {
    if (!communication_ || invokeId.empty()) return false;
    PendingDisconnect pending{"", invokeId, callback, 0};
    if (!connected_ && !ConnectPending()) {
        PostFinished(pending.callback, invokeId);
        return true;
    }
    const std::string frameId = win::NewGuidString();
    if (frameId.empty() || !communication_->DisconnectRequest(frameId, kDisconnectRequest)) return false;
    connectId_.clear();
    pending.frameId = frameId;
    W<DTMContext> context = context_;
    pending.timer = app::EventLoop::Instance().PostAfter(kAnswerTimeoutMs, [context, frameId] {
        if (auto ctx = context.lock())
            if (auto service = ctx->CommService())
                if (service->disconnect_ && service->disconnect_->frameId == frameId) service->FinishDisconnect();
    });
    disconnect_ = std::move(pending);
    return true;
}

void DtmCommService::OnAbort(const std::string&) {
    FailTransactions(kTransportTimeout);
    DropConnection();
}

void DtmCommService::OnConnectResponse(const std::string& invokeId, const std::string& response) {
    if (!SameInvokeId(connectId_, invokeId)) return;
    connectId_.clear();
    if (IsGoodConnectAnswer(response)) {
        Connected();
    } else {
        connected_ = false;
        lastConnectFailure_ = ConnectFailure::Refused;
        ReleaseWaiters(false);
    }
}

void DtmCommService::OnDisconnectResponse(const std::string& invokeId, const std::string&) {
    if (disconnect_ && SameInvokeId(disconnect_->frameId, invokeId)) FinishDisconnect();
}

void DtmCommService::Connected() {
    connected_ = true;
    givenUp_ = false;
    validating_ = true;
    ReadIdentity();
}

void DtmCommService::Validate(bool identityRead) {
    validating_ = false;
    if (!identityRead) {
        GiveUp(ConnectFailure::NoAnswer);
        return;
    }
    if (commObj_ && commObj_->ValidateConnection() && commObj_->RaiseConnectionIsValidated()) {
        GiveUp(ConnectFailure::WrongType);
        return;
    }
    ReleaseWaiters(IsOnline());
}

void DtmCommService::GiveUp(ConnectFailure why) {
    lastConnectFailure_ = why;
    givenUp_ = true;
    ReleaseWaiters(false);
    StartDisconnect(win::NewGuidString(), nullptr);
}

void DtmCommService::FinishDisconnect() {
    if (!disconnect_) return;
    PendingDisconnect done = std::move(*disconnect_);
    disconnect_.reset();
    if (done.timer) app::EventLoop::Instance().Cancel(done.timer);
    connected_ = false;
    givenUp_ = false;
    PostFinished(done.callback, done.invokeId);
}

void DtmCommService::DropConnection() {
    if (ConnectPending() || validating_) lastConnectFailure_ = ConnectFailure::Dropped;
    connectId_.clear();
    FinishDisconnect();
    connected_ = false;
    givenUp_ = false;
    validating_ = false;
    ReleaseWaiters(false);
}

}  // namespace platform::rt

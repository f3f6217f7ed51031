#include "platform/rt/TransGrp.h"

#include <utility>

#include "platform/app/EventLoop.h"
#include "platform/com/Error.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmCommService.h"
#include "platform/rt/IPrivateProcess.h"
#include "platform/rt/OnlineService.h"
#include "platform/rt/TransRequest.h"
#include "platform/win/Guid.h"

namespace platform::rt {

namespace {

constexpr int32_t kStarted = 0;
constexpr int32_t kUnreachable = 1;
constexpr int32_t kReleased = 2;
constexpr int32_t kStillRunning = 6;

}  // namespace

// The callback the online service gets: the group stops being busy (and drops
// or closes as asked) just before the caller hears of the end. Owned by the
// group, so a dropped group's transfer ends unheard.
class TransGrp::Relay : public IPrivateProcess {
public:
    Relay(TransGrp& group, W<IPrivateProcess> callback, bool closeWhenDone, bool dropWhenDone)
        : group_(group), callback_(std::move(callback)), closeWhenDone_(closeWhenDone), dropWhenDone_(dropWhenDone) {}

    void OnProcessProgress(const std::string&, int16_t, const Variant&) override {}
    void OnProcessFinished(const std::string&, const Variant& extraData) override {
        if (group_.relay_.get() == this) group_.Finished(extraData);
    }

    TransGrp& group_;
    W<IPrivateProcess> callback_;
    bool closeWhenDone_;
    bool dropWhenDone_;
};

TransGrp::~TransGrp() {
    try {
        Unbind();
    } catch (...) {
        // The group goes away; a stale registration expires by itself.
    }
}

void TransGrp::Unbind() {
    const auto ctx = context_.lock();
    if (!ctx) return;
    if (auto comm = ctx->CommService()) comm->UnregisterGroup(invokeId_);
    if (busy_ && ctx->OnlineService()) ctx->OnlineService()->DropRequest(invokeId_);
}

void TransGrp::InitGroup(const P<DTMContext>& ctx) {
    context_ = ctx;
    released_ = false;
    if (invokeId_.empty()) invokeId_ = win::NewGuidString();
    if (ctx && ctx->CommService()) ctx->CommService()->RegisterGroup(invokeId_, weak_from_this());
}

void TransGrp::ReleaseGroup() {
    Unbind();
    context_.reset();
    requests_.clear();
    relay_.reset();
    open_ = false;
    busy_ = false;
    released_ = true;
}

int32_t TransGrp::CheckConnection() {
    const auto ctx = context_.lock();
    const auto comm = ctx ? ctx->CommService() : nullptr;
    return !released_ && comm && comm->Communication() ? kStarted : kUnreachable;
}

int32_t TransGrp::OpenConnection() {
    const int32_t result = CheckConnection();
    if (result == kStarted) open_ = true;
    return result;
}

void TransGrp::CloseConnection() {
    requests_.clear();
    open_ = false;
}

bool TransGrp::OwnsInvokeId(const std::string& invokeId) const { return SameInvokeId(invokeId, invokeId_); }

int32_t TransGrp::AddRequest(const P<IPrivateDataElement>& element, bool write) {
    if (!element) return com::errObjectNotSet;
    auto request = std::make_shared<TransRequest>();
    request->DataElement = element;
    request->IsWrite = write;
    requests_.push_back(std::move(request));
    return 0;
}

int32_t TransGrp::ResetGroup() {
    requests_.clear();
    return 0;
}

int32_t TransGrp::Execute(const P<IPrivateProcess>& callback, bool closeWhenDone, bool dropWhenDone) {
    if (released_) return kReleased;
    if (busy_) return kStillRunning;
    if (CheckConnection() != kStarted) return kUnreachable;
    const auto ctx = context_.lock();
    auto relay = std::make_shared<Relay>(*this, callback, closeWhenDone, dropWhenDone);
    if (requests_.empty()) {
        // Nothing to transfer: no connect, the end on the next pump.
        ctx->CommService()->RecordTransactionResults(invokeId_, {});
        W<Relay> weak = relay;
        app::EventLoop::Instance().Post([weak] {
            if (auto target = weak.lock()) target->OnProcessFinished("", Variant::Bool(true));
        });
    } else if (!ctx->OnlineService() || !ctx->OnlineService()->StartGroup(invokeId_, requests_, relay)) {
        return kUnreachable;
    }
    relay_ = std::move(relay);
    busy_ = true;
    return kStarted;
}

void TransGrp::Finished(const Variant& extraData) {
    const P<Relay> relay = std::move(relay_);  // alive until the caller returns
    busy_ = false;
    if (relay->dropWhenDone_) requests_.clear();
    if (relay->closeWhenDone_) open_ = false;
    if (auto callback = relay->callback_.lock()) callback->OnProcessFinished(invokeId_, extraData);
}

}  // namespace platform::rt

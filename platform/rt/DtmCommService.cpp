// DtmCommService: the transactions of the transfers, their answers routed by
// invoke id, the read of the connected device's identity, and the read-back
// and repeat requests of the model.
#include "platform/rt/DtmCommService.h"

#include <algorithm>
#include <utility>

#include "platform/app/ErrorSink.h"
#include "platform/app/EventLoop.h"
#include "platform/com/Error.h"
#include "platform/com/VbText.h"
#include "platform/fdt/FrameInterfaces.h"
#include "platform/rt/CommObj.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/IPrivateDataElement.h"
#include "platform/rt/Transaction.h"
#include "platform/rt/TransactionData.h"
#include "platform/rt/TransactionDocuments.h"
#include "platform/win/Guid.h"

namespace platform::rt {

namespace {

// DEVICE_MAN_ID (Unsigned16) and DEVICE_ID (visible string 16) of the Device Directory.
constexpr uint8_t kIdentitySlot = 0;
constexpr uint8_t kManufacturerIdIndex = 26;
constexpr uint8_t kDeviceIdIndex = 27;
constexpr int32_t kDeviceIdLength = 16;

char LowerAscii(char c) noexcept { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; }

std::string KeyOf(const std::string& invokeId) {
    std::string key = invokeId;
    for (char& c : key) c = LowerAscii(c);
    return key;
}

P<Transaction> ReadOf(uint8_t slot, uint8_t index) {
    auto trans = std::make_shared<Transaction>();
    trans->TransSlot(Variant::Byte(slot));
    trans->TransIndex(Variant::Byte(index));
    return trans;
}

// The answer's data as a TransactionData buffer; False for an error answer or no data.
bool AnswerData(const Transaction& trans, TransactionData& buf) {
    if (!trans.ErrorInfo().IsEmpty() || !trans.TransData().IsByteArray()) return false;
    buf.Bytes(trans.TransData());
    return true;
}

}  // namespace

bool SameInvokeId(std::string_view a, std::string_view b) {
    return !a.empty() && a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

// ---- Transactions ----

DtmCommService::~DtmCommService() {
    for (const auto& pending : transactions_)
        if (pending.timer) app::EventLoop::Instance().Cancel(pending.timer);
}

bool DtmCommService::SendTransaction(const P<Transaction>& trans, bool write, TransactionDone done) {
    if (!trans || !communication_ || !connected_ || givenUp_ || disconnect_) return false;
    // The room of the last request's texts is reused; a request sent from
    // inside this one (an answer given at once) makes its own.
    std::string xml = std::move(requestBuffer_);
    if (!BuildTransactionDocument(*trans, write, xml)) return false;
    std::string id = std::move(requestIdBuffer_);
    id = NextTransactionId();
    if (id.empty()) return false;
    const uint64_t serial = ++lastSerial_;
    // Entered before the request: a frame may answer from inside it.
    PendingTransaction& pending = transactions_.emplace_back();
    std::copy(id.begin(), id.end(), pending.invokeId.begin());
    pending.serial = serial;
    pending.trans = trans;
    pending.write = write;
    pending.done = std::move(done);
    bool taken = false;
    try {
        taken = communication_->TransactionRequest(id, xml);
    } catch (...) {
        app::ErrorSink::Instance().RecordCurrentException("DtmCommService-TransactionRequest");
    }
    requestBuffer_ = std::move(xml);
    requestIdBuffer_ = std::move(id);
    auto it = std::find_if(transactions_.begin(), transactions_.end(),
                           [serial](const PendingTransaction& p) { return p.serial == serial; });
    if (!taken) {
        if (it != transactions_.end()) transactions_.erase(it);
        return false;
    }
    // The service cancels the timeouts still pending when it goes, so the
    // timeout may name it directly.
    if (it != transactions_.end())
        it->timer = app::EventLoop::Instance().PostAfter(kAnswerTimeoutMs, [this, serial] { TimeOut(serial); });
    return true;
}

void DtmCommService::TimeOut(uint64_t serial) {
    // Only the context's own service, as long as the context lives, ends its transactions.
    const auto ctx = context_.lock();
    if (!ctx || ctx->CommService().get() != this) return;
    auto it = std::find_if(transactions_.begin(), transactions_.end(),
                           [serial](const PendingTransaction& p) { return p.serial == serial; });
    if (it == transactions_.end()) return;
    it->timer = 0;  // running now
    FinishTransaction(it, kTransportTimeout);
}

const std::string& DtmCommService::NextTransactionId() {
    // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}": the node digits start at 25.
    constexpr size_t kNodeAt = 25;
    constexpr size_t kNodeDigits = 12;
    static_assert(kNodeAt + kNodeDigits + 1 == kTransactionIdLength);
    if (transactionIdsLeft_ == 0) {
        transactionIdBase_ = win::NewGuidString();
        if (transactionIdBase_.size() != kTransactionIdLength) {
            transactionIdBase_.clear();
            return transactionIdBase_;
        }
        // The node digits count on in upper case.
        for (size_t i = kNodeAt; i < kNodeAt + kNodeDigits; ++i)
            if (transactionIdBase_[i] >= 'a' && transactionIdBase_[i] <= 'f') transactionIdBase_[i] -= 'a' - 'A';
        transactionIdsLeft_ = uint64_t{1} << 32;
    }
    --transactionIdsLeft_;
    // The node plus one, in place: the last digit that is no F goes up, the Fs after it
    // become 0 (all twelve Fs wrap round to zeros).
    for (size_t i = kNodeAt + kNodeDigits; i-- > kNodeAt;) {
        char& digit = transactionIdBase_[i];
        if (digit == 'F') {
            digit = '0';
            continue;
        }
        digit = digit == '9' ? 'A' : static_cast<char>(digit + 1);
        break;
    }
    return transactionIdBase_;
}

DtmCommService::PendingList::iterator DtmCommService::FindTransaction(const std::string& invokeId) {
    // The frame answers with the id as sent; another spelling is looked for after.
    auto it = std::find_if(transactions_.begin(), transactions_.end(),
                           [&](const PendingTransaction& p) { return p.InvokeId() == invokeId; });
    if (it != transactions_.end()) return it;
    return std::find_if(transactions_.begin(), transactions_.end(),
                        [&](const PendingTransaction& p) { return SameInvokeId(p.InvokeId(), invokeId); });
}

void DtmCommService::OnTransactionResponse(const std::string& invokeId, const std::string& response) {
    auto it = FindTransaction(invokeId);
    if (it == transactions_.end()) return;  // unknown, late or already failed
    const int32_t status = DecodeTransactionAnswer(response, it->write, *it->trans);
    FinishTransaction(it, status);
}

void DtmCommService::FinishTransaction(PendingList::iterator it, int32_t status) {
    PendingTransaction done = std::move(*it);
    transactions_.erase(it);
    if (done.timer) app::EventLoop::Instance().Cancel(done.timer);
    RunDone(done.done, status);
}

void DtmCommService::RunDone(const TransactionDone& done, int32_t status) {
    if (!done) return;
    try {
        done(status);
    } catch (...) {
        app::ErrorSink::Instance().RecordCurrentException("DtmCommService-TransactionDone");
    }
}

void DtmCommService::FailTransactions(int32_t status) {
    // The transactions end here, so that the service is no longer active for
    // them (Terminate answers True), and a late answer finds none of them. Their
    // callers learn of it later: the caller of Terminate or OnAbort is not
    // called back from inside.
    W<DTMContext> context = context_;
    for (auto& pending : std::exchange(transactions_, {})) {
        if (pending.timer) app::EventLoop::Instance().Cancel(pending.timer);
        app::EventLoop::Instance().Post([context, done = std::move(pending.done), status] {
            if (context.lock()) RunDone(done, status);
        });
    }
}

// ---- Waiting for the connection ----

void DtmCommService::WhenOnline(OnlineWaiter waiter) {
    if (!waiter) return;
    if (IsOnline()) {
        app::EventLoop::Instance().Post([waiter] { waiter(true); });
        return;
    }
    if (!communication_ || givenUp_ || !OpenConnection()) {
        lastConnectFailure_ = ConnectFailure::NotSent;
        app::EventLoop::Instance().Post([waiter] { waiter(false); });
        return;
    }
    waiters_.push_back(std::move(waiter));
}

void DtmCommService::ReleaseWaiters(bool online) {
    for (auto& waiter : std::exchange(waiters_, {}))
        app::EventLoop::Instance().Post([waiter, online] { waiter(online); });
}

// ---- The connected device's identity ----

// The identity is read when both reads are answered with data; the
// validation learns whether it was.
void DtmCommService::ReadIdentity() {
    if (commObj_) {
        commObj_->ConnectedManufacturerId(Variant());
        commObj_->ConnectedDeviceName("");
    }
    W<DTMContext> context = context_;
    auto service = [context]() -> DtmCommService* {
        auto ctx = context.lock();
        return ctx ? ctx->CommService().get() : nullptr;
    };
    auto manId = ReadOf(kIdentitySlot, kManufacturerIdIndex);
    auto devId = ReadOf(kIdentitySlot, kDeviceIdIndex);
    auto readDeviceId = [service, devId](int32_t status) {
        auto* self = service();
        if (!self) return;
        bool read = false;
        TransactionData buf;
        if (status == kTransportOk && AnswerData(*devId, buf)) {
            try {
                std::string name = buf.ReadString(-1, TransactionData::kVisibleCoding);
                std::erase(name, '\0');
                if (name.size() > kDeviceIdLength) name.resize(kDeviceIdLength);
                if (self->commObj_) self->commObj_->ConnectedDeviceName(com::vb::RTrim(name));
                read = true;
            } catch (const com::ComError&) {
            }
        }
        if (self->validating_) self->Validate(read);
    };
    auto readManufacturer = [service, manId, devId, readDeviceId](int32_t status) {
        auto* self = service();
        if (!self) return;
        bool read = false;
        TransactionData buf;
        if (status == kTransportOk && AnswerData(*manId, buf)) {
            try {
                const Variant id = Variant::Lng(buf.ReadUnsigned16(false));
                if (self->commObj_) self->commObj_->ConnectedManufacturerId(id);
                read = true;
            } catch (const com::ComError&) {
            }
        }
        if (!self->validating_) return;
        if (!read || !self->SendTransaction(devId, false, readDeviceId)) self->Validate(false);
    };
    if (!SendTransaction(manId, false, readManufacturer)) Validate(false);
}

// ---- The model's requests during an answer ----

void DtmCommService::AddUploadRequest(const P<IPrivateDataElement>& element, int32_t /*arg1*/,
                                      bool /*arg2*/, int32_t /*arg3*/, int32_t& result) {
    if (!element) {
        result = com::errObjectNotSet;
        return;
    }
    readBackRequests_.push_back(element);
    result = 0;
}

bool DtmCommService::TakeRepeatRequest() { return std::exchange(repeatRequested_, false); }

std::vector<P<IPrivateDataElement>> DtmCommService::TakeReadBackRequests() {
    return std::exchange(readBackRequests_, {});
}

std::vector<TransactionResult> DtmCommService::GetTransactionResults(const std::string& invokeId) const {
    auto it = results_.find(KeyOf(invokeId));
    return it == results_.end() ? std::vector<TransactionResult>{} : it->second;
}

void DtmCommService::RecordTransactionResults(const std::string& invokeId, std::vector<TransactionResult> results) {
    results_[KeyOf(invokeId)] = std::move(results);
    if (!HasGroup(invokeId)) AgeResults(invokeId);
}

void DtmCommService::AgeResults(const std::string& invokeId) {
    const std::string key = KeyOf(invokeId);
    if (results_.count(key) == 0) return;
    std::erase(recentResultKeys_, key);
    recentResultKeys_.push_back(key);
    if (recentResultKeys_.size() <= kRecentResults) return;
    const std::string oldest = std::move(recentResultKeys_.front());
    recentResultKeys_.pop_front();
    if (!HasGroup(oldest)) results_.erase(oldest);
}

}  // namespace platform::rt

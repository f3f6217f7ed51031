#pragma once
// The communication service of one DTM instance: the frame's channel, the
// connection made on demand, and the routing of the frame's answers.
#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/com/Variant.h"
#include "platform/rt/TransactionResult.h"

namespace platform::fdt {
class IFdtCommunication;
class IFdtCommunicationEvents;
}  // namespace platform::fdt

namespace platform::rt {

class CommObj;
class DTMContext;
class IPrivateDataElement;
class IPrivateProcess;
class Transaction;
class TransGrp;
struct TransRequest;

// Invoke ids are the same when equal ignoring ASCII case (never when empty).
bool SameInvokeId(std::string_view a, std::string_view b);


class DtmCommService : public com::Object {
public:
    explicit DtmCommService(W<DTMContext> ctx = {}) : context_(std::move(ctx)) {}
    // Cancels the timeouts of the transactions still pending.
    ~DtmCommService() override;
    DtmCommService(const DtmCommService&) = delete;
    DtmCommService& operator=(const DtmCommService&) = delete;

    // The instance's communication object (settings, connected identity, event).
    P<rt::CommObj> CommObj() const { return commObj_; }
    void CommObj(const P<rt::CommObj>& obj) { commObj_ = obj; }

    // Keeps the frame's fdt::IFdtCommunication; null drops it.
    void SetCommunication(const P<com::Object>& frameComm);
    // A connection exists, or a connect, disconnect or transaction is pending.
    bool IsActive() const;
    // Connected and not given up at validation.
    bool IsOnline() const;
    // The communication object while online, else null.
    P<com::Object> ActiveConnection() const;
    // Binds the DTM's response sink; True when a channel is held. Never connects.
    bool Attach();
    void Detach();
    // Aborts the connection and everything pending; True when no longer active.
    bool Terminate();
    // Sends a disconnect; the end is posted as callback->OnProcessFinished(id, Missing).
    // False without a channel.
    bool StartDisconnect(const std::string& invokeId, const P<IPrivateProcess>& callback);

    // Sends a connect request unless connected or a connect is pending; the
    // answer decides the online state. False without a channel, when the frame
    // refuses the request, or while a disconnect runs.
    bool OpenConnection();
    // A connect whose answer is awaited.
    bool ConnectPending() const { return !connectId_.empty(); }
    // A disconnect whose end is awaited: no transaction is sent meanwhile.
    bool DisconnectPending() const { return disconnect_.has_value(); }

    // Work that needs the device: run (posted) once the instance is online,
    // with True, after the connect made on demand; with False when there is no
    // channel or the connect is refused or given up.
    using OnlineWaiter = std::function<void(bool online)>;
    void WhenOnline(OnlineWaiter waiter);

    // Why the last connect did not bring the instance online; None while it
    // runs and once it is online.
    enum class ConnectFailure {
        None,
        NotSent,    // no channel, the frame refused the request, or a disconnect still ran
        Refused,    // the connect was answered with an error
        NoAnswer,   // the device did not give its identity
        WrongType,  // the device's type was refused at validation
        Dropped,    // aborted, terminated or the channel let go before online
    };
    ConnectFailure LastConnectFailure() const { return lastConnectFailure_; }

    // Sends the transaction as a read or write request with a new invoke id.
    // Its answer fills the transaction (TransportStatus kTransportOk), or a
    // failure leaves it as it was; either way `done` gets the transport status,
    // never before SendTransaction returns. No answer within kAnswerTimeoutMs
    // fails it with kTransportTimeout. False (and `done` never called) when not
    // connected, the request cannot be coded or the frame refuses it.
    using TransactionDone = std::function<void(int32_t transportStatus)>;
    bool SendTransaction(const P<Transaction>& trans, bool write, TransactionDone done);
    // Transactions whose answer is awaited.
    size_t PendingTransactions() const { return transactions_.size(); }
    // The frame's channel; null when none is held.
    P<fdt::IFdtCommunication> Communication() const { return communication_; }

    // No answer to a disconnect or a transaction within this time ends it all the same.
    static constexpr int64_t kAnswerTimeoutMs = 10000;

    // The frame's answers, routed by invoke id; unknown ids are ignored.
    void OnAbort(const std::string& communicationReference);
    void OnConnectResponse(const std::string& invokeId, const std::string& response);
    void OnDisconnectResponse(const std::string& invokeId, const std::string& response);
    void OnTransactionResponse(const std::string& invokeId, const std::string& response);

    // During ReadTransactionResponse: send the same transaction again.
    void RepeatTransaction() { repeatRequested_ = true; }
    // Queues a read-back of the element after the current writes; `result` is
    // 0, or 91 (nothing queued) for a null element. Adds no TransactionResult.
    void AddUploadRequest(const P<IPrivateDataElement>& element, int32_t arg1, bool arg2,
                          int32_t arg3, int32_t& result);
    // For the transfer loop: whether a repeat was asked for since the last call,
    // and the read-backs queued since the last call (each call clears them).
    bool TakeRepeatRequest();
    std::vector<P<IPrivateDataElement>> TakeReadBackRequests();
    // The group's current requests; none for an unknown or released group.
    std::vector<P<TransRequest>> GetRequests(const std::string& groupId) const;
    // The instance's transaction groups by invoke id, held weakly
    // (TransGrp::InitGroup registers, ReleaseGroup removes).
    void RegisterGroup(const std::string& groupId, W<TransGrp> group);
    void UnregisterGroup(const std::string& groupId);
    // One result per request of the last finished process with that id.
    std::vector<TransactionResult> GetTransactionResults(const std::string& invokeId) const;
    // Kept for GetTransactionResults by the process that ran the requests: a
    // registered group's until it is unregistered, the others' for the last
    // kRecentResults processes only (a process asks when it hears of its end).
    static constexpr size_t kRecentResults = 2;
    void RecordTransactionResults(const std::string& invokeId, std::vector<TransactionResult> results);

    // Stored only.
    int32_t Setting1() const { return setting1_; }
    void Setting1(int32_t value) { setting1_ = value; }
    int32_t Setting2() const { return setting2_; }
    void Setting2(int32_t value) { setting2_ = value; }

private:
    struct PendingDisconnect {
        std::string frameId;  // the id of the frame's disconnect request; "" when none was sent
        std::string invokeId;
        W<IPrivateProcess> callback;
        uint64_t timer = 0;
    };

    // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", as every transaction's id is.
    static constexpr size_t kTransactionIdLength = 38;

    struct PendingTransaction {
        std::array<char, kTransactionIdLength> invokeId{};  // as sent
        std::string_view InvokeId() const { return {invokeId.data(), invokeId.size()}; }
        uint64_t serial = 0;   // names it to its timeout
        P<Transaction> trans;
        bool write = false;
        TransactionDone done;
        uint64_t timer = 0;
    };
    using PendingList = std::vector<PendingTransaction>;

    // A good connect answer: the device's identity is read, the connection
    // validated, then online or given up. An identity that could not be read
    // gives the connection up unvalidated.
    void Connected();
    void ReadIdentity();
    void Validate(bool identityRead);
    // Fails the waiters and disconnects what the frame connected.
    void GiveUp(ConnectFailure why);
    // The waiters run (posted) with the online state.
    void ReleaseWaiters(bool online);
    // The timeout of the transaction with that serial, if still pending.
    void TimeOut(uint64_t serial);
    // Every pending transaction ends at once; its caller learns of the failure posted.
    void FailTransactions(int32_t status);
    // A transaction's `done` with the status, an error it raises recorded.
    static void RunDone(const TransactionDone& done, int32_t status);
    // Ends the disconnect (if any): its callback is posted, the connection is gone.
    void FinishDisconnect();
    void DropConnection();
    // A new invoke id for a transaction: a GUID made once per service whose
    // last twelve digits (upper case) count on with every id; "" when no GUID
    // can be made. Valid until the next call.
    const std::string& NextTransactionId();
    // The results of that process (if any) age out with the other ungrouped processes'.
    void AgeResults(const std::string& invokeId);
    // Ends the pending transaction: its timer cancelled, its caller told.
    void FinishTransaction(PendingList::iterator it, int32_t status);
    // The pending transaction of an invoke id, its letters in either case.
    PendingList::iterator FindTransaction(const std::string& invokeId);
    bool HasGroup(const std::string& invokeId) const;

    W<DTMContext> context_;
    P<rt::CommObj> commObj_;
    P<fdt::IFdtCommunication> communication_;
    W<fdt::IFdtCommunicationEvents> sink_;
    bool connected_ = false;
    bool givenUp_ = false;  // refused at validation
    std::string connectId_;
    std::optional<PendingDisconnect> disconnect_;
    bool validating_ = false;  // connected, identity being read
    std::vector<OnlineWaiter> waiters_;
    ConnectFailure lastConnectFailure_ = ConnectFailure::None;
    PendingList transactions_;  // in the order sent (few: transfers run one at a time)
    uint64_t lastSerial_ = 0;
    std::string requestBuffer_;    // the last request's text, its room reused
    std::string requestIdBuffer_;  // the same for its invoke id
    std::map<std::string, std::vector<TransactionResult>> results_;
    std::deque<std::string> recentResultKeys_;  // the results_ keys of no group, oldest first
    std::vector<std::pair<std::string, W<TransGrp>>> groups_;
    bool repeatRequested_ = false;                           // taken by the transfer loop
    std::vector<P<IPrivateDataElement>> readBackRequests_;  // taken by the transfer loop
    int32_t setting1_ = 0;
    int32_t setting2_ = 0;
    std::string transactionIdBase_;  // the last id of NextTransactionId, "" until the first
    uint64_t transactionIdsLeft_ = 0;  // ids until a new GUID is made
};

}  // namespace platform::rt

#pragma once
// Device transfers of one DTM instance: frame uploads and downloads, commands
// and marked uploads, each one transaction per distinct (slot, index).
//
// Selection: the elements whose paths start with the path ("" = all), in
// collection order. A selected record header carries its fields (its answer
// is decoded into them), a read answer without a header is handed to every
// selected element at that address, writes without a header go per element.
// Downloads send their writes first, then the read-backs the model asks for.
//
// Each answer: the transport bits (16 to 19) of the request's elements set
// (0 when good) and NotifyChange sent when they changed, then the model's
// ReadTransactionResponse, both marked as a device answer in the collection
// (so are the notices of a failed connection); a busy answer that the model
// wants repeated is sent again. A failed transaction leaves the values as they
// were.
//
// Transfers run one after the other; the connection is made on demand.
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/com/Variant.h"

namespace platform::rt {

class DTMContext;
class IPrivateDataElement;
class IPrivateProcess;
struct TransRequest;

class OnlineService : public com::Object {
public:
    explicit OnlineService(W<DTMContext> ctx = {});
    ~OnlineService() override;

    // Transfer of the upload or download elements under `path` ("" = all); the
    // end goes to the frame's OnUploadFinished/OnDownloadFinished. False
    // without a channel.
    bool Upload(const std::string& invokeId, const std::string& path);
    bool Download(const std::string& invokeId, const std::string& path);
    // Drops the queued requests; the frame then gets "finished, not ok". The
    // transaction on the bus completes first. False for an unknown id.
    bool Cancel(const std::string& invokeId);
    // 1 while an Upload or StartUpload runs, else 0.
    int32_t OperationMode() const;

    // Writes the command element, then posts OnProcessFinished(id, ok).
    bool StartCommand(const std::string& invokeId, const std::string& elementName,
                      const P<IPrivateProcess>& callback);
    // Forgets the process; no callback. A group's transfer whose first write
    // has gone out still sends the rest of its writes (what a page sent goes
    // out whole); its reads are dropped.
    void DropRequest(const std::string& invokeId);
    // &H1 upload, &H2 download, &H4 command running.
    int32_t OnlineState() const;
    // Reads the elements whose flags have a bit of `flagMask`, clearing it.
    // OnProcessFinished carries True only when every read succeeded.
    bool StartUpload(const std::string& invokeId, const std::string& path, int32_t mode,
                     int32_t flagMask, int32_t arg5, int32_t arg6,
                     const P<IPrivateProcess>& callback);
    // 1 during an upload, 2 during a download, else 0.
    int32_t State() const;
    // Whether a group's write of the element, or of the record it belongs
    // to, waits in the queue, not yet handed to the channel (a cancelled
    // transfer's never goes out, unless its writes had begun); with an invoke
    // id, only that group's.
    bool WriteWaits(const IPrivateDataElement& el, const std::string& invokeId = {}) const;
    // The device's answer to that group's write of the element (or of the
    // record it belongs to) once the write has gone out: `judge` gets whether
    // the device took it (answered without an error), at once when the answer
    // is in, else posted when the transfer ends (not taken when no answer
    // came). False, and `judge` is never called, when the group's transfer
    // runs no such write or the write has not gone out.
    using WriteJudge = std::function<void(bool taken)>;
    bool FollowWrite(const IPrivateDataElement& el, const std::string& invokeId, WriteJudge judge);
    // A transaction group's requests: its writes as a download writes them,
    // then its reads, one transaction per distinct address (one result per
    // request); then posts OnProcessFinished(id, ok). OperationMode stays 0.
    // False without a channel. The writes are coded at the start, from the
    // values the elements hold then: what a page sent goes out as it was
    // sent, whatever reaches the elements before their turn.
    bool StartGroup(const std::string& invokeId, const std::vector<P<TransRequest>>& requests,
                    const P<IPrivateProcess>& callback);

    // Totals of every transfer so far (for the frame's report).
    struct Statistics {
        int64_t transactions = 0;  // sent to the frame, repeats included
        int64_t repeats = 0;
        int64_t bytes = 0;         // data bytes written and read
        int64_t elements = 0;      // elements that took part in a transfer
    };
    const Statistics& Totals() const { return totals_; }

    struct Transfer;

private:
    // The context while a channel is held, else null.
    P<DTMContext> ReachableContext() const;
    bool StartFrameTransfer(bool upload, const std::string& invokeId, const std::string& path);
    bool Enqueue(const std::shared_ptr<Transfer>& transfer);
    // Codes the transfer's writes from the elements' values now.
    void CodeWrites(Transfer& transfer) const;
    void StartNext();
    void Connected(const std::shared_ptr<Transfer>& transfer, bool online);
    void RunStep(const std::shared_ptr<Transfer>& transfer);
    void Send(const std::shared_ptr<Transfer>& transfer);
    void Answered(const std::shared_ptr<Transfer>& transfer, int32_t status);
    // The answer to a transaction the transfer sent, if the transfer is still queued.
    void TransactionAnswered(uint64_t serial, int32_t status);
    void Advance(const std::shared_ptr<Transfer>& transfer);
    void Finish(const std::shared_ptr<Transfer>& transfer);
    void Progress(Transfer& transfer, bool show);
    std::shared_ptr<Transfer> FindTransfer(const std::string& invokeId) const;

    W<DTMContext> context_;
    std::deque<std::shared_ptr<Transfer>> queue_;  // front: the running one
    Statistics totals_;
};

}  // namespace platform::rt

#pragma once
// A transaction group: element requests that are read or written together and
// started with an IPrivateProcess callback. One invoke id for the group's life.
//
// The transfer runs in the instance's online service like any other (connect
// on demand, busy answers repeated, results recorded under the group's id).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/com/Variant.h"

namespace platform::rt {

class DTMContext;
class IPrivateDataElement;
class IPrivateProcess;
struct TransRequest;

class TransGrp : public com::Object, public std::enable_shared_from_this<TransGrp> {
public:
    // A running transfer is dropped (its callback is not called).
    ~TransGrp() override;

    // Binds the context and creates the group's invoke id (once); the
    // communication service then knows the group's requests by that id.
    void InitGroup(const P<DTMContext>& ctx);
    // Drops the requests and the context; a running transfer is dropped (its
    // callback is not called; once its first write has gone out, the rest of
    // its writes still go out). Later calls are harmless.
    void ReleaseGroup();

    // 0 when the device is reachable (a channel is held; the connect is made
    // on demand), else 1.
    int32_t CheckConnection();
    // As CheckConnection; on 0 the group is marked open.
    int32_t OpenConnection();
    // Drops the requests and the open mark; a running transfer completes.
    void CloseConnection();
    bool IsOpen() const { return open_; }

    std::string GroupInvokeId() const { return invokeId_; }
    bool OwnsInvokeId(const std::string& invokeId) const;
    // From the start of Execute until just before OnProcessFinished.
    bool IsBusy() const { return busy_; }

    // Appends a read or write of the element; 0, or 91 for a null element.
    int32_t AddRequest(const P<IPrivateDataElement>& element, bool write);
    // Empties the group.
    int32_t ResetGroup();
    const std::vector<P<TransRequest>>& Requests() const { return requests_; }
    // 0 started; 6 still running (nothing started); 1 unreachable; 2 released.
    // Ends in callback->OnProcessFinished(GroupInvokeId(), ok), posted; before
    // it, dropWhenDone empties the group and closeWhenDone drops the open mark.
    int32_t Execute(const P<IPrivateProcess>& callback, bool closeWhenDone, bool dropWhenDone);

private:
    class Relay;
    // The end of the running Execute, from its relay.
    void Finished(const Variant& extraData);
    // Forgets the group at the communication service and drops its running transfer.
    void Unbind();

    W<DTMContext> context_;
    std::string invokeId_;
    std::vector<P<TransRequest>> requests_;
    P<Relay> relay_;  // while a transfer runs
    bool open_ = false;
    bool busy_ = false;
    bool released_ = false;
};

}  // namespace platform::rt

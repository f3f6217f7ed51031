#pragma once
// A transaction group: element requests that are read or written together and
// started with an IPrivateProcess callback. One invoke id for the group's life.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/com/Variant.h"

namespace platform::rt {

class DTMContext;
class IPrivateDataElement;
class IPrivateProcess;
struct TransRequest;

class TransGrp : public com::Object {
public:
    // Binds the context and creates the group's invoke id.
    void InitGroup(const P<DTMContext>& ctx);
    // Drops the requests and the context; later calls are harmless.
    void ReleaseGroup();

    // 0 when the device is reachable, else 1.
    int32_t CheckConnection();
    // As CheckConnection; on 0 the group is marked open.
    int32_t OpenConnection();
    // Drops the requests and the open mark; a running transfer completes.
    void CloseConnection();

    std::string GroupInvokeId() const;
    bool OwnsInvokeId(const std::string& invokeId) const;
    // From the start of Execute until just before OnProcessFinished.
    bool IsBusy() const;

    // Appends a read or write of the element; 0, or 91 for a null element.
    int32_t AddRequest(const P<IPrivateDataElement>& element, bool write);
    // Empties the group.
    int32_t ResetGroup();
    // 0 started; 6 still running (nothing started); 1 unreachable; 2 released.
    // Ends in callback->OnProcessFinished(GroupInvokeId(), ok).
    int32_t Execute(const P<IPrivateProcess>& callback, bool closeWhenDone, bool dropWhenDone);

private:
    W<DTMContext> context_;
    std::string invokeId_;
    std::vector<P<TransRequest>> requests_;
    bool open_ = false;
    bool busy_ = false;
    bool released_ = false;
};

}  // namespace platform::rt

#pragma once
// What the cyclic refresh control needs of its transaction group: the group
// itself for the host's requests, its calls, and the elements of its current
// requests as the communication service reports them.
//
// NewTransGrpCycleGroup wraps a runtime TransGrp; ctlCycle creates its groups
// through the factory set by SetCycleGroupFactory, NewTransGrpCycleGroup
// unless a test set another.
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/com/Variant.h"
#include "platform/rt/IPrivateDataElement.h"

namespace platform::rt {
class DTMContext;
class IPrivateProcess;
class TransGrp;
}  // namespace platform::rt

namespace dtm {

class ICycleGroup {
public:
    virtual ~ICycleGroup() = default;
    // The group the host adds its read requests to.
    virtual platform::rt::TransGrp& Group() = 0;
    virtual void InitGroup(const platform::P<platform::rt::DTMContext>& ctx) = 0;
    virtual void ReleaseGroup() = 0;
    // 0 when the device is reachable.
    virtual int32_t CheckConnection() = 0;
    virtual bool IsBusy() = 0;
    virtual int32_t ResetGroup() = 0;
    // One asynchronous read of the whole group: 0 started, 6 still running,
    // anything else not started.
    virtual int32_t Execute(const platform::P<platform::rt::IPrivateProcess>& callback) = 0;
    // The DataElement of each current request (null where a request has none),
    // in request order.
    virtual std::vector<platform::rt::El> RequestElements(const platform::P<platform::rt::DTMContext>& ctx) = 0;
};

using CycleGroupFactory = std::function<platform::P<ICycleGroup>()>;

// The factory ctlCycle::Init uses (NewTransGrpCycleGroup at start); an empty
// one makes Init raise 429.
const CycleGroupFactory& GetCycleGroupFactory();
void SetCycleGroupFactory(CycleGroupFactory factory);

// A group over the runtime's TransGrp and the communication service's requests.
platform::P<ICycleGroup> NewTransGrpCycleGroup();

}  // namespace dtm

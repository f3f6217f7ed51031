#pragma once
// A page that runs a stepwise method: its state (0 idle, never negative), the
// busy flag of the DTM instance that lets one such page run at a time, and
// the step into a new state.
#include <cstdint>

#include "platform/com/Variant.h"

namespace dtm {

class IDDMethod : public virtual platform::com::Object {
public:
    virtual int16_t MethodState() const = 0;
    // A negative state is stored as 0.
    virtual void MethodState(int16_t state) = 0;
    virtual bool IsMethodRunning() const = 0;
    virtual void ChangeState(int16_t newState) = 0;
    // Takes the instance's busy flag; False (with a message) when another page holds it.
    virtual bool SetRunningFlag() = 0;
    virtual void ResetRunningFlag() = 0;
};

}  // namespace dtm

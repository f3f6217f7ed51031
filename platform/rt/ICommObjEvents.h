#pragma once
// Event sink of the communication object (the DTM object).
#include "platform/com/Variant.h"

namespace platform::rt {

class ICommObjEvents : public virtual com::Object {
public:
    // Raised after a good connect once the device's identity was read; setting
    // `cancel` gives the connection up.
    virtual void ConnectionIsValidated(bool& cancel) = 0;
};

}  // namespace platform::rt

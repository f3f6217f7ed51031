#pragma once
// One element request of a transaction group.
#include "platform/com/Variant.h"

namespace platform::rt {

class IPrivateDataElement;

struct TransRequest : com::Object {
    P<IPrivateDataElement> DataElement;
    bool IsWrite = false;
};

}  // namespace platform::rt

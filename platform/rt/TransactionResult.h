#pragma once
// The outcome of one request of a finished process.
#include "platform/com/Variant.h"

namespace platform::rt {

class IPrivateDataElement;

struct TransactionResult : com::Object {
    P<IPrivateDataElement> DataElement;
    bool IsWrite = false;
    // Not built, a bad or missing answer, or a DP-V1 or decoding error.
    bool Failed = false;
};

}  // namespace platform::rt

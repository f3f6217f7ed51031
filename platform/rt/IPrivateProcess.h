#pragma once
// Callback of a process the runtime runs for the DTM or a page (a transfer, a
// command, a disconnect). A receiver acts only on its own invoke id.
#include <cstdint>
#include <string>

#include "platform/com/Variant.h"

namespace platform::rt {

class IPrivateProcess : public virtual com::Object {
public:
    virtual void OnProcessProgress(const std::string& invokeId, int16_t percent,
                                   const Variant& extraData = Variant::Missing()) = 0;
    virtual void OnProcessFinished(const std::string& invokeId,
                                   const Variant& extraData = Variant::Missing()) = 0;
};

}  // namespace platform::rt

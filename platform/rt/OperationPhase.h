#pragma once
// The frame's operation state handed to GetFunctions.
#include <string>

#include "platform/com/Variant.h"

namespace platform::rt {

class DTMContext;

class OperationPhase : public com::Object {
public:
    // Accepts "" or well-formed XML, keeping its `operationPhase`; malformed: False.
    bool Take(const std::string& state, const P<DTMContext>& ctx);
    const std::string& Phase() const { return phase_; }

private:
    std::string phase_;
};

}  // namespace platform::rt

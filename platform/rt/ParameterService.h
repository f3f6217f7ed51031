#pragma once
// The FDT parameter documents of one DTM instance.
#include <cstdint>
#include <string>

#include "platform/com/Variant.h"

namespace platform::rt {

class DTMContext;

class ParameterService : public com::Object {
public:
    // One fdt:DtmVariable per element in scope (record headers left out).
    std::string GetParameters(const P<DTMContext>& ctx, const std::string& path, int32_t flags);
    // Each DtmVariable goes only to its own element; True when some element
    // took a value. Malformed: False.
    bool SetParameters(const std::string& document, const P<DTMContext>& ctx,
                       const std::string& path, int32_t flags);

private:
    int32_t flags_ = 0;
};

}  // namespace platform::rt

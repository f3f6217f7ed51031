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
    // Each DtmVariable goes only to its own element in scope: the exact path,
    // else the one path ending in "/" + name (a name that ends several paths,
    // a record header or an unknown path is skipped). True when some element
    // took a value. Malformed XML or a root other than FDT: False, nothing
    // touched. Otherwise runs between BeginSetParameters and
    // EndSetParameters of the collection (nested inside a caller's bracket);
    // an element's error ends the bracket and reaches the caller.
    bool SetParameters(const std::string& document, const P<DTMContext>& ctx,
                       const std::string& path, int32_t flags);

private:
    int32_t flags_ = 0;
};

}  // namespace platform::rt

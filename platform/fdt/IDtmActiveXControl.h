#pragma once
// The FDT interface of a page: the frame (or a parent page) initialises it
// with an invoke id, the function call and the DTM object, and releases it.
#include <string>

#include "platform/com/Variant.h"

namespace platform::fdt {

class IDtmActiveXControl : public virtual com::Object {
public:
    virtual bool Init(const std::string& invokeId, const std::string& functionCall, const P<com::Object>& dtm) = 0;
    virtual bool PrepareToRelease() = 0;
};

}  // namespace platform::fdt

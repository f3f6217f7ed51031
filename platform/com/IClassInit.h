#pragma once
// Second construction phase of a class created by its program id: the registry
// calls Class_Initialize once the object is owned by a shared_ptr, so the object
// may hand out references to itself there.
#include "platform/com/Variant.h"

namespace platform::com {

class IClassInit : public virtual Object {
public:
    virtual void Class_Initialize() = 0;
};

}  // namespace platform::com

#pragma once
// Persistence of a creatable class through the frame's property bag: a new
// object (InitNew), a stored one loaded (Load) and storing it (Save).
#include "platform/com/PropertyBag.h"
#include "platform/com/Variant.h"

namespace platform::com {

class IPersistPropertyBag : public virtual Object {
public:
    virtual void Class_InitProperties() = 0;
    virtual void Class_ReadProperties(PropertyBag& PropBag) = 0;
    virtual void Class_WriteProperties(PropertyBag& PropBag) = 0;
};

}  // namespace platform::com

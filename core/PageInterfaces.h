#pragma once
// What a page asks of the DTM object that created it.
#include "platform/com/Variant.h"

namespace platform::rt {
class DTMContext;
}

namespace dtm {

// The DTM object's own interface: its context, the same object from creation to release.
class IDtmContextProvider : public virtual platform::com::Object {
public:
    virtual platform::P<platform::rt::DTMContext> DTMContext() const = 0;
};

}  // namespace dtm

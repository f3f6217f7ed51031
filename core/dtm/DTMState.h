#pragma once
// The state object the context holds for a DTM instance: it owns the
// instance's archive object.
#include "platform/com/Variant.h"

namespace platform::archive {
class Archive;
}
namespace platform::rt {
class DTMContext;
}

namespace dtm {

class DTMState : public platform::com::Object {
public:
    platform::P<platform::archive::Archive> Archive;

    // Creates the archive object and registers it with the context.
    void Init(const platform::P<platform::rt::DTMContext>& DTMContext);
};

}  // namespace dtm

#include "core/dtm/DTMState.h"

#include "platform/archive/Archive.h"
#include "platform/com/Error.h"
#include "platform/rt/DTMContext.h"

namespace dtm {

void DTMState::Init(const platform::P<platform::rt::DTMContext>& DTMContext) {
    Archive = std::make_shared<platform::archive::Archive>();
    platform::com::Deref(DTMContext).RegisterObject(Archive, "Archive");
}

}  // namespace dtm

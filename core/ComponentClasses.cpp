#include "core/ComponentClasses.h"

#include "core/DTMMain.h"
#include "platform/com/ClassRegistry.h"

namespace dtm {

void RegisterComponentClasses(platform::com::ClassRegistry& registry) {
    registry.Register(DTMMain::kProgId, [] { return std::make_shared<DTMMain>(); });
}

}  // namespace dtm

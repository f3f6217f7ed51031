#include "core/module/ComponentClasses.h"

#include "core/dtm/DTMMain.h"
#include "core/services/Trace.h"
#include "core/module/RegisterPages.h"
#include "platform/com/ClassRegistry.h"
#include "platform/fdt/Boundary.h"

namespace dtm {

void RegisterComponentClasses(platform::com::ClassRegistry& registry) {
    registry.Register(DTMMain::kProgId, [] { return std::make_shared<DTMMain>(); });
    RegisterPages(registry);
    // Errors trapped at the frame boundary go to the component's trace.
    platform::fdt::SetBoundaryTraceHook(
        [](const std::string& line) { TraceOut("RG38N226_4_07-FrameBoundary", line, nullptr); });
}

}  // namespace dtm

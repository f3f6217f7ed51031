#include "pages/framework/CycleMarks.h"

#include "model/elements/clsDataElement.h"
#include "platform/com/Error.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/Parameters.h"

namespace dtm {

namespace com = platform::com;

void CycleMarks(const platform::P<platform::rt::DTMContext>& ctx, std::span<const char* const> paths, bool on) {
    auto& params = com::Deref(com::Deref(ctx).Parameters());
    const auto registry = ctx->GuiRegistry();
    for (const char* path : paths) {
        const auto element = params.Item(path);
        com::Deref(std::dynamic_pointer_cast<clsDataElement>(element)).ParamDynamic(on);
        com::Deref(registry).NotifyParameterChanged(element, "");
    }
}

}  // namespace dtm

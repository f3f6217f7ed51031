#include "pages/framework/CycleMarks.h"

#include <utility>

#include "model/elements/clsDataElement.h"
#include "platform/com/Error.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/Parameters.h"

namespace dtm {

namespace com = platform::com;

void CountDynamic(const platform::P<platform::rt::DTMContext>& ctx, const platform::P<clsDataElement>& element, bool up) {
    element->DynamicCounter = static_cast<int16_t>(element->DynamicCounter + (up ? 1 : -1));
    element->ParamDynamic(element->DynamicCounter != 0);
    com::Deref(com::Deref(ctx).GuiRegistry()).NotifyParameterChanged(element, "");
}

void CycleMarks::Hold(const platform::P<platform::rt::DTMContext>& ctx) {
    if (!held_.empty()) return;
    auto& params = com::Deref(com::Deref(ctx).Parameters());
    std::vector<platform::P<clsDataElement>> elements;
    for (const char* path : paths_) {
        auto element = std::dynamic_pointer_cast<clsDataElement>(params.Item(path));
        if (!element) com::Raise(com::errObjectNotSet);
        elements.push_back(std::move(element));
    }
    held_ = std::move(elements);
    for (const auto& element : held_) CountDynamic(ctx, element, true);
}

void CycleMarks::Release(const platform::P<platform::rt::DTMContext>& ctx) {
    for (const auto& element : std::exchange(held_, {})) CountDynamic(ctx, element, false);
}

}  // namespace dtm

#include "pages/framework/CycleReads.h"

#include "platform/com/Error.h"
#include "platform/rt/Parameters.h"

namespace dtm {

namespace com = platform::com;

void AddCycleRead(const platform::P<platform::rt::DTMContext>& ctx, platform::rt::TransGrp& group,
                  const std::string& path) {
    group.AddRequest(com::Deref(com::Deref(ctx).Parameters()).Item(path), false);
}

void AddCycleReads(const platform::P<platform::rt::DTMContext>& ctx, platform::rt::TransGrp& group,
                   std::span<const std::string> paths) {
    for (const auto& path : paths) AddCycleRead(ctx, group, path);
}

}  // namespace dtm

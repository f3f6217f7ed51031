#pragma once
// Marks elements as live values while a page's cycle runs (ParamDynamic) and
// unmarks them when it stops. Only the open pages hear of it, through the GUI
// registry: the flag is no change of the data set, so neither the model's
// change handling nor the modified mark is touched.
#include <span>

#include "platform/rt/DTMContext.h"

namespace dtm {

// For each path in order: ParamDynamic = on, then the flags notice.
void CycleMarks(const platform::P<platform::rt::DTMContext>& ctx, std::span<const char* const> paths, bool on);

}  // namespace dtm

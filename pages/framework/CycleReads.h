#pragma once
// The reads a page adds to its status bar's group when the cycle asks for them.
#include <span>
#include <string>

#include "platform/rt/DTMContext.h"
#include "platform/rt/TransGrp.h"

namespace dtm {

// One read per path, in order; every path must name an element.
void AddCycleReads(const platform::P<platform::rt::DTMContext>& ctx, platform::rt::TransGrp& group,
                   std::span<const std::string> paths);
void AddCycleRead(const platform::P<platform::rt::DTMContext>& ctx, platform::rt::TransGrp& group,
                  const std::string& path);

}  // namespace dtm

#pragma once
// Builds the profile block tables of the device (device directory, Physical
// Block, Transducer Block 1, function blocks 1 to 8 with 4 and 8 Totalisers)
// into a context's collection and gives every element its slot and index.
#include <memory>

#include "platform/rt/DTMContext.h"

namespace dtm::frame {

void BuildProfileBlocks(const std::shared_ptr<platform::rt::DTMContext>& ctx);

}  // namespace dtm::frame

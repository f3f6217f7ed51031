#pragma once
// Kind of PROFIBUS PA block a parameter element belongs to.
#include <cstdint>

namespace dtm {

enum ProfibusBlockFlags : int32_t {
    pbfNoneBlock = -1,
    pbfDeviceDirectory = 0,
    pbfPhysicalBlock = 1,
    pbfTransducerBlock = 2,
    pbfFunctionAIBlock = 3,
    pbfFunctionTOTBlock = 4,
};

}  // namespace dtm

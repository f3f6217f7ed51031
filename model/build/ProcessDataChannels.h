#pragma once
// The sixteen process-data channels of the device: for each of the eight
// function-block slots a channel for the block's 32-bit output value and one
// for its 8-bit status, at the bit positions they have when all eight slots
// send data (slot n: value at 40 × (n − 1), status 32 bits further).
#include <cstdint>
#include <memory>
#include <string>

namespace platform::rt {
class DTMContext;
}

namespace dtm {

// The data-type code of every process-data channel.
inline constexpr int16_t kChannelDataType = 26;

// Creates the sixteen channels in the context's channel list, in slot order,
// each slot's value channel before its status channel ("AI1", "AI1_ST", ...,
// "TOT4", "TOT4_ST", ..., "TOT8_ST").
void CreateChannels(const std::shared_ptr<platform::rt::DTMContext>& DTMContext);

// Creates one channel, fills its channel parameters (name, the model's vendor,
// version, date and descriptor, id, number in the list, value flag, slot,
// data type, bit offset and length) and appends it to the channel list. A
// missing collection, model or list raises 91.
void CreateChannel(const std::shared_ptr<platform::rt::DTMContext>& DTMContext, const std::string& name,
                   int16_t reserved, int16_t slot, int16_t dataType, int16_t bitOffset, int16_t bitLength,
                   int32_t valueFlag);

}  // namespace dtm

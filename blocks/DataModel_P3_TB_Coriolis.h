#pragma once
// The PA Profile 3.0 Flow Coriolis Transducer Block: its parameter elements
// under "TRANS/<n>/FlowCori/" and the conversion of its measured values, their
// limits and the scales of the AI blocks fed by them when a unit changes.
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "platform/com/Variant.h"

namespace platform::rt {
class DTMContext;
}

namespace dtm {

class clsDataElement;

// Channel codes of the measured values: 256 plus the relative index of the
// measured-value record. An AI block's "CHANNEL" holds one of them.
inline constexpr int16_t kChannelMassFlow = 277;
inline constexpr int16_t kChannelDensity = 281;
inline constexpr int16_t kChannelTemperature = 285;

// A unit parameter of the transducer block, the values expressed in its unit
// (in the order they are converted; paths after the block prefix) and the
// channel code of its measured value.
struct MeasuredValueUnit {
    const char* unit;
    const char* values[3];
    int16_t channel;
};

// "TRANS/" & n & "/FlowCori/".
const std::string& GetTBBlockPrefix(int16_t n);

// Creates the 55 elements of transducer block n in the context's collection.
void CreateTBBlockModel(int16_t n, const std::shared_ptr<platform::rt::DTMContext>& DTMContext);

// When pda is the block's "MASS_FLOW_UNITS", "DENSITY_UNITS" or
// "TEMPERATURE_UNITS": converts the measured value and both limits of block n
// into the new unit, reports each changed, then converts the scales of the AI
// blocks whose CHANNEL reads that measured value. Any other element is ignored.
void OnTBUnitChanged(int16_t n, const std::shared_ptr<clsDataElement>& pda,
                     const std::shared_ptr<platform::rt::DTMContext>& DTMContext);

// When pda is the unit parameter of one of `units` in block n (exact,
// case-sensitive): converts that entry's values into the new unit, reports
// each changed, then updates the AI blocks reading its channel, and answers
// True. Any other element changes nothing and needs no data model.
bool ConvertMeasuredValues(int16_t n, const std::shared_ptr<clsDataElement>& pda,
                           const std::shared_ptr<platform::rt::DTMContext>& DTMContext,
                           std::span<const MeasuredValueUnit> units);

// For every AI block (1 to the directory's initial "Number_FB") whose CHANNEL
// holds channelCode: converts "PV_SCALE/Lo_Val", "PV_SCALE/Up_Val" and
// "SIMULATE/Value" into the unit that unitElement holds and reports each
// changed. Blocks without a CHANNEL element (totalisers) are passed over.
void UpdateAIScalesForChannel(const std::shared_ptr<clsDataElement>& unitElement,
                              const platform::Variant& channelCode,
                              const std::shared_ptr<platform::rt::DTMContext>& DTMContext);

}  // namespace dtm

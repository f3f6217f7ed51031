#pragma once
// The converter's own layer on top of the PA Profile 3.0 blocks: the extra
// parameters and factory defaults of the Transducer Block, the default channel,
// units and limits of the AI and Totaliser blocks, and the handlers that keep
// units, remembered units, display formats and value lists in step.
#include <cstdint>
#include <memory>

namespace platform::rt {
class DTMContext;
class Parameters;
}  // namespace platform::rt

namespace dtm {

class clsDataElement;

// Channel codes of the converter's own measured values (256 plus the relative
// index of the measured-value record of transducer block 1).
inline constexpr int16_t kChannelVolumeFlow = 273;
inline constexpr int16_t kChannelVolumeConcentration = 309;
inline constexpr int16_t kChannelMassConcentration = 313;
inline constexpr int16_t kChannelDegBaume = 317;
inline constexpr int16_t kChannelSolidFlow = 321;

// Constant units of the transducer block: "%" of the low-flow threshold and
// "g/sec" of the zero-flow offset.
inline constexpr int16_t kPercentUnitCode = 903;
inline constexpr int16_t kGramPerSecondUnitCode = 904;

// The zero-point variable of the DTM instance, shared by all transducer blocks.
inline constexpr const char* kZeroPointAdjustPath = "~/ZERO_POINT_ADJUST";

// ---- Transducer block ----

// Creates the 42 manufacturer-specific elements of transducer block n (the
// zero-point variable only when the instance has none yet) and registers the
// constant units 903 and 904. Needs the data model with its unit table and
// "~/RXD214" in the collection.
void ManuSpecTBCreate(int16_t n, const std::shared_ptr<platform::rt::DTMContext>& DTMContext);

// Sets the converter's defaults on transducer block n; every element named
// must exist (a miss raises 5).
void ManuSpecTBDefaults(int16_t n, const std::shared_ptr<platform::rt::DTMContext>& DTMContext);

// A change of one of the converter's unit parameters converts its measured
// value and limits, reports each changed, then the scales of the AI blocks
// whose CHANNEL reads it; a change of the block's "ZERO_POINT_ADJUST" is copied
// into the zero-point variable while that holds 0. Other elements are ignored.
void ManuSpecTBChanged(int16_t n, const std::shared_ptr<clsDataElement>& pda,
                       const std::shared_ptr<platform::rt::DTMContext>& DTMContext);

// Refresh of a transducer element (block number from the element): for
// "MANU/_meter_series" the value list of "MANU/_transducer_type" follows the
// meter series. With bNoNotify nothing is reported changed.
void ManuSpecTBUpdate(const std::shared_ptr<clsDataElement>& pda, platform::rt::Parameters& Parameters,
                      bool bNoNotify);

// ---- AI blocks ----

// Sets the default channel of AI block n, its unit and the scales and limits
// taken from the transducer block's limits of that channel.
void ManuSpecAIDefaults(int16_t n, const std::shared_ptr<platform::rt::DTMContext>& DTMContext);

// Refresh of an AI element (block number from the element): a CHANNEL change
// gives the block the unit of the transducer's measured value (skipped while
// the collection takes over a data set; a value that is no channel code
// changes nothing); a value shown with the decimal point gets its display format.
void ManuSpecAIUpdate(const std::shared_ptr<clsDataElement>& pda, platform::rt::Parameters& Parameters,
                      bool bNoNotify);

// ---- Totaliser blocks ----

// Sets the mass (block 4) or volume (any other number) defaults of totaliser
// block n: channel, unit, remembered units and limits from the transducer's flow limits.
void ManuSpecTOTDefaults(int16_t n, const std::shared_ptr<platform::rt::DTMContext>& DTMContext);

// A change of the block's "UNIT_TOT" is remembered for the current channel
// (volume flow or any other). Other elements are ignored.
void ManuSpecTOTChanged(int16_t n, const std::shared_ptr<clsDataElement>& pda,
                        const std::shared_ptr<platform::rt::DTMContext>& DTMContext);

// Refresh of a totaliser element (block number from the element): a CHANNEL
// change shows the unit list of the new channel and, unless bNoNotify, takes
// the unit remembered for it (a value that is no channel code changes
// nothing); a limit gets its display format.
void ManuSpecTOTUpdate(const std::shared_ptr<clsDataElement>& pda, platform::rt::Parameters& Parameters,
                       bool bNoNotify);

}  // namespace dtm

#pragma once
// The manufacturer-specific part of the Physical Block: the converter's own
// parameters under "PHYS/MANU/", the model-only "PHYS/CHANNEL" and
// "PHYS/OPERATION_TIME", the factory defaults of the profile parameters, and
// the values that follow the ident number selector, the diagnosis extension
// and the operating-hours record.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/com/Variant.h"

namespace platform::rt {
class DTMContext;
class Parameters;
}  // namespace platform::rt

namespace dtm {

class clsDataElement;

// Constant units of the operating-hours record.
inline constexpr int16_t kMillisecondsUnitCode = 901;  // "ms"
inline constexpr int16_t kDaysUnitCode = 902;          // "days"

// Creates the manufacturer's elements of the Physical Block (block number
// BlockNumber) and the two model-only elements at the end of the context's
// collection, and registers the texts of units 901 and 902 in the model's
// unit table (a model with a unit table is required, else 91).
void ManuSpecPBCreate(uint8_t BlockNumber, const std::shared_ptr<platform::rt::DTMContext>& DTMContext);

// The device's factory defaults, user levels and transfer modes of the
// profile parameters made by CreatePBBlockModel. Needs those elements and
// "~/RXD214" and "~/RXD218" (a missing one raises 5).
void ManuSpecPBDefaults(const std::shared_ptr<platform::rt::DTMContext>& DTMContext);

// Change handler, run after OnPBParameterChanged:
// - "PHYS/IDENT_NUMBER_SELECTOR": a value other than 0 puts the device's own
//   ident number into the slave parameter set and makes the elements of
//   function blocks 5 to 8 valid; 0 puts the profile ident number there and
//   makes them invalid (each reported). The whole string follows the bytes.
// - "PHYS/DIAGNOSIS_EXTENSION": its first four bytes go to the Rxd part, the
//   next two to the Profibus part (missing bytes count as 0); a value just
//   read from the device becomes the parts' device value too. A part is
//   written and reported only when it changes.
// Any other element is ignored.
void ManuSpecPBChanged(const std::shared_ptr<clsDataElement>& pda, platform::rt::Parameters& Parameters);

// The elements of the AI and Totaliser blocks 5 to 8, which the ident number
// selector switches, in collection order. The model resolves them once when
// it is built (clsDataModel::FunctionBlocks5To8).
std::vector<std::shared_ptr<clsDataElement>> FunctionBlockElements5To8(const platform::rt::Parameters& Parameters);

// Refresh: a change of "PHYS/MANU/OPERATION_HOUR/days" or ".../milliseconds"
// sets "PHYS/OPERATION_TIME" to OperationTimeText of the two (when both hold
// a value) and, unless bNoNotify, reports it. Any other element is ignored.
void ManuSpecPBUpdate(const std::shared_ptr<clsDataElement>& pda, platform::rt::Parameters& Parameters,
                      bool bNoNotify);

// "d;hh:mm:ss": the days plus the whole days in the milliseconds, then the
// rest as hours, minutes and whole seconds ("3;01:02:03" for 3 days and
// 3723999 ms). Values are rounded to whole numbers; one that is not a number
// raises 13, one beyond ±9E15 raises 6.
std::string OperationTimeText(const platform::Variant& days, const platform::Variant& milliseconds);

}  // namespace dtm

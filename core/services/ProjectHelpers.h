#pragma once
// Value functions shared by the model, the blocks and the pages.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/com/Variant.h"
#include "platform/ui/Control.h"

namespace dtm {

// True when a Single or Double holds a NaN (or an infinity); False for every other type.
bool IsNaN(const platform::Variant& value);

// Whether two parameter values are the same (arrays element-wise with equal
// bounds; Null and Empty only equal themselves; numbers by their text forms).
bool IsSameValue(const platform::Variant& first, const platform::Variant& second);

// The bits of a value as "0"/"1" joined by "|", bit 0 first.
std::string ValueToBitString(const platform::Variant& value);

// The low 32 bits of a number rounded half to even, as a Long: the pattern a
// bit list shows (2^31 to 2^32 - 1 read as negative, 1E10 keeps its low 32
// bits). A NaN or an infinity raises 6, a text that is no number 13.
int32_t LowLong(const platform::Variant& value);

// Cuts every parameter control's label at its first "(" (the unit suffix).
void RemoveLabelUnits(const std::vector<platform::P<platform::ui::Control>>& controls);

// Splits a millisecond count into hours, minutes and seconds (truncating).
void SplitMilliseconds(int32_t milliseconds, int16_t& hours, int16_t& minutes, int16_t& seconds);

}  // namespace dtm

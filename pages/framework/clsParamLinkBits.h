#pragma once
// The bit-list texts of parameter rows: entries joined by "|", entry i for
// bit i (least significant first), "1" for a set bit, "0" or empty for a
// clear one. A bit field whose value list holds one text more than the field
// has bits shows that extra entry for the value 0.
#include <cstdint>
#include <string>

#include "platform/com/Variant.h"

namespace dtm {

class clsDataElement;

// The bits of a value type (1: ValueTypeLength x 8; 2: 8; 3, 5: 16; 4, 6, 7:
// 32); 0 for a type without a bit count.
int32_t BitCountOf(int32_t valueType, int32_t valueTypeLength);

// The bit-list text of a value: a Byte array 8 entries per byte, an Integer
// 16, a Long 32, a Byte 8, a Double its low 32 bits after rounding; every
// other value "".
std::string ValueToDisplayText(const platform::Variant& value);

// The text the row shows for the element's TransientValue: the zero entry is
// ticked when the value is zero and the value list names it.
std::string ShowElementValue(const clsDataElement& element);

// The element value of a bit-list text (the zero entry, when the element's
// value list names it, is dropped first).
platform::Variant ControlTextToValue(const std::string& text, const clsDataElement& element);

// The value whose bits the text lists. Type 1: a Byte array of at least
// ValueTypeLength bytes (Empty for no entries); 2: a Byte (Null beyond 8
// bits); 5: an Integer (bit 15 gives a negative value, Null beyond 16 bits);
// 3, 4, 6, 7: a Long; 16: a Double, unsigned 32 bits; any other type Null.
// Entries beyond the 32nd all act on bit 31.
platform::Variant ParseNumberList(const std::string& text, int32_t valueType, int32_t valueTypeLength);

// Entry idx set to "1" (flag True) or emptied; the list grows to reach idx.
std::string FormatListText(const std::string& list, int32_t idx, bool flag);
// The list without its last entry.
std::string JoinListText(const std::string& list);

}  // namespace dtm

#pragma once
// Conversion between hexadecimal text and Byte arrays.
#include <string>

#include "platform/com/Variant.h"

namespace dtm {

// "00400000" → Byte array {0x00, 0x40, 0x00, 0x00} (lower bound 0); "" → Empty.
// A pair that is not hexadecimal raises 13. An odd last digit is the high nibble.
platform::Variant HexToBytes(const std::string& text);
// Byte array → upper-case hex; anything else → "".
std::string BytesToHex(const platform::Variant& value);

}  // namespace dtm

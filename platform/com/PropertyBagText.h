#pragma once
// The value encodings of the property bag's text form. The value field of a
// line holds, by vartype:
//   Empty 0, Null 1, Object 9 (Nothing only), Error 10 (Missing): nothing
//   Integer 2, Long 3, Byte 17: decimal ("-12")
//   Boolean 11: "True" or "False"
//   Single 4, Double 5, Currency 6, Date 7 (the serial), Decimal 14: the shortest
//     decimal text that reads back to the same bits ("0.1", "-0", "1e+300"),
//     "inf" / "-inf", or a NaN as "nan:" and its bits in hex (8 or 16 digits)
//   String 8: the text, escaped (below)
//   Byte array 8209: lower bound ":" two upper-case hex digits per byte ("0:0AFF")
//   other arrays 8192 + element type: lower bound ":" count, then for each
//     element "|" vartype ":" length ":" encoded value, the length counting the
//     bytes of the encoded value ("1:2|2:1:7|8:2:ab")
// Escaping keeps printable ASCII except "\" and writes "\\", "\t", "\n", "\r",
// "\0" and "\xHH" for every other byte, so the text is plain ASCII whatever
// the value holds. Names are escaped the same way.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/com/Variant.h"

namespace platform::com::bagtext {

std::string Escape(std::string_view text);
// False for a malformed escape or a raw tab or line feed.
bool Unescape(std::string_view text, std::string& out);

// True when `v` can be written: no object other than Nothing, arrays nested at
// most kMaxDepth deep.
constexpr int kMaxDepth = 32;
bool IsStorable(const Variant& v);

// The value field of a storable Variant, returned or appended to `out`.
std::string EncodeValue(const Variant& v);
void AppendValue(std::string& out, const Variant& v);
// Reads a value field written for `varType`; false when the field is damaged.
bool DecodeValue(int32_t varType, std::string_view text, Variant& out);

}  // namespace platform::com::bagtext

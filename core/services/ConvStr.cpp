#include "core/services/ConvStr.h"

#include <utility>

#include "platform/com/HexText.h"

namespace dtm {
using namespace platform::com;

Variant HexToBytes(const std::string& text) {
    if (text.empty()) return Variant();
    std::vector<uint8_t> bytes((text.size() + 1) / 2);
    for (size_t i = 0; i < bytes.size(); ++i) {
        const int hi = HexDigitValue(text[2 * i]);
        const int lo = 2 * i + 1 < text.size() ? HexDigitValue(text[2 * i + 1]) : 0;
        if (hi < 0 || lo < 0) Raise(errTypeMismatch);
        bytes[i] = static_cast<uint8_t>(hi * 16 + lo);
    }
    return Variant::ByteArray(std::move(bytes));
}

std::string BytesToHex(const Variant& value) {
    if (!value.IsByteArray()) return {};
    return HexFromBytes(value.BytesRef());
}

}  // namespace dtm

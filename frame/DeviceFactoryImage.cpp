#include "frame/DeviceFactoryImage.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "frame/ModelInstance.h"
#include "model/elements/clsDataElement.h"
#include "platform/com/Error.h"
#include "platform/com/VbText.h"
#include "platform/rt/Parameters.h"
#include "platform/rt/Transaction.h"
#include "platform/rt/TransactionDocuments.h"

namespace dtm::frame {

namespace {

using platform::P;

bool IsDeviceAddress(const clsDataElement& el) {
    return el.RelIndex >= 0 && el.Slot >= 0 && el.Slot <= 255 && el.index >= 0 && el.index <= 255;
}

constexpr int32_t kVisibleStringValueType = 14;

bool IsBitField(const clsDataElement& el) {
    return el.ValueType == 2 && el.AccessMask != 255 && el.AccessMask != 0;
}

// The element's write coding: the bytes from its data position on (a record
// header: the whole record).
std::vector<uint8_t> WriteCoding(const ModelInstance& instance, const P<clsDataElement>& el) {
    auto trans = std::make_shared<platform::rt::Transaction>();
    if (!instance.model->BuildTransactionRequest(instance.ctx, trans, true, el)) return {};
    return trans->TransData().ToBytes();
}

// Lays an element's coding over the parameter's bytes; a bit field replaces
// only its mask's bits.
void Merge(std::vector<uint8_t>& bytes, const std::vector<uint8_t>& coded, const clsDataElement& el) {
    if (bytes.size() < coded.size()) bytes.resize(coded.size(), 0);
    const size_t from = static_cast<size_t>(std::max<int16_t>(el.DataPosition, 0));
    for (size_t i = from; i < coded.size(); ++i) {
        if (IsBitField(el)) bytes[i] = static_cast<uint8_t>((bytes[i] & ~el.AccessMask) | (coded[i] & el.AccessMask));
        else bytes[i] = coded[i];
    }
}

// An octet string's value as hex digits ("00 20 00 00" or "00200000"), else
// a number when the whole text is one, else the text.
platform::Variant ValueOfText(const clsDataElement& el, const std::string& text) {
    if (el.InitialValue.IsByteArray()) {
        std::string hex;
        for (const char c : text)
            if (c != ' ') hex += c;
        std::vector<uint8_t> bytes;
        if (platform::rt::BytesFromHex(hex, bytes)) return platform::Variant::ByteArray(std::move(bytes));
    }
    char* end = nullptr;
    const double number = std::strtod(text.c_str(), &end);
    if (text.empty() || end != text.c_str() + text.size()) return platform::Variant::Str(text);
    return platform::Variant::Dbl(number);
}

// Why an octet string or a text does not fit the element; "" when it does
// (a shorter text is filled with blanks, as the element is coded).
std::string LengthRefusal(const clsDataElement& el, const std::string& text, const platform::Variant& typed) {
    const int32_t length = el.ValueTypeLength;
    if (el.InitialValue.IsByteArray() && length > 0) {
        if (!typed.IsByteArray()) return "the element takes " + std::to_string(length) + " bytes as hex digits";
        if (typed.Count() != length)
            return "the element takes " + std::to_string(length) + " bytes, the value has " +
                   std::to_string(typed.Count());
    }
    if (el.ValueType == kVisibleStringValueType && length > 0 && static_cast<int64_t>(text.size()) > length)
        return "the element takes at most " + std::to_string(length) + " characters, the value has " +
               std::to_string(text.size());
    return "";
}

}  // namespace

void ElementCoding::Apply(std::vector<uint8_t>& bytes) const {
    for (size_t i = from; i < to && i < coded.size() && i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>((bytes[i] & ~mask) | (coded[i] & mask));
}

std::optional<ElementCoding> CodeElementValue(const std::string& deviceTypeName, const std::string& path,
                                              const std::string& value, std::string* refusal) {
    const auto refuse = [&](const std::string& why) {
        if (refusal) *refusal = why;
        return std::nullopt;
    };
    const ModelInstance instance = NewModelInstance(deviceTypeName, true);
    for (const auto& item : instance.Parameters()) {
        auto el = std::dynamic_pointer_cast<clsDataElement>(item);
        if (!el || !IsDeviceAddress(*el) || platform::com::vb::LCase(el->Name) != platform::com::vb::LCase(path))
            continue;
        const platform::Variant typed = ValueOfText(*el, value);
        if (const std::string why = LengthRefusal(*el, value, typed); !why.empty()) return refuse(why);
        el->clsDataElementFields::TransientValue = typed;
        ElementCoding coding;
        coding.address = {static_cast<uint8_t>(el->Slot), static_cast<uint8_t>(el->index)};
        try {
            coding.coded = WriteCoding(instance, el);
        } catch (const platform::com::ComError& e) {
            namespace com = platform::com;
            if (e.number == com::errOverflow) return refuse("the value is out of the range of the element's type");
            if (e.number == com::errTypeMismatch) return refuse("the value is not of the element's kind");
            return refuse("the element does not take it: " + e.description);
        }
        if (coding.coded.empty()) return refuse("the element is not written to the device");
        coding.from = static_cast<size_t>(std::max<int16_t>(el->DataPosition, 0));
        coding.to = el->ValueTypeLength > 0 ? coding.from + static_cast<size_t>(el->ValueTypeLength) : coding.coded.size();
        if (IsBitField(*el)) coding.mask = static_cast<uint8_t>(el->AccessMask);
        return coding;
    }
    return refuse("no device parameter has this element");
}

FactoryImage BuildFactoryImage(const std::string& deviceTypeName) {
    const ModelInstance instance = NewModelInstance(deviceTypeName, true);
    FactoryImage image;
    for (const auto& item : instance.Parameters()) {
        auto el = std::dynamic_pointer_cast<clsDataElement>(item);
        if (!el || !IsDeviceAddress(*el)) continue;
        const DeviceAddress address(static_cast<uint8_t>(el->Slot), static_cast<uint8_t>(el->index));
        auto& parameter = image.parameters[address];
        parameter.writable = parameter.writable || (el->ElementMode & clsDataElement::kModeDownload) != 0;
        Merge(parameter.bytes, WriteCoding(instance, el), *el);
        image.addressOf.emplace(el->Name, address);
    }
    return image;
}

}  // namespace dtm::frame

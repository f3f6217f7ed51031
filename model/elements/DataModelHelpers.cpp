// DataModelHelpers: the element factory and the slot and index rule.
#include "model/elements/DataModelHelpers.h"

#include <algorithm>
#include <array>
#include <limits>

#include "platform/com/Error.h"
#include "platform/com/FastCast.h"
#include "platform/rt/Parameters.h"

namespace dtm {

using platform::P;
using platform::Variant;
namespace com = platform::com;

int32_t ValueTypeDataLength(int32_t valueType) {
    switch (valueType) {
        case 2:
        case 10: return 1;
        case 3:
        case 5: return 2;
        case 4:
        case 6: return 3;
        case 7:
        case 8:
        case 16: return 4;
        case 9:
        case 11:
        case 12: return 8;
        case 13: return 17;
        case 14: return -1;
        default: return 0;
    }
}

P<clsDataElement> AddParam(platform::rt::Parameters& params, const std::string& name, const Variant& initialValue,
                           int32_t valueType, int32_t valueTypeLength, const Variant& beforePath,
                           const Variant& afterPath) {
    auto el = std::make_shared<clsDataElement>();
    el->Name = name;
    el->InitialValue = initialValue;
    el->ValueType = valueType;
    const int32_t length = valueTypeLength < 0 ? ValueTypeDataLength(valueType) : valueTypeLength;
    el->ValueTypeLength = length;
    if (valueType != 1) {
        el->RawByteOrder = false;
    } else {
        if (!initialValue.IsEmpty() && !initialValue.IsArray() && length >= 1) {
            const uint8_t fill = com::CByte(initialValue);
            el->InitialValue = Variant::ByteArray(std::vector<uint8_t>(static_cast<size_t>(length), fill));
        }
        el->RawByteOrder = true;
    }
    el->ElementMode = 144;
    el->RequiredUserLevel = 1;
    el->ControlType(1);
    el->ValueFormat = "";
    params.Add(el, beforePath, afterPath);
    return el;
}

void CalcSlotIndex(clsDataElement& element) {
    const auto index16 = [](int32_t value) {
        if (value < std::numeric_limits<int16_t>::min() || value > std::numeric_limits<int16_t>::max())
            com::Raise(com::errOverflow);
        return static_cast<int16_t>(value);
    };
    switch (element.BlockType) {
        case pbfDeviceDirectory:
            element.Slot = 1;
            element.index = element.RelIndex;
            break;
        case pbfPhysicalBlock:
            element.Slot = 0;
            element.index = index16(element.RelIndex + 16);
            break;
        case pbfTransducerBlock:
            element.Slot = 9;
            element.index = index16(element.RelIndex + 16);
            break;
        case pbfFunctionAIBlock:
        case pbfFunctionTOTBlock:
            element.Slot = element.BlockNumber;
            element.index = index16(element.RelIndex + 16);
            break;
        default: break;
    }
}

P<clsDataElement> ElementAt(const platform::rt::Parameters& params, const std::string& path) {
    return com::FastPointerCast<clsDataElement>(params.Item(path));
}

namespace {

// The collection's entry at `prefix` & `path`, or null.
platform::rt::El FindJoined(const platform::rt::Parameters& params, std::string_view prefix, std::string_view path) {
    std::array<char, 128> buffer;
    if (prefix.size() + path.size() > buffer.size()) return params.Find(std::string(prefix) + std::string(path));
    std::copy(prefix.begin(), prefix.end(), buffer.begin());
    std::copy(path.begin(), path.end(), buffer.begin() + static_cast<std::ptrdiff_t>(prefix.size()));
    return params.Find(std::string_view(buffer.data(), prefix.size() + path.size()));
}

}  // namespace

P<clsDataElement> FindElementAt(const platform::rt::Parameters& params, std::string_view prefix,
                                std::string_view path) {
    return com::FastPointerCast<clsDataElement>(FindJoined(params, prefix, path));
}

P<clsDataElement> ElementAt(const platform::rt::Parameters& params, std::string_view prefix, std::string_view path) {
    auto el = FindJoined(params, prefix, path);
    if (!el) com::Raise(com::errInvalidArgument);
    return com::FastPointerCast<clsDataElement>(el);
}

const platform::rt::El& ElementsAtPaths::Item(size_t i) const {
    const auto& el = (*table_)[i];
    if (!el) com::Raise(com::errInvalidArgument);
    return el;
}

P<clsDataElement> ElementsAtPaths::Element(size_t i) const { return com::FastPointerCast<clsDataElement>(Item(i)); }

clsDataElement* ElementsAtPaths::Find(size_t i) const noexcept {
    return com::FastCast<clsDataElement>((*table_)[i].get());
}

clsDataElement& ElementsAtPaths::operator[](size_t i) const {
    auto* el = com::FastCast<clsDataElement>(Item(i).get());
    if (!el) com::Raise(com::errObjectNotSet);
    return *el;
}

void OnChannelParamsSet(clsChannel& /*channel*/, const std::shared_ptr<platform::rt::DTMContext>& /*DTMContext*/) {}

}  // namespace dtm

#pragma once
// The element factory and the slot and index rule of the parameter model.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "model/elements/clsDataElement.h"
#include "platform/com/Variant.h"

namespace platform::rt {
class DTMContext;
class Parameters;
}

namespace dtm {

class clsChannel;

// Data length in bytes that a value type code fixes (14: -1, open).
int32_t ValueTypeDataLength(int32_t valueType);

// Creates an element with the factory's defaults and adds it to `params` (at the
// end, or in front of beforePath, or right behind afterPath). A negative length
// is derived from the value type; an octet string with a scalar initial value
// gets a Byte array of its length filled with that value (not a Byte → 6/13).
platform::P<clsDataElement> AddParam(platform::rt::Parameters& params, const std::string& name,
                                     const platform::Variant& initialValue, int32_t valueType,
                                     int32_t valueTypeLength,
                                     const platform::Variant& beforePath = platform::Variant::Missing(),
                                     const platform::Variant& afterPath = platform::Variant::Missing());

// Whether `name` is `prefix` followed by `rest` (exact, case-sensitive), without
// building the path.
inline bool IsPathOf(std::string_view name, std::string_view prefix, std::string_view rest) noexcept {
    return name.size() == prefix.size() + rest.size() && name.starts_with(prefix) && name.ends_with(rest);
}

// The element at `path` of the collection (a miss raises 5).
platform::P<clsDataElement> ElementAt(const platform::rt::Parameters& params, const std::string& path);
// The element at `prefix` & `path`, looked up without building the path.
platform::P<clsDataElement> ElementAt(const platform::rt::Parameters& params, std::string_view prefix,
                                      std::string_view path);

// Sets Slot and index from BlockType, BlockNumber and RelIndex; elements outside
// the blocks stay as they are. An index beyond 16 bits → 6.
void CalcSlotIndex(clsDataElement& element);

// Called after a channel took over new channel parameters from the frame;
// nothing follows from it.
void OnChannelParamsSet(clsChannel& channel, const std::shared_ptr<platform::rt::DTMContext>& DTMContext);

}  // namespace dtm

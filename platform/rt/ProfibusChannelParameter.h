#pragma once
// The PROFIBUS parameters of one process-data channel: 23 tagged values,
// 1-based, each keeping its subtype.
#include <array>
#include <cstdint>
#include <string>

#include "platform/com/Variant.h"

namespace platform::rt {

class DTMContext;

class ProfibusChannelParameter : public com::Object {
public:
    static constexpr int32_t kPropertyCount = 23;
    // Positions of the named properties.
    static constexpr int32_t kProtocolId = 1;
    static constexpr int32_t kChannelId = 9;
    static constexpr int32_t kChannelLocked = 10;
    static constexpr int32_t kBitOffset = 15;
    static constexpr int32_t kBitLength = 16;
    static constexpr int32_t kSlot = 18;
    static constexpr int32_t kDataType = 19;

    // All Empty but ChannelLocked, a Boolean False.
    ProfibusChannelParameter();

    // 1..23; out of range → 9.
    const Variant& Property(int32_t i) const;
    void Property(int32_t i, const Variant& value);

    Variant ProtocolId() const { return Property(kProtocolId); }
    void ProtocolId(const Variant& v) { Property(kProtocolId, v); }
    Variant ChannelId() const { return Property(kChannelId); }
    void ChannelId(const Variant& v) { Property(kChannelId, v); }
    Variant BitOffset() const { return Property(kBitOffset); }
    void BitOffset(const Variant& v) { Property(kBitOffset, v); }
    Variant BitLength() const { return Property(kBitLength); }
    void BitLength(const Variant& v) { Property(kBitLength, v); }
    Variant Slot() const { return Property(kSlot); }
    void Slot(const Variant& v) { Property(kSlot, v); }
    Variant DataType() const { return Property(kDataType); }
    void DataType(const Variant& v) { Property(kDataType, v); }
    // Whether the channel is in use (the 10th property).
    bool ChannelLocked() const;
    void ChannelLocked(bool locked);

    // <FDT><ProfibusChannelParameter><P n="1" vt="8">text</P>...
    std::string Render(const P<DTMContext>& ctx) const;
    // Malformed XML or a missing 9th property: False, nothing changes.
    bool Load(const std::string& xml, const P<DTMContext>& ctx);

private:
    std::array<Variant, kPropertyCount> properties_;
};

}  // namespace platform::rt

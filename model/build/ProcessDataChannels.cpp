// The process-data channels, created with the model.
#include "model/build/ProcessDataChannels.h"

#include "core/channels/clsChannel.h"
#include "platform/com/Error.h"
#include "platform/rt/ChannelList.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/IPrivateDataModel.h"
#include "platform/rt/Parameters.h"
#include "platform/rt/ProfibusChannelParameter.h"

namespace dtm {

namespace com = platform::com;
using platform::Variant;

namespace {

struct ChannelRow {
    const char* name;
    int16_t slot;
    int16_t bitOffset;
    int16_t bitLength;
    int32_t valueFlag;  // 1 value, 0 status
};

constexpr ChannelRow kChannels[] = {
    // Name      Slot Offset Len Value
    {"AI1",       1,    0,  32, 1}, {"AI1_ST",  1,  32, 8, 0},
    {"AI2",       2,   40,  32, 1}, {"AI2_ST",  2,  72, 8, 0},
    {"AI3",       3,   80,  32, 1}, {"AI3_ST",  3, 112, 8, 0},
    {"TOT4",      4,  120,  32, 1}, {"TOT4_ST", 4, 152, 8, 0},
    {"AI5",       5,  160,  32, 1}, {"AI5_ST",  5, 192, 8, 0},
    {"AI6",       6,  200,  32, 1}, {"AI6_ST",  6, 232, 8, 0},
    {"AI7",       7,  240,  32, 1}, {"AI7_ST",  7, 272, 8, 0},
    {"TOT8",      8,  280,  32, 1}, {"TOT8_ST", 8, 312, 8, 0},
};

}  // namespace

void CreateChannels(const std::shared_ptr<platform::rt::DTMContext>& DTMContext) {
    for (const ChannelRow& row : kChannels)
        CreateChannel(DTMContext, row.name, 0, row.slot, kChannelDataType, row.bitOffset, row.bitLength,
                      row.valueFlag);
}

void CreateChannel(const std::shared_ptr<platform::rt::DTMContext>& DTMContext, const std::string& name,
                   int16_t reserved, int16_t slot, int16_t dataType, int16_t bitOffset, int16_t bitLength,
                   int32_t valueFlag) {
    auto& params = com::Deref(com::Deref(DTMContext).Parameters());
    auto& model = com::Deref(params.DataModel());
    auto& list = com::Deref(params.Channels());

    auto channel = std::make_shared<clsChannel>();
    auto& p = *channel->ProfibusChannelParameter();
    p.Property(3, Variant::Str(name));
    p.Property(4, Variant::Str(model.DTMVendor()));
    p.Property(5, Variant::Str(model.DTMVersion()));
    p.Property(6, model.DTMDate());
    p.Property(7, Variant::Str(model.DTMDescriptor()));
    p.Property(8, p.Property(3));
    p.Property(9, p.Property(3));
    p.Property(10, Variant::Bool(false));
    p.Property(11, Variant::Lng(list.Count() + 1));
    p.Property(12, Variant::Lng(valueFlag));
    p.Property(13, Variant::Lng(0));
    p.Property(14, p.Property(3));
    p.Property(2, Variant::Bool(false));
    p.Property(17, Variant::Int(reserved));
    p.Property(18, Variant::Int(slot));
    p.Property(19, Variant::Int(dataType));
    p.Property(15, Variant::Int(bitOffset));
    p.Property(16, Variant::Int(bitLength));
    list.Add(channel);
}

}  // namespace dtm

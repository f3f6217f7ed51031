// The sixteen process-data channels made with the model.
#include "model/build/ProcessDataChannels.h"

#include <gtest/gtest.h>

#include "ErrorOf.h"
#include "core/channels/clsChannel.h"
#include "model/ModelTestSupport.h"
#include "platform/rt/ChannelList.h"
#include "platform/rt/ProfibusChannelParameter.h"

namespace dtm {
namespace {

using platform::Variant;
using platform::com::Identical;

TEST(ProcessDataChannels, SixteenChannelsInSlotOrderWithTheirBitPositions) {
    testing::ModelContext m;
    CreateChannels(m.ctx);
    auto& list = *m.params().Channels();
    ASSERT_EQ(list.Count(), 16);
    const char* names[] = {"AI1", "AI1_ST", "AI2", "AI2_ST", "AI3", "AI3_ST", "TOT4", "TOT4_ST",
                           "AI5", "AI5_ST", "AI6", "AI6_ST", "AI7", "AI7_ST", "TOT8", "TOT8_ST"};
    for (int32_t n = 1; n <= 16; ++n) {
        SCOPED_TRACE(names[n - 1]);
        auto& channel = *std::dynamic_pointer_cast<clsChannel>(list.Item(n));
        const auto& p = *channel.ProfibusChannelParameter();
        const int16_t slot = static_cast<int16_t>((n + 1) / 2);
        const bool value = n % 2 == 1;
        EXPECT_TRUE(channel.Active());
        EXPECT_EQ(channel.ChannelId(), names[n - 1]);
        EXPECT_TRUE(Identical(p.Property(1), Variant::Str(kProfibusDPV1ProtocolId)));
        EXPECT_TRUE(Identical(p.Property(2), Variant::Bool(false)));
        for (int32_t i : {3, 8, 9, 14}) EXPECT_TRUE(Identical(p.Property(i), Variant::Str(names[n - 1]))) << i;
        EXPECT_TRUE(Identical(p.Property(4), Variant::Str(m.model->DTMVendor())));
        EXPECT_TRUE(Identical(p.Property(5), Variant::Str(m.model->DTMVersion())));
        EXPECT_TRUE(Identical(p.Property(6), m.model->DTMDate()));
        EXPECT_TRUE(Identical(p.Property(7), Variant::Str(m.model->DTMDescriptor())));
        EXPECT_TRUE(Identical(p.Property(10), Variant::Bool(false)));
        EXPECT_TRUE(Identical(p.Property(11), Variant::Lng(n)));
        EXPECT_TRUE(Identical(p.Property(12), Variant::Lng(value ? 1 : 0)));
        EXPECT_TRUE(Identical(p.Property(13), Variant::Lng(0)));
        EXPECT_TRUE(Identical(p.Property(15), Variant::Int(static_cast<int16_t>(40 * (slot - 1) + (value ? 0 : 32)))));
        EXPECT_TRUE(Identical(p.Property(16), Variant::Int(value ? 32 : 8)));
        EXPECT_TRUE(Identical(p.Property(17), Variant::Int(0)));
        EXPECT_TRUE(Identical(p.Property(18), Variant::Int(slot)));
        EXPECT_TRUE(Identical(p.Property(19), Variant::Int(26)));
        for (int32_t i = 20; i <= 23; ++i) EXPECT_TRUE(p.Property(i).IsEmpty()) << i;
    }
    // The last status bit closes the 320 bits of eight slots.
    auto& last = *std::dynamic_pointer_cast<clsChannel>(list.Item(16))->ProfibusChannelParameter();
    EXPECT_EQ(platform::com::CInt(last.BitOffset()) + platform::com::CInt(last.BitLength()), 320);
}

TEST(ProcessDataChannels, NeedTheDataModel) {
    auto ctx = platform::rt::DTMContext::Create();
    EXPECT_EQ(ErrorOf([&] { CreateChannels(ctx); }), platform::com::errObjectNotSet);
    EXPECT_EQ(ctx->Parameters()->Channels()->Count(), 0);
}

TEST(ProcessDataChannels, ResetOfTheCollectionEmptiesTheChannelList) {
    testing::ModelContext m;
    CreateChannels(m.ctx);
    m.params().Reset();
    EXPECT_EQ(m.params().Channels()->Count(), 0);
    EXPECT_EQ(ErrorOf([&] { m.params().Channels()->Item(1); }), platform::com::errSubscript);
}

}  // namespace
}  // namespace dtm

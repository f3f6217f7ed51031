// The simulated device's hooks for the frame's scripts: faults on one
// address and direction, the wire log, values set by path.
#include <gtest/gtest.h>

#include "frame/DeviceFactoryImage.h"
#include "frame/SimulatedDevice.h"

namespace dtm::frame {
namespace {

class DeviceHooks : public ::testing::Test {
protected:
    static const FactoryImage& Image() {
        static const FactoryImage image = BuildFactoryImage("RXD 218");
        return image;
    }
    static DeviceAddress Of(const std::string& path) { return Image().addressOf.at(path); }
    SimulatedDevice device;
};

TEST_F(DeviceHooks, AnAddressFaultHitsOnlyTheNthTransactionOfItsAddressAndDirection) {
    const auto [slot, index] = Of("PHYS/TAG_DESC");
    device.ScheduleAddressFailure(slot, index, false, SimulatedDevice::kAccessDenied, 2);
    EXPECT_TRUE(device.Write(slot, index, device.Bytes(slot, index)).Ok());  // a write does not count
    const auto [otherSlot, otherIndex] = Of("PHYS/DESCRIPTOR");
    EXPECT_TRUE(device.Read(otherSlot, otherIndex).Ok());  // nor does another address
    EXPECT_TRUE(device.Read(slot, index).Ok());  // the first read
    const auto failed = device.Read(slot, index);
    EXPECT_EQ(failed.kind, DeviceAnswer::Kind::Error);
    EXPECT_EQ(failed.errorCode1, SimulatedDevice::kAccessDenied);
    EXPECT_TRUE(device.Read(slot, index).Ok());  // once only
}

TEST_F(DeviceHooks, TwoFaultsDueTogetherFailTwoTransactions) {
    const auto [slot, index] = Of("PHYS/TAG_DESC");
    device.ScheduleAddressFailure(slot, index, false, 0xB6);
    device.ScheduleAddressFailure(slot, index, false, 0xA2);
    EXPECT_EQ(device.Read(slot, index).errorCode1, 0xB6);
    EXPECT_EQ(device.Read(slot, index).errorCode1, 0xA2);
    EXPECT_TRUE(device.Read(slot, index).Ok());
}

TEST_F(DeviceHooks, TheLogHoldsEveryTransactionWithItsAnswer) {
    const auto [slot, index] = Of("PHYS/TAG_DESC");
    device.ScheduleDrop();
    device.Read(slot, index);
    device.Read(slot, index);
    device.Read(0xFE, 0);
    ASSERT_EQ(device.Log().size(), 3u);
    EXPECT_EQ(device.Log()[0].answer.kind, DeviceAnswer::Kind::Dropped);
    EXPECT_EQ(device.Log()[1].answer.data, device.Bytes(slot, index));
    EXPECT_EQ(device.Log()[2].request.slot, 0xFE);
    EXPECT_EQ(device.Log()[2].answer.errorCode1, SimulatedDevice::kInvalidSlot);
}

TEST_F(DeviceHooks, SetValueCodesTheElementAndLeavesTheRestOfItsParameter) {
    const auto [slot, index] = Of("PHYS/TAG_DESC");
    ASSERT_TRUE(device.SetValue("phys/tag_desc", "FT-101"));
    const auto bytes = device.Bytes(slot, index);
    ASSERT_EQ(bytes.size(), 32u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 6), "FT-101");
    EXPECT_EQ(bytes.back(), ' ');

    // A field of a record keeps the other fields' bytes.
    const auto [rslot, rindex] = Of("PHYS/BLK_OBJ/Profile_Revision");
    const auto before = device.Bytes(rslot, rindex);
    ASSERT_TRUE(device.SetValue("PHYS/BLK_OBJ/Profile_Revision", "769"));
    const auto after = device.Bytes(rslot, rindex);
    ASSERT_EQ(after.size(), before.size());
    size_t changed = 0;
    for (size_t i = 0; i < after.size(); ++i) changed += after[i] != before[i];
    EXPECT_GE(changed, 1u);
    EXPECT_LE(changed, 2u);

    EXPECT_FALSE(device.SetValue("NO/SUCH", "1"));
}

}  // namespace
}  // namespace dtm::frame

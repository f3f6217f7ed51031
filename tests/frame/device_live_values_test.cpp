// The simulated converter's live behaviour on the frame's virtual clock: the
// measured variables follow the filling cycle with their status, a new unit
// converts values and limits, the operating hours count, and the
// acknowledgement of a device error clears its diagnosis.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>

#include "frame/DeviceProcess.h"
#include "frame/ModelInstance.h"
#include "frame/SimulatedDevice.h"
#include "model/elements/clsDataElement.h"
#include "platform/app/EventLoop.h"
#include "platform/rt/Parameters.h"

namespace {

using dtm::frame::SimulatedDevice;
using Bytes = std::vector<uint8_t>;

class DeviceLiveValues : public ::testing::Test {
protected:
    void SetUp() override { platform::app::EventLoop::Instance().Reset(); }
    void TearDown() override { platform::app::EventLoop::Instance().Reset(); }

    std::pair<uint8_t, uint8_t> At(const std::string& path) const {
        const auto el = std::dynamic_pointer_cast<dtm::clsDataElement>(model.Parameters().Item(path));
        return {static_cast<uint8_t>(el->Slot), static_cast<uint8_t>(el->index)};
    }
    Bytes Read(const std::string& path) {
        const auto [slot, index] = At(path);
        const auto answer = device.Read(slot, index);
        EXPECT_TRUE(answer.Ok()) << path;
        return answer.data;
    }
    static float FloatOf(const Bytes& bytes) {
        return std::bit_cast<float>((uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) | (uint32_t{bytes[2]} << 8) |
                                    uint32_t{bytes[3]});
    }
    // Moves the virtual clock to `seconds` after the device was switched on.
    static void At(double seconds) {
        auto& loop = platform::app::EventLoop::Instance();
        loop.Advance(static_cast<int64_t>(seconds * 1000) - loop.Now());
    }

    dtm::frame::ModelInstance model = dtm::frame::NewModelInstance("RXD 218", true);
    SimulatedDevice device;
};

TEST_F(DeviceLiveValues, TheMassFlowFollowsTheFillingCycleWithItsStatus) {
    struct Case {
        double seconds;
        double massFlow;  // kg/s, within 0.012
        uint8_t status;
    };
    const Case cases[] = {
        {0, 0, dtm::frame::kStatusInitialValue},       // starting up
        {10, 0.15, dtm::frame::kStatusGood},           // ramping up
        {21, 0.3525, dtm::frame::kStatusRangeHighLimited},  // overshooting the upper limit
        {60, 0.30, dtm::frame::kStatusGood},           // the plateau
        {110, 0, dtm::frame::kStatusGood},             // standing still
        {130, 0.15, dtm::frame::kStatusGood},          // the next cycle
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.seconds);
        At(c.seconds);
        const Bytes record = Read("TRANS/1/FlowCori/MASS_FLOW/");
        ASSERT_EQ(record.size(), 5u);
        EXPECT_NEAR(FloatOf(record), c.massFlow, 0.012);
        EXPECT_EQ(record[4], c.status);
    }
}

TEST_F(DeviceLiveValues, EveryVariableLiesWithinItsLimitsOnThePlateau) {
    At(60);
    const char* const variables[] = {"MANU/VOLUME_FLOW", "DENSITY", "TEMPERATURE", "MANU/VOLUME_CONCENTRATION",
                                     "MANU/MASS_CONCENTRATION", "MANU/DEG_BAUME", "MANU/SOLID_FLOW"};
    for (const std::string v : variables) {
        SCOPED_TRACE(v);
        const std::string stem = "TRANS/1/FlowCori/" + v;
        const Bytes record = Read(stem + "/");
        const float value = FloatOf(record);
        EXPECT_GT(value, 0);
        EXPECT_GT(value, FloatOf(Read(stem + "_LO_LIMIT")));
        EXPECT_LT(value, FloatOf(Read(stem + "_HI_LIMIT")));
        EXPECT_EQ(record[4], dtm::frame::kStatusGood);
    }
}

TEST_F(DeviceLiveValues, ANewUnitConvertsTheLimitsAndTheValues) {
    At(60);
    const float kgs = FloatOf(Read("TRANS/1/FlowCori/MASS_FLOW/"));
    const float hi = FloatOf(Read("TRANS/1/FlowCori/MASS_FLOW_HI_LIMIT"));
    const auto [slot, index] = At("TRANS/1/FlowCori/MASS_FLOW_UNITS");
    ASSERT_TRUE(device.Write(slot, index, {0x05, 0x26}).Ok());  // 1318, g/s
    EXPECT_NEAR(FloatOf(Read("TRANS/1/FlowCori/MASS_FLOW_HI_LIMIT")), hi * 1000, 0.01);
    EXPECT_NEAR(FloatOf(Read("TRANS/1/FlowCori/MASS_FLOW/")), kgs * 1000, 0.01);

    ASSERT_TRUE(device.SetValue("TRANS/1/FlowCori/MASS_FLOW_UNITS", "1322"));  // back to kg/s
    EXPECT_NEAR(FloatOf(Read("TRANS/1/FlowCori/MASS_FLOW_HI_LIMIT")), hi, 1e-6);
}

TEST_F(DeviceLiveValues, TheOperatingHoursCountOnTheClock) {
    const Bytes start = Read("PHYS/MANU/OPERATION_HOUR/");
    At(3600);
    const Bytes later = Read("PHYS/MANU/OPERATION_HOUR/");
    const auto ms = [](const Bytes& b) { return (int64_t{b[0]} << 24) | (b[1] << 16) | (b[2] << 8) | b[3]; };
    const auto days = [](const Bytes& b) { return (b[4] << 8) | b[5]; };
    EXPECT_EQ(ms(later) - ms(start), 3600000);
    EXPECT_EQ(days(later), days(start));
    EXPECT_EQ(days(start), 412);
}

TEST_F(DeviceLiveValues, AcknowledgingTheErrorsClearsTheDiagnosisOnly) {
    ASSERT_TRUE(device.SetValue("PHYS/DIAGNOSIS", "20 00 00 80"));
    ASSERT_TRUE(device.SetValue("PHYS/DIAGNOSIS_EXTENSION", "010000000000"));
    ASSERT_TRUE(device.SetValue("TRANS/1/FlowCori/MANU/_converter_status", "00 00 00 04"));
    ASSERT_TRUE(device.SetValue("TRANS/1/FlowCori/MANU/_system_state", "1"));
    EXPECT_EQ(Read("PHYS/DIAGNOSIS"), (Bytes{0x20, 0, 0, 0x80}));
    EXPECT_FALSE(device.SetValue("PHYS/DIAGNOSIS", "zz"));

    const auto [slot, index] = At("TRANS/1/FlowCori/MANU/_resets");
    ASSERT_TRUE(device.Write(slot, index, {1}).Ok());  // a totaliser reset leaves the diagnosis
    EXPECT_EQ(Read("PHYS/DIAGNOSIS"), (Bytes{0x20, 0, 0, 0x80}));
    ASSERT_TRUE(device.Write(slot, index, {2}).Ok());
    EXPECT_EQ(Read("PHYS/DIAGNOSIS"), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(Read("PHYS/DIAGNOSIS_EXTENSION"), (Bytes{0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Read("TRANS/1/FlowCori/MANU/_converter_status"), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(Read("TRANS/1/FlowCori/MANU/_system_state"), (Bytes{3}));
}

}  // namespace

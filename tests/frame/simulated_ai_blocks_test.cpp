// The simulated device's AI function blocks: target and actual mode, the
// output in each mode, the simulation record, and the writes each mode refuses.
#include <gtest/gtest.h>


#include "frame/DeviceBytes.h"
#include "frame/ModelInstance.h"
#include "frame/OnlineFixture.h"
#include "frame/SimulatedDevice.h"
#include "model/elements/clsDataElement.h"
#include "platform/app/EventLoop.h"
#include "platform/rt/IPrivateProcess.h"
#include "platform/rt/Parameters.h"
#include "platform/rt/TransGrp.h"

namespace dtm::frame {
namespace {

using Bytes = std::vector<uint8_t>;

class SimulatedAIBlocks : public ::testing::Test {
protected:
    struct Address {
        uint8_t slot, index;
    };
    Address At(const std::string& path) const {
        const auto& el = dynamic_cast<clsDataElement&>(*instance.Parameters().Item(path));
        return {static_cast<uint8_t>(el.Slot), static_cast<uint8_t>(el.index)};
    }
    DeviceAnswer Write(const std::string& path, Bytes data) {
        const Address a = At(path);
        return device.Write(a.slot, a.index, std::move(data));
    }
    Bytes Read(const std::string& path) {
        const Address a = At(path);
        return device.Read(a.slot, a.index).data;
    }
    static Bytes Float(float value, uint8_t status) {
        Bytes bytes(5);
        PutFloat(bytes, 0, value);
        bytes[4] = status;
        return bytes;
    }

    ModelInstance instance = NewModelInstance("RXD 218");
    SimulatedDevice device{SimulatedDevice::Model::RXD218};
};

TEST_F(SimulatedAIBlocks, ATargetModeTheBlockPermitsBecomesItsActualMode) {
    struct Case {
        uint8_t target;
        uint8_t errorCode1;  // 0: accepted
        uint8_t actual;      // afterwards
    };
    const Case cases[] = {
        {16, 0, 16},   {8, 0, 8},    {128, 0, 128},
        {4, SimulatedDevice::kInvalidRange, 128},     // not a mode the block knows
        {24, SimulatedDevice::kInvalidRange, 128},    // two modes at once
        {0, SimulatedDevice::kInvalidRange, 128},
        {8, 0, 8},
    };
    for (const auto& c : cases) {
        const DeviceAnswer answer = Write("FUNC/2/AI/TARGET_MODE", {c.target});
        EXPECT_EQ(answer.Ok(), c.errorCode1 == 0) << int(c.target);
        EXPECT_EQ(answer.errorCode1, c.errorCode1) << int(c.target);
        EXPECT_EQ(Read("FUNC/2/AI/MODE_BLK/")[0], c.actual) << int(c.target);
    }
    // A mode the block does not permit is refused too.
    ASSERT_TRUE(device.SetValue("FUNC/2/AI/MODE_BLK/Permitted", "136"));  // automatic and out of service
    EXPECT_EQ(Write("FUNC/2/AI/TARGET_MODE", {16}).errorCode1, SimulatedDevice::kInvalidRange);
    // Other blocks keep their mode.
    EXPECT_EQ(Read("FUNC/3/AI/MODE_BLK/")[0], 8);
}

TEST_F(SimulatedAIBlocks, TheOutputFollowsTheModeAndTheSimulation) {
    // Automatic, no simulation: the measured variable of the channel (block 2: density).
    const Bytes live = Read("FUNC/2/AI/OUT/");
    ASSERT_EQ(live.size(), 5u);
    EXPECT_GT(FloatAt(live, 0), 0.5f);
    EXPECT_LT(FloatAt(live, 0), 2.0f);

    // Simulation enabled: value and status of the SIMULATE record.
    Bytes simulate(6, 0);
    simulate[0] = 0x80;
    PutFloat(simulate, 1, 42.5f);
    simulate[5] = 1;
    ASSERT_TRUE(Write("FUNC/2/AI/SIMULATE/", simulate).Ok());
    EXPECT_EQ(Read("FUNC/2/AI/OUT/"), Float(42.5f, 0x80));
    simulate[0] = 0x4C;
    PutFloat(simulate, 1, -3.25f);
    ASSERT_TRUE(Write("FUNC/2/AI/SIMULATE/", simulate).Ok());
    EXPECT_EQ(Read("FUNC/2/AI/OUT/"), Float(-3.25f, 0x4C));

    // A write of OUT is refused outside manual mode.
    EXPECT_EQ(Write("FUNC/2/AI/OUT/", Float(7, 0x80)).errorCode1, SimulatedDevice::kStateConflict);
    // Manual: OUT holds what was written, simulation or not.
    ASSERT_TRUE(Write("FUNC/2/AI/TARGET_MODE", {16}).Ok());
    ASSERT_TRUE(Write("FUNC/2/AI/OUT/", Float(7, 0x80)).Ok());
    platform::app::EventLoop::Instance().Advance(4000);
    EXPECT_EQ(Read("FUNC/2/AI/OUT/"), Float(7, 0x80));
    EXPECT_EQ(Write("FUNC/2/AI/OUT/", Bytes{1, 2}).errorCode1, SimulatedDevice::kWriteLengthError);
    // Out of service: the value stays, the status is BAD - out of service.
    ASSERT_TRUE(Write("FUNC/2/AI/TARGET_MODE", {128}).Ok());
    EXPECT_EQ(Read("FUNC/2/AI/OUT/"), Float(7, 0x1C));
    // Back to automatic with the simulation switched off: the process again.
    simulate[5] = 0;
    ASSERT_TRUE(Write("FUNC/2/AI/SIMULATE/", simulate).Ok());
    ASSERT_TRUE(Write("FUNC/2/AI/TARGET_MODE", {8}).Ok());
    EXPECT_NE(FloatAt(Read("FUNC/2/AI/OUT/"), 0), 7.0f);
}

TEST_F(SimulatedAIBlocks, TheOutputIsTheChannelsVariableScaledToTheOutputScale) {
    ASSERT_TRUE(device.SetValue("FUNC/3/AI/PV_SCALE/Up_Val", "400"));  // block 3: temperature in K
    ASSERT_TRUE(device.SetValue("FUNC/3/AI/PV_SCALE/Lo_Val", "200"));
    ASSERT_TRUE(device.SetValue("FUNC/3/AI/OUT_SCALE/Up_Val", "100"));
    ASSERT_TRUE(device.SetValue("FUNC/3/AI/OUT_SCALE/Lo_Val", "0"));
    const float temperature = FloatAt(Read("TRANS/1/FlowCori/TEMPERATURE/"), 0);
    const float out = FloatAt(Read("FUNC/3/AI/OUT/"), 0);
    EXPECT_NEAR(out, (temperature - 200) / 2, 0.01);
    // A channel naming no measured variable leaves the output as it was.
    ASSERT_TRUE(device.SetValue("FUNC/3/AI/CHANNEL", "1"));
    platform::app::EventLoop::Instance().Advance(10000);
    EXPECT_EQ(FloatAt(Read("FUNC/3/AI/OUT/"), 0), out);
}

// The simulation written by a DTM's transaction group, as the AI simulation
// page writes it: the SIMULATE record and the target mode, in manual mode the
// output too, then the actual mode read back.
class SimulationThroughTheDtm : public testing::OnlineFixture {
protected:
    struct Ends : platform::rt::IPrivateProcess {
        void OnProcessProgress(const std::string&, int16_t, const platform::Variant&) override {}
        void OnProcessFinished(const std::string&, const platform::Variant&) override { ++count; }
        int count = 0;
    };
    clsDataElement& El(const std::string& path) const { return dynamic_cast<clsDataElement&>(*Params().Item(path)); }
    void Set(const std::string& path, const platform::Variant& value) { El(path).TransientValue = value; }
    void Run(const std::vector<std::pair<std::string, bool>>& requests) {
        auto group = std::make_shared<platform::rt::TransGrp>();
        group->InitGroup(session.Context());
        for (const auto& [path, write] : requests) ASSERT_EQ(group->AddRequest(Params().Item(path), write), 0);
        auto ends = std::make_shared<Ends>();
        ASSERT_EQ(group->Execute(ends, true, true), 0);
        for (int i = 0; i < 3000 && ends->count == 0; ++i) platform::app::EventLoop::Instance().Advance(10);
        ASSERT_EQ(ends->count, 1);
        group->ReleaseGroup();
    }
};

TEST_F(SimulationThroughTheDtm, ModesSixteenAndEightOnTheWireAndTheOutputFollowingTheSimulation) {
    ASSERT_TRUE(session.Upload("FUNC/1/AI/").ok);
    Set("FUNC/1/AI/SIMULATE/Value", platform::Variant::Dbl(12.5));
    Set("FUNC/1/AI/SIMULATE/StatusQuality", platform::Variant::Int(32));  // GOOD
    Set("FUNC/1/AI/SIMULATE/Enabled", platform::Variant::Int(1));
    Set("FUNC/1/AI/TARGET_MODE", platform::Variant::Int(16));
    Set("FUNC/1/AI/OUT/Value", platform::Variant::Dbl(3.5));
    Run({{"FUNC/1/AI/SIMULATE/", true}, {"FUNC/1/AI/TARGET_MODE", true}, {"FUNC/1/AI/OUT/", true},
         {"FUNC/1/AI/MODE_BLK/", false}});
    EXPECT_EQ(platform::com::CLng(El("FUNC/1/AI/MODE_BLK/Actual").TransientValue), 16);
    Run({{"FUNC/1/AI/OUT/", false}});
    EXPECT_EQ(platform::com::CDbl(El("FUNC/1/AI/OUT/Value").TransientValue), 3.5);  // manual: what was written

    Set("FUNC/1/AI/TARGET_MODE", platform::Variant::Int(8));
    Run({{"FUNC/1/AI/SIMULATE/", true}, {"FUNC/1/AI/TARGET_MODE", true}, {"FUNC/1/AI/MODE_BLK/", false}});
    EXPECT_EQ(platform::com::CLng(El("FUNC/1/AI/MODE_BLK/Actual").TransientValue), 8);
    Run({{"FUNC/1/AI/OUT/", false}});
    EXPECT_EQ(platform::com::CDbl(El("FUNC/1/AI/OUT/Value").TransientValue), 12.5);
    EXPECT_EQ(platform::com::CLng(El("FUNC/1/AI/OUT/StatusQuality").TransientValue), 32);
    EXPECT_TRUE(session.Context()->ReportedErrors().empty());
}

}  // namespace
}  // namespace dtm::frame

// The simulated device's commands: the zero point adjustment, the resets of
// the Physical Block and the converter, the write lock and the service code.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "frame/ModelInstance.h"
#include "frame/SimulatedDevice.h"
#include "model/elements/clsDataElement.h"
#include "platform/app/EventLoop.h"
#include "platform/rt/Parameters.h"

namespace {

using dtm::frame::DeviceAnswer;
using dtm::frame::SimulatedDevice;
using Bytes = std::vector<uint8_t>;
using Mode = SimulatedDevice::ZeroPointMode;

constexpr uint8_t kOk = 0;

class DeviceCommands : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        factory = std::make_unique<SimulatedDevice>(SimulatedDevice::Model::RXD218);
        instance = std::make_unique<dtm::frame::ModelInstance>(dtm::frame::NewModelInstance("RXD 218"));
    }
    static void TearDownTestSuite() {
        factory.reset();
        instance.reset();
    }
    void SetUp() override { platform::app::EventLoop::Instance().Reset(); }
    void TearDown() override { platform::app::EventLoop::Instance().Reset(); }

    struct Address {
        uint8_t slot, index;
    };
    static Address At(const std::string& path) {
        const auto el = std::dynamic_pointer_cast<dtm::clsDataElement>(instance->Parameters().Item(path));
        return {static_cast<uint8_t>(el->Slot), static_cast<uint8_t>(el->index)};
    }
    // 0 for an answered write, else its DP-V1 error code (0xFF: no answer).
    uint8_t Write(const std::string& path, Bytes data) {
        const auto a = At(path);
        const DeviceAnswer answer = device.Write(a.slot, a.index, std::move(data));
        return answer.kind == DeviceAnswer::Kind::Dropped ? 0xFF : answer.errorCode1;
    }
    Bytes Read(const std::string& path) {
        const auto a = At(path);
        return device.Read(a.slot, a.index).data;
    }
    Bytes Stored(const std::string& path) const {
        const auto a = At(path);
        return device.Bytes(a.slot, a.index);
    }
    bool ZeroBitSet() const {
        return (Stored(kStatus).back() | (Stored(kStatus)[2] << 8)) & SimulatedDevice::kConverterZeroPointBit;
    }

    static constexpr const char* kZero = "TRANS/1/FlowCori/ZERO_POINT_ADJUST";
    static constexpr const char* kStatus = "TRANS/1/FlowCori/MANU/_converter_status";
    static constexpr const char* kReset = "PHYS/FACTORY_RESET";
    static constexpr const char* kLock = "PHYS/WRITE_LOCKING";
    static constexpr const char* kTag = "PHYS/TAG_DESC";
    static constexpr const char* kCode = "PHYS/MANU/SERVICE_PASSWORD";
    static constexpr const char* kRights = "PHYS/MANU/ACCESS_RIGHTS";
    static constexpr const char* kResets = "TRANS/1/FlowCori/MANU/_resets";

    SimulatedDevice device = *factory;
    static std::unique_ptr<SimulatedDevice> factory;
    static std::unique_ptr<dtm::frame::ModelInstance> instance;
};

std::unique_ptr<SimulatedDevice> DeviceCommands::factory;
std::unique_ptr<dtm::frame::ModelInstance> DeviceCommands::instance;

TEST_F(DeviceCommands, ZeroPointReadsOneForItsReadsThenZeroAndShowsInTheConverterStatus) {
    device.SetZeroPoint(Mode::Runs, 2);
    EXPECT_EQ(Read(kZero), Bytes{0});
    ASSERT_EQ(Write(kZero, {1}), kOk);
    EXPECT_TRUE(device.ZeroPointRunning());
    EXPECT_TRUE(ZeroBitSet());
    EXPECT_EQ(Read(kZero), Bytes{1});
    EXPECT_EQ(Read(kZero), Bytes{1});
    EXPECT_FALSE(ZeroBitSet());
    EXPECT_EQ(Read(kZero), Bytes{0});
    EXPECT_EQ(Read(kZero), Bytes{0});
    // 0 cancels a running adjustment.
    ASSERT_EQ(Write(kZero, {1}), kOk);
    ASSERT_EQ(Write(kZero, {0}), kOk);
    EXPECT_EQ(Read(kZero), Bytes{0});
}

TEST_F(DeviceCommands, ZeroPointStartAsTheDeviceIsSet) {
    struct Case {
        Mode mode;
        Bytes value;
        uint8_t answer;
        bool runs;
    } cases[] = {
        {Mode::Runs, {1}, kOk, true},
        {Mode::NeverStarts, {1}, kOk, false},
        {Mode::Refuses, {1}, SimulatedDevice::kStateConflict, false},
        {Mode::Busy, {1}, SimulatedDevice::kResourceBusy, false},
        {Mode::Runs, {2}, SimulatedDevice::kInvalidRange, false},
    };
    for (const auto& c : cases) {
        SimulatedDevice fresh = *factory;
        device = fresh;
        device.SetZeroPoint(c.mode);
        EXPECT_EQ(Write(kZero, c.value), c.answer) << static_cast<int>(c.mode);
        EXPECT_EQ(device.ZeroPointRunning(), c.runs) << static_cast<int>(c.mode);
        EXPECT_EQ(Read(kZero), Bytes{static_cast<uint8_t>(c.runs)}) << static_cast<int>(c.mode);
    }
}

TEST_F(DeviceCommands, FactoryResetPutsTheWritableParametersBack) {
    const Bytes factoryTag = Stored(kTag);
    ASSERT_EQ(Write(kTag, Bytes(32, 'Z')), kOk);
    ASSERT_EQ(Write(kReset, {0x00, 0x01}), kOk);
    EXPECT_EQ(Stored(kTag), factoryTag);
    EXPECT_EQ(device.BusAddress(), SimulatedDevice::kInitialBusAddress);
    EXPECT_EQ(Read("PHYS/DEVICE_MAN_ID"), (Bytes{0x00, 173}));  // the identity stays
}

TEST_F(DeviceCommands, WarmStartAnswersItsWriteThenNothingWhileItRestarts) {
    ASSERT_EQ(Write(kReset, {0x09, 0xCA}), kOk);
    EXPECT_TRUE(device.Restarting());
    EXPECT_EQ(Write(kTag, Bytes(32, 'Z')), 0xFF);
    platform::app::EventLoop::Instance().Advance(SimulatedDevice::kRestartMs - 1);
    EXPECT_EQ(device.Read(0, 26).kind, DeviceAnswer::Kind::Dropped);
    platform::app::EventLoop::Instance().Advance(1);
    EXPECT_FALSE(device.Restarting());
    EXPECT_EQ(device.Read(0, 26).kind, DeviceAnswer::Kind::Data);
}

// A factory reset and a warm start show in DIAGNOSIS as a cold or warm start
// (octet 2: 0x10 restart, 0x08 new start-up), keeping what it held, and end
// a running zero point adjustment with its converter bit; an acknowledgement
// clears the restart bits again.
TEST_F(DeviceCommands, RestartsSetTheirDiagnosisBitAndEndTheZeroPointAdjustment) {
    struct Case {
        const char* name;
        Bytes command;
        Bytes diagnosis;  // DIAGNOSIS afterwards, from 20 00 00 00
    } cases[] = {
        {"AddressReset", {0x0A, 0x98}, {0x20, 0x00, 0x00, 0x00}},
        {"WarmStart", {0x09, 0xCA}, {0x20, 0x08, 0x00, 0x00}},
        {"FactoryReset", {0x00, 0x01}, {0x20, 0x10, 0x00, 0x00}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        device = *factory;
        ASSERT_TRUE(device.SetValue("PHYS/DIAGNOSIS", "20 00 00 00"));
        device.SetZeroPoint(Mode::Runs, 5);
        ASSERT_EQ(Write(kZero, {1}), kOk);
        ASSERT_EQ(Write(kReset, c.command), kOk);
        platform::app::EventLoop::Instance().Advance(SimulatedDevice::kRestartMs);
        EXPECT_EQ(Stored("PHYS/DIAGNOSIS"), c.diagnosis);
        const bool restarted = c.diagnosis[1] != 0;
        EXPECT_EQ(device.ZeroPointRunning(), !restarted);
        EXPECT_EQ(ZeroBitSet(), !restarted);
    }
    ASSERT_EQ(Write(kResets, {2}), kOk);  // on the device of the factory reset
    EXPECT_EQ(Stored("PHYS/DIAGNOSIS"), (Bytes{0, 0, 0, 0}));
}

TEST_F(DeviceCommands, AddressResetMovesTheDeviceTo126AfterAnsweringTheWrite) {
    ASSERT_EQ(device.BusAddress(), SimulatedDevice::kInitialBusAddress);
    EXPECT_EQ(Write(kReset, {0x0A, 0x98}), kOk);
    EXPECT_EQ(device.BusAddress(), 126);
    EXPECT_EQ(Write(kReset, {0x00, 0x05}), SimulatedDevice::kInvalidRange);
    EXPECT_EQ(Write(kReset, {0x00, 0x00}), kOk);  // no command
}

TEST_F(DeviceCommands, WriteLockRefusesOtherWritesUntilUnlocked) {
    struct Step {
        const char* path;
        Bytes data;
        uint8_t answer;
    } steps[] = {
        {kLock, {0x00, 0x01}, SimulatedDevice::kInvalidRange},
        {kLock, {0x00, 0x00}, kOk},
        {kTag, Bytes(32, 'Z'), SimulatedDevice::kStateConflict},
        {kCode, Bytes(9, 'A'), SimulatedDevice::kStateConflict},
        {kReset, {0x0A, 0x98}, SimulatedDevice::kStateConflict},
        {kLock, {0x09, 0x99}, kOk},
        {kTag, Bytes(32, 'Z'), kOk},
    };
    for (const auto& s : steps) EXPECT_EQ(Write(s.path, s.data), s.answer) << s.path;
    EXPECT_FALSE(device.IsWriteLocked());
}

TEST_F(DeviceCommands, ServiceCodeIsJudgedAndKeptOnlyInTheLog) {
    const std::string code = SimulatedDevice::kServiceCode;
    const Bytes blanks(9, ' ');
    const uint8_t factoryRights = Stored(kRights).back();
    struct Case {
        std::string code;
        bool service;
    } cases[] = {{code, true}, {"WRONGCODE", false}, {code, true}, {"service42", false}};
    for (const auto& c : cases) {
        ASSERT_EQ(Write(kCode, Bytes(c.code.begin(), c.code.end())), kOk);
        EXPECT_EQ(Read(kCode), blanks) << c.code;
        EXPECT_EQ(Stored(kCode), blanks) << c.code;
        EXPECT_EQ(Stored(kRights).back(), c.service ? (factoryRights | SimulatedDevice::kAccessService) : factoryRights)
            << c.code;
    }
    EXPECT_EQ(device.Log()[device.Log().first()].request.data, Bytes(code.begin(), code.end()));
}

TEST_F(DeviceCommands, ConverterResets) {
    EXPECT_EQ(Write(kResets, {3}), SimulatedDevice::kInvalidRange);
    // 0 restarts the converter: a running adjustment ends.
    device.SetZeroPoint(Mode::Runs, 5);
    ASSERT_EQ(Write(kZero, {1}), kOk);
    ASSERT_EQ(Write(kResets, {0}), kOk);
    EXPECT_FALSE(device.ZeroPointRunning());
    EXPECT_FALSE(ZeroBitSet());
    // 1 resets the totalisers.
    for (const char* total : {"FUNC/4/TOT/TOTAL/Value", "FUNC/8/TOT/TOTAL/Value"})
        ASSERT_TRUE(device.SetValue(total, "125.5")) << total;
    ASSERT_EQ(Write(kResets, {1}), kOk);
    for (const char* total : {"FUNC/4/TOT/TOTAL/", "FUNC/8/TOT/TOTAL/"}) {
        const Bytes bytes = Read(total);
        ASSERT_GE(bytes.size(), 4u);
        EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 4), (Bytes{0, 0, 0, 0})) << total;
    }
}

}  // namespace

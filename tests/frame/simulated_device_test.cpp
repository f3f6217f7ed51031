#include <gtest/gtest.h>

#include <map>
#include <set>
#include <memory>
#include <string>
#include <vector>

#include "ErrorOf.h"
#include "core/services/ProjectHelpers.h"
#include "frame/ModelInstance.h"
#include "frame/SimulatedDevice.h"
#include "model/elements/clsDataElement.h"
#include "pages/measurement/MeasuredVariables.h"
#include "platform/rt/Parameters.h"
#include "platform/rt/Transaction.h"

namespace {

using dtm::clsDataElement;
using dtm::frame::DeviceAnswer;
using dtm::frame::ModelInstance;
using dtm::frame::NewModelInstance;
using dtm::frame::SimulatedDevice;
using platform::P;
using platform::Variant;
using Bytes = std::vector<uint8_t>;

P<clsDataElement> ElementAt(const ModelInstance& instance, const std::string& path) {
    return std::dynamic_pointer_cast<clsDataElement>(instance.Parameters().Item(path));
}

// The model's write coding of an element's transient value.
Bytes WriteCoding(const ModelInstance& instance, const P<clsDataElement>& el) {
    auto trans = std::make_shared<platform::rt::Transaction>();
    EXPECT_TRUE(instance.model->BuildTransactionRequest(instance.ctx, trans, true, el));
    return trans->TransData().ToBytes();
}

// Hands a device answer to the model as the answer to a read or write of `el`.
void Decode(const ModelInstance& instance, const P<clsDataElement>& el, const DeviceAnswer& answer, bool write) {
    auto trans = std::make_shared<platform::rt::Transaction>();
    trans->TransSlot(Variant::Byte(static_cast<uint8_t>(el->Slot)));
    trans->TransIndex(Variant::Byte(static_cast<uint8_t>(el->index)));
    if (answer.kind == DeviceAnswer::Kind::Error)
        trans->ErrorInfo(Variant::ByteArray({answer.errorDecode, answer.errorCode1, answer.errorCode2}));
    else
        trans->TransData(Variant::ByteArray(answer.data));
    EXPECT_TRUE(instance.model->ReadTransactionResponse(instance.ctx, trans, write, el)) << el->Name;
}

// A value as the model decodes it from the device: a visible string without
// its padding, a float as a Single.
Variant AsDecoded(const clsDataElement& el, const Variant& value) {
    if (value.IsEmpty()) return value;
    if (el.ValueType == 14) {
        std::string text = platform::com::CStr(value);
        text.erase(text.find_last_not_of(' ') + 1);
        return Variant(text);
    }
    if (el.ValueType == 8) return Variant::Sng(platform::com::CSng(value));
    return value;
}

class SimulatedDeviceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { device218 = std::make_unique<SimulatedDevice>(SimulatedDevice::Model::RXD218); }
    static void TearDownTestSuite() { device218.reset(); }

    // A fresh copy of the factory device for each test.
    SimulatedDevice device = *device218;
    ModelInstance dtm = NewModelInstance("RXD 218");
    P<clsDataElement> tagDesc = ElementAt(dtm, "PHYS/TAG_DESC");
    P<clsDataElement> writeLocking = ElementAt(dtm, "PHYS/WRITE_LOCKING");

    static std::unique_ptr<SimulatedDevice> device218;
};

std::unique_ptr<SimulatedDevice> SimulatedDeviceTest::device218;

TEST(SimulatedDeviceIdentity, EachModelAnswersItsManufacturerAndDeviceId) {
    for (auto model : {SimulatedDevice::Model::RXD214, SimulatedDevice::Model::RXD218}) {
        SimulatedDevice device(model);
        const std::string name = SimulatedDevice::ModelName(model);
        EXPECT_EQ(device.Read(0, 26).data, (Bytes{0x00, 173})) << name;
        std::string id = name;
        id.resize(SimulatedDevice::kDeviceIdLength, ' ');
        EXPECT_EQ(device.Read(0, 27).data, Bytes(id.begin(), id.end())) << name;
    }
}

TEST_F(SimulatedDeviceTest, EveryUploadedElementDecodesToItsInitialValue) {
    // The DTM under test reads every address it uploads; its initial values
    // are what the factory image was coded from, except for the live values.
    const std::map<std::string, Variant> identity = {{"PHYS/DEVICE_MAN_ID", Variant::Lng(173)},
                                                     {"PHYS/DEVICE_ID", Variant("RXD 218")}};
    std::set<std::string> live{"PHYS/MANU/OPERATION_HOUR/"};
    for (const auto& variable : dtm::kMeasuredVariables) live.insert(variable.record);
    for (const int n : {1, 2, 3, 5, 6, 7}) live.insert("FUNC/" + std::to_string(n) + "/AI/OUT/");  // the AI outputs follow the process
    int checked = 0;
    for (const auto& item : dtm.Parameters()) {
        auto el = std::dynamic_pointer_cast<clsDataElement>(item);
        if (!el->IsUploadParam(dtm.ctx) || live.count(el->Name)) continue;
        ASSERT_TRUE(device.HasParameter(static_cast<uint8_t>(el->Slot), static_cast<uint8_t>(el->index)))
            << el->Name;
        const bool record = el->Name.back() == '/';
        std::vector<P<clsDataElement>> targets;
        if (record) {
            for (const auto& child : dtm.Parameters().Children(el->Name))
                targets.push_back(std::dynamic_pointer_cast<clsDataElement>(child));
        } else {
            targets.push_back(el);
        }
        std::vector<Variant> expected;
        for (const auto& t : targets) {
            auto it = identity.find(t->Name);
            expected.push_back(it != identity.end() ? it->second : AsDecoded(*t, t->TransientValue));
        }

        Decode(dtm, el, device.Read(static_cast<uint8_t>(el->Slot), static_cast<uint8_t>(el->index)), false);
        for (size_t i = 0; i < targets.size(); ++i) {
            const auto& t = targets[i];
            if (t->Slot != el->Slot || t->index != el->index) continue;
            EXPECT_EQ(t->StatusFlags() & 0x00F00000, 0) << t->Name;
            if (!expected[i].IsEmpty()) {
                EXPECT_TRUE(dtm::IsSameValue(t->DeviceValue, expected[i]))
                    << t->Name << ": " << platform::com::CStr(t->DeviceValue);
            }
            ++checked;
        }
    }
    EXPECT_GT(checked, 100);
}

TEST_F(SimulatedDeviceTest, EveryDownloadedElementsWriteIsTaken) {
    int written = 0;
    for (const auto& item : dtm.Parameters()) {
        auto el = std::dynamic_pointer_cast<clsDataElement>(item);
        if (!(el->ElementMode & clsDataElement::kModeDownload) || (el->ElementMode & clsDataElement::kModeCommand))
            continue;
        const DeviceAnswer answer =
            device.Write(static_cast<uint8_t>(el->Slot), static_cast<uint8_t>(el->index), WriteCoding(dtm, el));
        EXPECT_TRUE(answer.Ok()) << el->Name << ": error " << static_cast<int>(answer.errorCode1);
        ++written;
    }
    EXPECT_GT(written, 50);
}

TEST_F(SimulatedDeviceTest, AWrittenValueIsReadBackAndKeptByTheDeviceAlone) {
    tagDesc->TransientValue = Variant("FLOW METER 7");
    const Bytes coded = WriteCoding(dtm, tagDesc);
    const Bytes factory = device.Read(0, static_cast<uint8_t>(tagDesc->index)).data;
    const auto slot = static_cast<uint8_t>(tagDesc->Slot), index = static_cast<uint8_t>(tagDesc->index);

    EXPECT_TRUE(device.Write(slot, index, coded).Ok());
    const DeviceAnswer answer = device.Read(slot, index);
    EXPECT_EQ(answer.data, coded);

    ModelInstance other = NewModelInstance("RXD 218");
    auto otherTag = ElementAt(other, "PHYS/TAG_DESC");
    Decode(other, otherTag, answer, false);
    EXPECT_EQ(platform::com::CStr(otherTag->DeviceValue), "FLOW METER 7");
    // The factory device and its other copies never saw the write.
    EXPECT_EQ(device218->Read(slot, index).data, factory);
}

TEST_F(SimulatedDeviceTest, RefusalsCarryTheirErrorCodesAndTheModelDecodesThem) {
    const auto slot = static_cast<uint8_t>(tagDesc->Slot), index = static_cast<uint8_t>(tagDesc->index);
    const Bytes tag = WriteCoding(dtm, tagDesc);
    auto manId = ElementAt(dtm, "PHYS/DEVICE_MAN_ID");
    uint8_t freeIndex = 255;
    while (device.HasParameter(0, freeIndex)) --freeIndex;
    uint8_t freeSlot = 255;
    while (device.HasParameter(freeSlot, 16)) --freeSlot;

    struct Case {
        const char* what;
        dtm::frame::DeviceRequest request;
        uint8_t code;
        int32_t flags;  // what the model makes of the code
    } cases[] = {
        {"unknown slot", {false, freeSlot, 16, {}}, SimulatedDevice::kInvalidSlot, 0x800000},
        {"unknown index", {false, 0, freeIndex, {}}, SimulatedDevice::kInvalidIndex, 0x800000},
        {"short write", {true, slot, index, Bytes(tag.begin(), tag.end() - 1)}, SimulatedDevice::kWriteLengthError,
         0x500000},
        {"long write", {true, slot, index, [&] { Bytes b = tag; b.push_back(0); return b; }()},
         SimulatedDevice::kWriteLengthError, 0x500000},
        {"read-only", {true, 0, 26, {0x00, 0x01}}, SimulatedDevice::kAccessDenied, 0x300000},
    };
    for (const auto& c : cases) {
        const Bytes before = device.Bytes(c.request.slot, c.request.index);
        const DeviceAnswer answer = device.Transact(c.request);
        EXPECT_EQ(answer.kind, DeviceAnswer::Kind::Error) << c.what;
        EXPECT_EQ(answer.errorDecode, SimulatedDevice::kErrorDecodeDpv1) << c.what;
        EXPECT_EQ(answer.errorCode1, c.code) << c.what;
        EXPECT_EQ(device.Bytes(c.request.slot, c.request.index), before) << c.what;

        Decode(dtm, manId, answer, c.request.write);
        EXPECT_EQ(manId->StatusFlags() & 0x00F00000, c.flags) << c.what;
    }
}

TEST_F(SimulatedDeviceTest, TheWriteLockRefusesEveryWriteButItsOwn) {
    const auto lockSlot = static_cast<uint8_t>(writeLocking->Slot);
    const auto lockIndex = static_cast<uint8_t>(writeLocking->index);
    EXPECT_EQ(device.WriteLockingAddress(), std::make_pair(lockSlot, lockIndex));
    EXPECT_FALSE(device.IsWriteLocked());
    const auto slot = static_cast<uint8_t>(tagDesc->Slot), index = static_cast<uint8_t>(tagDesc->index);
    tagDesc->TransientValue = Variant("LOCKED OUT");
    const Bytes tag = WriteCoding(dtm, tagDesc);
    const Bytes factoryTag = device.Bytes(slot, index);

    writeLocking->TransientValue = Variant::Lng(0);
    ASSERT_TRUE(device.Write(lockSlot, lockIndex, WriteCoding(dtm, writeLocking)).Ok());
    EXPECT_TRUE(device.IsWriteLocked());
    const DeviceAnswer refused = device.Write(slot, index, tag);
    EXPECT_EQ(refused.errorCode1, SimulatedDevice::kStateConflict);
    EXPECT_EQ(device.Bytes(slot, index), factoryTag);
    Decode(dtm, tagDesc, refused, true);
    EXPECT_EQ(tagDesc->StatusFlags() & 0x00F00000, 0x600000);
    EXPECT_TRUE(device.Read(slot, index).Ok());  // reads stay open

    writeLocking->TransientValue = Variant::Lng(2457);
    ASSERT_TRUE(device.Write(lockSlot, lockIndex, WriteCoding(dtm, writeLocking)).Ok());
    EXPECT_FALSE(device.IsWriteLocked());
    EXPECT_TRUE(device.Write(slot, index, tag).Ok());
    EXPECT_EQ(device.Bytes(slot, index), tag);
}

TEST_F(SimulatedDeviceTest, ScheduledFaultsTakeTheNextTransactionsInOrder) {
    const auto slot = static_cast<uint8_t>(tagDesc->Slot), index = static_cast<uint8_t>(tagDesc->index);
    const Bytes factoryTag = device.Bytes(slot, index);
    device.ScheduleBusy(2);
    device.ScheduleFailure(0xA1);
    device.ScheduleDrop();
    EXPECT_EQ(device.ScheduledFaults(), 4u);

    const Bytes other(factoryTag.size(), 'X');
    const DeviceAnswer busy1 = device.Write(slot, index, other);
    const DeviceAnswer busy2 = device.Read(slot, index);
    const DeviceAnswer failed = device.Write(slot, index, other);
    const DeviceAnswer dropped = device.Write(slot, index, other);
    EXPECT_EQ(busy1.errorCode1, SimulatedDevice::kResourceBusy);
    EXPECT_EQ(busy2.errorCode1, SimulatedDevice::kResourceBusy);
    EXPECT_EQ(failed.errorCode1, 0xA1);
    EXPECT_EQ(dropped.kind, DeviceAnswer::Kind::Dropped);
    EXPECT_TRUE(dropped.data.empty());
    EXPECT_EQ(device.Bytes(slot, index), factoryTag);  // no faulted write reached the memory
    EXPECT_EQ(device.ScheduledFaults(), 0u);
    EXPECT_EQ(device.Read(slot, index).data, factoryTag);

    Decode(dtm, tagDesc, busy2, false);
    EXPECT_EQ(tagDesc->StatusFlags() & 0x00F00000, 0x200000);
    Decode(dtm, tagDesc, failed, true);
    EXPECT_EQ(tagDesc->StatusFlags() & 0x00F00000, 0x900000);
}

TEST_F(SimulatedDeviceTest, BusTimeIsTheBaseTimePlusTheDataBytes) {
    EXPECT_EQ(SimulatedDevice::BusTimeUs(0), 17000);
    EXPECT_EQ(SimulatedDevice::BusTimeUs(4), 17000 + 4 * 256);
    const auto slot = static_cast<uint8_t>(tagDesc->Slot), index = static_cast<uint8_t>(tagDesc->index);
    const size_t tagBytes = device.Bytes(slot, index).size();
    ASSERT_EQ(tagBytes, 32u);

    const int64_t countBefore = device.TransactionCount(), totalBefore = device.TotalBusTimeUs();
    const int64_t read = device.Read(slot, index).busTimeUs;
    const int64_t write = device.Write(slot, index, Bytes(tagBytes, ' ')).busTimeUs;
    const int64_t refused = device.Read(250, 250).busTimeUs;
    device.ScheduleDrop();
    const int64_t dropped = device.Write(slot, index, Bytes(tagBytes, ' ')).busTimeUs;
    EXPECT_EQ(read, 17000 + 32 * 256);
    EXPECT_EQ(write, read);
    EXPECT_EQ(refused, 17000);
    EXPECT_EQ(dropped, write);  // the request still went over the bus
    EXPECT_EQ(device.TransactionCount() - countBefore, 4);
    EXPECT_EQ(device.TotalBusTimeUs() - totalBefore, read + write + refused + dropped);
}

}  // namespace

// A DTM instance stored through the property bag and loaded into a fresh
// instance, damaged data-set files, and the device-type check of a connection.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "DtmFixture.h"
#include "core/services/ConvStr.h"
#include "core/services/ProjectHelpers.h"
#include "core/channels/clsChannel.h"
#include "core/dtm/DTMMain.h"
#include "frame/DeviceChannel.h"
#include "frame/SimulatedDevice.h"
#include "platform/TempFolder.h"
#include "platform/app/ErrorSink.h"
#include "platform/rt/CommObj.h"
#include "platform/rt/DtmCommService.h"
#include "platform/rt/DtmRuntimeGlobal.h"
#include "platform/rt/ProfibusChannelParameter.h"

namespace {

using dtm::testing::DtmFixture;
using platform::Variant;

constexpr int32_t kStoredFlags = 0x0F000008;

class DtmPersistence : public DtmFixture {
protected:
    // Loads a bag into a second instance and answers that session.
    std::unique_ptr<dtm::frame::FrameSession> LoadInto(platform::com::PropertyBag& bag) {
        auto other = std::make_unique<dtm::frame::FrameSession>("TAG2");
        EXPECT_TRUE(other->Create(registry));
        EXPECT_TRUE(other->Load(bag));
        return other;
    }
    static dtm::clsDataElement& ElementOf(const dtm::frame::FrameSession& s, const std::string& path) {
        return dynamic_cast<dtm::clsDataElement&>(*s.Context()->Parameters()->Item(path));
    }
    std::string Text(const std::string& path) const { return platform::com::CStr(Element(path).TransientValue); }
};

TEST_F(DtmPersistence, EveryElementComesBackExactly) {
    StartNew();
    Element("PHYS/TAG_DESC").TransientValue = Variant(std::string("Zähler µ ß – 東京"));
    Params().NotifyChange(Params().Item("PHYS/TAG_DESC"), "");  // the tag follows
    Element("DEVICE_DIR/Composite_Diectory_Entries_continue").TransientValue =
        dtm::HexToBytes("00FF7F8001FE000000000000000000A5");
    Element("~/Address").TransientValue = Variant::Int(0);  // the lowest of its range 0..126
    Element("~/Address").nTransientUnit = 1342;
    Element("~/NewAddress").StatusFlags(Element("~/NewAddress").StatusFlags() | 0x08000008);
    // Slot 2's module takes more bytes than the default's: the slave set grows past its first length.
    Element("SlaveBusParamSet_FB2").TransientValue = Variant::Int(12);
    Params().NotifyChange(Params().Item("SlaveBusParamSet_FB2"), "");
    ASSERT_GT(Element("~/BusMasterConfigurationPart").TransientValue.Count(),
              Element("~/BusMasterConfigurationPart").ValueTypeLength);

    platform::com::PropertyBag bag;
    ASSERT_TRUE(session.Save(bag));
    EXPECT_TRUE(platform::com::Equals(Element("~/DataStatus").TransientValue, Variant::Int(0)));
    auto text = platform::com::PropertyBag::FromText(bag.ToText());
    auto other = LoadInto(text);

    EXPECT_EQ(other->Context()->EntriesNotTaken(), std::vector<std::string>{});
    const auto& mine = Params();
    const auto& theirs = *other->Context()->Parameters();
    ASSERT_EQ(mine.Count(), theirs.Count());
    for (int32_t i = 1; i <= mine.Count(); ++i) {
        const auto& a = dynamic_cast<dtm::clsDataElement&>(*mine.Item(i));
        const auto& b = dynamic_cast<dtm::clsDataElement&>(*theirs.Item(i));
        ASSERT_EQ(a.Name, b.Name);
        if (a.Name == "~/DataStatus") continue;
        EXPECT_TRUE(dtm::IsSameValue(a.TransientValue, b.TransientValue)) << a.Name;
        EXPECT_EQ(a.TransientValue.Type(), b.TransientValue.Type()) << a.Name;
        EXPECT_EQ(a.nTransientUnit, b.nTransientUnit) << a.Name;
        EXPECT_EQ(a.StatusFlags() & kStoredFlags, b.StatusFlags() & kStoredFlags) << a.Name;
    }
    EXPECT_EQ(platform::com::CStr(ElementOf(*other, "PHYS/TAG_DESC").TransientValue), "Zähler µ ß – 東京");
    EXPECT_TRUE(platform::com::Equals(ElementOf(*other, "~/DataStatus").TransientValue, Variant::Int(0)));
    EXPECT_EQ(other->Context()->DeviceType()->DeviceIdText(), "RXD 218");
    EXPECT_EQ(other->Context()->Parameters()->QueryDataSetState(), 0);
}

TEST_F(DtmPersistence, ARunningMethodAndAnOpenMonitorDoNotSurviveTheDataSet) {
    StartNew();
    Element("IsMethodRunning").TransientValue = Variant::Bool(true);
    Element("InvokeId_ctl_TR_Monitor").TransientValue = Variant(std::string("MONITOR-ID"));
    platform::com::PropertyBag bag;
    ASSERT_TRUE(session.Save(bag));
    auto other = LoadInto(bag);
    EXPECT_TRUE(platform::com::Equals(ElementOf(*other, "IsMethodRunning").TransientValue, Variant::Bool(false)));
    EXPECT_EQ(platform::com::CStr(ElementOf(*other, "InvokeId_ctl_TR_Monitor").TransientValue), "");
}

TEST_F(DtmPersistence, AStoredInstanceWithoutNameTakesItFromItsIcon) {
    struct Case {
        Variant name;
        std::string icon;
        std::string expected;
    };
    const Case cases[] = {{Variant(), "C:\\icons\\RXD218.ico", "RXD 218"},
                          {Variant(), "RXD214.ico", "RXD 214"},
                          {Variant(), "rxd214.ico", ""},
                          {Variant(std::string("Mine")), "RXD214.ico", "Mine"}};
    for (const auto& c : cases) {
        platform::com::PropertyBag bag;
        bag.WriteProperty("DeviceType.DeviceTypeName", c.name);
        bag.WriteProperty("DeviceType.IconFile", Variant(c.icon));
        auto other = LoadInto(bag);
        EXPECT_EQ(other->Context()->DeviceType()->DeviceIdText(), c.expected) << c.icon;
    }
}

TEST_F(DtmPersistence, ADamagedDataSetFileLoadsWhatItCan) {
    StartNew();
    Element("PHYS/TAG_DESC").TransientValue = Variant(std::string("KEPT"));
    TempFolder folder;
    const std::string file = (folder.Dir() / "set.dataset").string();
    ASSERT_TRUE(session.SaveToFile(file));

    std::ifstream in(file, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // A wrong type for the address, an unknown entry and a truncated last line.
    const auto address = text.find("~/Address\t");
    ASSERT_NE(address, std::string::npos);
    const auto lineEnd = text.find('\n', address);
    text.replace(address, lineEnd - address, "~/Address\t2\tnot a number");
    text += "NO/SUCH/ELEMENT\t8\tvalue\n";
    text += "PHYS/SOFTWARE_REVISION\t8\t\"unterminated";
    const std::string damaged = (folder.Dir() / "damaged.dataset").string();
    std::ofstream(damaged, std::ios::binary) << text;

    dtm::frame::FrameSession other("TAG2");
    const auto report = other.StartStored(registry, damaged);
    EXPECT_TRUE(report.fileRead);
    EXPECT_TRUE(report.loaded);
    EXPECT_NE(std::find(report.damagedEntries.begin(), report.damagedEntries.end(), "~/Address"),
              report.damagedEntries.end());
    EXPECT_EQ(platform::com::CStr(ElementOf(other, "PHYS/TAG_DESC").TransientValue), "KEPT");
    EXPECT_TRUE(platform::com::Equals(ElementOf(other, "~/Address").TransientValue,
                                      ElementOf(other, "~/Address").InitialValue));

    for (size_t cut : {size_t{0}, text.size() / 3, text.size() / 2}) {
        std::ofstream(damaged, std::ios::binary | std::ios::trunc) << text.substr(0, cut);
        dtm::frame::FrameSession cutOff("TAG3");
        EXPECT_TRUE(cutOff.StartStored(registry, damaged).loaded) << cut;
    }
    dtm::frame::FrameSession missing("TAG4");
    EXPECT_FALSE(missing.StartStored(registry, (folder.Dir() / "none").string()).fileRead);
}

// Null, Missing or an object is no value of a data set: the entry is damaged,
// the element starts from its initial value and its documents come out whole.
TEST_F(DtmPersistence, AnEntryHoldingNoDataValueIsDamaged) {
    StartNew();
    TempFolder folder;
    const std::string file = (folder.Dir() / "set.dataset").string();
    ASSERT_TRUE(session.SaveToFile(file));
    std::ifstream in(file, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const struct {
        std::string path;
        const char* varType;  // Nothing, Null, Missing
    } entries[] = {{"PHYS/TAG_DESC", "9"}, {"PHYS/DESCRIPTOR", "1"}, {"PHYS/WRITE_LOCKING", "10"}};
    for (const auto& entry : entries) {
        const auto at = text.find("\n" + entry.path + "\t");
        ASSERT_NE(at, std::string::npos) << entry.path;
        const auto lineEnd = text.find('\n', at + 1);
        text.replace(at + 1, lineEnd - at - 1, entry.path + "\t" + entry.varType + "\t");
    }
    std::ofstream(file, std::ios::binary | std::ios::trunc) << text;

    dtm::frame::FrameSession other("TAG2");
    const auto report = other.StartStored(registry, file);
    ASSERT_TRUE(report.loaded);
    for (const auto& entry : entries) {
        EXPECT_NE(std::find(report.damagedEntries.begin(), report.damagedEntries.end(), entry.path),
                  report.damagedEntries.end())
            << entry.path;
        const auto& el = ElementOf(other, entry.path);
        EXPECT_TRUE(platform::com::Identical(el.TransientValue, el.InitialValue)) << entry.path;
    }
    auto dtm = std::dynamic_pointer_cast<dtm::DTMMain>(other.Dtm());
    const std::string document = dtm->IDtmParameter_GetParameters("PHYS/");
    EXPECT_NE(document.find("name=\"PHYS/TAG_DESC\""), std::string::npos);
    EXPECT_EQ(platform::app::ErrorSink::Instance().Errors().size(), 0u);
}

class ChannelPersistence : public DtmPersistence {
protected:
    static platform::P<platform::fdt::IFdtChannelCollection> ChannelsOf(const dtm::frame::FrameSession& s) {
        return dynamic_cast<platform::fdt::IDtmChannel&>(*s.Dtm()).IDtmChannel_GetChannels();
    }
    static std::string ParametersOf(const dtm::frame::FrameSession& s, int32_t channel) {
        return ChannelsOf(s)->Item(channel)->GetChannelParameters("", "");
    }
};

TEST_F(ChannelPersistence, ChannelParametersTheFrameSetComeBack) {
    StartNew();
    platform::rt::ProfibusChannelParameter wanted;
    ASSERT_TRUE(wanted.Load(ParametersOf(session, 1), nullptr));
    wanted.ChannelLocked(true);
    wanted.Property(20, Variant(std::string("the frame's <own> text")));
    wanted.Property(23, Variant::Dbl(1.5));
    ASSERT_TRUE(ChannelsOf(session)->Item(1)->SetChannelParameters("", dtm::kProfibusDPV1ProtocolId,
                                                                  wanted.Render(nullptr)));
    platform::com::PropertyBag bag;
    ASSERT_TRUE(session.Save(bag));
    auto text = platform::com::PropertyBag::FromText(bag.ToText());
    auto other = LoadInto(text);
    for (int32_t i = 1; i <= ChannelsOf(session)->Count(); ++i)
        EXPECT_EQ(ParametersOf(*other, i), ParametersOf(session, i)) << i;
    // Stored again, they stay.
    platform::com::PropertyBag again;
    ASSERT_TRUE(other->Save(again));
    EXPECT_EQ(ParametersOf(*LoadInto(again), 1), ParametersOf(session, 1));
}

TEST_F(ChannelPersistence, WithoutUsableChannelParametersTheModelsOwnStay) {
    StartNew();
    const std::string own = ParametersOf(session, 1);
    platform::com::PropertyBag plain;
    ASSERT_TRUE(session.Save(plain));
    for (const auto& name : plain.Names()) EXPECT_FALSE(name.starts_with("Channel.")) << name;

    platform::rt::ProfibusChannelParameter ai2;
    ASSERT_TRUE(ai2.Load(ParametersOf(session, 3), nullptr));
    ai2.ChannelLocked(true);
    const struct {
        const char* name;
        std::string line;  // appended to the stored data set
        Variant value;     // or written as the entry's value
    } cases[] = {
        {"no entry", "", Variant()},
        {"unreadable", "Channel.AI1\t2\tnot a number\n", Variant()},
        {"not a document", "", Variant(std::string("<FDT"))},
        {"a number", "", Variant::Lng(5)},
        {"another channel's", "", Variant(ai2.Render(nullptr))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto bag = platform::com::PropertyBag::FromText(plain.ToText() + c.line);
        if (!c.value.IsEmpty()) bag.WriteProperty("Channel.AI1", c.value);
        auto other = LoadInto(bag);
        EXPECT_EQ(ParametersOf(*other, 1), own);
        EXPECT_EQ(ParametersOf(*other, 3), ParametersOf(session, 3));
    }
}

class ConnectionCheck : public DtmFixture {
protected:
    bool Check(const Variant& manufacturer, const std::string& name) {
        auto dtm = std::dynamic_pointer_cast<dtm::DTMMain>(session.Dtm());
        auto& commObj = CommObjOf();
        commObj.ConnectedManufacturerId(manufacturer);
        commObj.ConnectedDeviceName(name);
        bool cancel = false;
        dtm->ConnectionIsValidated(cancel);
        return cancel;
    }
    platform::rt::CommObj& CommObjOf() const;
};

platform::rt::CommObj& ConnectionCheck::CommObjOf() const { return *Ctx().CommService()->CommObj(); }

TEST_F(ConnectionCheck, AMatchingDeviceAsksNothing) {
    StartNew();
    EXPECT_FALSE(Check(Variant::Int(173), "RXD 218"));
    EXPECT_FALSE(Check(Variant::Lng(173), "  RXD 218   "));
    EXPECT_TRUE(platform::app::MessageBoxHandler::Instance().Records().empty());
}

TEST_F(ConnectionCheck, AnotherDeviceRaisesTheQuestion) {
    StartNew();
    auto& box = platform::app::MessageBoxHandler::Instance();
    struct Case {
        Variant manufacturer;
        std::string name;
        int32_t answer;
        bool cancel;
    };
    const Case cases[] = {{Variant::Int(12), "RXD 218", 7, false},
                          {Variant::Int(12), "RXD 218", 6, true},
                          {Variant::Int(173), "RXD 214", 6, true},
                          {Variant(), "", 7, false}};
    for (const auto& c : cases) {
        box.Clear();
        box.QueueAnswer(c.answer);
        EXPECT_EQ(Check(c.manufacturer, c.name), c.cancel) << c.name;
        ASSERT_EQ(box.Records().size(), 1u);
        EXPECT_EQ(box.Records()[0].buttons, 52);
        EXPECT_NE(box.Records()[0].prompt.find("Expected: manufacturer id 173, device RXD 218"), std::string::npos);
    }
}

// A connect through the frame's channel to the simulated device: the type
// question is asked only of an identity that was read; a device that does not
// give its identity ends the connect as no answer, without the question.
struct ConnectCase {
    const char* name;
    dtm::frame::SimulatedDevice::Model model;
    void (*prepare)(dtm::frame::SimulatedDevice& device);
    int32_t answer;  // to the type question, queued; 0: none
    bool asked;      // the type question came
    platform::rt::DtmCommService::ConnectFailure failure;  // None: online
};

void PrintTo(const ConnectCase& c, std::ostream* os) { *os << c.name; }

class ConnectToDevice : public ConnectionCheck, public ::testing::WithParamInterface<ConnectCase> {
protected:
    void SetUp() override {
        StartNew();
        ASSERT_TRUE(session.SetCommunication());
    }
    dtm::frame::SimulatedDevice device{GetParam().model};
    dtm::frame::DeviceChannel channel{*session.Communication(), device};
};

using Model = dtm::frame::SimulatedDevice::Model;
using Failure = platform::rt::DtmCommService::ConnectFailure;

TEST_P(ConnectToDevice, AsksOnlyOfAnIdentityThatWasRead) {
    const ConnectCase& c = GetParam();
    if (c.prepare) c.prepare(device);
    auto& box = platform::app::MessageBoxHandler::Instance();
    if (c.answer != 0) box.QueueAnswer(c.answer);
    auto& service = *Ctx().CommService();
    std::optional<bool> online;
    service.WhenOnline([&online](bool ok) { online = ok; });
    platform::app::EventLoop::Instance().RunUntilIdle();

    ASSERT_TRUE(online.has_value());
    EXPECT_EQ(*online, c.failure == Failure::None);
    EXPECT_EQ(service.IsOnline(), c.failure == Failure::None);
    EXPECT_EQ(service.LastConnectFailure(), c.failure);
    ASSERT_EQ(box.Records().size(), c.asked ? 1u : 0u);
    if (c.asked) {
        EXPECT_NE(box.Records()[0].prompt.find("(manufacturer id 173, device RXD 214)"), std::string::npos);
    }
    // A connection given up is released.
    const auto& requests = session.Communication()->Requests();
    EXPECT_EQ(requests.back().kind, c.failure == Failure::None ? "Transaction" : "Disconnect");
    EXPECT_FALSE(service.IsActive() && !service.IsOnline());
}

constexpr uint8_t kDeviceIdIndex = 27;  // DEVICE_ID of the device directory, slot 0

INSTANTIATE_TEST_SUITE_P(
    Cases, ConnectToDevice,
    ::testing::Values(
        ConnectCase{"SameType", Model::RXD218, nullptr, 0, false, Failure::None},
        ConnectCase{"AnotherTypeKeptAtTheQuestion", Model::RXD214, nullptr, 7, true, Failure::None},
        ConnectCase{"AnotherTypeCancelledAtTheQuestion", Model::RXD214, nullptr, 6, true, Failure::WrongType},
        ConnectCase{"ManufacturerIdUnanswered", Model::RXD214, [](auto& d) { d.ScheduleDrop(); }, 0, false,
                    Failure::NoAnswer},
        ConnectCase{"DeviceIdRefused", Model::RXD214,
                    [](auto& d) { d.ScheduleAddressFailure(0, kDeviceIdIndex, false, d.kInvalidIndex); }, 0, false,
                    Failure::NoAnswer}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace

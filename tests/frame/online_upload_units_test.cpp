// Units of the function blocks around device transfers: what an upload reads
// is taken as the device has it, and no transfer makes the model choose
// units of its own.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "OnlineFixture.h"
#include "core/services/ProjectHelpers.h"
#include "platform/rt/OnlineService.h"

namespace {

using dtm::testing::OnlineFixture;
using platform::Variant;

constexpr int16_t kGramPerSecond = 1318;
constexpr int16_t kKilogramPerSecond = 1322;
constexpr int16_t kGram = 1089;
constexpr int16_t kKilogram = 1088;

class OnlineUploadUnitsTest : public OnlineFixture {
protected:
    struct Expected {
        const char* path;
        const char* value;  // as the device holds it
        int16_t unit;       // the unit code the element shows it in; 0 for a unit element
    };

    std::map<Address, std::vector<uint8_t>> DeviceMemory() const {
        std::map<Address, std::vector<uint8_t>> memory;
        for (const auto& [slot, index] : device.Addresses()) memory[{slot, index}] = device.Bytes(slot, index);
        return memory;
    }
    // "slot/index" of every parameter whose bytes differ from `before`.
    std::vector<std::string> ChangedSince(const std::map<Address, std::vector<uint8_t>>& before) const {
        std::vector<std::string> changed;
        for (const auto& [address, bytes] : DeviceMemory())
            if (before.at(address) != bytes)
                changed.push_back(std::to_string(address.first) + "/" + std::to_string(address.second));
        return changed;
    }
};

TEST_F(OnlineUploadUnitsTest, AnUploadTakesTheDevicesUnitsAndValuesAndADownloadWritesThemBackUnchanged) {
    // The device's blocks use units other than the model's defaults; block 8
    // sums mass in grams, where the model starts with volume in m³. The
    // transducer block stays in kg/s.
    const Expected deviceValues[] = {
        {"FUNC/1/AI/OUT_SCALE/Unit", "1318", 0},
        {"FUNC/1/AI/OUT_SCALE/Up_Val", "500", kGramPerSecond},
        {"FUNC/1/AI/HI_HI_LIM", "400", kGramPerSecond},
        {"FUNC/1/AI/LO_LIM", "20", kGramPerSecond},
        {"FUNC/4/TOT/UNIT_TOT", "1089", 0},
        {"FUNC/4/TOT/TOTAL/Value", "7", kGram},
        {"FUNC/4/TOT/HI_LIM", "2000", kGram},
        {"FUNC/8/TOT/UNIT_TOT", "1089", 0},
        {"FUNC/8/TOT/CHANNEL", "277", 0},
        {"FUNC/8/TOT/HI_LIM", "3000", kGram},
    };
    for (const Expected& e : deviceValues) ASSERT_TRUE(device.SetValue(e.path, e.value)) << e.path;
    ASSERT_TRUE(device.SetValue("TRANS/1/FlowCori/MASS_FLOW_UNITS", std::to_string(kKilogramPerSecond)));
    ASSERT_TRUE(dtm::IsSameValue(Element("FUNC/4/TOT/UNIT_TOT").TransientValue, Variant::Int(kKilogram)));

    ASSERT_TRUE(session.Upload().ok);

    for (const Expected& e : deviceValues) {
        const auto& el = Element(e.path);
        EXPECT_TRUE(dtm::IsSameValue(el.TransientValue, el.DeviceValue)) << e.path;
        EXPECT_EQ(platform::com::CStr(el.TransientValue), e.value) << e.path;
        if (e.unit == 0) continue;
        EXPECT_EQ(el.nTransientUnit, e.unit) << e.path;
        EXPECT_EQ(el.nDeviceUnit, e.unit) << e.path;
    }
    EXPECT_EQ(platform::com::CLng(Params().Item("~/DataStatus")->TransientValue()), 1);  // online, nothing changed
    // Block 8 remembers grams for its mass channel; its volume unit stays m³.
    const Variant& remembered = Element("FUNC/8/TOT/UNIT_TOT").TransientValues;
    EXPECT_TRUE(dtm::IsSameValue(remembered.At(0), Variant::Int(1034)));
    EXPECT_TRUE(dtm::IsSameValue(remembered.At(1), Variant::Int(kGram)));

    // Nothing was changed, so a download writes back exactly what the device has.
    const auto before = DeviceMemory();
    ASSERT_TRUE(session.Download().ok);
    EXPECT_EQ(ChangedSince(before), std::vector<std::string>{});
    EXPECT_TRUE(platform::app::ErrorSink::Instance().Empty());

    // A channel the user then chooses brings its unit: temperature in K.
    auto channel = Params().Item("FUNC/1/AI/CHANNEL");
    Element("FUNC/1/AI/CHANNEL").TransientValue = Variant::Lng(285);
    Params().NotifyChange(channel, "");
    EXPECT_TRUE(dtm::IsSameValue(Element("FUNC/1/AI/OUT_SCALE/Unit").TransientValue, Variant::Int(1000)));
    EXPECT_EQ(Element("FUNC/1/AI/HI_HI_LIM").nTransientUnit, 1000);
}

TEST_F(OnlineUploadUnitsTest, AFailedTransferKeepsTheOutputUnitsTheUserChose) {
    // The user's own output unit of block 1 and totaliser unit of block 4.
    const std::pair<const char*, Variant> choices[] = {{"FUNC/1/AI/OUT_SCALE/Unit", Variant::Lng(kGramPerSecond)},
                                                       {"FUNC/4/TOT/UNIT_TOT", Variant::Lng(kGram)}};
    for (const auto& [path, unit] : choices) {
        auto el = Params().Item(path);
        Element(path).TransientValue = unit;
        Params().NotifyChange(el, "");
    }
    ASSERT_EQ(Element("FUNC/1/AI/HI_HI_LIM").nTransientUnit, kGramPerSecond);

    // Every element of the transfer hears of the failed connection.
    session.Communication()->connectErrorCode = 1;
    ASSERT_FALSE(session.Upload().ok);
    ASSERT_NE(Element("FUNC/1/AI/CHANNEL").StatusFlags() & 0xF0000, 0);

    for (const auto& [path, unit] : choices) EXPECT_TRUE(dtm::IsSameValue(Element(path).TransientValue, unit)) << path;
    EXPECT_EQ(Element("FUNC/1/AI/HI_HI_LIM").nTransientUnit, kGramPerSecond);
    EXPECT_EQ(Element("FUNC/4/TOT/HI_LIM").nTransientUnit, kGram);
}

}  // namespace

// The three forms of the slave parameter set and the channels that follow the slot codes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ErrorOf.h"
#include "core/SlaveSetModel.h"

namespace dtm {
namespace {

using platform::Variant;
using testing::SlaveSetModel;

const std::string kDefault = kDefaultSlaveBusParamSet;
// Digits 5 to 56 of the default set: everything between Slave_Para_Len and Cfg_Data_Len.
const std::string kHeaderBody = kDefault.substr(4, 52);
const std::string kTail = "00020002";
const std::string kAI = "42840805";
const std::string kTOT = "418485";

// A whole set around `cfg` with the right lengths.
std::string SetWith(const std::string& cfg, const std::string& tail = kTail) {
    auto hex4 = [](size_t v) {
        char text[20];  // room for any size_t, so that the compiler sees no truncation
        std::snprintf(text, sizeof text, "%04zX", v);
        return std::string(text);
    };
    const size_t bytes = (56 + 4 + cfg.size() + tail.size()) / 2;
    return hex4(bytes) + kHeaderBody + hex4(cfg.size() / 2 + 2) + cfg + tail;
}

class SlaveSet : public ::testing::Test {
protected:
    std::vector<int16_t> SlotCodes() {
        std::vector<int16_t> codes;
        for (int32_t slot = 1; slot <= kSlaveBusParamSlots; ++slot) codes.push_back(set_.SlotCode(slot));
        return codes;
    }
    void ExpectBytesMatchTheString() {
        EXPECT_TRUE(platform::com::Identical(set_.Value(kBusMasterConfigurationPart), HexToBytes(set_.WholeString())));
    }

    SlaveSetModel set_;
};

TEST_F(SlaveSet, DefaultSetMatchesTheDefaultSlotCodes) {
    EXPECT_EQ(SetWith(kAI + kAI + kAI + kTOT + kAI + kAI + kAI + kTOT), kDefault);
    EXPECT_EQ(SlotCodes(), (std::vector<int16_t>{4, 4, 4, 5, 4, 4, 4, 5}));
}

TEST_F(SlaveSet, EverySlotCodeInEverySlotSurvivesBuildThenParse) {
    for (int shift = 0; shift < 15; ++shift) {
        SCOPED_TRACE(shift);
        std::vector<int16_t> codes;
        for (int32_t slot = 1; slot <= kSlaveBusParamSlots; ++slot) {
            codes.push_back(static_cast<int16_t>((slot - 1 + shift) % 15 + 1));
            set_.El(SlaveBusParamSlotName(slot))->TransientValue = Variant::Int(codes.back());
        }
        BuildBusParamWholeString(set_.params());
        SetBusParamTotalLength(*set_.El(kSlaveBusParamSetWholeString));

        std::string cfg;
        for (int16_t code : codes) cfg += SlotCodeIdentifier(code);
        EXPECT_EQ(set_.WholeString(), SetWith(cfg));
        EXPECT_EQ(GetTailAfterCfgData(*set_.El(kSlaveBusParamSetWholeString)), kTail);

        for (int32_t slot = 1; slot <= kSlaveBusParamSlots; ++slot)
            set_.El(SlaveBusParamSlotName(slot))->TransientValue = Variant::Int(99);
        ParseBusParamWholeString(set_.params());
        EXPECT_EQ(SlotCodes(), codes);
    }
}

TEST_F(SlaveSet, FreePlaceInSlotTwoShortensTheSetAndMovesTheChannels) {
    set_.AddChannels();
    set_.Change(SlaveBusParamSlotName(2), Variant::Int(1));

    const std::string expected = "003D" + kHeaderBody + "001D" + kAI + "00" + kAI + kTOT + kAI + kAI + kAI + kTOT + kTail;
    EXPECT_EQ(set_.WholeString(), expected);
    EXPECT_EQ(set_.Value(kBusMasterConfigurationPart).Count(), 61);
    ExpectBytesMatchTheString();
    EXPECT_EQ(SlotCodes(), (std::vector<int16_t>{4, 1, 4, 5, 4, 4, 4, 5}));
    // The user's change, the rebuilt string, the bytes following it; the chain ends there.
    EXPECT_EQ(set_.model->notified,
              (std::vector<std::pair<std::string, int>>{{"SlaveBusParamSet_FB2", 1},
                                                        {kSlaveBusParamSetWholeString, 2},
                                                        {kBusMasterConfigurationPart, 3}}));

    UpdateChannelSlots(set_.ctx);
    const int16_t offsets[] = {0, 32, 0, 0, 40, 72, 80, 112, 120, 152, 160, 192, 200, 232, 240, 272};
    for (int32_t n = 1; n <= 16; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(set_.Channel(n).Active(), n != 3 && n != 4);
        EXPECT_EQ(set_.BitOffset(n), offsets[n - 1]);
    }
}

TEST_F(SlaveSet, SlotsWithoutInputDataLeaveTheirChannelsInactive) {
    set_.AddChannels();
    for (int32_t slot = 1; slot <= kSlaveBusParamSlots; ++slot) set_.Change(SlaveBusParamSlotName(slot), Variant::Int(13));
    std::string cfg;
    for (int i = 0; i < 8; ++i) cfg += "82808582";
    EXPECT_EQ(set_.WholeString(), SetWith(cfg));
    ExpectBytesMatchTheString();

    UpdateChannelSlots(set_.ctx);
    for (int32_t n = 1; n <= 16; ++n) {
        EXPECT_FALSE(set_.Channel(n).Active()) << n;
        EXPECT_EQ(set_.BitOffset(n), 0) << n;
    }
}

TEST_F(SlaveSet, OnlyInputSlotCodesPlaceChannels) {
    set_.AddChannels();
    // Output-only codes and a code outside the table send no input data.
    const int16_t codes[] = {14, 2, 15, 12, 0, 6, 1, 3};
    for (int32_t slot = 1; slot <= 8; ++slot)
        set_.El(SlaveBusParamSlotName(slot))->TransientValue = Variant::Int(codes[slot - 1]);
    UpdateChannelSlots(set_.ctx);
    const bool active[] = {false, true, false, true, false, true, false, true};
    const int16_t value[] = {0, 0, 0, 40, 0, 80, 0, 120};
    for (int32_t slot = 1; slot <= 8; ++slot) {
        SCOPED_TRACE(slot);
        EXPECT_EQ(set_.Channel(2 * slot - 1).Active(), active[slot - 1]);
        EXPECT_EQ(set_.Channel(2 * slot).Active(), active[slot - 1]);
        EXPECT_EQ(set_.BitOffset(2 * slot - 1), value[slot - 1]);
        EXPECT_EQ(set_.BitOffset(2 * slot), active[slot - 1] ? value[slot - 1] + 32 : 0);
    }
}

TEST_F(SlaveSet, WrittenWholeStringSetsTheSlotsItNames) {
    const std::string written = SetWith("94" + kTOT);
    set_.Change(kSlaveBusParamSetWholeString, Variant::Str(written));
    EXPECT_EQ(SlotCodes(), (std::vector<int16_t>{2, 5, 4, 5, 4, 4, 4, 5}));
    // The slot codes set by the parse do not rebuild the string.
    EXPECT_EQ(set_.WholeString(), written);
    ExpectBytesMatchTheString();
}

TEST_F(SlaveSet, LowerCaseWholeStringIsParsedAndWrittenBackInUpperCase) {
    const std::string upper = SetWith("C2808485839442848181");
    std::string lower = upper;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    set_.Change(kSlaveBusParamSetWholeString, Variant::Str(lower));
    EXPECT_EQ(SlotCodes(), (std::vector<int16_t>{10, 2, 8, 5, 4, 4, 4, 5}));
    EXPECT_EQ(set_.WholeString(), upper);
    ExpectBytesMatchTheString();
}

TEST_F(SlaveSet, LowerCaseWholeStringOfTheSetInForceEndsUpperCase) {
    const std::string inForce = SetWith("94" + kTOT);
    set_.Change(kSlaveBusParamSetWholeString, Variant::Str(inForce));
    std::string lower = inForce;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    set_.Change(kSlaveBusParamSetWholeString, Variant::Str(lower));
    EXPECT_EQ(set_.WholeString(), inForce);
    EXPECT_EQ(SlotCodes(), (std::vector<int16_t>{2, 5, 4, 5, 4, 4, 4, 5}));
    ExpectBytesMatchTheString();
}

TEST_F(SlaveSet, UnknownIdentifierStopsTheParse) {
    struct Case {
        const char* name;
        std::string cfg;
        std::vector<int16_t> codes;
    };
    const Case cases[] = {
        {"unknown lead byte", "94" "77" "94", {2, 4, 4, 5, 4, 4, 4, 5}},
        {"42 with another tail keeps the slot", "42000000" "94", {4, 2, 4, 5, 4, 4, 4, 5}},
        {"C1 with another tail is code 7", "C1000000" "00", {7, 1, 4, 5, 4, 4, 4, 5}},
        {"41 with any tail is code 5", "410000" "94", {5, 2, 4, 5, 4, 4, 4, 5}},
        {"82 with another tail keeps the slot", "82000000" "14", {4, 3, 4, 5, 4, 4, 4, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SlaveSetModel set;
        set.Change(kSlaveBusParamSetWholeString, Variant::Str(SetWith(c.cfg)));
        std::vector<int16_t> codes;
        for (int32_t slot = 1; slot <= 8; ++slot) codes.push_back(set.SlotCode(slot));
        EXPECT_EQ(codes, c.codes);
    }
}

TEST_F(SlaveSet, SlotChangeBelowTheFirstLevelDoesNotRebuild) {
    auto slot = set_.El(SlaveBusParamSlotName(3));
    slot->TransientValue = Variant::Int(1);
    OnBusParamChanged(slot, set_.params(), 2);
    EXPECT_EQ(set_.WholeString(), kDefault);
    OnBusParamChanged(slot, set_.params(), 1);
    EXPECT_EQ(set_.WholeString(), SetWith(kAI + kAI + "00" + kTOT + kAI + kAI + kAI + kTOT));
}

TEST_F(SlaveSet, UnusableWholeStringIsRefusedAndChangesNothing) {
    struct Case {
        const char* name;
        Variant value;
    };
    const Case cases[] = {
        {"odd number of digits", Variant::Str(kDefault + "0")},
        {"no hexadecimal digit", Variant::Str("G" + kDefault.substr(1))},
        {"shorter than the header", Variant::Str(kDefault.substr(0, 58))},
        {"configuration past the end", Variant::Str(kDefault.substr(0, 56) + "0040" + kAI)},
        {"configuration length below 2", Variant::Str(kDefault.substr(0, 56) + "0001" + kTail)},
        {"empty", Variant::Str("")},
        {"Empty", Variant()},
        {"Null", Variant::Null()},
    };
    set_.Change(SlaveBusParamSlotName(6), Variant::Int(9));
    const Variant bytes = set_.Value(kBusMasterConfigurationPart);
    const std::string whole = set_.WholeString();
    const auto codes = SlotCodes();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int32_t number = 0;
        std::string text;
        try {
            set_.Change(kSlaveBusParamSetWholeString, c.value);
        } catch (const platform::com::ComError& e) {
            number = e.number;
            text = e.description;
        }
        EXPECT_EQ(number, platform::com::errBadPropertyValue);
        EXPECT_NE(text.find("slave parameter set"), std::string::npos) << text;
        EXPECT_TRUE(platform::com::Identical(set_.Value(kBusMasterConfigurationPart), bytes));
        EXPECT_EQ(SlotCodes(), codes);
        EXPECT_EQ(set_.WholeString(), whole);  // back to the set in force
    }
}

TEST_F(SlaveSet, UnusableBytesAreRefusedAndASlotChangeStillRebuildsTheSet) {
    set_.Change(SlaveBusParamSlotName(6), Variant::Int(9));
    const Variant bytes = set_.Value(kBusMasterConfigurationPart);
    const std::string whole = set_.WholeString();
    for (const std::string& unusable : {kDefault.substr(0, 56) + "0040" + kAI, kDefault.substr(0, 58), std::string()}) {
        SCOPED_TRACE(unusable);
        int32_t number = 0;
        try {
            set_.Change(kBusMasterConfigurationPart, HexToBytes(unusable));
        } catch (const platform::com::ComError& e) {
            number = e.number;
        }
        EXPECT_EQ(number, platform::com::errBadPropertyValue);
        EXPECT_TRUE(platform::com::Identical(set_.Value(kBusMasterConfigurationPart), bytes));
        EXPECT_EQ(set_.WholeString(), whole);
        EXPECT_EQ(SlotCodes(), (std::vector<int16_t>{4, 4, 4, 5, 4, 9, 4, 5}));
    }
    set_.Change(SlaveBusParamSlotName(2), Variant::Int(1));
    EXPECT_EQ(set_.WholeString(), SetWith(kAI + "00" + kAI + kTOT + kAI + "42848581" + kAI + kTOT));
    ExpectBytesMatchTheString();
}

TEST_F(SlaveSet, ChangedBytesAreCarriedIntoTheStringAndTheSlots) {
    set_.Change(kBusMasterConfigurationPart, HexToBytes(SetWith(kTOT + kTOT)));
    EXPECT_EQ(set_.WholeString(), SetWith(kTOT + kTOT));
    EXPECT_EQ(SlotCodes(), (std::vector<int16_t>{5, 5, 4, 5, 4, 4, 4, 5}));
    // Writing the same value again reports nothing further.
    set_.model->notified.clear();
    set_.Change(kBusMasterConfigurationPart, HexToBytes(SetWith(kTOT + kTOT)));
    EXPECT_EQ(set_.model->notified.size(), 1u);
}

TEST_F(SlaveSet, WholeDataSetEndsWithTheThreeFormsInStep) {
    // A stored set whose three forms disagree: each element is handled once at
    // level 1, in collection order (bytes, slot codes, whole string). The bytes
    // set the slots they name; the slot codes then rebuild the set from all eight.
    set_.El(kBusMasterConfigurationPart)->TransientValue = HexToBytes(SetWith("94" + kTOT + "14"));
    set_.El(SlaveBusParamSlotName(5))->TransientValue = Variant::Int(13);
    for (const auto& el : set_.params()) set_.params().NotifyChange(el, "");
    EXPECT_EQ(set_.WholeString(), SetWith("94" + kTOT + "14" + kTOT + "82808582" + kAI + kAI + kTOT));
    ExpectBytesMatchTheString();
    EXPECT_EQ(SlotCodes(), (std::vector<int16_t>{2, 5, 3, 5, 13, 4, 4, 5}));
}

TEST(SlaveSetCheck, ReasonsForAnUnusableSet) {
    EXPECT_EQ(CheckSlaveBusParamSet(kDefault), "");
    EXPECT_EQ(CheckSlaveBusParamSet(kDefault + "0"), "an odd number of hexadecimal digits");
    EXPECT_EQ(CheckSlaveBusParamSet("0x" + kDefault.substr(2)), "no hexadecimal digit at position 2");
    EXPECT_EQ(CheckSlaveBusParamSet(std::string(2 * 65536, '0')), "longer than 65535 bytes");
}

}  // namespace
}  // namespace dtm

// The AI function block's elements and its change and refresh handlers.
#include "blocks/DataModel_P3_FB_AI.h"

#include <gtest/gtest.h>

#include "BlockTestSupport.h"
#include "RecordingModel.h"
#include "model/elements/DataModelHelpers.h"
#include "platform/com/Error.h"
#include "platform/rt/DTMContext.h"

namespace dtm {
namespace {

using platform::Variant;
using platform::com::Identical;
using testing::ElementAt;
using testing::Paths;

// The values expressed in the output unit, in the order they are given it.
const std::vector<std::string> kOutputUnitValues = {
    "OUT/Value", "OUT_SCALE/Up_Val", "OUT_SCALE/Lo_Val", "ALARM_HYS", "HI_HI_LIM", "HI_LIM", "LO_LIM",
    "LO_LO_LIM", "HI_HI_ALM/Value", "HI_ALM/Value", "LO_ALM/Value", "LO_LO_ALM/Value", "FSAFE_VALUE"};

// AI blocks 1, 2 and 3 of a model with its unit table.
class AIBlockModel : public ::testing::Test {
protected:
    void SetUp() override {
        ctx->InitContext(nullptr, model, nullptr, nullptr);
        for (int16_t n = 1; n <= 3; ++n) CreateAIBlockModel(n, ctx);
        for (const auto& el : params) CalcSlotIndex(*std::dynamic_pointer_cast<clsDataElement>(el));
    }

    std::shared_ptr<clsDataElement> At(int16_t n, const std::string& path) {
        return ElementAt(params, GetAIBlockPrefix(n) + path);
    }

    std::vector<std::string> InBlock(int16_t n, const std::vector<std::string>& paths) {
        std::vector<std::string> full;
        for (const auto& path : paths) full.push_back(GetAIBlockPrefix(n) + path);
        return full;
    }

    platform::P<platform::rt::DTMContext> ctx = platform::rt::DTMContext::Create();
    platform::P<testing::RecordingModel> model = std::make_shared<testing::RecordingModel>();
    platform::rt::Parameters& params = *ctx->Parameters();
};

TEST(AIBlockPrefix, IsFormedFromTheBlockNumber) {
    EXPECT_EQ(GetAIBlockPrefix(1), "FUNC/1/AI/");
    EXPECT_EQ(GetAIBlockPrefix(7), "FUNC/7/AI/");
    EXPECT_EQ(GetAIBlockPrefix(12), "FUNC/12/AI/");
}

TEST_F(AIBlockModel, CreatesEightyFiveElementsPerBlock) {
    ASSERT_EQ(params.Count(), 3 * 85);
    const auto paths = Paths(params);
    EXPECT_EQ(paths[0], "FUNC/1/AI/BlockIndex");
    EXPECT_EQ(paths[84], "FUNC/1/AI/OUT_UNIT_TEXT");
    EXPECT_EQ(paths[85], "FUNC/2/AI/BlockIndex");
    EXPECT_EQ(paths[254], "FUNC/3/AI/OUT_UNIT_TEXT");
}

// "OUT_SCALE/Unit" goes in front of "OUT/", "LIN_TYPE" in front of
// "OUT_SCALE/", and the limits, in creation order, in front of "CHANNEL".
TEST_F(AIBlockModel, UnitAndLinearisationStandAheadOfTheirValues) {
    const std::vector<std::vector<std::string>> runs = {
        {"BATCH/PHASE", "OUT_SCALE/Unit", "OUT/", "OUT/Value"},
        {"PV_SCALE/Lo_Val", "LIN_TYPE", "OUT_SCALE/", "OUT_SCALE/Up_Val", "OUT_SCALE/Lo_Val", "OUT_SCALE/DecPoint",
         "ALARM_HYS", "HI_HI_LIM", "HI_LIM", "LO_LIM", "LO_LO_LIM", "CHANNEL", "PV_FTIME", "FSAFE_TYPE"},
    };
    for (int16_t n : {1, 3})
        for (const auto& run : runs) testing::ExpectConsecutive(params, GetAIBlockPrefix(n), run);
}

TEST_F(AIBlockModel, RecordMembersCarryTheirHeadersRelativeIndex) {
    testing::ExpectRecordMembersFollowTheirHeaders(params, "FUNC/2/AI/");
}

TEST_F(AIBlockModel, BlockIndexHoldsTheBlockNumberOutsideTheBlock) {
    testing::ExpectBlockIndexOutsideTheBlock(params, GetAIBlockPrefix(2), 2);
}

TEST_F(AIBlockModel, RowsCarryTheirCodingModesAndDefaults) {
    const testing::ExpectedRow rows[] = {
        // Path                 Index Pos Type Len    Mode Flags Ctl Initial        InitUnit  Mask
        {"BLK_OBJ/",               16, -1,  0,  0,       1,   0, 1, Variant()},
        {"BLK_OBJ/Parent_Class",   16,  2,  2,  1,     144, 0x1, 3, Variant::Int(1)},
        {"MODE_BLK/Permitted",     22,  1,  2,  1,     144, 0x3, 4, Variant::Int(152)},
        {"BATCH/",                 24, -1,  0,  0,       3,   0, 1, Variant()},
        {"BATCH/BATCH_ID",         24,  0, 16,  4,     144,   0, 1, Variant::Int(0)},
        {"OUT/",                   26, -1,  0,  0,       1,   0, 1, Variant()},
        {"OUT/Value",              26,  0,  8,  4,     144, 0x3, 1, Variant::Dbl(0.0),   1342},
        {"OUT/StatusQuality",      26,  4,  2,  1,     144, 0x3, 3, Variant::Int(0),       0, 0xFC},
        {"OUT/StatusLimit",        26,  4,  2,  1,     144, 0x3, 3, Variant::Int(0),       0, 0x03},
        {"PV_SCALE/Up_Val",        27,  0,  8,  4,     144,   0, 1, Variant::Dbl(100.0), 1342},
        {"OUT_SCALE/Lo_Val",       28,  4,  8,  4,     144,   0, 1, Variant::Dbl(0.0),   1342},
        {"OUT_SCALE/Unit",         28,  8,  3,  2,     144,   0, 3, Variant::Lng(1342)},
        {"OUT_SCALE/DecPoint",     28, 10,  2,  1,     144,   0, 3, Variant::Int(3)},
        {"LIN_TYPE",               29,  0,  2,  1,     147,   0, 3, Variant::Int(0)},
        {"CHANNEL",                30,  0,  3,  2,     147,   0, 3, Variant()},
        {"PV_FTIME",               32,  0,  8,  4,     147,   0, 1, Variant::Dbl(0.0),    900},
        {"FSAFE_TYPE",             33,  0,  2,  1,     147,   0, 3, Variant::Int(1)},
        {"ALARM_HYS",              35,  0,  8,  4,     147,   0, 1, Variant::Int(1),     1342},
        {"LO_LO_LIM",              43,  0,  8,  4,     147,   0, 1, Variant::Dbl(0.0),   1342},
        {"LO_LO_ALM/TimeStamp",    49,  2, 12,  8,     144, 0x3, 1, Variant()},
        {"LO_LO_ALM/Value",        49, 12,  8,  4,     144, 0x3, 1, Variant(),           1342},
        {"SIMULATE/",              50, -1,  0,  0,       3,   0, 1, Variant()},
        {"SIMULATE/StatusQuality", 50,  0,  2,  1, 2097296,   0, 3, Variant::Int(0),       0, 0xFC},
        {"SIMULATE/StatusLimit",   50,  0,  2,  1, 2097296,   0, 3, Variant::Int(0),       0, 0x03},
        {"SIMULATE/Value",         50,  1,  8,  4, 2097296,   0, 1, Variant::Dbl(0.0),   1342},
        {"SIMULATE/Enabled",       50,  5,  2,  1, 2097296,   0, 3, Variant::Int(0)},
        {"OUT_UNIT_TEXT",          51,  0, 14, 16,     147,   0, 1, Variant::Str("")},
    };
    testing::ExpectRows(params, {GetAIBlockPrefix(2), pbfFunctionAIBlock, 2, 2}, rows);
    // The alarm summary's members are two-byte octet strings of zeros.
    EXPECT_EQ(At(2, "ALARM_SUM/Unreported")->InitialValue.ToBytes(), (std::vector<uint8_t>{0, 0}));
}

// The time constant's unit "s" is registered and its range is 0 to 100 s.
TEST_F(AIBlockModel, TimeConstantGetsItsUnitAndRange) {
    EXPECT_EQ(model->Units().PROFIBUSProfil3UnitString(900), "s");
    EXPECT_EQ(model->Units().PROFIBUSProfil3UnitHelpKey(900), "help");
    Variant lo, hi;
    ASSERT_TRUE(At(1, "PV_FTIME")->GetRange(0, lo, hi));
    EXPECT_TRUE(Identical(lo, Variant::Dbl(0.0)));
    EXPECT_TRUE(Identical(hi, Variant::Dbl(100.0)));
    EXPECT_FALSE(At(1, "PV_FTIME")->GetRange(1, lo, hi));
}

TEST(AIBlockBuild, NeedsAModelWithAUnitTable) {
    auto ctx = platform::rt::DTMContext::Create();
    try {
        CreateAIBlockModel(1, ctx);
        FAIL() << "no error raised";
    } catch (const platform::com::ComError& e) {
        EXPECT_EQ(e.number, 91);
    }
}

// Manual mode (16) clears flag 0x1 of the output members, any other mode sets
// it; the members are reported in order, the record header keeps its flags.
TEST_F(AIBlockModel, ActualModeDecidesTheOutputMembersStaticFlag) {
    const std::vector<std::string> members = {"OUT/Value", "OUT/StatusQuality", "OUT/StatusLimit"};
    auto header = At(1, "OUT/");
    header->StatusFlags(0x20000);
    auto mode = At(1, "MODE_BLK/Actual");
    const struct {
        Variant mode;
        int32_t memberFlags;
    } cases[] = {
        {Variant::Int(16), 0x2}, {Variant::Int(8), 0x3}, {Variant::Lng(16), 0x2},
        {Variant::Int(16), 0x2}, {Variant::Int(0), 0x3}, {Variant(), 0x3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(platform::com::CStr(c.mode));
        model->notified.clear();
        mode->TransientValue = c.mode;
        OnAIParameterChanged(1, mode, ctx);
        EXPECT_EQ(model->notified, InBlock(1, members));
        for (const auto& path : members) EXPECT_EQ(At(1, path)->StatusFlags(), c.memberFlags) << path;
        EXPECT_EQ(header->StatusFlags(), 0x20000);
        EXPECT_EQ(At(2, "OUT/Value")->StatusFlags(), 0x3);
    }
}

TEST_F(AIBlockModel, DecimalPointReportsTheValuesShownWithIt) {
    auto value = At(3, "OUT/Value");
    value->TransientValue = Variant::Sng(1.25f);
    OnAIParameterChanged(3, At(3, "OUT_SCALE/DecPoint"), ctx);
    EXPECT_EQ(model->notified, InBlock(3, {"OUT/Value", "ALARM_HYS", "HI_HI_LIM", "HI_LIM", "LO_LIM", "LO_LO_LIM",
                                           "OUT_SCALE/Up_Val", "OUT_SCALE/Lo_Val"}));
    EXPECT_TRUE(Identical(value->TransientValue, Variant::Sng(1.25f)));
    EXPECT_EQ(value->StatusFlags(), 0x3);
}

// Only the block's own mode and decimal point, named exactly, are handled.
TEST_F(AIBlockModel, OtherParameterChangesAreIgnored) {
    for (const char* name : {"FUNC/1/AI/TARGET_MODE", "FUNC/1/AI/OUT_SCALE/Unit", "FUNC/1/AI/Mode_Blk/Actual",
                             "FUNC/2/AI/MODE_BLK/Actual", "FUNC/2/AI/OUT_SCALE/DecPoint"}) {
        SCOPED_TRACE(name);
        auto changed = std::make_shared<clsDataElement>();
        changed->Name = name;
        changed->TransientValue = Variant::Int(16);
        OnAIParameterChanged(1, changed, ctx);
        EXPECT_TRUE(model->notified.empty());
        EXPECT_EQ(At(1, "OUT/Value")->StatusFlags(), 0x3);
    }
}

class AIOutputUnit : public AIBlockModel {
protected:
    // Every value of block n that follows the output unit, and the channel's
    // scale, hold 1 kg/s.
    void HoldKilogramPerSecond(int16_t n) {
        for (const auto& path : kOutputUnitValues) Hold(n, path);
        Hold(n, "PV_SCALE/Up_Val");
        Hold(n, "SIMULATE/Value");
    }
    void Hold(int16_t n, const std::string& path) {
        auto el = At(n, path);
        el->TransientValue = Variant::Sng(1.0f);
        el->nTransientUnit = 1322;
    }
    void ExpectHeld(int16_t n, const std::string& path) {
        auto el = At(n, path);
        EXPECT_TRUE(Identical(el->TransientValue, Variant::Sng(1.0f))) << n << path;
        EXPECT_EQ(el->nTransientUnit, 1322) << n << path;
    }
};

TEST_F(AIOutputUnit, AProfileUnitConvertsTheBlocksOutputValues) {
    HoldKilogramPerSecond(2);
    HoldKilogramPerSecond(3);
    auto unit = At(2, "OUT_SCALE/Unit");
    unit->TransientValue = Variant::Int(1324);

    OnAIUnitChanged(unit, params, false);

    EXPECT_EQ(model->notified, InBlock(2, kOutputUnitValues));
    for (const auto& path : kOutputUnitValues) {
        auto el = At(2, path);
        EXPECT_TRUE(Identical(el->TransientValue, Variant::Sng(3600.0f))) << path;
        EXPECT_EQ(el->nTransientUnit, 1324) << path;
        ExpectHeld(3, path);
    }
    // The channel's scale follows the transducer unit, not the output unit.
    ExpectHeld(2, "PV_SCALE/Up_Val");
    ExpectHeld(2, "SIMULATE/Value");
}

// The text unit gives each value the block's own constant unit 950 + n and
// keeps the number.
TEST_F(AIOutputUnit, TheTextUnitGivesTheBlocksOwnUnitCode) {
    HoldKilogramPerSecond(3);
    auto unit = At(3, "OUT_SCALE/Unit");
    unit->TransientValue = Variant::Lng(1995);

    OnAIUnitChanged(unit, params, false);

    EXPECT_EQ(model->notified, InBlock(3, kOutputUnitValues));
    for (const auto& path : kOutputUnitValues) {
        auto el = At(3, path);
        EXPECT_TRUE(Identical(el->TransientValue, Variant::Sng(1.0f))) << path;
        EXPECT_EQ(el->nTransientUnit, 953) << path;
    }
    ExpectHeld(3, "PV_SCALE/Up_Val");
}

TEST_F(AIOutputUnit, WithoutNoticesNothingIsReported) {
    HoldKilogramPerSecond(1);
    auto unit = At(1, "OUT_SCALE/Unit");
    unit->TransientValue = Variant::Int(1324);
    OnAIUnitChanged(unit, params, true);
    EXPECT_EQ(At(1, "HI_LIM")->nTransientUnit, 1324);

    auto text = At(1, "OUT_UNIT_TEXT");
    text->TransientValue = Variant::Str("bbl oil");
    OnAIUnitChanged(text, params, true);
    EXPECT_EQ(model->Units().PROFIBUSProfil3UnitString(951), "bbl oil");

    EXPECT_TRUE(model->notified.empty());
}

// The block's own unit text is kept under 950 + n; the list entry and unit
// 1995 show the label of the text parameter.
TEST_F(AIOutputUnit, TheUnitTextIsRegisteredForTheBlock) {
    auto unit = At(2, "OUT_SCALE/Unit");
    unit->ValueList = "1342:%|1995:text|1322:kg/s";
    auto text = At(2, "OUT_UNIT_TEXT");
    text->Label = "Own unit";
    text->TransientValue = Variant::Str("m³ oil");

    OnAIUnitChanged(text, params, false);

    EXPECT_EQ(model->Units().PROFIBUSProfil3UnitString(952), "m³ oil");
    EXPECT_EQ(model->Units().PROFIBUSProfil3UnitString(1995), "Own unit");
    EXPECT_EQ(model->Units().PROFIBUSProfil3UnitString(951), "");
    EXPECT_EQ(unit->ValueList, "1342:%|1995:Own unit|1322:kg/s");
    EXPECT_EQ(model->notified, std::vector<std::string>{"FUNC/2/AI/OUT_SCALE/Unit"});
}

TEST_F(AIOutputUnit, OtherElementsAreIgnored) {
    HoldKilogramPerSecond(1);
    for (const char* path : {"OUT_SCALE/DecPoint", "MODE_BLK/Actual", "PV_SCALE/Up_Val"}) {
        auto el = At(1, path);
        el->TransientValue = Variant::Int(1324);
        OnAIUnitChanged(el, params, false);
    }
    // Named like block 1's unit but belonging to block 2.
    auto stray = std::make_shared<clsDataElement>();
    stray->Name = "FUNC/1/AI/OUT_SCALE/Unit";
    stray->BlockNumber = 2;
    stray->TransientValue = Variant::Int(1324);
    OnAIUnitChanged(stray, params, false);

    EXPECT_TRUE(model->notified.empty());
    for (const auto& path : kOutputUnitValues) ExpectHeld(1, path);
}

// 950 + n is a 16-bit code: a block number that overflows it is an error,
// and the target keeps its unit.
TEST_F(AIOutputUnit, AnOverflowingTextUnitCodeIsRaised) {
    auto unit = std::make_shared<clsDataElement>();
    unit->BlockNumber = 32767;
    unit->TransientValue = Variant::Int(1995);
    auto target = At(1, "OUT/Value");
    target->nTransientUnit = 1342;
    try {
        SetElementUnit(params, unit, target, false);
        FAIL() << "no error raised";
    } catch (const platform::com::ComError& e) {
        EXPECT_EQ(e.number, 6);
    }
    EXPECT_EQ(target->nTransientUnit, 1342);
    EXPECT_TRUE(model->notified.empty());
}

}  // namespace
}  // namespace dtm

// The Flow Coriolis Transducer Block's elements and its unit handler.
#include "blocks/DataModel_P3_TB_Coriolis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "BlockTestSupport.h"
#include "ErrorOf.h"
#include "RecordingModel.h"
#include "blocks/DataModel_DevDir.h"
#include "blocks/DataModel_P3_FB_AI.h"
#include "blocks/DataModel_P3_FB_TOT.h"
#include "model/elements/DataModelHelpers.h"
#include "platform/rt/DTMContext.h"

namespace dtm {
namespace {

using platform::Variant;
using platform::com::Identical;
using testing::ElementAt;
using testing::Paths;

constexpr const char* kTB1 = "TRANS/1/FlowCori/";

class TransducerBlockModel : public ::testing::Test {
protected:
    void SetUp() override { ctx->InitContext(nullptr, model, nullptr, nullptr); }

    void CalcSlotIndexes() {
        for (const auto& el : params) CalcSlotIndex(*std::dynamic_pointer_cast<clsDataElement>(el));
    }

    platform::P<platform::rt::DTMContext> ctx = platform::rt::DTMContext::Create();
    platform::P<testing::RecordingModel> model = std::make_shared<testing::RecordingModel>();
    platform::rt::Parameters& params = *ctx->Parameters();
};

TEST(TransducerBlockPrefix, IsFormedFromTheBlockNumber) {
    EXPECT_EQ(GetTBBlockPrefix(1), "TRANS/1/FlowCori/");
    EXPECT_EQ(GetTBBlockPrefix(12), "TRANS/12/FlowCori/");
    EXPECT_EQ(GetTBBlockPrefix(-3), "TRANS/-3/FlowCori/");
}

TEST_F(TransducerBlockModel, CreatesFiftyFiveElementsPerBlock) {
    CreateTBBlockModel(1, ctx);
    CreateTBBlockModel(2, ctx);
    ASSERT_EQ(params.Count(), 110);
    const auto paths = Paths(params);
    EXPECT_EQ(paths[0], "TRANS/1/FlowCori/BlockIndex");
    EXPECT_EQ(paths[54], "TRANS/1/FlowCori/TEMPERATURE_HI_LIMIT");
    EXPECT_EQ(paths[55], "TRANS/2/FlowCori/BlockIndex");
    EXPECT_EQ(paths[109], "TRANS/2/FlowCori/TEMPERATURE_HI_LIMIT");
}

// MEASUREMENT_MODE goes in front of LOW_FLOW_CUTOFF; FLOW_DIRECTION and the
// unit parameters each right behind the one before.
TEST_F(TransducerBlockModel, ModeAndUnitParametersRunAheadOfTheValues) {
    CreateTBBlockModel(1, ctx);
    CreateTBBlockModel(2, ctx);
    const std::vector<std::string> expected = {
        "CALIBR_FACTOR", "MEASUREMENT_MODE", "FLOW_DIRECTION", "ZERO_POINT_UNIT", "NOMINAL_SIZE_UNITS",
        "MASS_FLOW_UNITS", "DENSITY_UNITS", "TEMPERATURE_UNITS", "LOW_FLOW_CUTOFF", "ZERO_POINT",
        "ZERO_POINT_ADJUST", "NOMINAL_SIZE", "MASS_FLOW/", "MASS_FLOW/Value", "MASS_FLOW/Status",
        "MASS_FLOW_LO_LIMIT"};
    for (const char* prefix : {"TRANS/1/FlowCori/", "TRANS/2/FlowCori/"})
        testing::ExpectConsecutive(params, prefix, expected);
}

TEST_F(TransducerBlockModel, RecordMembersCarryTheirHeadersRelativeIndex) {
    CreateTBBlockModel(1, ctx);
    testing::ExpectRecordMembersFollowTheirHeaders(params, kTB1);
}

TEST_F(TransducerBlockModel, BlockIndexHoldsTheBlockNumberOutsideTheBlock) {
    CreateTBBlockModel(1, ctx);
    CalcSlotIndexes();
    testing::ExpectBlockIndexOutsideTheBlock(params, kTB1, 1);
}

// Every block's elements lie in slot 9, whatever the block number.
TEST_F(TransducerBlockModel, RowsCarryTheirCodingModesAndDefaults) {
    CreateTBBlockModel(2, ctx);
    CalcSlotIndexes();
    const testing::ExpectedRow rows[] = {
        // Path               Index Pos Type Len Mode Flags Ctl Initial        InitUnit
        {"BLK_OBJ/",             16, -1,  0,  0,   1,   0, 1, Variant()},
        {"BLK_OBJ/Class",        16,  3,  2,  1, 144, 0x1, 3, Variant::Int(3)},
        {"BLK_OBJ/Profile",      16, 10,  3,  2, 144, 0x1, 3, Variant::Int(16386)},
        {"BLK_OBJ/DD_Reference", 16,  4,  7,  4, 144, 0x1, 1, Variant()},
        {"ST_REV",               17,  0,  3,  2, 145, 0x1, 1, Variant::Int(0)},
        {"TAG_DESC",             18,  0, 14, 32, 147,   0, 1, Variant::Str("")},
        {"MODE_BLK/Permitted",   22,  1,  2,  1, 144, 0x3, 4, Variant::Int(8)},
        {"ALARM_SUM/Disabled",   23,  6,  3,  2, 144, 0x3, 4, Variant::Int(0)},
        {"CALIBR_FACTOR",        24,  0,  8,  4, 147,   0, 1, Variant::Dbl(0.0)},
        {"MEASUREMENT_MODE",     26,  0,  2,  1, 147,   0, 3, Variant::Int(0)},
        {"FLOW_DIRECTION",       27,  0,  2,  1, 147,   0, 3, Variant::Int(0)},
        {"ZERO_POINT",           28,  0,  8,  4, 147,   0, 1, Variant::Dbl(0.0)},
        {"ZERO_POINT_UNIT",      30,  0,  3,  2, 147,   0, 3, Variant::Int(1062)},
        {"NOMINAL_SIZE",         31,  0,  8,  4, 147,   0, 1, Variant::Dbl(0.0),   1013},
        {"MASS_FLOW/",           37, -1,  0,  0,   1,   0, 1, Variant()},
        {"MASS_FLOW/Value",      37,  0,  8,  4, 144, 0x3, 1, Variant::Dbl(0.0),   1322},
        {"MASS_FLOW/Status",     37,  4,  2,  1, 144, 0x3, 3, Variant::Int(0)},
        {"MASS_FLOW_UNITS",      38,  0,  3,  2, 147,   0, 3, Variant::Int(1322)},
        {"DENSITY_HI_LIMIT",     44,  0,  8,  4, 145, 0x1, 1, Variant::Dbl(100.0), 1103},
        {"TEMPERATURE_UNITS",    46,  0,  3,  2, 147,   0, 3, Variant::Int(1000)},
        {"TEMPERATURE_HI_LIMIT", 48,  0,  8,  4, 145, 0x1, 1, Variant::Dbl(100.0), 1000},
    };
    testing::ExpectRows(params, {"TRANS/2/FlowCori/", pbfTransducerBlock, 2, 9}, rows);
}

// A model with the device directory, transducer block 1 and eight function
// blocks (4 and 8 totalisers). The AI blocks read these channels:
// 1 mass flow, 2 density, 3 mass flow (as a Long), 5 temperature, 6 none,
// 7 mass flow.
class TransducerUnitChange : public TransducerBlockModel {
protected:
    void SetUp() override {
        TransducerBlockModel::SetUp();
        CreateDevDirModel(params);
        CreateTBBlockModel(1, ctx);
        for (int16_t n = 1; n <= 8; ++n) {
            if (n == 4 || n == 8) {
                CreateTOTBlockModel(n, Variant(), ctx);
            } else {
                CreateAIBlockModel(n, ctx);
            }
        }
        const std::pair<int16_t, Variant> channels[] = {
            {1, Variant::Int(277)}, {2, Variant::Int(281)}, {3, Variant::Lng(277)},
            {5, Variant::Int(285)}, {6, Variant()},         {7, Variant::Int(277)}};
        for (const auto& [n, channel] : channels) ElementAt(params, GetAIBlockPrefix(n) + "CHANNEL")->TransientValue = channel;
    }

    // Gives `path` a transient value in `unit`.
    void Hold(const std::string& path, float value, int16_t unit) {
        auto el = ElementAt(params, path);
        el->TransientValue = Variant::Sng(value);
        el->nTransientUnit = unit;
    }
};

const char* const kTransducerValueSuffixes[] = {"/Value", "_LO_LIMIT", "_HI_LIMIT"};
const char* const kAIScaleValues[] = {"PV_SCALE/Lo_Val", "PV_SCALE/Up_Val", "SIMULATE/Value"};

struct UnitChangeCase {
    const char* quantity;  // MASS_FLOW, DENSITY, TEMPERATURE
    int16_t oldUnit, newUnit;
    float oldValue, newValue;
    std::vector<int16_t> aiBlocks;  // AI blocks reading this quantity
};

// The measured value and its limits are converted and reported in order, then
// the scales of exactly those AI blocks whose CHANNEL reads the quantity.
TEST_F(TransducerUnitChange, ConvertsTheBlockAndTheAIBlocksOfItsChannel) {
    const UnitChangeCase cases[] = {
        {"MASS_FLOW", 1322, 1324, 1.0f, 3600.0f, {1, 3, 7}},
        {"DENSITY", 1103, 1097, 2.0f, 2000.0f, {2}},
        {"TEMPERATURE", 1000, 1001, 300.0f, 26.85f, {5}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.quantity);
        model->notified.clear();
        const std::string tbValue = std::string(kTB1) + c.quantity;
        Hold(tbValue + "/Value", c.oldValue, c.oldUnit);
        Hold(tbValue + "_LO_LIMIT", c.oldValue, c.oldUnit);
        Hold(tbValue + "_HI_LIMIT", c.oldValue, c.oldUnit);
        for (int16_t n : {1, 2, 3, 5, 6, 7})
            for (const char* path : kAIScaleValues) Hold(GetAIBlockPrefix(n) + path, c.oldValue, c.oldUnit);
        auto unit = ElementAt(params, tbValue + "_UNITS");
        unit->TransientValue = Variant::Int(c.newUnit);

        OnTBUnitChanged(1, unit, ctx);

        std::vector<std::string> expectedNotices;
        for (const char* suffix : kTransducerValueSuffixes) expectedNotices.push_back(tbValue + suffix);
        for (int16_t n : c.aiBlocks)
            for (const char* path : kAIScaleValues) expectedNotices.push_back(GetAIBlockPrefix(n) + path);
        EXPECT_EQ(model->notified, expectedNotices);

        for (const auto& path : expectedNotices) {
            auto el = ElementAt(params, path);
            EXPECT_TRUE(Identical(el->TransientValue, Variant::Sng(c.newValue))) << path;
            EXPECT_EQ(el->nTransientUnit, c.newUnit) << path;
        }
        for (int16_t n : {1, 2, 3, 5, 6, 7}) {
            if (std::find(c.aiBlocks.begin(), c.aiBlocks.end(), n) != c.aiBlocks.end()) continue;
            auto el = ElementAt(params, GetAIBlockPrefix(n) + "PV_SCALE/Up_Val");
            EXPECT_TRUE(Identical(el->TransientValue, Variant::Sng(c.oldValue))) << n;
            EXPECT_EQ(el->nTransientUnit, c.oldUnit) << n;
        }
    }
}

// Only the block's own three measured-value units, named exactly, convert.
TEST_F(TransducerUnitChange, OtherElementsConvertNothing) {
    for (const char* name : {"TRANS/1/FlowCori/ZERO_POINT_UNIT", "TRANS/1/FlowCori/NOMINAL_SIZE_UNITS",
                             "TRANS/1/FlowCori/MASS_FLOW/Value", "TRANS/1/FlowCori/Mass_Flow_Units",
                             "TRANS/2/FlowCori/MASS_FLOW_UNITS", "FUNC/1/AI/OUT_SCALE/Unit"}) {
        SCOPED_TRACE(name);
        auto changed = std::make_shared<clsDataElement>();
        changed->Name = name;
        changed->TransientValue = Variant::Int(1324);
        OnTBUnitChanged(1, changed, ctx);
        EXPECT_TRUE(model->notified.empty());
        EXPECT_EQ(ElementAt(params, "TRANS/1/FlowCori/MASS_FLOW/Value")->nTransientUnit, 0);
    }
}

// The number of function blocks is the directory's initial value, not its current one.
TEST_F(TransducerUnitChange, NoFunctionBlocksInTheDirectoryLeaveTheAIBlocksAlone) {
    auto numberFB = ElementAt(params, "DEVICE_DIR/Comp_List_Dir_Entries/Number_FB");
    numberFB->InitialValue = Variant::Int(0);
    numberFB->TransientValue = Variant::Int(8);
    auto unit = ElementAt(params, "TRANS/1/FlowCori/MASS_FLOW_UNITS");
    unit->TransientValue = Variant::Int(1324);

    OnTBUnitChanged(1, unit, ctx);

    EXPECT_EQ(model->notified, (std::vector<std::string>{"TRANS/1/FlowCori/MASS_FLOW/Value",
                                                         "TRANS/1/FlowCori/MASS_FLOW_LO_LIMIT",
                                                         "TRANS/1/FlowCori/MASS_FLOW_HI_LIMIT"}));
}

// Whether an element is one of the block's units is decided before the data
// model is needed: other changes go through a context without a model.
TEST(TransducerUnitHandler, IgnoresOtherElementsWithoutAModel) {
    auto ctx = platform::rt::DTMContext::Create();
    CreateTBBlockModel(1, ctx);
    auto& params = *ctx->Parameters();
    for (const char* path : {"ZERO_POINT_UNIT", "MASS_FLOW/Value", "TEMPERATURE_HI_LIMIT"}) {
        EXPECT_EQ(ErrorOf([&] { OnTBUnitChanged(1, ElementAt(params, std::string(kTB1) + path), ctx); }), 0)
            << path;
    }
    // A unit does need it.
    EXPECT_EQ(ErrorOf([&] { OnTBUnitChanged(1, ElementAt(params, std::string(kTB1) + "MASS_FLOW_UNITS"), ctx); }),
              platform::com::errObjectNotSet);
}

}  // namespace
}  // namespace dtm

// The Totaliser function block's elements and its unit handler.
#include "blocks/DataModel_P3_FB_TOT.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "BlockTestSupport.h"
#include "RecordingModel.h"
#include "model/elements/DataModelHelpers.h"
#include "model/elements/clsDataModel.h"
#include "model/elements/clsPROFIBUSProfil3Units.h"
#include "platform/rt/DTMContext.h"

namespace dtm {
namespace {

using platform::Variant;
using platform::com::Identical;
using platform::com::VarType;
using testing::ElementAt;
using testing::Paths;

using testing::RecordingModel;

// The values expressed in the totaliser unit.
const std::vector<std::string> kUnitValues = {
    "TOTAL/Value", "PRESET_TOT", "ALARM_HYS", "HI_HI_LIM", "HI_LIM", "LO_LIM", "LO_LO_LIM",
    "HI_HI_ALM/Value", "HI_ALM/Value", "LO_ALM/Value", "LO_LO_ALM/Value"};

class TotaliserBlockModel : public ::testing::Test {
protected:
    void SetUp() override { ctx->InitContext(nullptr, model, nullptr, nullptr); }

    void BuildBlocks4And8(const Variant& blockUnit = Variant()) {
        CreateTOTBlockModel(4, blockUnit, ctx);
        CreateTOTBlockModel(8, blockUnit, ctx);
        for (const auto& el : params) CalcSlotIndex(*std::dynamic_pointer_cast<clsDataElement>(el));
    }

    platform::P<platform::rt::DTMContext> ctx = platform::rt::DTMContext::Create();
    platform::P<RecordingModel> model = std::make_shared<RecordingModel>();
    platform::rt::Parameters& params = *ctx->Parameters();
};

TEST(TotaliserBlockPrefix, IsFormedFromTheBlockNumber) {
    EXPECT_EQ(GetTOTBlockPrefix(4), "FUNC/4/TOT/");
    EXPECT_EQ(GetTOTBlockPrefix(12), "FUNC/12/TOT/");
    EXPECT_EQ(GetTOTBlockPrefix(-3), "FUNC/-3/TOT/");
}

TEST_F(TotaliserBlockModel, CreatesSeventyTwoElementsPerBlock) {
    BuildBlocks4And8();
    ASSERT_EQ(params.Count(), 144);
    const auto paths = Paths(params);
    EXPECT_EQ(paths[0], "FUNC/4/TOT/BlockIndex");
    EXPECT_EQ(paths[71], "FUNC/4/TOT/LO_LO_ALM/Value");
    EXPECT_EQ(paths[72], "FUNC/8/TOT/BlockIndex");
    EXPECT_EQ(paths[143], "FUNC/8/TOT/LO_LO_ALM/Value");
}

// ALARM_HYS goes in front of FAIL_TOT, HI_HI_LIM in front of ALARM_HYS,
// HI_LIM in front of HI_HI_LIM and LO_LIM in front of PRESET_TOT.
TEST_F(TotaliserBlockModel, LimitsArePlacedAheadOfTheirAnchors) {
    BuildBlocks4And8();
    const std::vector<std::string> expected = {
        "UNIT_TOT", "CHANNEL", "SET_TOT", "MODE_TOT", "HI_LIM", "HI_HI_LIM", "ALARM_HYS",
        "FAIL_TOT", "LO_LIM", "PRESET_TOT", "LO_LO_LIM", "HI_HI_ALM/"};
    for (const char* prefix : {"FUNC/4/TOT/", "FUNC/8/TOT/"})
        testing::ExpectConsecutive(params, prefix, expected);
}

TEST_F(TotaliserBlockModel, RecordMembersCarryTheirHeadersRelativeIndex) {
    BuildBlocks4And8();
    testing::ExpectRecordMembersFollowTheirHeaders(params, "FUNC/4/TOT/");
    testing::ExpectRecordMembersFollowTheirHeaders(params, "FUNC/8/TOT/");
}

TEST_F(TotaliserBlockModel, BlockIndexHoldsTheBlockNumberOutsideTheBlock) {
    BuildBlocks4And8();
    testing::ExpectBlockIndexOutsideTheBlock(params, "FUNC/8/TOT/", 8);
}

TEST_F(TotaliserBlockModel, RowsCarryTheirCodingModesAndDefaults) {
    BuildBlocks4And8();
    const testing::ExpectedRow rows[] = {
        // Path               Index Pos Type Len Mode Flags Ctl Initial              InitUnit  Mask
        {"BLK_OBJ/",             16, -1,  0, 0, 145,   0, 1, Variant()},
        {"BLK_OBJ/Parent_Class", 16,  2,  2, 1, 144, 0x1, 3, Variant::Int(5)},
        {"MODE_BLK/Permitted",   22,  1,  2, 1, 144, 0x3, 4, Variant::Int(152)},
        {"BATCH/",               24, -1,  0, 0, 147,   0, 1, Variant()},
        {"BATCH/BATCH_ID",       24,  0, 16, 4, 144,   0, 1, Variant::Int(0)},
        {"TOTAL/",               26, -1,  0, 0, 145,   0, 1, Variant()},
        {"TOTAL/Value",          26,  0,  8, 4, 144, 0x3, 1, Variant::Int(0),             1038},
        {"TOTAL/StatusQuality",  26,  4,  2, 1, 144, 0x3, 3, Variant::Int(0),               0, 0xFC},
        {"TOTAL/StatusLimit",    26,  4,  2, 1, 144, 0x3, 3, Variant::Int(0),               0, 0x03},
        {"UNIT_TOT",             27,  0,  3, 2, 147,   0, 3, Variant::Int(1038)},
        {"CHANNEL",              28,  0,  3, 2, 147,   0, 3, Variant::Int(273)},
        {"ALARM_HYS",            33,  0,  8, 4, 147,   0, 1, Variant::Int(0),             1038},
        {"HI_HI_LIM",            34,  0,  8, 4, 147,   0, 1, Variant::Dbl(3.402823E+38),  1038},
        {"LO_LIM",               36,  0,  8, 4, 147,   0, 1, Variant::Dbl(-3.402823E+38), 1038},
        {"LO_LO_ALM/",           41, -1,  0, 0,   1,   0, 1, Variant()},
        {"LO_LO_ALM/TimeStamp",  41,  2, 12, 8, 144, 0x3, 1, Variant()},
        {"LO_LO_ALM/Value",      41, 12,  8, 4, 144, 0x3, 1, Variant(),                   1038},
    };
    testing::ExpectRows(params, {"FUNC/8/TOT/", pbfFunctionTOTBlock, 8, 8}, rows);
    // The alarm summary's members are two-byte octet strings of zeros.
    EXPECT_EQ(ElementAt(params, "FUNC/8/TOT/ALARM_SUM/Current")->InitialValue.ToBytes(),
              (std::vector<uint8_t>{0, 0}));
}

TEST_F(TotaliserBlockModel, AGivenBlockUnitBecomesTheInitialUnitOfTheValuesOnly) {
    BuildBlocks4And8(Variant::Int(1034));
    for (const auto& item : params) {
        auto el = std::dynamic_pointer_cast<clsDataElement>(item);
        const std::string path = el->Name.substr(std::string("FUNC/4/TOT/").size());
        const bool isValue = std::find(kUnitValues.begin(), kUnitValues.end(), path) != kUnitValues.end();
        EXPECT_EQ(el->nInitUnit, isValue ? 1034 : 0) << el->Name;
    }
    EXPECT_TRUE(Identical(ElementAt(params, "FUNC/4/TOT/UNIT_TOT")->InitialValue, Variant::Int(1038)));
}

// Litres to cubic metres: each value of block 4 is converted, reported once,
// in order; block 8 keeps its values.
TEST_F(TotaliserBlockModel, AUnitChangeConvertsAndReportsTheBlocksValues) {
    BuildBlocks4And8();
    for (const char* prefix : {"FUNC/4/TOT/", "FUNC/8/TOT/"}) {
        for (const auto& path : kUnitValues) {
            auto el = ElementAt(params, prefix + path);
            el->TransientValue = Variant::Sng(2000.0f);
            el->nTransientUnit = 1038;
        }
    }
    auto unit = ElementAt(params, "FUNC/4/TOT/UNIT_TOT");
    unit->TransientValue = Variant::Int(1034);

    OnTOTUnitChanged(4, unit, ctx);

    std::vector<std::string> expectedNotices;
    for (const auto& path : kUnitValues) {
        SCOPED_TRACE(path);
        auto converted = ElementAt(params, "FUNC/4/TOT/" + path);
        EXPECT_TRUE(Identical(converted->TransientValue, Variant::Sng(2.0f)));
        EXPECT_EQ(converted->nTransientUnit, 1034);
        auto untouched = ElementAt(params, "FUNC/8/TOT/" + path);
        EXPECT_TRUE(Identical(untouched->TransientValue, Variant::Sng(2000.0f)));
        EXPECT_EQ(untouched->nTransientUnit, 1038);
        expectedNotices.push_back("FUNC/4/TOT/" + path);
    }
    EXPECT_EQ(model->notified, expectedNotices);
}

// Only the block's own UNIT_TOT, named exactly, is the unit element.
TEST_F(TotaliserBlockModel, OtherElementsLeaveTheValuesAlone) {
    BuildBlocks4And8();
    auto total = ElementAt(params, "FUNC/4/TOT/TOTAL/Value");
    total->TransientValue = Variant::Sng(2000.0f);
    total->nTransientUnit = 1038;

    for (const char* name : {"FUNC/4/TOT/CHANNEL", "FUNC/4/TOT/HI_LIM", "FUNC/4/TOT/Unit_Tot",
                             "FUNC/8/TOT/UNIT_TOT"}) {
        SCOPED_TRACE(name);
        auto changed = std::make_shared<clsDataElement>();
        changed->Name = name;
        changed->TransientValue = Variant::Int(1034);
        OnTOTUnitChanged(4, changed, ctx);
        EXPECT_TRUE(Identical(total->TransientValue, Variant::Sng(2000.0f)));
        EXPECT_EQ(total->nTransientUnit, 1038);
        EXPECT_TRUE(model->notified.empty());
    }
}

// A change the handler does not react to needs nothing from the context
// beyond the collection: no data model is looked up for it.
TEST(TotaliserUnitHandler, IgnoresOtherElementsWithoutAModel) {
    auto ctx = platform::rt::DTMContext::Create();
    CreateTOTBlockModel(4, Variant(), ctx);
    auto channel = ElementAt(*ctx->Parameters(), "FUNC/4/TOT/CHANNEL");
    EXPECT_NO_THROW(OnTOTUnitChanged(4, channel, ctx));
}

}  // namespace
}  // namespace dtm

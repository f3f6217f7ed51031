// The converter's own parameters, defaults and handlers of the transducer block.
#include <gtest/gtest.h>

#include "BlockTestSupport.h"
#include "ErrorOf.h"
#include "ManuSpecFixture.h"
#include "RecordingModel.h"
#include "blocks/DataModel_ManuSpec.h"
#include "blocks/DataModel_P3_TB_Coriolis.h"
#include "model/elements/clsPROFIBUSProfil3Units.h"

namespace dtm {
namespace {

using platform::Variant;
using platform::com::Identical;
using testing::ElementAt;

constexpr const char* kBlanks32 = "                                ";

class TransducerManuSpec : public testing::ManuSpecModel {};

TEST_F(TransducerManuSpec, RowsCarryTheirAddressCodingAndInitialValues) {
    Build();
    const Variant zeros4 = Variant::ByteArray({0, 0, 0, 0});
    const testing::ExpectedRow rows[] = {
        // Path                                  Index Pos Type Len Mode Flags Ctl Initial                    InitUnit
        {"MANU/VOLUME_FLOW/",                      33, -1,  0, 0,   1,   0, 1, Variant()},
        {"MANU/VOLUME_FLOW/Value",                 33,  0,  8, 4, 144, 0x3, 1, Variant::Dbl(0.0),          1349},
        {"MANU/VOLUME_FLOW/Status",                33,  4,  2, 1, 144, 0x3, 3, Variant::Int(0)},
        {"MANU/VOLUME_FLOW_UNITS",                 34,  0,  3, 2, 147,   0, 3, Variant::Int(1349)},
        {"MANU/VOLUME_FLOW_HI_LIMIT",              36,  0,  8, 4, 145, 0x1, 1, Variant::Dbl(2.4),          1349},
        {"MANU/VOLUME_CONCENTRATION/Status",       69,  4,  2, 1, 144, 0x3, 3, Variant::Int(3)},
        {"MANU/VOLUME_CONCENTRATION_UNITS",        70,  0,  3, 2, 145, 0x1, 3, Variant::Int(1562)},
        {"MANU/MASS_CONCENTRATION_HI_LIMIT",       76,  0,  8, 4, 145, 0x1, 1, Variant::Dbl(100.0),        1343},
        {"MANU/DEG_BAUME/Value",                   77,  0,  8, 4, 144, 0x3, 1, Variant::Dbl(0.0),          1111},
        {"MANU/SOLID_FLOW_UNITS",                  82,  0,  3, 2, 147,   0, 3, Variant::Int(1322)},
        {"MANU/SOLID_FLOW_LO_LIMIT",               83,  0,  8, 4, 145, 0x1, 1, Variant::Dbl(-0.3333333),   1322},
        {"MANU/_converter_status",                 99,  0,  1, 4, 145, 0x3, 4, zeros4},
        {"MANU/_system_state",                    100,  0,  2, 1, 145, 0x3, 3, Variant::Int(3)},
        {"MANU/_low_flow_threshold",              130,  0,  8, 4, 147,   0, 1, Variant::Int(1),            903},
        {"MANU/_zero_flow_add_offset",            142,  0,  8, 4, 147,   0, 1, Variant::Dbl(0.0),          904},
        {"MANU/_meter_series",                    170,  0,  2, 1, 145, 0x1, 3, Variant::Int(0x45)},
        {"MANU/_transducer_type",                 177,  0,  2, 1, 145, 0x1, 3, Variant::Int(1)},
        {"MANU/_resets",                          235,  0,  2, 1, 151,   0, 3, Variant::Int(1)},
    };
    testing::ExpectRows(params, {kTB1, pbfTransducerBlock, 1, 9}, rows);

    const std::pair<const char*, int32_t> userLevels[] = {
        {"MANU/VOLUME_FLOW_UNITS", 2}, {"MANU/MASS_CONCENTRATION_UNITS", 1}, {"MANU/_low_flow_threshold", 2},
        {"MANU/_flow_direction", 2},   {"MANU/_conc_function", 255},         {"MANU/_resets", 2},
        {"MANU/_meter_series", 1}};
    for (const auto& [path, level] : userLevels) EXPECT_EQ(TB(path)->RequiredUserLevel, level) << path;
}

// The zero-point variable and the block's CHANNEL stay outside every block,
// so they have no slot or index and are never transferred.
TEST_F(TransducerManuSpec, ZeroPointVariableAndChannelStayOutsideTheBlock) {
    Build();
    for (const std::string& path : std::vector<std::string>{kZeroPointAdjustPath, std::string(kTB1) + "CHANNEL"}) {
        SCOPED_TRACE(path);
        auto el = ElementAt(params, path);
        EXPECT_EQ(el->BlockType, pbfNoneBlock);
        EXPECT_EQ(el->BlockNumber, -1);
        EXPECT_EQ(el->Slot, -1);
        EXPECT_EQ(el->index, -1);
        EXPECT_EQ(el->ElementMode, 0);
    }
    EXPECT_EQ(ElementAt(params, kZeroPointAdjustPath)->ControlType(), 3);
    EXPECT_TRUE(Identical(ElementAt(params, kZeroPointAdjustPath)->InitialValue, Variant::Int(0)));
    EXPECT_EQ(TB("CHANNEL")->StatusFlags(), 0x1);
    EXPECT_EQ(TB("CHANNEL")->ValueType, 3);
}

// The unit parameters stand, newest first, right behind NOMINAL_SIZE_UNITS.
TEST_F(TransducerManuSpec, UnitParametersStandAheadOfTheProfileUnits) {
    Build();
    testing::ExpectConsecutive(params, kTB1,
                               {"NOMINAL_SIZE_UNITS", "MANU/SOLID_FLOW_UNITS", "MANU/DEG_BAUME_UNITS",
                                "MANU/MASS_CONCENTRATION_UNITS", "MANU/VOLUME_CONCENTRATION_UNITS",
                                "MANU/VOLUME_FLOW_UNITS", "MASS_FLOW_UNITS"});
    testing::ExpectRecordMembersFollowTheirHeaders(params, std::string(kTB1) + "MANU/");
}

TEST_F(TransducerManuSpec, RegistersItsConstantUnitsAndTheThresholdRange) {
    Build();
    auto& units = *model->PROFIBUSProfil3Units();
    EXPECT_EQ(units.PROFIBUSProfil3UnitString(kPercentUnitCode), "%");
    EXPECT_EQ(units.PROFIBUSProfil3UnitHelpKey(kPercentUnitCode), "help");
    EXPECT_EQ(units.PROFIBUSProfil3UnitString(kGramPerSecondUnitCode), "g/sec");
    EXPECT_EQ(units.PROFIBUSProfil3UnitHelpKey(kGramPerSecondUnitCode), "help");

    Variant lo, hi;
    ASSERT_TRUE(TB("MANU/_low_flow_threshold")->GetRange(0, lo, hi));
    EXPECT_TRUE(Identical(lo, Variant::Dbl(0.5)));
    EXPECT_TRUE(Identical(hi, Variant::Int(10)));
    EXPECT_FALSE(TB("MANU/_zero_flow_add_offset")->GetRange(0, lo, hi));
}

TEST_F(TransducerManuSpec, MeterSeriesFollowsTheDeviceType) {
    const std::pair<const char*, int16_t> cases[] = {
        {"RXD 214", 0x45}, {"RXD 218", 0x47}, {"rxd 214", 0x47}, {"", 0x47}};
    for (const auto& [device, series] : cases) {
        SCOPED_TRACE(device);
        params.Reset();
        Build(device);
        EXPECT_TRUE(Identical(TB("MANU/_meter_series")->InitialValue, Variant::Int(series)));
    }
}

TEST_F(TransducerManuSpec, DefaultsReplaceProfileValues) {
    Build();
    struct Case {
        const char* path;
        Variant initial;
        int32_t mode, flags, userLevel;
    };
    const Case cases[] = {
        {"BLK_OBJ/Number_of_Parameters", Variant::Int(223), 144, 0x1, 1},
        {"BLK_OBJ/Address_of_View_1", Variant::Int(2544), 144, 0x1, 1},
        {"BLK_OBJ/Number_of_Views", Variant::Int(1), 144, 0x1, 1},
        {"TAG_DESC", Variant::Str(kBlanks32), 147, 0, 1},
        {"CALIBR_FACTOR", Variant::Dbl(0.0), 145, 0x1, 1},
        {"ZERO_POINT_UNIT", Variant::Int(1004), 147, 0, 1},
        {"NOMINAL_SIZE", Variant::Dbl(0.0), 145, 0x1, 2},
        {"MASS_FLOW_UNITS", Variant::Int(1322), 147, 0, 2},
        {"MASS_FLOW_LO_LIMIT", Variant::Dbl(-0.3333333), 145, 0x1, 1},
        {"MASS_FLOW_HI_LIMIT", Variant::Dbl(0.3333333), 145, 0x1, 1},
        {"MANU/SOLID_FLOW_HI_LIMIT", Variant::Dbl(0.3333333), 145, 0x1, 1},
        {"DENSITY_UNITS", Variant::Int(1103), 147, 0, 2},
        {"DENSITY_LO_LIMIT", Variant::Dbl(0.08), 145, 0x1, 1},
        {"DENSITY_HI_LIMIT", Variant::Dbl(2.0), 145, 0x1, 1},
        {"TEMPERATURE_UNITS", Variant::Int(1000), 147, 0, 2},
        {"TEMPERATURE_LO_LIMIT", Variant::Dbl(248.15), 145, 0x1, 1},
        {"TEMPERATURE_HI_LIMIT", Variant::Dbl(473.15), 145, 0x1, 1},
        {"MANU/VOLUME_FLOW_LO_LIMIT", Variant::Dbl(-2.4), 145, 0x1, 1},
        {"MANU/VOLUME_CONCENTRATION_UNITS", Variant::Int(1562), 145, 0x1, 2},
        {"MANU/MASS_CONCENTRATION_UNITS", Variant::Int(1343), 145, 0x1, 1},
        {"MANU/DEG_BAUME_UNITS", Variant::Int(1111), 145, 0x1, 2},
        {"MANU/SOLID_FLOW_UNITS", Variant::Int(1322), 147, 0, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        auto el = TB(c.path);
        EXPECT_TRUE(Identical(el->InitialValue, c.initial));
        EXPECT_TRUE(Identical(el->TransientValue, c.initial));
        EXPECT_EQ(el->ElementMode, c.mode);
        EXPECT_EQ(el->StatusFlags(), c.flags);
        EXPECT_EQ(el->RequiredUserLevel, c.userLevel);
    }
    EXPECT_EQ(TB("MASS_FLOW_LO_LIMIT")->nInitUnit, 1322);
    EXPECT_EQ(TB("TEMPERATURE_LO_LIMIT")->nInitUnit, 1000);
}

// A second transducer block shares the one zero-point variable; making the
// block read-only takes away the download bit only, whatever the mode was.
class TransducerManuSpecBuild : public ::testing::Test {
protected:
    void SetUp() override {
        ctx->InitContext(nullptr, model, nullptr, nullptr);
        AddParam(params, "~/RXD214", Variant::Str("RXD 214"), 14, 7)->TransientValue = Variant::Str("RXD 214");
    }

    platform::P<platform::rt::DTMContext> ctx = platform::rt::DTMContext::Create();
    platform::P<testing::RecordingModel> model = std::make_shared<testing::RecordingModel>();
    platform::rt::Parameters& params = *ctx->Parameters();
};

TEST_F(TransducerManuSpecBuild, TwoBlocksShareOneZeroPointVariable) {
    for (int16_t n = 1; n <= 2; ++n) {
        CreateTBBlockModel(n, ctx);
        ASSERT_EQ(ErrorOf([&] { ManuSpecTBCreate(n, ctx); }), 0) << n;
    }
    EXPECT_EQ(params.Count(), 1 + 2 * 55 + 2 * 41 + 1);
    EXPECT_NE(params.Find("TRANS/2/FlowCori/CHANNEL"), nullptr);
    EXPECT_NE(params.Find("TRANS/2/FlowCori/MANU/_resets"), nullptr);
}

TEST_F(TransducerManuSpecBuild, ReadOnlyDefaultsClearOnlyTheDownloadBit) {
    CreateTBBlockModel(1, ctx);
    ManuSpecTBCreate(1, ctx);
    ElementAt(params, "TRANS/1/FlowCori/CALIBR_FACTOR")->ElementMode = 145;
    ElementAt(params, "TRANS/1/FlowCori/NOMINAL_SIZE")->ElementMode = 147;
    ManuSpecTBDefaults(1, ctx);
    EXPECT_EQ(ElementAt(params, "TRANS/1/FlowCori/CALIBR_FACTOR")->ElementMode, 145);
    EXPECT_EQ(ElementAt(params, "TRANS/1/FlowCori/NOMINAL_SIZE")->ElementMode, 145);
}

TEST_F(TransducerManuSpecBuild, DefaultsNeedTheirElements) {
    CreateTBBlockModel(1, ctx);
    EXPECT_EQ(ErrorOf([&] { ManuSpecTBDefaults(1, ctx); }), 5);
}

// Each unit parameter converts its measured value and limits, then the
// scales of the AI block that reads its channel (if any), each reported once.
TEST_F(TransducerManuSpec, AUnitChangeConvertsItsValuesAndTheAIBlocksOfItsChannel) {
    Build();
    struct Case {
        const char* unit;
        const char* record;  // measured value, then "_LO_LIMIT" / "_HI_LIMIT" follow the unit's stem
        int16_t aiBlock;     // the AI block reading the channel by default; 0: none
    };
    const Case cases[] = {
        {"MANU/VOLUME_FLOW", "MANU/VOLUME_FLOW/Value", 5},
        {"MANU/VOLUME_CONCENTRATION", "MANU/VOLUME_CONCENTRATION/Value", 0},
        {"MANU/MASS_CONCENTRATION", "MANU/MASS_CONCENTRATION/Value", 6},
        {"MANU/DEG_BAUME", "MANU/DEG_BAUME/Value", 0},
        {"MANU/SOLID_FLOW", "MANU/SOLID_FLOW/Value", 7},
    };
    int16_t newUnit = 1000;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.unit);
        ++newUnit;  // a code of its own for each case
        const std::string stem = c.unit;
        model->notified.clear();
        Change(TB(stem + "_UNITS"), Variant::Int(newUnit));

        std::vector<std::string> expected = {std::string(kTB1) + stem + "_UNITS", std::string(kTB1) + c.record,
                                             std::string(kTB1) + stem + "_LO_LIMIT",
                                             std::string(kTB1) + stem + "_HI_LIMIT"};
        for (const std::string& path : std::vector<std::string>{c.record, stem + "_LO_LIMIT", stem + "_HI_LIMIT"})
            EXPECT_EQ(TB(path)->nTransientUnit, newUnit) << path;
        for (int16_t n : {1, 2, 3, 5, 6, 7}) {
            const bool reads = n == c.aiBlock;
            for (const char* path : {"PV_SCALE/Lo_Val", "PV_SCALE/Up_Val", "SIMULATE/Value"}) {
                EXPECT_EQ(AI(n, path)->nTransientUnit == newUnit, reads) << n << path;
                if (reads) expected.push_back(GetAIBlockPrefix(n) + path);
            }
        }
        EXPECT_EQ(model->notified, expected);
    }
}

TEST_F(TransducerManuSpec, SolidFlowUnitConvertsValuesAndTheScaleOfBlock7) {
    Build();
    Change(TB("MANU/SOLID_FLOW_UNITS"), Variant::Int(1324));  // kg/s to kg/h
    // Singles in kg/h now; AI block 1 reads mass flow and keeps its scale.
    const auto expectPerHour = [](const std::shared_ptr<clsDataElement>& el, double perHour) {
        EXPECT_EQ(el->TransientValue.Type(), platform::com::VarType::Single) << el->Name;
        EXPECT_NEAR(platform::com::CDbl(el->TransientValue), perHour, 1e-3) << el->Name;
        EXPECT_EQ(el->nTransientUnit, 1324) << el->Name;
    };
    expectPerHour(TB("MANU/SOLID_FLOW_HI_LIMIT"), 1200.0);
    expectPerHour(TB("MANU/SOLID_FLOW_LO_LIMIT"), -1200.0);
    expectPerHour(AI(7, "PV_SCALE/Up_Val"), 600.0);
    EXPECT_TRUE(Identical(AI(1, "PV_SCALE/Up_Val")->TransientValue,
                          Variant::Sng(static_cast<float>(0.3333333 / 2))));
}

TEST_F(TransducerManuSpec, ZeroPointAdjustIsCopiedWhileTheVariableIsZero) {
    Build();
    auto variable = ElementAt(params, kZeroPointAdjustPath);
    auto adjust = TB("ZERO_POINT_ADJUST");
    adjust->DeviceValue = Variant::Int(2);
    Change(adjust, Variant::Int(1));
    EXPECT_TRUE(Identical(variable->TransientValue, Variant::Int(1)));
    EXPECT_TRUE(Identical(variable->DeviceValue, Variant::Int(2)));
    EXPECT_EQ(model->Notices(kZeroPointAdjustPath), 1);

    // A pending adjustment is not overwritten.
    model->notified.clear();
    adjust->DeviceValue = Variant::Int(4);
    Change(adjust, Variant::Int(3));
    EXPECT_TRUE(Identical(variable->TransientValue, Variant::Int(1)));
    EXPECT_TRUE(Identical(variable->DeviceValue, Variant::Int(2)));
    EXPECT_EQ(model->Notices(kZeroPointAdjustPath), 0);
}

TEST_F(TransducerManuSpec, OtherChangesTouchNothingElse) {
    Build();
    for (const char* path : {"MANU/_converter_status", "MANU/_resets", "MANU/SOLID_FLOW_HI_LIMIT",
                             "MANU/VOLUME_FLOW/Value", "ZERO_POINT_UNIT"}) {
        SCOPED_TRACE(path);
        model->notified.clear();
        params.NotifyChange(TB(path), "");
        EXPECT_EQ(model->notified, std::vector<std::string>{std::string(kTB1) + path});
    }
}

TEST_F(TransducerManuSpec, MeterSeriesSelectsTheTransducerTypeList) {
    Build();
    auto type = TB("MANU/_transducer_type");
    type->ValueLists = "0:{first;list}1:{second;list}";
    auto series = TB("MANU/_meter_series");

    const std::pair<Variant, const char*> cases[] = {{Variant::Int(0x47), "second;list"},
                                                     {Variant::Int(0x45), "first;list"},
                                                     {Variant::Lng(0x47), "second;list"},
                                                     {Variant::Int(0), "first;list"}};
    for (const auto& [value, list] : cases) {
        SCOPED_TRACE(list);
        model->notified.clear();
        Change(series, value);
        EXPECT_EQ(type->ValueList, list);
        EXPECT_EQ(model->Notices(type->Name), 1);
    }

    // A language change chooses the list again without a notice.
    series->TransientValue = Variant::Int(0x47);
    model->notified.clear();
    model->RefreshAll(ctx);
    EXPECT_EQ(type->ValueList, "second;list");
    EXPECT_TRUE(model->notified.empty());
}

}  // namespace
}  // namespace dtm

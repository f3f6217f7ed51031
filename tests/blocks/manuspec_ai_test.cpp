// The converter's defaults and refresh of the AI function blocks.
#include <gtest/gtest.h>

#include "ErrorOf.h"
#include "ManuSpecFixture.h"
#include "blocks/DataModel_ManuSpec.h"

namespace dtm {
namespace {

using platform::Variant;
using platform::com::Identical;

// The values expressed in the output unit, in the order they are given it.
const std::vector<std::string> kOutputUnitValues = {
    "OUT/Value", "OUT_SCALE/Up_Val", "OUT_SCALE/Lo_Val", "ALARM_HYS", "HI_HI_LIM", "HI_LIM", "LO_LIM",
    "LO_LO_LIM", "HI_HI_ALM/Value", "HI_ALM/Value", "LO_ALM/Value", "LO_LO_ALM/Value", "FSAFE_VALUE"};

// Every value that carries the block's unit from the start.
const std::vector<std::string> kInitUnitValues = {
    "OUT/Value", "PV_SCALE/Lo_Val", "PV_SCALE/Up_Val", "OUT_SCALE/Lo_Val", "OUT_SCALE/Up_Val", "FSAFE_VALUE",
    "ALARM_HYS", "HI_HI_LIM", "HI_LIM", "LO_LIM", "LO_LO_LIM", "HI_HI_ALM/Value", "HI_ALM/Value",
    "LO_ALM/Value", "LO_LO_ALM/Value", "SIMULATE/Value"};

class AIManuSpec : public testing::ManuSpecModel {};

// The transducer limits after its defaults: mass and solid flow +-0.3333333,
// density 0.08 to 2, temperature 248.15 to 473.15, volume flow +-2.4, mass
// concentration 0 to 100. Flows are halved.
TEST_F(AIManuSpec, EachBlockTakesItsChannelUnitAndLimits) {
    Build();
    struct Case {
        int16_t block, channel, unit;
        double lo, hi;  // the block's limits before they become Singles
        int32_t viewAddress;
    };
    const Case cases[] = {
        {1, 277, 1322, -0.3333333 / 2, 0.3333333 / 2, 0x1F0},
        {2, 281, 1103, 0.08, 2.0, 0x2F0},
        {3, 285, 1000, 248.15, 473.15, 0x3F0},
        {5, 273, 1349, -2.4 / 2, 2.4 / 2, 0x5F0},
        {6, 313, 1343, 0.0, 100.0, 0x6F0},
        {7, 321, 1322, -0.3333333 / 2, 0.3333333 / 2, 0x7F0},
    };
    const auto single = [](double v) { return Variant::Sng(static_cast<float>(v)); };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.block);
        const auto initial = [&](const char* path) { return AI(c.block, path)->InitialValue; };
        EXPECT_TRUE(Identical(initial("CHANNEL"), Variant::Int(c.channel)));
        EXPECT_TRUE(Identical(initial("OUT_SCALE/Unit"), Variant::Lng(c.unit)));
        EXPECT_TRUE(Identical(initial("BLK_OBJ/Address_of_View_1"), Variant::Lng(c.viewAddress)));
        for (const char* path : {"PV_SCALE/Lo_Val", "OUT_SCALE/Lo_Val"})
            EXPECT_TRUE(Identical(initial(path), single(0.0))) << path;
        for (const char* path : {"PV_SCALE/Up_Val", "OUT_SCALE/Up_Val", "HI_HI_LIM", "HI_LIM"})
            EXPECT_TRUE(Identical(initial(path), single(c.hi))) << path;
        for (const char* path : {"LO_LIM", "LO_LO_LIM"}) EXPECT_TRUE(Identical(initial(path), single(c.lo))) << path;
        EXPECT_TRUE(Identical(initial("ALARM_HYS"), single(c.hi / 100)));
        for (const auto& path : kInitUnitValues) {
            EXPECT_EQ(AI(c.block, path)->nInitUnit, c.unit) << path;
            EXPECT_EQ(AI(c.block, path)->nTransientUnit, c.unit) << path;
        }
    }
}

TEST_F(AIManuSpec, EveryBlockGetsTheSameFixedDefaults) {
    Build();
    for (int16_t n : {1, 2, 3, 5, 6, 7}) {
        SCOPED_TRACE(n);
        EXPECT_TRUE(Identical(AI(n, "BLK_OBJ/Number_of_Parameters")->InitialValue, Variant::Int(36)));
        EXPECT_TRUE(Identical(AI(n, "BLK_OBJ/Number_of_Views")->InitialValue, Variant::Int(1)));
        EXPECT_TRUE(Identical(AI(n, "TAG_DESC")->InitialValue, Variant::Str(std::string(32, ' '))));
        EXPECT_TRUE(Identical(AI(n, "OUT_SCALE/DecPoint")->InitialValue, Variant::Int(2)));
        EXPECT_EQ(AI(n, "LIN_TYPE")->ElementMode, 145);
        EXPECT_EQ(AI(n, "LIN_TYPE")->StatusFlags(), 0x1);
        EXPECT_EQ(AI(n, "PV_SCALE/Lo_Val")->ValueFormat, "0.000000");
        EXPECT_EQ(AI(n, "PV_SCALE/Up_Val")->ValueFormat, "0.000000");
        EXPECT_EQ(AI(n, "PV_FTIME")->ValueFormat, "0.00");

        const std::tuple<const char*, double, double> ranges[] = {
            {"PV_FTIME", 0.0, 30.0},
            {"FSAFE_VALUE", -8.507075866E+37, 8.507075866E+37},
            {"ALARM_HYS", 0.0, 3.40282346E+38}};
        for (const auto& [path, lo, hi] : ranges) {
            Variant min, max;
            ASSERT_TRUE(AI(n, path)->GetRange(0, min, max)) << path;
            EXPECT_TRUE(Identical(min, Variant::Dbl(lo))) << path;
            EXPECT_TRUE(Identical(max, Variant::Dbl(hi))) << path;
        }
    }
}

// Block 1 reads mass flow in kg/s; solid flow is switched to kg/h first.
// Moving block 1 to solid flow converts its 13 output values to kg/h, each
// reported once, and shows the scale and simulated value in kg/h unconverted.
TEST_F(AIManuSpec, AChannelChangeTakesTheTransducerUnit) {
    Build();
    Change(TB("MANU/SOLID_FLOW_UNITS"), Variant::Int(1324));
    for (const auto& path : kOutputUnitValues) AI(1, path)->TransientValue = Variant::Sng(2.0f);
    const Variant scale = AI(1, "PV_SCALE/Up_Val")->TransientValue;
    model->notified.clear();

    Change(AI(1, "CHANNEL"), Variant::Int(kChannelSolidFlow));

    EXPECT_TRUE(Identical(AI(1, "OUT_SCALE/Unit")->TransientValue, Variant::Int(1324)));
    EXPECT_EQ(model->Notices(GetAIBlockPrefix(1) + "OUT_SCALE/Unit"), 1);
    for (const auto& path : kOutputUnitValues) {
        SCOPED_TRACE(path);
        EXPECT_TRUE(Identical(AI(1, path)->TransientValue, Variant::Sng(7200.0f)));
        EXPECT_EQ(AI(1, path)->nTransientUnit, 1324);
        EXPECT_EQ(model->Notices(GetAIBlockPrefix(1) + path), 1);
    }
    for (const char* path : {"PV_SCALE/Up_Val", "PV_SCALE/Lo_Val", "SIMULATE/Value"}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(AI(1, path)->nTransientUnit, 1324);
        EXPECT_EQ(model->Notices(GetAIBlockPrefix(1) + path), 1);
    }
    EXPECT_TRUE(Identical(AI(1, "PV_SCALE/Up_Val")->TransientValue, scale));
    // Other blocks keep their units.
    EXPECT_EQ(AI(2, "OUT/Value")->nTransientUnit, 1103);
}

// Every channel code leads to its measured value's unit parameter.
TEST_F(AIManuSpec, EachChannelCodeNamesItsUnitParameter) {
    Build();
    const std::pair<int16_t, const char*> cases[] = {
        {277, "MASS_FLOW_UNITS"},        {281, "DENSITY_UNITS"},
        {285, "TEMPERATURE_UNITS"},      {273, "MANU/VOLUME_FLOW_UNITS"},
        {313, "MANU/MASS_CONCENTRATION_UNITS"}, {309, "MANU/VOLUME_CONCENTRATION_UNITS"},
        {317, "MANU/DEG_BAUME_UNITS"},   {321, "MANU/SOLID_FLOW_UNITS"}};
    for (const auto& [code, unitPath] : cases) {
        SCOPED_TRACE(unitPath);
        Change(AI(5, "CHANNEL"), Variant::Int(code));
        EXPECT_TRUE(Identical(AI(5, "OUT_SCALE/Unit")->TransientValue, TB(unitPath)->TransientValue));
        EXPECT_EQ(AI(5, "SIMULATE/Value")->nTransientUnit, platform::com::CInt(TB(unitPath)->TransientValue));
    }
}

TEST_F(AIManuSpec, NothingFollowsTheChannelWhileADataSetIsTakenOver) {
    Build();
    model->notified.clear();
    params.UpdateInProgress(true);
    Change(AI(5, "CHANNEL"), Variant::Int(kChannelTemperature));
    params.UpdateInProgress(false);

    EXPECT_EQ(model->notified, std::vector<std::string>{GetAIBlockPrefix(5) + "CHANNEL"});
    EXPECT_TRUE(Identical(AI(5, "OUT_SCALE/Unit")->TransientValue, Variant::Lng(1349)));
    EXPECT_EQ(AI(5, "PV_SCALE/Up_Val")->nTransientUnit, 1349);
}

// A value that names no measured value of the transducer block changes
// nothing and raises nothing.
TEST_F(AIManuSpec, AChannelValueThatIsNoCodeChangesNothing) {
    Build();
    const Variant cases[] = {Variant::Int(0), Variant::Int(999), Variant::Lng(278), Variant(),
                             Variant::Str("277x"), Variant::Null(), Variant::VariantArray({Variant::Int(277)})};
    for (const Variant& value : cases) {
        SCOPED_TRACE(platform::com::TypeName(value));
        model->notified.clear();
        EXPECT_EQ(ErrorOf([&] { Change(AI(1, "CHANNEL"), value); }), 0);
        EXPECT_EQ(model->notified, std::vector<std::string>{GetAIBlockPrefix(1) + "CHANNEL"});
        EXPECT_TRUE(Identical(AI(1, "OUT_SCALE/Unit")->TransientValue, Variant::Lng(1322)));
        EXPECT_EQ(AI(1, "PV_SCALE/Up_Val")->nTransientUnit, 1322);
    }
}

// A language change leaves the output unit alone and sets only the transient
// units of the scale and the simulated value, without notices.
TEST_F(AIManuSpec, ALanguageChangeSetsOnlyTheScaleUnits) {
    Build();
    AI(1, "CHANNEL")->TransientValue = Variant::Int(kChannelTemperature);
    model->notified.clear();

    model->RefreshAll(ctx);

    EXPECT_TRUE(model->notified.empty());
    EXPECT_TRUE(Identical(AI(1, "OUT_SCALE/Unit")->TransientValue, Variant::Lng(1322)));
    EXPECT_EQ(AI(1, "OUT/Value")->nTransientUnit, 1322);
    for (const char* path : {"PV_SCALE/Up_Val", "PV_SCALE/Lo_Val", "SIMULATE/Value"})
        EXPECT_EQ(AI(1, path)->nTransientUnit, 1000) << path;
}

TEST_F(AIManuSpec, DecimalPointValuesAreShownWithTheirFormat) {
    Build();
    struct Case {
        int16_t decPoint;
        double value;
        const char* format;
    };
    const Case cases[] = {
        {0, 5.0, "0"},
        {1, 5.0, "0.0"},
        {4, 999999.0, "0.0000"},
        {4, -999999.0, "0.0000"},
        {4, 2000000.0, "0.0000E+00"},
        {2, 1234567.5, "0.00E+00"},
        {3, 999999.5, "0.000E+00"},
        {3, -1000000.0, "0.000E+00"},
    };
    const char* paths[] = {"ALARM_HYS", "HI_HI_LIM", "LO_LO_LIM", "OUT_SCALE/Up_Val",
                           "OUT_SCALE/Lo_Val", "OUT/Value", "HI_LIM", "LO_LIM"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        AI(2, "OUT_SCALE/DecPoint")->TransientValue = Variant::Int(c.decPoint);
        for (const char* path : paths) {
            Change(AI(2, path), Variant::Dbl(c.value));
            EXPECT_EQ(AI(2, path)->ValueFormat, c.format) << path;
        }
    }
    // A decimal point beyond one byte is refused rather than formatted.
    AI(2, "OUT_SCALE/DecPoint")->TransientValue = Variant::Lng(100000);
    EXPECT_EQ(ErrorOf([&] { Change(AI(2, "HI_LIM"), Variant::Dbl(1.0)); }), platform::com::errOverflow);
    AI(2, "OUT_SCALE/DecPoint")->TransientValue = Variant::Int(255);
    Change(AI(2, "HI_LIM"), Variant::Dbl(1.0));
    EXPECT_EQ(AI(2, "HI_LIM")->ValueFormat, "0." + std::string(255, '0'));
    AI(2, "OUT_SCALE/DecPoint")->TransientValue = Variant::Int(-1);
    Change(AI(2, "HI_LIM"), Variant::Dbl(1.0));
    EXPECT_EQ(AI(2, "HI_LIM")->ValueFormat, "0");

    // Other values keep their formats.
    Change(AI(2, "PV_SCALE/Up_Val"), Variant::Dbl(2000000.0));
    Change(AI(2, "FSAFE_VALUE"), Variant::Dbl(2000000.0));
    EXPECT_EQ(AI(2, "PV_SCALE/Up_Val")->ValueFormat, "0.000000");
    EXPECT_EQ(AI(2, "FSAFE_VALUE")->ValueFormat, "");
}

}  // namespace
}  // namespace dtm

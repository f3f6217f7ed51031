// The converter's defaults, remembered units and refresh of the totaliser blocks.
#include <gtest/gtest.h>

#include <cmath>

#include "ErrorOf.h"
#include "ManuSpecFixture.h"
#include "RecordingModel.h"
#include "blocks/DataModel_ManuSpec.h"
#include "blocks/ManuSpecSupport.h"

namespace dtm {
namespace {

using platform::Variant;
using platform::com::Identical;

// The values expressed in the totaliser unit.
const std::vector<std::string> kUnitValues = {
    "TOTAL/Value", "PRESET_TOT", "ALARM_HYS", "HI_HI_LIM", "HI_LIM", "LO_LIM", "LO_LO_LIM",
    "HI_HI_ALM/Value", "HI_ALM/Value", "LO_ALM/Value", "LO_LO_ALM/Value"};

// Five years in seconds.
constexpr double K = 157788000.0;

Variant Remembered(int16_t volume, int16_t other) {
    return Variant::VariantArray({Variant::Int(volume), Variant::Int(other)});
}

class TotaliserManuSpec : public testing::ManuSpecModel {
protected:
    std::string Path(int16_t n, const std::string& path) { return GetTOTBlockPrefix(n) + path; }
};

// Block 4 sums mass flow (limits +-0.3333333 kg/s), block 8 volume flow (+-2.4 m³/h).
TEST_F(TotaliserManuSpec, EachBlockTakesItsKindsChannelUnitAndLimits) {
    Build();
    struct Case {
        int16_t block, channel, unit;
        double flowLo, flowHi;
        int32_t viewAddress;
    };
    const Case cases[] = {
        {4, 277, 1088, -0.3333333, 0.3333333, 1264},
        {8, 273, 1034, -2.4, 2.4, 2288},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.block);
        const auto initial = [&](const char* path) { return TOT(c.block, path)->InitialValue; };
        EXPECT_TRUE(Identical(initial("CHANNEL"), Variant::Int(c.channel)));
        EXPECT_TRUE(Identical(initial("UNIT_TOT"), Variant::Lng(c.unit)));
        EXPECT_TRUE(Identical(initial("BLK_OBJ/Address_of_View_1"), Variant::Lng(c.viewAddress)));
        EXPECT_TRUE(Identical(initial("HI_HI_LIM"), Variant::Dbl(c.flowHi * K)));
        EXPECT_TRUE(Identical(initial("HI_LIM"), Variant::Dbl(c.flowHi * K)));
        EXPECT_TRUE(Identical(initial("LO_LIM"), Variant::Dbl(c.flowLo * K)));
        EXPECT_TRUE(Identical(initial("LO_LO_LIM"), Variant::Dbl(c.flowLo * K)));
        EXPECT_TRUE(Identical(initial("ALARM_HYS"), Variant::Dbl((c.flowHi * K - c.flowLo * K) / 200)));
        for (const auto& path : kUnitValues) EXPECT_EQ(TOT(c.block, path)->nInitUnit, c.unit) << path;

        EXPECT_TRUE(Identical(initial("BLK_OBJ/Number_of_Parameters"), Variant::Int(26)));
        EXPECT_TRUE(Identical(initial("BLK_OBJ/Number_of_Views"), Variant::Int(1)));
        EXPECT_TRUE(Identical(initial("TAG_DESC"), Variant::Str(std::string(32, ' '))));
        EXPECT_TRUE(Identical(initial("MODE_BLK/Actual"), Variant::Int(128)));
        EXPECT_TRUE(Identical(initial("MODE_BLK/Permitted"), Variant::Int(8)));
        EXPECT_TRUE(Identical(TOT(c.block, "UNIT_TOT")->TransientValues, Remembered(1034, 1088)));
    }
}

// With the transducer's profile limits 0 and 100 (no converter defaults).
TEST(TotaliserManuSpecLimits, AreTheFlowLimitsSummedOverFiveYears) {
    auto ctx = platform::rt::DTMContext::Create();
    ctx->InitContext(nullptr, std::make_shared<testing::RecordingModel>(), nullptr, nullptr);
    auto& params = *ctx->Parameters();
    CreateTBBlockModel(1, ctx);
    CreateTOTBlockModel(4, Variant(), ctx);
    ManuSpecTOTDefaults(4, ctx);
    EXPECT_TRUE(Identical(testing::ElementAt(params, "FUNC/4/TOT/HI_LIM")->InitialValue, Variant::Dbl(15778800000.0)));
    EXPECT_TRUE(Identical(testing::ElementAt(params, "FUNC/4/TOT/LO_LIM")->InitialValue, Variant::Dbl(0.0)));
    EXPECT_TRUE(Identical(testing::ElementAt(params, "FUNC/4/TOT/ALARM_HYS")->InitialValue, Variant::Dbl(78894000.0)));
}

TEST_F(TotaliserManuSpec, AUnitIsRememberedForItsChannel) {
    Build();
    auto unit = TOT(4, "UNIT_TOT");
    unit->ValueLists = "0:{volume units}1:{mass units}";

    Change(unit, Variant::Int(1038));
    EXPECT_TRUE(Identical(unit->TransientValues, Remembered(1034, 1038)));

    Change(TOT(4, "CHANNEL"), Variant::Int(kChannelVolumeFlow));
    EXPECT_TRUE(Identical(unit->TransientValue, Variant::Int(1034)));
    EXPECT_EQ(unit->ValueList, "volume units");

    Change(TOT(4, "CHANNEL"), Variant::Int(kChannelMassFlow));
    EXPECT_TRUE(Identical(unit->TransientValue, Variant::Int(1038)));
    EXPECT_EQ(unit->ValueList, "mass units");
    EXPECT_TRUE(Identical(unit->TransientValues, Remembered(1034, 1038)));

    // The other totaliser remembers its own units.
    EXPECT_TRUE(Identical(TOT(8, "UNIT_TOT")->TransientValues, Remembered(1034, 1088)));
}

// The handler reports "UNIT_TOT" from within the handling of "UNIT_TOT": that
// notice reaches the pages only, so each value is converted and reported once.
TEST_F(TotaliserManuSpec, AUnitChangeConvertsEachValueOnce) {
    Build();
    for (const auto& path : kUnitValues) TOT(4, path)->TransientValue = Variant::Dbl(2000.0);
    model->notified.clear();

    ASSERT_EQ(ErrorOf([&] { Change(TOT(4, "UNIT_TOT"), Variant::Int(1092)); }), 0);  // kg to t

    EXPECT_EQ(model->Notices(Path(4, "UNIT_TOT")), 1);
    for (const auto& path : kUnitValues) {
        SCOPED_TRACE(path);
        EXPECT_TRUE(Identical(TOT(4, path)->TransientValue, Variant::Sng(2.0f)));
        EXPECT_EQ(TOT(4, path)->nTransientUnit, 1092);
        EXPECT_EQ(model->Notices(Path(4, path)), 1);
    }
    EXPECT_TRUE(Identical(TOT(4, "UNIT_TOT")->TransientValues, Remembered(1034, 1092)));
}

TEST_F(TotaliserManuSpec, AChannelChangeConvertsEachValueOnce) {
    Build();
    TOT(4, "UNIT_TOT")->TransientValues = Remembered(1092, 1088);  // t for volume flow, to see the conversion
    for (const auto& path : kUnitValues) TOT(4, path)->TransientValue = Variant::Dbl(2000.0);
    model->notified.clear();

    ASSERT_EQ(ErrorOf([&] { Change(TOT(4, "CHANNEL"), Variant::Int(kChannelVolumeFlow)); }), 0);

    EXPECT_TRUE(Identical(TOT(4, "UNIT_TOT")->TransientValue, Variant::Int(1092)));
    EXPECT_EQ(model->Notices(Path(4, "UNIT_TOT")), 1);
    for (const auto& path : kUnitValues) {
        SCOPED_TRACE(path);
        EXPECT_TRUE(Identical(TOT(4, path)->TransientValue, Variant::Sng(2.0f)));
        EXPECT_EQ(model->Notices(Path(4, path)), 1);
    }
    EXPECT_TRUE(Identical(TOT(4, "UNIT_TOT")->TransientValues, Remembered(1092, 1088)));
}

// A stored data set is taken over: every element is handled once more, the
// chains end, values keep their numbers and the loaded units stay.
TEST_F(TotaliserManuSpec, ADataSetIsTakenOverWithItsOwnUnits) {
    Build();
    params.UpdateInProgress(true);
    TOT(4, "UNIT_TOT")->TransientValue = Variant::Int(1092);
    for (const auto& path : kUnitValues) {
        TOT(4, path)->TransientValue = Variant::Dbl(5.0);
        TOT(4, path)->nTransientUnit = 1092;
    }
    TOT(8, "CHANNEL")->TransientValue = Variant::Int(kChannelMassFlow);
    TOT(8, "UNIT_TOT")->TransientValue = Variant::Int(1089);
    AI(5, "CHANNEL")->TransientValue = Variant::Int(kChannelTemperature);
    AI(5, "OUT_SCALE/Unit")->TransientValue = Variant::Int(1001);
    for (const char* path : {"OUT/Value", "HI_LIM"}) AI(5, path)->nTransientUnit = 1001;

    ASSERT_EQ(ErrorOf([&] { model->DataSetChanged(ctx); }), 0);
    params.UpdateInProgress(false);
    model->RefreshAll(ctx);

    for (const auto& path : kUnitValues) {
        SCOPED_TRACE(path);
        EXPECT_TRUE(Identical(TOT(4, path)->TransientValue, Variant::Dbl(5.0)));
        EXPECT_EQ(TOT(4, path)->nTransientUnit, 1092);
    }
    EXPECT_TRUE(Identical(TOT(4, "UNIT_TOT")->TransientValue, Variant::Int(1092)));
    EXPECT_TRUE(Identical(TOT(4, "UNIT_TOT")->TransientValues, Remembered(1034, 1092)));
    EXPECT_TRUE(Identical(TOT(8, "UNIT_TOT")->TransientValue, Variant::Int(1089)));
    EXPECT_TRUE(Identical(TOT(8, "UNIT_TOT")->TransientValues, Remembered(1034, 1089)));
    EXPECT_EQ(TOT(8, "TOTAL/Value")->nTransientUnit, 1089);
    // The AI block keeps the stored output unit; its scale is shown in the channel's unit.
    EXPECT_TRUE(Identical(AI(5, "OUT_SCALE/Unit")->TransientValue, Variant::Int(1001)));
    EXPECT_EQ(AI(5, "OUT/Value")->nTransientUnit, 1001);
    EXPECT_EQ(AI(5, "PV_SCALE/Up_Val")->nTransientUnit, 1000);
}

TEST_F(TotaliserManuSpec, ALanguageChangeShowsTheChannelsListOnly) {
    Build();
    auto unit = TOT(8, "UNIT_TOT");
    unit->ValueLists = "0:{volume units}1:{mass units}";
    unit->TransientValue = Variant::Int(1038);
    unit->TransientValues = Remembered(1036, 1092);
    model->notified.clear();

    model->RefreshAll(ctx);

    EXPECT_EQ(unit->ValueList, "volume units");
    EXPECT_TRUE(Identical(unit->TransientValue, Variant::Int(1038)));
    EXPECT_TRUE(Identical(unit->TransientValues, Remembered(1036, 1092)));
    EXPECT_TRUE(model->notified.empty());
}

TEST_F(TotaliserManuSpec, AChannelValueThatIsNoCodeChangesNothing) {
    Build();
    auto unit = TOT(4, "UNIT_TOT");
    unit->ValueLists = "0:{volume units}1:{mass units}";
    unit->ValueList = "shown";
    for (const Variant& value : {Variant::Int(999), Variant::Str("273 "), Variant()}) {
        SCOPED_TRACE(platform::com::TypeName(value));
        model->notified.clear();
        EXPECT_EQ(ErrorOf([&] { Change(TOT(4, "CHANNEL"), value); }), 0);
        EXPECT_EQ(model->notified, std::vector<std::string>{Path(4, "CHANNEL")});
        EXPECT_EQ(unit->ValueList, "shown");
        EXPECT_TRUE(Identical(unit->TransientValue, Variant::Lng(1088)));
    }
}

TEST(ManuSpecDisplayFormat, TheExponentFollowsTheValueAsItCompares) {
    const std::pair<Variant, const char*> cases[] = {
        {Variant::Dbl(999999.0), "0.00"},      {Variant::Dbl(-1000000.0), "0.00E+00"},
        {Variant::Sng(1.0e7f), "0.00E+00"},    {Variant::Dbl(std::nan("")), "0.00E+00"},  // NaN lies above
        {Variant::Null(), "0.00"},             {Variant(), "0.00"},
        {Variant("2000000"), "0.00E+00"},      {Variant("12"), "0.00"},
    };
    for (const auto& [value, expected] : cases) {
        std::string format = "old";
        dtm::manuspec::SetDisplayFormat(format, "0.00", value);
        EXPECT_EQ(format, expected) << expected;
    }
    std::string format = "old";
    EXPECT_EQ(ErrorOf([&] { dtm::manuspec::SetDisplayFormat(format, "0.00", Variant("abc")); }), 13);
    EXPECT_EQ(format, "old");
}

TEST_F(TotaliserManuSpec, LimitsAreShownWithTheirFormat) {
    Build();
    const std::pair<double, const char*> cases[] = {
        {0.0, "0.0000"},           {999999.0, "0.0000"},         {-999999.0, "0.0000"},
        {999999.5, "0.0000E+00"},  {1000000.0, "0.0000E+00"},    {-1000000.0, "0.0000E+00"}};
    for (const auto& [value, format] : cases) {
        SCOPED_TRACE(value);
        for (const char* path : {"ALARM_HYS", "HI_HI_LIM", "HI_LIM", "LO_LIM", "LO_LO_LIM"}) {
            Change(TOT(8, path), Variant::Dbl(value));
            EXPECT_EQ(TOT(8, path)->ValueFormat, format) << path;
        }
    }
    for (const char* path : {"TOTAL/Value", "PRESET_TOT", "SET_TOT"}) {
        Change(TOT(8, path), Variant::Dbl(2000000.0));
        EXPECT_EQ(TOT(8, path)->ValueFormat, "") << path;
    }
    // A language change formats the limits too: block 4's high limits are
    // 0.3333333 kg/s over five years.
    model->RefreshAll(ctx);
    EXPECT_EQ(TOT(4, "HI_LIM")->ValueFormat, "0.0000E+00");
}

// Only the block's own "UNIT_TOT", named exactly, is remembered.
TEST_F(TotaliserManuSpec, OtherElementsAreNotRemembered) {
    Build();
    for (const char* name : {"FUNC/4/TOT/Unit_Tot", "FUNC/8/TOT/UNIT_TOT", "FUNC/4/TOT/CHANNEL"}) {
        SCOPED_TRACE(name);
        auto changed = std::make_shared<clsDataElement>();
        changed->Name = name;
        changed->TransientValue = Variant::Int(1092);
        ManuSpecTOTChanged(4, changed, ctx);
        EXPECT_TRUE(Identical(TOT(4, "UNIT_TOT")->TransientValues, Remembered(1034, 1088)));
    }
}

}  // namespace
}  // namespace dtm

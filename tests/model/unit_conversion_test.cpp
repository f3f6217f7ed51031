// Conversion of a value element's three value copies when its unit element changes.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "ErrorOf.h"
#include "ModelTestSupport.h"
#include "model/elements/UnitConversion.h"
#include "model/elements/clsDataElement.h"

namespace dtm {
namespace {

using platform::Variant;
using platform::com::Identical;

constexpr int16_t kKgPerSecond = 1322;
constexpr int16_t kKgPerHour = 1324;
constexpr int16_t kUnknown = 1998;

class ModelForConversion : public testing::ModelWithUnits {
public:
    void TakingOverDataSet(bool value) { m_ProcessingCompleteValidation = value; }
};

class UnitConversion : public ::testing::Test {
protected:
    // Target and unit element with all three pairs in kg/s.
    UnitConversion() {
        target.ValueType = 8;
        target.nDeviceUnit = target.nTransientUnit = target.nPersistentUnit = kKgPerSecond;
        unit.ValueType = 3;
        unit.DeviceValue = unit.TransientValue = unit.PersistentValue = Variant::Int(kKgPerSecond);
    }

    ModelForConversion model;
    clsDataElement target;
    clsDataElement unit;
};

TEST_F(UnitConversion, EachPairFollowsItsOwnUnitValue) {
    target.DeviceValue = Variant::Sng(1.0f);
    target.TransientValue = Variant::Sng(2.0f);
    target.PersistentValue = Variant::Sng(7200.0f);
    target.nPersistentUnit = kKgPerHour;
    unit.DeviceValue = Variant::Int(kKgPerHour);  // device pair: kg/s → kg/h
    // transient pair: unit already kg/s, nothing to do
    unit.PersistentValue = Variant::Lng(kKgPerSecond);  // persistent pair: kg/h → kg/s

    ConvertUnitValues(model, target, unit);

    EXPECT_TRUE(Identical(target.DeviceValue, Variant::Sng(3600.0f)));
    EXPECT_EQ(target.nDeviceUnit, kKgPerHour);
    EXPECT_TRUE(Identical(target.TransientValue, Variant::Sng(2.0f)));
    EXPECT_EQ(target.nTransientUnit, kKgPerSecond);
    EXPECT_TRUE(Identical(target.PersistentValue, Variant::Sng(2.0f)));
    EXPECT_EQ(target.nPersistentUnit, kKgPerSecond);
}

TEST_F(UnitConversion, ConvertedValueIsASingleTakenThroughItsDecimalText) {
    target.TransientValue = Variant::Sng(2.1f);  // 2.1 * 3600 is 7560, not 7559.9995
    target.DeviceValue = Variant::Dbl(0.5);
    unit.TransientValue = unit.DeviceValue = Variant::Int(kKgPerHour);
    ConvertUnitValues(model, target, unit);
    EXPECT_TRUE(Identical(target.TransientValue, Variant::Sng(7560.0f)));
    EXPECT_TRUE(Identical(target.DeviceValue, Variant::Sng(1800.0f)));
}

TEST_F(UnitConversion, ValuesThatCannotConvertKeepTheirNumberButTakeTheUnit) {
    struct {
        const char* what;
        Variant value;
        int16_t targetUnit;
        int16_t unitElementUnit;
        int16_t newUnit;
    } cases[] = {
        {"empty", Variant(), kKgPerSecond, 0, kKgPerHour},
        {"NaN", Variant::Sng(std::numeric_limits<float>::quiet_NaN()), kKgPerSecond, 0, kKgPerHour},
        {"text", Variant("fast"), kKgPerSecond, 0, kKgPerHour},
        {"target in Unknown", Variant::Sng(5.0f), kUnknown, 0, kKgPerHour},
        {"unit element in Unknown", Variant::Sng(5.0f), kKgPerSecond, kUnknown, kKgPerHour},
        {"new unit Unknown", Variant::Sng(5.0f), kKgPerSecond, 0, kUnknown},
    };
    for (const auto& c : cases) {
        target.TransientValue = c.value;
        target.nTransientUnit = c.targetUnit;
        unit.nTransientUnit = c.unitElementUnit;
        unit.TransientValue = Variant::Int(c.newUnit);
        ConvertUnitValues(model, target, unit);
        EXPECT_TRUE(Identical(target.TransientValue, c.value) ||
                    (c.value.Type() == platform::com::VarType::Single &&
                     std::isnan(platform::com::CSng(target.TransientValue))))
            << c.what;
        EXPECT_EQ(target.nTransientUnit, c.newUnit) << c.what;
    }
}

TEST_F(UnitConversion, DataSetTakeOverKeepsValuesAndTakesUnits) {
    model.TakingOverDataSet(true);
    target.DeviceValue = target.TransientValue = target.PersistentValue = Variant::Sng(1.0f);
    unit.DeviceValue = unit.TransientValue = unit.PersistentValue = Variant::Int(kKgPerHour);
    ConvertUnitValues(model, target, unit);
    for (const auto* v : {&target.DeviceValue, &target.TransientValue, &target.PersistentValue})
        EXPECT_TRUE(Identical(*v, Variant::Sng(1.0f)));
    EXPECT_EQ(target.nDeviceUnit, kKgPerHour);
    EXPECT_EQ(target.nTransientUnit, kKgPerHour);
    EXPECT_EQ(target.nPersistentUnit, kKgPerHour);
}

// A pair whose value the element cannot hold in the new unit refuses the
// conversion of the whole element: no pair changes, the error is 6.
TEST_F(UnitConversion, AValueTheElementCannotHoldLeavesEveryPairAsItWas) {
    constexpr int16_t kGramPerSecond = 1318;
    constexpr int16_t kTonnePerSecond = 1326;
    struct {
        const char* what;
        Variant persistent;
        int16_t newUnit;
        int32_t error;
    } cases[] = {
        {"a float maximum into a smaller unit", Variant::Sng(3E+38f), kGramPerSecond, 6},
        {"a stored value beyond the float range into a smaller unit", Variant::Dbl(1E+39), kGramPerSecond, 6},
        {"the same into a larger unit", Variant::Dbl(1E+39), kTonnePerSecond, 0},
        {"an infinite value keeps its number", Variant::Sng(std::numeric_limits<float>::infinity()),
         kGramPerSecond, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        target.nDeviceUnit = target.nTransientUnit = target.nPersistentUnit = kKgPerSecond;
        target.DeviceValue = Variant::Sng(1.0f);
        target.TransientValue = Variant::Sng(2.0f);
        target.PersistentValue = c.persistent;
        unit.DeviceValue = unit.TransientValue = unit.PersistentValue = Variant::Int(c.newUnit);

        EXPECT_EQ(ErrorOf([&] { ConvertUnitValues(model, target, unit); }), c.error);

        const bool converted = c.error == 0;
        EXPECT_EQ(target.nDeviceUnit, converted ? c.newUnit : kKgPerSecond);
        EXPECT_EQ(target.nPersistentUnit, converted ? c.newUnit : kKgPerSecond);
        if (converted) {
            EXPECT_TRUE(Identical(target.DeviceValue, Variant::Sng(c.newUnit == kGramPerSecond ? 1000.0f : 0.001f)));
            EXPECT_EQ(target.PersistentValue.Type(), platform::com::VarType::Single);
            if (std::isinf(platform::com::CDbl(c.persistent))) {
                EXPECT_TRUE(Identical(target.PersistentValue, c.persistent));
            }
        } else {
            EXPECT_TRUE(Identical(target.DeviceValue, Variant::Sng(1.0f)));
            EXPECT_TRUE(Identical(target.TransientValue, Variant::Sng(2.0f)));
            EXPECT_TRUE(Identical(target.PersistentValue, c.persistent));
        }
    }
}

// A value whose unit follows the unit element ends in its element's type,
// whether it was converted or taken as it is.
TEST_F(UnitConversion, ValuesKeepTheirElementsType) {
    struct {
        const char* what;
        int32_t valueType;
        bool takenAsItIs;
        Variant expected;
    } cases[] = {
        {"Single element, converted", 8, false, Variant::Sng(1800.0f)},
        {"Single element, data set", 8, true, Variant::Sng(0.5f)},
        {"Double element, converted", 9, false, Variant::Dbl(1800.0)},
        {"Double element, data set", 9, true, Variant::Dbl(0.5)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        target.ValueType = c.valueType;
        target.nTransientUnit = kKgPerSecond;
        target.TransientValue = Variant::Dbl(0.5);
        unit.TransientValue = Variant::Int(kKgPerHour);
        model.TakingOverDataSet(c.takenAsItIs);
        ConvertUnitValues(model, target, unit);
        EXPECT_TRUE(Identical(target.TransientValue, c.expected));
        EXPECT_EQ(target.nTransientUnit, kKgPerHour);
    }
}

TEST_F(UnitConversion, NullUnitValueChangesNothing) {
    target.TransientValue = Variant::Sng(1.0f);
    unit.TransientValue = Variant::Null();
    ConvertUnitValues(model, target, unit);
    EXPECT_TRUE(Identical(target.TransientValue, Variant::Sng(1.0f)));
    EXPECT_EQ(target.nTransientUnit, kKgPerSecond);
}

}  // namespace
}  // namespace dtm

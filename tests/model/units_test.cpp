#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "model/elements/clsPROFIBUSProfil3Units.h"
#include "platform/com/Error.h"

namespace {

using dtm::clsPROFIBUSProfil3Units;
using platform::Variant;
using platform::com::ComError;

constexpr double kMax = std::numeric_limits<double>::max();
constexpr double kInf = std::numeric_limits<double>::infinity();

class UnitTable : public ::testing::Test {
protected:
    clsPROFIBUSProfil3Units units;
};

struct Conversion {
    double value;
    int32_t from;
    int32_t to;
    double expected;
    double relTol;  // relative to max(|expected|, 1)
};

void ExpectConversions(const clsPROFIBUSProfil3Units& units, const std::vector<Conversion>& cases) {
    for (const auto& c : cases) {
        const double got = units.CalculateUnitValue(c.value, c.from, c.to);
        EXPECT_NEAR(got, c.expected, c.relTol * std::max(std::abs(c.expected), 1.0))
            << c.value << " from " << c.from << " to " << c.to;
    }
}

int32_t ErrorOf(const clsPROFIBUSProfil3Units& units, double value, int32_t from, int32_t to) {
    try {
        units.CalculateUnitValue(value, from, to);
    } catch (const ComError& e) {
        return e.number;
    }
    return 0;
}

TEST_F(UnitTable, ConvertsWithFactorsAndOffsets) {
    ExpectConversions(units, {
        {25, 1001, 1000, 298.15, 1e-12},      // °C → K
        {212, 1002, 1001, 100, 1e-12},        // °F → °C
        {1, 1088, 1094, 2.204623, 1e-12},     // kg → lb
        {3600, 1324, 1322, 1, 1e-12},         // kg/h → kg/s
        {100000, 1130, 1137, 1, 1e-12},       // Pa → bar
        {14.5, 1143, 1130, 201299, 1e-5},     // psig → absolute Pa
        {101325, 1130, 1143, 0, 1e-12},       // atmospheric pressure is 0 psig
        {50, 1342, 1322, 50, 0},              // % has no factor: passed over
        {50, 1322, 1342, 50, 0},
        {7, 1995, 1322, 7, 0},                // textual units convert by factor 1
    });
}

TEST_F(UnitTable, RefusedConversionsKeepTheValue) {
    units.SetUnitInformation(950, 1, 0, "t/h", "", Variant::Lng(dtm::uccMass));
    units.SetUnitInformation(951, 1, 0, "kg/h", "", Variant::Lng(dtm::uccMass));
    const struct {
        int32_t from, to;
        const char* why;
    } cases[] = {
        {1001, 1010, "different classes"},
        {1322, 1322, "same code"},
        {950, 1001, "constant unit"},
        {1001, 950, "constant unit as target"},
        {950, 951, "two constant units"},
        {1380, 1001, "unregistered code"},
        {1001, 1521, "unregistered target"},
        {0, 1001, "code 0"},
        {1001, 2001, "code above the table"},
        {899, 1001, "code below the table"},
        {1342, 1001, "factor-0 unit of another class"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(units.CalculateUnitValue(5, c.from, c.to), 5) << c.why;
        // A refused conversion never computes, so it cannot overflow either.
        EXPECT_EQ(units.CalculateUnitValue(kMax, c.from, c.to), kMax) << c.why;
    }
}

TEST_F(UnitTable, OverflowRaisesError6) {
    EXPECT_EQ(ErrorOf(units, kMax, 1088, 1089), 6);   // into the new unit: kg → g
    EXPECT_EQ(ErrorOf(units, -kMax, 1011, 1010), 6);  // into the base unit: km → m
    EXPECT_EQ(ErrorOf(units, 1e300, 1354, 1496), 0);  // large but finite
    // Values that are already infinite or NaN pass through without an error.
    EXPECT_EQ(units.CalculateUnitValue(kInf, 1088, 1089), kInf);
    EXPECT_TRUE(std::isnan(units.CalculateUnitValue(std::nan(""), 1088, 1089)));
}

TEST_F(UnitTable, TextsAndHelpKeysByCode) {
    EXPECT_EQ(units.PROFIBUSProfil3UnitString(1001), "°C");
    EXPECT_EQ(units.PROFIBUSProfil3UnitString(1014), "µm");
    EXPECT_EQ(units.PROFIBUSProfil3UnitString(1560), "%Sät");
    EXPECT_EQ(units.PROFIBUSProfil3UnitString(1998), "Unknown");
    EXPECT_EQ(units.PROFIBUSProfil3UnitHelpKey(1000), "unit_1000_help");
    EXPECT_EQ(units.PROFIBUSProfil3UnitHelpKey(1566), "unit_1566_help");
    EXPECT_EQ(units.PROFIBUSProfil3UnitHelpKey(1996), "");
    for (int32_t code : {899, 900, 950, 999, 1380, 1521, 1567, 1994, 2000, 2001, 0, -1}) {
        EXPECT_EQ(units.PROFIBUSProfil3UnitString(code), "") << code;
        EXPECT_EQ(units.PROFIBUSProfil3UnitHelpKey(code), "") << code;
    }
}

TEST_F(UnitTable, CodeByText) {
    const struct {
        const char* text;
        int32_t code;
    } cases[] = {
        {"kg/s", 1322},  {"  kg/s  ", 1322}, {"KG/S", 0},      {"\tkg/s", 0},
        {"pH", 1274},    {"mg/l", 1558},     {"°C", 1001},     {"µS/cm", 1552},
        {"", 1995},      {"   ", 1995},      {"Special", 1999}, {"no such unit", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(units.PROFIBUSProfil3UnitIndex(c.text), c.code) << c.text;
}

TEST_F(UnitTable, CodeByTextFollowsChangedTexts) {
    units.PROFIBUSProfil3UnitString(1322, "Kilogramm/s");
    EXPECT_EQ(units.PROFIBUSProfil3UnitIndex("kg/s"), 0);
    EXPECT_EQ(units.PROFIBUSProfil3UnitIndex("Kilogramm/s"), 1322);
    EXPECT_EQ(units.PROFIBUSProfil3UnitString(1322), "Kilogramm/s");

    // A constant unit is searched first, so it wins over a profile unit with the same text.
    units.SetUnitInformation(903, 0, 0, "%", "help");
    EXPECT_EQ(units.PROFIBUSProfil3UnitIndex("%"), 903);
    units.SetUnitInformation(951, 1, 0, "", "");
    EXPECT_EQ(units.PROFIBUSProfil3UnitIndex(""), 951);
    units.SetUnitInformation(951, 1, 0, "MyUnit", "");
    EXPECT_EQ(units.PROFIBUSProfil3UnitIndex(""), 1995);
    EXPECT_EQ(units.PROFIBUSProfil3UnitIndex("MyUnit"), 951);
}

TEST_F(UnitTable, WritesNeverRegisterARow) {
    units.PROFIBUSProfil3UnitString(1380, "x");
    units.PROFIBUSProfil3UnitHelpKey(1380, "x_help");
    units.PROFIBUSProfil3UnitString(2001, "x");
    EXPECT_EQ(units.PROFIBUSProfil3UnitString(1380), "");
    EXPECT_EQ(units.PROFIBUSProfil3UnitHelpKey(1380), "");
    EXPECT_EQ(units.PROFIBUSProfil3UnitIndex("x"), 0);
    EXPECT_EQ(units.CalculateUnitValue(5, 1380, 1001), 5);

    units.PROFIBUSProfil3UnitHelpKey(1001, "celsius_help");
    EXPECT_EQ(units.PROFIBUSProfil3UnitHelpKey(1001), "celsius_help");
}

TEST_F(UnitTable, SetUnitInformation) {
    // Constant codes keep only the texts and never convert.
    units.SetUnitInformation(950, 2, 3, "s", "help", Variant::Lng(dtm::uccTime));
    EXPECT_EQ(units.PROFIBUSProfil3UnitString(950), "s");
    EXPECT_EQ(units.PROFIBUSProfil3UnitHelpKey(950), "help");
    EXPECT_EQ(units.CalculateUnitValue(5, 950, 1054), 5);

    // Profile codes: the class argument decides which units convert.
    units.SetUnitInformation(1600, 1000, 0, "g*", "", Variant::Lng(dtm::uccMass));
    units.SetUnitInformation(1601, 1000, 0, "g/s*", "");
    units.SetUnitInformation(1602, 1000, 0, "g/s**", "", Variant());
    units.SetUnitInformation(1603, 1000, 0, "g**", "", Variant("13"));
    ExpectConversions(units, {
        {2, 1088, 1600, 2000, 1e-12},
        {2, 1600, 1603, 2, 1e-12},
        {2, 1322, 1601, 2000, 1e-12},
        {2, 1322, 1602, 2000, 1e-12},
        {2, 1322, 1600, 2, 0},
    });

    // Registering again overwrites the row; codes outside the table are ignored.
    units.SetUnitInformation(1089, 1e6, 0, "gram", "", Variant::Lng(dtm::uccMass));
    EXPECT_EQ(units.CalculateUnitValue(1, 1088, 1089), 1e6);
    EXPECT_EQ(units.PROFIBUSProfil3UnitIndex("gram"), 1089);
    units.SetUnitInformation(899, 1, 0, "x", "");
    units.SetUnitInformation(2001, 1, 0, "x", "");
    EXPECT_EQ(units.PROFIBUSProfil3UnitIndex("x"), 0);
}

// The rows registered at creation are exactly the profile's codes with their classes.
TEST_F(UnitTable, RegisteredRows) {
    std::set<int32_t> expected;
    for (auto [lo, hi] : {std::pair{1000, 1379}, {1381, 1520}, {1551, 1566}, {1995, 1999}})
        for (int32_t c = lo; c <= hi; ++c) expected.insert(c);
    // A registered row shows a text or a help key; only 1995 has neither.
    std::set<int32_t> shown;
    for (int32_t c = 900; c <= 2000; ++c)
        if (!units.PROFIBUSProfil3UnitString(c).empty() ||
            !units.PROFIBUSProfil3UnitHelpKey(c).empty())
            shown.insert(c);
    shown.insert(1995);
    EXPECT_EQ(shown, expected);

    const auto rows = dtm::ProfileUnitRows();
    ASSERT_EQ(rows.size(), 541u);
    std::map<int32_t, int> perClass;
    std::set<int32_t> zeroFactor;
    int32_t previous = 0;
    for (const auto& row : rows) {
        EXPECT_GT(row.code, previous);
        previous = row.code;
        EXPECT_TRUE(expected.count(row.code)) << row.code;
        EXPECT_EQ(units.PROFIBUSProfil3UnitString(row.code), row.text) << row.code;
        EXPECT_EQ(row.code <= 1096, row.unitClass != dtm::uccCalc) << row.code;
        EXPECT_TRUE(std::isfinite(row.faktor) && row.faktor >= 0) << row.code;
        ++perClass[row.unitClass];
        if (row.faktor == 0) zeroFactor.insert(row.code);
    }
    const std::map<int32_t, int> expectedPerClass = {
        {dtm::uccCalc, 444},        {dtm::uccTemp, 4},      {dtm::uccAngle, 6},
        {dtm::uccLen, 13},          {dtm::uccArea, 11},     {dtm::uccVolume, 20},
        {dtm::uccTime, 7},          {dtm::uccVelocity, 15}, {dtm::uccAcceleration, 1},
        {dtm::uccFrequency, 7},     {dtm::uccAngleVelocity, 3},
        {dtm::uccAngleAcceleration, 1}, {dtm::uccMass, 9},
    };
    EXPECT_EQ(perClass, expectedPerClass);
    const std::set<int32_t> expectedZero = {1110, 1111, 1112, 1113, 1114, 1342, 1343,
                                            1344, 1345, 1346, 1422, 1426, 1427, 1428,
                                            1429, 1557, 1560, 1561, 1562};
    EXPECT_EQ(zeroFactor, expectedZero);
}

// Texts pinned independently of the table: the first and last row of every
// class, the rows around the gaps, and texts with blanks, brackets and
// non-ASCII characters, so that a shifted or mistyped row shows.
TEST_F(UnitTable, TextsAtClassBoundariesGapsAndSpecialCharacters) {
    const struct {
        int32_t code;
        const char* text;
        dtm::UnitCalcClass unitClass;
    } cases[] = {
        {1000, "K", dtm::uccTemp},           {1003, "°R", dtm::uccTemp},
        {1004, "r", dtm::uccAngle},          {1009, "rev", dtm::uccAngle},
        {1010, "m", dtm::uccLen},            {1022, "Seemeile", dtm::uccLen},
        {1023, "m²", dtm::uccArea},          {1033, "mile²", dtm::uccArea},
        {1034, "m³", dtm::uccVolume},        {1053, "SCF", dtm::uccVolume},
        {1054, "s", dtm::uccTime},           {1060, "d", dtm::uccTime},
        {1061, "m/s", dtm::uccVelocity},     {1075, "MPH", dtm::uccVelocity},
        {1076, "m/s²", dtm::uccAcceleration}, {1077, "Hz", dtm::uccFrequency},
        {1083, "1/min", dtm::uccFrequency},  {1084, "Rev/s", dtm::uccAngleVelocity},
        {1086, "r/s", dtm::uccAngleVelocity}, {1087, "1/s²", dtm::uccAngleAcceleration},
        {1088, "kg", dtm::uccMass},          {1096, "LTon", dtm::uccMass},
        {1097, "kg/m³", dtm::uccCalc},       {1111, "degBaum hv", dtm::uccCalc},
        {1119, "kg m/s", dtm::uccCalc},      {1147, "inH2O (4°C)", dtm::uccCalc},
        {1297, "µOhm m", dtm::uccCalc},      {1308, "W/(m²)", dtm::uccCalc},
        {1345, "% stm qual", dtm::uccCalc},  {1379, "Pa-s/m³", dtm::uccCalc},
        {1381, "Pa-s/m", dtm::uccCalc},      {1447, "Btu/day", dtm::uccCalc},
        {1520, "kL/d", dtm::uccCalc},        {1551, "S/cm", dtm::uccCalc},
        {1555, "MOHM*cm", dtm::uccCalc},     {1560, "%Sät", dtm::uccCalc},
        {1564, "mg/dm3", dtm::uccCalc},      {1566, "mg/m³", dtm::uccCalc},
        {1995, "", dtm::uccCalc},            {1996, "Not used", dtm::uccCalc},
        {1999, "Special", dtm::uccCalc},
    };
    std::map<int32_t, const dtm::ProfileUnitRow*> byCode;
    for (const auto& row : dtm::ProfileUnitRows()) byCode[row.code] = &row;
    for (const auto& c : cases) {
        ASSERT_TRUE(byCode.count(c.code)) << c.code;
        EXPECT_EQ(byCode[c.code]->text, c.text) << c.code;
        EXPECT_EQ(byCode[c.code]->unitClass, c.unitClass) << c.code;
        EXPECT_EQ(units.PROFIBUSProfil3UnitString(c.code), c.text) << c.code;
    }
}

// Every registered unit converts into its kind's base unit and back to the same value.
TEST_F(UnitTable, EveryUnitRoundTripsThroughItsBaseUnit) {
    std::map<int32_t, int32_t> baseOfClass;
    for (const auto& row : dtm::ProfileUnitRows())
        if (row.faktor == 1 && row.offset == 0) baseOfClass.emplace(row.unitClass, row.code);
    for (const auto& row : dtm::ProfileUnitRows()) {
        ASSERT_TRUE(baseOfClass.count(row.unitClass)) << row.code;
        const int32_t base = baseOfClass[row.unitClass];
        const double value = 123.456;
        const double inBase = units.CalculateUnitValue(value, row.code, base);
        const double back = units.CalculateUnitValue(inBase, base, row.code);
        EXPECT_TRUE(std::isfinite(inBase) && inBase != 0) << row.code;
        EXPECT_NEAR(back, value, 1e-12 * value) << row.code << " " << row.text;
    }
}

// Factors checked against independent definitions of the units.
TEST_F(UnitTable, FactorsMatchKnownValues) {
    constexpr double rounded = 1e-6;  // a side whose factor is a rounded value
    constexpr double exact = 1e-12;
    ExpectConversions(units, {
        {1, 1094, 1088, 0.45359237, rounded},    // lb → kg
        {1, 1093, 1089, 28.349523125, exact},    // oz → g
        {1, 1095, 1088, 907.18474, exact},       // STon → kg
        {1, 1096, 1094, 2240, rounded},          // LTon → lb
        {1, 1091, 1092, 1, exact},               // Mg → t
        {1, 1048, 1038, 3.785411784, rounded},   // US gallon → L
        {1, 1049, 1038, 4.54609, exact},         // ImpGal → L
        {1, 1051, 1048, 42, rounded},            // bbl → gallon
        {1, 1052, 1048, 31.5, rounded},          // bbl (liq) → gallon
        {1, 1047, 1046, 2, exact},               // quart → pint
        {1, 1050, 1038, 35.23907016688, exact},  // bushel → L
        {1, 1043, 1038, 28.316846592, exact},    // ft³ → L
        {1, 1053, 1042, 1728, exact},            // SCF → in³
        {1, 1044, 1043, 27, exact},              // yd³ → ft³
        {1, 1137, 1130, 100000, exact},          // bar → Pa
        {1, 1140, 1139, 760, exact},             // atm → torr
        {1, 1141, 1130, 6894.757293168, rounded},  // psi → Pa
        {1, 1142, 1130, 6894.757293168, exact},  // psia → Pa
        {1, 1145, 1130, 98066.5, exact},         // kg/cm² → Pa
        {1, 1144, 1138, 0.980665, exact},        // g/cm² → mbar
        {1, 1157, 1130, 133.322387415, exact},   // mmHg → Pa
        {1, 1155, 1157, 25.4, exact},            // inHg → mmHg
        {1, 1146, 1130, 249.08891, 1e-7},        // inH2O → Pa
        {1, 1152, 1146, 12, exact},              // ftH2O → inH2O
        {1, 1149, 1130, 9.80665, exact},         // mmH2O → Pa
        {1, 1151, 1130, 9.789067657215, exact},  // mmH2O (68°F) → Pa: water at 998.2071 kg/m³
        {1, 1150, 1130, 9.80637541, 1e-9},      // mmH2O (4°C) → Pa: water at 999.972 kg/m³
        {1, 1021, 1011, 1.609344, exact},        // mile → km
        {1, 1022, 1010, 1852, exact},            // nautical mile → m
        {1, 1020, 1019, 36, exact},              // yd → in
        {1, 1018, 1010, 0.3048, rounded},        // ft → m
        {1, 1017, 1015, 0.1, exact},             // Å → nm
        {1, 1033, 1024, 2.589988110336, exact},  // mile² → km²
        {1, 1029, 1023, 10000, exact},           // ha → m²
        {1, 1028, 1026, 10000, exact},           // a → dm²
        {1, 1065, 1064, 1.852, exact},           // knot → km/h
        {60, 1075, 1064, 96.56064, exact},       // MPH → km/h
        {1, 1070, 1066, 0.2, exact},             // ft/min → in/s
        {1, 1060, 1059, 24, rounded},            // d → h
        {1, 1060, 1054, 86400, exact},           // d → s
        {1, 1059, 1058, 60, rounded},            // h → min
        {1, 1009, 1005, 360, rounded},           // rev → °
        {1, 1008, 1007, 3240, exact},            // gon → ''
        {1, 1006, 1007, 60, exact},              // ' → ''
        {1, 1086, 1085, 9.549296585513720, exact},  // rad/s → RPM
        {1, 1083, 1077, 1.0 / 60, exact},        // 1/min → Hz
        {1, 1078, 1081, 1e9, exact},             // THz → kHz
        {1, 1179, 1172, 3.6, exact},             // kWh → MJ
        {1, 1181, 1173, 4.1868, exact},          // kcal → kJ
        {1, 1183, 1167, 1055.05585262, exact},   // Btu → J
        {1, 1184, 1171, 1.05505585262, exact},   // decatherm → GJ
        {1, 1516, 1208, 2.326, exact},           // Btu/lb → kJ/kg
        {1, 1185, 1167, 1.3558179483314004, exact},  // ft-lb → J
        {1, 1198, 1186, 745.6998715822702, exact},   // hp → W
        {1, 1197, 1186, 0.29307107017222, exact},    // Btu/h → W
        {1, 1162, 1159, 0.001, exact},           // cP → Pa-s
        {1, 1164, 1160, 1e-6, exact},            // cSt → m²/s
        {1, 1100, 1097, 1000, exact},            // g/cm³ → kg/m³
        {1, 1107, 1097, 16.018463373960138, exact},  // lb/ft³ → kg/m³
        {1, 1108, 1105, 119.82642731689663, exact},  // lb/gal → g/L
        {1, 1109, 1097, 1186.552842515566, exact},      // STon/yd³ → kg/m³
        {1, 1328, 1322, 1 / 3.6, exact},         // t/h → kg/s
        {1, 1332, 1324, 0.45359237, exact},      // lb/h → kg/h
        {1, 1363, 1349, 0.2271247056, rounded},  // GPM → m³/h
        {1, 1349, 1352, 1000.0 / 60, exact},     // m³/h → L/min
        {1, 1366, 1350, 3785.411784, exact},     // Mgal/d → m³/d
        {1, 1357, 1349, 1.6990108, 1e-7},        // CFM → m³/h
        {1, 1355, 1350, 1000, exact},            // ML/d → m³/d
        {1, 1510, 1347, 1e6 / 86400, exact},     // Mm³/d → m³/s
        {1, 1496, 1351, 1, exact},               // mm³/s (milli cubic metre) → L/s
        {1, 1511, 1351, 0.001, exact},           // cm³/s → L/s
        {1, 1563, 1353, 0.06, exact},            // ml/min → L/h
        {1, 1518, 1349, 60, exact},              // kL/min → m³/h
        {1, 1302, 1552, 1000, exact},            // mS/cm → µS/cm
        {1, 1555, 1291, 1e4, exact},             // MOHM*cm → Ohm-m
        {1, 1295, 1291, 0.01, exact},            // Ohm-cm → Ohm-m
        {1, 1416, 1414, 2.58e-4, exact},         // R → C/kg
        {1, 1410, 1408, 0.01, exact},            // rad → Gy
        {1, 1418, 1417, 6.241509074460763e18, exact},  // 1/(eV·m³) → 1/(J·m³)
        {1, 1423, 1424, 1000, exact},            // ppm → ppb
        {1, 1382, 1383, 10, exact},              // B → dB
        {1, 1558, 1566, 1000, exact},            // mg/l → mg/m³
        {0, 1000, 1002, -459.67, exact},         // K → °F
        {491.67, 1003, 1000, 273.15, exact},     // °R → K
        {-40, 1001, 1002, -40, exact},           // °C → °F
        {100, 1001, 1002, 212, exact},
        {32, 1002, 1000, 273.15, exact},         // °F → K
        {0, 1000, 1003, 0, exact},               // K → °R
    });
}

// Units of one family differ only by their time base or metric prefix;
// their factors must keep those ratios.
TEST_F(UnitTable, FamiliesKeepTheirRatios) {
    std::map<std::string, const dtm::ProfileUnitRow*> byText;
    for (const auto& row : dtm::ProfileUnitRows())
        if (row.faktor != 0) byText.emplace(std::string(row.text), &row);

    const std::map<std::string, double> seconds = {
        {"s", 1}, {"min", 60}, {"h", 3600}, {"d", 86400}, {"day", 86400}};
    std::map<std::string, std::vector<std::pair<const dtm::ProfileUnitRow*, double>>> perStem;
    for (const auto& [text, row] : byText) {
        const auto slash = text.rfind('/');
        if (slash == std::string::npos) continue;
        const auto it = seconds.find(text.substr(slash + 1));
        if (it != seconds.end()) perStem[text.substr(0, slash)].push_back({row, it->second});
    }
    int timeChecks = 0;
    for (const auto& [stem, members] : perStem)
        for (const auto& [row, sec] : members) {
            const auto& [first, firstSec] = members.front();
            if (row == first || row->unitClass != first->unitClass) continue;
            const double perSecond = first->faktor / firstSec;
            EXPECT_NEAR(row->faktor / sec, perSecond, 1e-12 * perSecond)
                << row->text << " against " << first->text;
            ++timeChecks;
        }
    EXPECT_GT(timeChecks, 100);

    const std::pair<const char*, double> prefixes[] = {
        {"E", 1e18}, {"P", 1e15}, {"T", 1e12}, {"G", 1e9},  {"M", 1e6},
        {"k", 1e3},  {"K", 1e3},  {"h", 1e2},  {"d", 1e-1}, {"c", 1e-2},
        {"m", 1e-3}, {"µ", 1e-6}, {"n", 1e-9}, {"p", 1e-12}};
    int prefixChecks = 0;
    for (const auto& [text, row] : byText)
        for (const auto& [prefix, scale] : prefixes) {
            if (text.size() <= std::string(prefix).size() || !text.starts_with(prefix)) continue;
            const auto it = byText.find(text.substr(std::string(prefix).size()));
            if (it == byText.end() || it->second->unitClass != row->unitClass) continue;
            // A prefix on a squared or cubed unit scales the length ("km²"): not this rule.
            const std::string firstToken = it->first.substr(0, it->first.find_first_of("/-( *"));
            if (firstToken.find("²") != std::string::npos ||
                firstToken.find("³") != std::string::npos)
                continue;
            EXPECT_NEAR(row->faktor * scale, it->second->faktor, 1e-12 * it->second->faktor)
                << text << " against " << it->first;
            ++prefixChecks;
        }
    EXPECT_GT(prefixChecks, 150);
}

}  // namespace

namespace {

// Tables start as one shared table: what one changes, and the language it
// takes, stay its own; the same language gives both the same texts.
TEST_F(UnitTable, ChangesAndLanguagesStayWithTheirTable) {
    clsPROFIBUSProfil3Units other;
    units.SetUnitInformation(903, 0, 0, "%", "help");
    units.PROFIBUSProfil3UnitString(1322, "Kilogramm/s");
    EXPECT_EQ(other.PROFIBUSProfil3UnitString(903), "");
    EXPECT_EQ(other.PROFIBUSProfil3UnitString(1322), "kg/s");
    EXPECT_EQ(other.PROFIBUSProfil3UnitIndex("kg/s"), 1322);

    const auto german = std::make_shared<int>(1031);
    const auto textOf = [](int32_t code) -> std::optional<std::string> {
        if (code == 1001) return std::string("Grad C");
        if (code == 903) return std::string("Prozent");
        return std::nullopt;
    };
    units.SetLanguageTexts(german, textOf);
    EXPECT_EQ(units.PROFIBUSProfil3UnitString(1001), "Grad C");
    EXPECT_EQ(units.PROFIBUSProfil3UnitString(903), "Prozent");  // its own row takes the language too
    EXPECT_EQ(units.PROFIBUSProfil3UnitString(1322), "Kilogramm/s");  // no text in the language: kept
    EXPECT_EQ(units.PROFIBUSProfil3UnitIndex("Grad C"), 1001);
    EXPECT_EQ(other.PROFIBUSProfil3UnitString(1001), "°C");

    other.SetLanguageTexts(german, textOf);
    EXPECT_EQ(other.PROFIBUSProfil3UnitString(1001), "Grad C");
    EXPECT_EQ(other.PROFIBUSProfil3UnitString(903), "");  // never registered there
    EXPECT_EQ(other.PROFIBUSProfil3UnitIndex("Kilogramm/s"), 0);
}

}  // namespace

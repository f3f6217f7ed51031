#include "model/elements/clsPROFIBUSProfil3Units.h"

#include <array>
#include <cmath>
#include <mutex>
#include <unordered_map>
#include <vector>
#include <utility>

#include "platform/com/Error.h"

namespace dtm {
namespace {

// SI values of the units the factors below are derived from.
constexpr double kPi = 3.14159265358979323846;
constexpr double kMinute = 60;                    // s
constexpr double kHour = 3600;                    // s
constexpr double kDay = 86400;                    // s
constexpr double kInch = 0.0254;                  // m
constexpr double kFoot = 0.3048;                  // m
constexpr double kYard = 0.9144;                  // m
constexpr double kMile = 1609.344;                // m, statute mile
constexpr double kNauticalMile = 1852;            // m
constexpr double kCubicInch = kInch * kInch * kInch;  // m³
constexpr double kCubicFoot = kFoot * kFoot * kFoot;  // m³
constexpr double kCubicYard = kYard * kYard * kYard;  // m³
constexpr double kUsGallon = 3.785411784e-3;      // m³, US liquid gallon
constexpr double kUsPint = kUsGallon / 8;         // m³, US liquid pint
constexpr double kUsQuart = kUsGallon / 4;        // m³, US liquid quart
constexpr double kImpGallon = 4.54609e-3;         // m³
constexpr double kUsBushel = 35.23907016688e-3;   // m³
constexpr double kOilBarrel = 42 * kUsGallon;     // m³, "bbl": petroleum barrel
constexpr double kLiquidBarrel = 31.5 * kUsGallon;  // m³, "bbl (liq)": US liquid barrel
constexpr double kPound = 0.45359237;             // kg
constexpr double kOunce = kPound / 16;            // kg, avoirdupois
constexpr double kShortTon = 2000 * kPound;       // kg
constexpr double kLongTon = 2240 * kPound;        // kg
constexpr double kStandardGravity = 9.80665;      // m/s²
constexpr double kAtmosphere = 101325;            // Pa
constexpr double kPsi = kPound * kStandardGravity / (kInch * kInch);  // Pa
// Densities (kg/m³) behind the liquid-column pressure units: the conventional
// water column, water at 4 °C and at 20 °C (68 °F), and conventional mercury
// (its density at 0 °C).
constexpr double kWaterConventional = 1000;
constexpr double kWater4C = 999.972;
constexpr double kWater68F = 998.2071;
constexpr double kMercury0C = 13595.1;
constexpr double kWattHour = 3600;                // J
constexpr double kCalorie = 4.1868;               // J, international table calorie
constexpr double kBtu = 1055.05585262;            // J, international table Btu
constexpr double kFootPound = kFoot * kPound * kStandardGravity;  // J, foot pound-force
constexpr double kHorsepower = 550 * kFootPound;  // W, mechanical horsepower
constexpr double kElectronvolt = 1.602176634e-19;  // J
constexpr double kRoentgen = 2.58e-4;             // C/kg

// The profile units: code, text, faktor (steps of the unit in one base unit
// of its kind), Offset (shift of the scale, in base units) and class.
// Base units: °C, rad, m, m², m³, s, m/s, m/s², Hz, revolutions per second,
// rad/s², kg; for uccCalc the coherent SI unit of each quantity (kg/m³, Pa,
// J, W, kg/s, m³/s, ...), so that units of one quantity convert.
// Rows marked "// *" keep the table's established factors, some of them
// rounded; every other factor is derived from the unit's SI definition with
// the constants above. Choices where a text leaves the unit open: "quart" and
// "pint" are US liquid measures, "bushel" the US bushel, "SCF"/"SCFM"/"SCFH"
// count cubic feet, a water column without temperature is the conventional
// one (1000 kg/m³), "inHg"/"mmHg" are the conventional mercury columns, "cal"
// and "Btu" the international table units, "ppt" is parts per trillion, "R"
// the röntgen, "rad" and "rem" the dose units, and in the prefixed volume-flow
// families (µgal/s ... Mm³/d) the prefix scales the whole volume unit
// ("mm³/s" = 10⁻³ m³/s, like "mgal/s").
constexpr ProfileUnitRow kProfileUnits[] = {
    {1000, "K", 1, 273.15, uccTemp}, // *
    {1001, "°C", 1, 0, uccTemp}, // *
    {1002, "°F", 1.8, 32 / 1.8, uccTemp}, // *
    {1003, "°R", 1.8, 273.15, uccTemp}, // *
    {1004, "r", 1, 0, uccAngle}, // *
    {1005, "°", 57.29578, 0, uccAngle}, // *
    {1006, "'", 180 * 60 / kPi, 0, uccAngle},
    {1007, "''", 180 * 3600 / kPi, 0, uccAngle},
    {1008, "gon", 200 / kPi, 0, uccAngle},
    {1009, "rev", 1 / (2 * kPi), 0, uccAngle},
    {1010, "m", 1, 0, uccLen}, // *
    {1011, "km", 1e-3, 0, uccLen},
    {1012, "cm", 1e2, 0, uccLen},
    {1013, "mm", 1e3, 0, uccLen},
    {1014, "µm", 1e6, 0, uccLen},
    {1015, "nm", 1e9, 0, uccLen},
    {1016, "pm", 1e12, 0, uccLen},
    {1017, "Å", 1e10, 0, uccLen},
    {1018, "ft", 3.28084, 0, uccLen}, // *
    {1019, "in", 1 / kInch, 0, uccLen},
    {1020, "yd", 1 / kYard, 0, uccLen},
    {1021, "Mile", 1 / kMile, 0, uccLen},
    {1022, "Seemeile", 1 / kNauticalMile, 0, uccLen},
    {1023, "m²", 1, 0, uccArea},
    {1024, "km²", 1e-6, 0, uccArea},
    {1025, "cm²", 1e4, 0, uccArea},
    {1026, "dm²", 1e2, 0, uccArea},
    {1027, "mm²", 1e6, 0, uccArea},
    {1028, "a", 1e-2, 0, uccArea},
    {1029, "ha", 1e-4, 0, uccArea},
    {1030, "in²", 1 / (kInch * kInch), 0, uccArea},
    {1031, "ft²", 1 / (kFoot * kFoot), 0, uccArea},
    {1032, "yd²", 1 / (kYard * kYard), 0, uccArea},
    {1033, "mile²", 1 / (kMile * kMile), 0, uccArea},
    {1034, "m³", 1, 0, uccVolume}, // *
    {1035, "dm³", 1e3, 0, uccVolume},
    {1036, "cm³", 1e6, 0, uccVolume},
    {1037, "mm³", 1e9, 0, uccVolume},
    {1038, "L", 1000, 0, uccVolume}, // *
    {1039, "cl", 1e5, 0, uccVolume},
    {1040, "ml", 1e6, 0, uccVolume},
    {1041, "hl", 10, 0, uccVolume},
    {1042, "in³", 1 / kCubicInch, 0, uccVolume},
    {1043, "ft³", 1 / kCubicFoot, 0, uccVolume},
    {1044, "yd³", 1 / kCubicYard, 0, uccVolume},
    {1045, "mile³", 1 / (kMile * kMile * kMile), 0, uccVolume},
    {1046, "pint", 1 / kUsPint, 0, uccVolume},
    {1047, "quart", 1 / kUsQuart, 0, uccVolume},
    {1048, "gallon", 264.1721, 0, uccVolume}, // *
    {1049, "ImpGal", 1 / kImpGallon, 0, uccVolume},
    {1050, "bushel", 1 / kUsBushel, 0, uccVolume},
    {1051, "bbl", 1 / kOilBarrel, 0, uccVolume},
    {1052, "bbl (liq)", 1 / kLiquidBarrel, 0, uccVolume},
    {1053, "SCF", 1 / kCubicFoot, 0, uccVolume},
    {1054, "s", 1, 0, uccTime}, // *
    {1055, "ks", 1e-3, 0, uccTime},
    {1056, "ms", 1e3, 0, uccTime},
    {1057, "µs", 1e6, 0, uccTime},
    {1058, "min", 0.01666666, 0, uccTime}, // *
    {1059, "h", 0.0002777777, 0, uccTime}, // *
    {1060, "d", 1 / kDay, 0, uccTime},
    {1061, "m/s", 1, 0, uccVelocity}, // *
    {1062, "mm/s", 1e3, 0, uccVelocity},
    {1063, "m/h", kHour, 0, uccVelocity},
    {1064, "km/h", 3.6, 0, uccVelocity}, // *
    {1065, "knot", kHour / kNauticalMile, 0, uccVelocity},
    {1066, "in/s", 1 / kInch, 0, uccVelocity},
    {1067, "ft/s", 1 / kFoot, 0, uccVelocity},
    {1068, "yd/s", 1 / kYard, 0, uccVelocity},
    {1069, "in/min", kMinute / kInch, 0, uccVelocity},
    {1070, "ft/min", kMinute / kFoot, 0, uccVelocity},
    {1071, "yd/min", kMinute / kYard, 0, uccVelocity},
    {1072, "in/h", kHour / kInch, 0, uccVelocity},
    {1073, "ft/h", kHour / kFoot, 0, uccVelocity},
    {1074, "yd/h", kHour / kYard, 0, uccVelocity},
    {1075, "MPH", kHour / kMile, 0, uccVelocity},
    {1076, "m/s²", 1, 0, uccAcceleration},
    {1077, "Hz", 1, 0, uccFrequency}, // *
    {1078, "THz", 1e-12, 0, uccFrequency},
    {1079, "GHz", 1e-9, 0, uccFrequency},
    {1080, "MHz", 1e-6, 0, uccFrequency},
    {1081, "kHz", 1e-3, 0, uccFrequency},
    {1082, "1/s", 1, 0, uccFrequency},
    {1083, "1/min", 60, 0, uccFrequency}, // *
    {1084, "Rev/s", 1, 0, uccAngleVelocity}, // *
    {1085, "RPM", 60, 0, uccAngleVelocity}, // *
    {1086, "r/s", 2 * kPi, 0, uccAngleVelocity},
    {1087, "1/s²", 1, 0, uccAngleAcceleration},
    {1088, "kg", 1, 0, uccMass}, // *
    {1089, "g", 1e3, 0, uccMass},
    {1090, "mg", 1e6, 0, uccMass},
    {1091, "Mg", 1e-3, 0, uccMass},
    {1092, "t", 1e-3, 0, uccMass},
    {1093, "oz", 1 / kOunce, 0, uccMass},
    {1094, "lb", 2.204623, 0, uccMass}, // *
    {1095, "STon", 1 / kShortTon, 0, uccMass},
    {1096, "LTon", 1 / kLongTon, 0, uccMass},
    {1097, "kg/m³", 1, 0, uccCalc}, // *
    {1098, "Mg/m³", 1e-3, 0, uccCalc},
    {1099, "kg/dm³", 1e-3, 0, uccCalc},
    {1100, "g/cm³", 0.001, 0, uccCalc}, // *
    {1101, "g/m³", 1e3, 0, uccCalc},
    {1102, "t/m³", 1e-3, 0, uccCalc},
    {1103, "kg/L", 1e-3, 0, uccCalc},
    {1104, "g/ml", 1e-3, 0, uccCalc},
    {1105, "g/L", 1, 0, uccCalc},
    {1106, "lb/in³", kCubicInch / kPound, 0, uccCalc},
    {1107, "lb/ft³", kCubicFoot / kPound, 0, uccCalc},
    {1108, "lb/gal", kUsGallon / kPound, 0, uccCalc},
    {1109, "STon/yd³", kCubicYard / kShortTon, 0, uccCalc},
    {1110, "degTwad", 0, 0, uccCalc},
    {1111, "degBaum hv", 0, 0, uccCalc},
    {1112, "degBaum lt", 0, 0, uccCalc},
    {1113, "degAPI", 0, 0, uccCalc},
    {1114, "SGU", 0, 0, uccCalc},
    {1115, "kg/m", 1, 0, uccCalc},
    {1116, "mg/m", 1e6, 0, uccCalc},
    {1117, "tex", 1e6, 0, uccCalc},
    {1118, "kg/m²", 1, 0, uccCalc},
    {1119, "kg m/s", 1, 0, uccCalc},
    {1120, "N", 1, 0, uccCalc},
    {1121, "MN", 1e-6, 0, uccCalc},
    {1122, "kN", 1e-3, 0, uccCalc},
    {1123, "mN", 1e3, 0, uccCalc},
    {1124, "µN", 1e6, 0, uccCalc},
    {1125, "kg-m²/s", 1, 0, uccCalc},
    {1126, "Nm", 1, 0, uccCalc},
    {1127, "MNm", 1e-6, 0, uccCalc},
    {1128, "kNm", 1e-3, 0, uccCalc},
    {1129, "mNm", 1e3, 0, uccCalc},
    {1130, "Pa", 1, 0, uccCalc}, // *
    {1131, "GPa", 1e-9, 0, uccCalc},
    {1132, "MPa", 1e-6, 0, uccCalc},
    {1133, "kPa", 1e-3, 0, uccCalc},
    {1134, "mPa", 1e3, 0, uccCalc},
    {1135, "µPa", 1e6, 0, uccCalc},
    {1136, "hPa", 1e-2, 0, uccCalc},
    {1137, "bar", 0.00001, 0, uccCalc}, // *
    {1138, "mbar", 1e-2, 0, uccCalc},
    {1139, "torr", 760 / kAtmosphere, 0, uccCalc},
    {1140, "atm", 1 / kAtmosphere, 0, uccCalc},
    {1141, "psi", 0.0001450377, 0, uccCalc}, // *
    {1142, "psia", 1 / kPsi, 0, uccCalc},
    {1143, "psig", 0.0001450377, -101325, uccCalc}, // *
    {1144, "g/cm²", 1e-4 / (1e-3 * kStandardGravity), 0, uccCalc},
    {1145, "kg/cm²", 1e-4 / kStandardGravity, 0, uccCalc},
    {1146, "inH2O", 1 / (kInch * kStandardGravity * kWaterConventional), 0, uccCalc},
    {1147, "inH2O (4°C)", 1 / (kInch * kStandardGravity * kWater4C), 0, uccCalc},
    {1148, "inH2O (68°F)", 1 / (kInch * kStandardGravity * kWater68F), 0, uccCalc},
    {1149, "mmH2O", 1 / (1e-3 * kStandardGravity * kWaterConventional), 0, uccCalc},
    {1150, "mmH2O (4°C)", 1 / (1e-3 * kStandardGravity * kWater4C), 0, uccCalc},
    {1151, "mmH2O (68°F)", 1 / (1e-3 * kStandardGravity * kWater68F), 0, uccCalc},
    {1152, "ftH2O", 1 / (kFoot * kStandardGravity * kWaterConventional), 0, uccCalc},
    {1153, "ftH2O (4°C)", 1 / (kFoot * kStandardGravity * kWater4C), 0, uccCalc},
    {1154, "ftH2O (68°F)", 1 / (kFoot * kStandardGravity * kWater68F), 0, uccCalc},
    {1155, "inHg", 1 / (kInch * kStandardGravity * kMercury0C), 0, uccCalc},
    {1156, "inHg (0°C)", 1 / (kInch * kStandardGravity * kMercury0C), 0, uccCalc},
    {1157, "mmHg", 1 / (1e-3 * kStandardGravity * kMercury0C), 0, uccCalc},
    {1158, "mmHg (0°C)", 1 / (1e-3 * kStandardGravity * kMercury0C), 0, uccCalc},
    {1159, "Pa-s", 1, 0, uccCalc},
    {1160, "m²/s", 1, 0, uccCalc},
    {1161, "P", 10, 0, uccCalc},
    {1162, "cP", 1e3, 0, uccCalc},
    {1163, "St", 1e4, 0, uccCalc},
    {1164, "cSt", 1e6, 0, uccCalc},
    {1165, "N/m", 1, 0, uccCalc},
    {1166, "mN/m", 1e3, 0, uccCalc},
    {1167, "J", 1, 0, uccCalc},
    {1168, "EJ", 1e-18, 0, uccCalc},
    {1169, "PJ", 1e-15, 0, uccCalc},
    {1170, "TJ", 1e-12, 0, uccCalc},
    {1171, "GJ", 1e-9, 0, uccCalc},
    {1172, "MJ", 1e-6, 0, uccCalc},
    {1173, "kJ", 1e-3, 0, uccCalc},
    {1174, "mJ", 1e3, 0, uccCalc},
    {1175, "WH", 1 / kWattHour, 0, uccCalc},
    {1176, "TWH", 1 / (1e12 * kWattHour), 0, uccCalc},
    {1177, "GWH", 1 / (1e9 * kWattHour), 0, uccCalc},
    {1178, "MWH", 1 / (1e6 * kWattHour), 0, uccCalc},
    {1179, "KWH", 1 / (1e3 * kWattHour), 0, uccCalc},
    {1180, "cal", 1 / kCalorie, 0, uccCalc},
    {1181, "kcal", 1 / (1e3 * kCalorie), 0, uccCalc},
    {1182, "Mcal", 1 / (1e6 * kCalorie), 0, uccCalc},
    {1183, "Btu", 1 / kBtu, 0, uccCalc},
    {1184, "decatherm", 1 / (1e6 * kBtu), 0, uccCalc},
    {1185, "ft-lb", 1 / kFootPound, 0, uccCalc},
    {1186, "W", 1, 0, uccCalc},
    {1187, "TW", 1e-12, 0, uccCalc},
    {1188, "GW", 1e-9, 0, uccCalc},
    {1189, "MW", 1e-6, 0, uccCalc},
    {1190, "KW", 1e-3, 0, uccCalc},
    {1191, "mW", 1e3, 0, uccCalc},
    {1192, "µW", 1e6, 0, uccCalc},
    {1193, "nW", 1e9, 0, uccCalc},
    {1194, "pW", 1e12, 0, uccCalc},
    {1195, "Mcal/h", kHour / (1e6 * kCalorie), 0, uccCalc},
    {1196, "MJ/h", kHour / 1e6, 0, uccCalc},
    {1197, "Btu/h", kHour / kBtu, 0, uccCalc},
    {1198, "hp", 1 / kHorsepower, 0, uccCalc},
    {1199, "W/(m-K)", 1, 0, uccCalc},
    {1200, "W/(m²-K)", 1, 0, uccCalc},
    {1201, "m²-K/W", 1, 0, uccCalc},
    {1202, "J/K", 1, 0, uccCalc},
    {1203, "kJ/K", 1e-3, 0, uccCalc},
    {1204, "J/(kg-K)", 1, 0, uccCalc},
    {1205, "kJ/(kg-K)", 1e-3, 0, uccCalc},
    {1206, "J/kg", 1, 0, uccCalc},
    {1207, "MJ/kg", 1e-6, 0, uccCalc},
    {1208, "kJ/kg", 1e-3, 0, uccCalc},
    {1209, "A", 1, 0, uccCalc},
    {1210, "kA", 1e-3, 0, uccCalc},
    {1211, "mA", 1e3, 0, uccCalc},
    {1212, "µA", 1e6, 0, uccCalc},
    {1213, "nA", 1e9, 0, uccCalc},
    {1214, "pA", 1e12, 0, uccCalc},
    {1215, "C", 1, 0, uccCalc},
    {1216, "MC", 1e-6, 0, uccCalc},
    {1217, "kC", 1e-3, 0, uccCalc},
    {1218, "µC", 1e6, 0, uccCalc},
    {1219, "nC", 1e9, 0, uccCalc},
    {1220, "pC", 1e12, 0, uccCalc},
    {1221, "Ah", 1 / kHour, 0, uccCalc},
    {1222, "C/m³", 1, 0, uccCalc},
    {1223, "C/mm³", 1e-9, 0, uccCalc},
    {1224, "C/cm³", 1e-6, 0, uccCalc},
    {1225, "kC/m³", 1e-3, 0, uccCalc},
    {1226, "mC/m³", 1e3, 0, uccCalc},
    {1227, "µC/m³", 1e6, 0, uccCalc},
    {1228, "C/m²", 1, 0, uccCalc},
    {1229, "C/mm²", 1e-6, 0, uccCalc},
    {1230, "C/cm²", 1e-4, 0, uccCalc},
    {1231, "kC/m²", 1e-3, 0, uccCalc},
    {1232, "mC/m²", 1e3, 0, uccCalc},
    {1233, "µC/m²", 1e6, 0, uccCalc},
    {1234, "V/m", 1, 0, uccCalc},
    {1235, "MV/m", 1e-6, 0, uccCalc},
    {1236, "KV/m", 1e-3, 0, uccCalc},
    {1237, "V/cm", 1e-2, 0, uccCalc},
    {1238, "mV/m", 1e3, 0, uccCalc},
    {1239, "µV/m", 1e6, 0, uccCalc},
    {1240, "V", 1, 0, uccCalc},
    {1241, "MV", 1e-6, 0, uccCalc},
    {1242, "KV", 1e-3, 0, uccCalc},
    {1243, "mV", 1e3, 0, uccCalc},
    {1244, "µV", 1e6, 0, uccCalc},
    {1245, "F", 1, 0, uccCalc},
    {1246, "mF", 1e3, 0, uccCalc},
    {1247, "µF", 1e6, 0, uccCalc},
    {1248, "nF", 1e9, 0, uccCalc},
    {1249, "pF", 1e12, 0, uccCalc},
    {1250, "F/m", 1, 0, uccCalc},
    {1251, "µF/m", 1e6, 0, uccCalc},
    {1252, "nF/m", 1e9, 0, uccCalc},
    {1253, "pF/m", 1e12, 0, uccCalc},
    {1254, "C-m", 1, 0, uccCalc},
    {1255, "A/m²", 1, 0, uccCalc},
    {1256, "MA/m²", 1e-6, 0, uccCalc},
    {1257, "A/cm²", 1e-4, 0, uccCalc},
    {1258, "kA/m²", 1e-3, 0, uccCalc},
    {1259, "A/m", 1, 0, uccCalc},
    {1260, "KA/m", 1e-3, 0, uccCalc},
    {1261, "A/cm", 1e-2, 0, uccCalc},
    {1262, "T", 1, 0, uccCalc},
    {1263, "mT", 1e3, 0, uccCalc},
    {1264, "µT", 1e6, 0, uccCalc},
    {1265, "nT", 1e9, 0, uccCalc},
    {1266, "Wb", 1, 0, uccCalc},
    {1267, "mWb", 1e3, 0, uccCalc},
    {1268, "Wb/m", 1, 0, uccCalc},
    {1269, "KWb/m", 1e-3, 0, uccCalc},
    {1270, "H", 1, 0, uccCalc},
    {1271, "mH", 1e3, 0, uccCalc},
    {1272, "µH", 1e6, 0, uccCalc},
    {1273, "nH", 1e9, 0, uccCalc},
    {1274, "pH", 1e12, 0, uccCalc},
    {1275, "H/m", 1, 0, uccCalc},
    {1276, "µH/m", 1e6, 0, uccCalc},
    {1277, "nH/m", 1e9, 0, uccCalc},
    {1278, "Am²", 1, 0, uccCalc},
    {1279, "Nm²/A", 1, 0, uccCalc},
    {1280, "Wb-m", 1, 0, uccCalc},
    {1281, "Ohm", 1, 0, uccCalc},
    {1282, "GOhm", 1e-9, 0, uccCalc},
    {1283, "MOhm", 1e-6, 0, uccCalc},
    {1284, "kOhm", 1e-3, 0, uccCalc},
    {1285, "mOhm", 1e3, 0, uccCalc},
    {1286, "µOhm", 1e6, 0, uccCalc},
    {1287, "S", 1, 0, uccCalc},
    {1288, "kS", 1e-3, 0, uccCalc},
    {1289, "mS", 1e3, 0, uccCalc},
    {1290, "µS", 1e6, 0, uccCalc},
    {1291, "Ohm-m", 1, 0, uccCalc},
    {1292, "GOhm-m", 1e-9, 0, uccCalc},
    {1293, "MOhm-m", 1e-6, 0, uccCalc},
    {1294, "kOhm-m", 1e-3, 0, uccCalc},
    {1295, "Ohm-cm", 1e2, 0, uccCalc},
    {1296, "mOhm-m", 1e3, 0, uccCalc},
    {1297, "µOhm m", 1e6, 0, uccCalc},
    {1298, "nOhm m", 1e9, 0, uccCalc},
    {1299, "S/m", 1, 0, uccCalc},
    {1300, "MS/m", 1e-6, 0, uccCalc},
    {1301, "kS/m", 1e-3, 0, uccCalc},
    {1302, "mS/cm", 10, 0, uccCalc},
    {1303, "mS/mm", 1, 0, uccCalc},
    {1304, "1/H", 1, 0, uccCalc},
    {1305, "sr", 1, 0, uccCalc},
    {1306, "W/sr", 1, 0, uccCalc},
    {1307, "W/(sr-m²)", 1, 0, uccCalc},
    {1308, "W/(m²)", 1, 0, uccCalc},
    {1309, "lm", 1, 0, uccCalc},
    {1310, "lm-s", 1, 0, uccCalc},
    {1311, "lm-h", 1 / kHour, 0, uccCalc},
    {1312, "lm/m²", 1, 0, uccCalc},
    {1313, "lm/W", 1, 0, uccCalc},
    {1314, "lx", 1, 0, uccCalc},
    {1315, "lx-s", 1, 0, uccCalc},
    {1316, "cd", 1, 0, uccCalc},
    {1317, "cd/m²", 1, 0, uccCalc},
    {1318, "g/s", 1e3, 0, uccCalc},
    {1319, "g/min", kMinute * 1e3, 0, uccCalc},
    {1320, "g/h", kHour * 1e3, 0, uccCalc},
    {1321, "g/d", kDay * 1e3, 0, uccCalc},
    {1322, "kg/s", 1, 0, uccCalc}, // *
    {1323, "kg/min", kMinute, 0, uccCalc},
    {1324, "kg/h", 3600, 0, uccCalc}, // *
    {1325, "kg/d", kDay, 0, uccCalc},
    {1326, "t/s", 1e-3, 0, uccCalc},
    {1327, "t/min", kMinute * 1e-3, 0, uccCalc},
    {1328, "t/h", 3.6, 0, uccCalc}, // *
    {1329, "t/d", kDay * 1e-3, 0, uccCalc},
    {1330, "lb/s", 1 / kPound, 0, uccCalc},
    {1331, "lb/min", kMinute / kPound, 0, uccCalc},
    {1332, "lb/h", kHour / kPound, 0, uccCalc},
    {1333, "lb/d", kDay / kPound, 0, uccCalc},
    {1334, "STon/s", 1 / kShortTon, 0, uccCalc},
    {1335, "STon/min", kMinute / kShortTon, 0, uccCalc},
    {1336, "STon/h", kHour / kShortTon, 0, uccCalc},
    {1337, "STon/d", kDay / kShortTon, 0, uccCalc},
    {1338, "LTon/s", 1 / kLongTon, 0, uccCalc},
    {1339, "LTon/min", kMinute / kLongTon, 0, uccCalc},
    {1340, "LTon/h", kHour / kLongTon, 0, uccCalc},
    {1341, "LTon/d", kDay / kLongTon, 0, uccCalc},
    {1342, "%", 0, 0, uccCalc},
    {1343, "% sol/wt", 0, 0, uccCalc},
    {1344, "% sol/vol", 0, 0, uccCalc},
    {1345, "% stm qual", 0, 0, uccCalc},
    {1346, "% plato", 0, 0, uccCalc},
    {1347, "m³/s", 1, 0, uccCalc}, // *
    {1348, "m³/min", kMinute, 0, uccCalc},
    {1349, "m³/h", 3600, 0, uccCalc}, // *
    {1350, "m³/d", kDay, 0, uccCalc},
    {1351, "L/s", 1e3, 0, uccCalc},
    {1352, "L/min", kMinute * 1e3, 0, uccCalc},
    {1353, "L/h", 3600000, 0, uccCalc}, // *
    {1354, "L/d", kDay * 1e3, 0, uccCalc},
    {1355, "ML/d", kDay * 1e-3, 0, uccCalc},
    {1356, "CFS", 1 / kCubicFoot, 0, uccCalc},
    {1357, "CFM", kMinute / kCubicFoot, 0, uccCalc},
    {1358, "CFH", kHour / kCubicFoot, 0, uccCalc},
    {1359, "ft³/d", kDay / kCubicFoot, 0, uccCalc},
    {1360, "SCFM", kMinute / kCubicFoot, 0, uccCalc},
    {1361, "SCFH", kHour / kCubicFoot, 0, uccCalc},
    {1362, "gal/s", 1 / kUsGallon, 0, uccCalc},
    {1363, "GPM", 15850.32, 0, uccCalc}, // *
    {1364, "gal/h", kHour / kUsGallon, 0, uccCalc},
    {1365, "gal/d", kDay / kUsGallon, 0, uccCalc},
    {1366, "Mgal/d", kDay / (1e6 * kUsGallon), 0, uccCalc},
    {1367, "ImpGal/s", 1 / kImpGallon, 0, uccCalc},
    {1368, "ImpGal/min", kMinute / kImpGallon, 0, uccCalc},
    {1369, "ImpGal/h", kHour / kImpGallon, 0, uccCalc},
    {1370, "ImpGal/d", kDay / kImpGallon, 0, uccCalc},
    {1371, "bbl/s", 1 / kOilBarrel, 0, uccCalc},
    {1372, "bbl/min", kMinute / kOilBarrel, 0, uccCalc},
    {1373, "bbl/h", kHour / kOilBarrel, 0, uccCalc},
    {1374, "bbl/d", kDay / kOilBarrel, 0, uccCalc},
    {1375, "W/m²", 1, 0, uccCalc},
    {1376, "mW/m²", 1e3, 0, uccCalc},
    {1377, "µW/m²", 1e6, 0, uccCalc},
    {1378, "pW/m²", 1e12, 0, uccCalc},
    {1379, "Pa-s/m³", 1, 0, uccCalc},
    {1381, "Pa-s/m", 1, 0, uccCalc},
    {1382, "B", 1, 0, uccCalc},
    {1383, "dB", 10, 0, uccCalc},
    {1384, "mol", 1, 0, uccCalc},
    {1385, "kmol", 1e-3, 0, uccCalc},
    {1386, "mmol", 1e3, 0, uccCalc},
    {1387, "µmol", 1e6, 0, uccCalc},
    {1388, "kg/mol", 1, 0, uccCalc},
    {1389, "g/mol", 1e3, 0, uccCalc},
    {1390, "m³/mol", 1, 0, uccCalc},
    {1391, "dm³/mol", 1e3, 0, uccCalc},
    {1392, "cm³/mol", 1e6, 0, uccCalc},
    {1393, "L/mol", 1e3, 0, uccCalc},
    {1394, "J/mol", 1, 0, uccCalc},
    {1395, "kJ/mol", 1e-3, 0, uccCalc},
    {1396, "J/(mol-K)", 1, 0, uccCalc},
    {1397, "mol/m³", 1, 0, uccCalc},
    {1398, "mol/dm³", 1e-3, 0, uccCalc},
    {1399, "mol/L", 1e-3, 0, uccCalc},
    {1400, "mol/kg", 1, 0, uccCalc},
    {1401, "mmol/kg", 1e3, 0, uccCalc},
    {1402, "Bq", 1, 0, uccCalc},
    {1403, "MBq", 1e-6, 0, uccCalc},
    {1404, "kBq", 1e-3, 0, uccCalc},
    {1405, "Bq/kg", 1, 0, uccCalc},
    {1406, "kBq/kg", 1e-3, 0, uccCalc},
    {1407, "MBq/kg", 1e-6, 0, uccCalc},
    {1408, "Gy", 1, 0, uccCalc},
    {1409, "mGy", 1e3, 0, uccCalc},
    {1410, "rad", 1e2, 0, uccCalc},
    {1411, "Sv", 1, 0, uccCalc},
    {1412, "mSv", 1e3, 0, uccCalc},
    {1413, "rem", 1e2, 0, uccCalc},
    {1414, "C/kg", 1, 0, uccCalc},
    {1415, "mC/kg", 1e3, 0, uccCalc},
    {1416, "R", 1 / kRoentgen, 0, uccCalc},
    {1417, "1/J-m³", 1, 0, uccCalc},
    {1418, "e/V-m³", kElectronvolt, 0, uccCalc},
    {1419, "m³/C", 1, 0, uccCalc},
    {1420, "V/K", 1, 0, uccCalc},
    {1421, "mV/K", 1e3, 0, uccCalc},
    {1422, "pH", 0, 0, uccCalc},
    {1423, "ppm", 1e6, 0, uccCalc},
    {1424, "ppb", 1e9, 0, uccCalc},
    {1425, "ppt", 1e12, 0, uccCalc},
    {1426, "degBrix", 0, 0, uccCalc},
    {1427, "degBall", 0, 0, uccCalc},
    {1428, "proof/vol", 0, 0, uccCalc},
    {1429, "proof/mass", 0, 0, uccCalc},
    {1430, "lb/ImpGal", kImpGallon / kPound, 0, uccCalc},
    {1431, "kcal/s", 1 / (1e3 * kCalorie), 0, uccCalc},
    {1432, "kcal/min", kMinute / (1e3 * kCalorie), 0, uccCalc},
    {1433, "kcal/h", kHour / (1e3 * kCalorie), 0, uccCalc},
    {1434, "kcal/d", kDay / (1e3 * kCalorie), 0, uccCalc},
    {1435, "Mcal/s", 1 / (1e6 * kCalorie), 0, uccCalc},
    {1436, "Mcal/min", kMinute / (1e6 * kCalorie), 0, uccCalc},
    {1437, "Mcal/d", kDay / (1e6 * kCalorie), 0, uccCalc},
    {1438, "kJ/s", 1e-3, 0, uccCalc},
    {1439, "kJ/min", kMinute * 1e-3, 0, uccCalc},
    {1440, "kJ/h", kHour * 1e-3, 0, uccCalc},
    {1441, "kJ/d", kDay * 1e-3, 0, uccCalc},
    {1442, "MJ/s", 1e-6, 0, uccCalc},
    {1443, "MJ/min", kMinute * 1e-6, 0, uccCalc},
    {1444, "MJ/d", kDay * 1e-6, 0, uccCalc},
    {1445, "Btu/s", 1 / kBtu, 0, uccCalc},
    {1446, "Btu/min", kMinute / kBtu, 0, uccCalc},
    {1447, "Btu/day", kDay / kBtu, 0, uccCalc},
    {1448, "µgal/s", 1 / (1e-6 * kUsGallon), 0, uccCalc},
    {1449, "mgal/s", 1 / (1e-3 * kUsGallon), 0, uccCalc},
    {1450, "kgal/s", 1 / (1e3 * kUsGallon), 0, uccCalc},
    {1451, "Mgal/s", 1 / (1e6 * kUsGallon), 0, uccCalc},
    {1452, "µgal/min", kMinute / (1e-6 * kUsGallon), 0, uccCalc},
    {1453, "mgal/min", kMinute / (1e-3 * kUsGallon), 0, uccCalc},
    {1454, "kgal/min", kMinute / (1e3 * kUsGallon), 0, uccCalc},
    {1455, "Mgal/min", kMinute / (1e6 * kUsGallon), 0, uccCalc},
    {1456, "µgal/h", kHour / (1e-6 * kUsGallon), 0, uccCalc},
    {1457, "mgal/h", kHour / (1e-3 * kUsGallon), 0, uccCalc},
    {1458, "kgal/h", kHour / (1e3 * kUsGallon), 0, uccCalc},
    {1459, "Mgal/h", kHour / (1e6 * kUsGallon), 0, uccCalc},
    {1460, "µgal/d", kDay / (1e-6 * kUsGallon), 0, uccCalc},
    {1461, "mgal/d", kDay / (1e-3 * kUsGallon), 0, uccCalc},
    {1462, "kgal/d", kDay / (1e3 * kUsGallon), 0, uccCalc},
    {1463, "µImpGal/s", 1 / (1e-6 * kImpGallon), 0, uccCalc},
    {1464, "mImpGal/s", 1 / (1e-3 * kImpGallon), 0, uccCalc},
    {1465, "kImpGal/s", 1 / (1e3 * kImpGallon), 0, uccCalc},
    {1466, "MImpGal/s", 1 / (1e6 * kImpGallon), 0, uccCalc},
    {1467, "µImpGal/min", kMinute / (1e-6 * kImpGallon), 0, uccCalc},
    {1468, "mImpGal/min", kMinute / (1e-3 * kImpGallon), 0, uccCalc},
    {1469, "kImpGal/min", kMinute / (1e3 * kImpGallon), 0, uccCalc},
    {1470, "MImpGal/min", kMinute / (1e6 * kImpGallon), 0, uccCalc},
    {1471, "µImpGal/h", kHour / (1e-6 * kImpGallon), 0, uccCalc},
    {1472, "mImpGal/h", kHour / (1e-3 * kImpGallon), 0, uccCalc},
    {1473, "kImpGal/h", kHour / (1e3 * kImpGallon), 0, uccCalc},
    {1474, "MImpGal/h", kHour / (1e6 * kImpGallon), 0, uccCalc},
    {1475, "µImpGal/d", kDay / (1e-6 * kImpGallon), 0, uccCalc},
    {1476, "mImpGal/d", kDay / (1e-3 * kImpGallon), 0, uccCalc},
    {1477, "kImpGal/d", kDay / (1e3 * kImpGallon), 0, uccCalc},
    {1478, "MImpGal/d", kDay / (1e6 * kImpGallon), 0, uccCalc},
    {1479, "µbbl/s", 1 / (1e-6 * kOilBarrel), 0, uccCalc},
    {1480, "mbbl/s", 1 / (1e-3 * kOilBarrel), 0, uccCalc},
    {1481, "kbbl/s", 1 / (1e3 * kOilBarrel), 0, uccCalc},
    {1482, "Mbbl/s", 1 / (1e6 * kOilBarrel), 0, uccCalc},
    {1483, "µbbl/min", kMinute / (1e-6 * kOilBarrel), 0, uccCalc},
    {1484, "mbbl/min", kMinute / (1e-3 * kOilBarrel), 0, uccCalc},
    {1485, "kbbl/min", kMinute / (1e3 * kOilBarrel), 0, uccCalc},
    {1486, "Mbbl/min", kMinute / (1e6 * kOilBarrel), 0, uccCalc},
    {1487, "µbbl/h", kHour / (1e-6 * kOilBarrel), 0, uccCalc},
    {1488, "mbbl/h", kHour / (1e-3 * kOilBarrel), 0, uccCalc},
    {1489, "kbbl/h", kHour / (1e3 * kOilBarrel), 0, uccCalc},
    {1490, "Mbbl/h", kHour / (1e6 * kOilBarrel), 0, uccCalc},
    {1491, "µbbl/d", kDay / (1e-6 * kOilBarrel), 0, uccCalc},
    {1492, "mbbl/d", kDay / (1e-3 * kOilBarrel), 0, uccCalc},
    {1493, "kbbl/d", kDay / (1e3 * kOilBarrel), 0, uccCalc},
    {1494, "Mbbl/d", kDay / (1e6 * kOilBarrel), 0, uccCalc},
    {1495, "µm³/s", 1 / 1e-6, 0, uccCalc},
    {1496, "mm³/s", 1 / 1e-3, 0, uccCalc},
    {1497, "km³/s", 1 / 1e3, 0, uccCalc},
    {1498, "Mm³/s", 1 / 1e6, 0, uccCalc},
    {1499, "µm³/min", kMinute / 1e-6, 0, uccCalc},
    {1500, "mm³/min", kMinute / 1e-3, 0, uccCalc},
    {1501, "km³/min", kMinute / 1e3, 0, uccCalc},
    {1502, "Mm³/min", kMinute / 1e6, 0, uccCalc},
    {1503, "µm³/h", kHour / 1e-6, 0, uccCalc},
    {1504, "mm³/h", kHour / 1e-3, 0, uccCalc},
    {1505, "km³/h", kHour / 1e3, 0, uccCalc},
    {1506, "Mm³/h", kHour / 1e6, 0, uccCalc},
    {1507, "µm³/d", kDay / 1e-6, 0, uccCalc},
    {1508, "mm³/d", kDay / 1e-3, 0, uccCalc},
    {1509, "km³/d", kDay / 1e3, 0, uccCalc},
    {1510, "Mm³/d", kDay / 1e6, 0, uccCalc},
    {1511, "cm³/s", 1e6, 0, uccCalc},
    {1512, "cm³/min", kMinute * 1e6, 0, uccCalc},
    {1513, "cm³/h", kHour * 1e6, 0, uccCalc},
    {1514, "cm³/d", kDay * 1e6, 0, uccCalc},
    {1515, "kcal/kg", 1 / (1e3 * kCalorie), 0, uccCalc},
    {1516, "Btu/lb", kPound / kBtu, 0, uccCalc},
    {1517, "kL", 1, 0, uccCalc},
    {1518, "kL/min", kMinute, 0, uccCalc},
    {1519, "kL/h", kHour, 0, uccCalc},
    {1520, "kL/d", kDay, 0, uccCalc},
    {1551, "S/cm", 1e-2, 0, uccCalc},
    {1552, "µS/cm", 1e4, 0, uccCalc},
    {1553, "mS/m", 1e3, 0, uccCalc},
    {1554, "µS/m", 1e6, 0, uccCalc},
    {1555, "MOHM*cm", 1e-4, 0, uccCalc},
    {1556, "kOHM*cm", 1e-1, 0, uccCalc},
    {1557, "Gew%", 0, 0, uccCalc},
    {1558, "mg/l", 1e3, 0, uccCalc},
    {1559, "µg/l", 1e6, 0, uccCalc},
    {1560, "%Sät", 0, 0, uccCalc},
    {1561, "vpm", 0, 0, uccCalc},
    {1562, "%vol", 0, 0, uccCalc},
    {1563, "ml/min", kMinute * 1e6, 0, uccCalc},
    {1564, "mg/dm3", 1e3, 0, uccCalc},
    {1565, "mg/l", 1e3, 0, uccCalc},
    {1566, "mg/m³", 1e6, 0, uccCalc},
    {1995, "", 1, 0, uccCalc}, // *
    {1996, "Not used", 1, 0, uccCalc}, // *
    {1997, "None", 1, 0, uccCalc}, // *
    {1998, "Unknown", 1, 0, uccCalc}, // *
    {1999, "Special", 1, 0, uccCalc}, // *
};

std::string HelpKeyOf(int32_t code) {
    if (code > 1566) return {};
    return "unit_" + std::to_string(code) + "_help";
}

bool IsProfileCode(int32_t idx) { return idx >= pp3MinUnitIdx && idx <= pp3MaxUnitIdx; }

std::string TrimBlanks(const std::string& s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    const auto last = s.find_last_not_of(' ');
    return s.substr(first, last - first + 1);
}

}  // namespace

std::span<const ProfileUnitRow> ProfileUnitRows() { return kProfileUnits; }

struct clsPROFIBUSProfil3Units::Table {
    std::array<UnitInfo, kRowCount> rows;
    std::unordered_map<std::string, std::vector<int32_t>> codesByText;  // registered codes, lowest first

    UnitInfo& Row(int32_t idx) { return rows[static_cast<size_t>(idx - pp3MinConstUnitIdx)]; }
    void IndexTexts() {
        codesByText.clear();
        for (int32_t code = pp3MinConstUnitIdx; code <= pp3MaxUnitIdx; ++code)
            if (const UnitInfo& row = Row(code); row.available) codesByText[row.strUnit].push_back(code);
    }
};

namespace {

void Register(UnitInfo& row, double mult, double offset, const std::string& strUnit, const std::string& strHelpKey,
              UnitCalcClass unitClass) {
    row.available = true;
    row.faktor = mult;
    row.Offset = offset;
    row.strUnit = strUnit;
    row.strHelpKey = strHelpKey;
    row.unitClass = unitClass;
}

// The profile units as every instance starts with them.
std::shared_ptr<const clsPROFIBUSProfil3Units::Table> InitialTable() {
    static const auto table = [] {
        auto initial = std::make_shared<clsPROFIBUSProfil3Units::Table>();
        for (const auto& row : kProfileUnits)
            Register(initial->Row(row.code), row.faktor, row.offset, std::string(row.text), HelpKeyOf(row.code),
                     row.unitClass);
        initial->IndexTexts();
        return std::shared_ptr<const clsPROFIBUSProfil3Units::Table>(std::move(initial));
    }();
    return table;
}

// The initial table with the texts of a language, one per language while some instance uses it.
std::shared_ptr<const clsPROFIBUSProfil3Units::Table> LanguageTable(const std::shared_ptr<const void>& language,
                                                                   const clsPROFIBUSProfil3Units::TextOf& textOf) {
    using Table = clsPROFIBUSProfil3Units::Table;
    static std::mutex mutex;
    static std::map<std::weak_ptr<const void>, std::weak_ptr<const Table>, std::owner_less<>> tables;
    const std::lock_guard lock(mutex);
    if (const auto it = tables.find(language); it != tables.end())
        if (auto table = it->second.lock()) return table;
    std::erase_if(tables, [](const auto& entry) { return entry.first.expired() || entry.second.expired(); });
    auto table = std::make_shared<Table>(*InitialTable());
    for (int32_t code = pp3MinConstUnitIdx; code <= pp3MaxUnitIdx; ++code) {
        UnitInfo& row = table->Row(code);
        if (!row.available) continue;
        if (auto text = textOf(code)) row.strUnit = std::move(*text);
    }
    table->IndexTexts();
    std::shared_ptr<const Table> shared = std::move(table);
    tables[language] = shared;
    return shared;
}

}  // namespace

clsPROFIBUSProfil3Units::clsPROFIBUSProfil3Units() : m_Shared(InitialTable()) {}

const UnitInfo& clsPROFIBUSProfil3Units::RowAt(int32_t idx) const {
    if (const auto own = m_Own.find(idx); own != m_Own.end()) return own->second;
    return m_Shared->rows[static_cast<size_t>(idx - pp3MinConstUnitIdx)];
}

const UnitInfo* clsPROFIBUSProfil3Units::AvailableRow(int32_t idx) const {
    if (idx < pp3MinConstUnitIdx || idx > pp3MaxUnitIdx) return nullptr;
    const UnitInfo& row = RowAt(idx);
    return row.available ? &row : nullptr;
}

UnitInfo& clsPROFIBUSProfil3Units::OwnRow(int32_t idx) {
    const auto [it, added] = m_Own.try_emplace(idx);
    if (added) it->second = m_Shared->rows[static_cast<size_t>(idx - pp3MinConstUnitIdx)];
    return it->second;
}

std::string clsPROFIBUSProfil3Units::PROFIBUSProfil3UnitString(int32_t idx) const {
    const UnitInfo* row = AvailableRow(idx);
    return row ? row->strUnit : std::string();
}

void clsPROFIBUSProfil3Units::PROFIBUSProfil3UnitString(int32_t idx,
                                                        const std::string& New_UnitString) {
    if (AvailableRow(idx)) OwnRow(idx).strUnit = New_UnitString;
}

int32_t clsPROFIBUSProfil3Units::PROFIBUSProfil3UnitIndex(const std::string& str) const {
    const std::string text = TrimBlanks(str);
    int32_t lowest = 0;
    for (const auto& [code, row] : m_Own)
        if (row.available && row.strUnit == text) {
            lowest = code;
            break;
        }
    if (const auto it = m_Shared->codesByText.find(text); it != m_Shared->codesByText.end())
        for (const int32_t code : it->second) {
            if (lowest != 0 && code >= lowest) break;
            if (m_Own.count(code) == 0) {
                lowest = code;
                break;
            }
        }
    return lowest;
}

std::string clsPROFIBUSProfil3Units::PROFIBUSProfil3UnitHelpKey(int32_t idx) const {
    const UnitInfo* row = AvailableRow(idx);
    return row ? row->strHelpKey : std::string();
}

void clsPROFIBUSProfil3Units::PROFIBUSProfil3UnitHelpKey(int32_t idx,
                                                         const std::string& New_UnitString) {
    if (AvailableRow(idx)) OwnRow(idx).strHelpKey = New_UnitString;
}

void clsPROFIBUSProfil3Units::SetLanguageTexts(const std::shared_ptr<const void>& language, const TextOf& textOf) {
    m_Shared = LanguageTable(language, textOf);
    for (auto& [code, row] : m_Own) {
        if (!row.available) continue;
        if (auto text = textOf(code)) row.strUnit = std::move(*text);
    }
}

double clsPROFIBUSProfil3Units::CalculateUnitValue(double currentValue, int32_t currentUnitIdx,
                                                   int32_t newUnitIdx) const {
    if (currentUnitIdx == newUnitIdx) return currentValue;
    if (!IsProfileCode(currentUnitIdx) || !IsProfileCode(newUnitIdx)) return currentValue;
    const UnitInfo* from = AvailableRow(currentUnitIdx);
    const UnitInfo* to = AvailableRow(newUnitIdx);
    if (!from || !to || from->unitClass != to->unitClass || from->unitClass <= uccConst)
        return currentValue;

    double value = currentValue;
    if (from->faktor != 0) value = value / from->faktor - from->Offset;
    if (to->faktor != 0) value = (value + to->Offset) * to->faktor;
    // Floating-point arithmetic does not trap: a finite value that converts to
    // an infinite (or NaN) one is the overflow the callers expect as error 6.
    if (std::isfinite(currentValue) && !std::isfinite(value))
        platform::com::Raise(platform::com::errOverflow);
    return value;
}

void clsPROFIBUSProfil3Units::SetUnitInformation(int32_t PROFIBUSProfil3UnitIdx, double Mult,
                                                 double Offset, const std::string& strUnit,
                                                 const std::string& strHelpKey,
                                                 const platform::Variant& unitClass) {
    const int32_t idx = PROFIBUSProfil3UnitIdx;
    if (idx < pp3MinConstUnitIdx || idx > pp3MaxUnitIdx) return;
    UnitInfo& row = OwnRow(idx);
    if (idx <= pp3MaxConstUnitIdx) {
        Register(row, row.faktor, row.Offset, strUnit, strHelpKey, uccConst);
        return;
    }
    const bool classGiven = !unitClass.IsMissing() && !unitClass.IsEmpty();
    const auto cls =
        classGiven ? static_cast<UnitCalcClass>(platform::com::CLng(unitClass)) : uccCalc;
    Register(row, Mult, Offset, strUnit, strHelpKey, cls);
}

}  // namespace dtm

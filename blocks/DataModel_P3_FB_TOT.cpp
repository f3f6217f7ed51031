// The Totaliser function block's elements and its unit handler.
#include "blocks/DataModel_P3_FB_TOT.h"

#include <array>
#include <iterator>

#include "blocks/BlockTable.h"
#include "model/elements/DataModelHelpers.h"
#include "model/elements/UnitConversion.h"
#include "model/elements/clsDataElement.h"
#include "model/elements/clsDataModel.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/Parameters.h"

namespace dtm {
namespace {

using namespace table;

// Unit "L", the totaliser unit when the builder is given none.
constexpr int16_t kDefaultTotaliserUnit = 1038;

// The four limits start at plus and minus this Double.
constexpr double kLimitMax = 3.402823E+38;

// ControlType 3: enumerated values; ControlType 4: bit-coded values.
// Flags 0x1: static parameter; 0x3: changes while the device runs.
// BlockUnit: the value is expressed in the totaliser unit.
constexpr BlockRow kTotaliserRows[] = {
    // Path                          Rel  Pos Type  Len Mode Flags Initial          Other
    {"BlockIndex",                 dash, dash,  2, dash, 144,  0x1, BlockNo,         NoBlockType},
    {"BLK_OBJ/",                      0, dash,  0, dash, 145, dash, Empty,           {}},
    {"BLK_OBJ/Reserved",              0,    0,  2, dash, 144,  0x1, Empty,           {}},
    {"BLK_OBJ/Block_Object",          0,    1,  2, dash, 144,  0x1, Int(2),          Ctl(3)},
    {"BLK_OBJ/Parent_Class",          0,    2,  2, dash, 144,  0x1, Int(5),          Ctl(3)},
    {"BLK_OBJ/Class",                 0,    3,  2, dash, 144,  0x1, Int(8),          Ctl(3)},
    {"BLK_OBJ/DD_Reference",          0,    4,  7, dash, 144,  0x1, Empty,           {}},
    {"BLK_OBJ/DD_Revision",           0,    8,  3, dash, 144,  0x1, Empty,           {}},
    {"BLK_OBJ/Profile",               0,   10,  3, dash, 144,  0x1, Int(0x4002),     Ctl(3)},
    {"BLK_OBJ/Profile_Revision",      0,   12,  3, dash, 144,  0x1, Int(0x0300),     Ctl(3)},
    {"BLK_OBJ/Execution_Time",        0,   14,  2, dash, 144,  0x1, Empty,           {}},
    {"BLK_OBJ/Number_of_Parameters",  0,   15,  3, dash, 144,  0x1, Empty,           {}},
    {"BLK_OBJ/Address_of_View_1",     0,   17,  3, dash, 144,  0x1, Empty,           {}},
    {"BLK_OBJ/Number_of_Views",       0,   19,  2, dash, 144,  0x1, Empty,           {}},
    {"ST_REV",                        1,    0,  3, dash, 145,  0x1, Int(0),          {}},
    {"TAG_DESC",                      2,    0, 14,   32, 147, dash, Str(""),         {}},
    {"STRATEGY",                      3,    0,  3, dash, 147, dash, Int(0),          {}},
    {"ALERT_KEY",                     4,    0,  2, dash, 147, dash, Int(0),          {}},
    {"TARGET_MODE",                   5,    0,  2, dash, 147, dash, Int(8),          Ctl(3)},
    {"MODE_BLK/",                     6, dash,  0, dash, 145, dash, Empty,           {}},
    {"MODE_BLK/Actual",               6,    0,  2, dash, 144,  0x3, Int(8),          Ctl(3)},
    {"MODE_BLK/Permitted",            6,    1,  2, dash, 144,  0x3, Int(0x98),       Ctl(4)},
    {"MODE_BLK/Normal",               6,    2,  2, dash, 144,  0x3, Int(8),          Ctl(3)},
    {"ALARM_SUM/",                    7, dash,  0, dash, 145, dash, Empty,           {}},
    {"ALARM_SUM/Current",             7,    0,  1,    2, 144,  0x3, Int(0),          Ctl(4)},
    {"ALARM_SUM/Unacknowledged",      7,    2,  1,    2, 144,  0x3, Int(0),          Ctl(4)},
    {"ALARM_SUM/Unreported",          7,    4,  1,    2, 144,  0x3, Int(0),          Ctl(4)},
    {"ALARM_SUM/Disabled",            7,    6,  1,    2, 144,  0x3, Int(0),          Ctl(4)},
    {"BATCH/",                        8, dash,  0, dash, 147, dash, Empty,           {}},
    {"BATCH/BATCH_ID",                8,    0, 16,    4, 144, dash, Int(0),          {}},
    {"BATCH/RUP",                     8,    4,  3, dash, 144, dash, Int(0),          {}},
    {"BATCH/OPERATION",               8,    6,  3, dash, 144, dash, Int(0),          {}},
    {"BATCH/PHASE",                   8,    8,  3, dash, 144, dash, Int(0),          {}},
    {"TOTAL/",                       10, dash,  0, dash, 145, dash, Empty,           {}},
    {"TOTAL/Value",                  10,    0,  8, dash, 144,  0x3, Int(0),          BlockUnit},
    {"TOTAL/StatusQuality",          10,    4,  2, dash, 144,  0x3, Int(0),          Ctl(3) | Mask(0xFC)},
    {"TOTAL/StatusLimit",            10,    4,  2, dash, 144,  0x3, Int(0),          Ctl(3) | Mask(0x03)},
    {"UNIT_TOT",                     11,    0,  3, dash, 147, dash, Int(1038),       Ctl(3)},
    {"CHANNEL",                      12,    0,  3, dash, 147, dash, Int(0x0111),     Ctl(3)},
    {"SET_TOT",                      13,    0,  2, dash, 147, dash, Int(0),          Ctl(3)},
    {"MODE_TOT",                     14,    0,  2, dash, 147, dash, Int(0),          Ctl(3)},
    {"FAIL_TOT",                     15,    0,  2, dash, 147, dash, Int(0),          Ctl(3)},
    {"PRESET_TOT",                   16,    0,  8, dash, 147, dash, Int(0),          BlockUnit},
    {"ALARM_HYS",                    17,    0,  8, dash, 147, dash, Int(0),          BlockUnit | Before("FAIL_TOT")},
    {"HI_HI_LIM",                    18,    0,  8, dash, 147, dash, Dbl(kLimitMax),  BlockUnit | Before("ALARM_HYS")},
    {"HI_LIM",                       19,    0,  8, dash, 147, dash, Dbl(kLimitMax),  BlockUnit | Before("HI_HI_LIM")},
    {"LO_LIM",                       20,    0,  8, dash, 147, dash, Dbl(-kLimitMax), BlockUnit | Before("PRESET_TOT")},
    {"LO_LO_LIM",                    21,    0,  8, dash, 147, dash, Dbl(-kLimitMax), BlockUnit},
    {"HI_HI_ALM/",                   22, dash,  0, dash,   1, dash, Empty,           {}},
    {"HI_HI_ALM/Unacknowledged",     22,    0,  2, dash, 144,  0x3, Int(0),          {}},
    {"HI_HI_ALM/AlarmState",         22,    1,  2, dash, 144,  0x3, Int(0),          Ctl(3)},
    {"HI_HI_ALM/TimeStamp",          22,    2, 12, dash, 144,  0x3, Empty,           {}},
    {"HI_HI_ALM/Subcode",            22,   10,  3, dash, 144,  0x3, Empty,           {}},
    {"HI_HI_ALM/Value",              22,   12,  8, dash, 144,  0x3, Empty,           BlockUnit},
    {"HI_ALM/",                      23, dash,  0, dash,   1, dash, Empty,           {}},
    {"HI_ALM/Unacknowledged",        23,    0,  2, dash, 144,  0x3, Int(0),          {}},
    {"HI_ALM/AlarmState",            23,    1,  2, dash, 144,  0x3, Int(0),          Ctl(3)},
    {"HI_ALM/TimeStamp",             23,    2, 12, dash, 144,  0x3, Empty,           {}},
    {"HI_ALM/Subcode",               23,   10,  3, dash, 144,  0x3, Empty,           {}},
    {"HI_ALM/Value",                 23,   12,  8, dash, 144,  0x3, Empty,           BlockUnit},
    {"LO_ALM/",                      24, dash,  0, dash,   1, dash, Empty,           {}},
    {"LO_ALM/Unacknowledged",        24,    0,  2, dash, 144,  0x3, Int(0),          {}},
    {"LO_ALM/AlarmState",            24,    1,  2, dash, 144,  0x3, Int(0),          Ctl(3)},
    {"LO_ALM/TimeStamp",             24,    2, 12, dash, 144,  0x3, Empty,           {}},
    {"LO_ALM/Subcode",               24,   10,  3, dash, 144,  0x3, Empty,           {}},
    {"LO_ALM/Value",                 24,   12,  8, dash, 144,  0x3, Empty,           BlockUnit},
    {"LO_LO_ALM/",                   25, dash,  0, dash,   1, dash, Empty,           {}},
    {"LO_LO_ALM/Unacknowledged",     25,    0,  2, dash, 144,  0x3, Int(0),          {}},
    {"LO_LO_ALM/AlarmState",         25,    1,  2, dash, 144,  0x3, Int(0),          Ctl(3)},
    {"LO_LO_ALM/TimeStamp",          25,    2, 12, dash, 144,  0x3, Empty,           {}},
    {"LO_LO_ALM/Subcode",            25,   10,  3, dash, 144,  0x3, Empty,           {}},
    {"LO_LO_ALM/Value",              25,   12,  8, dash, 144,  0x3, Empty,           BlockUnit},
};

// The values expressed in the totaliser unit, in the order they are converted.
constexpr const char* kTotaliserUnitValues[] = {
    "TOTAL/Value", "PRESET_TOT", "ALARM_HYS", "HI_HI_LIM", "HI_LIM", "LO_LIM", "LO_LO_LIM",
    "HI_HI_ALM/Value", "HI_ALM/Value", "LO_ALM/Value", "LO_LO_ALM/Value",
};
const platform::rt::PathList kTotaliserUnitList(kTotaliserUnitValues);

}  // namespace

void CreateTOTBlockModel(int16_t n, const platform::Variant& blockUnit,
                         const std::shared_ptr<platform::rt::DTMContext>& DTMContext) {
    auto parameters = platform::com::Deref(DTMContext).Parameters();
    const int16_t unit = blockUnit.IsEmpty() ? kDefaultTotaliserUnit : platform::com::CInt(blockUnit);
    AddBlockRows(platform::com::Deref(parameters),
                 BlockSpec{GetTOTBlockPrefix(n), pbfFunctionTOTBlock, n, unit}, kTotaliserRows);
}

void OnTOTUnitChanged(int16_t n, const std::shared_ptr<clsDataElement>& pda,
                      const std::shared_ptr<platform::rt::DTMContext>& DTMContext) {
    const std::string& prefix = GetTOTBlockPrefix(n);
    auto& parameters = platform::com::Deref(platform::com::Deref(DTMContext).Parameters());
    if (!IsPathOf(platform::com::Deref(pda).Name, prefix, "UNIT_TOT")) return;  // exact, case-sensitive
    // Needed only for the conversion: a change of another element must not
    // depend on the context holding a model.
    clsDataModel& model = DataModelOf(DTMContext);

    const ElementsAtPaths values(parameters, kTotaliserUnitList, n, prefix);
    std::array<std::shared_ptr<clsDataElement>, std::size(kTotaliserUnitValues)> targets;
    for (size_t i = 0; i < targets.size(); ++i) targets[i] = values.Element(i);
    // All 11 values follow the new unit, or none does.
    CheckUnitChange(parameters, model, targets, pda);
    for (const auto& target : targets) {
        ConvertUnitValues(model, *target, *pda);
        parameters.NotifyChange(target, "");
    }
}

}  // namespace dtm

// The AI function block's elements and its change and refresh handlers.
#include "blocks/DataModel_P3_FB_AI.h"

#include <array>
#include <iterator>
#include <limits>
#include <string_view>
#include <vector>

#include "blocks/BlockTable.h"
#include "model/elements/DataModelHelpers.h"
#include "model/elements/UnitConversion.h"
#include "model/elements/clsDataElement.h"
#include "model/elements/clsDataModel.h"
#include "model/elements/clsPROFIBUSProfil3Units.h"
#include "platform/com/Error.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/Parameters.h"

namespace dtm {
namespace {

using namespace table;
using platform::Variant;
namespace com = platform::com;

// ControlType 3: enumerated values; ControlType 4: bit-coded values.
// Flags 0x1: static parameter; 0x3: changes while the device runs.
// A status byte is two elements at one position: quality (mask 0xFC) and limit (0x03).
// "OUT_SCALE/Unit" stands ahead of "OUT/", "LIN_TYPE" ahead of "OUT_SCALE/",
// and the limits ahead of "CHANNEL", so that a unit precedes its values.
// Mode 2097296: the factory's 144 plus 0x200000, the simulation page's mark.
constexpr BlockRow kAIRows[] = {
    // Path                          Rel  Pos Type  Len     Mode Flags Initial       Other
    {"BlockIndex",                 dash, dash,  2, dash,     144,  0x1, BlockNo,      NoBlockType},
    {"BLK_OBJ/",                      0, dash,  0, dash,       1, dash, Empty,        {}},
    {"BLK_OBJ/Reserved",              0,    0,  2, dash,     144,  0x1, Empty,        {}},
    {"BLK_OBJ/Block_Object",          0,    1,  2, dash,     144,  0x1, Int(2),       Ctl(3)},
    {"BLK_OBJ/Parent_Class",          0,    2,  2, dash,     144,  0x1, Int(1),       Ctl(3)},
    {"BLK_OBJ/Class",                 0,    3,  2, dash,     144,  0x1, Int(1),       Ctl(3)},
    {"BLK_OBJ/DD_Reference",          0,    4,  7, dash,     144,  0x1, Empty,        {}},
    {"BLK_OBJ/DD_Revision",           0,    8,  3, dash,     144,  0x1, Empty,        {}},
    {"BLK_OBJ/Profile",               0,   10,  3, dash,     144,  0x1, Int(0x4002),  Ctl(3)},
    {"BLK_OBJ/Profile_Revision",      0,   12,  3, dash,     144,  0x1, Int(0x0300),  Ctl(3)},
    {"BLK_OBJ/Execution_Time",        0,   14,  2, dash,     144,  0x1, Empty,        {}},
    {"BLK_OBJ/Number_of_Parameters",  0,   15,  3, dash,     144,  0x1, Empty,        {}},
    {"BLK_OBJ/Address_of_View_1",     0,   17,  3, dash,     144,  0x1, Empty,        {}},
    {"BLK_OBJ/Number_of_Views",       0,   19,  2, dash,     144,  0x1, Empty,        {}},
    {"ST_REV",                        1,    0,  3, dash,     145,  0x1, Int(0),       {}},
    {"TAG_DESC",                      2,    0, 14,   32,     147, dash, Str(""),      {}},
    {"STRATEGY",                      3,    0,  3, dash,     147, dash, Int(0),       {}},
    {"ALERT_KEY",                     4,    0,  2, dash,     147, dash, Int(0),       {}},
    {"TARGET_MODE",                   5,    0,  2, dash,     147, dash, Int(8),       Ctl(3)},
    {"MODE_BLK/",                     6, dash,  0, dash,       1, dash, Empty,        {}},
    {"MODE_BLK/Actual",               6,    0,  2, dash,     144,  0x3, Int(8),       Ctl(3)},
    {"MODE_BLK/Permitted",            6,    1,  2, dash,     144,  0x3, Int(152),     Ctl(4)},
    {"MODE_BLK/Normal",               6,    2,  2, dash,     144,  0x3, Int(8),       Ctl(3)},
    {"ALARM_SUM/",                    7, dash,  0, dash,       1, dash, Empty,        {}},
    {"ALARM_SUM/Current",             7,    0,  1,    2,     144,  0x3, Int(0),       Ctl(4)},
    {"ALARM_SUM/Unacknowledged",      7,    2,  1,    2,     144,  0x3, Int(0),       Ctl(4)},
    {"ALARM_SUM/Unreported",          7,    4,  1,    2,     144,  0x3, Int(0),       Ctl(4)},
    {"ALARM_SUM/Disabled",            7,    6,  1,    2,     144,  0x3, Int(0),       Ctl(4)},
    {"BATCH/",                        8, dash,  0, dash,       3, dash, Empty,        {}},
    {"BATCH/BATCH_ID",                8,    0, 16, dash,     144, dash, Int(0),       {}},
    {"BATCH/RUP",                     8,    4,  3, dash,     144, dash, Int(0),       {}},
    {"BATCH/OPERATION",               8,    6,  3, dash,     144, dash, Int(0),       {}},
    {"BATCH/PHASE",                   8,    8,  3, dash,     144, dash, Int(0),       {}},
    {"OUT/",                         10, dash,  0, dash,       1, dash, Empty,        {}},
    {"OUT/Value",                    10,    0,  8, dash,     144,  0x3, Dbl(0.0),     Unit(1342)},
    {"OUT/StatusQuality",            10,    4,  2, dash,     144,  0x3, Int(0),       Mask(0xFC) | Ctl(3)},
    {"OUT/StatusLimit",              10,    4,  2, dash,     144,  0x3, Int(0),       Mask(0x03) | Ctl(3)},
    {"PV_SCALE/",                    11, dash,  0, dash,       3, dash, Empty,        {}},
    {"PV_SCALE/Up_Val",              11,    0,  8, dash,     144, dash, Dbl(100.0),   Unit(1342)},
    {"PV_SCALE/Lo_Val",              11,    4,  8, dash,     144, dash, Dbl(0.0),     Unit(1342)},
    {"OUT_SCALE/",                   12, dash,  0, dash,       3, dash, Empty,        {}},
    {"OUT_SCALE/Up_Val",             12,    0,  8, dash,     144, dash, Dbl(100.0),   Unit(1342)},
    {"OUT_SCALE/Lo_Val",             12,    4,  8, dash,     144, dash, Dbl(0.0),     Unit(1342)},
    {"OUT_SCALE/Unit",               12,    8,  3, dash,     144, dash, Lng(1342),    Ctl(3) | Before("OUT/")},
    {"OUT_SCALE/DecPoint",           12,   10,  2, dash,     144, dash, Int(3),       Ctl(3)},
    {"LIN_TYPE",                     13,    0,  2, dash,     147, dash, Int(0),       Ctl(3) | Before("OUT_SCALE/")},
    {"CHANNEL",                      14,    0,  3, dash,     147, dash, Empty,        Ctl(3)},
    {"PV_FTIME",                     16,    0,  8, dash,     147, dash, Dbl(0.0),     Unit(kTimeConstantUnitCode)},
    {"FSAFE_TYPE",                   17,    0,  2, dash,     147, dash, Int(1),       Ctl(3)},
    {"FSAFE_VALUE",                  18,    0,  8, dash,     147, dash, Dbl(0.0),     Unit(1342)},
    {"ALARM_HYS",                    19,    0,  8, dash,     147, dash, Int(1),       Unit(1342) | Before("CHANNEL")},
    {"HI_HI_LIM",                    21,    0,  8, dash,     147, dash, Dbl(100.0),   Unit(1342) | Before("CHANNEL")},
    {"HI_LIM",                       23,    0,  8, dash,     147, dash, Dbl(100.0),   Unit(1342) | Before("CHANNEL")},
    {"LO_LIM",                       25,    0,  8, dash,     147, dash, Dbl(0.0),     Unit(1342) | Before("CHANNEL")},
    {"LO_LO_LIM",                    27,    0,  8, dash,     147, dash, Dbl(0.0),     Unit(1342) | Before("CHANNEL")},
    {"HI_HI_ALM/",                   30, dash,  0, dash,       1, dash, Empty,        {}},
    {"HI_HI_ALM/Unacknowledged",     30,    0,  2, dash,     144,  0x3, Int(0),       {}},
    {"HI_HI_ALM/AlarmState",         30,    1,  2, dash,     144,  0x3, Int(0),       Ctl(3)},
    {"HI_HI_ALM/TimeStamp",          30,    2, 12, dash,     144,  0x3, Empty,        {}},
    {"HI_HI_ALM/Subcode",            30,   10,  3, dash,     144,  0x3, Empty,        {}},
    {"HI_HI_ALM/Value",              30,   12,  8, dash,     144,  0x3, Empty,        Unit(1342)},
    {"HI_ALM/",                      31, dash,  0, dash,       1, dash, Empty,        {}},
    {"HI_ALM/Unacknowledged",        31,    0,  2, dash,     144,  0x3, Int(0),       {}},
    {"HI_ALM/AlarmState",            31,    1,  2, dash,     144,  0x3, Int(0),       Ctl(3)},
    {"HI_ALM/TimeStamp",             31,    2, 12, dash,     144,  0x3, Empty,        {}},
    {"HI_ALM/Subcode",               31,   10,  3, dash,     144,  0x3, Empty,        {}},
    {"HI_ALM/Value",                 31,   12,  8, dash,     144,  0x3, Empty,        Unit(1342)},
    {"LO_ALM/",                      32, dash,  0, dash,       1, dash, Empty,        {}},
    {"LO_ALM/Unacknowledged",        32,    0,  2, dash,     144,  0x3, Int(0),       {}},
    {"LO_ALM/AlarmState",            32,    1,  2, dash,     144,  0x3, Int(0),       Ctl(3)},
    {"LO_ALM/TimeStamp",             32,    2, 12, dash,     144,  0x3, Empty,        {}},
    {"LO_ALM/Subcode",               32,   10,  3, dash,     144,  0x3, Empty,        {}},
    {"LO_ALM/Value",                 32,   12,  8, dash,     144,  0x3, Empty,        Unit(1342)},
    {"LO_LO_ALM/",                   33, dash,  0, dash,       1, dash, Empty,        {}},
    {"LO_LO_ALM/Unacknowledged",     33,    0,  2, dash,     144,  0x3, Int(0),       {}},
    {"LO_LO_ALM/AlarmState",         33,    1,  2, dash,     144,  0x3, Int(0),       Ctl(3)},
    {"LO_LO_ALM/TimeStamp",          33,    2, 12, dash,     144,  0x3, Empty,        {}},
    {"LO_LO_ALM/Subcode",            33,   10,  3, dash,     144,  0x3, Empty,        {}},
    {"LO_LO_ALM/Value",              33,   12,  8, dash,     144,  0x3, Empty,        Unit(1342)},
    {"SIMULATE/",                    34, dash,  0, dash,       3, dash, Empty,        {}},
    {"SIMULATE/StatusQuality",       34,    0,  2, dash, 2097296, dash, Int(0),       Mask(0xFC) | Ctl(3)},
    {"SIMULATE/StatusLimit",         34,    0,  2, dash, 2097296, dash, Int(0),       Mask(0x03) | Ctl(3)},
    {"SIMULATE/Value",               34,    1,  8, dash, 2097296, dash, Dbl(0.0),     Unit(1342)},
    {"SIMULATE/Enabled",             34,    5,  2, dash, 2097296, dash, Int(0),       Ctl(3)},
    {"OUT_UNIT_TEXT",                35,    0, 14,   16,     147, dash, Str(""),      {}},
};

// The time constant, whose unit the builder registers and whose range it sets.
constexpr std::string_view kTimeConstantPath = "PV_FTIME";

// The actual mode that makes the output a manual value.
constexpr double kManualMode = 16;
// The output members whose flag 0x1 follows the actual mode, in this order.
constexpr const char* kModeDependentValues[] = {"OUT/Value", "OUT/StatusQuality", "OUT/StatusLimit"};
const platform::rt::PathList kModeDependentList(kModeDependentValues);

// The values shown with the output scale's decimal point, in the order they are reported.
constexpr const char* kDecimalPointValues[] = {
    "OUT/Value", "ALARM_HYS", "HI_HI_LIM", "HI_LIM", "LO_LIM", "LO_LO_LIM", "OUT_SCALE/Up_Val", "OUT_SCALE/Lo_Val"};
const platform::rt::PathList kDecimalPointList(kDecimalPointValues);

// The values expressed in the output unit, in the order they are given it.
constexpr const char* kOutputUnitValues[] = {
    "OUT/Value", "OUT_SCALE/Up_Val", "OUT_SCALE/Lo_Val", "ALARM_HYS", "HI_HI_LIM", "HI_LIM", "LO_LIM",
    "LO_LO_LIM", "HI_HI_ALM/Value", "HI_ALM/Value", "LO_ALM/Value", "LO_LO_ALM/Value", "FSAFE_VALUE"};
const platform::rt::PathList kOutputUnitList(kOutputUnitValues);

// The constant unit code under which block n keeps its own unit text.
int16_t BlockUnitTextCode(int16_t n) {
    const int32_t code = int32_t{kBlockUnitTextBase} + n;
    if (code > std::numeric_limits<int16_t>::max()) com::Raise(6);
    return static_cast<int16_t>(code);
}

// Whether the output unit is the block's own unit text, under which values are not converted.
bool HoldsTextUnit(const clsDataElement& unitElement) {
    return com::CompareTo(unitElement.TransientValue, kTextUnitCode) == com::Cmp::Equal;
}

// Registers the time constant's unit ("s") and its range 0 to 100.
void SetUpTimeConstant(clsDataElement& element, clsPROFIBUSProfil3Units& units) {
    units.SetUnitInformation(element.nInitUnit, 0, 0, "s", "help");
    element.SetRange(0, Variant::Dbl(0.0), Variant::Dbl(100.0));
}

}  // namespace

void CreateAIBlockModel(int16_t n, const std::shared_ptr<platform::rt::DTMContext>& DTMContext) {
    auto& parameters = com::Deref(com::Deref(DTMContext).Parameters());
    clsPROFIBUSProfil3Units& units = UnitsOf(DTMContext);
    const BlockSpec spec{GetAIBlockPrefix(n), pbfFunctionAIBlock, n};

    for (const BlockRow& row : kAIRows) {
        auto element = AddBlockRow(parameters, spec, row);
        if (row.path == kTimeConstantPath) SetUpTimeConstant(*element, units);
    }
}

void OnAIParameterChanged(int16_t n, const std::shared_ptr<clsDataElement>& pda,
                          const std::shared_ptr<platform::rt::DTMContext>& DTMContext) {
    const std::string& prefix = GetAIBlockPrefix(n);
    auto& parameters = com::Deref(com::Deref(DTMContext).Parameters());
    const clsDataElement& changed = com::Deref(pda);

    if (IsPathOf(changed.Name, prefix, "MODE_BLK/Actual")) {
        // Only the members change; the "OUT/" header keeps its own flags.
        const ElementsAtPaths values(parameters, kModeDependentList, n, prefix);
        for (size_t i = 0; i < std::size(kModeDependentValues); ++i) {
            const auto& element = values.Item(i);
            clsDataElement& el = values[i];
            const bool manual = com::CompareTo(changed.TransientValue, kManualMode) == com::Cmp::Equal;
            el.StatusFlags(manual ? (el.StatusFlags() & ~0x1) : (el.StatusFlags() | 0x1));
            parameters.NotifyChange(element, "");
        }
    } else if (IsPathOf(changed.Name, prefix, "OUT_SCALE/DecPoint")) {
        // Nothing changes; each value is reshown with the new decimal point.
        const ElementsAtPaths values(parameters, kDecimalPointList, n, prefix);
        for (size_t i = 0; i < std::size(kDecimalPointValues); ++i) parameters.NotifyChange(values.Element(i), "");
    }
}

namespace {

// SetElementUnit for one of several targets of one unit: `model` is looked up
// on the first conversion and kept for the next target.
void FollowUnit(platform::rt::Parameters& Parameters, clsDataModel*& model,
                const std::shared_ptr<clsDataElement>& unitElement, const std::shared_ptr<clsDataElement>& target,
                bool bNoNotify) {
    const clsDataElement& unit = com::Deref(unitElement);
    clsDataElement& el = com::Deref(target);
    if (HoldsTextUnit(unit)) {
        el.nTransientUnit = BlockUnitTextCode(unit.BlockNumber);
    } else {
        if (!model) model = &DataModelOf(Parameters);
        ConvertUnitValues(*model, el, unit);
    }
    if (!bNoNotify) Parameters.NotifyChange(target, "");
}

}  // namespace

void OnAIUnitChanged(const std::shared_ptr<clsDataElement>& pda, platform::rt::Parameters& Parameters,
                     bool bNoNotify) {
    const clsDataElement& changed = com::Deref(pda);
    const int16_t n = changed.BlockNumber;
    const std::string& prefix = GetAIBlockPrefix(n);

    if (IsPathOf(changed.Name, prefix, "OUT_SCALE/Unit")) {
        const ElementsAtPaths values(Parameters, kOutputUnitList, n, prefix);
        std::array<std::shared_ptr<clsDataElement>, std::size(kOutputUnitValues)> targets;
        for (size_t i = 0; i < targets.size(); ++i) targets[i] = values.Element(i);
        // All 13 values follow the new unit, or none does.
        clsDataModel* model = nullptr;
        if (!HoldsTextUnit(changed)) {
            model = &DataModelOf(Parameters);
            CheckUnitChange(Parameters, *model, targets, pda);
        }
        for (const auto& target : targets) FollowUnit(Parameters, model, pda, target, bNoNotify);
    } else if (IsPathOf(changed.Name, prefix, "OUT_UNIT_TEXT")) {
        auto unitElement = ElementAt(Parameters, prefix, "OUT_SCALE/Unit");
        clsPROFIBUSProfil3Units& units = com::Deref(DataModelOf(Parameters).PROFIBUSProfil3Units());
        units.SetUnitInformation(kTextUnitCode, 1.0, 0.0, changed.Label, "");
        units.SetUnitInformation(BlockUnitTextCode(n), 1.0, 0.0, com::CStr(changed.TransientValue), "");
        com::Deref(unitElement).SetStrValueFromIdxList(kTextUnitCode, changed.Label);
        if (!bNoNotify) Parameters.NotifyChange(unitElement, "");
    }
}

void SetElementUnit(platform::rt::Parameters& Parameters, const std::shared_ptr<clsDataElement>& unitElement,
                    const std::shared_ptr<clsDataElement>& target, bool bNoNotify) {
    clsDataModel* model = nullptr;
    FollowUnit(Parameters, model, unitElement, target, bNoNotify);
}

}  // namespace dtm

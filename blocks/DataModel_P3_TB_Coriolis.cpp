// The Flow Coriolis Transducer Block's elements and its unit handler.
#include "blocks/DataModel_P3_TB_Coriolis.h"

#include <iterator>
#include <vector>

#include "blocks/BlockTable.h"
#include "blocks/DataModel_P3_FB_AI.h"
#include "model/elements/DataModelHelpers.h"
#include "model/elements/UnitConversion.h"
#include "model/elements/clsDataElement.h"
#include "model/elements/clsDataModel.h"
#include "platform/com/Error.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/Parameters.h"

namespace dtm {
namespace {

using namespace table;
namespace com = platform::com;

// ControlType 3: enumerated values; ControlType 4: bit-coded values.
// Flags 0x1: static parameter; 0x3: changes while the device runs.
// The mode and unit parameters form one run ahead of "LOW_FLOW_CUTOFF", each
// right behind the one before, so that a unit stands ahead of its values.
constexpr BlockRow kTransducerRows[] = {
    // Path                          Rel  Pos Type  Len Mode Flags Initial       Other
    {"BlockIndex",                 dash, dash,  2, dash, 144,  0x1, BlockNo,      NoBlockType},
    {"BLK_OBJ/",                      0, dash,  0, dash,   1, dash, Empty,        {}},
    {"BLK_OBJ/Reserved",              0,    0,  2, dash, 144,  0x1, Empty,        {}},
    {"BLK_OBJ/Block_Object",          0,    1,  2, dash, 144,  0x1, Int(3),       Ctl(3)},
    {"BLK_OBJ/Parent_Class",          0,    2,  2, dash, 144,  0x1, Int(3),       Ctl(3)},
    {"BLK_OBJ/Class",                 0,    3,  2, dash, 144,  0x1, Int(3),       Ctl(3)},
    {"BLK_OBJ/DD_Reference",          0,    4,  7, dash, 144,  0x1, Empty,        {}},
    {"BLK_OBJ/DD_Revision",           0,    8,  3, dash, 144,  0x1, Empty,        {}},
    {"BLK_OBJ/Profile",               0,   10,  3, dash, 144,  0x1, Int(0x4002),  Ctl(3)},
    {"BLK_OBJ/Profile_Revision",      0,   12,  3, dash, 144,  0x1, Int(0x0300),  Ctl(3)},
    {"BLK_OBJ/Execution_Time",        0,   14,  2, dash, 144,  0x1, Empty,        {}},
    {"BLK_OBJ/Number_of_Parameters",  0,   15,  3, dash, 144,  0x1, Empty,        {}},
    {"BLK_OBJ/Address_of_View_1",     0,   17,  3, dash, 144,  0x1, Empty,        {}},
    {"BLK_OBJ/Number_of_Views",       0,   19,  2, dash, 144,  0x1, Empty,        {}},
    {"ST_REV",                        1,    0,  3, dash, 145,  0x1, Int(0),       {}},
    {"TAG_DESC",                      2,    0, 14,   32, 147, dash, Str(""),      {}},
    {"STRATEGY",                      3,    0,  3, dash, 147, dash, Int(0),       {}},
    {"ALERT_KEY",                     4,    0,  2, dash, 147, dash, Int(0),       {}},
    {"TARGET_MODE",                   5,    0,  2, dash, 147, dash, Int(8),       Ctl(3)},
    {"MODE_BLK/",                     6, dash,  0, dash,   1, dash, Empty,        {}},
    {"MODE_BLK/Actual",               6,    0,  2, dash, 144,  0x3, Int(8),       Ctl(3)},
    {"MODE_BLK/Permitted",            6,    1,  2, dash, 144,  0x3, Int(8),       Ctl(4)},
    {"MODE_BLK/Normal",               6,    2,  2, dash, 144,  0x3, Int(8),       Ctl(3)},
    {"ALARM_SUM/",                    7, dash,  0, dash,   1, dash, Empty,        {}},
    {"ALARM_SUM/Current",             7,    0,  3, dash, 144,  0x3, Int(0),       Ctl(4)},
    {"ALARM_SUM/Unacknowledged",      7,    2,  3, dash, 144,  0x3, Int(0),       Ctl(4)},
    {"ALARM_SUM/Unreported",          7,    4,  3, dash, 144,  0x3, Int(0),       Ctl(4)},
    {"ALARM_SUM/Disabled",            7,    6,  3, dash, 144,  0x3, Int(0),       Ctl(4)},
    {"CALIBR_FACTOR",                 8,    0,  8, dash, 147, dash, Dbl(0.0),     {}},
    {"LOW_FLOW_CUTOFF",               9,    0,  8, dash, 147, dash, Dbl(0.0),     {}},
    {"MEASUREMENT_MODE",             10,    0,  2, dash, 147, dash, Int(0),       Ctl(3) | Before("LOW_FLOW_CUTOFF")},
    {"FLOW_DIRECTION",               11,    0,  2, dash, 147, dash, Int(0),       Ctl(3) | After("MEASUREMENT_MODE")},
    {"ZERO_POINT",                   12,    0,  8, dash, 147, dash, Dbl(0.0),     {}},
    {"ZERO_POINT_ADJUST",            13,    0,  2, dash, 147, dash, Int(0),       Ctl(3)},
    {"ZERO_POINT_UNIT",              14,    0,  3, dash, 147, dash, Int(1062),    Ctl(3) | After("FLOW_DIRECTION")},
    {"NOMINAL_SIZE",                 15,    0,  8, dash, 147, dash, Dbl(0.0),     Unit(1013)},
    {"NOMINAL_SIZE_UNITS",           16,    0,  3, dash, 147, dash, Int(1013),    Ctl(3) | After("ZERO_POINT_UNIT")},
    {"MASS_FLOW/",                   21, dash,  0, dash,   1, dash, Empty,        {}},
    {"MASS_FLOW/Value",              21,    0,  8, dash, 144,  0x3, Dbl(0.0),     Unit(1322)},
    {"MASS_FLOW/Status",             21,    4,  2, dash, 144,  0x3, Int(0),       Ctl(3)},
    {"MASS_FLOW_UNITS",              22,    0,  3, dash, 147, dash, Int(1322),    Ctl(3) | After("NOMINAL_SIZE_UNITS")},
    {"MASS_FLOW_LO_LIMIT",           23,    0,  8, dash, 145,  0x1, Dbl(0.0),     Unit(1322)},
    {"MASS_FLOW_HI_LIMIT",           24,    0,  8, dash, 145,  0x1, Dbl(100.0),   Unit(1322)},
    {"DENSITY/",                     25, dash,  0, dash,   1, dash, Empty,        {}},
    {"DENSITY/Value",                25,    0,  8, dash, 144,  0x3, Dbl(0.0),     Unit(1103)},
    {"DENSITY/Status",               25,    4,  2, dash, 144,  0x3, Int(0),       Ctl(3)},
    {"DENSITY_UNITS",                26,    0,  3, dash, 147, dash, Int(1103),    Ctl(3) | After("MASS_FLOW_UNITS")},
    {"DENSITY_LO_LIMIT",             27,    0,  8, dash, 145,  0x1, Dbl(0.0),     Unit(1103)},
    {"DENSITY_HI_LIMIT",             28,    0,  8, dash, 145,  0x1, Dbl(100.0),   Unit(1103)},
    {"TEMPERATURE/",                 29, dash,  0, dash,   1, dash, Empty,        {}},
    {"TEMPERATURE/Value",            29,    0,  8, dash, 144,  0x3, Dbl(0.0),     Unit(1000)},
    {"TEMPERATURE/Status",           29,    4,  2, dash, 144,  0x3, Int(0),       Ctl(3)},
    {"TEMPERATURE_UNITS",            30,    0,  3, dash, 147, dash, Int(1000),    Ctl(3) | After("DENSITY_UNITS")},
    {"TEMPERATURE_LO_LIMIT",         31,    0,  8, dash, 145,  0x1, Dbl(0.0),     Unit(1000)},
    {"TEMPERATURE_HI_LIMIT",         32,    0,  8, dash, 145,  0x1, Dbl(100.0),   Unit(1000)},
};

constexpr MeasuredValueUnit kMeasuredValueUnits[] = {
    {"MASS_FLOW_UNITS", {"MASS_FLOW/Value", "MASS_FLOW_LO_LIMIT", "MASS_FLOW_HI_LIMIT"}, kChannelMassFlow},
    {"DENSITY_UNITS", {"DENSITY/Value", "DENSITY_LO_LIMIT", "DENSITY_HI_LIMIT"}, kChannelDensity},
    {"TEMPERATURE_UNITS", {"TEMPERATURE/Value", "TEMPERATURE_LO_LIMIT", "TEMPERATURE_HI_LIMIT"},
     kChannelTemperature},
};

// An AI block's CHANNEL, then the elements expressed in the unit of that
// channel, in the order they are converted.
constexpr const char* kChannelUnitPaths[] = {"CHANNEL", "PV_SCALE/Lo_Val", "PV_SCALE/Up_Val", "SIMULATE/Value"};
const platform::rt::PathList kChannelUnitList(kChannelUnitPaths);
constexpr size_t kChannel = 0;

constexpr const char* kNumberFBPath[] = {"DEVICE_DIR/Comp_List_Dir_Entries/Number_FB"};
const platform::rt::PathList kNumberFBList(kNumberFBPath);

using Targets = std::vector<std::shared_ptr<clsDataElement>>;

// Converts each target into the unit that unitElement holds and reports it changed.
void ConvertAndNotify(platform::rt::Parameters& parameters, clsDataModel& model, const Targets& targets,
                      const clsDataElement& unitElement) {
    for (const auto& target : targets) {
        ConvertUnitValues(model, *target, unitElement);
        parameters.NotifyChange(target, "");
    }
}

// The scale and simulated value of every AI block (1 to the directory's
// initial "Number_FB") whose CHANNEL holds channelCode.
Targets AIScalesForChannel(platform::rt::Parameters& parameters, const platform::Variant& channelCode) {
    Targets targets;
    const int16_t count = com::CInt(ElementsAtPaths(parameters, kNumberFBList, 0, "")[0].InitialValue);
    for (int32_t i = 1; i <= count; ++i) {
        const ElementsAtPaths block(parameters, kChannelUnitList, i, GetAIBlockPrefix(static_cast<int16_t>(i)));
        // A totaliser block has no CHANNEL under the AI prefix: nothing to do.
        const clsDataElement* channel = block.Find(kChannel);
        if (!channel || !com::Equals(channel->TransientValue, channelCode)) continue;
        for (size_t path = kChannel + 1; path < std::size(kChannelUnitPaths); ++path)
            targets.push_back(block.Element(path));
    }
    return targets;
}

}  // namespace

const std::string& GetTBBlockPrefix(int16_t n) {
    static const BlockPrefixes prefixes("TRANS/", "/FlowCori/");
    return prefixes(n);
}

void CreateTBBlockModel(int16_t n, const std::shared_ptr<platform::rt::DTMContext>& DTMContext) {
    auto parameters = com::Deref(DTMContext).Parameters();
    AddBlockRows(com::Deref(parameters), BlockSpec{GetTBBlockPrefix(n), pbfTransducerBlock, n}, kTransducerRows);
}

void OnTBUnitChanged(int16_t n, const std::shared_ptr<clsDataElement>& pda,
                     const std::shared_ptr<platform::rt::DTMContext>& DTMContext) {
    ConvertMeasuredValues(n, pda, DTMContext, kMeasuredValueUnits);
}

bool ConvertMeasuredValues(int16_t n, const std::shared_ptr<clsDataElement>& pda,
                           const std::shared_ptr<platform::rt::DTMContext>& DTMContext,
                           std::span<const MeasuredValueUnit> units) {
    const std::string& prefix = GetTBBlockPrefix(n);
    const std::string& name = com::Deref(pda).Name;
    for (const MeasuredValueUnit& entry : units) {
        if (!IsPathOf(name, prefix, entry.unit)) continue;  // exact, case-sensitive
        // Needed only for the conversion: a change of another element must not
        // depend on the context holding a model.
        auto& parameters = com::Deref(com::Deref(DTMContext).Parameters());
        clsDataModel& model = DataModelOf(DTMContext);
        const platform::Variant channel = platform::Variant::Int(entry.channel);
        Targets values;
        for (const char* path : entry.values) values.push_back(ElementAt(parameters, prefix, path));
        // The block's values and the AI scales follow the new unit together, or none does.
        Targets all = values;
        for (auto& scale : AIScalesForChannel(parameters, channel)) all.push_back(std::move(scale));
        CheckUnitChange(parameters, model, all, pda);
        ConvertAndNotify(parameters, model, values, *pda);
        UpdateAIScalesForChannel(pda, channel, DTMContext);
        return true;
    }
    return false;
}

void UpdateAIScalesForChannel(const std::shared_ptr<clsDataElement>& unitElement,
                              const platform::Variant& channelCode,
                              const std::shared_ptr<platform::rt::DTMContext>& DTMContext) {
    auto& parameters = com::Deref(com::Deref(DTMContext).Parameters());
    clsDataModel& model = DataModelOf(DTMContext);
    ConvertAndNotify(parameters, model, AIScalesForChannel(parameters, channelCode), com::Deref(unitElement));
}

}  // namespace dtm

// The converter's own parameters, defaults and handlers of the transducer block.
#include "blocks/DataModel_ManuSpec.h"

#include <string_view>

#include "blocks/BlockTable.h"
#include "blocks/DataModel_P3_TB_Coriolis.h"
#include "blocks/ManuSpecSupport.h"
#include "model/elements/DataModelHelpers.h"
#include "model/elements/clsDataElement.h"
#include "model/elements/clsDataModel.h"
#include "model/elements/clsPROFIBUSProfil3Units.h"
#include "platform/com/Error.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmRuntimeGlobal.h"
#include "platform/rt/Parameters.h"

namespace dtm {
namespace {

using namespace table;
using manuspec::DefaultRow;
using manuspec::Initial;
namespace com = platform::com;
using platform::Variant;

// Where an element of the table lives.
enum class Scope : uint8_t {
    Block,     // in the block: block type 2 and the block's number
    Unplaced,  // named under the block prefix, but without block type and number
    Instance,  // the full path as written, one element per DTM instance
};

struct ManuSpecRow {
    BlockRow row;
    int32_t userLevel = 0;  // RequiredUserLevel; 0: the factory's 1 stays
    Scope scope = Scope::Block;
};

// ControlType 3: enumerated values; ControlType 4: bit-coded values.
// Flags 0x1: static parameter; 0x3: changes while the device runs.
// The unit parameters stand right behind "NOMINAL_SIZE_UNITS", ahead of every
// value that carries their unit.
constexpr ManuSpecRow kManuSpecRows[] = {
    // Path                                      Rel  Pos Type  Len Mode Flags Initial           Other                                   UserLevel
    {{"MANU/VOLUME_FLOW/",                        17, dash,  0, dash,   1, dash, Empty,           {}}},
    {{"MANU/VOLUME_FLOW/Value",                   17,    0,  8, dash, 144,  0x3, Dbl(0.0),        Unit(1349)}},
    {{"MANU/VOLUME_FLOW/Status",                  17,    4,  2, dash, 144,  0x3, Int(0),          Ctl(3)}},
    {{"MANU/VOLUME_FLOW_UNITS",                   18,    0,  3, dash, 147, dash, Int(1349),       Ctl(3) | After("NOMINAL_SIZE_UNITS")}},
    {{"MANU/VOLUME_FLOW_LO_LIMIT",                19,    0,  8, dash, 145,  0x1, Dbl(0.0),        Unit(1349)}},
    {{"MANU/VOLUME_FLOW_HI_LIMIT",                20,    0,  8, dash, 145,  0x1, Dbl(100.0),      Unit(1349)}},
    {{"MANU/VOLUME_CONCENTRATION/",               53, dash,  0, dash,   1, dash, Empty,           {}}},
    {{"MANU/VOLUME_CONCENTRATION/Value",          53,    0,  8, dash, 144,  0x3, Dbl(0.0),        Unit(1562)}},
    {{"MANU/VOLUME_CONCENTRATION/Status",         53,    4,  2, dash, 144,  0x3, Int(3),          Ctl(3)}},
    {{"MANU/VOLUME_CONCENTRATION_UNITS",          54,    0,  3, dash, 145,  0x1, Int(1562),       Ctl(3) | After("NOMINAL_SIZE_UNITS")}},
    {{"MANU/VOLUME_CONCENTRATION_LO_LIMIT",       55,    0,  8, dash, 145,  0x1, Dbl(0.0),        Unit(1562)}},
    {{"MANU/VOLUME_CONCENTRATION_HI_LIMIT",       56,    0,  8, dash, 145,  0x1, Dbl(100.0),      Unit(1562)}},
    {{"MANU/MASS_CONCENTRATION/",                 57, dash,  0, dash,   1, dash, Empty,           {}}},
    {{"MANU/MASS_CONCENTRATION/Value",            57,    0,  8, dash, 144,  0x3, Dbl(0.0),        Unit(1343)}},
    {{"MANU/MASS_CONCENTRATION/Status",           57,    4,  2, dash, 144,  0x3, Int(3),          Ctl(3)}},
    {{"MANU/MASS_CONCENTRATION_UNITS",            58,    0,  3, dash, 145,  0x1, Int(1343),       Ctl(3) | After("NOMINAL_SIZE_UNITS")}},
    {{"MANU/MASS_CONCENTRATION_LO_LIMIT",         59,    0,  8, dash, 145,  0x1, Dbl(0.0),        Unit(1343)}},
    {{"MANU/MASS_CONCENTRATION_HI_LIMIT",         60,    0,  8, dash, 145,  0x1, Dbl(100.0),      Unit(1343)}},
    {{"MANU/DEG_BAUME/",                          61, dash,  0, dash,   1, dash, Empty,           {}}},
    {{"MANU/DEG_BAUME/Value",                     61,    0,  8, dash, 144,  0x3, Dbl(0.0),        Unit(1111)}},
    {{"MANU/DEG_BAUME/Status",                    61,    4,  2, dash, 144,  0x3, Int(3),          Ctl(3)}},
    {{"MANU/DEG_BAUME_UNITS",                     62,    0,  3, dash, 145,  0x1, Int(1111),       Ctl(3) | After("NOMINAL_SIZE_UNITS")}},
    {{"MANU/DEG_BAUME_LO_LIMIT",                  63,    0,  8, dash, 145,  0x1, Dbl(0.0),        Unit(1111)}},
    {{"MANU/DEG_BAUME_HI_LIMIT",                  64,    0,  8, dash, 145,  0x1, Dbl(100.0),      Unit(1111)}},
    {{"MANU/SOLID_FLOW/",                         65, dash,  0, dash,   1, dash, Empty,           {}}},
    {{"MANU/SOLID_FLOW/Value",                    65,    0,  8, dash, 144,  0x3, Dbl(0.0),        Unit(1322)}},
    {{"MANU/SOLID_FLOW/Status",                   65,    4,  2, dash, 144,  0x3, Int(3),          Ctl(3)}},
    {{"MANU/SOLID_FLOW_UNITS",                    66,    0,  3, dash, 147, dash, Int(1322),       Ctl(3) | After("NOMINAL_SIZE_UNITS")}},
    {{"MANU/SOLID_FLOW_LO_LIMIT",                 67,    0,  8, dash, 145,  0x1, Dbl(-0.3333333), Unit(1322)}},
    {{"MANU/SOLID_FLOW_HI_LIMIT",                 68,    0,  8, dash, 145,  0x1, Dbl(0.3333333),  Unit(1322)}},
    {{"MANU/_converter_status",                   83,    0,  1,    4, 145,  0x3, Int(0),          Ctl(4)}},
    {{"MANU/_system_state",                       84,    0,  2, dash, 145,  0x3, Int(3),          Ctl(3)}},
    {{"MANU/_low_flow_threshold",                114,    0,  8, dash, 147, dash, Int(1),          Unit(kPercentUnitCode)},  2},
    {{"MANU/_flow_direction",                    115,    0,  2, dash, 147, dash, Int(1),          Ctl(3)},                  2},
    {{"MANU/_flow_mode",                         116,    0,  2, dash, 147, dash, Int(3),          Ctl(3)},                  2},
    {{"MANU/_zero_flow_add_offset",              126,    0,  8, dash, 147, dash, Dbl(0.0),        Unit(kGramPerSecondUnitCode)}, 2},
    {{"MANU/_meter_series",                      154,    0,  2, dash, 145,  0x1, Empty,           Ctl(3)}},
    {{"MANU/_conc_function",                     157,    0,  2, dash, 147, dash, Int(1),          Ctl(3)},                  255},
    {{"MANU/_transducer_type",                   161,    0,  2, dash, 145,  0x1, Int(1),          Ctl(3)}},
    {{"MANU/_resets",                            219,    0,  2, dash, 151, dash, Int(1),          Ctl(3)},                  2},
    {{kZeroPointAdjustPath,                     dash, dash,  2, dash,   0, dash, Int(0),          Ctl(3)},                  0, Scope::Instance},
    {{"CHANNEL",                                dash, dash,  3, dash,   0,  0x1, Empty,           {}},                      0, Scope::Unplaced},
};

constexpr std::string_view kLowFlowThreshold = "MANU/_low_flow_threshold";
constexpr std::string_view kZeroFlowOffset = "MANU/_zero_flow_add_offset";
constexpr std::string_view kMeterSeries = "MANU/_meter_series";
constexpr const char* kTransducerType = "MANU/_transducer_type";
constexpr const char* kFirstModelPath = "~/RXD214";

// Meter series of the first and of the second model ('E' and 'G').
constexpr int16_t kSeriesFirstModel = 0x45;
constexpr int16_t kSeriesSecondModel = 0x47;

constexpr DefaultRow kDefaults[] = {
    {.path = "BLK_OBJ/Number_of_Parameters", .initial = Initial::Given, .given = Int(223)},
    {.path = "BLK_OBJ/Address_of_View_1", .initial = Initial::Given, .given = Int(2544)},
    {.path = "BLK_OBJ/Number_of_Views", .initial = Initial::Given, .given = Int(1)},
    {.path = "TAG_DESC", .initial = Initial::Given, .given = Str(manuspec::kBlankTagDesc)},
    {.path = "CALIBR_FACTOR", .readOnly = true},
    {.path = "ZERO_POINT_UNIT", .initial = Initial::Given, .given = Int(1004)},
    {.path = "NOMINAL_SIZE", .userLevel = 2, .readOnly = true},
    {.path = "MASS_FLOW_UNITS", .userLevel = 2},
    {.path = "MASS_FLOW_LO_LIMIT", .initial = Initial::Given, .given = Dbl(-0.3333333)},
    {.path = "MASS_FLOW_HI_LIMIT", .initial = Initial::Given, .given = Dbl(0.3333333)},
    {.path = "MANU/SOLID_FLOW_LO_LIMIT", .initial = Initial::Given, .given = Dbl(-0.3333333)},
    {.path = "MANU/SOLID_FLOW_HI_LIMIT", .initial = Initial::Given, .given = Dbl(0.3333333)},
    {.path = "DENSITY_UNITS", .userLevel = 2},
    {.path = "DENSITY_LO_LIMIT", .initial = Initial::Given, .given = Dbl(0.08)},
    {.path = "DENSITY_HI_LIMIT", .initial = Initial::Given, .given = Dbl(2.0)},
    {.path = "TEMPERATURE_UNITS", .userLevel = 2},
    {.path = "TEMPERATURE_LO_LIMIT", .initial = Initial::Given, .given = Dbl(248.15)},
    {.path = "TEMPERATURE_HI_LIMIT", .initial = Initial::Given, .given = Dbl(473.15)},
    {.path = "MANU/VOLUME_FLOW_UNITS", .userLevel = 2},
    {.path = "MANU/VOLUME_FLOW_LO_LIMIT", .initial = Initial::Given, .given = Dbl(-2.4)},
    {.path = "MANU/VOLUME_FLOW_HI_LIMIT", .initial = Initial::Given, .given = Dbl(2.4)},
    {.path = "MANU/VOLUME_CONCENTRATION_UNITS", .userLevel = 2},
    {.path = "MANU/DEG_BAUME_UNITS", .userLevel = 2},
    {.path = "MANU/SOLID_FLOW_UNITS", .userLevel = 2},
};

constexpr MeasuredValueUnit kManuSpecUnits[] = {
    {"MANU/VOLUME_FLOW_UNITS",
     {"MANU/VOLUME_FLOW/Value", "MANU/VOLUME_FLOW_LO_LIMIT", "MANU/VOLUME_FLOW_HI_LIMIT"},
     kChannelVolumeFlow},
    {"MANU/VOLUME_CONCENTRATION_UNITS",
     {"MANU/VOLUME_CONCENTRATION/Value", "MANU/VOLUME_CONCENTRATION_LO_LIMIT", "MANU/VOLUME_CONCENTRATION_HI_LIMIT"},
     kChannelVolumeConcentration},
    {"MANU/MASS_CONCENTRATION_UNITS",
     {"MANU/MASS_CONCENTRATION/Value", "MANU/MASS_CONCENTRATION_LO_LIMIT", "MANU/MASS_CONCENTRATION_HI_LIMIT"},
     kChannelMassConcentration},
    {"MANU/DEG_BAUME_UNITS", {"MANU/DEG_BAUME/Value", "MANU/DEG_BAUME_LO_LIMIT", "MANU/DEG_BAUME_HI_LIMIT"},
     kChannelDegBaume},
    {"MANU/SOLID_FLOW_UNITS", {"MANU/SOLID_FLOW/Value", "MANU/SOLID_FLOW_LO_LIMIT", "MANU/SOLID_FLOW_HI_LIMIT"},
     kChannelSolidFlow},
};

// The meter series that the instance starts with: that of the first model
// when the device type is the one "~/RXD214" names, else that of the second.
int16_t InitialMeterSeries(platform::rt::Parameters& parameters, platform::rt::DTMContext& context) {
    // The device type's id text: the text of its name.
    const Variant deviceId = Variant::Str(com::CStr(com::Deref(context.DeviceType()).DeviceTypeName()));
    const Variant firstModel = com::Deref(ElementAt(parameters, kFirstModelPath)).TransientValue;
    return com::Equals(deviceId, firstModel) ? kSeriesFirstModel : kSeriesSecondModel;
}

// Registers the constant unit the element was given, with its text.
void RegisterConstantUnit(const clsDataElement& element, clsPROFIBUSProfil3Units& units, const char* text) {
    units.SetUnitInformation(element.nInitUnit, 0.0, 0.0, text, "help");
}

BlockSpec SpecOf(Scope scope, const std::string& prefix, int16_t n) {
    switch (scope) {
        case Scope::Block: return BlockSpec{prefix, pbfTransducerBlock, n};
        case Scope::Unplaced: return BlockSpec{prefix, pbfNoneBlock, clsDataElementFields{}.BlockNumber};
        case Scope::Instance: return BlockSpec{"", pbfNoneBlock, clsDataElementFields{}.BlockNumber};
    }
    return BlockSpec{};
}

}  // namespace

void ManuSpecTBCreate(int16_t n, const std::shared_ptr<platform::rt::DTMContext>& DTMContext) {
    platform::rt::DTMContext& context = com::Deref(DTMContext);
    auto& parameters = com::Deref(context.Parameters());
    clsPROFIBUSProfil3Units& units = UnitsOf(DTMContext);
    const std::string prefix = GetTBBlockPrefix(n);

    for (const ManuSpecRow& entry : kManuSpecRows) {
        const BlockSpec spec = SpecOf(entry.scope, prefix, n);
        // One zero-point variable serves every transducer block.
        if (entry.scope == Scope::Instance && parameters.Find(spec.prefix + entry.row.path)) continue;

        BlockRow row = entry.row;
        if (row.path == kMeterSeries) row.init = Int(InitialMeterSeries(parameters, context));
        auto element = AddBlockRow(parameters, spec, row);
        clsDataElement& el = *element;
        if (entry.userLevel != 0) el.RequiredUserLevel = entry.userLevel;

        if (row.path == kLowFlowThreshold) {
            RegisterConstantUnit(el, units, "%");
            el.SetRange(0, Variant::Dbl(0.5), Variant::Int(10));
        } else if (row.path == kZeroFlowOffset) {
            RegisterConstantUnit(el, units, "g/sec");
        }
    }
}

void ManuSpecTBDefaults(int16_t n, const std::shared_ptr<platform::rt::DTMContext>& DTMContext) {
    auto& parameters = com::Deref(com::Deref(DTMContext).Parameters());
    manuspec::ApplyDefaults(parameters, GetTBBlockPrefix(n), kDefaults);
}

void ManuSpecTBChanged(int16_t n, const std::shared_ptr<clsDataElement>& pda,
                       const std::shared_ptr<platform::rt::DTMContext>& DTMContext) {
    if (ConvertMeasuredValues(n, pda, DTMContext, kManuSpecUnits)) return;

    const clsDataElement& changed = com::Deref(pda);
    if (changed.Name != GetTBBlockPrefix(n) + "ZERO_POINT_ADJUST") return;  // exact, case-sensitive

    // The variable takes the block's value only while no adjustment is pending.
    auto& parameters = com::Deref(com::Deref(DTMContext).Parameters());
    auto variable = ElementAt(parameters, kZeroPointAdjustPath);
    clsDataElement& var = com::Deref(variable);
    if (com::CompareTo(var.TransientValue, 0) != com::Cmp::Equal) return;
    var.TransientValue = changed.TransientValue;
    var.DeviceValue = changed.DeviceValue;
    parameters.NotifyChange(variable, "");
}

void ManuSpecTBUpdate(const std::shared_ptr<clsDataElement>& pda, platform::rt::Parameters& Parameters,
                      bool bNoNotify) {
    const clsDataElement& el = com::Deref(pda);
    const std::string prefix = GetTBBlockPrefix(el.BlockNumber);
    if (!IsPathOf(el.Name, prefix, kMeterSeries)) return;

    // The second model's meter series offers the second list of transducer types.
    auto transducerType = ElementAt(Parameters, prefix, kTransducerType);
    clsDataElement& type = com::Deref(transducerType);
    const int32_t list = manuspec::HoldsCode(el.TransientValue, kSeriesSecondModel) ? 1 : 0;
    type.ValueList = type.GetValueLists(list);
    if (!bNoNotify) Parameters.NotifyChange(transducerType, "");
}

}  // namespace dtm

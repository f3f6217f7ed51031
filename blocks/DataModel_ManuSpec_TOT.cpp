// The converter's defaults, remembered units and refresh of the totaliser blocks.
#include "blocks/DataModel_ManuSpec.h"

#include "blocks/BlockTable.h"
#include "blocks/DataModel_P3_FB_TOT.h"
#include "blocks/DataModel_P3_TB_Coriolis.h"
#include "blocks/ManuSpecSupport.h"
#include "model/elements/DataModelHelpers.h"
#include "model/elements/clsDataElement.h"
#include "model/elements/clsDataModel.h"
#include "platform/com/Error.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/Parameters.h"

namespace dtm {
namespace {

using namespace table;
using manuspec::DefaultRow;
using manuspec::Initial;
namespace com = platform::com;
using platform::Variant;

// The mass totaliser; every other block number sums volume flow.
constexpr int16_t kMassTotaliserBlock = 4;

// Totaliser units "m³" and "kg".
constexpr int16_t kVolumeUnit = 1034;
constexpr int16_t kMassUnit = 1088;

// Entries of the remembered units in "UNIT_TOT"'s TransientValues, which are
// also the indexes of its value lists: volume flow, and any other channel.
constexpr int32_t kVolumeEntry = 0;
constexpr int32_t kOtherEntry = 1;

// Five years in seconds: the limits are the flow limits summed over that time.
constexpr double kLimitSeconds = 157788000.0;

// The limits are shown with four decimals.
constexpr const char* kLimitFormat = "0.0000";

// What a block sums.
struct Kind {
    int16_t channel;
    int16_t unit;
    const char* loLimit;  // flow limits of transducer block 1
    const char* hiLimit;
};
constexpr Kind kMass{kChannelMassFlow, kMassUnit, "MASS_FLOW_LO_LIMIT", "MASS_FLOW_HI_LIMIT"};
constexpr Kind kVolume{kChannelVolumeFlow, kVolumeUnit, "MANU/VOLUME_FLOW_LO_LIMIT", "MANU/VOLUME_FLOW_HI_LIMIT"};

constexpr DefaultRow kDefaults[] = {
    {.path = "BLK_OBJ/Number_of_Parameters", .initial = Initial::Given, .given = Int(26)},
    {.path = "BLK_OBJ/Address_of_View_1", .initial = Initial::ViewAddress},
    {.path = "BLK_OBJ/Number_of_Views", .initial = Initial::Given, .given = Int(1)},
    {.path = "TAG_DESC", .initial = Initial::Given, .given = Str(manuspec::kBlankTagDesc)},
    {.path = "MODE_BLK/Actual", .initial = Initial::Given, .given = Int(128)},
    {.path = "MODE_BLK/Permitted", .initial = Initial::Given, .given = Int(8)},
    {.path = "UNIT_TOT", .initial = Initial::Unit},
    {.path = "CHANNEL", .initial = Initial::Channel},
    {.path = "TOTAL/Value", .unit = true},
    {.path = "PRESET_TOT", .unit = true},
    {.path = "ALARM_HYS", .unit = true, .initial = Initial::Hysteresis},
    {.path = "HI_HI_LIM", .unit = true, .initial = Initial::Hi},
    {.path = "HI_LIM", .unit = true, .initial = Initial::Hi},
    {.path = "LO_LIM", .unit = true, .initial = Initial::Lo},
    {.path = "LO_LO_LIM", .unit = true, .initial = Initial::Lo},
    {.path = "HI_HI_ALM/Value", .unit = true},
    {.path = "HI_ALM/Value", .unit = true},
    {.path = "LO_ALM/Value", .unit = true},
    {.path = "LO_LO_ALM/Value", .unit = true},
};

// The limits, shown with their display format.
constexpr const char* kLimits[] = {"ALARM_HYS", "HI_HI_LIM", "HI_LIM", "LO_LIM", "LO_LO_LIM"};
const platform::rt::PathList kLimitList(kLimits);

// The remembered units a block starts with.
Variant InitialRememberedUnits() {
    return Variant::VariantArray({Variant::Int(kVolumeUnit), Variant::Int(kMassUnit)});
}

// The entry of the remembered units (and the value list) that serves a channel.
int32_t EntryOf(const Variant& channel) {
    return manuspec::HoldsCode(channel, kChannelVolumeFlow) ? kVolumeEntry : kOtherEntry;
}

// Remembers `value` as the unit of the channel entry `entry`.
void Remember(clsDataElement& unitTot, int32_t entry, const Variant& value) {
    const Variant& remembered = unitTot.TransientValues;
    Variant units = Variant::VariantArray({remembered.At(kVolumeEntry), remembered.At(kOtherEntry)});
    units.Set(entry, value);
    unitTot.TransientValues = units;
}

}  // namespace

void ManuSpecTOTDefaults(int16_t n, const std::shared_ptr<platform::rt::DTMContext>& DTMContext) {
    auto& parameters = com::Deref(com::Deref(DTMContext).Parameters());
    const Kind& kind = n == kMassTotaliserBlock ? kMass : kVolume;
    const double lo = manuspec::TransducerInitialValue(parameters, kind.loLimit) * kLimitSeconds;
    const double hi = manuspec::TransducerInitialValue(parameters, kind.hiLimit) * kLimitSeconds;

    manuspec::BlockDefaults block;
    block.unit = kind.unit;
    block.lo = Variant::Dbl(lo);
    block.hi = Variant::Dbl(hi);
    block.hysteresis = Variant::Dbl((hi - lo) / 200);
    block.channel = kind.channel;
    block.blockNumber = n;
    const std::string& prefix = GetTOTBlockPrefix(n);
    manuspec::ApplyDefaults(parameters, prefix, kDefaults, block);
    com::Deref(ElementAt(parameters, prefix, "UNIT_TOT")).TransientValues = InitialRememberedUnits();
}

void ManuSpecTOTChanged(int16_t n, const std::shared_ptr<clsDataElement>& pda,
                        const std::shared_ptr<platform::rt::DTMContext>& DTMContext) {
    const std::string& prefix = GetTOTBlockPrefix(n);
    const clsDataElement& changed = com::Deref(pda);
    if (!IsPathOf(changed.Name, prefix, "UNIT_TOT")) return;  // exact, case-sensitive

    auto& parameters = com::Deref(com::Deref(DTMContext).Parameters());
    // A unit read from the device belongs to the device's channel, which may
    // come after it: it is remembered with that channel (ManuSpecTOTUpdate).
    if (DataModelOf(parameters).ChangeFromDevice()) return;
    const auto channel = ElementAt(parameters, prefix, "CHANNEL");
    const auto unitTot = ElementAt(parameters, prefix, "UNIT_TOT");
    Remember(com::Deref(unitTot), EntryOf(com::Deref(channel).TransientValue), changed.TransientValue);
    // Reaches the pages only: "UNIT_TOT" is the element whose change is being handled.
    parameters.NotifyChange(unitTot, "");
}

void ManuSpecTOTUpdate(const std::shared_ptr<clsDataElement>& pda, platform::rt::Parameters& Parameters,
                       bool bNoNotify) {
    clsDataElement& el = com::Deref(pda);
    const std::string& prefix = GetTOTBlockPrefix(el.BlockNumber);

    if (IsPathOf(el.Name, prefix, "CHANNEL")) {
        if (!manuspec::FindChannel(el.TransientValue)) return;  // no measured value of the transducer block
        auto unitTot = ElementAt(Parameters, prefix, "UNIT_TOT");
        clsDataElement& unit = com::Deref(unitTot);
        const int32_t entry = EntryOf(el.TransientValue);
        unit.ValueList = unit.GetValueLists(entry);
        if (bNoNotify) return;
        // Only a channel that the user chooses brings its remembered unit
        // along; one read from the device or taken over with a data set comes
        // with the block's own unit, which is remembered for it.
        if (Parameters.UpdateInProgress() || !DataModelOf(Parameters).ChangeMadeByUser()) {
            Remember(unit, entry, unit.TransientValue);
            return;
        }
        unit.TransientValue = unit.TransientValues.At(entry);
        Parameters.NotifyChange(unitTot, "");
        return;
    }

    if (IsElementAtPaths(el, Parameters, kLimitList, el.BlockNumber, prefix))
        manuspec::SetDisplayFormat(el.ValueFormat, kLimitFormat, el.TransientValue);
}

}  // namespace dtm

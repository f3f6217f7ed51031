// The converter's defaults and refresh of the AI function blocks.
#include "blocks/DataModel_ManuSpec.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "blocks/BlockTable.h"
#include "blocks/DataModel_P3_FB_AI.h"
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

// The scale's values are shown with six decimals, the time constant with two.
constexpr const char* kScaleFormat = "0.000000";
constexpr const char* kTimeConstantFormat = "0.00";
// The largest decimal point the one-byte parameter holds.
constexpr int32_t kMaxDecimalPoint = 255;
// The output limit of the fail-safe value and the alarm hysteresis.
constexpr double kFailSafeMax = 8.507075866E+37;
constexpr double kHysteresisMax = 3.40282346E+38;

constexpr DefaultRow kDefaults[] = {
    {.path = "BLK_OBJ/Number_of_Parameters", .initial = Initial::Given, .given = Int(36)},
    {.path = "BLK_OBJ/Address_of_View_1", .initial = Initial::ViewAddress},
    {.path = "BLK_OBJ/Number_of_Views", .initial = Initial::Given, .given = Int(1)},
    {.path = "TAG_DESC", .initial = Initial::Given, .given = Str(manuspec::kBlankTagDesc)},
    {.path = "OUT_SCALE/Unit", .initial = Initial::Unit},
    {.path = "OUT/Value", .unit = true},
    {.path = "PV_SCALE/Lo_Val", .unit = true, .initial = Initial::Zero, .format = kScaleFormat},
    {.path = "PV_SCALE/Up_Val", .unit = true, .initial = Initial::Hi, .format = kScaleFormat},
    {.path = "OUT_SCALE/Lo_Val", .unit = true, .initial = Initial::Zero},
    {.path = "OUT_SCALE/Up_Val", .unit = true, .initial = Initial::Hi},
    {.path = "OUT_SCALE/DecPoint", .initial = Initial::Given, .given = Int(2)},
    {.path = "LIN_TYPE", .readOnly = true},
    {.path = "CHANNEL", .initial = Initial::Channel},
    {.path = "PV_FTIME", .format = kTimeConstantFormat, .range = true, .rangeMin = 0.0, .rangeMax = 30.0},
    {.path = "FSAFE_VALUE", .unit = true, .range = true, .rangeMin = -kFailSafeMax, .rangeMax = kFailSafeMax},
    {.path = "ALARM_HYS", .unit = true, .initial = Initial::Hysteresis, .range = true, .rangeMin = 0.0,
     .rangeMax = kHysteresisMax},
    {.path = "HI_HI_LIM", .unit = true, .initial = Initial::Hi},
    {.path = "HI_LIM", .unit = true, .initial = Initial::Hi},
    {.path = "LO_LIM", .unit = true, .initial = Initial::Lo},
    {.path = "LO_LO_LIM", .unit = true, .initial = Initial::Lo},
    {.path = "HI_HI_ALM/Value", .unit = true},
    {.path = "HI_ALM/Value", .unit = true},
    {.path = "LO_ALM/Value", .unit = true},
    {.path = "LO_LO_ALM/Value", .unit = true},
    {.path = "SIMULATE/Value", .unit = true},
};

// The default channel of each AI block number; any other number reads mass flow.
struct BlockChannel {
    int16_t block;
    int16_t channel;
};
constexpr BlockChannel kDefaultChannels[] = {
    {1, kChannelMassFlow},   {2, kChannelDensity},           {3, kChannelTemperature},
    {5, kChannelVolumeFlow}, {6, kChannelMassConcentration}, {7, kChannelSolidFlow},
};

// The values that a CHANNEL change shows in the new unit without converting them, in this order.
constexpr const char* kChannelUnitValues[] = {"PV_SCALE/Up_Val", "PV_SCALE/Lo_Val", "SIMULATE/Value"};

// The output scale's decimal point, then the values shown with it.
constexpr const char* kDecimalPointPaths[] = {"OUT_SCALE/DecPoint", "ALARM_HYS",        "HI_HI_LIM",
                                              "LO_LO_LIM",          "OUT_SCALE/Up_Val", "OUT_SCALE/Lo_Val",
                                              "OUT/Value",          "HI_LIM",           "LO_LIM"};
constexpr size_t kDecimalPoint = 0;
const platform::rt::PathList kDecimalPointList(kDecimalPointPaths);

const manuspec::ChannelRow& DefaultChannel(int16_t n) {
    int16_t code = kChannelMassFlow;
    for (const BlockChannel& entry : kDefaultChannels)
        if (entry.block == n) code = entry.channel;
    return *manuspec::FindChannel(Variant::Int(code));
}

// "0", and for a decimal point d above 0 (at most kMaxDecimalPoint) "0." followed by d zeros.
std::string_view DecimalPointFormat(int32_t d, std::array<char, kMaxDecimalPoint + 2>& buffer) {
    if (d <= 0) return "0";
    buffer[0] = '0';
    buffer[1] = '.';
    std::fill_n(buffer.begin() + 2, d, '0');
    return std::string_view(buffer.data(), static_cast<size_t>(d) + 2);
}

// Gives the block the unit of the channel's measured value: the output unit
// (whose own refresh converts the block's values) and, without converting,
// the transient unit of the scale and the simulated value.
void TakeChannelUnit(platform::rt::Parameters& parameters, const std::string& prefix,
                     const clsDataElement& unitElement, bool bNoNotify) {
    if (!bNoNotify) {
        auto outUnit = ElementAt(parameters, prefix, "OUT_SCALE/Unit");
        com::Deref(outUnit).TransientValue = unitElement.TransientValue;
        parameters.NotifyChange(outUnit, "");
    }
    const int16_t unit = com::CInt(unitElement.TransientValue);
    for (const char* path : kChannelUnitValues) {
        auto element = ElementAt(parameters, prefix, path);
        com::Deref(element).nTransientUnit = unit;
        if (!bNoNotify) parameters.NotifyChange(element, "");
    }
}

}  // namespace

void ManuSpecAIDefaults(int16_t n, const std::shared_ptr<platform::rt::DTMContext>& DTMContext) {
    auto& parameters = com::Deref(com::Deref(DTMContext).Parameters());
    const manuspec::ChannelRow& channel = DefaultChannel(n);
    const double divisor = channel.halved ? 2.0 : 1.0;
    const double lo = manuspec::TransducerInitialValue(parameters, channel.loLimit) / divisor;
    const double hi = manuspec::TransducerInitialValue(parameters, channel.hiLimit) / divisor;
    const double zero = 0.0;

    manuspec::BlockDefaults block;
    block.unit = channel.defaultUnit;
    block.zero = Variant::Sng(com::CSng(Variant::Dbl(zero)));
    block.lo = Variant::Sng(com::CSng(Variant::Dbl(lo)));
    block.hi = Variant::Sng(com::CSng(Variant::Dbl(hi)));
    block.hysteresis = Variant::Sng(com::CSng(Variant::Dbl((hi - zero) / 100)));
    block.channel = channel.code;
    block.blockNumber = n;
    manuspec::ApplyDefaults(parameters, GetAIBlockPrefix(n), kDefaults, block);
}

void ManuSpecAIUpdate(const std::shared_ptr<clsDataElement>& pda, platform::rt::Parameters& Parameters,
                      bool bNoNotify) {
    clsDataElement& el = com::Deref(pda);
    const std::string& prefix = GetAIBlockPrefix(el.BlockNumber);

    if (IsPathOf(el.Name, prefix, "CHANNEL")) {
        // A data set being taken over brings its own units, and so does the
        // device. Only a channel that the user chooses brings its unit along:
        // not one read from the device, nor a notice that another change's
        // handlers send for it (the ident-number selector's validity notices).
        if (Parameters.UpdateInProgress()) return;
        if (!bNoNotify && !DataModelOf(Parameters).ChangeMadeByUser()) return;
        const manuspec::ChannelRow* channel = manuspec::FindChannel(el.TransientValue);
        if (!channel) return;  // no measured value of the transducer block
        const std::string unitPath = GetTBBlockPrefix(manuspec::kSourceTransducerBlock) + channel->unit;
        TakeChannelUnit(Parameters, prefix, com::Deref(ElementAt(Parameters, unitPath)), bNoNotify);
        return;
    }

    if (!IsElementAtPaths(el, Parameters, kDecimalPointList, el.BlockNumber, prefix, kDecimalPoint + 1)) return;
    const ElementsAtPaths paths(Parameters, kDecimalPointList, el.BlockNumber, prefix);
    const int32_t d = com::CLng(paths[kDecimalPoint].TransientValue);
    // The decimal point is a one-byte value: a larger one is an overflow, not a format of that many zeros.
    if (d > kMaxDecimalPoint) com::Raise(com::errOverflow);
    std::array<char, kMaxDecimalPoint + 2> buffer;
    manuspec::SetDisplayFormat(el.ValueFormat, DecimalPointFormat(d, buffer), el.TransientValue);
}

}  // namespace dtm

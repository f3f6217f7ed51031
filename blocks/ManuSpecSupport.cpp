// Channel table, defaults builder and display formats of the converter's block layers.
#include "blocks/ManuSpecSupport.h"

#include <cmath>
#include <string_view>

#include "blocks/DataModel_P3_TB_Coriolis.h"
#include "model/elements/DataModelHelpers.h"
#include "model/elements/clsDataElement.h"
#include "platform/com/VbText.h"
#include "platform/rt/Parameters.h"

namespace dtm::manuspec {
namespace {

namespace com = platform::com;
using platform::Variant;

// Beyond these a value is shown in exponential form.
constexpr double kFixedFormatMax = 999999;

// Codes: 277 mass flow, 281 density, 285 temperature, 273 volume flow, 313
// mass concentration, 309 volume concentration, 317 degrees Baume, 321 solid flow.
constexpr ChannelRow kChannels[] = {
    // Code Unit parameter                  Default Low limit / high limit                                            Halved
    {277, "MASS_FLOW_UNITS",                  1322, "MASS_FLOW_LO_LIMIT",               "MASS_FLOW_HI_LIMIT",               true},
    {281, "DENSITY_UNITS",                    1103, "DENSITY_LO_LIMIT",                 "DENSITY_HI_LIMIT",                 false},
    {285, "TEMPERATURE_UNITS",                1000, "TEMPERATURE_LO_LIMIT",             "TEMPERATURE_HI_LIMIT",             false},
    {273, "MANU/VOLUME_FLOW_UNITS",           1349, "MANU/VOLUME_FLOW_LO_LIMIT",        "MANU/VOLUME_FLOW_HI_LIMIT",        true},
    {313, "MANU/MASS_CONCENTRATION_UNITS",    1343, "MANU/MASS_CONCENTRATION_LO_LIMIT", "MANU/MASS_CONCENTRATION_HI_LIMIT", false},
    {309, "MANU/VOLUME_CONCENTRATION_UNITS",     0, nullptr,                            nullptr,                            false},
    {317, "MANU/DEG_BAUME_UNITS",                0, nullptr,                            nullptr,                            false},
    {321, "MANU/SOLID_FLOW_UNITS",            1322, "MANU/SOLID_FLOW_LO_LIMIT",         "MANU/SOLID_FLOW_HI_LIMIT",         true},
};

Variant InitialOf(const DefaultRow& row, const BlockDefaults& block) {
    switch (row.initial) {
        case Initial::Keep: break;
        case Initial::Given: return row.given.ToVariant(block.blockNumber);
        case Initial::Unit: return Variant::Lng(block.unit);
        case Initial::Zero: return block.zero;
        case Initial::Lo: return block.lo;
        case Initial::Hi: return block.hi;
        case Initial::Hysteresis: return block.hysteresis;
        case Initial::Channel: return Variant::Int(block.channel);
        case Initial::ViewAddress: return BlockViewAddress(block.blockNumber);
    }
    return Variant();
}

}  // namespace

std::span<const ChannelRow> Channels() { return kChannels; }

bool HoldsCode(const Variant& value, int32_t code) {
    if (value.IsArray() || value.IsObject() || value.IsMissing()) return false;
    return com::Compare(value, Variant::Lng(code)) == com::Cmp::Equal;
}

const ChannelRow* FindChannel(const Variant& value) {
    for (const ChannelRow& row : kChannels)
        if (HoldsCode(value, row.code)) return &row;
    return nullptr;
}

Variant BlockViewAddress(int16_t n) {
    const std::string digits = com::vb::Format(n, "##");
    return Variant::Lng(com::CLng(Variant::Dbl(com::vb::Val("&H" + digits + "F0"))));
}

void SetDisplayFormat(std::string& format, std::string_view fixed, const Variant& value) {
    // The value's number taken once, compared as CompareTo does: Null compares
    // with nothing, NaN lies above every number.
    bool beyond = false;
    if (!value.IsNull()) {
        const double number = com::CDbl(value);
        beyond = std::isnan(number) || number > kFixedFormatMax || number < -kFixedFormatMax;
    }
    format.assign(fixed);
    if (beyond) format.append("E+00");
}

void ApplyDefaults(platform::rt::Parameters& parameters, const std::string& prefix, std::span<const DefaultRow> rows,
                   const BlockDefaults& block) {
    for (const DefaultRow& row : rows) {
        clsDataElement& el = com::Deref(ElementAt(parameters, prefix, row.path));
        if (row.userLevel != 0) el.RequiredUserLevel = row.userLevel;
        if (row.readOnly) {
            el.ElementMode &= ~clsDataElement::kModeDownload;
            el.SetStatusFlag(0x1);
        }
        if (row.unit) el.nInitUnit = block.unit;
        if (row.initial != Initial::Keep) el.InitialValue = InitialOf(row, block);
        if (row.format) el.ValueFormat = row.format;
        if (row.range) el.SetRange(0, Variant::Dbl(row.rangeMin), Variant::Dbl(row.rangeMax));
    }
}

double TransducerInitialValue(const platform::rt::Parameters& parameters, const char* path) {
    const auto el = ElementAt(parameters, GetTBBlockPrefix(kSourceTransducerBlock) + path);
    return com::CDbl(com::Deref(el).InitialValue);
}

}  // namespace dtm::manuspec

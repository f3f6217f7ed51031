#pragma once
// The eight measured variables of transducer block 1, always in this order:
// mass flow, volume flow, density, temperature, volume concentration, mass
// concentration, degrees Baume, solid flow. Each is a unit, a record of value
// and status, and a low and a high limit.
#include <array>

namespace dtm {

struct MeasuredVariable {
    const char* units;
    const char* record;
    const char* value;
    const char* status;
    const char* loLimit;
    const char* hiLimit;
};

// clang-format off
inline constexpr std::array<MeasuredVariable, 8> kMeasuredVariables{{
    {"TRANS/1/FlowCori/MASS_FLOW_UNITS", "TRANS/1/FlowCori/MASS_FLOW/", "TRANS/1/FlowCori/MASS_FLOW/Value", "TRANS/1/FlowCori/MASS_FLOW/Status", "TRANS/1/FlowCori/MASS_FLOW_LO_LIMIT", "TRANS/1/FlowCori/MASS_FLOW_HI_LIMIT"},
    {"TRANS/1/FlowCori/MANU/VOLUME_FLOW_UNITS", "TRANS/1/FlowCori/MANU/VOLUME_FLOW/", "TRANS/1/FlowCori/MANU/VOLUME_FLOW/Value", "TRANS/1/FlowCori/MANU/VOLUME_FLOW/Status", "TRANS/1/FlowCori/MANU/VOLUME_FLOW_LO_LIMIT", "TRANS/1/FlowCori/MANU/VOLUME_FLOW_HI_LIMIT"},
    {"TRANS/1/FlowCori/DENSITY_UNITS", "TRANS/1/FlowCori/DENSITY/", "TRANS/1/FlowCori/DENSITY/Value", "TRANS/1/FlowCori/DENSITY/Status", "TRANS/1/FlowCori/DENSITY_LO_LIMIT", "TRANS/1/FlowCori/DENSITY_HI_LIMIT"},
    {"TRANS/1/FlowCori/TEMPERATURE_UNITS", "TRANS/1/FlowCori/TEMPERATURE/", "TRANS/1/FlowCori/TEMPERATURE/Value", "TRANS/1/FlowCori/TEMPERATURE/Status", "TRANS/1/FlowCori/TEMPERATURE_LO_LIMIT", "TRANS/1/FlowCori/TEMPERATURE_HI_LIMIT"},
    {"TRANS/1/FlowCori/MANU/VOLUME_CONCENTRATION_UNITS", "TRANS/1/FlowCori/MANU/VOLUME_CONCENTRATION/", "TRANS/1/FlowCori/MANU/VOLUME_CONCENTRATION/Value", "TRANS/1/FlowCori/MANU/VOLUME_CONCENTRATION/Status", "TRANS/1/FlowCori/MANU/VOLUME_CONCENTRATION_LO_LIMIT", "TRANS/1/FlowCori/MANU/VOLUME_CONCENTRATION_HI_LIMIT"},
    {"TRANS/1/FlowCori/MANU/MASS_CONCENTRATION_UNITS", "TRANS/1/FlowCori/MANU/MASS_CONCENTRATION/", "TRANS/1/FlowCori/MANU/MASS_CONCENTRATION/Value", "TRANS/1/FlowCori/MANU/MASS_CONCENTRATION/Status", "TRANS/1/FlowCori/MANU/MASS_CONCENTRATION_LO_LIMIT", "TRANS/1/FlowCori/MANU/MASS_CONCENTRATION_HI_LIMIT"},
    {"TRANS/1/FlowCori/MANU/DEG_BAUME_UNITS", "TRANS/1/FlowCori/MANU/DEG_BAUME/", "TRANS/1/FlowCori/MANU/DEG_BAUME/Value", "TRANS/1/FlowCori/MANU/DEG_BAUME/Status", "TRANS/1/FlowCori/MANU/DEG_BAUME_LO_LIMIT", "TRANS/1/FlowCori/MANU/DEG_BAUME_HI_LIMIT"},
    {"TRANS/1/FlowCori/MANU/SOLID_FLOW_UNITS", "TRANS/1/FlowCori/MANU/SOLID_FLOW/", "TRANS/1/FlowCori/MANU/SOLID_FLOW/Value", "TRANS/1/FlowCori/MANU/SOLID_FLOW/Status", "TRANS/1/FlowCori/MANU/SOLID_FLOW_LO_LIMIT", "TRANS/1/FlowCori/MANU/SOLID_FLOW_HI_LIMIT"},
}};
// clang-format on

}  // namespace dtm

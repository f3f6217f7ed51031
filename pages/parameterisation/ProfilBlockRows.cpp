#include "pages/parameterisation/ProfilBlockRows.h"

namespace dtm {

namespace {

using enum platform::ctl::RowKind;

// The block header of the Transducer, AI and Totaliser views, rows 1 to 23.
constexpr ProfilRow kBlockHeader[] = {
    {1,  "BLK_OBJ/Block_Object",         kRowValueList, kNoOption},
    {2,  "BLK_OBJ/Parent_Class",         kRowValueList, kNoOption},
    {3,  "BLK_OBJ/Class",                kRowValueList, kNoOption},
    {4,  "BLK_OBJ/DD_Reference",         kRowPlain,     kNoOption},
    {5,  "BLK_OBJ/DD_Revision",          kRowPlain,     kNoOption},
    {6,  "BLK_OBJ/Profile",              kRowValueList, kNoOption},
    {7,  "BLK_OBJ/Profile_Revision",     kRowValueList, kNoOption},
    {8,  "BLK_OBJ/Execution_Time",       kRowPlain,     kNoOption},
    {9,  "BLK_OBJ/Number_of_Parameters", kRowPlain,     kNoOption},
    {10, "BLK_OBJ/Address_of_View_1",    kRowPlain,     kNoOption},
    {11, "BLK_OBJ/Number_of_Views",      kRowPlain,     kNoOption},
    {12, "ST_REV",                       kRowPlain,     kNoOption},
    {13, "TAG_DESC",                     kRowPlain,     kNoOption},
    {14, "STRATEGY",                     kRowPlain,     kNoOption},
    {15, "ALERT_KEY",                    kRowPlain,     kNoOption},
    {16, "TARGET_MODE",                  kRowValueList, kNoOption},
    {17, "MODE_BLK/Actual",              kRowValueList, kNoOption},
    {18, "MODE_BLK/Permitted",           kRowBitList,   kNoOption},
    {19, "MODE_BLK/Normal",              kRowValueList, kNoOption},
    {20, "ALARM_SUM/Current",            kRowBitList,   kNoOption},
    {21, "ALARM_SUM/Unacknowledged",     kRowBitList,   kNoOption},
    {22, "ALARM_SUM/Unreported",         kRowBitList,   kNoOption},
    {23, "ALARM_SUM/Disabled",           kRowBitList,   kNoOption},
};

// Row 0 of the Transducer, AI and Totaliser views.
constexpr ProfilRow kBlockIndex[] = {
    {0,  "BlockIndex", kRowPlain,     kBlockIndexRow},
};

// The Physical Block view, "PHYS/".
constexpr ProfilRow kPhysicalRows[] = {
    {0,  "BLK_OBJ/Block_Object",             kRowValueList, kNoOption},
    {1,  "BLK_OBJ/Parent_Class",             kRowValueList, kNoOption},
    {2,  "BLK_OBJ/Class",                    kRowValueList, kNoOption},
    {3,  "BLK_OBJ/DD_Reference",             kRowPlain,     kNoOption},
    {4,  "BLK_OBJ/DD_Revision",              kRowPlain,     kNoOption},
    {5,  "BLK_OBJ/Profile",                  kRowValueList, kNoOption},
    {6,  "BLK_OBJ/Profile_Revision",         kRowValueList, kNoOption},
    {7,  "BLK_OBJ/Execution_Time",           kRowPlain,     kNoOption},
    {8,  "BLK_OBJ/Number_of_Parameters",     kRowPlain,     kNoOption},
    {9,  "BLK_OBJ/Address_of_View_1",        kRowPlain,     kNoOption},
    {10, "BLK_OBJ/Number_of_Views",          kRowPlain,     kNoOption},
    {11, "ST_REV",                           kRowPlain,     kNoOption},
    {12, "TAG_DESC",                         kRowPlain,     kNoOption},
    {13, "STRATEGY",                         kRowPlain,     kNoOption},
    {14, "ALERT_KEY",                        kRowPlain,     kNoOption},
    {15, "TARGET_MODE",                      kRowValueList, kNoOption},
    {16, "MODE_BLK/Actual",                  kRowValueList, kNoOption},
    {17, "MODE_BLK/Permitted",               kRowBitList,   kNoOption},
    {18, "MANU/TELVOR_IDENTNUMBER",          kRowPlain,     kNoOption},
    {19, "ALARM_SUM/Current",                kRowBitList,   kNoOption},
    {20, "ALARM_SUM/Unacknowledged",         kRowBitList,   kNoOption},
    {21, "ALARM_SUM/Unreported",             kRowBitList,   kNoOption},
    {22, "ALARM_SUM/Disabled",               kRowBitList,   kNoOption},
    {23, "SOFTWARE_REVISION",                kRowPlain,     kNoOption},
    {24, "HARDWARE_REVISION",                kRowPlain,     kNoOption},
    {25, "DEVICE_MAN_ID",                    kRowValueList, kNoOption},
    {26, "DEVICE_ID",                        kRowPlain,     kNoOption},
    {27, "DEVICE_SER_NUM",                   kRowPlain,     kNoOption},
    {28, "DIAGNOSIS",                        kRowBitList,   kNoOption},
    {29, "DIAGNOSIS_EXTENSION",              kRowPlain,     kNoOption},
    {30, "DIAGNOSIS_MASK",                   kRowBitList,   kNoOption},
    {31, "DIAGNOSIS_MASK_EXTENSION",         kRowPlain,     kNoOption},
    {32, "DEVICE_CERTIFICATION",             kRowPlain,     kNoOption},
    {33, "WRITE_LOCKING",                    kRowValueList, kNoOption},
    {34, "FACTORY_RESET",                    kRowValueList, kNoOption},
    {35, "DESCRIPTOR",                       kRowPlain,     kNoOption},
    {36, "DEVICE_MESSAGE",                   kRowPlain,     kNoOption},
    {37, "DEVICE_INSTAL_DATE",               kRowPlain,     kNoOption},
    {38, "LOCAL_OP_ENA",                     kRowValueList, kNoOption},
    {39, "IDENT_NUMBER_SELECTOR",            kRowValueList, kNoOption},
    {40, "HW_WRITE_PROTECTION",              kRowValueList, kNoOption},
    {41, "MANU/SERVICE_PASSWORD",            kRowPlain,     kNoOption},
    {42, "MANU/ACCESS_RIGHTS",               kRowPlain,     kNoOption},
    {43, "MANU/OPERATION_HOUR/days",         kRowPlain,     kNoOption},
    {44, "MANU/OPERATION_HOUR/milliseconds", kRowPlain,     kNoOption},
    {45, "MODE_BLK/Normal",                  kRowValueList, kNoOption},
    {46, "MANU/EEPROM_WRITE_CYCLES",         kRowPlain,     kNoOption},
};

// The Transducer Block view after the header, rows 24 to 82, "TRANS/%d/FlowCori/".
constexpr ProfilRow kTransducerRows[] = {
    {24, "CALIBR_FACTOR",                      kRowPlain,     kNoOption},
    {25, "LOW_FLOW_CUTOFF",                    kRowPlain,     kNoOption},
    {26, "MEASUREMENT_MODE",                   kRowPlain,     kNoOption},
    {27, "FLOW_DIRECTION",                     kRowPlain,     kNoOption},
    {28, "ZERO_POINT_UNIT",                    kRowPlain,     kNoOption},
    {29, "NOMINAL_SIZE",                       kRowPlain,     kNoOption},
    {30, "ZERO_POINT",                         kRowValueList, kNoOption},
    {31, "ZERO_POINT_ADJUST",                  kRowPlain,     kNoOption},
    {32, "MASS_FLOW/Value",                    kRowValueList, kNoOption},
    {33, "MANU/SOLID_FLOW_UNITS",              kRowPlain,     kNoOption},
    {34, "MASS_FLOW/Status",                   kRowValueList, kNoOption},
    {35, "MASS_FLOW_UNITS",                    kRowPlain,     kNoOption},
    {36, "MASS_FLOW_LO_LIMIT",                 kRowPlain,     kNoOption},
    {37, "MASS_FLOW_HI_LIMIT",                 kRowValueList, kNoOption},
    {38, "MANU/SOLID_FLOW_LO_LIMIT",           kRowPlain,     kNoOption},
    {39, "DENSITY/Value",                      kRowValueList, kNoOption},
    {40, "DENSITY/Status",                     kRowValueList, kNoOption},
    {41, "NOMINAL_SIZE_UNITS",                 kRowValueList, kNoOption},
    {42, "DENSITY_UNITS",                      kRowValueList, kNoOption},
    {43, "DENSITY_LO_LIMIT",                   kRowPlain,     kNoOption},
    {44, "DENSITY_HI_LIMIT",                   kRowValueList, kNoOption},
    {45, "MANU/VOLUME_FLOW/Value",             kRowValueList, kNoOption},
    {46, "TEMPERATURE/Value",                  kRowValueList, kNoOption},
    {47, "TEMPERATURE/Status",                 kRowPlain,     kNoOption},
    {48, "TEMPERATURE_UNITS",                  kRowValueList, kNoOption},
    {49, "MANU/SOLID_FLOW_HI_LIMIT",           kRowPlain,     kNoOption},
    {50, "TEMPERATURE_LO_LIMIT",               kRowValueList, kNoOption},
    {51, "TEMPERATURE_HI_LIMIT",               kRowPlain,     kNoOption},
    {52, "MANU/VOLUME_FLOW/Status",            kRowValueList, kNoOption},
    {53, "MANU/_converter_status",             kRowPlain,     kNoOption},
    {54, "MANU/VOLUME_FLOW_UNITS",             kRowValueList, kNoOption},
    {55, "MANU/VOLUME_FLOW_LO_LIMIT",          kRowPlain,     kNoOption},
    {56, "MANU/VOLUME_FLOW_HI_LIMIT",          kRowValueList, kNoOption},
    {57, "MANU/_system_state",                 kRowPlain,     kNoOption},
    {58, "MANU/VOLUME_CONCENTRATION/Value",    kRowValueList, kNoOption},
    {59, "MANU/VOLUME_CONCENTRATION/Status",   kRowValueList, kNoOption},
    {60, "MANU/VOLUME_CONCENTRATION_UNITS",    kRowPlain,     kNoOption},
    {61, "MANU/VOLUME_CONCENTRATION_LO_LIMIT", kRowPlain,     kNoOption},
    {62, "MANU/VOLUME_CONCENTRATION_HI_LIMIT", kRowPlain,     kNoOption},
    {63, "MANU/MASS_CONCENTRATION/Value",      kRowPlain,     kNoOption},
    {64, "MANU/_low_flow_threshold",           kRowPlain,     kNoOption},
    {65, "MANU/_flow_direction",               kRowValueList, kNoOption},
    {66, "MANU/MASS_CONCENTRATION/Status",     kRowPlain,     kNoOption},
    {67, "MANU/MASS_CONCENTRATION_UNITS",      kRowPlain,     kNoOption},
    {68, "MANU/MASS_CONCENTRATION_LO_LIMIT",   kRowPlain,     kNoOption},
    {69, "MANU/MASS_CONCENTRATION_HI_LIMIT",   kRowPlain,     kNoOption},
    {70, "MANU/DEG_BAUME/Value",               kRowPlain,     kNoOption},
    {71, "MANU/DEG_BAUME/Status",              kRowValueList, kNoOption},
    {72, "MANU/DEG_BAUME_UNITS",               kRowPlain,     kNoOption},
    {73, "MANU/DEG_BAUME_LO_LIMIT",            kRowPlain,     kNoOption},
    {74, "MANU/DEG_BAUME_HI_LIMIT",            kRowPlain,     kNoOption},
    {75, "MANU/SOLID_FLOW/Value",              kRowPlain,     kNoOption},
    {76, "MANU/SOLID_FLOW/Status",             kRowPlain,     kNoOption},
    {77, "MANU/_flow_mode",                    kRowPlain,     kNoOption},
    {78, "MANU/_zero_flow_add_offset",         kRowPlain,     kNoOption},
    {79, "MANU/_meter_series",                 kRowPlain,     kNoOption},
    {80, "MANU/_conc_function",                kRowPlain,     kNoOption},
    {81, "MANU/_transducer_type",              kRowPlain,     kNoOption},
    {82, "MANU/_resets",                       kRowPlain,     kNoOption},
};

// The batch record of the AI and Totaliser views, rows 24 to 27.
constexpr ProfilRow kBatchRows[] = {
    {24, "BATCH/BATCH_ID",           kRowPlain,     kNoOption},
    {25, "BATCH/RUP",                kRowPlain,     kNoOption},
    {26, "BATCH/OPERATION",          kRowPlain,     kNoOption},
    {27, "BATCH/PHASE",              kRowPlain,     kNoOption},
};

// The AI view's output, scaling and channel, rows 28 to 40, "FUNC/%d/AI/".
constexpr ProfilRow kAIRows[] = {
    {28, "OUT/Value",                kRowPlain,     kNoOption},
    {29, "OUT/StatusQuality",        kRowValueList, kNoOption},
    {30, "OUT/StatusLimit",          kRowValueList, kNoOption},
    {31, "PV_SCALE/Up_Val",          kRowPlain,     kNoOption},
    {32, "PV_SCALE/Lo_Val",          kRowPlain,     kNoOption},
    {33, "OUT_SCALE/Up_Val",         kRowPlain,     kNoOption},
    {34, "OUT_SCALE/Lo_Val",         kRowPlain,     kNoOption},
    {35, "OUT_SCALE/Unit",           kRowValueList, kNoOption},
    {36, "OUT_SCALE/DecPoint",       kRowValueList, kNoOption},
    {37, "LIN_TYPE",                 kRowValueList, kNoOption},
    {38, "CHANNEL",                  kRowValueList, kNoOption},
    {39, "PV_FTIME",                 kRowPlain,     kNoOption},
    {40, "FSAFE_TYPE",               kRowValueList, kNoOption},
};

// The limits and limit alarms of the AI and Totaliser views, rows 42 to 66.
constexpr ProfilRow kLimitAlarmRows[] = {
    {42, "ALARM_HYS",                kRowPlain,     kNoOption},
    {43, "HI_HI_LIM",                kRowPlain,     kNoOption},
    {44, "HI_LIM",                   kRowPlain,     kNoOption},
    {45, "LO_LIM",                   kRowPlain,     kNoOption},
    {46, "LO_LO_LIM",                kRowPlain,     kNoOption},
    {47, "HI_HI_ALM/AlarmState",     kRowValueList, kNoOption},
    {48, "HI_HI_ALM/Unacknowledged", kRowPlain,     kNoOption},
    {49, "HI_HI_ALM/TimeStamp",      kRowPlain,     kNoOption},
    {50, "HI_HI_ALM/Subcode",        kRowPlain,     kNoOption},
    {51, "HI_HI_ALM/Value",          kRowPlain,     kNoOption},
    {52, "HI_ALM/AlarmState",        kRowValueList, kNoOption},
    {53, "HI_ALM/Unacknowledged",    kRowPlain,     kNoOption},
    {54, "HI_ALM/TimeStamp",         kRowPlain,     kNoOption},
    {55, "HI_ALM/Subcode",           kRowPlain,     kNoOption},
    {56, "HI_ALM/Value",             kRowPlain,     kNoOption},
    {57, "LO_ALM/AlarmState",        kRowValueList, kNoOption},
    {58, "LO_ALM/Unacknowledged",    kRowPlain,     kNoOption},
    {59, "LO_ALM/TimeStamp",         kRowPlain,     kNoOption},
    {60, "LO_ALM/Subcode",           kRowPlain,     kNoOption},
    {61, "LO_ALM/Value",             kRowPlain,     kNoOption},
    {62, "LO_LO_ALM/AlarmState",     kRowValueList, kNoOption},
    {63, "LO_LO_ALM/Unacknowledged", kRowPlain,     kNoOption},
    {64, "LO_LO_ALM/TimeStamp",      kRowPlain,     kNoOption},
    {65, "LO_LO_ALM/Subcode",        kRowPlain,     kNoOption},
    {66, "LO_LO_ALM/Value",          kRowPlain,     kNoOption},
};

// The AI view's simulation, rows 67 to 70.
constexpr ProfilRow kAISimulateRows[] = {
    {67, "SIMULATE/StatusQuality",   kRowValueList, kNoOption},
    {68, "SIMULATE/Value",           kRowPlain,     kNoOption},
    {69, "SIMULATE/StatusLimit",     kRowValueList, kNoOption},
    {70, "SIMULATE/Enabled",         kRowValueList, kNoOption},
};

// The Totaliser view's total, modes and channel, rows 28 to 38, "FUNC/%d/TOT/".
constexpr ProfilRow kTotaliserRows[] = {
    {28, "TOTAL/Value",              kRowPlain,     kNoOption},
    {29, "TOTAL/StatusQuality",      kRowValueList, kNoOption},
    {30, "TOTAL/StatusLimit",        kRowValueList, kNoOption},
    {31, "UNIT_TOT",                 kRowPlain,     kNoOption},
    {32, "SET_TOT",                  kRowPlain,     kNoOption},
    {33, "MODE_TOT",                 kRowPlain,     kNoOption},
    {34, "FAIL_TOT",                 kRowPlain,     kNoOption},
    {35, "PRESET_TOT",               kRowValueList, kNoOption},
    {38, "CHANNEL",                  kRowValueList, kNoOption},
};

constexpr ProfilLabel kPhysicalLabels[] = {
    {"lblBlockStd", "Block Standard Parameter:", 0},
    {"lblPhysBlockStd", "Physical Block Standard Parameter:", 23},
    {"lblPhysBlockSpec", "Physical Block Manufacturer Parameter:", 41},
};
constexpr ProfilLabel kTransducerLabels[] = {
    {"lblBlockStd", "Block Standard Parameter:", 1},
    {"lblTransPressBlockStd", "Transducer Block Standard Parameter:", 24},
    {"lblTransPressBlockSpec", "Transducer Block Manufacturer Parameter:", 75},
};
constexpr ProfilLabel kFunctionLabels[] = {
    {"lblBlockStd", "Block Standard Parameter:", 1},
    {"lblFuncAIBlockStd", "Function Block Analog Input Standard Parameter:", 24},
};

// The parts of each view's rows, in index order.
constexpr std::span<const ProfilRow> kPhysicalParts[] = {kPhysicalRows};
constexpr std::span<const ProfilRow> kTransducerParts[] = {kBlockIndex, kBlockHeader, kTransducerRows};
constexpr std::span<const ProfilRow> kAIParts[] = {kBlockIndex, kBlockHeader,    kBatchRows,
                                                   kAIRows,     kLimitAlarmRows, kAISimulateRows};
constexpr std::span<const ProfilRow> kTotaliserParts[] = {kBlockIndex, kBlockHeader, kBatchRows, kTotaliserRows,
                                                          kLimitAlarmRows};

}  // namespace

// class name, tag prefix, caption prefix, numbered, hides on release, rows, labels
const ProfilBlockForm kPhysicalBlockForm{
    "ctlProfilPhysicalBlock", "PHYS/", "ctlProfilPhysicalBlock_", false, true, kPhysicalParts, kPhysicalLabels};
const ProfilBlockForm kTransducerBlockForm{"ctlProfilTBFlowCoriolis", "TRANS/%d/FlowCori/", "ctlProfilTBFlowCoriolis_",
                                           true, false, kTransducerParts, kTransducerLabels};
const ProfilBlockForm kAIBlockForm{"ctlProfilFunctionBlockAI", "FUNC/%d/AI/", "ctlProfilFunctionBlockAI_",
                                   true, false, kAIParts, kFunctionLabels};
const ProfilBlockForm kTotaliserBlockForm{"ctlProfilFunctionBlockTOT", "FUNC/%d/TOT/", "ctlProfilFunctionBlockAI_",
                                          true, false, kTotaliserParts, kFunctionLabels};

}  // namespace dtm

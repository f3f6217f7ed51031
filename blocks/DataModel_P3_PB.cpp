// The Physical Block's elements and its change handler.
#include "blocks/DataModel_P3_PB.h"

#include "blocks/BlockTable.h"
#include "model/elements/clsDataElement.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/Parameters.h"

namespace dtm {
namespace {

using namespace table;

// ControlType 3: enumerated values; ControlType 4: bit-coded values.
// Flags 0x1: static parameter; 0x3: changes while the device runs.
constexpr BlockRow kPhysicalBlockRows[] = {
    // Path                          Rel  Pos Type  Len Mode Flags Initial       Other
    {"BLK_OBJ/",                      0, dash,  0, dash,   1, dash, Empty,        {}},
    {"BLK_OBJ/Reserved",              0,    0,  2, dash, 144,  0x1, Empty,        {}},
    {"BLK_OBJ/Block_Object",          0,    1,  2, dash, 144,  0x1, Int(1),       Ctl(3)},
    {"BLK_OBJ/Parent_Class",          0,    2,  2, dash, 144,  0x1, Int(1),       Ctl(3)},
    {"BLK_OBJ/Class",                 0,    3,  2, dash, 144,  0x1, Int(250),     Ctl(3)},
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
    {"SOFTWARE_REVISION",             8,    0, 14,   16, 145,  0x1, Str(""),      {}},
    {"HARDWARE_REVISION",             9,    0, 14,   16, 145,  0x1, Str(""),      {}},
    {"DEVICE_MAN_ID",                10,    0,  3, dash, 145,  0x1, Empty,        Ctl(3)},
    {"DEVICE_ID",                    11,    0, 14,   16, 145,  0x1, Str(""),      {}},
    {"DEVICE_SER_NUM",               12,    0, 14,   16, 145,  0x1, Str(""),      {}},
    {"DIAGNOSIS",                    13,    0,  1,    4, 145,  0x3, Int(0),       Ctl(4)},
    {"DIAGNOSIS_EXTENSION",          14,    0,  1,    6, 145,  0x3, Int(0),       Ctl(4)},
    {"DIAGNOSIS_MASK",               15,    0,  1,    4, 145,  0x1, Int(0),       Ctl(4)},
    {"DIAGNOSIS_MASK_EXTENSION",     16,    0,  1,    6, 145,  0x1, Int(0),       Ctl(4)},
    {"DEVICE_CERTIFICATION",         17,    0, 14,   32, 145,  0x1, Str("CE,NE21, Exmarking see plate"), {}},
    {"WRITE_LOCKING",                18,    0,  3, dash, 147, dash, Int(0x0999),  Ctl(3)},
    {"FACTORY_RESET",                19,    0,  3, dash, 151, dash, Int(0),       Ctl(3)},
    {"DESCRIPTOR",                   20,    0, 14,   32, 147, dash, Str(""),      {}},
    {"DEVICE_MESSAGE",               21,    0, 14,   32, 147, dash, Str(""),      {}},
    {"DEVICE_INSTAL_DATE",           22,    0, 14,   16, 147, dash, Str(""),      {}},
    {"LOCAL_OP_ENA",                 23,    0,  2, dash, 147, dash, Int(1),       Ctl(3)},
    {"IDENT_NUMBER_SELECTOR",        24,    0,  2, dash, 147, dash, Int(1),       Ctl(3)},
    {"HW_WRITE_PROTECTION",          25,    0,  2, dash, 145,  0x3, Int(0),       Ctl(3)},
};

}  // namespace

void CreatePBBlockModel(uint8_t BlockNumber, const std::shared_ptr<platform::rt::DTMContext>& DTMContext) {
    auto parameters = platform::com::Deref(DTMContext).Parameters();
    AddBlockRows(platform::com::Deref(parameters), BlockSpec{"PHYS/", pbfPhysicalBlock, BlockNumber},
                 kPhysicalBlockRows);
}

void OnPBParameterChanged(const std::shared_ptr<clsDataElement>& pda, platform::rt::Parameters& /*Parameters*/) {
    // Reads the name and nothing else: the Physical Block's reactions are made
    // by the manufacturer-specific handler that runs right after this one.
    (void)platform::com::Deref(pda).Name;
}

}  // namespace dtm

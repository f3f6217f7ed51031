// The device directory's elements.
#include "blocks/DataModel_DevDir.h"

#include <string>

#include "blocks/BlockTable.h"
#include "model/elements/clsDataElement.h"
#include "platform/rt/Parameters.h"

namespace dtm {
namespace {

using namespace table;

// Every directory element: ElementMode 0 (never transferred), StatusFlags 0x1.
// The record headers are octet strings of the record's byte length.
constexpr BlockRow kDirectoryRows[] = {
    // Path                                         Rel Pos Type Len Mode Flags Initial
    {"Header/",                                     0,  0, 1,   12,  0, 0x1, Empty,     {}},
    {"Header/Dir_ID",                               0,  0, 3, dash,  0, 0x1, Int(0),    {}},
    {"Header/Dir_Rev_No",                           0,  2, 3, dash,  0, 0x1, Int(3),    {}},
    {"Header/No_Dir_Obj",                           0,  4, 3, dash,  0, 0x1, Int(2),    {}},
    {"Header/No_Dir_Entries",                       0,  6, 3, dash,  0, 0x1, Int(12),   {}},
    {"Header/First_Comp_List_Dir_Entry",            0,  8, 3, dash,  0, 0x1, Int(1),    {}},
    {"Header/No_Comp_List_Dir_Entry",               0, 10, 3, dash,  0, 0x1, Int(3),    {}},
    {"Comp_List_Dir_Entries/",                      1,  0, 1,   12,  0, 0x1, Empty,     {}},
    {"Comp_List_Dir_Entries/PB_Comp_Entry",         1,  0, 2, dash,  0, 0x1, Int(2),    {}},
    {"Comp_List_Dir_Entries/PB_Comp_Entry2",        1,  1, 2, dash,  0, 0x1, Int(4),    {}},
    {"Comp_List_Dir_Entries/Number_PB",             1,  2, 3, dash,  0, 0x1, Int(1),    {}},
    {"Comp_List_Dir_Entries/TB_Comp_Entry",         1,  4, 2, dash,  0, 0x1, Int(2),    {}},
    {"Comp_List_Dir_Entries/TB_Comp_Entry2",        1,  5, 2, dash,  0, 0x1, Int(5),    {}},
    {"Comp_List_Dir_Entries/Number_TB",             1,  6, 3, dash,  0, 0x1, Int(1),    {}},
    {"Comp_List_Dir_Entries/FB_Comp_Entry",         1,  8, 2, dash,  0, 0x1, Int(3),    {}},
    {"Comp_List_Dir_Entries/FB_Comp_Entry2",        1,  9, 2, dash,  0, 0x1, Int(6),    {}},
    {"Comp_List_Dir_Entries/Number_FB",             1, 10, 3, dash,  0, 0x1, Int(8),    {}},
    {"Comp_List_Dir_Entries/PB_slot_index",         1, 12, 3, dash,  0, 0x1, Int(0x0010), {}},
    {"Comp_List_Dir_Entries/TB_slot_index",         1, 16, 3, dash,  0, 0x1, Int(0x0910), {}},
};

// After the slot-index entries of the function blocks.
constexpr BlockRow kCompositeRows[] = {
    {"Composite_Diectory_Entries",                  1, 12, 1,   40,  0, 0x1, Empty,     {}},
    {"Composite_Diectory_Entries_continue",         3,  0, 1,   16,  0, 0x1, Empty,     {}},
};

}  // namespace

void CreateDevDirModel(platform::rt::Parameters& Parameters) {
    const BlockSpec spec{"DEVICE_DIR/", pbfDeviceDirectory, 0};
    AddBlockRows(Parameters, spec, kDirectoryRows);

    // One slot-index entry per function block i: slot i in the high byte,
    // index 16 of the block's first parameter in the low byte.
    const auto numberFB = std::dynamic_pointer_cast<clsDataElement>(
        Parameters.Item("DEVICE_DIR/Comp_List_Dir_Entries/Number_FB"));
    const int16_t count = platform::com::CInt(platform::com::Deref(numberFB).InitialValue);
    for (int32_t i = 1; i <= count; ++i) {
        const std::string path = "Comp_List_Dir_Entries/Slot_index_FB" + std::to_string(i);
        const BlockRow row{path.c_str(), 1, static_cast<int16_t>(4 * i + 16), 3, dash, 0, 0x1,
                           Lng((i << 8) | 0x10), {}};
        AddBlockRow(Parameters, spec, row);
    }

    AddBlockRows(Parameters, spec, kCompositeRows);
}

}  // namespace dtm

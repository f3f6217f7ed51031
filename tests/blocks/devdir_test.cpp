// The device directory's elements.
#include "blocks/DataModel_DevDir.h"

#include <gtest/gtest.h>

#include "BlockTestSupport.h"
#include "model/elements/DataModelHelpers.h"

namespace dtm {
namespace {

using platform::Variant;
using testing::ElementAt;
using testing::Paths;
using testing::PositionOf;

class DevDirModel : public ::testing::Test {
protected:
    void SetUp() override {
        CreateDevDirModel(params);
        for (const auto& el : params) CalcSlotIndex(*std::dynamic_pointer_cast<clsDataElement>(el));
    }
    platform::rt::Parameters params;
};

TEST_F(DevDirModel, CreatesTwentyNineElementsInTableOrder) {
    ASSERT_EQ(params.Count(), 29);
    const auto paths = Paths(params);
    EXPECT_EQ(paths.front(), "DEVICE_DIR/Header/");
    EXPECT_EQ(paths.back(), "DEVICE_DIR/Composite_Diectory_Entries_continue");
    // One slot-index entry per function block, between the transducer entry
    // and the composite directory entries.
    const int tb = PositionOf(params, "DEVICE_DIR/Comp_List_Dir_Entries/TB_slot_index");
    for (int i = 1; i <= 8; ++i)
        EXPECT_EQ(PositionOf(params, "DEVICE_DIR/Comp_List_Dir_Entries/Slot_index_FB" + std::to_string(i)), tb + i);
    EXPECT_EQ(PositionOf(params, "DEVICE_DIR/Composite_Diectory_Entries"), tb + 9);
}

TEST_F(DevDirModel, NoElementIsTransferredAndAllAreStatic) {
    for (const auto& item : params) {
        auto el = std::dynamic_pointer_cast<clsDataElement>(item);
        EXPECT_EQ(el->ElementMode, 0) << el->Name;
        EXPECT_EQ(el->StatusFlags(), 0x1) << el->Name;
        EXPECT_EQ(el->BlockType, pbfDeviceDirectory) << el->Name;
        EXPECT_EQ(el->BlockNumber, 0) << el->Name;
        EXPECT_EQ(el->Slot, 1) << el->Name;
        EXPECT_EQ(el->index, el->RelIndex) << el->Name;
    }
}

// Index and relative index are one: the directory's parameters start at index 0.
TEST_F(DevDirModel, RowsCarryTheirCodingAndDefaults) {
    const testing::ExpectedRow rows[] = {
        // Path                              Index Pos Type Len Mode Flags Ctl Initial
        {"Header/",                              0,  0, 1, 12, 0, 0x1, 1, Variant()},
        {"Header/No_Dir_Entries",                0,  6, 3,  2, 0, 0x1, 1, Variant::Int(12)},
        {"Comp_List_Dir_Entries/",               1,  0, 1, 12, 0, 0x1, 1, Variant()},
        {"Comp_List_Dir_Entries/TB_Comp_Entry2", 1,  5, 2,  1, 0, 0x1, 1, Variant::Int(5)},
        {"Comp_List_Dir_Entries/Number_TB",      1,  6, 3,  2, 0, 0x1, 1, Variant::Int(1)},
        {"Comp_List_Dir_Entries/Number_FB",      1, 10, 3,  2, 0, 0x1, 1, Variant::Int(8)},
        {"Comp_List_Dir_Entries/PB_slot_index",  1, 12, 3,  2, 0, 0x1, 1, Variant::Int(0x0010)},
        {"Comp_List_Dir_Entries/TB_slot_index",  1, 16, 3,  2, 0, 0x1, 1, Variant::Int(0x0910)},
        {"Comp_List_Dir_Entries/Slot_index_FB1", 1, 20, 3,  2, 0, 0x1, 1, Variant::Lng(0x0110)},
        {"Comp_List_Dir_Entries/Slot_index_FB8", 1, 48, 3,  2, 0, 0x1, 1, Variant::Lng(2064)},
        {"Composite_Diectory_Entries",           1, 12, 1, 40, 0, 0x1, 1, Variant()},
        {"Composite_Diectory_Entries_continue",  3,  0, 1, 16, 0, 0x1, 1, Variant()},
    };
    testing::ExpectRows(params, {"DEVICE_DIR/", pbfDeviceDirectory, 0, 1, 0}, rows);
}

// Slot i in the high byte, index 16 in the low byte: the block's first parameter.
TEST_F(DevDirModel, SlotIndexEntriesAddressEachFunctionBlocksFirstParameter) {
    for (int i = 1; i <= 8; ++i) {
        auto el = ElementAt(params, "DEVICE_DIR/Comp_List_Dir_Entries/Slot_index_FB" + std::to_string(i));
        ASSERT_NE(el, nullptr);
        const int32_t value = platform::com::CLng(el->InitialValue);
        EXPECT_EQ(value >> 8, i);
        EXPECT_EQ(value & 0xFF, 16);
        EXPECT_EQ(el->DataPosition, 16 + 4 * i);
    }
}

}  // namespace
}  // namespace dtm

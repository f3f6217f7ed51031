// The Physical Block's elements.
#include "blocks/DataModel_P3_PB.h"

#include <gtest/gtest.h>

#include "BlockTestSupport.h"
#include "model/elements/DataModelHelpers.h"
#include "platform/rt/DTMContext.h"

namespace dtm {
namespace {

using platform::Variant;
using testing::ElementAt;
using testing::Paths;

class PhysicalBlockModel : public ::testing::Test {
protected:
    void SetUp() override {
        CreatePBBlockModel(0, ctx);
        for (const auto& el : params) CalcSlotIndex(*std::dynamic_pointer_cast<clsDataElement>(el));
    }
    platform::P<platform::rt::DTMContext> ctx = platform::rt::DTMContext::Create();
    platform::rt::Parameters& params = *ctx->Parameters();
};

TEST_F(PhysicalBlockModel, CreatesFortyFiveElementsInTableOrder) {
    ASSERT_EQ(params.Count(), 45);
    const auto paths = Paths(params);
    EXPECT_EQ(paths.front(), "PHYS/BLK_OBJ/");
    EXPECT_EQ(paths[13], "PHYS/ST_REV");
    EXPECT_EQ(paths[18], "PHYS/MODE_BLK/");
    EXPECT_EQ(paths.back(), "PHYS/HW_WRITE_PROTECTION");
    for (const auto& item : params) {
        auto el = std::dynamic_pointer_cast<clsDataElement>(item);
        EXPECT_EQ(el->BlockType, pbfPhysicalBlock) << el->Name;
        EXPECT_EQ(el->BlockNumber, 0) << el->Name;
        EXPECT_EQ(el->Slot, 0) << el->Name;
        EXPECT_EQ(el->index, el->RelIndex + 16) << el->Name;
    }
}

TEST_F(PhysicalBlockModel, RecordMembersCarryTheirHeadersRelativeIndex) {
    testing::ExpectRecordMembersFollowTheirHeaders(params, "PHYS/");
}

TEST_F(PhysicalBlockModel, RowsCarryTheirCodingModesAndDefaults) {
    const testing::ExpectedRow rows[] = {
        // Path                  Index Pos Type Len Mode Flags Ctl Initial
        {"BLK_OBJ/",                16, -1,  0,  0,   1,   0, 1, Variant()},
        {"BLK_OBJ/Class",           16,  3,  2,  1, 144, 0x1, 3, Variant::Int(250)},
        {"BLK_OBJ/Profile",         16, 10,  3,  2, 144, 0x1, 3, Variant::Int(16386)},
        {"BLK_OBJ/Number_of_Views", 16, 19,  2,  1, 144, 0x1, 1, Variant()},
        {"ST_REV",                  17,  0,  3,  2, 145, 0x1, 1, Variant::Int(0)},
        {"TAG_DESC",                18,  0, 14, 32, 147,   0, 1, Variant::Str("")},
        {"MODE_BLK/Permitted",      22,  1,  2,  1, 144, 0x3, 4, Variant::Int(8)},
        {"ALARM_SUM/Disabled",      23,  6,  3,  2, 144, 0x3, 4, Variant::Int(0)},
        {"DEVICE_CERTIFICATION",    33,  0, 14, 32, 145, 0x1, 1, Variant::Str("CE,NE21, Exmarking see plate")},
        {"WRITE_LOCKING",           34,  0,  3,  2, 147,   0, 3, Variant::Int(2457)},
        {"FACTORY_RESET",           35,  0,  3,  2, 151,   0, 3, Variant::Int(0)},
        {"HW_WRITE_PROTECTION",     41,  0,  2,  1, 145, 0x3, 3, Variant::Int(0)},
    };
    testing::ExpectRows(params, {"PHYS/", pbfPhysicalBlock, 0, 0}, rows);
}

// The octet strings start as zero bytes of their length, in the order they are sent.
TEST_F(PhysicalBlockModel, OctetStringsStartAsZeroBytesOfTheirLength) {
    const std::pair<const char*, size_t> rows[] = {
        {"PHYS/DIAGNOSIS", 4}, {"PHYS/DIAGNOSIS_EXTENSION", 6},
        {"PHYS/DIAGNOSIS_MASK", 4}, {"PHYS/DIAGNOSIS_MASK_EXTENSION", 6}};
    for (const auto& [path, length] : rows) {
        auto el = ElementAt(params, path);
        ASSERT_NE(el, nullptr);
        EXPECT_EQ(el->InitialValue.ToBytes(), std::vector<uint8_t>(length, 0)) << path;
        EXPECT_TRUE(el->RawByteOrder) << path;
    }
}

}  // namespace
}  // namespace dtm

// The generic builder of the block parameter tables.
#include "blocks/BlockTable.h"

#include <gtest/gtest.h>

#include "BlockTestSupport.h"
#include "platform/com/Error.h"

namespace dtm {
namespace {

using namespace table;
using platform::com::VarType;
using testing::ElementAt;
using testing::Paths;

constexpr BlockRow kRows[] = {
    // Path          Rel  Pos Type  Len Mode Flags Initial     Other
    {"BlockIndex", dash, dash,  2, dash, 144,  0x1, BlockNo,    NoBlockType},
    {"REC/",          7, dash,  0, dash,   1, dash, Empty,      {}},
    {"REC/Status",    7,    4,  2, dash, 144,  0x3, Int(5),     Ctl(3) | Mask(0xFC)},
    {"VALUE",         9,    0,  8, dash, 147, dash, Dbl(1.5),   Unit(1342)},
    {"ENTRY",        10,    0,  3, dash, 145,  0x1, Lng(272),   {}},
    {"TEXT",         11,    0, 14,   32, 147, dash, Str("abc"), {}},
    {"TOTAL",        12,    0,  8, dash, 147, dash, Empty,      BlockUnit},
    {"BITS",         13,    0,  1,    2, 145, dash, Int(0),     Ctl(4)},
};

const BlockSpec kSpec{"FUNC/3/X/", pbfFunctionAIBlock, 3, 1034};

struct ExpectedRow {
    const char* path;
    ProfibusBlockFlags blockType;
    int16_t relIndex, pos;
    int32_t type, len, mode, flags, controlType;
    int16_t initUnit;
    uint8_t accessMask;
    VarType initType;
};

// Columns set where the row gives them; a dash leaves the factory's value
// (RelIndex and DataPosition -1, StatusFlags 0, ControlType 1, AccessMask 255).
TEST(BlockTable, RowColumnsBecomeElementProperties) {
    platform::rt::Parameters params;
    AddBlockRows(params, kSpec, kRows);

    const ExpectedRow expected[] = {
        {"FUNC/3/X/BlockIndex", pbfNoneBlock, -1, -1, 2, 1, 144, 0x1, 1, 0, 255, VarType::Integer},
        {"FUNC/3/X/REC/", pbfFunctionAIBlock, 7, -1, 0, 0, 1, 0, 1, 0, 255, VarType::Empty},
        {"FUNC/3/X/REC/Status", pbfFunctionAIBlock, 7, 4, 2, 1, 144, 0x3, 3, 0, 0xFC, VarType::Integer},
        {"FUNC/3/X/VALUE", pbfFunctionAIBlock, 9, 0, 8, 4, 147, 0, 1, 1342, 255, VarType::Double},
        {"FUNC/3/X/ENTRY", pbfFunctionAIBlock, 10, 0, 3, 2, 145, 0x1, 1, 0, 255, VarType::Long},
        {"FUNC/3/X/TEXT", pbfFunctionAIBlock, 11, 0, 14, 32, 147, 0, 1, 0, 255, VarType::String},
        {"FUNC/3/X/TOTAL", pbfFunctionAIBlock, 12, 0, 8, 4, 147, 0, 1, 1034, 255, VarType::Empty},
        {"FUNC/3/X/BITS", pbfFunctionAIBlock, 13, 0, 1, 2, 145, 0, 4, 0, 255, VarType::Array},
    };
    ASSERT_EQ(params.Count(), static_cast<int32_t>(std::size(expected)));
    for (const auto& e : expected) {
        SCOPED_TRACE(e.path);
        auto el = ElementAt(params, e.path);
        ASSERT_NE(el, nullptr);
        EXPECT_EQ(el->BlockType, e.blockType);
        EXPECT_EQ(el->BlockNumber, 3);
        EXPECT_EQ(el->RelIndex, e.relIndex);
        EXPECT_EQ(el->DataPosition, e.pos);
        EXPECT_EQ(el->ValueType, e.type);
        EXPECT_EQ(el->ValueTypeLength, e.len);
        EXPECT_EQ(el->ElementMode, e.mode);
        EXPECT_EQ(el->StatusFlags(), e.flags);
        EXPECT_EQ(el->ControlType(), e.controlType);
        EXPECT_EQ(el->nInitUnit, e.initUnit);
        EXPECT_EQ(el->AccessMask, e.accessMask);
        EXPECT_EQ(el->InitialValue.Type(), e.initType);
    }
}

TEST(BlockTable, InitialValuesKeepTheirSubtypeAndValue) {
    platform::rt::Parameters params;
    AddBlockRows(params, kSpec, kRows);

    using platform::Variant;
    EXPECT_TRUE(platform::com::Identical(ElementAt(params, "FUNC/3/X/BlockIndex")->InitialValue, Variant::Int(3)));
    EXPECT_TRUE(platform::com::Identical(ElementAt(params, "FUNC/3/X/REC/Status")->InitialValue, Variant::Int(5)));
    EXPECT_TRUE(platform::com::Identical(ElementAt(params, "FUNC/3/X/VALUE")->InitialValue, Variant::Dbl(1.5)));
    EXPECT_TRUE(platform::com::Identical(ElementAt(params, "FUNC/3/X/ENTRY")->InitialValue, Variant::Lng(272)));
    EXPECT_TRUE(platform::com::Identical(ElementAt(params, "FUNC/3/X/TEXT")->InitialValue, Variant::Str("abc")));
    // An octet string with a scalar initial value holds that many zero bytes.
    EXPECT_EQ(ElementAt(params, "FUNC/3/X/BITS")->InitialValue.ToBytes(), (std::vector<uint8_t>{0, 0}));
}

// Anchors name elements of the same block by their path after the prefix.
TEST(BlockTable, AnchorsPlaceElementsBeforeOrAfterAnEarlierOne) {
    constexpr BlockRow rows[] = {
        {"A", 0, 0, 2, dash, 144, dash, Int(0), {}},
        {"B", 1, 0, 2, dash, 144, dash, Int(0), {}},
        {"C", 2, 0, 2, dash, 144, dash, Int(0), {}},
        {"D", 3, 0, 2, dash, 144, dash, Int(0), Before("B")},
        {"E", 4, 0, 2, dash, 144, dash, Int(0), After("A")},
    };
    platform::rt::Parameters params;
    AddBlockRows(params, {"TRANS/1/FlowCori/", pbfTransducerBlock, 1}, rows);

    EXPECT_EQ(Paths(params), (std::vector<std::string>{"TRANS/1/FlowCori/A", "TRANS/1/FlowCori/E",
                                                       "TRANS/1/FlowCori/D", "TRANS/1/FlowCori/B",
                                                       "TRANS/1/FlowCori/C"}));
}

TEST(BlockTable, AnUnknownAnchorIsRaisedToTheCaller) {
    constexpr BlockRow rows[] = {{"D", 3, 0, 2, dash, 144, dash, Int(0), Before("MISSING")}};
    platform::rt::Parameters params;
    try {
        AddBlockRows(params, {"PHYS/", pbfPhysicalBlock, 0}, rows);
        FAIL() << "no error raised";
    } catch (const platform::com::ComError& e) {
        EXPECT_EQ(e.number, 5);
    }
}

}  // namespace
}  // namespace dtm

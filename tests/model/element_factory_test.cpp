// The element factory and the slot and index rule.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/elements/DataModelHelpers.h"
#include "platform/com/Error.h"
#include "platform/rt/Parameters.h"

namespace dtm {
namespace {

using platform::Variant;
using platform::com::ComError;
using platform::com::Identical;

std::vector<std::string> Paths(const platform::rt::Parameters& params) {
    std::vector<std::string> paths;
    for (const auto& el : params) paths.push_back(el->Name());
    return paths;
}

TEST(ElementFactory, LengthFollowsTheValueTypeWhenNegative) {
    struct Case {
        int32_t type, given, expected;
    } cases[] = {
        {14, -1, -1}, {14, 32, 32}, {3, -1, 2},  {99, -1, 0}, {2, -1, 1},  {10, -1, 1}, {5, -1, 2},
        {4, -1, 3},   {6, -1, 3},   {7, -1, 4},  {8, -1, 4},  {16, -1, 4}, {9, -1, 8},  {11, -1, 8},
        {12, -1, 8},  {13, -1, 17}, {0, -1, 0},  {1, -1, 0},  {15, -1, 0}, {3, 0, 0},   {3, 5, 5},
        {-3, -1, 0},
    };
    for (const auto& c : cases) {
        platform::rt::Parameters params;
        auto el = AddParam(params, "P", Variant(), c.type, c.given);
        EXPECT_EQ(el->ValueTypeLength, c.expected) << "type " << c.type << " given " << c.given;
    }
}

TEST(ElementFactory, SetsTheFactoryDefaultsAndAppends) {
    platform::rt::Parameters params;
    AddParam(params, "A", Variant::Lng(1), 7, -1);
    auto el = AddParam(params, "B", Variant::Lng(2), 7, -1);
    EXPECT_EQ(el->Name, "B");
    EXPECT_TRUE(Identical(el->InitialValue, Variant::Lng(2)));
    EXPECT_EQ(el->ValueType, 7);
    EXPECT_EQ(el->ElementMode, 144);
    EXPECT_EQ(el->RequiredUserLevel, 1);
    EXPECT_EQ(el->ControlType(), 1);
    EXPECT_EQ(el->ValueFormat, "");
    EXPECT_FALSE(el->RawByteOrder);
    EXPECT_TRUE(el->TransientValue.IsEmpty());
    EXPECT_EQ(params.Item(2), el);
    EXPECT_EQ(Paths(params), (std::vector<std::string>{"A", "B"}));
}

TEST(ElementFactory, OctetStringsAreFilledAndKeepTheirByteOrder) {
    struct Case {
        const char* what;
        Variant initial;
        int32_t length;
        Variant expected;
    } cases[] = {
        {"scalar fill", Variant::Lng(0), 4, Variant::ByteArray({0, 0, 0, 0})},
        {"fill value", Variant::Byte(0xFF), 2, Variant::ByteArray({0xFF, 0xFF})},
        {"numeric text", Variant("7"), 1, Variant::ByteArray({7})},
        {"array stays", Variant::ByteArray({1, 2, 3}), 4, Variant::ByteArray({1, 2, 3})},
        {"no length, no array", Variant::Lng(0), -1, Variant::Lng(0)},
        {"Empty stays", Variant(), 4, Variant()},
    };
    for (const auto& c : cases) {
        platform::rt::Parameters params;
        auto el = AddParam(params, "DIAG", c.initial, 1, c.length);
        EXPECT_TRUE(Identical(el->InitialValue, c.expected)) << c.what;
        EXPECT_TRUE(el->RawByteOrder) << c.what;
    }
}

TEST(ElementFactory, AnOctetFillThatIsNoByteFailsAndAddsNothing) {
    platform::rt::Parameters params;
    try {
        AddParam(params, "DIAG", Variant::Lng(256), 1, 2);
        FAIL() << "no error";
    } catch (const ComError& e) {
        EXPECT_EQ(e.number, 6);
    }
    EXPECT_THROW(AddParam(params, "DIAG", Variant("zz"), 1, 2), ComError);
    EXPECT_EQ(params.Count(), 0);
}

TEST(ElementFactory, AnchorsPlaceTheNewElement) {
    platform::rt::Parameters params;
    AddParam(params, "TB/LOW_FLOW_CUTOFF", Variant(), 8, -1);
    AddParam(params, "TB/FLOW_DIRECTION", Variant(), 2, -1);
    AddParam(params, "TB/MEASUREMENT_MODE", Variant(), 2, -1, Variant("TB/LOW_FLOW_CUTOFF"));
    AddParam(params, "TB/ZERO_POINT_UNIT", Variant(), 3, -1, Variant::Missing(), Variant("TB/MEASUREMENT_MODE"));
    EXPECT_EQ(Paths(params), (std::vector<std::string>{"TB/MEASUREMENT_MODE", "TB/ZERO_POINT_UNIT",
                                                       "TB/LOW_FLOW_CUTOFF", "TB/FLOW_DIRECTION"}));
}

TEST(SlotIndex, EachBlockTypeHasItsRule) {
    struct Case {
        ProfibusBlockFlags block;
        int16_t number, relIndex;
        int16_t slot, index;
    } cases[] = {
        {pbfDeviceDirectory, 0, 5, 1, 5},
        {pbfPhysicalBlock, 0, 0, 0, 16},
        {pbfTransducerBlock, 1, 14, 9, 30},
        {pbfTransducerBlock, 2, 14, 9, 30},
        {pbfFunctionAIBlock, 3, 10, 3, 26},
        {pbfFunctionTOTBlock, 4, 0, 4, 16},
        {pbfNoneBlock, 2, 10, 7, 8},                          // unchanged
        {static_cast<ProfibusBlockFlags>(5), 2, 10, 7, 8},  // unchanged
    };
    for (const auto& c : cases) {
        clsDataElement el;
        el.BlockType = c.block;
        el.BlockNumber = c.number;
        el.RelIndex = c.relIndex;
        el.Slot = 7;
        el.index = 8;
        CalcSlotIndex(el);
        EXPECT_EQ(el.Slot, c.slot) << "block " << c.block;
        EXPECT_EQ(el.index, c.index) << "block " << c.block;
    }
}

TEST(SlotIndex, AnIndexBeyondSixteenBitsOverflows) {
    clsDataElement el;
    el.BlockType = pbfPhysicalBlock;
    el.RelIndex = 32760;
    try {
        CalcSlotIndex(el);
        FAIL() << "no error";
    } catch (const ComError& e) {
        EXPECT_EQ(e.number, 6);
    }
}

}  // namespace
}  // namespace dtm

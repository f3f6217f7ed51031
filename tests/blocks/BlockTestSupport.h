#pragma once
// Helpers shared by the block table tests.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "model/elements/clsDataElement.h"
#include "platform/com/Variant.h"
#include "platform/rt/Parameters.h"

namespace dtm::testing {

inline std::shared_ptr<clsDataElement> ElementAt(const platform::rt::Parameters& params, const std::string& path) {
    auto el = std::dynamic_pointer_cast<clsDataElement>(params.Item(path));
    EXPECT_NE(el, nullptr) << path;
    return el;
}

// The paths of the collection in collection order.
inline std::vector<std::string> Paths(const platform::rt::Parameters& params) {
    std::vector<std::string> paths;
    for (const auto& el : params) paths.push_back(el->Name());
    return paths;
}

// Position of `path` in collection order, -1 when absent.
inline int PositionOf(const platform::rt::Parameters& params, const std::string& path) {
    const auto paths = Paths(params);
    for (size_t i = 0; i < paths.size(); ++i)
        if (paths[i] == path) return static_cast<int>(i);
    return -1;
}

// The elements `prefix` + each of `paths` stand one right behind the other in
// collection order.
inline void ExpectConsecutive(const platform::rt::Parameters& params, const std::string& prefix,
                              const std::vector<std::string>& paths) {
    SCOPED_TRACE(prefix);
    const int first = PositionOf(params, prefix + paths.front());
    ASSERT_GE(first, 0) << paths.front();
    for (size_t i = 1; i < paths.size(); ++i)
        EXPECT_EQ(PositionOf(params, prefix + paths[i]), first + static_cast<int>(i)) << paths[i];
}

// Every record member carries its header's relative index; headers of type 0
// carry no data position, members one.
inline void ExpectRecordMembersFollowTheirHeaders(const platform::rt::Parameters& params,
                                                  const std::string& prefix) {
    int members = 0;
    for (const auto& item : params) {
        auto el = std::dynamic_pointer_cast<clsDataElement>(item);
        const std::string& name = el->Name;
        if (name.rfind(prefix, 0) != 0 || name.back() == '/') continue;
        const auto slash = name.rfind('/');
        if (slash < prefix.size()) continue;  // a plain parameter of the block
        auto header = ElementAt(params, name.substr(0, slash + 1));
        EXPECT_EQ(el->RelIndex, header->RelIndex) << name;
        EXPECT_GE(el->DataPosition, 0) << name;
        if (header->ValueType == 0) {
            EXPECT_EQ(header->DataPosition, -1) << header->Name;
        }
        ++members;
    }
    EXPECT_GT(members, 0);
}

// The block a table of expected rows belongs to: every row's element carries
// its block type, number and slot, and an index `firstIndex` above its
// relative index (16 in the profile blocks, 0 in the device directory).
struct ExpectedBlock {
    std::string prefix;  // "FUNC/2/AI/"
    ProfibusBlockFlags blockType;
    int16_t blockNumber;
    int16_t slot;
    int16_t firstIndex = 16;
};

// One element of a block table, addressed by its path after the block prefix.
// The columns after `initial` default to what most elements have.
struct ExpectedRow {
    const char* path;
    int16_t index, pos;
    int32_t type, len, mode, flags, controlType;
    platform::Variant initial;  // compared with its subtype
    int16_t initUnit = 0;
    uint8_t accessMask = 255;
};

// Checks every column of each row against its element in `params`.
inline void ExpectRows(const platform::rt::Parameters& params, const ExpectedBlock& block,
                       std::span<const ExpectedRow> rows) {
    for (const auto& row : rows) {
        SCOPED_TRACE(row.path);
        auto el = ElementAt(params, block.prefix + row.path);
        ASSERT_NE(el, nullptr);
        EXPECT_EQ(el->BlockType, block.blockType);
        EXPECT_EQ(el->BlockNumber, block.blockNumber);
        EXPECT_EQ(el->Slot, block.slot);
        EXPECT_EQ(el->index, row.index);
        EXPECT_EQ(el->RelIndex, row.index - block.firstIndex);
        EXPECT_EQ(el->DataPosition, row.pos);
        EXPECT_EQ(el->ValueType, row.type);
        EXPECT_EQ(el->ValueTypeLength, row.len);
        EXPECT_EQ(el->ElementMode, row.mode);
        EXPECT_EQ(el->StatusFlags(), row.flags);
        EXPECT_EQ(el->ControlType(), row.controlType);
        EXPECT_EQ(el->AccessMask, row.accessMask);
        EXPECT_EQ(el->nInitUnit, row.initUnit);
        EXPECT_TRUE(platform::com::Identical(el->InitialValue, row.initial));
    }
}

// A block's BlockIndex (at `prefix` + "BlockIndex") holds its block number and
// stays outside the block: no block type, so no relative index, data
// position, slot or index.
inline void ExpectBlockIndexOutsideTheBlock(const platform::rt::Parameters& params, const std::string& prefix,
                                            int16_t blockNumber) {
    SCOPED_TRACE(prefix);
    auto el = ElementAt(params, prefix + "BlockIndex");
    ASSERT_NE(el, nullptr);
    EXPECT_TRUE(platform::com::Identical(el->InitialValue, platform::Variant::Int(blockNumber)));
    EXPECT_EQ(el->BlockType, pbfNoneBlock);
    EXPECT_EQ(el->BlockNumber, blockNumber);
    EXPECT_EQ(el->RelIndex, -1);
    EXPECT_EQ(el->DataPosition, -1);
    EXPECT_EQ(el->Slot, -1);
    EXPECT_EQ(el->index, -1);
    EXPECT_EQ(el->ElementMode, 144);
    EXPECT_EQ(el->StatusFlags(), 0x1);
}

}  // namespace dtm::testing

#pragma once
// Parameter tables of the PA blocks. A block's parameters are written as one
// array of BlockRow, one row per element in creation order, with the columns of
// the block's parameter list:
//
//   Path | Rel. index | Pos. | Type | Len | Mode | Flags | Initial value | Other
//
// and one generic builder (AddBlockRows) turns such a table into elements of
// the element collection. Everything a row needs is a column or a mark of the
// Other column; only the procedures that react to changes stay plain code.
//
// Example rows (the vocabulary lives in namespace dtm::table):
//
//   {"BLK_OBJ/",         0, dash, 0, dash,   1, dash, Empty,    {}},
//   {"BLK_OBJ/Class",    0,    3, 2, dash, 144,  0x1, Int(250), Ctl(3)},
//   {"TAG_DESC",         2,    0, 14,  32, 147, dash, Str(""),  {}},
//   {"HI_LIM",          19,    0, 8, dash, 147, dash, Dbl(3.402823E+38),
//                                                 BlockUnit | Before("HI_HI_LIM")},
//   {"BlockIndex",    dash, dash, 2, dash, 144,  0x1, BlockNo,  NoBlockType},
//
// Paths and anchors are written after the block prefix of the BlockSpec; a
// manufacturer-specific row keeps the block's prefix and writes "MANU/..." in
// its path, so that it can name the block's profile elements as anchors.
// A step that must follow the creation of one particular element (registering
// a unit, setting a range) takes the element that AddBlockRow returns; the
// table around it is built in parts (std::span subranges).
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "model/elements/ProfibusBlockFlags.h"
#include "platform/com/Variant.h"

namespace platform::rt {
class Parameters;
}

namespace dtm {

class clsDataElement;

// What the rows of one table share.
struct BlockSpec {
    std::string prefix;                           // put in front of every path and anchor
    ProfibusBlockFlags blockType = pbfNoneBlock;  // BlockType of the rows
    int16_t blockNumber = 0;                      // BlockNumber of every element; value of BlockNo
    int16_t blockUnit = 0;                        // nInitUnit of the rows marked BlockUnit
};

// The initial value of a row, with its variant subtype.
struct RowValue {
    enum class Kind : uint8_t { Empty, Integer, Long, Double, String, BlockNumber };
    Kind kind = Kind::Empty;
    double number = 0;
    const char* text = "";

    // The value handed to the element factory; BlockNumber gives the block's
    // number as a 16-bit Integer.
    platform::Variant ToVariant(int16_t blockNumber) const;
};

// The Other column: properties that only some rows set, and the anchors that
// place an element before or after one made earlier.
struct RowOther {
    int16_t unit = 0;              // nInitUnit; 0: not set
    bool blockUnit = false;        // nInitUnit = BlockSpec::blockUnit
    int16_t accessMask = -1;       // AccessMask; -1: not set
    int32_t controlType = 0;       // ControlType; 0: not set (the factory's 1 stays)
    const char* before = nullptr;  // put in front of this element (path after the block prefix)
    const char* after = nullptr;   // put right behind this element (path after the block prefix)
    bool noBlockType = false;      // BlockType stays pbfNoneBlock, so no slot and index
};

// One element of a block table.
struct BlockRow {
    const char* path;  // after the block prefix; a record header ends in "/"
    int16_t relIndex;  // RelIndex; dash: not set
    int16_t pos;       // DataPosition; dash: not set (record headers)
    int32_t type;      // value type code
    int32_t len;       // ValueTypeLength; dash: follows from the type
    int32_t mode;      // ElementMode
    int32_t flags;     // StatusFlags; dash: left as the factory made them
    RowValue init;     // InitialValue
    RowOther other;
};

// The vocabulary of the tables.
namespace table {

// A dash of the printed table: the column is not set on the element.
inline constexpr int32_t dash = -1;

inline constexpr RowValue Empty{};
constexpr RowValue Int(int16_t v) { return {RowValue::Kind::Integer, static_cast<double>(v), ""}; }
constexpr RowValue Lng(int32_t v) { return {RowValue::Kind::Long, static_cast<double>(v), ""}; }
constexpr RowValue Dbl(double v) { return {RowValue::Kind::Double, v, ""}; }
constexpr RowValue Str(const char* s) { return {RowValue::Kind::String, 0, s}; }
inline constexpr RowValue BlockNo{RowValue::Kind::BlockNumber, 0, ""};

constexpr RowOther Ctl(int32_t controlType) { return {.controlType = controlType}; }
constexpr RowOther Unit(int16_t code) { return {.unit = code}; }
constexpr RowOther Mask(int16_t accessMask) { return {.accessMask = accessMask}; }
constexpr RowOther Before(const char* path) { return {.before = path}; }
constexpr RowOther After(const char* path) { return {.after = path}; }
inline constexpr RowOther BlockUnit{.blockUnit = true};
inline constexpr RowOther NoBlockType{.noBlockType = true};

// Joins marks of the Other column: Ctl(3) | Mask(0xFC).
constexpr RowOther operator|(RowOther a, const RowOther& b) {
    if (b.unit != 0) a.unit = b.unit;
    if (b.blockUnit) a.blockUnit = true;
    if (b.accessMask != -1) a.accessMask = b.accessMask;
    if (b.controlType != 0) a.controlType = b.controlType;
    if (b.before) a.before = b.before;
    if (b.after) a.after = b.after;
    if (b.noBlockType) a.noBlockType = true;
    return a;
}

}  // namespace table

// Creates the element of one row: AddParam with prefix & path, the initial
// value, type, length and the anchors (prefix & anchor, or missing); then, in
// this order and where the row gives them: ElementMode, BlockType, BlockNumber,
// RelIndex, DataPosition, StatusFlags, nInitUnit, AccessMask, ControlType.
// Errors of the factory or the collection go to the caller.
std::shared_ptr<clsDataElement> AddBlockRow(platform::rt::Parameters& parameters,
                                            const BlockSpec& spec, const BlockRow& row);

// Creates the elements of a table, row by row in table order.
void AddBlockRows(platform::rt::Parameters& parameters, const BlockSpec& spec,
                  std::span<const BlockRow> rows);

// The path prefixes of one kind of block, head & n & tail ("FUNC/3/AI/"):
// the change handlers ask for them on every notice, so those of the block
// numbers 0 to 15 are made once.
class BlockPrefixes {
public:
    BlockPrefixes(std::string_view head, std::string_view tail);
    // The prefix of block n; the reference stays valid as long as the table.
    const std::string& operator()(int16_t n) const {
        if (n >= 0 && static_cast<size_t>(n) < made_.size()) return made_[static_cast<size_t>(n)];
        return Other(n);
    }

private:
    std::string head_;
    std::string tail_;
    std::array<std::string, 16> made_;
    const std::string& Other(int16_t n) const;        // a number beyond made_
    mutable std::map<int16_t, std::string> others_;  // numbers beyond made_, made when first asked
};

}  // namespace dtm

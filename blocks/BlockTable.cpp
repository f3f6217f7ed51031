// The generic builder of the block parameter tables.
#include "blocks/BlockTable.h"

#include "model/elements/DataModelHelpers.h"
#include "model/elements/clsDataElement.h"
#include "platform/rt/Parameters.h"

namespace dtm {

using platform::Variant;

Variant RowValue::ToVariant(int16_t blockNumber) const {
    switch (kind) {
        case Kind::Empty: return Variant();
        case Kind::Integer: return Variant::Int(static_cast<int16_t>(number));
        case Kind::Long: return Variant::Lng(static_cast<int32_t>(number));
        case Kind::Double: return Variant::Dbl(number);
        case Kind::String: return Variant::Str(text);
        case Kind::BlockNumber: return Variant::Int(blockNumber);
    }
    return Variant();
}

namespace {

// An anchor of the Other column: the full path, or missing.
Variant AnchorPath(const BlockSpec& spec, const char* path) {
    return path ? Variant::Str(spec.prefix + path) : Variant::Missing();
}

}  // namespace

std::shared_ptr<clsDataElement> AddBlockRow(platform::rt::Parameters& parameters, const BlockSpec& spec,
                                            const BlockRow& row) {
    const RowOther& other = row.other;
    auto element = AddParam(parameters, spec.prefix + row.path, row.init.ToVariant(spec.blockNumber), row.type,
                            row.len, AnchorPath(spec, other.before), AnchorPath(spec, other.after));
    clsDataElement& el = *element;

    el.ElementMode = row.mode;
    if (!other.noBlockType) el.BlockType = spec.blockType;
    el.BlockNumber = spec.blockNumber;
    if (row.relIndex != table::dash) el.RelIndex = row.relIndex;
    if (row.pos != table::dash) el.DataPosition = row.pos;
    if (row.flags != table::dash) el.StatusFlags(row.flags);
    if (other.blockUnit) {
        el.nInitUnit = spec.blockUnit;
    } else if (other.unit != 0) {
        el.nInitUnit = other.unit;
    }
    if (other.accessMask != -1) el.AccessMask = static_cast<uint8_t>(other.accessMask);
    if (other.controlType != 0) el.ControlType(other.controlType);
    return element;
}

void AddBlockRows(platform::rt::Parameters& parameters, const BlockSpec& spec, std::span<const BlockRow> rows) {
    for (const BlockRow& row : rows) AddBlockRow(parameters, spec, row);
}

BlockPrefixes::BlockPrefixes(std::string_view head, std::string_view tail) : head_(head), tail_(tail) {
    for (size_t n = 0; n < made_.size(); ++n) made_[n] = head_ + std::to_string(n) + tail_;
}

const std::string& BlockPrefixes::Other(int16_t n) const {
    auto it = others_.find(n);
    if (it == others_.end()) it = others_.emplace(n, head_ + std::to_string(n) + tail_).first;
    return it->second;
}

}  // namespace dtm

#include "pages/framework/BlockIndexedPage.h"

#include "platform/com/PropertyBag.h"

namespace dtm {

using platform::Variant;

int16_t ReadBlockIndex(const platform::com::PropertyBag& bag, int16_t defaultBlock) {
    return platform::com::CInt(bag.ReadProperty(kBlockIndexKey, Variant::Int(defaultBlock)));
}

void WriteBlockIndex(platform::com::PropertyBag& bag, int16_t index, int16_t defaultBlock) {
    bag.WriteProperty(kBlockIndexKey, Variant::Int(index), Variant::Int(defaultBlock));
}

void BlockIndexedPage::InitProperties() { blockIndex_ = defaultBlock_; }

void BlockIndexedPage::ReadProperties(const platform::com::PropertyBag& bag) {
    blockIndex_ = ReadBlockIndex(bag, defaultBlock_);
}

void BlockIndexedPage::WriteProperties(platform::com::PropertyBag& bag) { WriteBlockIndex(bag, blockIndex_, defaultBlock_); }

}  // namespace dtm

#pragma once
// A page that shows one block instance of its kind (IBlockIndexed), with the
// block number kept in its property bag as "BlockIndex": a new page and a bag
// without it take the page's default block, and the bag leaves it out while
// it holds the default. A page with a BlockIndex of its own keeps it in the
// bag with ReadBlockIndex and WriteBlockIndex.
#include <cstdint>

#include "pages/framework/IBlockIndexed.h"
#include "pages/framework/NavigablePage.h"

namespace dtm {

inline constexpr const char* kBlockIndexKey = "BlockIndex";

int16_t ReadBlockIndex(const platform::com::PropertyBag& bag, int16_t defaultBlock);
void WriteBlockIndex(platform::com::PropertyBag& bag, int16_t index, int16_t defaultBlock);

class BlockIndexedPage : public NavigablePage, public IBlockIndexed {
public:
    BlockIndexedPage(const PageTraits& traits, int16_t defaultBlock, NavForm form = NavForm::Reference)
        : NavigablePage(traits, form), blockIndex_(defaultBlock), defaultBlock_(defaultBlock) {}

    int16_t BlockIndex() const override { return blockIndex_; }
    void BlockIndex(int16_t index) override { blockIndex_ = index; }

    void InitProperties() override;
    void ReadProperties(const platform::com::PropertyBag& bag) override;
    void WriteProperties(platform::com::PropertyBag& bag) override;

private:
    int16_t blockIndex_;
    int16_t defaultBlock_;
};

}  // namespace dtm

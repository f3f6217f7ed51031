#pragma once
// A page that shows one block instance of its kind, chosen by its number; a
// host sets the number before it initialises the page.
#include <cstdint>

#include "platform/com/Variant.h"

namespace dtm {

class IBlockIndexed : public virtual platform::com::Object {
public:
    virtual int16_t BlockIndex() const = 0;
    virtual void BlockIndex(int16_t index) = 0;
};

}  // namespace dtm

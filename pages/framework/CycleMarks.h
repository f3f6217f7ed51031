#pragma once
// The live marks (ParamDynamic) a window holds while its cycle runs, on
// elements that the cycle does not read but that the model derives from what
// it reads. Several windows, and the cycles that read an element, may hold
// one element at once: the element counts its holders (DynamicCounter) and
// stays marked until the last of them lets go. Only the open pages hear of a
// change, through the GUI registry: the flag is no change of the data set, so
// neither the model's change handling nor the modified mark is touched.
#include <span>
#include <vector>

#include "platform/rt/DTMContext.h"

namespace dtm {

class clsDataElement;

// One holder more (up) or less on the element: ParamDynamic while any holds
// it, then the flags notice to the open pages.
void CountDynamic(const platform::P<platform::rt::DTMContext>& ctx, const platform::P<clsDataElement>& element, bool up);

class CycleMarks {
public:
    explicit CycleMarks(std::span<const char* const> paths) : paths_(paths) {}

    // Holds the elements of the paths, in order, unless the window holds them already.
    void Hold(const platform::P<platform::rt::DTMContext>& ctx);
    // Lets go of the elements Hold took, when it holds them.
    void Release(const platform::P<platform::rt::DTMContext>& ctx);

private:
    std::span<const char* const> paths_;
    std::vector<platform::P<clsDataElement>> held_;
};

}  // namespace dtm

#pragma once
// What a measuring page's bar shows of an element: the value, with the
// element's description and unit as the bar's tool tip, or one limit, which
// sets the limit mark and the same end of the scale.
#include <cstdint>

#include "model/elements/clsDataElement.h"
#include "pages/framework/ctlBar.h"
#include "platform/com/PropertyBag.h"
#include "platform/rt/DTMContext.h"

namespace dtm {

enum class BarPart { Value, Low, High };

inline constexpr int32_t kBarRed = 0x0000FF;
inline constexpr int32_t kBarBlue = 0xFF0000;

// A bar's design: the bar in `color`, blue limit marks, a scale of 20 to 80
// until the limits are known.
platform::com::PropertyBag BarDesign(int32_t color);

void ShowOnBar(ctlBar& bar, BarPart part, const clsDataElement& element,
               const platform::P<platform::rt::DTMContext>& ctx);

}  // namespace dtm

#pragma once
// What a measuring page's bar shows of an element: the value, with the
// element's description and unit as the bar's tool tip, or one limit, which
// sets the limit mark and the same end of the scale.
#include "model/elements/clsDataElement.h"
#include "pages/framework/ctlBar.h"
#include "platform/rt/DTMContext.h"

namespace dtm {

enum class BarPart { Value, Low, High };

void ShowOnBar(ctlBar& bar, BarPart part, const clsDataElement& element,
               const platform::P<platform::rt::DTMContext>& ctx);

}  // namespace dtm

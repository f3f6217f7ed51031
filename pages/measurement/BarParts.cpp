#include "pages/measurement/BarParts.h"

namespace dtm {

using platform::Variant;

platform::com::PropertyBag BarDesign(int32_t color) {
    platform::com::PropertyBag bag;
    bag.WriteProperty("Color", Variant::Lng(color));
    bag.WriteProperty("LimitColor", Variant::Lng(kBarBlue));
    bag.WriteProperty("RangeMin", Variant::Dbl(20));
    bag.WriteProperty("RangeMax", Variant::Dbl(80));
    return bag;
}

void ShowOnBar(ctlBar& bar, BarPart part, const clsDataElement& element,
               const platform::P<platform::rt::DTMContext>& ctx) {
    switch (part) {
        case BarPart::Value:
            bar.Value(element.TransientValue);
            bar.ToolTipText(element.Description + " [" + element.UnitString(ctx) + "]");
            break;
        case BarPart::Low:
            bar.LimitMin(element.TransientValue);
            bar.RangeMin(element.TransientValue);
            break;
        case BarPart::High:
            bar.LimitMax(element.TransientValue);
            bar.RangeMax(element.TransientValue);
            break;
    }
}

}  // namespace dtm

#include "pages/measurement/ctlMeasOView.h"

#include "pages/framework/clsParamLink.h"
#include "pages/parameterisation/FormTable.h"
#include "platform/ctl/ctlParameter.h"

namespace dtm {

namespace {

// A value row with label and unit, its status row under it without either.
constexpr int16_t kLabel = 2400, kUnit = 900;
constexpr FormLine kForm[] = {
    HelpPane(),
    Site(),
    Row("", 0, "TRANS/1/FlowCori/MASS_FLOW/Value", kLabel, kUnit),
    Row("", 1, "TRANS/1/FlowCori/MASS_FLOW/Status", 0, 0),
    Row("", 6, "TRANS/1/FlowCori/MANU/VOLUME_FLOW/Value", kLabel, kUnit),
    Row("", 7, "TRANS/1/FlowCori/MANU/VOLUME_FLOW/Status", 0, 0),
    Row("", 8, "TRANS/1/FlowCori/DENSITY/Value", kLabel, kUnit),
    Row("", 11, "TRANS/1/FlowCori/DENSITY/Status", 0, 0),
    Row("", 12, "TRANS/1/FlowCori/TEMPERATURE/Value", kLabel, kUnit),
    Row("", 15, "TRANS/1/FlowCori/TEMPERATURE/Status", 0, 0),
    Row("", 2, "TRANS/1/FlowCori/MANU/VOLUME_CONCENTRATION/Value", kLabel, kUnit),
    Row("", 3, "TRANS/1/FlowCori/MANU/VOLUME_CONCENTRATION/Status", 0, 0),
    Row("", 4, "TRANS/1/FlowCori/MANU/MASS_CONCENTRATION/Value", kLabel, kUnit),
    Row("", 5, "TRANS/1/FlowCori/MANU/MASS_CONCENTRATION/Status", 0, 0),
    Row("", 9, "TRANS/1/FlowCori/MANU/DEG_BAUME/Value", kLabel, kUnit),
    Row("", 10, "TRANS/1/FlowCori/MANU/DEG_BAUME/Status", 0, 0),
    Row("", 13, "TRANS/1/FlowCori/MANU/SOLID_FLOW/Value", kLabel, kUnit),
    Row("", 14, "TRANS/1/FlowCori/MANU/SOLID_FLOW/Status", 0, 0),
};

}  // namespace

ctlMeasOView::ctlMeasOView() : NavigablePage(PageTraits{.className = "ctlMeasOView", .hideOnRelease = false}) {}

void ctlMeasOView::BuildForm() { PlaceForm(*this, kForm); }

void ctlMeasOView::ConfigureLink(clsParamLink& link) { link.bDisplayDPV1Index = false; }

void ctlMeasOView::UpdateAllParameterCtls() {
    NavigablePage::UpdateAllParameterCtls();
    for (const auto& control : Controls())
        if (auto row = std::dynamic_pointer_cast<platform::ctl::ctlParameter>(control))
            row->ControlType(platform::ctl::kRowPlain);
}

}  // namespace dtm

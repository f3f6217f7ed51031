#include "pages/parameterisation/ctlInpTabPage.h"

#include <vector>

#include "core/services/ProjectHelpers.h"
#include "pages/framework/clsParamLink.h"

namespace dtm {

namespace {

constexpr FormLine kCtrlParam[] = {
    HelpPane(),
    Frame("frmCtrlParamOption"),
    Row("frmCtrlParamOption", 9, "TRANS/1/FlowCori/MANU/_conc_function", -55, 0),
    Row("", 0, "TRANS/1/FlowCori/CALIBR_FACTOR", -55, 0),
    Row("", 2, "TRANS/1/FlowCori/MANU/_low_flow_threshold", -55, -10, true),
    Row("", 3, "TRANS/1/FlowCori/MANU/_zero_flow_add_offset", -55, -10, true),
    Row("", 1, "TRANS/1/FlowCori/MANU/_flow_direction", -55, 0, true),
    Row("", 12, "TRANS/1/FlowCori/MANU/_flow_mode", -55, 0),
    Row("", 4, "TRANS/1/FlowCori/NOMINAL_SIZE", -55, -10, true),
    Site(),
};

constexpr FormLine kMeasLimits[] = {
    Frame("frmMassFlowLimit"),
    Row("frmMassFlowLimit", 0, "TRANS/1/FlowCori/MASS_FLOW_UNITS", -35, -25),
    Row("frmMassFlowLimit", 1, "TRANS/1/FlowCori/MASS_FLOW_LO_LIMIT", -35, -25, true),
    Row("frmMassFlowLimit", 2, "TRANS/1/FlowCori/MASS_FLOW_HI_LIMIT", -35, -25, true),
    Frame("frmDensityLimit"),
    Row("frmDensityLimit", 6, "TRANS/1/FlowCori/DENSITY_UNITS", -35, -25),
    Row("frmDensityLimit", 7, "TRANS/1/FlowCori/DENSITY_LO_LIMIT", -35, -25, true),
    Row("frmDensityLimit", 8, "TRANS/1/FlowCori/DENSITY_HI_LIMIT", -35, -25, true),
    HelpPane(),
    Frame("frmVolFlowLimit"),
    Row("frmVolFlowLimit", 3, "TRANS/1/FlowCori/MANU/VOLUME_FLOW_UNITS", -35, -25),
    Row("frmVolFlowLimit", 4, "TRANS/1/FlowCori/MANU/VOLUME_FLOW_LO_LIMIT", -35, -25, true),
    Row("frmVolFlowLimit", 5, "TRANS/1/FlowCori/MANU/VOLUME_FLOW_HI_LIMIT", -35, -25, true),
    Frame("frmTempLimit"),
    Row("frmTempLimit", 9, "TRANS/1/FlowCori/TEMPERATURE_UNITS", -35, -25),
    Row("frmTempLimit", 10, "TRANS/1/FlowCori/TEMPERATURE_LO_LIMIT", -35, -25, true),
    Row("frmTempLimit", 11, "TRANS/1/FlowCori/TEMPERATURE_HI_LIMIT", -35, -25, true),
    Site(),
};

constexpr FormLine kMeasConLimits[] = {
    HelpPane(),
    Frame("frmMassConLimit"),
    Row("frmMassConLimit", 9, "TRANS/1/FlowCori/MANU/MASS_CONCENTRATION_UNITS", -35, -25),
    Row("frmMassConLimit", 10, "TRANS/1/FlowCori/MANU/MASS_CONCENTRATION_LO_LIMIT", -35, -25, true),
    Row("frmMassConLimit", 11, "TRANS/1/FlowCori/MANU/MASS_CONCENTRATION_HI_LIMIT", -35, -25, true),
    Frame("frmDegBaumeLimit"),
    Row("frmDegBaumeLimit", 3, "TRANS/1/FlowCori/MANU/DEG_BAUME_UNITS", -35, -25),
    Row("frmDegBaumeLimit", 4, "TRANS/1/FlowCori/MANU/DEG_BAUME_LO_LIMIT", -35, -25, true),
    Row("frmDegBaumeLimit", 5, "TRANS/1/FlowCori/MANU/DEG_BAUME_HI_LIMIT", -35, -25, true),
    Frame("frmSolidLimit"),
    Row("frmSolidLimit", 6, "TRANS/1/FlowCori/MANU/SOLID_FLOW_UNITS", -35, -25),
    Row("frmSolidLimit", 7, "TRANS/1/FlowCori/MANU/SOLID_FLOW_LO_LIMIT", -35, -25, true),
    Row("frmSolidLimit", 8, "TRANS/1/FlowCori/MANU/SOLID_FLOW_HI_LIMIT", -35, -25, true),
    Frame("frmVolConLimit"),
    Row("frmVolConLimit", 0, "TRANS/1/FlowCori/MANU/VOLUME_CONCENTRATION_UNITS", -35, -25),
    Row("frmVolConLimit", 1, "TRANS/1/FlowCori/MANU/VOLUME_CONCENTRATION_LO_LIMIT", -35, -25, true),
    Row("frmVolConLimit", 2, "TRANS/1/FlowCori/MANU/VOLUME_CONCENTRATION_HI_LIMIT", -35, -25, true),
    Site(),
};

constexpr InpTabForm kCtrlParamForm{"ctlInpCtrlParam", kCtrlParam, false};
constexpr InpTabForm kMeasLimitsForm{"ctlInpMeasLimits", kMeasLimits, true};
constexpr InpTabForm kMeasConLimitsForm{"ctlInpMeasConLimits", kMeasConLimits, true};

}  // namespace

ctlInpTabPage::ctlInpTabPage(const InpTabForm& form) : NavigablePage(PageTraits{form.className}), form_(form) {}

void ctlInpTabPage::BuildForm() { PlaceForm(*this, form_.lines); }

void ctlInpTabPage::ConfigureLink(clsParamLink& link) {
    link.index = BlockIndex;
    link.bDisplayDPV1Index = false;
}

void ctlInpTabPage::InitLanguageDependedControls(int32_t languageId) {
    PageBase::InitLanguageDependedControls(languageId);
    if (form_.cutLabels)
        RemoveLabelUnits(std::vector<platform::P<platform::ui::Control>>(Controls().begin(), Controls().end()));
}

ctlInpCtrlParam::ctlInpCtrlParam() : ctlInpTabPage(kCtrlParamForm) {}
ctlInpMeasLimits::ctlInpMeasLimits() : ctlInpTabPage(kMeasLimitsForm) {}
ctlInpMeasConLimits::ctlInpMeasConLimits() : ctlInpTabPage(kMeasConLimitsForm) {}

}  // namespace dtm

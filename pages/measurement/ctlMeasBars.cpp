#include "pages/measurement/ctlMeasBars.h"

#include "core/services/LangSupp.h"
#include "core/services/ProjectHelpers.h"
#include "model/elements/clsDataElement.h"
#include "pages/framework/clsParamLink.h"
#include "pages/measurement/BarParts.h"
#include "platform/com/Error.h"
#include "platform/com/PropertyBag.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/Parameters.h"

namespace dtm {

namespace ui = platform::ui;
namespace com = platform::com;
namespace rt = platform::rt;
using platform::P;

namespace {

constexpr int16_t kLabel = 1800, kUnit = 700;

constexpr FormLine PictureIn(const char* name, const char* frame) {
    return {FormKind::Picture, name, frame, 0, "", 0, 0, false};
}

// Rows: value, status (no unit), low and high limit (locked).
constexpr FormLine kFlowLines[] = {
    Frame("frmMassFlow"),
    PictureIn("picMassFlow", "frmMassFlow"),
    Row("frmMassFlow", 0, "TRANS/1/FlowCori/MASS_FLOW/Value", kLabel, kUnit),
    Row("frmMassFlow", 1, "TRANS/1/FlowCori/MASS_FLOW/Status", kLabel, 0),
    Row("frmMassFlow", 2, "TRANS/1/FlowCori/MASS_FLOW_LO_LIMIT", kLabel, kUnit, false, true),
    Row("frmMassFlow", 3, "TRANS/1/FlowCori/MASS_FLOW_HI_LIMIT", kLabel, kUnit, false, true),
    Frame("frmVolFlow"),
    PictureIn("picVolFlow", "frmVolFlow"),
    Row("frmVolFlow", 6, "TRANS/1/FlowCori/MANU/VOLUME_FLOW/Value", kLabel, kUnit),
    Row("frmVolFlow", 7, "TRANS/1/FlowCori/MANU/VOLUME_FLOW/Status", kLabel, 0),
    Row("frmVolFlow", 5, "TRANS/1/FlowCori/MANU/VOLUME_FLOW_LO_LIMIT", kLabel, kUnit, false, true),
    Row("frmVolFlow", 4, "TRANS/1/FlowCori/MANU/VOLUME_FLOW_HI_LIMIT", kLabel, kUnit, false, true),
    Frame("frmDensity"),
    PictureIn("picDensity", "frmDensity"),
    Row("frmDensity", 8, "TRANS/1/FlowCori/DENSITY/Value", kLabel, kUnit),
    Row("frmDensity", 11, "TRANS/1/FlowCori/DENSITY/Status", kLabel, 0),
    Row("frmDensity", 10, "TRANS/1/FlowCori/DENSITY_LO_LIMIT", kLabel, kUnit, false, true),
    Row("frmDensity", 9, "TRANS/1/FlowCori/DENSITY_HI_LIMIT", kLabel, kUnit, false, true),
    Frame("frmTemp"),
    PictureIn("picTemp", "frmTemp"),
    Row("frmTemp", 12, "TRANS/1/FlowCori/TEMPERATURE/Value", kLabel, kUnit),
    Row("frmTemp", 15, "TRANS/1/FlowCori/TEMPERATURE/Status", kLabel, 0),
    Row("frmTemp", 14, "TRANS/1/FlowCori/TEMPERATURE_LO_LIMIT", kLabel, kUnit, false, true),
    Row("frmTemp", 13, "TRANS/1/FlowCori/TEMPERATURE_HI_LIMIT", kLabel, kUnit, false, true),
    HelpPane(),
    Site(),
};

constexpr FormLine kConcLines[] = {
    Frame("frmVolConc"),
    PictureIn("picVolConc", "frmVolConc"),
    Row("frmVolConc", 0, "TRANS/1/FlowCori/MANU/VOLUME_CONCENTRATION/Value", kLabel, kUnit),
    Row("frmVolConc", 1, "TRANS/1/FlowCori/MANU/VOLUME_CONCENTRATION/Status", kLabel, 0),
    Row("frmVolConc", 2, "TRANS/1/FlowCori/MANU/VOLUME_CONCENTRATION_LO_LIMIT", kLabel, kUnit, false, true),
    Row("frmVolConc", 3, "TRANS/1/FlowCori/MANU/VOLUME_CONCENTRATION_HI_LIMIT", kLabel, kUnit, false, true),
    Frame("frmMassConc"),
    PictureIn("picMassConc", "frmMassConc"),
    Row("frmMassConc", 6, "TRANS/1/FlowCori/MANU/MASS_CONCENTRATION/Value", kLabel, kUnit),
    Row("frmMassConc", 7, "TRANS/1/FlowCori/MANU/MASS_CONCENTRATION/Status", kLabel, 0),
    Row("frmMassConc", 5, "TRANS/1/FlowCori/MANU/MASS_CONCENTRATION_LO_LIMIT", kLabel, kUnit, false, true),
    Row("frmMassConc", 4, "TRANS/1/FlowCori/MANU/MASS_CONCENTRATION_HI_LIMIT", kLabel, kUnit, false, true),
    Frame("frmDegBaume"),
    PictureIn("picDegBaume", "frmDegBaume"),
    Row("frmDegBaume", 8, "TRANS/1/FlowCori/MANU/DEG_BAUME/Value", kLabel, kUnit),
    Row("frmDegBaume", 11, "TRANS/1/FlowCori/MANU/DEG_BAUME/Status", kLabel, 0),
    Row("frmDegBaume", 10, "TRANS/1/FlowCori/MANU/DEG_BAUME_LO_LIMIT", kLabel, kUnit, false, true),
    Row("frmDegBaume", 9, "TRANS/1/FlowCori/MANU/DEG_BAUME_HI_LIMIT", kLabel, kUnit, false, true),
    Frame("frmSolidFlow"),
    PictureIn("picSolidFlow", "frmSolidFlow"),
    Row("frmSolidFlow", 12, "TRANS/1/FlowCori/MANU/SOLID_FLOW/Value", kLabel, kUnit),
    Row("frmSolidFlow", 15, "TRANS/1/FlowCori/MANU/SOLID_FLOW/Status", kLabel, 0),
    Row("frmSolidFlow", 14, "TRANS/1/FlowCori/MANU/SOLID_FLOW_LO_LIMIT", kLabel, kUnit, false, true),
    Row("frmSolidFlow", 13, "TRANS/1/FlowCori/MANU/SOLID_FLOW_HI_LIMIT", kLabel, kUnit, false, true),
    HelpPane(),
    Site(),
};

const MeasBarsForm kFlowForm{
    "ctlMeasFlow",
    kFlowLines,
    {{
        {"frmMassFlow", "picMassFlow", "barMassFlow", "TRANS/1/FlowCori/MASS_FLOW/Value", "TRANS/1/FlowCori/MASS_FLOW_LO_LIMIT", "TRANS/1/FlowCori/MASS_FLOW_HI_LIMIT"},
        {"frmVolFlow", "picVolFlow", "barVolFlow", "TRANS/1/FlowCori/MANU/VOLUME_FLOW/Value", "TRANS/1/FlowCori/MANU/VOLUME_FLOW_LO_LIMIT", "TRANS/1/FlowCori/MANU/VOLUME_FLOW_HI_LIMIT"},
        {"frmDensity", "picDensity", "barDensity", "TRANS/1/FlowCori/DENSITY/Value", "TRANS/1/FlowCori/DENSITY_LO_LIMIT", "TRANS/1/FlowCori/DENSITY_HI_LIMIT"},
        {"frmTemp", "picTemp", "barTemp", "TRANS/1/FlowCori/TEMPERATURE/Value", "TRANS/1/FlowCori/TEMPERATURE_LO_LIMIT", "TRANS/1/FlowCori/TEMPERATURE_HI_LIMIT"},
    }},
};

const MeasBarsForm kConcForm{
    "ctlMeasConc",
    kConcLines,
    {{
        {"frmVolConc", "picVolConc", "barVolConc", "TRANS/1/FlowCori/MANU/VOLUME_CONCENTRATION/Value", "TRANS/1/FlowCori/MANU/VOLUME_CONCENTRATION_LO_LIMIT", "TRANS/1/FlowCori/MANU/VOLUME_CONCENTRATION_HI_LIMIT"},
        {"frmMassConc", "picMassConc", "barMassConc", "TRANS/1/FlowCori/MANU/MASS_CONCENTRATION/Value", "TRANS/1/FlowCori/MANU/MASS_CONCENTRATION_LO_LIMIT", "TRANS/1/FlowCori/MANU/MASS_CONCENTRATION_HI_LIMIT"},
        {"frmDegBaume", "picDegBaume", "barDegBaume", "TRANS/1/FlowCori/MANU/DEG_BAUME/Value", "TRANS/1/FlowCori/MANU/DEG_BAUME_LO_LIMIT", "TRANS/1/FlowCori/MANU/DEG_BAUME_HI_LIMIT"},
        {"frmSolidFlow", "picSolidFlow", "barSolidFlow", "TRANS/1/FlowCori/MANU/SOLID_FLOW/Value", "TRANS/1/FlowCori/MANU/SOLID_FLOW_LO_LIMIT", "TRANS/1/FlowCori/MANU/SOLID_FLOW_HI_LIMIT"},
    }},
};

}  // namespace

ctlMeasBars::ctlMeasBars(const MeasBarsForm& form)
    : BlockIndexedPage(PageTraits{.className = form.className, .hideOnRelease = false}, 1), form_(form) {}

ctlMeasFlow::ctlMeasFlow() : ctlMeasBars(kFlowForm) {}
ctlMeasConc::ctlMeasConc() : ctlMeasBars(kConcForm) {}

void ctlMeasBars::BuildForm() {
    PlaceForm(*this, form_.lines);
    const com::PropertyBag design = BarDesign(kBarRed);
    for (size_t i = 0; i < bars_.size(); ++i) {
        const BarGroup& group = form_.groups[i];
        bars_[i] = Place<ctlBar>(group.bar, std::nullopt, Controls().Item(group.picture).get(), &design);
    }
}

void ctlMeasBars::ConfigureLink(clsParamLink& link) {
    link.index = BlockIndex();
    link.bDisplayDPV1Index = false;
}

void ctlMeasBars::InitLanguageDependedControls(int32_t languageId) {
    BlockIndexedPage::InitLanguageDependedControls(languageId);
    RemoveLabelUnits(std::vector<P<ui::Control>>(Controls().begin(), Controls().end()));
    for (const auto& bar : bars_) bar->UserLanguage(PrimaryLangId(languageId));
}

void ctlMeasBars::ShowOnBar(ctlBar& bar, const BarGroup& group, const std::string& path,
                            const P<rt::IPrivateDataElement>& element) {
    const auto& el = com::Deref(std::dynamic_pointer_cast<clsDataElement>(element));
    if (path == group.value) dtm::ShowOnBar(bar, BarPart::Value, el, GetContext());
    else if (path == group.loLimit) dtm::ShowOnBar(bar, BarPart::Low, el, GetContext());
    else if (path == group.hiLimit) dtm::ShowOnBar(bar, BarPart::High, el, GetContext());
}

void ctlMeasBars::UpdateParameterCtl(const P<rt::IPrivateDataElement>& element) {
    BlockIndexedPage::UpdateParameterCtl(element);
    const auto el = std::dynamic_pointer_cast<clsDataElement>(element);
    if (!el) return;
    for (size_t i = 0; i < bars_.size(); ++i) ShowOnBar(*bars_[i], form_.groups[i], el->Name, element);
}

void ctlMeasBars::UpdateAllParameterCtls() {
    BlockIndexedPage::UpdateAllParameterCtls();
    const auto& params = com::Deref(com::Deref(GetContext()).Parameters());
    for (size_t i = 0; i < bars_.size(); ++i) {
        const BarGroup& group = form_.groups[i];
        for (const char* path : {group.value, group.loLimit, group.hiLimit})
            ShowOnBar(*bars_[i], group, path, params.Item(path));
    }
}

}  // namespace dtm

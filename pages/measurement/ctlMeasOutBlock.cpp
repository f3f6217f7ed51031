#include "pages/measurement/ctlMeasOutBlock.h"

#include "blocks/DataModel_P3_FB_AI.h"
#include "model/elements/clsDataElement.h"
#include "pages/measurement/BarParts.h"
#include "pages/framework/clsParamLink.h"
#include "platform/com/Error.h"
#include "platform/com/PropertyBag.h"
#include "platform/com/VbText.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/Parameters.h"
#include "platform/ui/CaptionControls.h"

namespace dtm {

namespace ui = platform::ui;
namespace com = platform::com;
namespace rt = platform::rt;
using platform::P;

namespace {

constexpr int16_t kLabel = 2400, kUnit = 900;

// The simulation row's tag names the record "Simulate"; paths are found whatever their case.
constexpr FormLine kAILines[] = {
    Frame("frmMeasOutAI"),
    Row("frmMeasOutAI", 0, "FUNC/%d/AI/OUT/Value", kLabel, kUnit),
    Row("frmMeasOutAI", 1, "FUNC/%d/AI/OUT_SCALE/Up_Val", kLabel, kUnit, false, true),
    Row("frmMeasOutAI", 2, "FUNC/%d/AI/OUT_SCALE/Lo_Val", kLabel, kUnit, false, true),
    Frame("frmMeasOutAIStatus"),
    Row("frmMeasOutAIStatus", 3, "FUNC/%d/AI/OUT/StatusLimit", kLabel, 0),
    Row("frmMeasOutAIStatus", 4, "FUNC/%d/AI/OUT/StatusQuality", kLabel, 0),
    Frame("frmMeasOutAISimulate"),
    Row("frmMeasOutAISimulate", 5, "FUNC/%d/AI/Simulate/Enabled", kLabel, 0, false, true),
    Row("frmMeasOutAISimulate", 6, "FUNC/%d/AI/MODE_BLK/Actual", kLabel, 0),
    HelpPane(),
    Site(),
};

constexpr FormLine kTOTLines[] = {
    Frame("frmMeasOutTOT"),
    Row("frmMeasOutTOT", 0, "FUNC/%d/TOT/TOTAL/Value", kLabel, kUnit),
    Frame("frmMeasOutTOTStatus"),
    Row("frmMeasOutTOTStatus", 1, "FUNC/%d/TOT/TOTAL/StatusLimit", kLabel, 0),
    Row("frmMeasOutTOTStatus", 2, "FUNC/%d/TOT/TOTAL/StatusQuality", kLabel, 0),
    HelpPane(),
    Site(),
};

const MeasOutForm kAIForm{"ctlMeasOutAI", 1, "FUNC/%d/AI/CHANNEL", kAILines, "frmMeasOutAI"};
const MeasOutForm kTOTForm{"ctlMeasOutTOT", 4, "FUNC/%d/TOT/CHANNEL", kTOTLines, nullptr};

}  // namespace

ctlMeasOutBlock::ctlMeasOutBlock(const MeasOutForm& form)
    : BlockIndexedPage(PageTraits{.className = form.className, .hideOnRelease = false}, form.defaultBlockIndex),
      form_(form) {}

ctlMeasOutAI::ctlMeasOutAI() : ctlMeasOutBlock(kAIForm) {}
ctlMeasOutTOT::ctlMeasOutTOT() : ctlMeasOutBlock(kTOTForm) {}

void ctlMeasOutBlock::BuildForm() { PlaceForm(*this, form_.lines); }

void ctlMeasOutBlock::ConfigureLink(clsParamLink& link) {
    link.index = BlockIndex();
    link.bDisplayDPV1Index = false;
}

void ctlMeasOutBlock::InitLanguageDependedControls(int32_t languageId) {
    BlockIndexedPage::InitLanguageDependedControls(languageId);
    const std::string number = std::to_string(BlockIndex());
    for (const auto& control : Controls())
        if (const auto frame = std::dynamic_pointer_cast<ui::Frame>(control))
            frame->Caption(com::vb::Replace(frame->Caption(), "%d", number));
}

void ctlMeasOutAI::BuildForm() {
    ctlMeasOutBlock::BuildForm();
    const com::PropertyBag design = BarDesign(kBarBlue);
    barAIOut = Place<ctlBar>("barAIOut", std::nullopt, Controls().Item(form_.barFrame).get(), &design);
}

void ctlMeasOutAI::UpdateAIOutParameter(const P<rt::IPrivateDataElement>& element) {
    const auto el = std::dynamic_pointer_cast<clsDataElement>(element);
    if (!el) return;
    const std::string prefix = GetAIBlockPrefix(BlockIndex());
    if (el->Name == prefix + "OUT/Value") ShowOnBar(*barAIOut, BarPart::Value, *el, GetContext());
    else if (el->Name == prefix + "OUT_SCALE/Lo_Val") ShowOnBar(*barAIOut, BarPart::Low, *el, GetContext());
    else if (el->Name == prefix + "OUT_SCALE/Up_Val") ShowOnBar(*barAIOut, BarPart::High, *el, GetContext());
}

void ctlMeasOutAI::UpdateParameterCtl(const P<rt::IPrivateDataElement>& element) {
    ctlMeasOutBlock::UpdateParameterCtl(element);
    UpdateAIOutParameter(element);
}

void ctlMeasOutAI::UpdateAllParameterCtls() {
    const auto& params = com::Deref(com::Deref(GetContext()).Parameters());
    const std::string prefix = GetAIBlockPrefix(BlockIndex());
    for (const char* member : {"OUT/Value", "OUT_SCALE/Lo_Val", "OUT_SCALE/Up_Val"})
        UpdateAIOutParameter(params.Item(prefix + member));
    ctlMeasOutBlock::UpdateAllParameterCtls();
}

}  // namespace dtm

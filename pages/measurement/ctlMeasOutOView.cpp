#include "pages/measurement/ctlMeasOutOView.h"

#include "blocks/DataModel_P3_FB_AI.h"
#include "blocks/DataModel_P3_FB_TOT.h"
#include "model/elements/clsDataElement.h"
#include "pages/framework/BlockTabStrip.h"
#include "pages/framework/clsParamLink.h"
#include "pages/parameterisation/FormTable.h"
#include "platform/com/Error.h"
#include "platform/com/VbText.h"
#include "platform/ctl/ctlParameter.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/Parameters.h"
#include "platform/ui/CaptionControls.h"
#include "platform/ui/IntrinsicControls.h"

namespace dtm {

namespace ui = platform::ui;
namespace com = platform::com;
namespace rt = platform::rt;
using platform::P;

namespace {

// Read-only rows without label; the value rows show the unit.
constexpr int16_t kUnit = 900;
constexpr FormLine Value(int16_t index, const char* tag) { return Row("", index, tag, 0, kUnit, false, true); }
constexpr FormLine Plain(int16_t index, const char* tag) { return Row("", index, tag, 0, 0, false, true); }

constexpr FormLine kTemplate[] = {HelpPane(), Site()};
constexpr const char* kHeadings[] = {"lblValue", "lblQuality", "lblSim"};
constexpr const char* kCaptions[] = {"lblAI1", "lblAI2", "lblAI3", "lblTOT4", "lblAI5", "lblAI6", "lblAI7", "lblTOT8"};
// Hidden while the device runs with the profile's ident number.
constexpr const char* kManufacturerCaptions[] = {"lblAI5", "lblAI6", "lblAI7", "lblTOT8"};

// One line per block: output value, status quality, simulation switch.
constexpr FormLine kRows[] = {
    Value(0, "FUNC/1/AI/OUT/Value"),    Plain(4, "FUNC/1/AI/OUT/StatusQuality"),    Plain(31, "FUNC/1/AI/SIMULATE/Enabled"),
    Value(2, "FUNC/2/AI/OUT/Value"),    Plain(1, "FUNC/2/AI/OUT/StatusQuality"),    Plain(3, "FUNC/2/AI/SIMULATE/Enabled"),
    Value(6, "FUNC/3/AI/OUT/Value"),    Plain(5, "FUNC/3/AI/OUT/StatusQuality"),    Plain(7, "FUNC/3/AI/SIMULATE/Enabled"),
    Value(11, "FUNC/4/TOT/TOTAL/Value"), Plain(19, "FUNC/4/TOT/TOTAL/StatusQuality"),
    Value(8, "FUNC/5/AI/OUT/Value"),    Plain(13, "FUNC/5/AI/OUT/StatusQuality"),   Plain(15, "FUNC/5/AI/SIMULATE/Enabled"),
    Value(9, "FUNC/6/AI/OUT/Value"),    Plain(14, "FUNC/6/AI/OUT/StatusQuality"),   Plain(16, "FUNC/6/AI/SIMULATE/Enabled"),
    Value(10, "FUNC/7/AI/OUT/Value"),   Plain(17, "FUNC/7/AI/OUT/StatusQuality"),   Plain(18, "FUNC/7/AI/SIMULATE/Enabled"),
    Value(12, "FUNC/8/TOT/TOTAL/Value"), Plain(20, "FUNC/8/TOT/TOTAL/StatusQuality"),
};

bool IsTotaliser(int16_t n) { return n == 4 || n == 8; }

}  // namespace

ctlMeasOutOView::ctlMeasOutOView()
    : NavigablePage(PageTraits{.className = "ctlMeasOutOView", .hideOnRelease = false}) {}

void ctlMeasOutOView::BuildForm() {
    PlaceForm(*this, kTemplate);
    Place<ui::Line>("Line1");
    for (const char* heading : kHeadings) Place<ui::Label>(heading)->Caption(heading);
    for (const char* caption : kCaptions) Place<ui::Label>(caption)->Caption(caption);
    PlaceForm(*this, kRows);
}

void ctlMeasOutOView::ConfigureLink(clsParamLink& link) { link.bDisplayDPV1Index = false; }

void ctlMeasOutOView::InitLanguageDependedControls(int32_t languageId) {
    NavigablePage::InitLanguageDependedControls(languageId);
    OverviewSetLanguage();
}

void ctlMeasOutOView::OverviewSetLanguage() {
    Trace("OverviewSetLanguage", "");
    const auto& params = com::Deref(com::Deref(GetContext()).Parameters());
    for (int16_t n = 1; n <= 8; ++n) {
        // A missing caption or CHANNEL leaves that block's caption as the dictionary has it.
        const auto caption = std::dynamic_pointer_cast<ui::Label>(
            Controls().Find((IsTotaliser(n) ? "lblTOT" : "lblAI") + std::to_string(n)));
        const auto channel = std::dynamic_pointer_cast<clsDataElement>(
            params.Find((IsTotaliser(n) ? GetTOTBlockPrefix(n) : GetAIBlockPrefix(n)) + "CHANNEL"));
        if (!caption || !channel) continue;
        const std::string text = channel->GetStrValueFromIdxList(com::CLng(channel->TransientValue));
        caption->Caption(com::vb::Replace(caption->Caption(), "%d", " " + text));
    }
}

void ctlMeasOutOView::UpdateParameterCtl(const P<rt::IPrivateDataElement>& element) {
    NavigablePage::UpdateParameterCtl(element);
    const auto el = std::dynamic_pointer_cast<clsDataElement>(element);
    if (!el || el->Name != BlockTabStrip::kSelectorPath) return;
    const bool manufacturer = com::CLng(el->TransientValue) != 0;
    for (const char* caption : kManufacturerCaptions) Controls().Item(caption)->Visible(manufacturer);
}

void ctlMeasOutOView::UpdateAllParameterCtls() {
    NavigablePage::UpdateAllParameterCtls();
    for (const auto& control : Controls())
        if (auto row = std::dynamic_pointer_cast<platform::ctl::ctlParameter>(control))
            row->ControlType(platform::ctl::kRowPlain);
}

}  // namespace dtm

#include "pages/parameterisation/ctlIOpFuncPage.h"

#include <vector>

#include "blocks/DataModel_P3_FB_AI.h"
#include "blocks/DataModel_P3_FB_TOT.h"
#include "core/services/ProjectHelpers.h"
#include "pages/framework/clsParamLink.h"
#include "pages/parameterisation/TabPages.h"

namespace dtm {

namespace ui = platform::ui;

namespace {

constexpr FormLine kAI[] = {
    Picture("pictMeas"),
    Frame("frmPvRange", "pictMeas"),
    Row("frmPvRange", 24, "FUNC/%d/AI/PV_SCALE/Lo_Val", -27, -33),
    Row("frmPvRange", 25, "FUNC/%d/AI/PV_SCALE/Up_Val", -27, -33),
    Frame("frmFailSafe", "pictMeas"),
    Row("frmFailSafe", 9, "FUNC/%d/AI/FSAFE_TYPE", 0, 0),
    Row("frmFailSafe", 10, "FUNC/%d/AI/FSAFE_VALUE", 0, -25),
    Frame("frmOutScale", "pictMeas"),
    Row("frmOutScale", 17, "FUNC/%d/AI/OUT_SCALE/Unit", -55, 0),
    Row("frmOutScale", 18, "FUNC/%d/AI/OUT_UNIT_TEXT", -55, 0),
    Row("frmOutScale", 23, "FUNC/%d/AI/OUT_SCALE/DecPoint", -55, 0),
    Row("frmOutScale", 19, "FUNC/%d/AI/PV_FTIME", -55, -15),
    Row("frmOutScale", 4, "FUNC/%d/AI/OUT_SCALE/Lo_Val", -27, -33),
    Row("frmOutScale", 5, "FUNC/%d/AI/OUT_SCALE/Up_Val", -27, -33),
    Picture("picOutputLimits"),
    Frame("frmOutLimits", "picOutputLimits"),
    Row("frmOutLimits", 6, "FUNC/%d/AI/LO_LO_LIM", -40, -30),
    Row("frmOutLimits", 11, "FUNC/%d/AI/LO_LIM", -40, -30),
    Row("frmOutLimits", 16, "FUNC/%d/AI/HI_HI_LIM", -40, -30),
    Row("frmOutLimits", 21, "FUNC/%d/AI/HI_LIM", -40, -30),
    Row("frmOutLimits", 22, "FUNC/%d/AI/ALARM_HYS", -40, -30),
    Picture("picBatch"),
    Frame("frmBatchInfo", "picBatch"),
    Row("frmBatchInfo", 0, "FUNC/%d/AI/BATCH/BATCH_ID", -40, 0),
    Row("frmBatchInfo", 1, "FUNC/%d/AI/BATCH/RUP", -40, 0),
    Row("frmBatchInfo", 2, "FUNC/%d/AI/BATCH/OPERATION", -40, 0),
    Row("frmBatchInfo", 20, "FUNC/%d/AI/BATCH/PHASE", -40, 0),
    Tabs("pictMeas,picOutputLimits,picBatch"),
    HelpPane(),
    Row("", 12, "FUNC/%d/AI/BlockIndex", -55, 0),
    Row("", 13, "FUNC/%d/AI/ST_REV", -55, 0),
    Row("", 14, "FUNC/%d/AI/TAG_DESC", -20, 0),
    Row("", 15, "FUNC/%d/AI/CHANNEL", -20, 0),
    Site(),
};

constexpr FormLine kTOT[] = {
    Picture("picMeas"),
    Row("picMeas", 17, "FUNC/%d/TOT/UNIT_TOT", -35, 0),
    Frame("frmTotSettings", "picMeas"),
    Row("frmTotSettings", 0, "FUNC/%d/TOT/SET_TOT", -35, 0),
    Row("frmTotSettings", 7, "FUNC/%d/TOT/MODE_TOT", -35, 0),
    Row("frmTotSettings", 1, "FUNC/%d/TOT/FAIL_TOT", -35, 0),
    Row("frmTotSettings", 2, "FUNC/%d/TOT/PRESET_TOT", -35, -25),
    Picture("picOutputLimits"),
    Frame("frmOutLimits", "picOutputLimits"),
    Row("frmOutLimits", 6, "FUNC/%d/TOT/LO_LO_LIM", -40, -30),
    Row("frmOutLimits", 11, "FUNC/%d/TOT/LO_LIM", -40, -30),
    Row("frmOutLimits", 16, "FUNC/%d/TOT/HI_HI_LIM", -40, -30),
    Row("frmOutLimits", 21, "FUNC/%d/TOT/HI_LIM", -40, -30),
    Row("frmOutLimits", 22, "FUNC/%d/TOT/ALARM_HYS", -40, -30),
    Picture("picBatch"),
    Frame("frmBatchInfo", "picBatch"),
    Row("frmBatchInfo", 3, "FUNC/%d/TOT/BATCH/BATCH_ID", -40, 0),
    Row("frmBatchInfo", 4, "FUNC/%d/TOT/BATCH/RUP", -40, 0),
    Row("frmBatchInfo", 5, "FUNC/%d/TOT/BATCH/OPERATION", -40, 0),
    Row("frmBatchInfo", 20, "FUNC/%d/TOT/BATCH/PHASE", -40, 0),
    Tabs("picMeas,picOutputLimits,picBatch"),
    HelpPane(),
    Row("", 13, "FUNC/%d/TOT/ST_REV", -55, 0),
    Row("", 14, "FUNC/%d/TOT/TAG_DESC", -20, 0),
    Row("", 15, "FUNC/%d/TOT/CHANNEL", -20, 0),
    Site(),
};

constexpr IOpFuncForm kAIForm{"ctlIOpFuncAI", kAI, 1, GetAIBlockPrefix, false};
constexpr IOpFuncForm kTOTForm{"ctlIOpFuncTOT", kTOT, 4, GetTOTBlockPrefix, true};

}  // namespace

ctlIOpFuncPage::ctlIOpFuncPage(const IOpFuncForm& form)
    : BlockIndexedPage(PageTraits{.className = form.className, .hideOnRelease = false}, form.defaultBlock),
      form_(form) {}

void ctlIOpFuncPage::BuildForm() {
    PlaceForm(*this, form_.lines);
    TabStrip = PageTabStrip(*this);
    TabStrip->Click.Connect([this] { TabStrip_Click(); });
    // The inner containers start as a Click would leave them: tab 1's shown.
    ShowSelectedTabControl(*this, *TabStrip);
}

void ctlIOpFuncPage::BlockIndex(int16_t newBlockIndex) {
    BlockIndexedPage::BlockIndex(newBlockIndex);
    if (form_.refreshOnBlockIndex && ctlParamSite1) ctlParamSite1->SiteParameterSetChanged();
}

std::string ctlIOpFuncPage::ChannelParameterName(int16_t idx) const { return form_.blockPrefix(idx) + "CHANNEL"; }

void ctlIOpFuncPage::ConfigureLink(clsParamLink& link) {
    link.index = BlockIndex();
    link.bDisplayDPV1Index = false;
}

void ctlIOpFuncPage::InitLanguageDependedControls(int32_t languageId) {
    PageBase::InitLanguageDependedControls(languageId);
    RemoveLabelUnits(std::vector<platform::P<ui::Control>>(Controls().begin(), Controls().end()));
}

void ctlIOpFuncPage::TabStrip_Click() {
    Trace("TabStrip_Click", "");
    ShowSelectedTabControl(*this, *TabStrip);
}

ctlIOpFuncAI::ctlIOpFuncAI() : ctlIOpFuncPage(kAIForm) {}
ctlIOpFuncTOT::ctlIOpFuncTOT() : ctlIOpFuncPage(kTOTForm) {}

}  // namespace dtm

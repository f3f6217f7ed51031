#include "pages/parameterisation/ctlAlarmAI.h"

#include "pages/framework/BlockTabStrip.h"
#include "pages/framework/clsParamLink.h"
#include "pages/parameterisation/FormTable.h"
#include "platform/com/Error.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/Parameters.h"

namespace dtm {

namespace ui = platform::ui;
namespace com = platform::com;

namespace {

constexpr bool kUnit = true, kLocked = true;
constexpr int16_t kLabel = -60, kUnitWidth = -20;

// "%d" is the block number, "%ch" the block kind. The limits are shown
// locked; the summary rows are bit lists by their elements.
constexpr FormLine kForm[] = {
    HelpPane(),
    Frame("frmAlarmSummary"),
    Frame("frmAlarmLimits"),
    Frame("frmLowerWarn", "frmAlarmLimits"),
    Frame("frmUpperAlarm", "frmAlarmLimits"),
    Frame("frmLowerAlarm", "frmAlarmLimits"),
    Frame("frmUpperWarn", "frmAlarmLimits"),
    Row("frmLowerWarn", 0, "FUNC/%d/%ch/LO_ALM/Unacknowledged", kLabel, 0),
    Row("frmLowerWarn", 1, "FUNC/%d/%ch/LO_ALM/AlarmState", kLabel, 0),
    Row("frmLowerWarn", 2, "FUNC/%d/%ch/LO_ALM/Subcode", kLabel, 0),
    Row("frmLowerWarn", 3, "FUNC/%d/%ch/LO_LIM", kLabel, kUnitWidth, kUnit, kLocked),
    Row("frmLowerWarn", 4, "FUNC/%d/%ch/LO_ALM/Value", kLabel, kUnitWidth, kUnit),
    Row("frmUpperWarn", 5, "FUNC/%d/%ch/HI_ALM/Unacknowledged", kLabel, 0),
    Row("frmUpperWarn", 6, "FUNC/%d/%ch/HI_ALM/AlarmState", kLabel, 0),
    Row("frmUpperWarn", 7, "FUNC/%d/%ch/HI_ALM/Subcode", kLabel, 0),
    Row("frmUpperWarn", 8, "FUNC/%d/%ch/HI_LIM", kLabel, kUnitWidth, kUnit, kLocked),
    Row("frmUpperWarn", 9, "FUNC/%d/%ch/HI_ALM/Value", kLabel, kUnitWidth, kUnit),
    Row("frmLowerAlarm", 10, "FUNC/%d/%ch/LO_LO_ALM/Unacknowledged", kLabel, 0),
    Row("frmLowerAlarm", 11, "FUNC/%d/%ch/LO_LO_ALM/AlarmState", kLabel, 0),
    Row("frmLowerAlarm", 12, "FUNC/%d/%ch/LO_LO_ALM/Subcode", kLabel, 0),
    Row("frmLowerAlarm", 13, "FUNC/%d/%ch/LO_LO_LIM", kLabel, kUnitWidth, kUnit, kLocked),
    Row("frmLowerAlarm", 14, "FUNC/%d/%ch/LO_LO_ALM/Value", kLabel, kUnitWidth, kUnit),
    Row("frmUpperAlarm", 15, "FUNC/%d/%ch/HI_HI_ALM/Unacknowledged", kLabel, 0),
    Row("frmUpperAlarm", 16, "FUNC/%d/%ch/HI_HI_ALM/AlarmState", kLabel, 0),
    Row("frmUpperAlarm", 17, "FUNC/%d/%ch/HI_HI_ALM/Subcode", kLabel, 0),
    Row("frmUpperAlarm", 18, "FUNC/%d/%ch/HI_HI_LIM", kLabel, kUnitWidth, kUnit, kLocked),
    Row("frmUpperAlarm", 19, "FUNC/%d/%ch/HI_HI_ALM/Value", kLabel, kUnitWidth, kUnit),
    Row("frmAlarmSummary", 20, "FUNC/%d/%ch/ALARM_SUM/Current", kLabel, 0),
    Row("frmAlarmSummary", 21, "FUNC/%d/%ch/ALARM_SUM/Unacknowledged", kLabel, 0),
    Row("frmAlarmSummary", 22, "FUNC/%d/%ch/ALARM_SUM/Unreported", kLabel, 0),
    Row("frmAlarmSummary", 23, "FUNC/%d/%ch/ALARM_SUM/Disabled", kLabel, 0),
    Tabs("frmAlarmSummary,frmAlarmLimits"),
    Site(),
};

}  // namespace

ctlAlarmAI::ctlAlarmAI() : BlockIndexedPage(PageTraits{"ctlAlarmAI", false, ChildInit::After, false}, 1) {}

void ctlAlarmAI::BuildForm() {
    PlaceForm(*this, kForm);
    TabStrip = std::dynamic_pointer_cast<ui::TabStrip>(Controls().Item("TabStrip"));
    TabStrip->Click.Connect([this] { TabStrip_Click(); });
}

void ctlAlarmAI::ConfigureLink(clsParamLink& link) {
    link.index = BlockIndex();
    // "%ch" is the block's kind; a number without a block binds no row.
    const auto kind = FunctionBlockKind(com::Deref(com::Deref(GetContext()).Parameters()), BlockIndex());
    link.channel = kind == pbfFunctionAIBlock ? "AI" : kind == pbfFunctionTOTBlock ? "TOT" : "";
}

void ctlAlarmAI::InitControls() {
    BlockIndexedPage::InitControls();
    TabStrip_Click();
}

void ctlAlarmAI::TabStrip_Click() {
    Trace("TabStrip_Click", "");
    const auto selected = TabStrip->SelectedItem();
    for (const auto& tab : TabStrip->Tabs()) Controls().Item(tab->Key())->Visible(tab == selected);
}

}  // namespace dtm

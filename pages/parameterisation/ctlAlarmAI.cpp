#include "pages/parameterisation/ctlAlarmAI.h"

#include "model/elements/clsDataElement.h"
#include "pages/framework/clsParamLink.h"
#include "platform/com/Error.h"
#include "platform/com/PropertyBag.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/Parameters.h"

namespace dtm {

namespace ui = platform::ui;
namespace com = platform::com;
using platform::Variant;

namespace {

enum Frame { LowerWarn, UpperWarn, LowerAlarm, UpperAlarm, Summary };

struct AlarmRow {
    int16_t index;
    Frame frame;
    const char* tag;
    int32_t controlType;  // 1 a value, 4 a bit list
    bool locked;
    bool unit;  // the row shows a unit
};

// "%d" is the block number, "%ch" the block kind.
constexpr AlarmRow kRows[] = {
    {0, LowerWarn, "FUNC/%d/%ch/LO_ALM/Unacknowledged", 1, false, false},
    {1, LowerWarn, "FUNC/%d/%ch/LO_ALM/AlarmState", 1, false, false},
    {2, LowerWarn, "FUNC/%d/%ch/LO_ALM/Subcode", 1, false, false},
    {3, LowerWarn, "FUNC/%d/%ch/LO_LIM", 1, true, true},
    {4, LowerWarn, "FUNC/%d/%ch/LO_ALM/Value", 1, false, true},
    {5, UpperWarn, "FUNC/%d/%ch/HI_ALM/Unacknowledged", 1, false, false},
    {6, UpperWarn, "FUNC/%d/%ch/HI_ALM/AlarmState", 1, false, false},
    {7, UpperWarn, "FUNC/%d/%ch/HI_ALM/Subcode", 1, false, false},
    {8, UpperWarn, "FUNC/%d/%ch/HI_LIM", 1, true, true},
    {9, UpperWarn, "FUNC/%d/%ch/HI_ALM/Value", 1, false, true},
    {10, LowerAlarm, "FUNC/%d/%ch/LO_LO_ALM/Unacknowledged", 1, false, false},
    {11, LowerAlarm, "FUNC/%d/%ch/LO_LO_ALM/AlarmState", 1, false, false},
    {12, LowerAlarm, "FUNC/%d/%ch/LO_LO_ALM/Subcode", 1, false, false},
    {13, LowerAlarm, "FUNC/%d/%ch/LO_LO_LIM", 1, true, true},
    {14, LowerAlarm, "FUNC/%d/%ch/LO_LO_ALM/Value", 1, false, true},
    {15, UpperAlarm, "FUNC/%d/%ch/HI_HI_ALM/Unacknowledged", 1, false, false},
    {16, UpperAlarm, "FUNC/%d/%ch/HI_HI_ALM/AlarmState", 1, false, false},
    {17, UpperAlarm, "FUNC/%d/%ch/HI_HI_ALM/Subcode", 1, false, false},
    {18, UpperAlarm, "FUNC/%d/%ch/HI_HI_LIM", 1, true, true},
    {19, UpperAlarm, "FUNC/%d/%ch/HI_HI_ALM/Value", 1, false, true},
    {20, Summary, "FUNC/%d/%ch/ALARM_SUM/Current", 4, false, false},
    {21, Summary, "FUNC/%d/%ch/ALARM_SUM/Unacknowledged", 4, false, false},
    {22, Summary, "FUNC/%d/%ch/ALARM_SUM/Unreported", 4, false, false},
    {23, Summary, "FUNC/%d/%ch/ALARM_SUM/Disabled", 4, false, false},
};
constexpr float kRowHeight = 315;
constexpr float kRowWidth = 7600;
constexpr int32_t kUnitWidth = -20;

}  // namespace

std::string FunctionBlockKind(const platform::rt::Parameters& params, int32_t n) {
    const auto element = std::dynamic_pointer_cast<clsDataElement>(params.Find("~/BLOCK/" + std::to_string(n)));
    return element ? com::CStr(element->InitialValue) : "";
}

ctlAlarmAI::ctlAlarmAI() : NavigablePage(PageTraits{"ctlAlarmAI", false, ChildInit::After, false}) {}

void ctlAlarmAI::BuildForm() {
    frmAlarmSummary = Place<ui::Frame>("frmAlarmSummary");
    frmAlarmSummary->Move(120, 480, kRowWidth + 240, 4 * kRowHeight + 360);
    frmAlarmLimits = Place<ui::Frame>("frmAlarmLimits");
    frmAlarmLimits->Move(120, 480, 2 * kRowWidth + 600, 2 * (5 * kRowHeight + 480));
    // In the form's order; placed two by two, warnings above alarms.
    const auto limitFrame = [&](const char* name, float left, float top) {
        auto frame = Place<ui::Frame>(name, std::nullopt, frmAlarmLimits.get());
        frame->Move(left, top, kRowWidth + 240, 5 * kRowHeight + 360);
        return frame;
    };
    constexpr float right = kRowWidth + 360, below = 5 * kRowHeight + 480;
    frmLowerWarn = limitFrame("frmLowerWarn", 120, 240);
    frmUpperAlarm = limitFrame("frmUpperAlarm", right, below);
    frmLowerAlarm = limitFrame("frmLowerAlarm", 120, below);
    frmUpperWarn = limitFrame("frmUpperWarn", right, 240);
    ui::Frame* const frames[] = {frmLowerWarn.get(), frmUpperWarn.get(), frmLowerAlarm.get(), frmUpperAlarm.get(),
                                 frmAlarmSummary.get()};
    float top[] = {240, 240, 240, 240, 240};
    for (const auto& r : kRows) {
        auto row = Place<platform::ctl::ctlParameter>("ctlParameter", r.index, frames[r.frame]);
        row->parameterTag(r.tag);
        row->LabelText(r.tag);
        row->ControlType(r.controlType);
        row->Locked(r.locked);
        if (r.unit) row->unitwidth(kUnitWidth);
        row->Move(120, top[r.frame], kRowWidth, kRowHeight);
        top[r.frame] += kRowHeight;
    }
    TabStrip = Place<ui::TabStrip>("TabStrip");
    TabStrip->Move(0, 0, 2 * kRowWidth + 840, 2 * below + 600);
    TabStrip->Tabs().Add(0, "frmAlarmSummary", "frmAlarmSummary");
    TabStrip->Tabs().Add(0, "frmAlarmLimits", "frmAlarmLimits");
    TabStrip->Click.Connect([this] { TabStrip_Click(); });
    PlaceTemplateControls();
}

void ctlAlarmAI::InitProperties() { m_BlockIndex = 1; }

void ctlAlarmAI::ReadProperties(const com::PropertyBag& bag) {
    m_BlockIndex = com::CInt(bag.ReadProperty("BlockIndex", Variant::Int(1)));
}

void ctlAlarmAI::WriteProperties(com::PropertyBag& bag) {
    bag.WriteProperty("BlockIndex", Variant::Int(m_BlockIndex), Variant::Int(1));
}

void ctlAlarmAI::ConfigureLink(clsParamLink& link) {
    link.index = m_BlockIndex;
    link.channel = FunctionBlockKind(com::Deref(com::Deref(GetContext()).Parameters()), m_BlockIndex);
}

void ctlAlarmAI::InitControls() {
    NavigablePage::InitControls();
    TabStrip_Click();
}

void ctlAlarmAI::TabStrip_Click() {
    Trace("TabStrip_Click", "");
    const auto selected = TabStrip->SelectedItem();
    for (const auto& tab : TabStrip->Tabs()) Controls().Item(tab->Key())->Visible(tab == selected);
}

}  // namespace dtm

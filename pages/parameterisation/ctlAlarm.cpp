#include "pages/parameterisation/ctlAlarm.h"

#include "blocks/DataModel_P3_FB_AI.h"
#include "blocks/DataModel_P3_FB_TOT.h"
#include "platform/com/Error.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/Parameters.h"
#include "platform/rt/TransGrp.h"

namespace dtm {

namespace ui = platform::ui;
namespace com = platform::com;
namespace rt = platform::rt;
using platform::P;

namespace {

// What the status bar reads of the selected block each cycle, after its
// prefix: the alarm records whole, then the limits.
constexpr const char* kCycleReads[] = {
    "ALARM_SUM/", "LO_ALM/", "LO_LO_ALM/", "HI_ALM/", "HI_HI_ALM/", "LO_LIM", "LO_LO_LIM", "HI_LIM", "HI_HI_LIM",
};

}  // namespace

ctlAlarm::ctlAlarm()
    : BlockTabPage(PageTraits{"ctlAlarm", true, ChildInit::Before}, NavForm::OwnName) {}

void ctlAlarm::BuildForm() {
    PlaceHelpButton();
    HelpButton->Move(10200, 8400, 1200, 375);
    ctlStatus = Place<dtm::ctlStatus>("ctlStatus");
    ctlStatus->Move(0, 8850, 12000, 375);
    ctlStatus->OnAddDiagnoseRequests.Connect([this](rt::TransGrp& grp) { ctlStatus_OnAddDiagnoseRequests(grp); });
    ctlStatus->OnAddCycleRequests.Connect([this](rt::TransGrp& grp) { ctlStatus_OnAddCycleRequests(grp); });
    ctlStatus->OnRemoveRequests.Connect([this](rt::TransGrp& grp) { ctlStatus_OnRemoveRequests(grp); });
    ctlParamHelp1 = Place<platform::ctl::ctlParamHelp>("ctlParamHelp1");
    ctlAlarmAI = Place<dtm::ctlAlarmAI>("ctlAlarmAI");
    ctlAlarmAI->Move(120, 1500, 11700, 6600);
    TabStrip = Place<ui::TabStrip>("TabStrip");
    TabStrip->Move(0, 1020, 12000, 7200);
    TabStrip->Tabs().Add(0, "ctlAlarmAI1", "ctlAlarmAI1");
    AttachBlockTabs();
    ctlHeadline = Place<dtm::ctlHeadline>("ctlHeadline");
    ctlHeadline->Move(0, 0, 12000, 900);
    ctlParamSite1 = Place<platform::ctl::ctlParamSite>("ctlParamSite1");
}

bool ctlAlarm::Init(const std::string& invokeId, const std::string& functionCall, const P<com::Object>& dtm) {
    m_FunctionCall = functionCall;
    m_Dtm = dtm;
    return BlockTabPage::Init(invokeId, functionCall, dtm);
}

// ---- tabs ----

void ctlAlarm::TabStrip_Click() {
    Trace("TabStrip_Click", "");
    const std::string selected = tabs_->SelectedKey();
    if (selected.empty()) return;
    for (const auto& tab : TabStrip->Tabs()) {
        const auto key = BlockTabStrip::SplitKey(tab->Key());
        ShowTabControl(key.view, selected.rfind(key.view, 0) == 0);
        // A tab without a block re-initialises nothing.
        if (selected == tab->Key() && tabs_->KindOf(key.n) != pbfNoneBlock) UpdateControl(key.view, key.n);
    }
    tabs_->Loaded();
}

void ctlAlarm::ShowTabControl(const std::string& ctlName, bool visible) {
    const auto control = Controls().Item(ctlName);
    if (control->Visible() != visible) control->Visible(visible);
}

void ctlAlarm::UpdateControl(const std::string& ctlName, int32_t number) {
    Trace("UpdateControl", "");
    ctlStatus->RemoveRequests();
    const auto child = Controls().Item(ctlName);
    auto& page = dynamic_cast<dtm::ctlAlarmAI&>(*child);
    page.PrepareToRelease();
    page.BlockIndex(static_cast<int16_t>(number));
    page.Init(InvokeId() + "." + ctlName + std::to_string(number) + "$", m_FunctionCall, m_Dtm.lock());
    ctlStatus->AddRequests();
}

// ---- status bar ----

void ctlAlarm::ctlStatus_OnAddDiagnoseRequests(rt::TransGrp& grp) {
    Trace("ctlStatus_OnAddDiagnoseRequests", "");
    grp.AddRequest(com::Deref(com::Deref(GetContext()).Parameters()).Item(dtm::ctlStatus::kDiagnosisPath), false);
}

void ctlAlarm::ctlStatus_OnAddCycleRequests(rt::TransGrp& grp) {
    Trace("ctlStatus_OnAddCycleRequests", "");
    const int16_t n = BlockTabStrip::SplitKey(tabs_->SelectedKey()).n;
    const auto kind = tabs_->KindOf(n);
    if (kind == pbfNoneBlock) return;
    const std::string prefix = kind == pbfFunctionAIBlock ? GetAIBlockPrefix(n) : GetTOTBlockPrefix(n);
    Trace("ctlStatus_OnAddCycleRequests", kind == pbfFunctionAIBlock ? "InitialValue = AI" : "InitialValue = TOT");
    const auto& params = com::Deref(com::Deref(GetContext()).Parameters());
    for (const char* read : kCycleReads) grp.AddRequest(params.Item(prefix + read), false);
}

void ctlAlarm::ctlStatus_OnRemoveRequests(rt::TransGrp& /*grp*/) { Trace("ctlStatus_OnRemoveRequests", ""); }

}  // namespace dtm

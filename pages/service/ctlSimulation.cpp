#include "pages/service/ctlSimulation.h"

#include "blocks/DataModel_P3_FB_AI.h"
#include "pages/framework/CycleReads.h"
#include "pages/parameterisation/TabPages.h"
#include "platform/com/PropertyBag.h"

namespace dtm {

namespace ui = platform::ui;
namespace com = platform::com;
namespace rt = platform::rt;
using platform::P;
using platform::Variant;

namespace {

// The design tab, replaced by the dictionary's list when the page opens.
constexpr const char* kDesignTab = "ctlSimuChAI";
// What the cycle reads of the selected AI block, after its prefix.
constexpr const char* kCycleMembers[] = {"SIMULATE/", "TARGET_MODE", "OUT/", "MODE_BLK/"};
// Path heads that name a tab.
constexpr struct {
    const char* head;
    int32_t tab;
} kTabHeads[] = {{"ctlSimulationPress", 1}, {"ctlSimulationTemp", 2}};

}  // namespace

ctlSimulation::ctlSimulation()
    : BlockTabPage(PageTraits{.className = "ctlSimulation", .container = true, .childInit = ChildInit::Before}) {}

void ctlSimulation::BuildForm() {
    ctlHeadline = Place<dtm::ctlHeadline>("ctlHeadline");
    ctlHeadline->Move(0, 0, 12000, 900);
    PlaceHelpButton();
    ctlParamSite1 = Place<platform::ctl::ctlParamSite>("ctlParamSite1");
    ctlParamHelp1 = Place<platform::ctl::ctlParamHelp>("ctlParamHelp1");
    ctlSimuCh = Place<dtm::ctlSimuCh>("ctlSimuCh");
    TabStrip = Place<ui::TabStrip>("TabStrip");
    TabStrip->Tabs().Add(0, kDesignTab, kDesignTab);
    AttachBlockTabs();
    com::PropertyBag statusDesign;
    statusDesign.WriteProperty("CyclicRefresh", Variant::Bool(true));
    ctlStatus = Place<dtm::ctlStatus>("ctlStatus", std::nullopt, nullptr, &statusDesign);
    ctlStatus->OnAddCycleRequests.Connect([this](rt::TransGrp& g) { ctlStatus_OnAddCycleRequests(g); });
    ctlStatus->OnAddDiagnoseRequests.Connect([this](rt::TransGrp& g) { ctlStatus_OnAddDiagnoseRequests(g); });
}

// ---- tabs ----

void ctlSimulation::TabStrip_Click() {
    Trace("TabStrip_Click", "");
    const std::string selected = tabs_->SelectedKey();
    for (const auto& tab : TabStrip->Tabs()) {
        const TabKey key = BlockTabStrip::SplitKey(tab->Key());
        const auto child = FindTabChild(key.view);
        if (!child) continue;  // the key names no control of the page
        const bool visible = selected.rfind(child->Name, 0) == 0;
        if (child->Visible() != visible) child->Visible(visible);
        if (tab->Key() == selected) SelectTabChild(child->Name, key.n);
    }
    tabs_->Loaded();
}

P<ui::Control> ctlSimulation::FindTabChild(const std::string& view) const {
    for (const auto& control : Controls())
        if (view.find(control->Name) != std::string::npos) return control;
    return nullptr;
}

void ctlSimulation::SelectTabChild(const std::string& child, int16_t n) {
    ctlStatus->RemoveRequests();
    P<dtm::ctlSimuCh> page;
    try {
        page = std::dynamic_pointer_cast<dtm::ctlSimuCh>(Controls().Item(child)->Object());
    } catch (const com::ComError&) {
    }
    if (page) {
        page->PrepareToRelease();
        page->BlockIndex(n);
        page->Init(InvokeId() + "." + child + std::to_string(n) + "$", FunctionCall(), Dtm());
    }
    ctlStatus->AddRequests();
}

void ctlSimulation::SelectTabForPath(const std::string& head, const std::string& tail) {
    for (const auto& named : kTabHeads)
        if (head == named.head && named.tab <= TabStrip->Tabs().Count())
            TabStrip->SelectedItem(TabStrip->Tabs().Item(named.tab));
    if (!SelectTabOfPath(*TabStrip, head, tail)) RefusePath();
}

// ---- status bar ----

void ctlSimulation::ctlStatus_OnAddDiagnoseRequests(rt::TransGrp& group) {
    Trace("ctlStatus_OnAddDiagnoseRequests", "");
    AddCycleRead(GetContext(), group, ctlStatus::kDiagnosisPath);
}

void ctlSimulation::ctlStatus_OnAddCycleRequests(rt::TransGrp& group) {
    const TabKey key = BlockTabStrip::SplitKey(tabs_->SelectedKey());
    // Only a tab of an AI block that exists reads anything.
    if (tabs_->ViewKind(key.view) != pbfFunctionAIBlock || tabs_->KindOf(key.n) != pbfFunctionAIBlock) return;
    const auto ctx = GetContext();
    for (const char* member : kCycleMembers) AddCycleRead(ctx, group, GetAIBlockPrefix(key.n) + member);
}

}  // namespace dtm

#include "pages/measurement/ctlMeasOutputs.h"

#include "blocks/DataModel_P3_FB_AI.h"
#include "blocks/DataModel_P3_FB_TOT.h"
#include "pages/framework/CycleReads.h"
#include "platform/com/PropertyBag.h"

namespace dtm {

namespace ui = platform::ui;
namespace com = platform::com;
namespace rt = platform::rt;
using platform::P;
using platform::Variant;

namespace {

constexpr const char* kOverview = "ctlMeasOutOView";
// The design tabs, replaced by the dictionary's list when the page opens.
constexpr const char* kDesignTabs[] = {"ctlMeasOutOView", "ctlMeasOutAI1", "ctlMeasOutTOT1"};
constexpr const char* kAIReads[] = {"OUT/", "OUT_SCALE/", "CHANNEL", "SIMULATE/", "MODE_BLK/"};
constexpr const char* kTOTReads[] = {"TOTAL/", "CHANNEL", "UNIT_TOT"};

}  // namespace

ctlMeasOutputs::ctlMeasOutputs()
    : BlockTabPage(PageTraits{.className = "ctlMeasOutputs", .container = true, .childInit = ChildInit::Before,
                               .hideOnRelease = false}) {}

bool ctlMeasOutputs::Init(const std::string& invokeId, const std::string& functionCall, const P<com::Object>& dtm) {
    functionCall_ = functionCall;
    return BlockTabPage::Init(invokeId, functionCall, dtm);
}

void ctlMeasOutputs::BuildForm() {
    PlaceHelpButton();
    HelpButton->Move(10200, 8400, 1200, 375);
    com::PropertyBag statusDesign;
    statusDesign.WriteProperty("CyclicRefresh", Variant::Bool(true));
    ctlStatus = Place<dtm::ctlStatus>("ctlStatus", std::nullopt, nullptr, &statusDesign);
    ctlStatus->Move(0, 8850, 12000, 375);
    ctlStatus->OnAddCycleRequests.Connect([this](rt::TransGrp& g) { ctlStatus_OnAddCycleRequests(g); });
    ctlStatus->OnAddDiagnoseRequests.Connect([this](rt::TransGrp& g) { ctlStatus_OnAddDiagnoseRequests(g); });
    ctlStatus->OnRemoveRequests.Connect([this](rt::TransGrp& g) { ctlStatus_OnRemoveRequests(g); });
    ctlParamHelp1 = Place<platform::ctl::ctlParamHelp>("ctlParamHelp1");
    // The three tab pages lie on top of each other; the selected tab's page is shown.
    ctlMeasOutOView = Place<dtm::ctlMeasOutOView>("ctlMeasOutOView");
    ctlMeasOutAI = Place<dtm::ctlMeasOutAI>("ctlMeasOutAI");
    ctlMeasOutTOT = Place<dtm::ctlMeasOutTOT>("ctlMeasOutTOT");
    for (const auto& page : {P<ui::Control>(ctlMeasOutOView), P<ui::Control>(ctlMeasOutAI), P<ui::Control>(ctlMeasOutTOT)})
        page->Move(120, 1500, 11700, 6600);
    TabStrip = Place<ui::TabStrip>("TabStrip");
    TabStrip->Move(0, 1020, 12000, 7200);
    for (const char* key : kDesignTabs) TabStrip->Tabs().Add(0, key, key);
    AttachBlockTabs();
    ctlHeadline = Place<dtm::ctlHeadline>("ctlHeadline");
    ctlHeadline->Move(0, 0, 12000, 900);
    ctlParamSite1 = Place<platform::ctl::ctlParamSite>("ctlParamSite1");
}

// ---- tabs ----

void ctlMeasOutputs::TabStrip_Click() {
    Trace("TabStrip_Click", "");
    const std::string selected = tabs_->SelectedKey();
    for (const auto& tab : TabStrip->Tabs()) {
        const TabKey key = BlockTabStrip::SplitKey(tab->Key());
        const auto page = Controls().Item(key.view);
        const bool visible = selected.rfind(key.view, 0) == 0;
        if (page->Visible() != visible) page->Visible(visible);
        if (tab->Key() == selected) ReinitPage(key.view, key.n);
    }
    tabs_->Loaded();
}

void ctlMeasOutputs::ReinitPage(const std::string& view, int16_t n) {
    ctlStatus->RemoveRequests();
    const auto page = std::dynamic_pointer_cast<PageBase>(Controls().Item(view)->Object());
    // The overview shows every block; a block tab needs its block.
    const bool overview = view == kOverview;
    if (page && (overview || tabs_->KindOf(n) != pbfNoneBlock)) {
        page->PrepareToRelease();
        if (const auto block = std::dynamic_pointer_cast<ctlMeasOutBlock>(page)) block->BlockIndex(n);
        page->Init(InvokeId() + "." + view + std::to_string(n) + "$", functionCall_, Dtm());
    }
    ctlStatus->AddRequests();
}

// ---- status bar ----

void ctlMeasOutputs::ctlStatus_OnAddDiagnoseRequests(rt::TransGrp& group) {
    Trace("ctlStatus_OnAddDiagnoseRequests", "");
    AddCycleRead(GetContext(), group, ctlStatus::kDiagnosisPath);
}

void ctlMeasOutputs::ctlStatus_OnAddCycleRequests(rt::TransGrp& group) {
    Trace("ctlStatus_OnAddCycleRequests", "");
    const auto ctx = GetContext();
    const TabKey key = BlockTabStrip::SplitKey(tabs_->SelectedKey());
    if (key.view == kOverview) {
        for (int16_t i = 1; i <= 8; ++i) {
            if (i == 4 || i == 8) {
                AddCycleRead(ctx, group, GetTOTBlockPrefix(i) + "TOTAL/");
            } else {
                AddCycleRead(ctx, group, GetAIBlockPrefix(i) + "OUT/");
                AddCycleRead(ctx, group, GetAIBlockPrefix(i) + "SIMULATE/");
            }
        }
        return;
    }
    // The block's own kind decides, whatever page the key names.
    switch (tabs_->KindOf(key.n)) {
        case pbfFunctionAIBlock:
            for (const char* member : kAIReads) AddCycleRead(ctx, group, GetAIBlockPrefix(key.n) + member);
            break;
        case pbfFunctionTOTBlock:
            for (const char* member : kTOTReads) AddCycleRead(ctx, group, GetTOTBlockPrefix(key.n) + member);
            break;
        default: break;
    }
}

void ctlMeasOutputs::ctlStatus_OnRemoveRequests(rt::TransGrp&) { Trace("ctlStatus_OnRemoveRequests", ""); }

}  // namespace dtm

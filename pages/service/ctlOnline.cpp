#include "pages/service/ctlOnline.h"

#include "core/services/HelpFile.h"
#include "pages/framework/CycleMarks.h"
#include "pages/framework/CycleReads.h"
#include "pages/parameterisation/FormTable.h"
#include "pages/parameterisation/TabPages.h"

namespace dtm {

namespace ui = platform::ui;
namespace com = platform::com;
namespace rt = platform::rt;

namespace {

constexpr FormLine kHelp[] = {HelpPane()};
constexpr FormLine kTabs[] = {Tabs("ctlCalib,ctlReset,ctlProtect")};
constexpr FormLine kSite[] = {Site()};

// What the cycle reads, whatever tab is shown: the transducer block is always block 1.
const std::string kCycleReads[] = {
    "PHYS/DIAGNOSIS",
    "PHYS/DIAGNOSIS_EXTENSION",
    "PHYS/FACTORY_RESET",
    "PHYS/MANU/SERVICE_PASSWORD",
    "PHYS/MANU/ACCESS_RIGHTS",
    "PHYS/WRITE_LOCKING",
    "TRANS/1/FlowCori/MANU/_converter_status",
    "TRANS/1/FlowCori/MANU/_resets",
    "TRANS/1/FlowCori/ZERO_POINT_ADJUST",
};

// Derived in the DTM, never read: marked live while the cycle runs.
constexpr const char* kDynamicPaths[] = {
    "PHYS/MANU/DIAGNOSIS_EXTENSION/Diagnosis_Extension_Rxd",
    "PHYS/MANU/DIAGNOSIS_EXTENSION/Diagnosis_Extension_Profibus",
    "~/ZERO_POINT_ADJUST",
};

}  // namespace

ctlOnline::ctlOnline()
    : NavigablePage(PageTraits{.className = "ctlOnline", .container = true, .childInit = ChildInit::Before}) {}

void ctlOnline::BuildForm() {
    HelpButton = Place<ui::CommandButton>("HelpButton");
    HelpButton->Click.Connect([this] { HelpButton_Click(); });
    // No handler for the diagnosis requests: the diagnosis is in the cycle list.
    ctlStatus = PlaceStatusBar(true, {nullptr, [this](rt::TransGrp& g) { ctlStatus_OnAddCycleRequests(g); },
                                      [this](rt::TransGrp& g) { ctlStatus_OnRemoveRequests(g); }});
    PlaceForm(*this, kHelp);
    ctlProtect = Place<dtm::ctlProtect>("ctlProtect");
    ctlReset = Place<dtm::ctlReset>("ctlReset");
    ctlCalib = Place<dtm::ctlCalib>("ctlCalib");
    PlaceForm(*this, kTabs);
    TabStrip = PageTabStrip(*this);
    TabStrip->Click.Connect([this] { TabStrip_Click(); });
    ctlHeadline = Place<dtm::ctlHeadline>("ctlHeadline");
    ctlHeadline->Move(0, 0, 9000, 900);
    PlaceForm(*this, kSite);
}

void ctlOnline::InitControls() {
    NavigablePage::InitControls();
    TabStrip_Click();
}

void ctlOnline::InitLanguageDependedControls(int32_t languageId) {
    NavigablePage::InitLanguageDependedControls(languageId);
    FillHeadline(*ctlHeadline);
    HelpButton->Caption(KeyText("help_button_text"));
}

bool ctlOnline::ShowControl(const std::string& controlPfad, const std::string& ctlName) {
    badTabPath_ = false;
    const bool shown = NavigablePage::ShowControl(controlPfad, ctlName);
    return shown && !badTabPath_;
}

void ctlOnline::SelectTabForPath(const std::string& head, const std::string& tail) {
    if (head != "TabStrip") return;
    const auto tab = TabOfPath(*TabStrip, tail);
    if (!tab) {
        badTabPath_ = true;
        return;
    }
    TabStrip->SelectedItem(tab);
}

void ctlOnline::TabStrip_Click() {
    Trace("TabStrip_Click", "");
    ShowSelectedTabControl(*this, *TabStrip);
}

void ctlOnline::ctlStatus_OnAddCycleRequests(rt::TransGrp& group) {
    Trace("ctlStatus_OnAddCycleRequests", "");
    const auto ctx = GetContext();
    AddCycleReads(ctx, group, kCycleReads);
    CycleMarks(ctx, kDynamicPaths, true);
}

void ctlOnline::ctlStatus_OnRemoveRequests(rt::TransGrp&) {
    Trace("ctlStatus_OnRemoveRequests", "");
    CycleMarks(GetContext(), kDynamicPaths, false);
}

void ctlOnline::HelpButton_Click() { ShowHelpFile(GetContext(), hWnd()); }

}  // namespace dtm

#include "pages/measurement/ctlMeasure.h"

#include "core/services/HelpFile.h"
#include "pages/framework/CycleReads.h"
#include "pages/measurement/MeasuredVariables.h"
#include "pages/parameterisation/FormTable.h"
#include "pages/parameterisation/TabPages.h"
#include "platform/com/VbText.h"

namespace dtm {

namespace ui = platform::ui;
namespace com = platform::com;
namespace rt = platform::rt;

namespace {

constexpr FormLine kHelp[] = {HelpPane()};
constexpr FormLine kTabsAndSite[] = {Tabs("ctlMeasOView,ctlMeasFlow,ctlMeasConc"), Site()};

}  // namespace

ctlMeasure::ctlMeasure()
    : NavigablePage(PageTraits{.className = "ctlMeasure", .container = true, .childInit = ChildInit::Before}) {}

void ctlMeasure::BuildForm() {
    HelpButton = Place<ui::CommandButton>("HelpButton");
    HelpButton->Click.Connect([this] { HelpButton_Click(); });
    ctlHeadline = Place<dtm::ctlHeadline>("ctlHeadline");
    ctlHeadline->Move(0, 0, 9000, 900);
    ctlStatus = PlaceStatusBar(true, {[this](rt::TransGrp& g) { ctlStatus_OnAddDiagnoseRequests(g); },
                                      [this](rt::TransGrp& g) { ctlStatus_OnAddCycleRequests(g); },
                                      [this](rt::TransGrp& g) { ctlStatus_OnRemoveRequests(g); }});
    ctlMeasOView = Place<dtm::ctlMeasOView>("ctlMeasOView");
    ctlMeasFlow = Place<dtm::ctlMeasFlow>("ctlMeasFlow");
    ctlMeasConc = Place<dtm::ctlMeasConc>("ctlMeasConc");
    PlaceForm(*this, kHelp);
    PlaceForm(*this, kTabsAndSite);
    TabStrip = PageTabStrip(*this);
    TabStrip->Click.Connect([this] { TabStrip_Click(); });
}

void ctlMeasure::InitControls() {
    NavigablePage::InitControls();
    TabStrip_Click();
}

void ctlMeasure::InitLanguageDependedControls(int32_t languageId) {
    NavigablePage::InitLanguageDependedControls(languageId);
    FillHeadline(*ctlHeadline);
    HelpButton->Caption(KeyText("help_button_text"));
}

bool ctlMeasure::ShowControl(const std::string& controlPfad, const std::string& ctlName) {
    badTabPath_ = false;
    const bool shown = NavigablePage::ShowControl(controlPfad, ctlName);
    return shown && !badTabPath_;
}

void ctlMeasure::SelectTabForPath(const std::string& head, const std::string& tail) {
    if (head != "TabStrip") return;
    const auto tab = TabOfPath(*TabStrip, tail);
    if (!tab) {
        badTabPath_ = true;
        return;
    }
    TabStrip->SelectedItem(tab);
}

void ctlMeasure::TabStrip_Click() {
    Trace("TabStrip_Click", "");
    ShowSelectedTabControl(*this, *TabStrip);
}

void ctlMeasure::ctlStatus_OnAddCycleRequests(rt::TransGrp& group) {
    Trace("ctlStatus_OnAddCycleRequests", "");
    const auto ctx = GetContext();
    for (const auto& variable : kMeasuredVariables)
        for (const char* path : {variable.units, variable.record, variable.loLimit, variable.hiLimit})
            AddCycleRead(ctx, group, path);
}

void ctlMeasure::ctlStatus_OnAddDiagnoseRequests(rt::TransGrp& group) {
    Trace("ctlStatus_OnAddDiagnoseRequests", "");
    AddCycleRead(GetContext(), group, ctlStatus::kDiagnosisPath);
}

void ctlMeasure::ctlStatus_OnRemoveRequests(rt::TransGrp&) { Trace("ctlStatus_OnRemoveRequests", ""); }

void ctlMeasure::HelpButton_Click() { ShowHelpFile(GetContext(), hWnd()); }

}  // namespace dtm

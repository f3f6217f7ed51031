#include "pages/measurement/ctlMeasure.h"

#include "pages/framework/CycleReads.h"
#include "pages/measurement/MeasuredVariables.h"
#include "pages/parameterisation/FormTable.h"

namespace dtm {

namespace ui = platform::ui;
namespace com = platform::com;
namespace rt = platform::rt;

namespace {

constexpr FormLine kHelp[] = {HelpPane()};
constexpr FormLine kTabsAndSite[] = {Tabs("ctlMeasOView,ctlMeasFlow,ctlMeasConc"), Site()};

}  // namespace

ctlMeasure::ctlMeasure()
    : TabWindow(PageTraits{.className = "ctlMeasure", .container = true, .childInit = ChildInit::Before}) {}

void ctlMeasure::BuildForm() {
    PlaceHelpButton();
    PlaceHeadline();
    ctlStatus = PlaceStatusBar(true, {[this](rt::TransGrp& g) { ctlStatus_OnAddDiagnoseRequests(g); },
                                      [this](rt::TransGrp& g) { ctlStatus_OnAddCycleRequests(g); },
                                      [this](rt::TransGrp& g) { ctlStatus_OnRemoveRequests(g); }});
    ctlMeasOView = Place<dtm::ctlMeasOView>("ctlMeasOView");
    ctlMeasFlow = Place<dtm::ctlMeasFlow>("ctlMeasFlow");
    ctlMeasConc = Place<dtm::ctlMeasConc>("ctlMeasConc");
    PlaceForm(*this, kHelp);
    PlaceForm(*this, kTabsAndSite);
    BindTabStrip();
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

}  // namespace dtm

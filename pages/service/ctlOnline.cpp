#include "pages/service/ctlOnline.h"

#include "pages/framework/CycleReads.h"
#include "pages/parameterisation/FormTable.h"

namespace dtm {

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
    : TabWindow(PageTraits{.className = "ctlOnline", .container = true, .childInit = ChildInit::Before}),
      marks_(kDynamicPaths) {}

void ctlOnline::BuildForm() {
    PlaceHelpButton();
    // No handler for the diagnosis requests: the diagnosis is in the cycle list.
    ctlStatus = PlaceStatusBar(true, {nullptr, [this](rt::TransGrp& g) { ctlStatus_OnAddCycleRequests(g); },
                                      [this](rt::TransGrp& g) { ctlStatus_OnRemoveRequests(g); }});
    PlaceForm(*this, kHelp);
    ctlProtect = Place<dtm::ctlProtect>("ctlProtect");
    ctlReset = Place<dtm::ctlReset>("ctlReset");
    ctlCalib = Place<dtm::ctlCalib>("ctlCalib");
    PlaceForm(*this, kTabs);
    BindTabStrip();
    PlaceHeadline();
    PlaceForm(*this, kSite);
}

void ctlOnline::ctlStatus_OnAddCycleRequests(rt::TransGrp& group) {
    Trace("ctlStatus_OnAddCycleRequests", "");
    const auto ctx = GetContext();
    AddCycleReads(ctx, group, kCycleReads);
    marks_.Hold(ctx);
}

void ctlOnline::ctlStatus_OnRemoveRequests(rt::TransGrp&) {
    Trace("ctlStatus_OnRemoveRequests", "");
    marks_.Release(GetContext());
}

}  // namespace dtm

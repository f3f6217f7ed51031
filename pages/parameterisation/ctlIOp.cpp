#include "pages/parameterisation/ctlIOp.h"

#include "pages/parameterisation/FormTable.h"
#include "pages/parameterisation/TabPages.h"

namespace dtm {

namespace {

constexpr FormLine kHelp[] = {HelpPane()};
constexpr FormLine kTabsAndSite[] = {Tabs("ctlIOpFuncAI1,ctlIOpFuncTOT1"), Site()};

}  // namespace

ctlIOp::ctlIOp()
    : NavigablePage(PageTraits{
          .className = "ctlIOp", .container = true, .childInit = ChildInit::Before, .hideOnRelease = false}) {}

void ctlIOp::BuildForm() {
    PlaceForm(*this, kHelp);
    ctlIOpFuncAI = Place<dtm::ctlIOpFuncAI>("ctlIOpFuncAI");
    ctlIOpFuncTOT = Place<dtm::ctlIOpFuncTOT>("ctlIOpFuncTOT");
    PlaceForm(*this, kTabsAndSite);
    TabStrip = PageTabStrip(*this);
}

bool ctlIOp::Init(const std::string& invokeId, const std::string& functionCall,
                  const platform::P<platform::com::Object>& dtm) {
    functionCall_ = functionCall;
    return NavigablePage::Init(invokeId, functionCall, dtm);
}

}  // namespace dtm

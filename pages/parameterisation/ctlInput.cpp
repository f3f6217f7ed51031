#include "pages/parameterisation/ctlInput.h"

#include "pages/parameterisation/FormTable.h"
#include "pages/parameterisation/TabPages.h"

namespace dtm {

namespace {

constexpr FormLine kHelp[] = {HelpPane()};
constexpr FormLine kTabsAndRows[] = {
    Tabs("ctlInpCtrlParam,ctlInpMeasLimits,ctlInpMeasConLimits"),
    Row("", 0, "TRANS/1/FlowCori/ST_REV", -55, 0),
    Row("", 1, "TRANS/1/FlowCori/TAG_DESC", -20, 0, true),
    Site(),
};

}  // namespace

ctlInput::ctlInput() : NavigablePage(PageTraits{.className = "ctlInput", .container = true}) {}

void ctlInput::BuildForm() {
    PlaceForm(*this, kHelp);
    ctlInpCtrlParam = Place<dtm::ctlInpCtrlParam>("ctlInpCtrlParam");
    ctlInpMeasConLimits = Place<dtm::ctlInpMeasConLimits>("ctlInpMeasConLimits");
    ctlInpMeasLimits = Place<dtm::ctlInpMeasLimits>("ctlInpMeasLimits");
    PlaceForm(*this, kTabsAndRows);
    TabStrip = PageTabStrip(*this);
    TabStrip->Click.Connect([this] { TabStrip_Click(); });
}

void ctlInput::InitControls() {
    NavigablePage::InitControls();
    TabStrip_Click();
}

void ctlInput::TabStrip_Click() { ShowSelectedTabControl(*this, *TabStrip); }

}  // namespace dtm

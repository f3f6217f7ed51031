#include "pages/parameterisation/ctlIOp.h"

#include "pages/framework/IBlockIndexed.h"
#include "pages/parameterisation/FormTable.h"
#include "pages/parameterisation/TabPages.h"
#include "platform/com/Error.h"

namespace dtm {

namespace com = platform::com;
namespace fdt = platform::fdt;
using platform::P;

namespace {

constexpr FormLine kHelp[] = {HelpPane()};
constexpr FormLine kTabsAndSite[] = {Tabs("ctlIOpFuncAI1,ctlIOpFuncTOT1"), Site()};

}  // namespace

ctlIOp::ctlIOp()
    : BlockTabPage(PageTraits{
          .className = "ctlIOp", .container = true, .childInit = ChildInit::Before, .hideOnRelease = false}) {}

void ctlIOp::BuildForm() {
    PlaceForm(*this, kHelp);
    ctlIOpFuncAI = Place<dtm::ctlIOpFuncAI>("ctlIOpFuncAI");
    ctlIOpFuncTOT = Place<dtm::ctlIOpFuncTOT>("ctlIOpFuncTOT");
    PlaceForm(*this, kTabsAndSite);
    TabStrip = PageTabStrip(*this);
    AttachBlockTabs();
}

bool ctlIOp::ExitControls() {
    if (!NavigablePage::ExitControls()) return false;
    tabs_->Stop();
    return true;
}

void ctlIOp::TabStrip_Click() {
    Trace("TabStrip_Click", "");
    const std::string selectedKey = tabs_->SelectedKey();
    for (const auto& tab : TabStrip->Tabs()) {
        const TabKey key = BlockTabStrip::SplitKey(tab->Key());
        const auto child = Controls().Item(key.view);
        const bool show = selectedKey.starts_with(key.view);
        if (child->Visible() != show) child->Visible(show);
        if (selectedKey != tab->Key()) continue;
        const auto page = std::dynamic_pointer_cast<fdt::IDtmActiveXControl>(child->Object());
        const auto indexed = std::dynamic_pointer_cast<IBlockIndexed>(child->Object());
        if (!page || !indexed) com::Raise(438, "The page " + key.view + " has no BlockIndex", "ctlIOp");
        page->PrepareToRelease();
        indexed->BlockIndex(key.n);
        page->Init(InvokeId() + "." + key.view + std::to_string(key.n) + "$", FunctionCall(), Dtm());
    }
}

}  // namespace dtm

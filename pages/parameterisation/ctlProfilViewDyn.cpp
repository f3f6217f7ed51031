#include "pages/parameterisation/ctlProfilViewDyn.h"

#include "pages/framework/IBlockIndexed.h"
#include "pages/framework/Navigation.h"
#include "platform/com/Error.h"
#include "platform/com/PropertyBag.h"
#include "platform/fdt/IDtmActiveXControl.h"

namespace dtm {

namespace ui = platform::ui;
namespace com = platform::com;
using platform::P;

namespace {

constexpr ctlProfilViewDyn::ChildView kChildViews[] = {
    {"ctlProfilPhysicalBlock", "PB", ctlProfilViewDyn::ViewIndex::None},
    {"ctlProfilTBFlowCoriolis", "TB", ctlProfilViewDyn::ViewIndex::One},
    {"ctlProfilFunctionBlockAI", "FB_AI", ctlProfilViewDyn::ViewIndex::TabNumber},
    {"ctlProfilFunctionBlockTOT", "FB_TOT", ctlProfilViewDyn::ViewIndex::TabNumber},
};

// The views a search loads into the pane: program id and control name.
constexpr std::pair<const char*, const char*> kSearchViews[] = {
    {"ctlProfilPhysicalBlock", "Physical"},
    {"ctlProfilTBFlowCoriolis", "Transducer"},
    {"ctlProfilFunctionBlockAI", "Function"},
};

constexpr const char* kComponentName = "RG38N226_4_07";

std::string ProgId(const char* view) { return std::string(kComponentName) + "." + view; }

PageTraits ProfilViewTraits() {
    PageTraits traits;
    traits.className = "ctlProfilViewDyn";
    traits.container = true;
    return traits;
}

platform::fdt::IDtmActiveXControl& ActiveX(const P<ui::Control>& view) {
    return com::Deref(std::dynamic_pointer_cast<platform::fdt::IDtmActiveXControl>(view->Object()));
}

}  // namespace

const ctlProfilViewDyn::ChildView* ctlProfilViewDyn::FindChildView(const std::string& view) {
    for (const auto& v : kChildViews)
        if (view == v.view) return &v;
    return nullptr;
}

ctlProfilViewDyn::ctlProfilViewDyn() : BlockTabPage(ProfilViewTraits(), NavForm::OwnName) {}

void ctlProfilViewDyn::BuildForm() {
    PlaceHelpButton();
    HelpButton->Move(10680, 8040, 1200, 375);
    com::PropertyBag status;
    status.WriteProperty("CyclicRefresh", platform::Variant::Bool(false));
    ctlStatus = Place<dtm::ctlStatus>("ctlStatus", std::nullopt, nullptr, &status);
    ctlStatus->Move(0, 8520, 12000, 480);
    ctlParamHelp1 = Place<platform::ctl::ctlParamHelp>("ctlParamHelp1");
    ctlScrollPane = Place<dtm::ctlScrollPane>("ctlScrollPane");
    ctlScrollPane->Move(240, 1380, 11520, 6540);
    TabStrip = Place<ui::TabStrip>("TabStrip");
    TabStrip->Move(120, 1020, 11760, 6960);
    AttachBlockTabs();
    ctlHeadline = Place<dtm::ctlHeadline>("ctlHeadline");
    ctlHeadline->Move(0, 0, 12000, 900);
    ctlParamSite1 = Place<platform::ctl::ctlParamSite>("ctlParamSite1");
}

bool ctlProfilViewDyn::ExitControls() {
    if (m_BlockView) ActiveX(m_BlockView).PrepareToRelease();
    return BlockTabPage::ExitControls();
}

void ctlProfilViewDyn::TabStrip_Click() {
    Trace("TabStrip_Click", "");
    if (!tabs_->ClickNeeded()) return;
    if (m_BlockView) {
        m_BlockView->Visible(false);
        if (!ActiveX(m_BlockView).PrepareToRelease()) return;
    }
    const TabKey key = BlockTabStrip::SplitKey(tabs_->SelectedKey());
    const ChildView* view = FindChildView(key.view);
    if (view) {
        if (m_BlockView && m_BlockView->Name != view->control) {
            ctlScrollPane->RemoveControl(m_BlockView->Name);
            m_BlockView.reset();
        }
        if (!m_BlockView) m_BlockView = ctlScrollPane->AddControl(ProgId(view->view), view->control);
        auto& indexed = com::Deref(std::dynamic_pointer_cast<IBlockIndexed>(m_BlockView->Object()));
        if (view->index == ViewIndex::One) indexed.BlockIndex(1);
        if (view->index == ViewIndex::TabNumber) indexed.BlockIndex(key.n);
        ActiveX(m_BlockView).Init(InvokeId() + "." + key.view + std::to_string(key.n) + "$", FunctionCall(), Dtm());
        m_BlockView->Visible(true);
    }
    // A tab of no known view loads nothing: the view released above stays released and hidden.
    tabs_->Loaded();
}

void ctlProfilViewDyn::InitControl(const platform::Variant& data) {
    for (const auto& [view, name] : kSearchViews)
        if (!ctlScrollPane->Controls().Find(name)) ctlScrollPane->AddControl(ProgId(view), name);
    BlockTabPage::InitControl(data);
}

void ctlProfilViewDyn::Resize() {
    if (!resizer_) {
        resizer_ = std::make_unique<clsCtlResize>();
        resizer_->Add(*this, *TabStrip);
        resizer_->Add(*this, *ctlScrollPane);
        resizer_->Add(*this, *ctlHeadline);
        return;
    }
    resizer_->Resize(*this, *TabStrip, crmBoth);
    resizer_->Resize(*this, *ctlScrollPane, crmBoth);
    resizer_->Resize(*this, *ctlHeadline, crmWidth);
    HelpButton->Move(TabStrip->Left() + TabStrip->Width() - HelpButton->Width(), TabStrip->Top() + TabStrip->Height() + 40,
                     HelpButton->Width(), HelpButton->Height());
}

}  // namespace dtm

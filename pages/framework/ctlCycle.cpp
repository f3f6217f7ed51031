#include "pages/framework/ctlCycle.h"

#include "model/elements/LanguageHelpers.h"
#include "model/elements/clsDataElement.h"
#include "pages/framework/CycleMarks.h"
#include "platform/app/MessageBox.h"
#include "platform/com/Error.h"
#include "platform/com/PropertyBag.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmCommService.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/Parameters.h"
#include "platform/ui/Description.h"

namespace dtm {

namespace app = platform::app;
namespace rt = platform::rt;
namespace ui = platform::ui;
namespace com = platform::com;
using platform::P;
using platform::Variant;

namespace {

constexpr int32_t kButtonFace = static_cast<int32_t>(0x8000000Fu);

CycleGroupFactory& Factory() {
    static CycleGroupFactory factory = NewTransGrpCycleGroup;
    return factory;
}

// The element itself, or the fields of a record ("…/").
template <class F>
void ForEachCounted(const P<rt::DTMContext>& ctx, const rt::El& element, F&& f) {
    auto el = std::dynamic_pointer_cast<clsDataElement>(element);
    if (!el) return;
    const std::string name = element->Name();
    if (name.empty() || name.back() != '/') {
        f(el);
        return;
    }
    for (const auto& child : ctx->Parameters()->Children(name))
        if (auto field = std::dynamic_pointer_cast<clsDataElement>(child)) f(field);
}

}  // namespace

const CycleGroupFactory& GetCycleGroupFactory() { return Factory(); }
void SetCycleGroupFactory(CycleGroupFactory factory) { Factory() = std::move(factory); }

ctlCycle::~ctlCycle() { Terminate(); }

void ctlCycle::BuildForm() {
    chkCycle = Place<ui::CheckBox>("chkCycle");
    chkCycle->Caption("chkCycle");
    tmrCycle = Place<ui::Timer>("tmrCycle");
    tmrCycle->Interval(kDefaultInterval);
    chkCycle->Click.Connect([this] { chkCycle_Click(); });
    tmrCycle->TimerEvent.Connect([this] { tmrCycle_Timer(); });
}

void ctlCycle::Initialize() { tmrCycle->Enabled(false); }

void ctlCycle::InitProperties() {
    BackColor(kButtonFace);
    Interval(kDefaultInterval);
    m_AutomateDynamicIcons = false;
}

void ctlCycle::ReadProperties(const com::PropertyBag& bag) {
    BackColor(com::CLng(bag.ReadProperty("BackColor", Variant::Lng(kButtonFace))));
    Interval(com::CLng(bag.ReadProperty("Interval", Variant::Lng(kDefaultInterval))));
    m_AutomateDynamicIcons = com::CBool(bag.ReadProperty("AutomateDynamicIcons", Variant::Bool(false)));
}

void ctlCycle::WriteProperties(com::PropertyBag& bag) {
    bag.WriteProperty("BackColor", Variant::Lng(BackColor()), Variant::Lng(kButtonFace));
    bag.WriteProperty("Interval", Variant::Lng(Interval()), Variant::Lng(kDefaultInterval));
    bag.WriteProperty("AutomateDynamicIcons", Variant::Bool(m_AutomateDynamicIcons), Variant::Bool(false));
}

void ctlCycle::AutomateDynamicIcons(bool on) {
    if (on == m_AutomateDynamicIcons) return;
    m_AutomateDynamicIcons = on;
    PropertyChanged("AutomateDynamicIcons");
}

void ctlCycle::BackColor(int32_t colour) {
    UserControl::BackColor(colour);
    chkCycle->BackColor(colour);
}

void ctlCycle::Init(const P<rt::DTMContext>& ctx, startCycleMode cycleMode) {
    m_DTMContext = ctx;
    if (!Factory()) com::Raise(com::errCannotCreate, "No transaction group");
    m_TransGrp = Factory()();
    com::Deref(ctx);
    m_TransGrp->InitGroup(ctx);
    if (cycleMode == scmStart) {
        chkCycle->Value(1);
    } else if (cycleMode == scmStartIfConnected) {
        if (ctx->CommService()->ActiveConnection()) chkCycle->Value(1);
    }
    SetLanguage(ctx->GuiRegistry()->LanguageId());
}

void ctlCycle::SetLanguage(int32_t /*languageId*/) {
    const auto ctx = GetContext();
    if (!ctx) return;
    std::vector<P<ui::Control>> controls(Controls().begin(), Controls().end());
    SetLangCaptions(ctx, "ctlCycle_", controls);
}

void ctlCycle::chkCycle_Click() {
    if (!GetContext() || !m_TransGrp) return;
    Click.Raise();
    if (chkCycle->Value() == 1) StartPath(true);
    else StopPath();
}

void ctlCycle::StartPath(bool fromCheckBox) {
    if (m_TransGrp->IsBusy()) {
        startWhenIdleFromBox_ = startWhenIdle_ ? (startWhenIdleFromBox_ || fromCheckBox) : fromCheckBox;
        startWhenIdle_ = true;
        return;
    }
    startWhenIdle_ = false;
    if (m_TransGrp->CheckConnection() != 0) {
        Fail("error_at_connect");
        return;
    }
    suspended_ = false;
    OnAddRequests.Raise(m_TransGrp->Group());
    SetDynamicParams(true);
    if (fromCheckBox) ClearDynamicFlags();
    tmrCycle->Enabled(true);
    tmrCycle_Timer();
}

void ctlCycle::StopPath() {
    suspended_ = false;
    startWhenIdle_ = false;
    OnRemoveRequests.Raise(m_TransGrp->Group());
    SetDynamicParams(false);
    ClearDynamicFlags();
    m_TransGrp->ResetGroup();
    tmrCycle->Enabled(false);
}

void ctlCycle::Fail(const char* key) {
    chkCycle->Value(0);
    const auto ctx = GetContext();
    if (ctx) ctx->MsgBox(GetLangText(ctx, key), app::kButtonsOKOnly);
}

void ctlCycle::AddRequests() {
    if (!m_TransGrp || chkCycle->Value() != 1 || !GetContext()) return;
    StartPath(false);
}

void ctlCycle::RemoveRequests() {
    if (!m_TransGrp || chkCycle->Value() != 1) return;
    suspended_ = true;
    startWhenIdle_ = false;
    OnRemoveRequests.Raise(m_TransGrp->Group());
    SetDynamicParams(false);
    m_TransGrp->ResetGroup();
    tmrCycle->Enabled(false);
}

void ctlCycle::Clear() {
    if (!m_TransGrp) return;
    startWhenIdle_ = false;
    chkCycle->Value(0);
    m_TransGrp->ReleaseGroup();
    SetDynamicParams(false);
}

void ctlCycle::OnProcessFinished(const std::string&, const Variant&) {
    if (!startWhenIdle_) return;
    startWhenIdle_ = false;
    if (chkCycle->Value() != 1 || tmrCycle->Enabled() || !GetContext() || !m_TransGrp) return;
    StartPath(startWhenIdleFromBox_);
}

void ctlCycle::tmrCycle_Timer() {
    if (!GetContext() || !m_TransGrp) return;
    const int32_t result = m_TransGrp->Execute(std::dynamic_pointer_cast<rt::IPrivateProcess>(Keep()));
    if (result == 0 || result == 6) return;
    Fail("error_at_read_status");
}

void ctlCycle::SetDynamicParams(bool dynamic) {
    const auto ctx = GetContext();
    if (!m_AutomateDynamicIcons || !ctx || !m_TransGrp || !ctx->CommService()) return;
    std::vector<rt::El> work;
    if (dynamic) {
        if (m_DynamicRequests) return;
        m_DynamicRequests = m_TransGrp->RequestElements(ctx);
        work = *m_DynamicRequests;
    } else {
        if (!m_DynamicRequests) return;
        work = std::move(*m_DynamicRequests);
        m_DynamicRequests.reset();
    }
    for (const auto& request : work)
        ForEachCounted(ctx, request, [&](const P<clsDataElement>& el) { CountDynamic(ctx, el, dynamic); });
}

void ctlCycle::ClearDynamicFlags() {
    const auto ctx = GetContext();
    if (!ctx || !m_TransGrp || !ctx->CommService()) return;
    for (const auto& request : m_TransGrp->RequestElements(ctx))
        ForEachCounted(ctx, request, [](const P<clsDataElement>& el) { el->ClearStatusFlag(kOnlineChangeFlag); });
}

void ctlCycle::Terminate() noexcept {
    try {
        SetDynamicParams(false);
    } catch (...) {
        // The control goes away; a failed unmarking changes nothing more.
    }
}

void ctlCycle::Describe(ui::Description& d) const {
    UserControl::Describe(d);
    const bool checked = chkCycle->Value() == 1;
    const char* state = !checked ? "stopped" : tmrCycle->Enabled() ? "running" : suspended_ ? "suspended" : "blocked";
    d.Attr(checked ? "[x]" : "[ ]");
    d.Attr(state);
    d.Prop("state", state);
}

}  // namespace dtm

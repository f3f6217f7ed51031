#include "pages/framework/ctlStatus.h"

#include "core/services/ProjectHelpers.h"
#include "model/elements/LanguageHelpers.h"
#include "platform/com/Error.h"
#include "platform/com/PropertyBag.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmCommService.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/LanguageDictionary.h"
#include "platform/rt/Parameters.h"

namespace dtm {

namespace rt = platform::rt;
namespace ui = platform::ui;
namespace com = platform::com;
using platform::P;
using platform::Variant;

namespace {

constexpr const char* kClassName = "ctlStatus";
constexpr const char* kIconKeys[] = {"k_saved", "k_empty", "k_online", "k_mixed",
                                     "k_ok",    "k_changed", "k_commErr", "k_diagErr"};
constexpr int32_t kIconPixels = 16;
constexpr int32_t kCommErrorFlags = 0xF0000;

// PHYS/DIAGNOSIS read as zero: every element of an array 0, a scalar 0.
bool IsZeroDiagnosis(const Variant& value) {
    if (!value.IsArray()) return IsSameValue(value, Variant::Int(0));
    const Variant zeros = Variant::Array(com::VarType::Variant, value.LBound(), value.UBound());
    return IsSameValue(value, zeros);
}

constexpr PageTraits kTraits{
    .className = kClassName, .hideOnRelease = false, .showHandler = false, .helpPane = false, .alwaysChild = true};

}  // namespace

ctlStatus::ctlStatus() : PageBase(kTraits) {}

void ctlStatus::BuildForm() {
    imgList = Place<ui::ImageList>("imgList");
    for (const char* key : kIconKeys) imgList->Add(key, ui::Picture::Make(key, kIconPixels, kIconPixels));
    stbar = Place<ui::StatusBar>("stbar");
    stbar->Move(0, 0, 9000, 330);
    stbar->AddPanel(0, "pnlOnOffline", "Offline")->Width(1500);
    stbar->AddPanel(0, "ctlCycle")->Width(2000);
    stbar->AddPanel(0, "pnlDiagnosis", "Diagnosis")->Width(1500);
    stbar->AddPanel(0, "pnlParamChange", "Parameter change")->Width(3000);
    com::PropertyBag cycleDesign;
    cycleDesign.WriteProperty("Interval", Variant::Lng(4000));
    cycleDesign.WriteProperty("AutomateDynamicIcons", Variant::Bool(true));
    ctlCycle = Place<dtm::ctlCycle>("ctlCycle", std::nullopt, nullptr, &cycleDesign);
    ctlCycle->Move(0, 0, 1455, 255);
    ctlCycle->OnAddRequests.Connect([this](rt::TransGrp& group) { ctlCycle_OnAddRequests(group); });
    ctlCycle->OnRemoveRequests.Connect([this](rt::TransGrp& group) { ctlCycle_OnRemoveRequests(group); });
    ctlCycle->Click.Connect([this] { ctlCycle_Click(); });
    // Runs after the cycle's own handling of its box: the unmarking at the end
    // of a stop notifies PHYS/DIAGNOSIS again, yet a cycle switched off shows
    // no diagnosis.
    ctlCycle->chkCycle->Click.Connect([this] {
        if (m_CyclicRefresh && ctlCycle->CycleGroup() && ctlCycle->Value() == 0) SetPanelIcon("pnlDiagnosis", "k_empty");
    });
}

// ---- properties ----

bool ctlStatus::CyclicRefresh() {
    Trace("Get CyclicRefresh", "");
    return m_CyclicRefresh;
}

void ctlStatus::CyclicRefresh(bool on) {
    Trace("Let CyclicRefresh", "");
    if (on == m_CyclicRefresh) return;
    m_CyclicRefresh = on;
    ShowCyclePanels();
    PropertyChanged("CyclicRefresh");
}

void ctlStatus::InitProperties() {
    m_CyclicRefresh = true;
    ShowCyclePanels();
}

void ctlStatus::ReadProperties(const com::PropertyBag& bag) {
    m_CyclicRefresh = com::CBool(bag.ReadProperty("CyclicRefresh", Variant::Bool(true)));
    ShowCyclePanels();
}

void ctlStatus::WriteProperties(com::PropertyBag& bag) {
    bag.WriteProperty("CyclicRefresh", Variant::Bool(m_CyclicRefresh));
}

void ctlStatus::AddRequests() {
    Trace("AddRequests", "");
    if (m_CyclicRefresh) ctlCycle->AddRequests();
}

void ctlStatus::RemoveRequests() {
    Trace("RemoveRequests", "");
    if (m_CyclicRefresh) ctlCycle->RemoveRequests();
}

// ---- page members ----

bool ctlStatus::Init(const std::string& invokeId, const std::string& functionCall, const P<com::Object>& dtm) {
    try {
        return PageBase::Init(invokeId, functionCall, dtm);
    } catch (...) {
        try {
            if (m_CyclicRefresh) ctlCycle->Clear();
        } catch (...) {
        }
        throw;
    }
}

void ctlStatus::InitControls() {
    Trace("InitControls", "");
    const auto ctx = GetContext();
    InitLanguageDependedControls(com::Deref(ctx).GuiRegistry()->LanguageId());
    UpdateAllParameterCtls();
    InitStatusControls();
    if (m_CyclicRefresh) ctlCycle->Init(ctx, scmStartIfConnected);
}

void ctlStatus::InitLanguageDependedControls(int32_t languageId) {
    PageBase::InitLanguageDependedControls(languageId);
    if (m_CyclicRefresh) ctlCycle->SetLanguage(languageId);
    InitStatusLanguage();
    Resize();
}

bool ctlStatus::ExitControls() {
    if (!PageBase::ExitControls()) return false;
    if (m_CyclicRefresh) ctlCycle->Clear();
    return true;
}

void ctlStatus::UpdateAllParameterCtls() { ShowConnectionAndDataStatus(); }

// ---- panels ----

std::string ctlStatus::ExpandedKeyText(const std::string& key) const {
    const std::string text = KeyText(key);
    if (text.empty()) return "";
    const auto ctx = GetContext();
    return ExpandTextRefs(text, ctx, ctx->Dictionary()->SectionNode("keys"));
}

void ctlStatus::SetPanelIcon(const char* panelKey, const char* iconKey) {
    stbar->Panels(panelKey)->Picture(imgList->ListImages(iconKey)->Picture);
}

std::string ctlStatus::PanelIcon(const std::string& panelKey) const {
    const auto& picture = stbar->Panels(panelKey)->Picture();
    return picture ? picture->Source : "";
}

void ctlStatus::InitStatusControls() {
    Trace("InitStatusControls", "");
    SetPanelIcon("pnlOnOffline", "k_empty");
    SetPanelIcon("pnlDiagnosis", "k_empty");
    ShowConnectionAndDataStatus();
    if (m_CyclicRefresh) SetPanelIcon("ctlCycle", "k_diagErr");
    ShowCyclePanels();
}

void ctlStatus::ShowCyclePanels() {
    stbar->Panels("pnlDiagnosis")->Visible(m_CyclicRefresh);
    stbar->Panels("ctlCycle")->Visible(m_CyclicRefresh);
    ctlCycle->Visible(m_CyclicRefresh);
}

void ctlStatus::InitStatusLanguage() {
    Trace("InitStatusLanguage", "");
    const bool online = com::Deref(GetContext()).CommService()->IsOnline();
    stbar->Panels("pnlOnOffline")->Text(ExpandedKeyText(online ? "key_connected" : "key_notConnected"));
    stbar->Panels("pnlDiagnosis")->Text(ExpandedKeyText("ctlStatus_stbar_panel_3"));
    stbar->Panels("pnlParamChange")->Text(ExpandedKeyText("ctlStatus_stbar_panel_4"));
    Resize();
}

void ctlStatus::ShowConnectionAndDataStatus() {
    const auto ctx = GetContext();
    const bool online = com::Deref(ctx).CommService()->IsOnline();
    stbar->Panels("pnlOnOffline")->Text(ExpandedKeyText(online ? "key_connected" : "key_notConnected"));
    SetPanelIcon("pnlOnOffline", online ? "k_ok" : "k_empty");
    Resize();
    const Variant state = ctx->Parameters()->Item(kDataStatusPath)->TransientValue();
    const char* icon = "k_mixed";
    if (com::IsNumeric(state)) {
        const double n = com::CDbl(state);
        icon = n == 0 ? "k_saved" : n == 1 ? "k_online" : n == 2 ? "k_changed" : "k_mixed";
    }
    SetPanelIcon("pnlParamChange", icon);
}

void ctlStatus::UpdateParameterCtl(const P<rt::IPrivateDataElement>& pda) {
    const std::string name = com::Deref(pda).Name();
    if (name == kDiagnosisPath) {
        const Variant value = pda->DeviceValue();
        const char* icon = (pda->StatusFlags() & kCommErrorFlags) != 0 ? "k_commErr"
                           : value.IsEmpty()                          ? "k_empty"
                           : IsZeroDiagnosis(value)                   ? "k_ok"
                                                                      : "k_diagErr";
        SetPanelIcon("pnlDiagnosis", icon);
    } else if (name == kDataStatusPath) {
        ShowConnectionAndDataStatus();
    }
}

void ctlStatus::Resize() {
    const float p4 = ScaleX(4, ui::vbPixels, ui::vbTwips);
    const float p2 = ScaleX(2, ui::vbPixels, ui::vbTwips);
    const float w = ScaleX(imgList->ListImages("k_ok")->Picture->Width, ui::vbHimetric, ui::vbTwips);
    for (const char* key : {"pnlOnOffline", "pnlDiagnosis"}) {
        const auto panel = stbar->Panels(key);
        panel->Width(TextWidth(panel->Text()) + p4 + w);
    }
    const auto cyclePanel = stbar->Panels("ctlCycle");
    ctlCycle->Move(cyclePanel->Left() + p2 + w, stbar->Top() + (stbar->Height() - ctlCycle->Height() + p2) / 2);
    cyclePanel->Width(ctlCycle->Width() + 2 * p2 + w);
}

// ---- the cycle's events ----

void ctlStatus::ctlCycle_OnAddRequests(rt::TransGrp& group) {
    Trace("ctlCycle_OnAddRequests", "");
    if (!m_CyclicRefresh) return;
    OnAddDiagnoseRequests.Raise(group);
    OnAddCycleRequests.Raise(group);
    SetPanelIcon("ctlCycle", "k_ok");
}

void ctlStatus::ctlCycle_OnRemoveRequests(rt::TransGrp& group) {
    Trace("ctlCycle_OnRemoveRequests", "");
    if (!m_CyclicRefresh) return;
    OnRemoveRequests.Raise(group);
    if (ctlCycle->Value() == 0) {
        SetPanelIcon("pnlDiagnosis", "k_empty");
        SetPanelIcon("ctlCycle", "k_diagErr");
    }
}

void ctlStatus::ctlCycle_Click() {
    Trace("ctlCycle_Click", "");
    if (m_CyclicRefresh) Click.Raise();
}

}  // namespace dtm

#include "pages/framework/PageBase.h"

#include "core/services/LangSupp.h"
#include "core/dtm/PageInterfaces.h"
#include "core/services/Trace.h"
#include "model/elements/LanguageHelpers.h"
#include "pages/framework/clsParamLink.h"
#include "pages/framework/ctlHeadline.h"
#include "pages/framework/ctlStatus.h"
#include "platform/com/PropertyBag.h"
#include "platform/rt/DtmRuntimeGlobal.h"
#include "platform/rt/LanguageDictionary.h"
#include "platform/rt/Parameters.h"
#include "platform/com/Error.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/win/Shell.h"

namespace dtm {

namespace rt = platform::rt;
namespace ui = platform::ui;
namespace com = platform::com;
namespace fdt = platform::fdt;
using platform::P;

PageBase::~PageBase() { Terminate(); }

void PageBase::PlaceTemplateControls() {
    ctlParamSite1 = Place<platform::ctl::ctlParamSite>("ctlParamSite1");
    if (traits_.helpPane) ctlParamHelp1 = Place<platform::ctl::ctlParamHelp>("ctlParamHelp1");
}

P<ctlStatus> PageBase::PlaceStatusBar(bool cyclicRefresh, const CycleRequestHandlers& handlers) {
    com::PropertyBag design;
    design.WriteProperty("CyclicRefresh", platform::Variant::Bool(cyclicRefresh));
    auto status = Place<ctlStatus>("ctlStatus", std::nullopt, nullptr, &design);
    if (handlers.onAddDiagnose) status->OnAddDiagnoseRequests.Connect(handlers.onAddDiagnose);
    if (handlers.onAddCycle) status->OnAddCycleRequests.Connect(handlers.onAddCycle);
    if (handlers.onRemove) status->OnRemoveRequests.Connect(handlers.onRemove);
    return status;
}

P<rt::DTMContext> PageBase::GetContext() const {
    return contextProvider_ ? contextProvider_->DTMContext() : nullptr;
}

void PageBase::Trace(const std::string& member, const std::string& message, bool withContext) const {
    // Pages trace on every notice: with the trace off, nothing is built.
    if (!TraceOn()) return;
    TraceOut(std::string(traits_.className) + "-" + member, message, withContext ? GetContext() : nullptr);
}

// ---- IDtmActiveXControl ----

bool PageBase::Init(const std::string& invokeId, const std::string& functionCall, const P<com::Object>& dtm) {
    if (invokeId.empty() || !dtm) {
        Trace("IDtmActiveXControl_Init", "ReturnValue = FALSE");
        return false;
    }
    if (Initialised()) ReleaseTolerantly();
    dtm_ = dtm;
    contextProvider_ = dynamic_cast<IDtmContextProvider*>(dtm.get());
    functionCall_ = functionCall;
    m_InvokeId = invokeId;
    try {
        const bool topLevel = TopLevel();
        com::Deref(GetContext()).GuiRegistry()->RegisterGUI(
            m_InvokeId, std::dynamic_pointer_cast<rt::IPrivateGUI>(Keep()), topLevel);
        const bool childrenFirst = traits_.container && traits_.childInit == ChildInit::Before;
        if (childrenFirst) InitChildren(functionCall, dtm);
        InitControls();
        if (traits_.container && !childrenFirst) InitChildren(functionCall, dtm);
    } catch (...) {
        ReleaseTolerantly();
        throw;
    }
    Trace("IDtmActiveXControl_Init", "ReturnValue = TRUE");
    AfterInit();
    return true;
}

void PageBase::InitChildren(const std::string& functionCall, const P<com::Object>& dtm) {
    int32_t n = 1;
    for (const auto& control : Controls()) {
        P<fdt::IDtmActiveXControl> child;
        try {
            child = std::dynamic_pointer_cast<fdt::IDtmActiveXControl>(control->Object());
        } catch (...) {
        }
        if (!child) continue;
        child->Init(m_InvokeId + "." + std::to_string(n) + "$", functionCall, dtm);
        ++n;
    }
}

bool PageBase::ReleaseChildren() {
    for (const auto& control : Controls()) {
        P<fdt::IDtmActiveXControl> child;
        try {
            child = std::dynamic_pointer_cast<fdt::IDtmActiveXControl>(control->Object());
        } catch (...) {
        }
        if (child && !child->PrepareToRelease()) return false;
    }
    return true;
}

void PageBase::ReleaseTolerantly() noexcept {
    if (traits_.container) {
        for (const auto& control : Controls()) {
            try {
                if (auto child = std::dynamic_pointer_cast<fdt::IDtmActiveXControl>(control->Object()))
                    child->PrepareToRelease();
            } catch (...) {
            }
        }
    }
    try {
        if (ctlParamSite1 && ctlParamSite1->Initialised()) ctlParamSite1->ExitSite();
    } catch (...) {
    }
    UnregisterTolerantly();
}

void PageBase::UnregisterTolerantly() noexcept {
    try {
        if (const auto ctx = GetContext()) ctx->GuiRegistry()->UnregisterGUI(m_InvokeId);
    } catch (...) {
    }
    ForgetInit();
}

void PageBase::ForgetInit() noexcept {
    dtm_.reset();
    contextProvider_ = nullptr;
    functionCall_.clear();
    m_InvokeId.clear();
}

bool PageBase::PrepareToRelease() {
    if (!Initialised()) {
        Trace("IDtmActiveXControl_PrepareToRelease", "m_InvokeId not available-Return Value = TRUE", false);
        return true;
    }
    if (traits_.container && !ReleaseChildren()) return false;
    if (!ExitControls()) {
        Trace("IDtmActiveXControl_PrepareToRelease", "ExitControls failed-Return Value = FALSE", false);
        return false;
    }
    if (traits_.hideOnRelease) {
        if (const int64_t handle = hWnd()) platform::win::ShowWindow(handle, 0);
    }
    com::Deref(GetContext()).GuiRegistry()->UnregisterGUI(m_InvokeId);
    ForgetInit();
    Trace("IDtmActiveXControl_PrepareToRelease", "ExitControls successfull-Return Value = TRUE", false);
    return true;
}

// ---- IPrivateGUI ----

bool PageBase::CloseGUI() {
    if (!Initialised()) {
        Trace("IPrivateGUI_CloseGUI", "failed");
        return true;
    }
    const bool released = PrepareToRelease();
    Trace("IPrivateGUI_CloseGUI", "successful");
    return released;
}

void PageBase::LockStateChanged(bool lockState) { SetLockState(!lockState); }
void PageBase::ParameterChanged(const P<rt::IPrivateDataElement>& element) { UpdateParameterCtl(element); }
void PageBase::ParameterSetChanged() { UpdateAllParameterCtls(); }
void PageBase::ValidateParameters() { ValidateAllParameterCtls(); }

void PageBase::SetLanguage(int32_t languageId) {
    Trace("IPrivateGUI_SetLanguage", "");
    InitLanguageDependedControls(languageId);
}

// ---- template members ----

void PageBase::InitControls() {
    Trace("InitControls", "");
    auto link = std::make_shared<clsParamLink>();
    link->bOnlineMode = true;
    ConfigureLink(*link);
    const auto ctx = GetContext();
    com::Deref(ctlParamSite1).InitSite(ctx, m_InvokeId, link);
    link.reset();
    const auto& registry = com::Deref(com::Deref(ctx).GuiRegistry());
    // The page learns of the frame's lock by notice only while it is
    // registered: one coming up during the lock starts locked.
    if (registry.LockState()) SetLockState(false);
    InitLanguageDependedControls(registry.LanguageId());
    UpdateAllParameterCtls();
    if (ctlParamHelp1) ctlParamHelp1->Activate();
}

void PageBase::InitLanguageDependedControls(int32_t languageId) {
    Trace("InitLanguageDependedControls", "");
    if (ctlParamSite1) ctlParamSite1->SetSiteLanguage(languageId);
    SetLangCaptions(GetContext(), std::string(traits_.className) + "_",
                    std::vector<P<ui::Control>>(Controls().begin(), Controls().end()));
}

bool PageBase::ExitControls() {
    Trace("ExitControls", "");
    if (ctlParamSite1) ctlParamSite1->ExitSite();
    return true;
}

void PageBase::UpdateParameterCtl(const P<rt::IPrivateDataElement>& element) {
    com::Deref(ctlParamSite1).SiteParameterChanged(element);
}
void PageBase::UpdateAllParameterCtls() { com::Deref(ctlParamSite1).SiteParameterSetChanged(); }
void PageBase::ValidateAllParameterCtls() { com::Deref(ctlParamSite1).SiteValidateParameters(); }
void PageBase::SetLockState(bool editable) { com::Deref(ctlParamSite1).SiteLockStateChanged(editable); }

void PageBase::FillHeadline(ctlHeadline& headline) const {
    const auto ctx = GetContext();
    const std::string deviceName = com::CStr(com::Deref(com::Deref(ctx).DeviceType()).DeviceTypeName());
    const auto& params = com::Deref(ctx->Parameters());
    headline.Title(deviceName);
    headline.DTMTag(com::CStr(params.Item("~/Tag")->TransientValue()));
    const bool first = com::CStr(params.Item("~/RXD214")->TransientValue()) == deviceName;
    headline.DeviceIcon(first ? "RXD214" : "RXD218");
}

std::string PageBase::KeyText(const std::string& key) const {
    const auto text = com::Deref(com::Deref(GetContext()).Dictionary()).LookupText("keys", key, "text");
    return text.IsEmpty() ? "" : com::CStr(text);
}

// ---- control events ----

void PageBase::EnterFocus() {
    if (!Initialised()) return;
    com::Deref(GetContext()).GuiRegistry()->GUIGotFocus(m_InvokeId);
    if (traits_.showHandler) Show();
}

void PageBase::ExitFocus() {
    if (Initialised()) com::Deref(GetContext()).GuiRegistry()->GUILostFocus(m_InvokeId);
}

void PageBase::Show() {
    if (!traits_.showHandler) return;
    if (ShowPending()) {
        Refresh();
        ShowPending();
    }
}

void PageBase::AmbientChanged(const std::string& name) {
    if (Initialised() && name == "LocaleID") InitLanguageDependedControls(PrimaryLangId(Ambient().LocaleID));
}

void PageBase::Terminate() noexcept {
    Trace("UserControl_Terminate", "", false);
    if (!Initialised()) return;
    UnregisterTolerantly();
}

void PageBase::Describe(ui::Description& d) const {
    UserControl::Describe(d);
    d.kind = "page";
    if (Initialised()) d.Attr("id=" + m_InvokeId);
    d.Attr(TopLevel() || (!Initialised() && !traits_.alwaysChild && !Parent()) ? "top" : "child");
    d.Attr(Initialised() ? "init" : "released");
    d.members.emplace_back("page", "{\"invokeId\": " + ui::JsonString(m_InvokeId) +
                                       ", \"topLevel\": " + (TopLevel() ? "true" : "false") +
                                       ", \"initialised\": " + (Initialised() ? "true" : "false") + "}");
}

}  // namespace dtm

#include "pages/measurement/ctlArchive.h"

#include "core/dtm/DTMState.h"
#include "core/services/HelpFile.h"
#include "model/elements/clsDataElement.h"
#include "model/elements/clsDataModel.h"
#include "model/elements/clsPROFIBUSProfil3Units.h"
#include "pages/framework/clsParamLink.h"
#include "pages/measurement/MeasuredVariables.h"
#include "platform/com/Error.h"
#include "platform/com/PropertyBag.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/Parameters.h"

namespace dtm {

namespace ui = platform::ui;
namespace com = platform::com;
namespace rt = platform::rt;
namespace archive = platform::archive;
using platform::P;
using platform::Variant;

namespace {

// Every curve's range before the control adapts it.
constexpr double kRangeUpper = 100000.0, kRangeLower = -100000.0;

P<archive::ArchiveCurve> CurveOf(const Variant& item) {
    return std::dynamic_pointer_cast<archive::ArchiveCurve>(item.ObjRef());
}

clsDataElement& ElementAt(const rt::Parameters& params, const std::string& path) {
    return com::Deref(std::dynamic_pointer_cast<clsDataElement>(params.Item(path)));
}

}  // namespace

ctlArchive::ctlArchive()
    : PageBase(PageTraits{.className = "ctlArchive", .container = true, .childInit = ChildInit::After,
                          .showHandler = false}) {}

void ctlArchive::BuildForm() {
    HelpButton = Place<ui::CommandButton>("HelpButton");
    HelpButton->Move(10200, 8400, 1200, 375);
    HelpButton->Click.Connect([this] { HelpButton_Click(); });
    com::PropertyBag statusDesign;
    statusDesign.WriteProperty("CyclicRefresh", Variant::Bool(false));
    ctlStatus = Place<dtm::ctlStatus>("ctlStatus", std::nullopt, nullptr, &statusDesign);
    ctlStatus->Move(0, 8850, 12000, 375);
    com::PropertyBag archiveDesign;
    archiveDesign.WriteProperty("curvecount", Variant::Int(8));
    archiveDesign.WriteProperty("minheight", Variant::Sng(6675));
    archiveDesign.WriteProperty("minwidth", Variant::Sng(9135));
    archiveDesign.WriteProperty("updateactranges", Variant::Bool(true));
    archiveDesign.WriteProperty("propcolwidth", Variant::Lng(2300));
    ctlDTMArchive = Place<archive::ctlDTMArchive>("ctlDTMArchive", std::nullopt, nullptr, &archiveDesign);
    ctlDTMArchive->Move(120, 1020, 11760, 7260);
    ctlParamHelp1 = Place<platform::ctl::ctlParamHelp>("ctlParamHelp1");
    ctlHeadline = Place<dtm::ctlHeadline>("ctlHeadline");
    ctlHeadline->Move(0, 0, 12000, 900);
    ctlParamSite1 = Place<platform::ctl::ctlParamSite>("ctlParamSite1");
}

void ctlArchive::Initialize() { m_Resize.reset(); }

void ctlArchive::Resize() {
    if (!m_Resize) {
        m_Resize = std::make_unique<clsCtlResize>();
        m_Resize->Add(*this, *ctlDTMArchive);
        m_Resize->Add(*this, *ctlHeadline);
        return;
    }
    m_Resize->Resize(*this, *ctlDTMArchive, crmBoth);
    m_Resize->Resize(*this, *ctlHeadline, crmWidth);
}

void ctlArchive::InitControls() {
    Trace("InitControls", "");
    InitArchive();
    const auto ctx = GetContext();
    auto link = std::make_shared<clsParamLink>();
    link->bOnlineMode = true;
    std::string invokeId = InvokeId();
    com::Deref(ctlParamSite1).InitSite(ctx, invokeId, link);
    const auto& registry = com::Deref(com::Deref(ctx).GuiRegistry());
    SetLockState(!registry.LockState());
    InitLanguageDependedControls(registry.LanguageId());
    UpdateAllParameterCtls();
    ctlParamHelp1->Activate();
    ctlDTMArchive->ArchiveCtlReady();
}

void ctlArchive::InitArchive() {
    Trace("InitArchive", "");
    const auto ctx = GetContext();
    const auto& params = com::Deref(com::Deref(ctx).Parameters());
    auto archive = com::Deref(std::dynamic_pointer_cast<DTMState>(com::Deref(ctx).StateObject())).Archive;
    auto& mask = com::Deref(archive);
    const bool setUp = mask.CheckCurveEnabled() == archive::Archive::kMaskNotSet;
    if (setUp) mask.CheckCurveEnabled(0);
    try {
        const int16_t n = ctlDTMArchive->CurveCount();
        auto curves = std::make_shared<com::Collection>();
        for (int16_t i = 1; i <= n; ++i) {
            auto curve = std::make_shared<archive::ArchiveCurve>();
            if (i <= static_cast<int16_t>(kMeasuredVariables.size())) {
                const MeasuredVariable& variable = kMeasuredVariables[static_cast<size_t>(i - 1)];
                curve->ValueElement(params.Item(variable.value));
                curve->CurveNumber(i - 1);
                curve->CurveEnabled(true);
                curve->SetCurveRange(kRangeUpper, kRangeLower, 0, 0);
                curve->HiLimitElement(params.Item(variable.hiLimit));
                curve->LoLimitElement(params.Item(variable.loLimit));
                curve->RecordElements()->AddRecord(params.Item(variable.record), "");
            }
            // Curves beyond the eight variables have no element and are dropped.
            if (!curve->ValueElement()) continue;
            const std::string name = curve->ValueElement()->Name();
            curve->CurveFormat(ElementAt(params, name).ValueFormat);
            curve->CurveIndex(static_cast<int16_t>(i - 1));
            if (setUp && curve->CurveEnabled()) mask.CheckCurveEnabled((1 << (i - 1)) | mask.CheckCurveEnabled());
            curves->Add(Variant::Obj(curve), name);
        }
        ctlDTMArchive->SwitchA(false);
        ctlDTMArchive->SwitchB(false);
        ctlDTMArchive->UnitNames([weak = std::weak_ptr<rt::DTMContext>(ctx)](int16_t code) {
            const auto context = weak.lock();
            return context ? UnitsOf(context).PROFIBUSProfil3UnitString(code) : std::string();
        });
        ctlDTMArchive->InitArchiveCtl(ctx, curves, archive);
    } catch (...) {
        // A mask taken for setting up is set up again at the next opening.
        if (setUp) mask.CheckCurveEnabled(archive::Archive::kMaskNotSet);
        throw;
    }
}

void ctlArchive::UpdateCurves(const P<rt::IPrivateDataElement>& pda) {
    Trace("UpdateCurves", "");
    const auto curves = ctlDTMArchive->GetCurves();
    if (!curves) return;
    const auto ctx = GetContext();
    const auto& params = com::Deref(com::Deref(ctx).Parameters());
    for (const auto& item : *curves) {
        auto& curve = com::Deref(CurveOf(item));
        const auto element = params.Item(com::Deref(curve.ValueElement()).Name());
        if (pda && element != pda) continue;
        const auto& el = com::Deref(std::dynamic_pointer_cast<clsDataElement>(element));
        curve.CurveLabel(el.Label);
        curve.CurveUnit(el.UnitString(ctx));
    }
}

void ctlArchive::InitLanguageDependedControls(int32_t languageId) {
    PageBase::InitLanguageDependedControls(languageId);
    FillHeadline(*ctlHeadline);
    UpdateCurves();
    ctlDTMArchive->SetArchiveLanguage(languageId);
    HelpButton->Caption(KeyText("help_button_text"));
}

void ctlArchive::UpdateParameterCtl(const P<rt::IPrivateDataElement>& element) {
    PageBase::UpdateParameterCtl(element);
    UpdateCurves(element);
    ctlDTMArchive->ArchiveParameterChanged(element);
}

void ctlArchive::UpdateAllParameterCtls() {
    PageBase::UpdateAllParameterCtls();
    UpdateCurves();
    ctlDTMArchive->ArchiveParameterSetChanged();
}

void ctlArchive::SetLockState(bool editable) {
    PageBase::SetLockState(editable);
    ctlDTMArchive->ArchiveLockStateChanged(editable);
}

bool ctlArchive::ExitControls() {
    Trace("ExitControls", "");
    ctlDTMArchive->ExitArchiveCtl();
    com::Deref(ctlParamSite1).ExitSite();
    return true;
}

void ctlArchive::HelpButton_Click() {
    ShowHelpFile(GetContext(), hWnd());
    Trace("HelpButton_Click", "");
}

}  // namespace dtm

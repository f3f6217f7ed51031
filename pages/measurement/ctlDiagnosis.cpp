#include "pages/measurement/ctlDiagnosis.h"

#include "blocks/DataModel_P3_FB_AI.h"
#include "blocks/DataModel_P3_FB_TOT.h"
#include "blocks/DataModel_P3_TB_Coriolis.h"
#include "model/elements/LanguageHelpers.h"
#include "model/elements/clsDataElement.h"
#include "pages/framework/ConfirmedGroupWrite.h"
#include "pages/framework/CycleReads.h"
#include "pages/parameterisation/FormTable.h"
#include "pages/parameterisation/TabPages.h"
#include "platform/com/Error.h"
#include "platform/com/VbText.h"
#include "platform/ctl/ctlParameter.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/Parameters.h"

namespace dtm {

namespace ui = platform::ui;
namespace com = platform::com;
namespace rt = platform::rt;
namespace vb = platform::com::vb;
using platform::P;
using platform::Variant;

namespace {

constexpr const char* kOverview = "frmDiagOverview";
constexpr const char* kDetails = "frmDiagDetails";
constexpr const char* kInfo = "frmDiagBlockInfo";
constexpr int16_t kLabel = 2400, kUnit = 700;

constexpr FormLine kTemplate[] = {HelpPane(), Site()};
// The design tabs, replaced by the dictionary's list before the page is shown.
constexpr FormLine kTabs[] = {Tabs("frmDiagOverview,frmDiagDetails,frmDiagBlockInfo,frmDiagBlock")};

// ControlType 4 rows show their value as a bit field; the others are plain.
constexpr int16_t kBitFieldRows[] = {52, 15, 16, 13};

constexpr FormLine kOverviewRows[] = {
    Frame(kOverview),
    Row(kOverview, 2, "PHYS/TAG_DESC", kLabel, kUnit, false, true),
    Row(kOverview, 3, "PHYS/DEVICE_MAN_ID", kLabel, kUnit),
    Row(kOverview, 4, "PHYS/DEVICE_ID", kLabel, kUnit),
    Row(kOverview, 5, "PHYS/DEVICE_SER_NUM", kLabel, kUnit),
    Row(kOverview, 6, "PHYS/SOFTWARE_REVISION", kLabel, kUnit),
    Row(kOverview, 7, "PHYS/HARDWARE_REVISION", kLabel, kUnit),
    Row(kOverview, 11, "PHYS/DEVICE_INSTAL_DATE", kLabel, kUnit, false, true),
    Row(kOverview, 12, "PHYS/MANU/ACCESS_RIGHTS", kLabel, kUnit),
    Row(kOverview, 14, "TRANS/1/FlowCori/MANU/_system_state", kLabel, kUnit),
    Row(kOverview, 0, "TRANS/1/FlowCori/MANU/_transducer_type", kLabel, kUnit),
    Row(kOverview, 52, "PHYS/DIAGNOSIS", kLabel, kUnit),
    Row(kOverview, 53, "PHYS/OPERATION_TIME", kLabel, kUnit),
};

constexpr FormLine kDetailRows[] = {
    Frame(kDetails),
    Row(kDetails, 15, "PHYS/MANU/DIAGNOSIS_EXTENSION/Diagnosis_Extension_Rxd", kLabel, kUnit),
    Row(kDetails, 16, "PHYS/MANU/DIAGNOSIS_EXTENSION/Diagnosis_Extension_Profibus", kLabel, kUnit),
    Row(kDetails, 13, "TRANS/1/FlowCori/MANU/_converter_status", kLabel, kUnit),
    Row(kDetails, 10, "PHYS/MANU/EEPROM_WRITE_CYCLES", kLabel, kUnit),
};

// The block table: one line per block, the cells TAG_DESC (locked), ST_REV,
// MODE_BLK/Actual and, for AI blocks, SIMULATE/Enabled (locked).
constexpr FormLine kInfoRows[] = {
    Row(kInfo, 1, "PHYS/TAG_DESC", 0, 0, false, true),
    Row(kInfo, 17, "PHYS/ST_REV", 0, 0),
    Row(kInfo, 18, "PHYS/MODE_BLK/Actual", 0, 0),
    Row(kInfo, 19, "TRANS/1/FlowCori/TAG_DESC", 0, 0, false, true),
    Row(kInfo, 20, "TRANS/1/FlowCori/ST_REV", 0, 0),
    Row(kInfo, 21, "TRANS/1/FlowCori/MODE_BLK/Actual", 0, 0),
    Row(kInfo, 22, "FUNC/1/AI/TAG_DESC", 0, 0, false, true),
    Row(kInfo, 23, "FUNC/1/AI/ST_REV", 0, 0),
    Row(kInfo, 24, "FUNC/1/AI/MODE_BLK/Actual", 0, 0),
    Row(kInfo, 31, "FUNC/1/AI/SIMULATE/Enabled", 0, 0, false, true),
    Row(kInfo, 25, "FUNC/2/AI/TAG_DESC", 0, 0, false, true),
    Row(kInfo, 26, "FUNC/2/AI/ST_REV", 0, 0),
    Row(kInfo, 27, "FUNC/2/AI/MODE_BLK/Actual", 0, 0),
    Row(kInfo, 32, "FUNC/2/AI/SIMULATE/Enabled", 0, 0, false, true),
    Row(kInfo, 28, "FUNC/3/AI/TAG_DESC", 0, 0, false, true),
    Row(kInfo, 29, "FUNC/3/AI/ST_REV", 0, 0),
    Row(kInfo, 30, "FUNC/3/AI/MODE_BLK/Actual", 0, 0),
    Row(kInfo, 33, "FUNC/3/AI/SIMULATE/Enabled", 0, 0, false, true),
    Row(kInfo, 46, "FUNC/4/TOT/TAG_DESC", 0, 0, false, true),
    Row(kInfo, 47, "FUNC/4/TOT/ST_REV", 0, 0),
    Row(kInfo, 48, "FUNC/4/TOT/MODE_BLK/Actual", 0, 0),
    Row(kInfo, 34, "FUNC/5/AI/TAG_DESC", 0, 0, false, true),
    Row(kInfo, 35, "FUNC/5/AI/ST_REV", 0, 0),
    Row(kInfo, 36, "FUNC/5/AI/MODE_BLK/Actual", 0, 0),
    Row(kInfo, 43, "FUNC/5/AI/SIMULATE/Enabled", 0, 0, false, true),
    Row(kInfo, 37, "FUNC/6/AI/TAG_DESC", 0, 0, false, true),
    Row(kInfo, 38, "FUNC/6/AI/ST_REV", 0, 0),
    Row(kInfo, 39, "FUNC/6/AI/MODE_BLK/Actual", 0, 0),
    Row(kInfo, 44, "FUNC/6/AI/SIMULATE/Enabled", 0, 0, false, true),
    Row(kInfo, 40, "FUNC/7/AI/TAG_DESC", 0, 0, false, true),
    Row(kInfo, 41, "FUNC/7/AI/ST_REV", 0, 0),
    Row(kInfo, 42, "FUNC/7/AI/MODE_BLK/Actual", 0, 0),
    Row(kInfo, 45, "FUNC/7/AI/SIMULATE/Enabled", 0, 0, false, true),
    Row(kInfo, 49, "FUNC/8/TOT/TAG_DESC", 0, 0, false, true),
    Row(kInfo, 50, "FUNC/8/TOT/ST_REV", 0, 0),
    Row(kInfo, 51, "FUNC/8/TOT/MODE_BLK/Actual", 0, 0),
};

// The line labels of the block table; the function blocks 5 to 8 exist only
// under the manufacturer's ident number.
constexpr const char* kBlockLabels[] = {"lblPhys", "lblTrans", "lblAI1", "lblAI2",  "lblAI3",
                                        "lblTOT4", "lblAI5",   "lblAI6", "lblAI7", "lblTOT8"};
constexpr const char* kManufacturerLabels[] = {"lblAI5", "lblAI6", "lblAI7", "lblTOT8"};
constexpr const char* kHeadingLabels[] = {"lblBlock", "lblTAG", "lblST_REV", "lblMode", "lblSim"};

// Derived from what the cycle reads, so marked as live values while it runs.
constexpr const char* kDynamicPaths[] = {"PHYS/MANU/DIAGNOSIS_EXTENSION/Diagnosis_Extension_Rxd",
                                         "PHYS/MANU/DIAGNOSIS_EXTENSION/Diagnosis_Extension_Profibus",
                                         "PHYS/OPERATION_TIME"};

bool IsTotaliser(int16_t n) { return n == 4 || n == 8; }

std::string FunctionBlockPrefix(int16_t n) { return IsTotaliser(n) ? GetTOTBlockPrefix(n) : GetAIBlockPrefix(n); }

// The block's path prefix with its last "/" ("" for no block).
std::string BlockPrefixOf(int32_t kind, int16_t n) {
    switch (kind) {
        case pbfPhysicalBlock: return "PHYS/";
        case pbfTransducerBlock: return GetTBBlockPrefix(n);
        case pbfFunctionAIBlock: return GetAIBlockPrefix(n);
        case pbfFunctionTOTBlock: return GetTOTBlockPrefix(n);
        default: return "";
    }
}

std::vector<std::string> OverviewReads() {
    const std::string tb = GetTBBlockPrefix(1);
    return {"PHYS/TAG_DESC",          "PHYS/DEVICE_MAN_ID",        "PHYS/DEVICE_ID",          "PHYS/DEVICE_SER_NUM",
            "PHYS/SOFTWARE_REVISION", "PHYS/HARDWARE_REVISION",    "PHYS/DEVICE_INSTAL_DATE", "PHYS/MANU/OPERATION_HOUR/",
            "PHYS/MANU/ACCESS_RIGHTS", "PHYS/DIAGNOSIS",           tb + "MANU/_transducer_type", tb + "MANU/_system_state"};
}

std::vector<std::string> DetailReads() {
    return {"PHYS/MANU/EEPROM_WRITE_CYCLES", "PHYS/DIAGNOSIS_EXTENSION", GetTBBlockPrefix(1) + "MANU/_converter_status"};
}

// Tag, static revision and mode of every block, and the simulation of every AI block.
std::vector<std::string> BlockTableReads() {
    std::vector<std::string> paths;
    const auto add = [&](const std::string& prefix, bool ai) {
        for (const char* member : {"TAG_DESC", "ST_REV", "MODE_BLK/"}) paths.push_back(prefix + member);
        if (ai) paths.push_back(prefix + "SIMULATE/");
    };
    add("PHYS/", false);
    add(GetTBBlockPrefix(1), false);
    for (int16_t n = 1; n <= 8; ++n) add(FunctionBlockPrefix(n), !IsTotaliser(n));
    return paths;
}

}  // namespace

ctlDiagnosis::ctlDiagnosis()
    : BlockTabPage(PageTraits{.className = "ctlDiagnosis", .container = true, .childInit = ChildInit::Before}),
      marks_(kDynamicPaths) {}

void ctlDiagnosis::BuildForm() {
    PlaceHelpButton();
    ctlStatus = PlaceStatusBar(true, {[this](rt::TransGrp& g) { ctlStatus_OnAddDiagnoseRequests(g); },
                                      [this](rt::TransGrp& g) { ctlStatus_OnAddCycleRequests(g); },
                                      [this](rt::TransGrp& g) { ctlStatus_OnRemoveRequests(g); }});
    PlaceForm(*this, kTemplate);

    PlaceForm(*this, kOverviewRows);
    frmDiagOverview = std::dynamic_pointer_cast<ui::Frame>(Controls().Item(kOverview));
    PlaceForm(*this, kDetailRows);
    frmDiagDetails = std::dynamic_pointer_cast<ui::Frame>(Controls().Item(kDetails));
    cmdQuitErr = Place<ui::CommandButton>("cmdQuitErr", std::nullopt, frmDiagDetails.get());
    cmdQuitErr->Click.Connect([this] { cmdQuitErr_Click(); });
    for (const int16_t index : kBitFieldRows)
        std::dynamic_pointer_cast<platform::ctl::ctlParameter>(Controls().Item("ctlParameter", index))
            ->ControlType(platform::ctl::kRowBitList);

    frmDiagBlockInfo = Place<ui::Frame>(kInfo);
    for (const char* label : kHeadingLabels) Place<ui::Label>(label, std::nullopt, frmDiagBlockInfo.get());
    for (const char* label : kBlockLabels) Place<ui::Label>(label, std::nullopt, frmDiagBlockInfo.get());
    Place<ui::Line>("Line1", std::nullopt, frmDiagBlockInfo.get());
    PlaceForm(*this, kInfoRows);

    ctlDiagBlock = Place<dtm::ctlDiagBlock>("ctlDiagBlock");
    PlaceForm(*this, kTabs);
    TabStrip = PageTabStrip(*this);
    AttachBlockTabs();
    ctlHeadline = Place<dtm::ctlHeadline>("ctlHeadline");
    ctlHeadline->Move(0, 0, 9000, 900);
}

void ctlDiagnosis::InitControls() {
    BlockTabPage::InitControls();
    m_TransGrp = std::make_shared<rt::TransGrp>();
    m_TransGrp->InitGroup(GetContext());
}

void ctlDiagnosis::InitLanguageDependedControls(int32_t languageId) {
    NavigablePage::InitLanguageDependedControls(languageId);
    FillHeadline(*ctlHeadline);
    Trace("TabStrip_Captions", "");
    tabs_->Captions();
    // The block page's frame carries the selected block tab's caption.
    if (ResolveTab(tabs_->SelectedKey()).kind != pbfNoneBlock)
        ctlDiagBlock->UpdateControl(TabStrip->SelectedItem()->Caption(), -1);
    BlockInfo_SetLanguage();
    HelpButton->Caption(KeyText("help_button_text"));
}

bool ctlDiagnosis::ExitControls() {
    NavigablePage::ExitControls();
    writer_.PageClosed(*this);
    if (m_TransGrp) m_TransGrp->ReleaseGroup();
    tabs_->Stop();
    return true;
}

void ctlDiagnosis::UpdateAllParameterCtls() {
    BlockTabPage::UpdateAllParameterCtls();
    ResetRowControlType(kInfo);
}

void ctlDiagnosis::UpdateParameterCtl(const P<rt::IPrivateDataElement>& element) {
    BlockTabPage::UpdateParameterCtl(element);
    const auto el = std::dynamic_pointer_cast<clsDataElement>(element);
    if (!el) return;
    if (el->Name == BlockTabStrip::kSelectorPath) {
        const bool manufacturer = com::CInt(el->TransientValue) != 0;
        for (const char* label : kManufacturerLabels) Controls().Item(label)->Visible(manufacturer);
        return;
    }
    const int16_t n = el->BlockNumber;
    const bool ai = el->Name == GetAIBlockPrefix(n) + "CHANNEL";
    if (!ai && el->Name != GetTOTBlockPrefix(n) + "CHANNEL") return;
    const std::string key = std::string(ai ? "ctlDiagBlockAI" : "ctlDiagBlockTOT") + std::to_string(n);
    if (tabs_->SelectedKey() == key) ctlDiagBlock->UpdateControl(TabStrip->SelectedItem()->Caption(), -1);
}

ctlDiagnosis::TabTarget ctlDiagnosis::ResolveTab(const std::string& key) const {
    const TabKey split = BlockTabStrip::SplitKey(key);
    TabTarget target;
    target.n = split.n;
    for (const auto& control : Controls()) {
        if (split.view.find(control->Name) == std::string::npos) continue;
        target.control = control->Name;
        target.kind = tabs_->ViewKind(split.view);
        break;
    }
    return target;
}

void ctlDiagnosis::TabStrip_Click() {
    Trace("TabStrip_Click", "");
    const std::string selected = tabs_->SelectedKey();
    for (const auto& tab : TabStrip->Tabs()) {
        const TabTarget target = ResolveTab(tab->Key());
        if (target.control.empty()) continue;
        SetControlVisible(target.control, vb::Left(selected, vb::Len(target.control)) == target.control);
        if (tab->Key() == selected) ShowBlockControl(target);
    }
    tabs_->Loaded();
}

void ctlDiagnosis::SetControlVisible(const std::string& name, bool visible) {
    const auto control = Controls().Item(name);
    if (control->Visible() != visible) control->Visible(visible);
}

void ctlDiagnosis::ShowBlockControl(const TabTarget& target) {
    ctlStatus->RemoveRequests();
    // Only a block page is rebound; the frames are no pages.
    const auto control = Controls().Find(target.control);
    const auto page = control ? std::dynamic_pointer_cast<dtm::ctlDiagBlock>(control->Object()) : nullptr;
    if (page) {
        page->PrepareToRelease();
        page->BlockIndex = target.n;
        std::string prefix = BlockPrefixOf(target.kind, target.n);
        if (!prefix.empty() && prefix.back() == '/') prefix.pop_back();
        page->BlockPrefix = prefix;
        page->Init(InvokeId() + "." + target.control + std::to_string(target.n) + "$", FunctionCall(), Dtm());
        if (target.kind != pbfNoneBlock) page->UpdateControl(TabStrip->SelectedItem()->Caption(), target.kind);
    }
    ctlStatus->AddRequests();
}

void ctlDiagnosis::BlockInfo_SetLanguage() {
    Trace("BlockInfo_SetLanguage", "");
    const auto& params = com::Deref(com::Deref(GetContext()).Parameters());
    for (int16_t n = 1; n <= 8; ++n) {
        const auto label = std::dynamic_pointer_cast<ui::Label>(
            Controls().Find((IsTotaliser(n) ? "lblTOT" : "lblAI") + std::to_string(n)));
        const auto channel = std::dynamic_pointer_cast<clsDataElement>(params.Find(FunctionBlockPrefix(n) + "CHANNEL"));
        if (!label || !channel) continue;
        try {
            const std::string text = channel->GetStrValueFromIdxList(com::CLng(channel->TransientValue));
            label->Caption(vb::Replace(label->Caption(), "%d", " " + text));
        } catch (const com::ComError&) {
        }
    }
}

void ctlDiagnosis::ResetRowControlType(const std::string& frame) {
    for (const auto& control : Controls()) {
        const auto row = std::dynamic_pointer_cast<platform::ctl::ctlParameter>(control);
        if (row && row->Container() && row->Container()->Name == frame) row->ControlType(platform::ctl::kRowPlain);
    }
}

void ctlDiagnosis::ctlStatus_OnAddDiagnoseRequests(rt::TransGrp& group) {
    Trace("ctlStatus_OnAddDiagnoseRequests", "");
    AddCycleRead(GetContext(), group, ctlStatus::kDiagnosisPath);
}

void ctlDiagnosis::ctlStatus_OnAddCycleRequests(rt::TransGrp& group) {
    Trace("ctlStatus_OnAddCycleRequests", "");
    const TabTarget target = ResolveTab(tabs_->SelectedKey());
    std::vector<std::string> paths;
    if (target.control == kOverview) {
        paths = OverviewReads();
    } else if (target.control == kDetails) {
        paths = DetailReads();
    } else if (target.kind == pbfNoneBlock) {
        if (!target.control.empty()) paths = BlockTableReads();
    } else if (target.kind <= pbfTransducerBlock || tabs_->KindOf(target.n) != pbfNoneBlock) {
        // A function block tab whose block the instance does not have reads nothing.
        const std::string prefix = BlockPrefixOf(target.kind, target.n);
        for (const char* member : {"BLK_OBJ/", "ST_REV", "MODE_BLK/", "CHANNEL"}) paths.push_back(prefix + member);
    }
    const auto ctx = GetContext();
    AddCycleReads(ctx, group, paths);
    marks_.Hold(ctx);
}

void ctlDiagnosis::ctlStatus_OnRemoveRequests(rt::TransGrp&) {
    Trace("ctlStatus_OnRemoveRequests", "");
    marks_.Release(GetContext());
}

void ctlDiagnosis::cmdQuitErr_Click() {
    Trace("cmdQuitErr_Click", "");
    auto& resets = com::Deref(std::dynamic_pointer_cast<clsDataElement>(
        com::Deref(com::Deref(GetContext()).Parameters()).Item(kResetsPath)));
    const Variant previous = resets.TransientValue;
    resets.TransientValue = Variant::Int(kAcknowledgeError);
    TransferRXD(previous);
}

void ctlDiagnosis::TransferRXD(const Variant& previous) {
    const auto& params = com::Deref(com::Deref(GetContext()).Parameters());
    const auto resets = params.Item(kResetsPath);
    GroupWriteRequest request;
    request.promptKey = "acknowledge_reset";
    request.arg1 = GetValueListText(com::Deref(std::dynamic_pointer_cast<clsDataElement>(resets)));
    request.write = resets;
    request.previous = previous;
    request.reads = {params.Item(kConverterStatusPath)};
    request.traceMember = "TransferRXD";
    request.traceConfirmed = "";
    request.traceNotTaken = "Command not taken";
    request.sayNotTaken = true;
    writer_.Write(*this, com::Deref(m_TransGrp), request);
}

void ctlDiagnosis::OnProcessFinished(const std::string& invokeId, const Variant&) {
    if (m_TransGrp) writer_.Finished(*this, *m_TransGrp, invokeId);
}

void ctlDiagnosis::HelpButton_Click() {
    BlockTabPage::HelpButton_Click();
    Trace("HelpButton_Click", "");
}

}  // namespace dtm

#include "pages/service/ctlReset.h"

#include "model/elements/LanguageHelpers.h"
#include "model/elements/clsDataElement.h"
#include "pages/framework/ConfirmedGroupWrite.h"
#include "pages/framework/MarkedUpload.h"
#include "pages/parameterisation/FormTable.h"
#include "pages/parameterisation/TabPages.h"
#include "pages/service/ExecuteDeviceReset.h"
#include "platform/com/Error.h"
#include "platform/ctl/ctlParameter.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/Parameters.h"

namespace dtm {

namespace ui = platform::ui;
namespace com = platform::com;
namespace rt = platform::rt;
using platform::Variant;

namespace {

constexpr int32_t kResetUserLevel = 2;

constexpr FormLine kTabsAndPhysicalFrame[] = {Tabs("frmCMReset,frmRXDReset"), Frame("frmCMReset")};
constexpr FormLine kPhysicalRows[] = {
    Row("frmCMReset", 0, "PHYS/DIAGNOSIS", -38, 0),
    Row("frmCMReset", 3, "PHYS/MANU/DIAGNOSIS_EXTENSION/Diagnosis_Extension_Profibus", -38, 0),
};
constexpr FormLine kConverterFrame[] = {Frame("frmRXDReset")};
constexpr FormLine kConverterRows[] = {Row("frmRXDReset", 5, ctlReset::kConverterStatusPath, -40, 0)};
constexpr FormLine kTemplate[] = {HelpPane(), Site()};

constexpr const char* kPhysicalReads[] = {"PHYS/DIAGNOSIS", "PHYS/DIAGNOSIS_EXTENSION", kFactoryResetPath};
constexpr const char* kConverterReads[] = {ctlReset::kConverterStatusPath, ctlReset::kResetsPath};

clsDataElement& ElementOf(const rt::Parameters& params, const std::string& path) {
    return com::Deref(std::dynamic_pointer_cast<clsDataElement>(params.Item(path)));
}

}  // namespace

ctlReset::ctlReset() : NavigablePage(PageTraits{.className = "ctlReset", .container = true}) {}

void ctlReset::BuildForm() {
    PlaceForm(*this, kTabsAndPhysicalFrame);
    TabStrip = PageTabStrip(*this);
    TabStrip->Click.Connect([this] { TabStrip_Click(); });
    frmCMReset = std::dynamic_pointer_cast<ui::Frame>(Controls().Item("frmCMReset"));
    const auto button = [this](const char* name, ui::Frame& frame, auto handler) {
        auto b = Place<ui::CommandButton>(name, std::nullopt, &frame);
        b->Click.Connect(handler);
        return b;
    };
    cmdFactoryReset = button("cmdFactoryReset", *frmCMReset, [this] { DeviceReset("cmdFactoryReset_Click", kFactoryReset); });
    cmdWarmStart = button("cmdWarmStart", *frmCMReset, [this] { DeviceReset("cmdWarmStart_Click", kWarmStart); });
    cmdAddrReset = button("cmdAddrReset", *frmCMReset, [this] { DeviceReset("cmdAddrReset_Click", kAddressReset); });
    Place<ui::CommandButton>("cmdRead", 1, frmCMReset.get())->Click.Connect([this] { cmdRead_Click(1); });
    PlaceForm(*this, kPhysicalRows);
    PlaceForm(*this, kConverterFrame);
    frmRXDReset = std::dynamic_pointer_cast<ui::Frame>(Controls().Item("frmRXDReset"));
    cmdQuitErr = button("cmdQuitErr", *frmRXDReset, [this] { ConverterReset("cmdQuitErr_Click", kQuitErr); });
    cmdTotReset = button("cmdTotReset", *frmRXDReset, [this] { ConverterReset("cmdTotReset_Click", kTotReset); });
    cmdInstrReset = button("cmdInstrReset", *frmRXDReset, [this] { ConverterReset("cmdInstrReset_Click", kInstrReset); });
    Place<ui::CommandButton>("cmdRead", 2, frmRXDReset.get())->Click.Connect([this] { cmdRead_Click(2); });
    PlaceForm(*this, kConverterRows);
    PlaceForm(*this, kTemplate);
    for (const int16_t index : {0, 3, 5})
        std::dynamic_pointer_cast<platform::ctl::ctlParameter>(Controls().Item("ctlParameter", index))
            ->ControlType(platform::ctl::kRowBitList);
}

void ctlReset::InitControls() {
    NavigablePage::InitControls();
    m_TransGrp = std::make_shared<rt::TransGrp>();
    m_TransGrp->InitGroup(GetContext());
    TabStrip_Click();
}

bool ctlReset::ExitControls() {
    NavigablePage::ExitControls();
    writer_.PageClosed(*this);
    if (m_TransGrp) m_TransGrp->ReleaseGroup();
    return true;
}

void ctlReset::SetLockState(bool editable) {
    NavigablePage::SetLockState(editable);
    const bool enabled = com::Deref(GetContext()).UserLevel() >= kResetUserLevel && editable;
    for (const auto& button : {cmdFactoryReset, cmdWarmStart, cmdAddrReset, cmdInstrReset, cmdTotReset, cmdQuitErr})
        button->Enabled(enabled);
}

void ctlReset::TabStrip_Click() {
    Trace("TabStrip_Click", "");
    try {
        ShowSelectedTabControl(*this, *TabStrip);
    } catch (const com::ComError&) {
        // a tab whose key names no control changes nothing
    }
}

void ctlReset::cmdRead_Click(int16_t index) {
    Trace("cmdRead_Click", "");
    if (index == 1) ReadCM();
    else if (index == 2) ReadRXD();
}

void ctlReset::ReadCM() {
    Trace("ReadCM", "");
    MarkedUpload(*this, kPhysicalReads, "ReadCM");
}

void ctlReset::ReadRXD() {
    Trace("ReadRXD", "");
    MarkedUpload(*this, kConverterReads, "ReadRXD");
}

void ctlReset::DeviceReset(const char* member, int16_t command) {
    Trace(member, "");
    const auto ctx = GetContext();
    auto& element = ElementOf(com::Deref(com::Deref(ctx).Parameters()), kFactoryResetPath);
    const Variant previous = element.TransientValue;
    element.TransientValue = Variant::Int(command);
    ExecuteDeviceReset(*this, ctx, writer_, com::Deref(m_TransGrp), previous);
}

void ctlReset::ConverterReset(const char* member, int16_t command) {
    Trace(member, "");
    auto& element = ElementOf(com::Deref(com::Deref(GetContext()).Parameters()), kResetsPath);
    const Variant previous = element.TransientValue;
    element.TransientValue = Variant::Int(command);
    TransferRXD(previous);
}

void ctlReset::TransferRXD(const Variant& previous) {
    const auto& params = com::Deref(com::Deref(GetContext()).Parameters());
    GroupWriteRequest request;
    request.promptKey = "acknowledge_reset";
    request.write = params.Item(kResetsPath);
    request.arg1 = GetValueListText(ElementOf(params, kResetsPath));
    request.previous = previous;
    request.reads = {params.Item(kConverterStatusPath)};
    request.traceMember = "TransferRXD";
    request.traceAtEntry = "";
    request.traceOpened = "OpenConnection successful";
    request.traceRefused = "Error at write status";
    request.sayNotTaken = true;
    writer_.Write(*this, com::Deref(m_TransGrp), request);
}

void ctlReset::OnProcessFinished(const std::string& invokeId, const Variant&) {
    Trace("IPrivateProcess_OnProcessFinished", "");
    if (m_TransGrp) writer_.Finished(*this, *m_TransGrp, invokeId);
}

}  // namespace dtm

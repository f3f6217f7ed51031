#include "pages/service/ctlMethodAnalysis.h"

#include <cstdio>

#include "core/services/HelpFile.h"
#include "model/elements/LanguageHelpers.h"
#include "model/elements/clsDataElement.h"
#include "platform/app/MessageBox.h"
#include "platform/app/Path.h"
#include "platform/app/Version.h"
#include "platform/com/Error.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/DtmRuntimeGlobal.h"
#include "platform/rt/Parameters.h"
#include "platform/ui/Picture.h"
#include "platform/win/Files.h"

namespace dtm {

namespace app = platform::app;
namespace ui = platform::ui;
namespace com = platform::com;
namespace rt = platform::rt;
using platform::Variant;

namespace {

constexpr int32_t kBlack = 0;
constexpr int32_t kRed = 255;
constexpr int32_t kRequiredUserLevel = 2;
constexpr int32_t kErrorStatus = 64;  // StatusFlags from here on mark an element in error
constexpr const char* kCrLf = "\r\n";
// A secret (the service code) never reaches the report.
constexpr const char* kMasked = "*********";

struct StateForm {
    bool cancel;
    int progress;
};
constexpr StateForm kStates[] = {{false, 0}, {true, 20}, {true, 40}, {false, 60}, {false, 80}, {false, 90}};

// A value in its text form; "" for one without (an array).
std::string TextOf(const Variant& value) {
    try {
        return com::CStr(value);
    } catch (const com::ComError&) {
        return "";
    }
}

std::string Hex(int32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%X", static_cast<uint32_t>(value));
    return text;
}

}  // namespace

ctlMethodAnalysis::ctlMethodAnalysis()
    : PageBase(PageTraits{.className = "ctlMethodAnalysis", .showHandler = false, .helpPane = false}) {}

ctlMethodAnalysis::~ctlMethodAnalysis() { Terminate(); }

void ctlMethodAnalysis::BuildForm() {
    ctlHeadline = Place<dtm::ctlHeadline>("ctlHeadline");
    ctlHeadline->Move(0, 0, 9000, 900);
    method_Analysis = Place<ui::Frame>("method_Analysis");
    txt_window = Place<ui::TextBox>("txt_window", std::nullopt, method_Analysis.get());
    txt_window->MultiLine(true);
    txt_window->Locked(true);
    PictureBox = Place<ui::PictureBox>("PictureBox", std::nullopt, method_Analysis.get());
    ProgBar = Place<ui::ProgressBar>("ProgBar", std::nullopt, method_Analysis.get());
    lblProgBar = Place<ui::Label>("lblProgBar", std::nullopt, method_Analysis.get());
    cmdOk = Place<ui::CommandButton>("cmdOk", std::nullopt, method_Analysis.get());
    cmdOk->Click.Connect([this] { cmdOk_Click(); });
    cmdCancel = Place<ui::CommandButton>("cmdCancel", std::nullopt, method_Analysis.get());
    cmdCancel->Click.Connect([this] { cmdCancel_Click(); });
    IconTimer = Place<ui::Timer>("IconTimer");
    IconTimer->TimerEvent.Connect([this] { IconTimer_Timer(); });
    HelpButton = Place<ui::CommandButton>("HelpButton");
    HelpButton->Click.Connect([this] { HelpButton_Click(); });
    PlaceTemplateControls();
}

bool ctlMethodAnalysis::Init(const std::string& invokeId, const std::string& functionCall,
                             const platform::P<com::Object>& dtm) {
    bool ok = false;
    try {
        ok = PageBase::Init(invokeId, functionCall, dtm);
    } catch (...) {
        MethodState(0);
        ChangeState(0);
        throw;
    }
    MethodState(0);
    ChangeState(0);
    return ok;
}

void ctlMethodAnalysis::AfterSiteInit() {
    PictureBox->BorderStyle(0);
}

void ctlMethodAnalysis::InitLanguageDependedControls(int32_t languageId) {
    Trace("InitLanguageDependedControls", "");
    com::Deref(ctlParamSite1).SetSiteLanguage(languageId);
    HelpButton->Caption(KeyText("help_button_text"));
    cmdOk->Caption(KeyText("button_Ok"));
    cmdCancel->Caption(KeyText("button_Cancel"));
    lblProgBar->Caption(KeyText("lbl_progbar"));
    method_Analysis->Caption(KeyText("method_analysis"));
    method_Analysis->ToolTipText(KeyText("method_analysis_tooltip"));
    FillHeadline(*ctlHeadline);
}

bool ctlMethodAnalysis::ExitControls() {
    if (!MayCloseGUI()) {
        if (const auto ctx = GetContext()) ctx->MsgBox(Text("err_cant_terminate_method_in_process"), app::kButtonsOKOnly);
        Trace("ExitControls", "MethodeState > 0, ReturnValue = FALSE, Method in process");
        return false;
    }
    PageBase::ExitControls();
    Trace("ExitControls", "MethodeState = 0, ReturnValue = TRUE");
    return true;
}

void ctlMethodAnalysis::Terminate() noexcept {
    if (Initialised() && m_MethodState != 0) {
        try {
            com::Deref(com::Deref(GetContext()).Parameters()).Item(kRunningPath)->TransientValue(Variant::Bool(false));
        } catch (...) {
        }
        m_MethodState = 0;
    }
    PageBase::Terminate();
}

std::string ctlMethodAnalysis::Text(const std::string& key) const { return GetContext() ? KeyText(key) : key; }

// ---- IDDMethod ----

bool ctlMethodAnalysis::SetRunningFlag() {
    const auto ctx = GetContext();
    const auto running = com::Deref(com::Deref(ctx).Parameters()).Item(kRunningPath);
    if (com::CBool(running->TransientValue())) {
        ctx->MsgBox(Text("unable_to_start_method"), app::kButtonsOKExclamation);
        return false;
    }
    running->TransientValue(Variant::Bool(true));
    return true;
}

void ctlMethodAnalysis::ResetRunningFlag() {
    if (m_MethodState <= 0) return;
    com::Deref(com::Deref(GetContext()).Parameters()).Item(kRunningPath)->TransientValue(Variant::Bool(false));
}

void ctlMethodAnalysis::ChangeState(int16_t newState) {
    Trace("IDDMethod_ChangeState", "NewState = " + std::to_string(newState));
    if (newState < 0 || newState > 5) {
        MethodState(newState);
        return;
    }
    std::string text;
    switch (newState) {
        case 0:
            ResetRunningFlag();
            text = Text("txt_analysis_state_0");
            txt_window->ForeColor(kBlack);
            ShowIcon(0);
            PictureBox->ToolTipText(Text("method_icon_tooltip_state_0"));
            IconTimer->Enabled(false);
            IconTimer->Interval(0);
            break;
        case 1:
            if (!SetRunningFlag()) {
                MethodState(0);
                return;
            }
            text = Text("txt_analysis_state_1");
            PictureBox->ToolTipText(Text("method_icon_tooltip_state_not_0"));
            IconTimer->Interval(kIconIntervalMs);
            IconTimer->Enabled(true);
            break;
        case 2: text = Text("txt_analysis_state_2") + kCrLf + platform::app::File(kReportFile); break;
        case 3: {
            const std::string header = WriteAnalysisReport();
            text = (m_ReportWritten ? Text("txt_analysis_state_3")
                                    : GetLangText(GetContext(), "txt_analysis_not_written",
                                                  Variant::Str(platform::app::File(kReportFile)))) +
                   kCrLf + header;
            break;
        }
        case 4:
            text = Text("txt_analysis_state_4") + kCrLf + kCrLf + m_ErrorReport;
            txt_window->ForeColor(kRed);
            break;
        default: text = Text("txt_analysis_state_5"); break;
    }
    const StateForm& form = kStates[newState];
    cmdOk->Enabled(true);
    cmdCancel->Enabled(form.cancel);
    txt_window->Text(text);
    ProgBar->Value(static_cast<float>(form.progress));
    MethodState(newState);
}

// ---- buttons and timer ----

void ctlMethodAnalysis::cmdOk_Click() {
    Trace("cmdOk_Click", "");
    switch (m_MethodState) {
        case 0: {
            const auto ctx = GetContext();
            if (com::Deref(ctx).UserLevel() < kRequiredUserLevel) {
                ctx->MsgBox(Text("error_user_level_too_low"), app::kButtonsOKExclamation);
                return;
            }
            ChangeState(1);
            return;
        }
        case 1: ChangeState(2); return;
        case 2: ChangeState(3); return;
        case 3: ChangeState(m_bErrorFound ? 4 : 5); return;
        case 4:
        case 5: ChangeState(0); return;
        default: return;
    }
}

void ctlMethodAnalysis::cmdCancel_Click() {
    Trace("cmdCancel_Click", "");
    if (m_MethodState == 1 || m_MethodState == 2) ChangeState(0);
}

void ctlMethodAnalysis::IconTimer_Timer() {
    if (iconCounter_ == 0) iconCounter_ = 1;
    ShowIcon(iconCounter_);
    iconCounter_ = static_cast<int16_t>(iconCounter_ == 4 ? 1 : iconCounter_ + 1);
}

void ctlMethodAnalysis::ShowIcon(int frame) {
    PictureBox->Picture(ui::LoadPicture(platform::app::File("\\Resources\\Comm" + std::to_string(frame) + ".ico")));
}

void ctlMethodAnalysis::HelpButton_Click() { ShowHelpFile(GetContext(), hWnd()); }

// ---- report ----

std::string ctlMethodAnalysis::WriteAnalysisReport() {
    const auto ctx = GetContext();
    const auto& params = com::Deref(com::Deref(ctx).Parameters());
    const auto& type = com::Deref(ctx->DeviceType());
    m_ErrorReport.clear();
    m_bErrorFound = false;

    const std::string header =
        "Device Name= " + TextOf(type.DeviceTypeName()) + kCrLf +                     //
        "Classification ID = " + TextOf(type.ClassificationId()) + kCrLf +            //
        "Device Date = " + type.DeviceDate() + kCrLf +                                //
        "Device Descriptor = " + type.DeviceDescriptor() + kCrLf +                    //
        "Device Type Id = " + TextOf(type.DeviceTypeId()) + kCrLf +                   //
        "Device Vendor = " + type.DeviceVendor() + kCrLf +                            //
        "Device Version= " + platform::app::Version() + kCrLf +                       //
        "Manufacturer Id= " + TextOf(type.ManufacturerId()) + kCrLf +                 //
        "SubDeviceType= " + TextOf(type.SubDeviceType()) + kCrLf +                    //
        "DataSetState= " + std::to_string(params.DataSetState());
    std::string report = header + kCrLf + kCrLf;

    for (const auto& item : params) {
        const auto element = std::dynamic_pointer_cast<clsDataElement>(item);
        if (!element) continue;
        const std::string& name = element->Name;
        const bool masked = element->Secret;
        const auto value = [&](const Variant& v) { return masked ? std::string(kMasked) : TextOf(v); };
        const int32_t flags = element->StatusFlags();
        std::string unit;
        try {
            unit = element->UnitString(ctx);
        } catch (const com::ComError&) {
        }
        report += "[" + name + "]" + kCrLf +                                               //
                  "InitialValue = " + value(element->InitialValue) + kCrLf +               //
                  "DeviceValue = " + value(element->DeviceValue) + kCrLf +                 //
                  "PersistentValue = " + value(element->PersistentValue) + kCrLf +         //
                  "TransientValue = " + value(element->TransientValue) + kCrLf +           //
                  "StrUnit = " + unit + kCrLf +                                            //
                  "Validity = " + (element->Validity() ? "True" : "False") + kCrLf +       //
                  "CmdErr = " + element->CmdErr + kCrLf +                                  //
                  "DeviceStatus = " + std::to_string(element->DeviceStatus) + kCrLf +      //
                  "StatusFlags = " + std::to_string(flags) + kCrLf + kCrLf + kCrLf;
        if (flags >= kErrorStatus) {
            m_bErrorFound = true;
            m_ErrorReport += "Surface Label = " + element->Label.str() + kCrLf + "Internal Name = " + name + kCrLf +
                             "Error Code = " + std::to_string(flags) + ", " + Hex(flags) + " (Hex)" + kCrLf + kCrLf;
        }
    }
    const std::string file = platform::app::File(kReportFile);
    m_ReportWritten = platform::win::WriteTextFile(file, report);
    if (!m_ReportWritten) Trace("WriteAnalysisReport", "cannot write " + file);
    return header;
}

}  // namespace dtm

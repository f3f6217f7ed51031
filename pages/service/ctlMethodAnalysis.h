#pragma once
// The method analysis (function 98): a short method the user walks through
// with OK. It checks the user's level, takes the DTM instance's busy flag
// "IsMethodRunning", writes "Analysis.txt" into the component folder (the
// device type's identity and every element of the data model, the service
// code masked) and ends with the list of the elements that carry an error
// status, in red, or a success text. It reads nothing from the device.
//
// The page cannot be closed while the method runs; a window destroyed anyway
// gives the busy flag back. A report that cannot be written is traced and the
// method goes on, showing the header under a text that names the file not
// written (a file found there is not this run's report).
#include <cstdint>
#include <string>

#include "pages/framework/PageBase.h"
#include "pages/framework/ctlHeadline.h"
#include "pages/service/IDDMethod.h"
#include "platform/ui/CaptionControls.h"
#include "platform/ui/CommonControls.h"
#include "platform/ui/IntrinsicControls.h"
#include "platform/ui/Timer.h"

namespace dtm {

class ctlMethodAnalysis : public PageBase, public IDDMethod {
public:
    static constexpr const char* kRunningPath = "IsMethodRunning";
    static constexpr const char* kReportFile = "\\Analysis.txt";
    static constexpr int32_t kIconIntervalMs = 500;

    ctlMethodAnalysis();
    ~ctlMethodAnalysis() override;

    // Init leaves the page in state 0 whether it succeeded or not.
    bool Init(const std::string& invokeId, const std::string& functionCall,
              const platform::P<platform::com::Object>& dtm) override;
    void Terminate() noexcept override;
    // The page does not close while its method runs.
    bool MayCloseGUI() const override { return m_MethodState == 0; }

    // ---- IDDMethod ----
    int16_t MethodState() const override { return m_MethodState; }
    void MethodState(int16_t state) override { m_MethodState = state < 0 ? int16_t{0} : state; }
    bool IsMethodRunning() const override { return m_MethodState >= 1; }
    void ChangeState(int16_t newState) override;
    bool SetRunningFlag() override;
    void ResetRunningFlag() override;

    // The report of the data model as it stands; answers its header.
    std::string WriteAnalysisReport();
    const std::string& ErrorReport() const { return m_ErrorReport; }
    bool ErrorFound() const { return m_bErrorFound; }

    platform::P<dtm::ctlHeadline> ctlHeadline;
    platform::P<platform::ui::Frame> method_Analysis;
    platform::P<platform::ui::TextBox> txt_window;
    platform::P<platform::ui::PictureBox> PictureBox;
    platform::P<platform::ui::ProgressBar> ProgBar;
    platform::P<platform::ui::Label> lblProgBar;
    platform::P<platform::ui::CommandButton> cmdOk, cmdCancel, HelpButton;
    platform::P<platform::ui::Timer> IconTimer;

protected:
    void BuildForm() override;
    void AfterSiteInit() override;
    void InitLanguageDependedControls(int32_t languageId) override;
    bool ExitControls() override;

private:
    void cmdOk_Click();
    void cmdCancel_Click();
    void IconTimer_Timer();
    void HelpButton_Click();
    // The dictionary text of a key; the key itself while the page has no DTM.
    std::string Text(const std::string& key) const;
    void ShowIcon(int frame);

    int16_t m_MethodState = 0;
    bool m_bErrorFound = false;
    bool m_ReportWritten = false;  // by the last WriteAnalysisReport
    std::string m_ErrorReport;
    int16_t iconCounter_ = 0;
};

}  // namespace dtm

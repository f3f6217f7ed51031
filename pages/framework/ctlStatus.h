#pragma once
// The status bar at the foot of the top-level pages: connection state, the
// cyclic refresh's check box, the device's diagnosis and the data-set state,
// in four panels. It carries the cyclic-read protocol between its ctlCycle and
// the hosting page: when the cycle starts the page gets OnAddDiagnoseRequests
// and then OnAddCycleRequests with the cycle's group, when it stops or is
// suspended OnRemoveRequests.
//
// A leaf page that is always a child: it registers with the GUI registry as
// not top-level whatever its invoke id, so that it sees every parameter change.
// With CyclicRefresh False the diagnosis and cycle panels are hidden and no
// cycle event reaches the page.
#include <cstdint>
#include <string>

#include "pages/framework/ctlCycle.h"
#include "platform/fdt/IDtmActiveXControl.h"
#include "platform/rt/IPrivateGUI.h"
#include "platform/ui/CommonControls.h"
#include "platform/ui/Signal.h"
#include "platform/ui/UserControl.h"

namespace dtm {

class ctlStatus : public platform::ui::UserControl,
                  public platform::fdt::IDtmActiveXControl,
                  public platform::rt::IPrivateGUI {
public:
    static constexpr const char* kDiagnosisPath = "PHYS/DIAGNOSIS";
    static constexpr const char* kDataStatusPath = "~/DataStatus";

    ~ctlStatus() override;
    std::string TypeName() const override { return "ctlStatus"; }

    bool CyclicRefresh();
    // A change stores the value, shows or hides the cycle panels and marks the
    // property changed; the cycle control is neither initialised nor cleared.
    void CyclicRefresh(bool on);
    // With CyclicRefresh: resume or suspend the cycle (ctlCycle).
    void AddRequests();
    void RemoveRequests();

    // ---- IDtmActiveXControl ----
    bool Init(const std::string& invokeId, const std::string& functionCall,
              const platform::P<platform::com::Object>& dtm) override;
    bool PrepareToRelease() override;
    // ---- IPrivateGUI ----
    bool CloseGUI() override;
    void LockStateChanged(bool lockState) override;
    void ParameterChanged(const platform::P<platform::rt::IPrivateDataElement>& element) override;
    void ParameterSetChanged() override;
    void ValidateParameters() override;
    void SetLanguage(int32_t languageId) override;

    const std::string& InvokeId() const { return m_InvokeId; }

    platform::ui::Signal<platform::rt::TransGrp&> OnAddCycleRequests;
    platform::ui::Signal<platform::rt::TransGrp&> OnAddDiagnoseRequests;
    platform::ui::Signal<platform::rt::TransGrp&> OnRemoveRequests;
    platform::ui::Signal<> Click;

    platform::P<platform::ui::ImageList> imgList;
    platform::P<platform::ui::StatusBar> stbar;
    platform::P<dtm::ctlCycle> ctlCycle;

    // The key of the picture a panel shows ("" when none).
    std::string PanelIcon(const std::string& panelKey) const;

    void InitProperties() override;
    void ReadProperties(const platform::com::PropertyBag& bag) override;
    void WriteProperties(platform::com::PropertyBag& bag) override;
    void Resize() override;
    void EnterFocus() override;
    void ExitFocus() override;
    void AmbientChanged(const std::string& name) override;
    void Terminate() noexcept override;

protected:
    void BuildForm() override;

private:
    platform::P<platform::rt::DTMContext> GetContext() const;
    void Trace(const std::string& member, const std::string& message, bool withContext = true) const;
    void InitControls();
    void InitLanguageDependedControls(int32_t languageId);
    bool ExitControls();
    void UpdateStatus(const platform::P<platform::rt::IPrivateDataElement>& pda);
    void UpdateAllParameterCtls();
    void InitStatusControls();
    void ShowCyclePanels();
    void InitStatusLanguage();
    void ShowConnectionAndDataStatus();
    // Forgets the registration and the DTM object.
    void Release();
    void SetPanelIcon(const char* panelKey, const char* iconKey);
    // The "keys" text of `key`, expanded; "" when the dictionary has none.
    std::string KeyText(const std::string& key) const;
    void ctlCycle_OnAddRequests(platform::rt::TransGrp& group);
    void ctlCycle_OnRemoveRequests(platform::rt::TransGrp& group);
    void ctlCycle_Click();

    platform::P<platform::com::Object> dtm_;
    std::string m_InvokeId;
    bool m_CyclicRefresh = true;
};

}  // namespace dtm

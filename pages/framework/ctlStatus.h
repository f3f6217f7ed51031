#pragma once
// The status bar at the foot of the top-level pages: connection state, the
// cyclic refresh's check box, the device's diagnosis and the data-set state,
// in four panels. It carries the cyclic-read protocol between its ctlCycle and
// the hosting page: when the cycle starts the page gets OnAddDiagnoseRequests
// and then OnAddCycleRequests with the cycle's group, when it stops or is
// suspended OnRemoveRequests.
//
// A leaf page on the page template that is always a child: it registers with
// the GUI registry as not top-level whatever its invoke id, so that it sees
// every parameter change. It has no rows, no help pane and no Show handler,
// and its release does not hide the window.
// With CyclicRefresh False the diagnosis and cycle panels are hidden and no
// cycle event reaches the page.
#include <cstdint>
#include <string>

#include "pages/framework/PageBase.h"
#include "pages/framework/ctlCycle.h"
#include "platform/ui/CommonControls.h"
#include "platform/ui/Signal.h"

namespace dtm {

class ctlStatus : public PageBase {
public:
    static constexpr const char* kDiagnosisPath = "PHYS/DIAGNOSIS";
    static constexpr const char* kDataStatusPath = "~/DataStatus";

    ctlStatus();

    bool CyclicRefresh();
    // A change stores the value, shows or hides the cycle panels and marks the
    // property changed; the cycle control is neither initialised nor cleared.
    void CyclicRefresh(bool on);
    // With CyclicRefresh: resume or suspend the cycle (ctlCycle).
    void AddRequests();
    void RemoveRequests();

    // A failed Init also clears the cycle control.
    bool Init(const std::string& invokeId, const std::string& functionCall,
              const platform::P<platform::com::Object>& dtm) override;

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

protected:
    void BuildForm() override;
    // No rows: the panels and the cycle instead of a parameter site.
    void InitControls() override;
    void InitLanguageDependedControls(int32_t languageId) override;
    bool ExitControls() override;
    void UpdateParameterCtl(const platform::P<platform::rt::IPrivateDataElement>& pda) override;
    void UpdateAllParameterCtls() override;
    void ValidateAllParameterCtls() override {}
    void SetLockState(bool) override {}

private:
    void InitStatusControls();
    void ShowCyclePanels();
    void InitStatusLanguage();
    void ShowConnectionAndDataStatus();
    void SetPanelIcon(const char* panelKey, const char* iconKey);
    // The "keys" text of `key`, expanded; "" when the dictionary has none.
    std::string ExpandedKeyText(const std::string& key) const;
    void ctlCycle_OnAddRequests(platform::rt::TransGrp& group);
    void ctlCycle_OnRemoveRequests(platform::rt::TransGrp& group);
    void ctlCycle_Click();

    bool m_CyclicRefresh = true;
};

}  // namespace dtm

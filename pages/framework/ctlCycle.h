#pragma once
// Cyclic reading while a check box is checked: the control owns one
// transaction group and a timer (4000 ms by default); each tick starts one
// asynchronous read of the whole group. When the cycle starts it raises
// OnAddRequests with the group and the host adds its read requests; when it
// stops it raises OnRemoveRequests and empties the group itself. With
// AutomateDynamicIcons the group's elements (the fields of a record request)
// count as dynamic while the cycle runs; a counter per element keeps it
// dynamic until the last cycle that reads it stops.
//
// Setting the box from code runs the same path as a user's click, nested.
// The control carries no page template: no registration, no trace lines.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "pages/framework/CycleGroup.h"
#include "platform/rt/IPrivateProcess.h"
#include "platform/ui/CaptionControls.h"
#include "platform/ui/Signal.h"
#include "platform/ui/Timer.h"
#include "platform/ui/UserControl.h"

namespace platform::rt {
class DTMContext;
class TransGrp;
}  // namespace platform::rt

namespace dtm {

enum startCycleMode : int32_t { scmStart = 0, scmStartIfConnected = 1, scmDoNotStart = 2 };

class ctlCycle : public platform::ui::UserControl, public platform::rt::IPrivateProcess {
public:
    static constexpr int32_t kDefaultInterval = 4000;
    static constexpr int32_t kOnlineChangeFlag = 0x20;  // cleared on the check-box path

    ~ctlCycle() override;
    std::string TypeName() const override { return "ctlCycle"; }

    bool AutomateDynamicIcons() const { return m_AutomateDynamicIcons; }
    void AutomateDynamicIcons(bool on);
    using UserControl::BackColor;
    // Also gives the check box the colour.
    void BackColor(int32_t colour);
    int32_t Interval() const { return tmrCycle->Interval(); }
    void Interval(int32_t ms) { tmrCycle->Interval(ms); }
    // The check box: 0 unchecked, 1 checked.
    int16_t Value() const { return chkCycle->Value(); }

    // Keeps the context, creates the group and starts the cycle by mode.
    void Init(const platform::P<platform::rt::DTMContext>& ctx, startCycleMode cycleMode);
    // The check box's caption from "ctlCycle_chkCycle"; the language id is not used.
    void SetLanguage(int32_t languageId);
    // The host ends: the box is unchecked (a running cycle stops), the group released.
    void Clear();
    // With the box checked: the host's requests again and the timer on.
    void AddRequests();
    // With the box checked: OnRemoveRequests, the group emptied, the timer off.
    void RemoveRequests();

    // The reads' ends reach the pages as change notices. A start that found
    // the group still reading runs when that read ends.
    void OnProcessProgress(const std::string&, int16_t, const platform::Variant& = platform::Variant::Missing()) override {}
    void OnProcessFinished(const std::string&, const platform::Variant& = platform::Variant::Missing()) override;

    platform::ui::Signal<platform::rt::TransGrp&> OnAddRequests;
    platform::ui::Signal<platform::rt::TransGrp&> OnRemoveRequests;
    platform::ui::Signal<> Click;

    platform::P<platform::ui::CheckBox> chkCycle;
    platform::P<platform::ui::Timer> tmrCycle;

    // The group, null before Init (for the host and tests).
    const platform::P<ICycleGroup>& CycleGroup() const { return m_TransGrp; }

    void Initialize() override;
    void InitProperties() override;
    void ReadProperties(const platform::com::PropertyBag& bag) override;
    void WriteProperties(platform::com::PropertyBag& bag) override;
    void Terminate() noexcept override;
    void Describe(platform::ui::Description& d) const override;

protected:
    void BuildForm() override;

private:
    platform::P<platform::rt::DTMContext> GetContext() const { return m_DTMContext.lock(); }
    void chkCycle_Click();
    void tmrCycle_Timer();
    // From the busy test on: requests, marks, timer, first read.
    void StartPath(bool fromCheckBox);
    void StopPath();
    void SetDynamicParams(bool dynamic);
    void ClearDynamicFlags();
    // Stops the cycle and shows the message of `key`.
    void Fail(const char* key);

    platform::W<platform::rt::DTMContext> m_DTMContext;
    platform::P<ICycleGroup> m_TransGrp;
    std::optional<std::vector<platform::rt::El>> m_DynamicRequests;
    bool m_AutomateDynamicIcons = false;
    bool suspended_ = false;  // RemoveRequests with the box checked
    // A start found the group busy (a read still running, e.g. a tab change
    // during a read): it runs when that read ends, so the box never shows a
    // checked cycle that reads nothing.
    bool startWhenIdle_ = false;
    bool startWhenIdleFromBox_ = false;
};

}  // namespace dtm

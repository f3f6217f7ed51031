#pragma once
// A container with a vertical scroll bar: a page loads controls into it by
// program id (AddControl) and the pane scrolls them as a whole when they are
// taller than the pane. Hosted controls are the pane's own controls other
// than the bar.
//
// Scrolling moves the hosted controls: a control's Top is its unscrolled Top
// minus the last scroll value. The range is measured from the unscrolled
// positions; a control added while the pane is scrolled joins at the current
// position without moving the others; the pane scrolls back to 0 before it
// hides its bar; a range or page step beyond the bar's 16 bits is clamped to
// 32767.
//
// Searches, ShowControl and GetParameters pass through the pane to the
// controls it hosts; the pane takes no pending path of its own.
#include <cstdint>
#include <string>

#include "core/dtm/IPrivateNavigation.h"
#include "platform/ui/IntrinsicControls.h"
#include "platform/ui/UserControl.h"

namespace dtm {

class ctlScrollPane : public platform::ui::UserControl, public IPrivateNavigation {
public:
    static constexpr float kMargin = 40;       // bar to the right edge, bar height to pane height
    static constexpr float kSlack = 100;       // added to the scroll range
    static constexpr float kBarWidth = 255;

    std::string TypeName() const override { return "ctlScrollPane"; }

    // Scrolls to `value` clamped into the bar's range.
    void ScrollValue(int16_t value);
    // Moves the hosted controls to scroll position `value`.
    void Scroll_controls(int32_t value);
    // Loads a control by program id under `ctlName`, gives it the content
    // width and the current scroll position, and answers it. An unknown
    // program id (429), an object that is no control (13) or a name in use
    // (457) raises; nothing is hosted then.
    platform::P<platform::ui::Control> AddControl(const std::string& ctlType, const std::string& ctlName);
    // Removes the hosted control of that name (5 when absent); the bar is not updated.
    void RemoveControl(const std::string& ctlName);

    // The scroll value last applied to the hosted controls.
    float LastScrollValue() const { return lastScroll_; }

    platform::P<platform::ui::VScrollBar> VScroll;

    // ---- IPrivateNavigation, over the hosted controls ----
    void InitControl(const platform::Variant& data) override;
    platform::P<platform::com::Collection> FindParameters(const std::string& parTag,
                                                          const std::string& ctlName) override;
    platform::P<platform::com::Collection> GetDictKeys(const std::string& ctlName) override;
    bool ShowControl(const std::string& controlPfad, const std::string& ctlName) override;
    platform::P<platform::com::Collection> GetParameters(const std::string& ctlName) override;

    void Initialize() override;
    void ReadProperties(const platform::com::PropertyBag& bag) override;
    void WriteProperties(platform::com::PropertyBag& bag) override;
    void Resize() override;
    void Show() override;

protected:
    void BuildForm() override;

private:
    float ContentWidth() const { return lastWidth_ - VScroll->Width() - kMargin; }
    // Page steps, then the bar shown with its range or hidden.
    void UpdateScrollBar();
    template <class F>
    void ForEachHosted(F&& f);

    float lastWidth_ = 0, lastHeight_ = 0, lastScroll_ = 0;
};

}  // namespace dtm

#pragma once
// Base of the headless widgets: the members every placed control has (the
// extender): name and index, parent and container, geometry, visibility,
// enabled state, tool tip, tag, window handle and focus.
//
// Visible and Enabled are the control's own flags; the effective state also
// takes its containers and the host into account. A change of the effective
// visibility raises Show / Hide on the user controls it reaches.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/com/Variant.h"
#include "platform/ui/Description.h"

namespace platform::ui {

class Host;
class UserControl;

class Control : public virtual com::Object, public std::enable_shared_from_this<Control> {
public:
    Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    ~Control() override;

    // Set at creation; the members of a control array share the name.
    std::string Name;
    std::optional<int16_t> Index;  // set for the members of a control array

    // The kind ("Label", "TabStrip", ...); a user control its class name.
    virtual std::string TypeName() const { return "Control"; }

    // The user control whose Controls hold this one; null for a top control.
    UserControl* Parent() const { return parent_; }
    // The Frame, PictureBox or user control this one sits in.
    Control* Container() const { return container_; }
    // The control itself as an object (interfaces by cast); null when not
    // owned by a shared pointer.
    P<com::Object> Object();

    float Left() const { return left_; }
    float Top() const { return top_; }
    float Width() const { return width_; }
    float Height() const { return height_; }
    void Left(float v) { Move(v, top_, width_, height_); }
    void Top(float v) { Move(left_, v, width_, height_); }
    void Width(float v) { Move(left_, top_, v, height_); }
    void Height(float v) { Move(left_, top_, width_, v); }
    void Move(float left, float top, float width, float height);
    void Move(float left, float top) { Move(left, top, width_, height_); }

    bool Visible() const { return visible_; }
    // A let to True also clears WindowHidden.
    void Visible(bool on);
    bool EffectiveVisible() const;
    bool Enabled() const { return enabled_; }
    virtual void Enabled(bool on) { enabled_ = on; }
    bool EffectiveEnabled() const;

    const std::string& ToolTipText() const { return toolTipText_; }
    void ToolTipText(std::string text) { toolTipText_ = std::move(text); }
    const std::string& Tag() const { return tag_; }
    void Tag(std::string text) { tag_ = std::move(text); }

    // A non-zero synthetic handle for windowed kinds, 0 for windowless ones.
    int64_t hWnd();
    virtual bool Windowed() const { return true; }
    // Set by win::ShowWindow(hWnd, 0), cleared by any other show command.
    bool WindowHidden() const { return windowHidden_; }
    void WindowHidden(bool hidden);

    // Whether the focus manager may give this control the focus.
    virtual bool Focusable() const { return false; }
    // Controls that hold others in a form (Frame, PictureBox, user controls).
    virtual bool IsContainer() const { return false; }
    // Through the host's focus manager; 5 unless focusable, effectively
    // visible and effectively enabled.
    void SetFocus();
    // Called by the focus manager when the focus leaves this control.
    virtual void FocusLost() {}
    // The host of the top control, or null.
    Host* HostOf() const;

    // A click of the user: False when the kind takes none.
    virtual bool UserClick() { return false; }

    // Fills the snapshot's description of this control (call the base first).
    virtual void Describe(Description& d) const;

protected:
    // After Width or Height changed.
    virtual void SizeChanged() {}
    // A shared pointer to this control, held while it raises an event.
    P<Control> Keep() { return weak_from_this().lock(); }

private:
    friend class Controls;
    friend class UserControl;
    UserControl* parent_ = nullptr;
    Control* container_ = nullptr;
    float left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    bool windowHidden_ = false;
    std::string toolTipText_, tag_;
    int64_t hWnd_ = 0;
};

// The control path relative to the top control: names joined by ".", with
// ".index" for array members ("ctlIdent.ctlParameter.5").
std::string ControlPath(const Control& control);

}  // namespace platform::ui

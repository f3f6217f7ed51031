#include "platform/ui/Control.h"

#include "platform/ui/Environment.h"
#include "platform/ui/Focus.h"
#include "platform/ui/Host.h"
#include "platform/ui/UserControl.h"

namespace platform::ui {

Control::~Control() {
    if (hWnd_ != 0) Environment::Instance().ReleaseHandle(hWnd_, *this);
}

P<com::Object> Control::Object() { return weak_from_this().lock(); }

void Control::Move(float left, float top, float width, float height) {
    const bool sized = width != width_ || height != height_;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    if (sized) SizeChanged();
}

void Control::Visible(bool on) {
    if (on == visible_ && !(on && windowHidden_)) return;
    ShowHideScope scope(*this);
    visible_ = on;
    if (on) windowHidden_ = false;
    scope.Raise();
}

void Control::WindowHidden(bool hidden) {
    if (hidden == windowHidden_) return;
    ShowHideScope scope(*this);
    windowHidden_ = hidden;
    scope.Raise();
}

bool Control::EffectiveVisible() const {
    if (!visible_ || windowHidden_) return false;
    if (container_) return container_->EffectiveVisible();
    if (parent_) return parent_->EffectiveVisible();
    const auto* self = dynamic_cast<const UserControl*>(this);
    return self && self->OwnHost() && self->OwnHost()->Shown();
}

bool Control::EffectiveEnabled() const {
    if (!enabled_) return false;
    if (container_) return container_->EffectiveEnabled();
    return parent_ ? parent_->EffectiveEnabled() : true;
}

int64_t Control::hWnd() {
    if (hWnd_ == 0 && Windowed()) hWnd_ = Environment::Instance().AllocateHandle(*this);
    return hWnd_;
}

Host* Control::HostOf() const {
    const Control* top = this;
    while (top->parent_) top = top->parent_;
    const auto* page = dynamic_cast<const UserControl*>(top);
    return page ? page->OwnHost() : nullptr;
}

void Control::SetFocus() {
    Host* host = HostOf();
    if (!host) com::Raise(com::errInvalidArgument, "The control has no host");
    host->Focus().SetFocus(*this);
}

void Control::Describe(Description& d) const {
    d.kind = TypeName();
    d.Prop("left", static_cast<double>(left_));
    d.Prop("top", static_cast<double>(top_));
    d.Prop("width", static_cast<double>(width_));
    d.Prop("height", static_cast<double>(height_));
    if (!toolTipText_.empty()) d.Prop("toolTipText", toolTipText_);
    if (!tag_.empty()) d.Prop("tag", tag_);
}

std::string ControlPath(const Control& control) {
    std::string path;
    for (const Control* c = &control; c->Parent(); c = c->Parent()) {
        std::string part = c->Name;
        if (c->Index) part += "." + std::to_string(*c->Index);
        path = path.empty() ? part : part + "." + path;
    }
    return path;
}

}  // namespace platform::ui

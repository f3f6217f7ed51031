#include "platform/ui/Focus.h"

#include <algorithm>
#include <vector>

#include "platform/ui/UserControl.h"

namespace platform::ui {

namespace {

// The user controls holding `control` (itself when it is one), innermost first.
std::vector<UserControl*> Chain(Control* control) {
    std::vector<UserControl*> chain;
    if (!control) return chain;
    if (auto* self = dynamic_cast<UserControl*>(control)) chain.push_back(self);
    for (UserControl* p = control->Parent(); p; p = p->Parent()) chain.push_back(p);
    return chain;
}

bool Holds(const std::vector<UserControl*>& chain, UserControl* u) {
    return std::find(chain.begin(), chain.end(), u) != chain.end();
}

}  // namespace

bool FocusManager::CanFocus(const Control& control) {
    return control.Focusable() && control.EffectiveVisible() && control.EffectiveEnabled();
}

Control* FocusManager::Focused() const {
    if (!focused_ || (tracked_ && focusedWeak_.expired())) return nullptr;
    return focused_;
}

void FocusManager::SetFocus(Control& control) {
    if (!CanFocus(control)) com::Raise(com::errInvalidArgument, "The control cannot take the focus");
    Control* old = Focused();
    if (old == &control) return;
    const auto keepOld = old ? old->weak_from_this().lock() : nullptr;
    const auto keepNew = control.weak_from_this().lock();
    focused_ = &control;
    focusedWeak_ = control.weak_from_this();
    tracked_ = !focusedWeak_.expired();
    const uint64_t generation = ++generation_;
    const auto left = Chain(old);
    const auto entered = Chain(&control);
    if (old) old->FocusLost();
    for (UserControl* u : left) {
        if (generation != generation_) return;
        if (!Holds(entered, u)) u->ExitFocus();
    }
    for (auto it = entered.rbegin(); it != entered.rend(); ++it) {
        if (generation != generation_) return;
        if (!Holds(left, *it)) (*it)->EnterFocus();
    }
}

void FocusManager::Forget(const Control& control) {
    for (Control* c = Focused(); c; c = c->Parent()) {
        if (c != &control) continue;
        focused_ = nullptr;
        focusedWeak_.reset();
        ++generation_;
        return;
    }
}

}  // namespace platform::ui

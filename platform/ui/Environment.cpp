#include "platform/ui/Environment.h"

#include <algorithm>

#include "platform/ui/Control.h"
#include "platform/win/Shell.h"

namespace platform::ui {

namespace {
constexpr int64_t kFirstHandle = 0x10000;
constexpr int64_t kHandleStep = 4;
constexpr int64_t kFirstPicture = 0x20000;
constexpr int32_t kSwHide = 0;
}  // namespace

Environment::Environment() : lastHandle_(kFirstHandle), lastPicture_(kFirstPicture) {
    win::SetShowWindowObserver([](int64_t handle, int32_t cmd) {
        if (Control* control = Environment::Instance().FindByHandle(handle)) control->WindowHidden(cmd == kSwHide);
    });
}

Environment& Environment::Instance() {
    static Environment environment;
    return environment;
}

int64_t Environment::AllocateHandle(Control& control) {
    lastHandle_ += kHandleStep;
    handles_[lastHandle_] = &control;
    return lastHandle_;
}

Control* Environment::FindByHandle(int64_t handle) const {
    const auto it = handles_.find(handle);
    return it == handles_.end() ? nullptr : it->second;
}

void Environment::ReleaseHandle(int64_t handle, const Control& control) {
    const auto it = handles_.find(handle);
    if (it != handles_.end() && it->second == &control) handles_.erase(it);
}

void Environment::RemoveHost(Host& host) { hosts_.erase(std::remove(hosts_.begin(), hosts_.end(), &host), hosts_.end()); }

void Environment::Reset() {
    handles_.clear();
    hosts_.clear();
    lastHandle_ = kFirstHandle;
    lastPicture_ = kFirstPicture;
}

}  // namespace platform::ui

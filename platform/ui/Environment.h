#pragma once
// The process-wide state of the widget layer: synthetic window handles and
// their controls (held weakly), the open hosts, and the ShowWindow observer
// that marks a control window-hidden by its handle.
#include <cstdint>
#include <map>
#include <vector>

#include "platform/com/Variant.h"

namespace platform::ui {

class Control;
class Host;

class Environment {
public:
    static Environment& Instance();

    // A new non-zero handle for `control`.
    int64_t AllocateHandle(Control& control);
    // The live control of a handle, or null.
    Control* FindByHandle(int64_t handle) const;
    // Forgets the handle when it still names `control`.
    void ReleaseHandle(int64_t handle, const Control& control);
    // A new non-zero picture handle.
    int64_t AllocatePictureHandle() { return ++lastPicture_; }

    void AddHost(Host& host) { hosts_.push_back(&host); }
    void RemoveHost(Host& host);
    const std::vector<Host*>& Hosts() const { return hosts_; }

    // Forgets handles and hosts and restarts the numbering.
    void Reset();

private:
    Environment();
    std::map<int64_t, Control*> handles_;  // removed by the control's destructor
    std::vector<Host*> hosts_;
    int64_t lastHandle_ = 0;
    int64_t lastPicture_ = 0;
};

}  // namespace platform::ui

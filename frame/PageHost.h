#pragma once
// One page opened by the frame: created by program id, hosted in a window of
// its own, initialised with a new invoke id, the function call and the DTM.
#include <memory>
#include <string>

#include "platform/ui/Host.h"
#include "platform/ui/Snapshot.h"
#include "platform/ui/UserControl.h"

namespace platform::com {
class ClassRegistry;
}
namespace platform::ctl {
class ctlParameter;
}

namespace dtm::frame {

class PageSession {
public:
    PageSession(platform::P<platform::ui::UserControl> page, std::string invokeId);
    const platform::P<platform::ui::UserControl>& Page() const { return page_; }
    const std::string& InvokeId() const { return invokeId_; }
    platform::ui::Host& Host() const { return *host_; }
    // The control at a control path relative to the page ("" = the page;
    // "ctlIdent.ctlParameter.5"); null when there is none.
    platform::P<platform::ui::Control> Ctl(const std::string& path) const;
    // The row at a control path, or with "@PATH" the first effectively
    // visible row bound to the element PATH (ASCII case ignored); null when
    // there is none.
    platform::P<platform::ctl::ctlParameter> Row(const std::string& path) const;
    // The snapshot of the control at `path` (text, or JSON with `json`), the
    // page's invoke id written as "<id>"; "" when there is no such control.
    std::string Snapshot(const platform::ui::SnapshotOptions& options = {}, const std::string& path = "",
                         bool json = false) const;
    // `text` with every occurrence of the invoke id written as "<id>".
    std::string MaskInvokeId(std::string text) const;
    // Hides the window and lets the page go.
    void Drop();
    bool Dropped() const { return !host_; }

private:
    platform::P<platform::ui::UserControl> page_;
    std::string invokeId_;
    std::unique_ptr<platform::ui::Host> host_;
};

// `text` with every occurrence of `invokeId` written as "<id>" (none when it is "").
std::string MaskInvokeId(std::string text, const std::string& invokeId);

// Creates the page of `progId`, initialises it and shows it through the
// frame's trap; null when it cannot be created or its Init fails (a failed
// page is dropped at once).
std::shared_ptr<PageSession> OpenPage(const platform::com::ClassRegistry& registry, const std::string& progId,
                                      const std::string& functionCall,
                                      const std::shared_ptr<platform::com::Object>& dtm);
// PrepareToRelease through the frame's trap; a released page is dropped.
bool ClosePage(PageSession& session);

}  // namespace dtm::frame

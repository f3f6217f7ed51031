#pragma once
// One page opened by the frame: created by program id, hosted in a window of
// its own, initialised with a new invoke id, the function call and the DTM.
#include <memory>
#include <string>

#include "platform/ui/Host.h"
#include "platform/ui/UserControl.h"

namespace platform::com {
class ClassRegistry;
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
    // Hides the window and lets the page go.
    void Drop();
    bool Dropped() const { return !host_; }

private:
    platform::P<platform::ui::UserControl> page_;
    std::string invokeId_;
    std::unique_ptr<platform::ui::Host> host_;
};

// Creates the page of `progId`, initialises it and shows it through the
// frame's trap; null when it cannot be created or its Init fails (a failed
// page is dropped at once).
std::shared_ptr<PageSession> OpenPage(const platform::com::ClassRegistry& registry, const std::string& progId,
                                      const std::string& functionCall,
                                      const std::shared_ptr<platform::com::Object>& dtm);
// PrepareToRelease through the frame's trap; a released page is dropped.
bool ClosePage(PageSession& session);

}  // namespace dtm::frame

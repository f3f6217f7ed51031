#include "frame/PageHost.h"

#include <charconv>
#include <optional>

#include "core/APIHelpers.h"
#include "platform/com/ClassRegistry.h"
#include "platform/fdt/Boundary.h"
#include "platform/fdt/IDtmActiveXControl.h"

namespace dtm::frame {

namespace ui = platform::ui;
namespace fdt = platform::fdt;
using platform::P;

PageSession::PageSession(P<ui::UserControl> page, std::string invokeId)
    : page_(std::move(page)), invokeId_(std::move(invokeId)), host_(std::make_unique<ui::Host>(page_)) {}

void PageSession::Drop() {
    if (!host_) return;
    host_->Drop();
    host_.reset();
}

P<ui::Control> PageSession::Ctl(const std::string& path) const {
    P<ui::Control> current = page_;
    size_t start = 0;
    while (start < path.size() && current) {
        auto* owner = dynamic_cast<ui::UserControl*>(current.get());
        if (!owner) return nullptr;
        size_t dot = path.find('.', start);
        const std::string name = path.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        start = dot == std::string::npos ? path.size() : dot + 1;
        // A following number is the array index.
        std::optional<int16_t> index;
        if (start < path.size()) {
            dot = path.find('.', start);
            const std::string next = path.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
            int16_t value = 0;
            const auto [end, ec] = std::from_chars(next.data(), next.data() + next.size(), value);
            if (ec == std::errc() && end == next.data() + next.size()) {
                index = value;
                start = dot == std::string::npos ? path.size() : dot + 1;
            }
        }
        current = owner->Controls().Find(name, index);
    }
    return current;
}

std::shared_ptr<PageSession> OpenPage(const platform::com::ClassRegistry& registry, const std::string& progId,
                                      const std::string& functionCall, const std::shared_ptr<platform::com::Object>& dtm) {
    const auto page = std::dynamic_pointer_cast<ui::UserControl>(registry.TryCreateObject(progId));
    const auto control = std::dynamic_pointer_cast<fdt::IDtmActiveXControl>(page);
    if (!page || !control) return nullptr;
    auto session = std::make_shared<PageSession>(page, GetNewGuidString(platform::Variant::Bool(false)));
    const bool ok = fdt::InvokeFromFrame(
        "page Init " + progId, [&] { return control->Init(session->InvokeId(), functionCall, dtm); }, false);
    if (!ok) {
        session->Drop();
        return nullptr;
    }
    session->Host().Show();
    return session;
}

bool ClosePage(PageSession& session) {
    const auto control = std::dynamic_pointer_cast<fdt::IDtmActiveXControl>(session.Page());
    if (!control) return false;
    const bool released =
        fdt::InvokeFromFrame("page PrepareToRelease", [&] { return control->PrepareToRelease(); }, false);
    if (released) session.Drop();
    return released;
}

}  // namespace dtm::frame

#include "frame/PageHost.h"

#include <charconv>
#include <optional>

#include "core/services/APIHelpers.h"
#include "platform/com/ClassRegistry.h"
#include "platform/fdt/Boundary.h"
#include "platform/com/VbText.h"
#include "platform/ctl/ctlParameter.h"
#include "platform/fdt/IDtmActiveXControl.h"
#include "platform/rt/IPrivateDataElement.h"

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

namespace {

// The first effectively visible row under `owner` (depth first, in
// collection order) bound to the element named `lowerPath`.
P<platform::ctl::ctlParameter> FindBoundRow(const ui::UserControl& owner, const std::string& lowerPath) {
    for (const auto& child : owner.Controls()) {
        if (auto row = std::dynamic_pointer_cast<platform::ctl::ctlParameter>(child)) {
            const auto element = row->Bound();
            if (element && row->EffectiveVisible() && platform::com::vb::LCase(element->Name()) == lowerPath)
                return row;
        } else if (auto inner = std::dynamic_pointer_cast<ui::UserControl>(child)) {
            if (auto row = FindBoundRow(*inner, lowerPath)) return row;
        }
    }
    return nullptr;
}

}  // namespace

P<platform::ctl::ctlParameter> PageSession::Row(const std::string& path) const {
    if (path.rfind('@', 0) == 0) return FindBoundRow(*page_, platform::com::vb::LCase(path.substr(1)));
    return std::dynamic_pointer_cast<platform::ctl::ctlParameter>(Ctl(path));
}

std::string PageSession::Snapshot(const ui::SnapshotOptions& options, const std::string& path, bool json) const {
    const auto control = Ctl(path);
    if (!control) return {};
    return MaskInvokeId(json ? ui::SnapshotJson(*control) : ui::Snapshot(*control, options));
}

std::string PageSession::MaskInvokeId(std::string text) const { return frame::MaskInvokeId(std::move(text), invokeId_); }

std::string MaskInvokeId(std::string text, const std::string& invokeId) {
    if (invokeId.empty()) return text;
    for (size_t at = text.find(invokeId); at != std::string::npos; at = text.find(invokeId, at + 4))
        text.replace(at, invokeId.size(), "<id>");
    return text;
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

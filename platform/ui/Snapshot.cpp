#include "platform/ui/Snapshot.h"

#include <vector>

#include "platform/ui/Control.h"
#include "platform/ui/Focus.h"
#include "platform/ui/Host.h"
#include "platform/ui/UserControl.h"

namespace platform::ui {

namespace {

// The controls placed directly in `c`, in collection order.
std::vector<const Control*> ChildrenOf(const Control& c) {
    std::vector<const Control*> children;
    const auto* owner = dynamic_cast<const UserControl*>(&c);
    if (!owner) owner = c.IsContainer() ? c.Parent() : nullptr;
    if (!owner) return children;
    for (const auto& child : owner->Controls())
        if (child->Container() == &c) children.push_back(child.get());
    return children;
}

const Control* FocusedIn(const Control& root) {
    Host* host = root.HostOf();
    return host ? host->Focus().Focused() : nullptr;
}

std::string DisplayName(const Control& c) {
    std::string name = c.Name.empty() ? c.TypeName() : c.Name;
    if (c.Index) name += "." + std::to_string(*c.Index);
    return name;
}

struct TextWriter {
    const SnapshotOptions& options;
    const Control* focused;
    std::string out;

    void Write(const Control& c, int depth) {
        Description d;
        d.withTips = options.tips;
        c.Describe(d);
        if (!options.all && (!c.EffectiveVisible() || d.onlyWithAll)) return;
        const std::string indent(static_cast<size_t>(depth) * 2, ' ');
        std::string line = indent + d.kind + " " + DisplayName(c);
        std::vector<std::string> flags;
        if (options.all && !c.Visible()) flags.push_back("hidden");
        if (options.all && c.WindowHidden()) flags.push_back("win-hidden");
        if (options.all && !c.Enabled()) flags.push_back("disabled");
        if (&c == focused) flags.push_back("focus");
        flags.insert(flags.end(), d.flags.begin(), d.flags.end());
        for (const auto& f : flags) line += " " + f;
        for (const auto& a : d.attrs) line += " " + a;
        out += line + "\n";
        for (const auto& sub : d.lines) out += indent + "  " + sub + "\n";
        for (const Control* child : ChildrenOf(c)) Write(*child, depth + 1);
    }
};

std::string Bool(bool on) { return on ? "true" : "false"; }

std::string Json(const Control& c, const Control* focused) {
    Description d;
    c.Describe(d);
    std::string out = "{\"kind\": " + JsonString(d.kind) + ", \"name\": " + JsonString(c.Name) +
                      ", \"index\": " + (c.Index ? std::to_string(*c.Index) : "null") +
                      ", \"visible\": " + Bool(c.Visible()) + ", \"effectiveVisible\": " + Bool(c.EffectiveVisible()) +
                      ", \"windowHidden\": " + Bool(c.WindowHidden()) + ", \"enabled\": " + Bool(c.Enabled()) +
                      ", \"focus\": " + Bool(&c == focused);
    for (const auto& [name, json] : d.members) out += ", " + JsonString(name) + ": " + json;
    out += ", \"props\": {";
    for (size_t i = 0; i < d.props.size(); ++i)
        out += (i ? ", " : "") + JsonString(d.props[i].first) + ": " + d.props[i].second;
    out += "}, \"children\": [";
    const auto children = ChildrenOf(c);
    for (size_t i = 0; i < children.size(); ++i) out += (i ? ", " : "") + Json(*children[i], focused);
    return out + "]}";
}

}  // namespace

std::string Snapshot(const Control& root, const SnapshotOptions& options) {
    TextWriter writer{options, FocusedIn(root), {}};
    writer.Write(root, 0);
    return writer.out;
}

std::string SnapshotJson(const Control& root) { return Json(root, FocusedIn(root)) + "\n"; }

}  // namespace platform::ui

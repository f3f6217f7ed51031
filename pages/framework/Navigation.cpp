#include "pages/framework/Navigation.h"

#include <charconv>
#include <optional>

#include "platform/ctl/ctlParameter.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/IPrivateFunctions.h"
#include "platform/ui/TabStrip.h"

namespace dtm {

namespace ui = platform::ui;
namespace com = platform::com;
using platform::P;
using platform::Variant;

namespace {

P<IPrivateNavigation> ChildPage(const P<ui::Control>& control) {
    try {
        return std::dynamic_pointer_cast<IPrivateNavigation>(control->Object());
    } catch (...) {
        return nullptr;
    }
}

// ctlName & "." & name, & "." & index for an array member.
std::string Indexed(const std::string& ctlName, const ui::Control& control) {
    std::string path = ctlName + "." + control.Name;
    if (control.Index) path += "." + std::to_string(*control.Index);
    return path;
}

// Adds every item of `items` with ctlName & "." in front of its path, keyed
// by the new path; duplicates are dropped.
void AddPrefixed(com::Collection& out, const P<com::Collection>& items, const std::string& ctlName) {
    if (!items) return;
    for (const auto& v : *items) {
        try {
            auto item = std::dynamic_pointer_cast<clsSearchItem>(v.ObjRef());
            if (!item) continue;
            item->Pfad = ctlName + "." + item->Pfad;
            out.Add(v, item->Pfad);
        } catch (...) {
        }
    }
}

bool IsCaptioned(const std::string& kind) {
    return kind == "Frame" || kind == "CommandButton" || kind == "Label" || kind == "CheckBox" ||
           kind == "OptionButton" || kind == "Menu";
}

bool TakesFocus(const std::string& kind) {
    return kind == "CommandButton" || kind == "CheckBox" || kind == "OptionButton" || kind == "ctlParameter" ||
           kind == "TabStrip";
}

std::optional<int16_t> ToIndex(const std::string& text) {
    int16_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

// A tab strip named `name` that has a tab `index` (a strip has no index).
bool IsStripTab(const ui::Control& control, const std::string& name, int16_t index) {
    const auto* strip = dynamic_cast<const ui::TabStrip*>(&control);
    return strip && control.Name == name && index >= 1 && index <= strip->Tabs().Count();
}

}  // namespace

void NavInitControls(const ui::Controls& controls) {
    for (const auto& control : controls) {
        try {
            if (const auto child = ChildPage(control)) child->InitControl(Variant());
        } catch (...) {
        }
    }
}

P<com::Collection> NavFindParameters(const std::string& ctlName, const std::string& parTag,
                                     const ui::Controls& controls) {
    auto out = std::make_shared<com::Collection>();
    for (const auto& control : controls) {
        try {
            if (const auto child = ChildPage(control)) AddPrefixed(*out, child->FindParameters(parTag, control->Name), ctlName);
        } catch (...) {
        }
    }
    for (const auto& control : controls) {
        try {
            const auto* row = dynamic_cast<const platform::ctl::ctlParameter*>(control.get());
            if (!row || row->parameterTag() != parTag) continue;
            auto item = std::make_shared<clsSearchItem>();
            item->Pfad = Indexed(ctlName, *control);
            out->Add(Variant::Obj(item), item->Pfad);
        } catch (...) {
        }
    }
    return out;
}

P<com::Collection> NavGetDictKeys(const std::string& ctlName, const std::string& prefix,
                                  const ui::Controls& controls) {
    auto out = std::make_shared<com::Collection>();
    for (const auto& control : controls) {
        try {
            if (const auto child = ChildPage(control)) AddPrefixed(*out, child->GetDictKeys(control->Name), ctlName);
        } catch (...) {
        }
    }
    auto add = [&](const std::string& kind, const std::string& key, const std::string& path) {
        try {
            auto item = std::make_shared<clsSearchItem>();
            item->ItemType = "key_" + kind;
            item->DictKey = key;
            item->Pfad = path;
            out->Add(Variant::Obj(item), path);
        } catch (...) {
        }
    };
    for (const auto& control : controls) {
        const std::string kind = control->TypeName();
        if (IsCaptioned(kind)) {
            std::string key = prefix + control->Name;
            if (control->Index) key += "_" + std::to_string(*control->Index);
            add(kind, key, Indexed(ctlName, *control));
        } else if (const auto* strip = dynamic_cast<const ui::TabStrip*>(control.get())) {
            for (int32_t i = 1; i <= strip->Tabs().Count(); ++i)
                add(kind, prefix + control->Name + "." + std::to_string(i),
                    ctlName + "." + control->Name + "." + std::to_string(i));
        }
    }
    return out;
}

P<com::Collection> NavGetParameters(const ui::Controls& controls) {
    auto out = std::make_shared<com::Collection>();
    for (const auto& control : controls) {
        const auto child = ChildPage(control);
        if (!child) continue;
        if (const auto items = child->GetParameters(control->Name))
            for (const auto& v : *items) out->Add(v);
    }
    for (const auto& control : controls)
        if (control->TypeName() == "ctlParameter") out->Add(Variant::Obj(control->Object()));
    return out;
}

bool NavMatchPath(const P<platform::rt::DTMContext>& ctx, const std::string& ctlName, std::string& controlPfad) {
    bool pending = false;
    std::string path = controlPfad;
    if (path.empty()) {
        if (!ctx || !ctx->Functions()) return false;
        path = ctx->Functions()->ControlPfad();
        if (path.empty()) return false;
        pending = true;
    }
    if (NavPathHead(path) != ctlName) return false;
    if (pending) {
        try {
            ctx->Functions()->ControlPfad("");
        } catch (...) {
        }
    }
    const auto dot = path.find('.');
    controlPfad = dot == std::string::npos ? "" : path.substr(dot + 1);
    return true;
}

std::string NavPathHead(const std::string& path) { return path.substr(0, path.find('.')); }

std::string NavPathTail(const std::string& path) {
    const auto dot = path.find('.');
    if (dot == std::string::npos) return "";
    const auto next = path.find('.', dot + 1);
    return path.substr(dot + 1, next == std::string::npos ? std::string::npos : next - dot - 1);
}

bool NavShowChild(const std::string& controlPfad, const ui::Controls& controls, P<ui::Control>& found) {
    found.reset();
    const auto dot = controlPfad.find('.');
    const std::string head = NavPathHead(controlPfad);
    std::optional<int16_t> index;
    bool leaf = dot == std::string::npos;
    if (!leaf && controlPfad.find('.', dot + 1) == std::string::npos) {
        index = ToIndex(controlPfad.substr(dot + 1));
        leaf = index.has_value();
    }
    if (leaf) {
        for (const auto& control : controls) {
            const bool match = control->Name == head && (!index || control->Index == index);
            if (!match && !(index && IsStripTab(*control, head, *index))) continue;
            found = control;
            try {
                if (TakesFocus(control->TypeName())) control->SetFocus();
            } catch (...) {
            }
            break;
        }
        return true;
    }
    for (const auto& control : controls) {
        if (control->Name != head) continue;
        try {
            const auto child = ChildPage(control);
            if (child && child->ShowControl(controlPfad, control->Name)) {
                found = control;
                return true;
            }
        } catch (...) {
        }
    }
    return false;
}

}  // namespace dtm

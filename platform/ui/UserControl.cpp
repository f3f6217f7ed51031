#include "platform/ui/UserControl.h"

#include "platform/com/ClassRegistry.h"
#include "platform/com/VbText.h"
#include "platform/ui/Host.h"

namespace platform::ui {

namespace {

bool SameName(const Control& c, const std::string& name) { return com::vb::TextEquals(c.Name, name); }

constexpr float kTwipsPerPixel = 15.0f;
constexpr float kTwipsPerHimetric = 1440.0f / 2540.0f;
constexpr float kTwipsPerCharacter = 90.0f;
constexpr float kTwipsPerLine = 195.0f;

float TwipsPer(int16_t unit) {
    switch (unit) {
        case vbTwips: return 1.0f;
        case vbPixels: return kTwipsPerPixel;
        case vbHimetric: return kTwipsPerHimetric;
        default: com::Raise(com::errInvalidArgument, "Unknown scale unit");
    }
}

}  // namespace

// ---- Controls ----

const P<Control>& Controls::At(int32_t position) const {
    if (position < 0 || position >= Count()) com::Raise(com::errSubscript);
    return items_[static_cast<size_t>(position)];
}

P<Control> Controls::Find(const std::string& name, std::optional<int16_t> index) const {
    for (const auto& c : items_)
        if (SameName(*c, name) && (!index || c->Index == index)) return c;
    return nullptr;
}

P<Control> Controls::Item(const std::string& name) const {
    auto found = Find(name);
    if (!found) com::Raise(com::errInvalidArgument, "No control named " + name);
    return found;
}

P<Control> Controls::Item(const std::string& name, int16_t index) const {
    Item(name);
    auto found = Find(name, index);
    if (!found) com::Raise(com::errSubscript, "No element " + std::to_string(index) + " of " + name);
    return found;
}

void Controls::Append(const P<Control>& control, Control* container) {
    com::Deref(control);
    control->parent_ = &owner_;
    control->container_ = container ? container : &owner_;
    items_.push_back(control);
}

P<Control> Controls::Add(const std::string& progId, const std::string& name) {
    if (Find(name)) com::Raise(com::errDuplicateKey, "A control named " + name + " exists");
    auto control = std::dynamic_pointer_cast<Control>(com::ClassRegistry::Global().CreateObject(progId));
    if (!control) com::Raise(com::errTypeMismatch, progId + " is no control");
    control->Name = name;
    control->visible_ = false;
    control->Move(0, 0);
    Append(control, nullptr);
    return control;
}

void Controls::Remove(const std::string& name) {
    auto control = Item(name);
    if (Host* host = owner_.HostOf()) host->Focus().Forget(*control);
    for (auto it = items_.begin(); it != items_.end(); ++it) {
        if (*it != control) continue;
        items_.erase(it);
        break;
    }
    control->parent_ = nullptr;
    control->container_ = nullptr;
}

// ---- UserControl ----

void UserControl::Create(const com::PropertyBag* bag) {
    if (created_) return;
    created_ = true;
    BuildForm();
    Initialize();
    if (bag) ReadProperties(*bag);
    else InitProperties();
    if (Width() > 0 && Height() > 0) Resize();
}

AmbientProperties UserControl::Ambient() const {
    const Host* host = HostOf();
    return host ? host->Ambient() : AmbientProperties{};
}

void UserControl::PropertyChanged(const std::string& name) {
    if (propertyChanges_.size() == kKeptPropertyChanges) propertyChanges_.erase(propertyChanges_.begin());
    propertyChanges_.push_back(name);
    ++propertyChangeCount_;
}

void UserControl::Refresh() {
    canvas_.Clear();
    Paint();
}

float UserControl::ScaleX(float value, int16_t from, int16_t to) { return value * TwipsPer(from) / TwipsPer(to); }

float UserControl::TextWidth(const std::string& text) {
    return kTwipsPerCharacter * static_cast<float>(com::vb::Len(text));
}

float UserControl::TextHeight(const std::string& /*text*/) { return kTwipsPerLine; }


std::vector<UserControl*> UserControlsUnder(UserControl& top) {
    std::vector<UserControl*> all{&top};
    for (const auto& c : top.Controls())
        if (auto* u = dynamic_cast<UserControl*>(c.get())) {
            const auto inner = UserControlsUnder(*u);
            all.insert(all.end(), inner.begin(), inner.end());
        }
    return all;
}

// ---- ShowHideScope ----

ShowHideScope::ShowHideScope(Control& any) {
    Control* top = &any;
    while (top->Parent()) top = top->Parent();
    auto* page = dynamic_cast<UserControl*>(top);
    if (!page) return;
    keepTop_ = page->weak_from_this().lock();
    for (UserControl* u : UserControlsUnder(*page)) {
        W<Control> weak = u->weak_from_this();
        const bool shared = !weak.expired();
        entries_.push_back({weak, u, shared, u->EffectiveVisible()});
    }
}

void ShowHideScope::Raise() {
    for (const auto& e : entries_) {
        const auto keep = e.weak.lock();
        if (e.shared && !keep) continue;
        const bool now = e.raw->EffectiveVisible();
        if (now == e.visible) continue;
        if (now) e.raw->Show();
        else e.raw->Hide();
    }
}

}  // namespace platform::ui

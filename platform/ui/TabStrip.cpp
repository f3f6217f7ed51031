#include "platform/ui/TabStrip.h"

#include <algorithm>

#include "platform/com/Error.h"

namespace platform::ui {

namespace {
constexpr float kBorder = 30.0f;       // frame line around the client area
constexpr float kTabRowHeight = 360.0f;  // the row of tabs above it
}  // namespace

int32_t Tab::Index() const {
    return strip_ ? strip_->tabs_.list_.FindIf([this](const P<Tab>& tab) { return tab.get() == this; }) : 0;
}

const std::string& Tab::Key() const {
    static const std::string none;
    const int32_t at = Index();
    return at == 0 ? none : strip_->tabs_.list_.KeyAt(at);
}

void Tab::Key(const std::string& key) {
    const int32_t at = Index();
    if (at != 0) strip_->tabs_.list_.SetKeyAt(at, key);
}

bool Tab::Selected() const { return strip_ && strip_->selected_.get() == this; }

void Tab::Selected(bool on) {
    if (!on || !strip_) return;
    strip_->SelectedItem(strip_->tabs_.Item(Index()));
}

P<Tab> Tabs::Add(int32_t index, const std::string& key, const std::string& caption) {
    auto tab = std::make_shared<Tab>();
    tab->caption_ = caption;
    list_.Insert(tab, key, index);
    tab->strip_ = &strip_;
    if (!strip_.selected_) strip_.selected_ = list_.At(1);
    return tab;
}

void Tabs::Remove(int32_t index) {
    auto tab = list_.Remove(index);
    tab->strip_ = nullptr;
    if (strip_.selected_ == tab) strip_.selected_ = list_.Count() > 0 ? list_.At(1) : nullptr;
}

void Tabs::Clear() {
    for (const auto& tab : list_) tab->strip_ = nullptr;
    list_.Clear();
    strip_.selected_ = nullptr;
}

void TabStrip::SelectedItem(const P<Tab>& tab) {
    if (!tab || tab->strip_ != this) com::Raise(com::errInvalidArgument, "Not a tab of this strip");
    if (tab == selected_) return;
    selected_ = tab;
    const auto keep = Keep();
    Click.Raise();
}

void TabStrip::UserClickTab(int32_t index) {
    selected_ = tabs_.Item(index);
    const auto keep = Keep();
    Click.Raise();
}

float TabStrip::ClientLeft() const { return Left() + kBorder; }
float TabStrip::ClientTop() const { return Top() + kTabRowHeight; }
float TabStrip::ClientWidth() const { return std::max(0.0f, Width() - 2 * kBorder); }
float TabStrip::ClientHeight() const { return std::max(0.0f, Height() - kTabRowHeight - kBorder); }

void TabStrip::Describe(Description& d) const {
    Control::Describe(d);
    const int32_t selected = selected_ ? selected_->Index() : 0;
    d.Attr("selected=" + std::to_string(selected));
    d.Prop("selected", selected);
    std::string json = "[";
    for (const auto& tab : tabs_) {
        d.lines.push_back("tab " + std::to_string(tab->Index()) + " key=" + Quote(tab->Key()) + " " +
                          Quote(tab->Caption()));
        if (json.size() > 1) json += ", ";
        json += "{\"index\": " + std::to_string(tab->Index()) + ", \"key\": " + JsonString(tab->Key()) +
                ", \"caption\": " + JsonString(tab->Caption()) + "}";
    }
    d.PropRaw("tabs", json + "]");
}

}  // namespace platform::ui

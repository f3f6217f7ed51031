#pragma once
// The tab strip. A user click on any tab selects it and raises Click, also on
// the tab already selected; a let of the selection by code raises Click only
// when the selection changes. Adding to an empty strip selects tab 1 and
// removing the selected tab selects tab 1 (none when empty), without Click.
#include <cstdint>
#include <string>

#include "platform/com/Collection.h"
#include "platform/ui/Control.h"
#include "platform/ui/Signal.h"

namespace platform::ui {

class TabStrip;

class Tab : public com::Object {
public:
    // 1-based position; 0 once removed.
    int32_t Index() const;
    const std::string& Key() const;
    // A key another tab has raises 457.
    void Key(const std::string& key);
    const std::string& Caption() const { return caption_; }
    void Caption(std::string text) { caption_ = std::move(text); }
    bool Selected() const;
    // True selects the tab as a let of SelectedItem does; False is ignored.
    void Selected(bool on);

private:
    friend class Tabs;
    friend class TabStrip;
    TabStrip* strip_ = nullptr;
    std::string caption_;
};

class Tabs {
public:
    explicit Tabs(TabStrip& strip) : strip_(strip) {}
    int32_t Count() const { return list_.Count(); }
    // Out of range raises 9, a missing key 5.
    P<Tab> Item(int32_t index) const { return list_.At(index); }
    P<Tab> Item(const std::string& key) const { return list_.At(key); }
    P<Tab> Item(const char* key) const { return Item(std::string(key)); }
    // Inserts at `index` (0 = at the end; outside 1..Count + 1 raises 9); a
    // duplicate key raises 457.
    P<Tab> Add(int32_t index = 0, const std::string& key = "", const std::string& caption = "");
    void Remove(int32_t index);
    void Remove(const std::string& key) { Remove(list_.PositionOf(key)); }
    void Clear();
    auto begin() const { return list_.begin(); }
    auto end() const { return list_.end(); }

private:
    friend class Tab;
    TabStrip& strip_;
    com::KeyedList<P<Tab>> list_;
};

class TabStrip : public Control {
public:
    TabStrip() : tabs_(*this) {}
    std::string TypeName() const override { return "TabStrip"; }
    bool Focusable() const override { return true; }

    ui::Tabs& Tabs() { return tabs_; }
    const ui::Tabs& Tabs() const { return tabs_; }
    // Null when the strip has no tab.
    P<Tab> SelectedItem() const { return selected_; }
    // A tab of another strip raises 5; Click when the selection changes.
    void SelectedItem(const P<Tab>& tab);
    // The user clicks tab `index` (9 when out of range): selects it and raises Click.
    void UserClickTab(int32_t index);

    // The area inside the tabs' frame.
    float ClientLeft() const;
    float ClientTop() const;
    float ClientWidth() const;
    float ClientHeight() const;

    void Describe(Description& d) const override;
    Signal<> Click;

private:
    friend class Tabs;
    friend class Tab;
    ui::Tabs tabs_;
    P<Tab> selected_;
};

}  // namespace platform::ui

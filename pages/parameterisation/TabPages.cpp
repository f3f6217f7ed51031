#include "pages/parameterisation/TabPages.h"

#include "platform/com/VbText.h"

namespace dtm {

namespace ui = platform::ui;

void ShowSelectedTabControl(ui::UserControl& page, const ui::TabStrip& strip) {
    const auto selected = strip.SelectedItem();
    for (const auto& tab : strip.Tabs()) page.Controls().Item(tab->Key())->Visible(tab == selected);
}

platform::P<ui::Tab> TabOfPath(const ui::TabStrip& strip, const std::string& text) {
    const std::string digits = platform::com::vb::Trim(text);
    if (digits.empty() || digits.size() > 4 || digits.find_first_not_of("0123456789") != std::string::npos)
        return nullptr;
    const int32_t n = std::stoi(digits);
    return n >= 1 && n <= strip.Tabs().Count() ? strip.Tabs().Item(n) : nullptr;
}

bool SelectTabOfPath(ui::TabStrip& strip, const std::string& head, const std::string& tail) {
    if (head != "TabStrip") return true;
    const auto tab = TabOfPath(strip, tail);
    if (!tab) return false;
    strip.SelectedItem(tab);
    return true;
}

platform::P<ui::TabStrip> PageTabStrip(const ui::UserControl& page) {
    return std::dynamic_pointer_cast<ui::TabStrip>(page.Controls().Item("TabStrip"));
}

}  // namespace dtm

#include "pages/parameterisation/TabPages.h"

namespace dtm {

namespace ui = platform::ui;

void ShowSelectedTabControl(ui::UserControl& page, const ui::TabStrip& strip) {
    const auto selected = strip.SelectedItem();
    for (const auto& tab : strip.Tabs()) page.Controls().Item(tab->Key())->Visible(tab == selected);
}

platform::P<ui::TabStrip> PageTabStrip(const ui::UserControl& page) {
    return std::dynamic_pointer_cast<ui::TabStrip>(page.Controls().Item("TabStrip"));
}

}  // namespace dtm

#pragma once
// Tab strips whose tab keys name the page's controls: the control of the
// selected tab is shown, those of the other tabs are hidden.
#include <string>

#include "platform/ui/TabStrip.h"
#include "platform/ui/UserControl.h"

namespace dtm {

// For each tab in order, the control of `page` named by the tab's key gets
// Visible = whether the tab is the selected one. A key that names no control
// raises 5.
void ShowSelectedTabControl(platform::ui::UserControl& page, const platform::ui::TabStrip& strip);

// Tab n of the strip for the text of a navigation path ("2"), or null when
// the text is no tab number of the strip.
platform::P<platform::ui::Tab> TabOfPath(const platform::ui::TabStrip& strip, const std::string& text);
// For the path head "TabStrip": selects the tab the tail numbers, false when
// it numbers none. Any other head selects nothing and is no fault.
bool SelectTabOfPath(platform::ui::TabStrip& strip, const std::string& head, const std::string& tail);

// The strip named "TabStrip" among the page's controls.
platform::P<platform::ui::TabStrip> PageTabStrip(const platform::ui::UserControl& page);

}  // namespace dtm

#pragma once
// The controls whose visible texts a page takes from the dictionary: those
// with one caption (Label, Frame, CommandButton, CheckBox, OptionButton,
// Menu) and the tab strip with one caption per tab.
#include <string>
#include <vector>

#include "platform/ui/Control.h"

namespace platform::ui {

class CaptionedControl : public Control {
public:
    std::string Caption;
};

class TabStrip : public Control {
public:
    struct Tab {
        std::string Caption;
    };
    std::vector<Tab> Tabs;  // tab i (1-based) is Tabs[i - 1]
};

}  // namespace platform::ui

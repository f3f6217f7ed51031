#pragma once
// Base of the headless widgets: every control a page hosts is one of these.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/com/Variant.h"

namespace platform::ui {

class Control : public virtual com::Object {
public:
    std::string Name;
    std::optional<int16_t> Index;  // set for the members of a control array
    bool Visible = true;
    bool Enabled = true;
};

}  // namespace platform::ui

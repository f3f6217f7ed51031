#pragma once
// Base of the headless widgets: every control a page hosts is one of these.
#include <string>

#include "platform/com/Variant.h"

namespace platform::ui {

class Control : public virtual com::Object {
public:
    std::string Name;
    bool Visible = true;
    bool Enabled = true;
};

}  // namespace platform::ui

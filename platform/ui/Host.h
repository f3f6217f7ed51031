#pragma once
// The window a top control lives in: shown or hidden, sized, with the ambient
// properties and the focus manager of its controls.
#include <string>

#include "platform/com/Variant.h"
#include "platform/ui/Focus.h"
#include "platform/ui/UserControl.h"

namespace platform::ui {

class Host {
public:
    // Creates the page when it was not yet created, and sizes it. Not shown.
    explicit Host(P<UserControl> page, float width = 12000, float height = 9000);
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    const P<UserControl>& Page() const { return page_; }
    bool Shown() const { return shown_; }
    // Show events on the controls that become visible, then the focus to the page.
    void Show();
    void Hide();
    // Moves the page to the new size (Resize when it changed).
    void Resize(float width, float height);
    // Only "LocaleID" is known (other names raise 5). Raises AmbientChanged on
    // the top page, then on every embedded user control, depth first.
    void SetAmbient(const std::string& name, const Variant& value);
    const AmbientProperties& Ambient() const { return ambient_; }
    FocusManager& Focus() { return focus_; }
    // Hides the window and lets the page go (its destructor runs Terminate
    // when nothing else holds it).
    void Drop();

private:
    void SetShown(bool shown);

    P<UserControl> page_;
    bool shown_ = false;
    AmbientProperties ambient_;
    FocusManager focus_;
};

}  // namespace platform::ui

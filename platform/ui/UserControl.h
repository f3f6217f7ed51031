#pragma once
// A user control: a page or a private control with its own constituents.
//
// Creation (Create, run once; Class_Initialize runs it for objects made by
// program id): BuildForm places the constituents in collection order (a
// constituent user control is created whole as it is placed), then Initialize
// and InitProperties, or ReadProperties with the given bag; Resize when sized.
//
// The event handlers are virtual members a form overrides; the layer calls them.
#include <cstdint>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/com/IClassInit.h"
#include "platform/com/PropertyBag.h"
#include "platform/ui/Control.h"

namespace platform::ui {

// The constituents of a user control, flat, in design order whatever their
// container. The order fixes numbering, release order and search order.
class Controls {
public:
    explicit Controls(UserControl& owner) : owner_(owner) {}

    int32_t Count() const { return static_cast<int32_t>(items_.size()); }
    // 0-based position in collection order.
    const P<Control>& At(int32_t position) const;
    // The control of that name (the first member of an array); 5 when absent.
    P<Control> Item(const std::string& name) const;
    // The array member of that name and index: 5 when the name is absent,
    // 9 when the index is.
    P<Control> Item(const std::string& name, int16_t index) const;
    P<Control> Find(const std::string& name, std::optional<int16_t> index = std::nullopt) const;
    // Creates the object by program id (429 unknown, 13 when it is no control)
    // and appends it invisible at 0, 0 in the user control itself; a name
    // already present raises 457 before anything is created.
    P<Control> Add(const std::string& progId, const std::string& name);
    // 5 when absent. Clears Parent and Container; the focus leaves it.
    void Remove(const std::string& name);

    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

    // Appends a control made by the form (BuildForm) or by Add.
    void Append(const P<Control>& control, Control* container);

private:
    UserControl& owner_;
    std::vector<P<Control>> items_;
};

// The ambient properties the host gives its controls.
struct AmbientProperties {
    int32_t LocaleID = 1033;
};

// Units of ScaleX / ScaleY.
enum ScaleMode : int16_t { vbTwips = 1, vbPixels = 3, vbHimetric = 8 };

// Drawing on a user control is recorded only.
struct CanvasFill {
    float x1, y1, x2, y2;
    int32_t colour;
};
class Canvas {
public:
    void FillRect(float x1, float y1, float x2, float y2, int32_t colour) { fills_.push_back({x1, y1, x2, y2, colour}); }
    const std::vector<CanvasFill>& Fills() const { return fills_; }
    void Clear() { fills_.clear(); }

private:
    std::vector<CanvasFill> fills_;
};

class UserControl : public Control, public com::IClassInit {
public:
    UserControl() : controls_(*this) {}

    std::string TypeName() const override { return "UserControl"; }
    bool Focusable() const override { return true; }
    bool IsContainer() const override { return true; }

    ui::Controls& Controls() { return controls_; }
    const ui::Controls& Controls() const { return controls_; }

    // Builds the form and raises the creation events (see above); runs once.
    void Create(const com::PropertyBag* bag = nullptr);
    bool Created() const { return created_; }
    void Class_Initialize() override { Create(); }

    // The host's ambient properties (defaults without a host).
    AmbientProperties Ambient() const;

    // Records that a persisted property changed. A control that changes a
    // property on every value it shows, for days, keeps the names of its last
    // kKeptPropertyChanges changes only, oldest first, and the count of all.
    static constexpr size_t kKeptPropertyChanges = 16;
    void PropertyChanged(const std::string& name);
    const std::vector<std::string>& PropertyChanges() const { return propertyChanges_; }
    uint64_t PropertyChangeCount() const { return propertyChangeCount_; }

    // Clears the canvas and raises Paint.
    void Refresh();
    ui::Canvas& Canvas() { return canvas_; }

    // The scale is twips: the inner size is the size.
    float ScaleWidth() const { return Width(); }
    float ScaleHeight() const { return Height(); }
    // Converts between twips, pixels (15 twips) and HIMETRIC; other units raise 5.
    static float ScaleX(float value, int16_t from, int16_t to);
    static float ScaleY(float value, int16_t from, int16_t to) { return ScaleX(value, from, to); }
    // Fixed text metrics: 90 twips per character, 195 twips per line.
    static float TextWidth(const std::string& text);
    static float TextHeight(const std::string& text);
    int32_t BackColor() const { return backColor_; }
    void BackColor(int32_t colour) { backColor_ = colour; }

    // The host this top control sits in (set by Host).
    Host* OwnHost() const { return host_; }

    // ---- events, raised by the layer ----
    virtual void Initialize() {}
    virtual void InitProperties() {}
    virtual void ReadProperties(const com::PropertyBag& /*bag*/) {}
    virtual void WriteProperties(com::PropertyBag& /*bag*/) {}
    virtual void Resize() {}
    virtual void Show() {}
    virtual void Hide() {}
    virtual void Paint() {}
    virtual void EnterFocus() {}
    virtual void ExitFocus() {}
    virtual void AmbientChanged(const std::string& /*name*/) {}
    // Called from the destructor of the class that handles it; must not throw.
    virtual void Terminate() noexcept {}

protected:
    // Places the constituents (Place), in collection order.
    virtual void BuildForm() {}

    // Makes a constituent of kind T, named, in `container` (the user control
    // itself when null); a user control is created whole with `bag`.
    template <class T>
    P<T> Place(const std::string& name, std::optional<int16_t> index = std::nullopt, Control* container = nullptr,
               const com::PropertyBag* bag = nullptr) {
        auto control = std::make_shared<T>();
        control->Name = name;
        control->Index = index;
        controls_.Append(control, container);
        if constexpr (std::is_base_of_v<UserControl, T>) control->Create(bag);
        return control;
    }

    void SizeChanged() override { Resize(); }

private:
    friend class Host;
    ui::Controls controls_;
    bool created_ = false;
    Host* host_ = nullptr;
    std::vector<std::string> propertyChanges_;
    uint64_t propertyChangeCount_ = 0;
    ui::Canvas canvas_;
    int32_t backColor_ = static_cast<int32_t>(0x8000000Fu);  // button face
};

// The user controls under `top` (itself first), depth first in Controls order.
std::vector<UserControl*> UserControlsUnder(UserControl& top);

// Records the effective visibility of the user controls under the top control
// of `any`, then, on Raise, Show on those that became visible and Hide on
// those that stopped being visible, outermost first.
class ShowHideScope {
public:
    explicit ShowHideScope(Control& any);
    void Raise();

private:
    struct Entry {
        W<Control> weak;
        UserControl* raw;
        bool shared;
        bool visible;
    };
    P<Control> keepTop_;
    std::vector<Entry> entries_;
};

}  // namespace platform::ui

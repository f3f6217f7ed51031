#pragma once
// The controls with one caption: Label, Frame, CommandButton, CheckBox and
// OptionButton. A page takes their captions from the dictionary.
#include <cstdint>
#include <string>

#include "platform/ui/Control.h"
#include "platform/ui/Signal.h"

namespace platform::ui {

class CaptionedControl : public Control {
public:
    const std::string& Caption() const { return caption_; }
    void Caption(std::string text) { caption_ = std::move(text); }
    void Describe(Description& d) const override;

protected:
    CaptionedControl() = default;

private:
    std::string caption_;
};

class Label : public CaptionedControl {
public:
    std::string TypeName() const override { return "Label"; }
    bool Windowed() const override { return false; }
};

class Frame : public CaptionedControl {
public:
    std::string TypeName() const override { return "Frame"; }
    bool IsContainer() const override { return true; }
};

class CommandButton : public CaptionedControl {
public:
    std::string TypeName() const override { return "CommandButton"; }
    bool Focusable() const override { return true; }
    bool UserClick() override;
    Signal<> Click;
};

// Value 0 unchecked, 1 checked, 2 grayed. Click follows every change of the
// value, by the user or by code, at once (handlers may nest).
class CheckBox : public CaptionedControl {
public:
    std::string TypeName() const override { return "CheckBox"; }
    bool Focusable() const override { return true; }
    int16_t Value() const { return value_; }
    // Outside 0..2 raises 380; the same value raises no Click.
    void Value(int16_t v);
    int32_t BackColor() const { return backColor_; }
    void BackColor(int32_t colour) { backColor_ = colour; }
    // Toggles between checked and unchecked (grayed becomes unchecked).
    bool UserClick() override;
    void Describe(Description& d) const override;
    Signal<> Click;

private:
    int16_t value_ = 0;
    int32_t backColor_ = static_cast<int32_t>(0x8000000Fu);
};

// Value True clears the other members of its array in the same container,
// then raises Click.
class OptionButton : public CaptionedControl {
public:
    std::string TypeName() const override { return "OptionButton"; }
    bool Focusable() const override { return true; }
    bool Value() const { return value_; }
    void Value(bool on);
    bool UserClick() override;
    void Describe(Description& d) const override;
    Signal<> Click;

private:
    bool value_ = false;
};

}  // namespace platform::ui

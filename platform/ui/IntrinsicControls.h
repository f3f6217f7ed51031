#pragma once
// The intrinsic controls without a caption: TextBox, PictureBox, Image, Line
// and the vertical scroll bar.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/ui/Control.h"
#include "platform/ui/Picture.h"
#include "platform/ui/Signal.h"

namespace platform::ui {

class TextBox : public Control {
public:
    std::string TypeName() const override { return "TextBox"; }
    bool Focusable() const override { return true; }
    const std::string& Text() const;
    void Text(std::string text) {
        text_ = std::move(text);
        dropped_ = 0;
    }
    void AppendText(std::string_view text) { text_ += text; }
    // The text as Text() gives it, without moving it up first.
    std::string_view TextView() const { return std::string_view(text_).substr(dropped_); }
    // Drops the first `count` characters (all of them when there are fewer).
    // The rest moves up only once more has been dropped than is kept, so a
    // text that loses its oldest lines as new ones come costs no copy per line.
    void DropFront(size_t count);
    bool MultiLine() const { return multiLine_; }
    void MultiLine(bool on) { multiLine_ = on; }
    bool Locked() const { return locked_; }
    void Locked(bool on) { locked_ = on; }
    int32_t ForeColor() const { return foreColor_; }
    void ForeColor(int32_t colour) { foreColor_ = colour; }
    void Describe(Description& d) const override;

private:
    mutable std::string text_;
    mutable size_t dropped_ = 0;  // leading characters of text_ no longer part of the text
    bool multiLine_ = false, locked_ = false;
    int32_t foreColor_ = 0;
};

// Shared by PictureBox and Image.
class PictureHolder : public Control {
public:
    const P<ui::Picture>& Picture() const { return picture_; }
    void Picture(P<ui::Picture> picture) { picture_ = std::move(picture); }
    void Describe(Description& d) const override;

private:
    P<ui::Picture> picture_;
};

class PictureBox : public PictureHolder {
public:
    std::string TypeName() const override { return "PictureBox"; }
    bool IsContainer() const override { return true; }
    int16_t BorderStyle() const { return borderStyle_; }
    void BorderStyle(int16_t style) { borderStyle_ = style; }

private:
    int16_t borderStyle_ = 1;
};

class Image : public PictureHolder {
public:
    std::string TypeName() const override { return "Image"; }
    bool Windowed() const override { return false; }
};

class Line : public Control {
public:
    std::string TypeName() const override { return "Line"; }
    bool Windowed() const override { return false; }
    void Describe(Description& d) const override;
};

// Every change of Value raises Change: a let by code, a user scroll, or Min
// and Max moved past it (the value is clamped). Scroll is never raised.
class VScrollBar : public Control {
public:
    std::string TypeName() const override { return "VScrollBar"; }
    bool Focusable() const override { return true; }
    int16_t Min() const { return min_; }
    int16_t Max() const { return max_; }
    int16_t Value() const { return value_; }
    void Min(int16_t v);
    void Max(int16_t v);
    // Outside the range between Min and Max raises 380.
    void Value(int16_t v);
    int16_t SmallChange() const { return smallChange_; }
    void SmallChange(int16_t v) { smallChange_ = v; }
    int16_t LargeChange() const { return largeChange_; }
    void LargeChange(int16_t v) { largeChange_ = v; }
    // `v` clamped into the range (a user cannot scroll past the ends).
    int16_t Clamp(int32_t v) const;
    void Describe(Description& d) const override;
    Signal<> Change;

private:
    void Set(int16_t v);
    int16_t min_ = 0, max_ = 32767, value_ = 0;
    int16_t smallChange_ = 1, largeChange_ = 1;
};

}  // namespace platform::ui

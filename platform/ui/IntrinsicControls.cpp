#include "platform/ui/IntrinsicControls.h"

#include <algorithm>

#include "platform/com/Error.h"

namespace platform::ui {

const std::string& TextBox::Text() const {
    if (dropped_ > 0) {
        text_.erase(0, dropped_);
        dropped_ = 0;
    }
    return text_;
}

void TextBox::DropFront(size_t count) {
    dropped_ += std::min(count, text_.size() - dropped_);
    if (dropped_ == text_.size()) {
        text_.clear();
        dropped_ = 0;
    } else if (dropped_ > text_.size() - dropped_) {
        text_.erase(0, dropped_);
        dropped_ = 0;
    }
}

void TextBox::Describe(Description& d) const {
    Control::Describe(d);
    d.Attr("text=" + Quote(Text()));
    if (foreColor_ != 0) d.Attr("fore=" + std::to_string(foreColor_));
    d.Prop("text", Text());
    d.Prop("multiLine", multiLine_);
    d.Prop("locked", locked_);
    d.Prop("foreColor", foreColor_);
}

void PictureHolder::Describe(Description& d) const {
    Control::Describe(d);
    if (picture_) d.Attr("picture=" + picture_->DisplayName());
    if (!ToolTipText().empty()) d.Attr("tip=" + Quote(ToolTipText()));
    d.Prop("picture", picture_ ? picture_->DisplayName() : std::string());
}

void Line::Describe(Description& d) const {
    Control::Describe(d);
    d.onlyWithAll = true;
}

int16_t VScrollBar::Clamp(int32_t v) const {
    const int32_t low = std::min(min_, max_), high = std::max(min_, max_);
    return static_cast<int16_t>(std::clamp(v, low, high));
}

void VScrollBar::Set(int16_t v) {
    if (v == value_) return;
    value_ = v;
    const auto keep = Keep();
    Change.Raise();
}

void VScrollBar::Value(int16_t v) {
    if (Clamp(v) != v) com::Raise(com::errBadPropertyValue, "Invalid property value");
    Set(v);
}

void VScrollBar::Min(int16_t v) {
    min_ = v;
    Set(Clamp(value_));
}

void VScrollBar::Max(int16_t v) {
    max_ = v;
    Set(Clamp(value_));
}

void VScrollBar::Describe(Description& d) const {
    Control::Describe(d);
    d.Attr("value=" + std::to_string(value_) + " min=" + std::to_string(min_) + " max=" + std::to_string(max_));
    d.Prop("value", static_cast<int32_t>(value_));
    d.Prop("min", static_cast<int32_t>(min_));
    d.Prop("max", static_cast<int32_t>(max_));
    d.Prop("smallChange", static_cast<int32_t>(smallChange_));
    d.Prop("largeChange", static_cast<int32_t>(largeChange_));
}

}  // namespace platform::ui

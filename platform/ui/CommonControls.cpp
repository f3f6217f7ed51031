#include "platform/ui/CommonControls.h"

#include "platform/com/Error.h"

namespace platform::ui {

namespace {
std::string Number(float v) { return com::CStr(Variant::Sng(v)); }
}  // namespace

int32_t Panel::Index() const {
    return bar_ ? bar_->panels_.FindIf([this](const P<Panel>& p) { return p.get() == this; }) : 0;
}

float Panel::Left() const {
    float left = bar_ ? bar_->Left() : 0;
    if (!bar_) return left;
    for (const auto& p : bar_->panels_) {
        if (p.get() == this) break;
        if (p->visible_) left += p->width_;
    }
    return left;
}

P<Panel> StatusBar::AddPanel(int32_t index, const std::string& key, const std::string& text) {
    auto panel = std::make_shared<Panel>();
    panel->key_ = key;
    panel->text_ = text;
    panels_.Insert(panel, key, index);
    panel->bar_ = this;
    return panel;
}

void StatusBar::Describe(Description& d) const {
    Control::Describe(d);
    std::string json = "[";
    for (const auto& p : panels_) {
        if (!p->visible_) continue;
        std::string line = "panel " + p->key_ + " " + Quote(p->text_);
        if (p->picture_) line += " icon=" + p->picture_->DisplayName();
        d.lines.push_back(line);
    }
    for (const auto& p : panels_) {
        if (json.size() > 1) json += ", ";
        json += "{\"key\": " + JsonString(p->key_) + ", \"text\": " + JsonString(p->text_) +
                ", \"icon\": " + JsonString(p->picture_ ? p->picture_->DisplayName() : "") +
                ", \"visible\": " + (p->visible_ ? "true" : "false") + "}";
    }
    d.PropRaw("panels", json + "]");
}

P<ListImage> ImageList::Add(const std::string& key, P<ui::Picture> picture) {
    auto image = std::make_shared<ListImage>();
    image->Key = key;
    image->Picture = std::move(picture);
    images_.Insert(image, key);
    return image;
}

void ImageList::Describe(Description& d) const {
    Control::Describe(d);
    d.onlyWithAll = true;
    d.Attr("images=" + std::to_string(images_.Count()));
    d.Prop("count", images_.Count());
}

void ProgressBar::Value(float v) {
    if (v < min_ || v > max_) com::Raise(com::errBadPropertyValue, "Invalid property value");
    value_ = v;
}

void ProgressBar::Describe(Description& d) const {
    Control::Describe(d);
    d.Attr("value=" + Number(value_) + " min=" + Number(min_) + " max=" + Number(max_));
    d.Prop("value", static_cast<double>(value_));
    d.Prop("min", static_cast<double>(min_));
    d.Prop("max", static_cast<double>(max_));
}

}  // namespace platform::ui

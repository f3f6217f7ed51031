#pragma once
// The status bar with its panels, the image list and the progress bar.
#include <cstdint>
#include <string>

#include "platform/com/Collection.h"
#include "platform/ui/Control.h"
#include "platform/ui/Picture.h"

namespace platform::ui {

class StatusBar;

class Panel : public com::Object {
public:
    const std::string& Key() const { return key_; }
    const std::string& Text() const { return text_; }
    void Text(std::string text) { text_ = std::move(text); }
    const P<ui::Picture>& Picture() const { return picture_; }
    void Picture(P<ui::Picture> picture) { picture_ = std::move(picture); }
    float Width() const { return width_; }
    void Width(float w) { width_ = w; }
    bool Visible() const { return visible_; }
    void Visible(bool on) { visible_ = on; }
    // The widths of the visible panels before this one.
    float Left() const;
    int32_t Index() const;

private:
    friend class StatusBar;
    StatusBar* bar_ = nullptr;
    std::string key_, text_;
    P<ui::Picture> picture_;
    float width_ = 1440;
    bool visible_ = true;
};

class StatusBar : public Control {
public:
    std::string TypeName() const override { return "StatusBar"; }
    int32_t PanelCount() const { return panels_.Count(); }
    // Out of range raises 9, a missing key 5.
    P<Panel> Panels(int32_t index) const { return panels_.At(index); }
    P<Panel> Panels(const std::string& key) const { return panels_.At(key); }
    P<Panel> Panels(const char* key) const { return Panels(std::string(key)); }
    // Inserts at `index` (0 = at the end); a duplicate key raises 457.
    P<Panel> AddPanel(int32_t index = 0, const std::string& key = "", const std::string& text = "");
    void Describe(Description& d) const override;

private:
    friend class Panel;
    com::KeyedList<P<Panel>> panels_;
};

class ListImage : public com::Object {
public:
    std::string Key;
    P<ui::Picture> Picture;
};

class ImageList : public Control {
public:
    std::string TypeName() const override { return "ImageList"; }
    bool Windowed() const override { return false; }
    int32_t ImageWidth() const { return 16; }
    int32_t ImageHeight() const { return 16; }
    int32_t Count() const { return images_.Count(); }
    // Out of range raises 9, a missing key 5.
    P<ListImage> ListImages(int32_t index) const { return images_.At(index); }
    P<ListImage> ListImages(const std::string& key) const { return images_.At(key); }
    P<ListImage> ListImages(const char* key) const { return ListImages(std::string(key)); }
    // A duplicate key raises 457.
    P<ListImage> Add(const std::string& key, P<ui::Picture> picture);
    void Describe(Description& d) const override;

private:
    com::KeyedList<P<ListImage>> images_;
};

class ProgressBar : public Control {
public:
    std::string TypeName() const override { return "ProgressBar"; }
    float Min() const { return min_; }
    float Max() const { return max_; }
    float Value() const { return value_; }
    void Min(float v) { min_ = v; }
    void Max(float v) { max_ = v; }
    // Outside Min..Max raises 380.
    void Value(float v);
    void Describe(Description& d) const override;

private:
    float min_ = 0, max_ = 100, value_ = 0;
};

}  // namespace platform::ui

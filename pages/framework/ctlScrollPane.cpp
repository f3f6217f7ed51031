#include "pages/framework/ctlScrollPane.h"

#include <algorithm>
#include <cmath>

#include "pages/framework/Navigation.h"
#include "platform/com/PropertyBag.h"

namespace dtm {

namespace ui = platform::ui;

namespace {

constexpr int32_t kButtonFace = static_cast<int32_t>(0x8000000Fu);

// A length as the bar's 16-bit Integer: rounded half to even, at most 32767.
int16_t BarInteger(float value) {
    const double rounded = std::nearbyint(static_cast<double>(value));
    return static_cast<int16_t>(std::clamp(rounded, -32768.0, 32767.0));
}

}  // namespace

void ctlScrollPane::BuildForm() {
    VScroll = Place<ui::VScrollBar>("VScroll");
    VScroll->Width(kBarWidth);
    VScroll->Max(0);
    VScroll->Change.Connect([this] { Scroll_controls(VScroll->Value()); });
}

void ctlScrollPane::Initialize() {
    lastWidth_ = ScaleWidth();
    lastHeight_ = ScaleHeight();
}

template <class F>
void ctlScrollPane::ForEachHosted(F&& f) {
    for (const auto& c : Controls())
        if (c != VScroll) f(*c);
}

void ctlScrollPane::Scroll_controls(int32_t value) {
    const auto d = static_cast<int32_t>(lastScroll_ - static_cast<float>(value));
    if (d == 0) return;
    ForEachHosted([d](ui::Control& c) {
        try {
            c.Top(c.Top() + static_cast<float>(d));
        } catch (...) {
            // A control that cannot be moved stays where it is.
        }
    });
    lastScroll_ = static_cast<float>(value);
}

void ctlScrollPane::UpdateScrollBar() {
    const float height = ScaleHeight();
    VScroll->LargeChange(BarInteger(height * 0.8f));
    VScroll->SmallChange(BarInteger(height * 0.1f));
    float bottom = 0;
    ForEachHosted([&](ui::Control& c) { bottom = std::max(bottom, c.Top() + lastScroll_ + c.Height()); });
    if (height >= bottom) {
        if (VScroll->Value() != 0) VScroll->Value(0);
        Scroll_controls(0);
        if (VScroll->Visible()) VScroll->Visible(false);
        return;
    }
    if (!VScroll->Visible()) VScroll->Visible(true);
    VScroll->Max(BarInteger(bottom - height + kSlack));
}

void ctlScrollPane::ScrollValue(int16_t value) { VScroll->Value(VScroll->Clamp(value)); }

platform::P<ui::Control> ctlScrollPane::AddControl(const std::string& ctlType, const std::string& ctlName) {
    auto control = Controls().Add(ctlType, ctlName);
    control->Move(0, -lastScroll_, ContentWidth(), control->Height());
    UpdateScrollBar();
    Scroll_controls(VScroll->Value());
    return control;
}

void ctlScrollPane::RemoveControl(const std::string& ctlName) { Controls().Remove(ctlName); }

void ctlScrollPane::Resize() {
    const auto dW = static_cast<int32_t>(ScaleWidth() - lastWidth_);
    if (dW != 0) ForEachHosted([dW](ui::Control& c) { c.Width(c.Width() + static_cast<float>(dW)); });
    lastWidth_ = ScaleWidth();
    if (static_cast<int32_t>(ScaleHeight()) != static_cast<int32_t>(lastHeight_)) {
        UpdateScrollBar();
        lastHeight_ = ScaleHeight();
    }
    VScroll->Left(ContentWidth());
    if (ScaleHeight() > kMargin) VScroll->Height(ScaleHeight() - kMargin);
}

void ctlScrollPane::Show() { UpdateScrollBar(); }

void ctlScrollPane::ReadProperties(const platform::com::PropertyBag& bag) {
    BackColor(platform::com::CLng(bag.ReadProperty("BackColor", platform::Variant::Lng(kButtonFace))));
}

void ctlScrollPane::WriteProperties(platform::com::PropertyBag& bag) {
    bag.WriteProperty("BackColor", platform::Variant::Lng(BackColor()), platform::Variant::Lng(kButtonFace));
}

void ctlScrollPane::InitControl(const platform::Variant& /*data*/) { NavInitControls(Controls()); }

platform::P<platform::com::Collection> ctlScrollPane::FindParameters(const std::string& parTag,
                                                                     const std::string& ctlName) {
    return NavFindParameters(ctlName, parTag, Controls());
}

platform::P<platform::com::Collection> ctlScrollPane::GetDictKeys(const std::string& ctlName) {
    return NavGetDictKeys(ctlName, TypeName() + "_", Controls());
}

bool ctlScrollPane::ShowControl(const std::string& controlPfad, const std::string& ctlName) {
    std::string path = controlPfad;
    if (!NavMatchPath(nullptr, ctlName, path)) return false;
    platform::P<ui::Control> found;
    return NavShowChild(path, Controls(), found);
}

platform::P<platform::com::Collection> ctlScrollPane::GetParameters(const std::string& /*ctlName*/) {
    return NavGetParameters(Controls());
}

}  // namespace dtm

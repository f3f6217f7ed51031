#include "pages/framework/ctlBar.h"

#include <cmath>

#include "core/services/Trace.h"
#include "platform/com/Error.h"
#include "platform/com/PropertyBag.h"
#include "platform/ui/Description.h"

namespace dtm {

namespace ui = platform::ui;
namespace com = platform::com;
using platform::Variant;

namespace {

constexpr double kDefaultMax = 100.0;
constexpr int16_t kShowArg1 = 13003;

// VB's Single arithmetic: a result beyond the Single range is an overflow.
float Checked(float value) {
    if (!std::isfinite(value)) com::Raise(com::errOverflow);
    return value;
}

std::string Text(float value) { return com::CStr(Variant::Sng(value)); }

// Whether a Let changes the stored value: VB's "<>", with two Nulls the same
// and a Null against anything else a change.
bool Differs(const Variant& a, const Variant& b) {
    if (a.IsNull() || b.IsNull()) return a.IsNull() != b.IsNull();
    return com::Compare(a, b) != com::Cmp::Equal;
}

}  // namespace

void ctlBar::BuildForm() {
    Scale1 = Place<platform::ctl::Scale>("Scale1");
    Scale1->RangeChanged.Connect([this] { Refresh(); });
}

void ctlBar::Trace(const std::string& member, const std::string& message) const {
    TraceOut(Name + "- " + member, message, nullptr);
}

void ctlBar::Caption(const std::string& newCaption) {
    if (newCaption == Scale1->Caption()) return;
    Scale1->Caption(newCaption);
    PropertyChanged("Caption");
}

void ctlBar::Color(int32_t newColor) {
    if (newColor == m_Color) return;
    m_Color = newColor;
    PropertyChanged("Color");
    Refresh();
}

void ctlBar::LimitColor(int32_t newColor) {
    if (newColor == m_LimitColor) return;
    m_LimitColor = newColor;
    PropertyChanged("LimitColor");
    Refresh();
}

void ctlBar::SetRangeEnd(const Variant& value, bool upper) {
    const double actual = upper ? Scale1->ActualRangeMax() : Scale1->ActualRangeMin();
    if (!Differs(value, Variant::Dbl(actual))) return;
    const char* member = upper ? "Let RangeMax" : "Let RangeMin";
    double number = 0;
    try {
        number = com::CDbl(Variant(com::CStr(value)));
    } catch (const com::ComError& e) {
        Trace(member, "Range value ignored: error " + std::to_string(e.number));
        return;
    }
    if (std::isnan(number)) {
        Trace(member, "Range value ignored: not a number");
        return;
    }
    // The end keeps the number of the value's text: a Single read again
    // differs from it, yet is no change.
    if (number == actual) return;
    if (upper) {
        Scale1->RangeMax(number);
        Scale1->ActualRangeMax(Scale1->RangeMax());
        PropertyChanged("RangeMax");
    } else {
        Scale1->RangeMin(number);
        Scale1->ActualRangeMin(Scale1->RangeMin());
        PropertyChanged("RangeMin");
    }
    Refresh();
}

void ctlBar::RangeMin(const Variant& newMin) { SetRangeEnd(newMin, false); }
void ctlBar::RangeMax(const Variant& newMax) { SetRangeEnd(newMax, true); }

void ctlBar::SetShown(Variant& field, const Variant& value) {
    // Empty compares as 0, but a value of 0 must still replace "no value".
    if (!Differs(field, value) && field.IsEmpty() == value.IsEmpty()) return;
    field = value;
    Refresh();
}

void ctlBar::Value(const Variant& newValue) { SetShown(m_value, newValue); }
void ctlBar::LimitMin(const Variant& limit) { SetShown(m_LimitMin, limit); }
void ctlBar::LimitMax(const Variant& limit) { SetShown(m_LimitMax, limit); }

void ctlBar::Mirrored(bool on) {
    if (on == Scale1->Mirrored()) return;
    Scale1->Mirrored(on);
    PropertyChanged("Mirrored");
    Refresh();
}

void ctlBar::UserLanguage(int16_t language) {
    if (language != Scale1->UserLanguage()) Scale1->UserLanguage(language);
}

void ctlBar::InitProperties() {
    Scale1->Caption("");
    m_Color = 0;
    m_LimitColor = 0;
    Scale1->RangeMin(0.0);
    Scale1->ActualRangeMin(0.0);
    Scale1->RangeMax(kDefaultMax);
    Scale1->ActualRangeMax(kDefaultMax);
    Scale1->Mirrored(false);
}

void ctlBar::ReadProperties(const com::PropertyBag& bag) {
    Scale1->Caption(com::CStr(bag.ReadProperty("Caption", Variant(std::string()))));
    m_Color = com::CLng(bag.ReadProperty("Color", Variant::Lng(0)));
    m_LimitColor = com::CLng(bag.ReadProperty("LimitColor", Variant::Lng(0)));
    const double low = com::CDbl(bag.ReadProperty("RangeMin", Variant::Dbl(0.0)));
    const double high = com::CDbl(bag.ReadProperty("RangeMax", Variant::Dbl(kDefaultMax)));
    Scale1->RangeMin(low);
    Scale1->RangeMax(high);
    Scale1->ActualRangeMin(low);
    Scale1->ActualRangeMax(high);
    Scale1->Mirrored(com::CBool(bag.ReadProperty("Mirrored", Variant::Bool(false))));
}

void ctlBar::WriteProperties(com::PropertyBag& bag) {
    bag.WriteProperty("Caption", Variant(Scale1->Caption()), Variant(std::string()));
    bag.WriteProperty("Color", Variant::Lng(m_Color), Variant::Lng(0));
    bag.WriteProperty("LimitColor", Variant::Lng(m_LimitColor), Variant::Lng(0));
    bag.WriteProperty("RangeMin", Variant::Dbl(Scale1->ActualRangeMin()), Variant::Dbl(0.0));
    bag.WriteProperty("RangeMax", Variant::Dbl(Scale1->ActualRangeMax()), Variant::Dbl(kDefaultMax));
    bag.WriteProperty("Mirrored", Variant::Bool(Scale1->Mirrored()), Variant::Bool(false));
}

void ctlBar::Show() { Scale1->Method12015(Variant::Int(kShowArg1), Variant::Bool(true)); }

void ctlBar::Resize() {
    const float q = ScaleHeight() * 0.25f;
    Scale1->Move(0, q, ScaleWidth(), 3 * q);
    Refresh();
}

void ctlBar::Paint() {
    const char* member = "UserControl_Paint";
    try {
        Trace(member, "Beginning of function");
        Trace(member, "m_value = " + com::CStr(m_value));
        const float p = ScaleX(1, ui::vbPixels, ui::vbTwips);
        const float w = ScaleWidth() - p;
        const auto min = static_cast<float>(Scale1->ActualRangeMin());
        const auto max = static_cast<float>(Scale1->ActualRangeMax());
        Trace(member, "w = " + Text(w));
        Trace(member, "Scale1.ActualRangeMax = " + Text(max));
        Trace(member, "Scale1.ActualRangeMin = " + Text(min));
        const float value = com::CSng(m_value);
        float x = 0, xo = 0;
        if (min != max) {
            x = Checked((value - min) * w / (max - min));
            xo = min >= 0 ? 0 : Checked(std::fabs(min) * w / (max - min));
        }
        const float y = ScaleHeight() * 0.25f;
        Trace(member, "Calculated values are following:");
        Trace(member, "X  = " + Text(x));
        Trace(member, "Xo = " + Text(xo));
        Trace(member, "Y  = " + Text(y));
        Canvas().FillRect(x, 0, w, y, BackColor());
        Canvas().FillRect(xo, 0, Mirrored() ? w - x : x, y, m_Color);
        if (min != max) {
            for (const Variant* limit : {&m_LimitMin, &m_LimitMax}) {
                const float at = Checked((com::CSng(*limit) - min) * w / (max - min));
                Canvas().FillRect(at, 0, at, y, m_LimitColor);
            }
        }
        Trace(member, "Calculation succesfull, end of routine");
    } catch (...) {
        Trace(member, "Error in function, most possible reason: Overflow");
    }
}

void ctlBar::Describe(ui::Description& d) const {
    UserControl::Describe(d);
    const auto text = [](const Variant& v) { return ui::ValueText(v); };
    d.Attr("value=" + text(m_value));
    d.Attr("range=" + text(RangeMin()) + ".." + text(RangeMax()));
    d.Attr("limits=" + text(m_LimitMin) + ".." + text(m_LimitMax));
    if (!ToolTipText().empty()) d.Attr("tip=" + ui::Quote(ToolTipText()));
    d.Prop("value", m_value);
    d.Prop("rangeMin", RangeMin());
    d.Prop("rangeMax", RangeMax());
    d.Prop("limitMin", m_LimitMin);
    d.Prop("limitMax", m_LimitMax);
}

}  // namespace dtm

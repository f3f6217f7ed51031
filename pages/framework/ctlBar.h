#pragma once
// A measured value as a horizontal bar with two limit marks, above the scale
// control Scale1 that holds the range, caption, mirroring and language. The
// bar draws itself in the top quarter of its area from the scale's actual
// range; the scale fills the lower three quarters.
//
// A range value that does not convert to a number (Empty, Null, NaN, a text
// that is no number) is ignored and traced; the range stays as it was. Any
// error while painting ends the paint with a trace line; nothing reaches the
// host.
#include <cstdint>
#include <string>

#include "platform/com/Variant.h"
#include "platform/ctl/Scale.h"
#include "platform/ui/UserControl.h"

namespace dtm {

class ctlBar : public platform::ui::UserControl {
public:
    std::string TypeName() const override { return "ctlBar"; }

    std::string Caption() const { return Scale1->Caption(); }
    void Caption(const std::string& newCaption);
    int32_t Color() const { return m_Color; }
    void Color(int32_t newColor);
    int32_t LimitColor() const { return m_LimitColor; }
    void LimitColor(int32_t newColor);
    platform::Variant RangeMin() const { return platform::Variant::Dbl(Scale1->ActualRangeMin()); }
    void RangeMin(const platform::Variant& newMin);
    platform::Variant RangeMax() const { return platform::Variant::Dbl(Scale1->ActualRangeMax()); }
    void RangeMax(const platform::Variant& newMax);
    const platform::Variant& Value() const { return m_value; }
    void Value(const platform::Variant& newValue);
    bool Mirrored() const { return Scale1->Mirrored(); }
    void Mirrored(bool on);
    int16_t UserLanguage() const { return Scale1->UserLanguage(); }
    void UserLanguage(int16_t language);
    const platform::Variant& LimitMin() const { return m_LimitMin; }
    void LimitMin(const platform::Variant& limit);
    const platform::Variant& LimitMax() const { return m_LimitMax; }
    void LimitMax(const platform::Variant& limit);

    platform::P<platform::ctl::Scale> Scale1;

    void InitProperties() override;
    void ReadProperties(const platform::com::PropertyBag& bag) override;
    void WriteProperties(platform::com::PropertyBag& bag) override;
    void Show() override;
    void Resize() override;
    void Paint() override;
    void Describe(platform::ui::Description& d) const override;

protected:
    void BuildForm() override;

private:
    // Sets one end of the range (RangeMin or RangeMax) as described above.
    void SetRangeEnd(const platform::Variant& value, bool upper);
    // Stores a shown value (value or limit) when it differs, and repaints.
    void SetShown(platform::Variant& field, const platform::Variant& value);
    void Trace(const std::string& member, const std::string& message) const;

    int32_t m_Color = 0;
    int32_t m_LimitColor = 0;
    platform::Variant m_value, m_LimitMin, m_LimitMax;
};

}  // namespace dtm

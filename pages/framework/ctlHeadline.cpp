#include "pages/framework/ctlHeadline.h"

#include <cmath>

#include "platform/app/Path.h"

namespace dtm {

namespace ui = platform::ui;

namespace {

constexpr float kLogoGap = 10;  // from the logo to the right edge

}  // namespace

void ShowPicture(ui::Image& image, const platform::P<ui::Picture>& picture) {
    image.Picture(picture);
    const auto twips = [](float himetric) {
        return std::round(ui::UserControl::ScaleX(himetric, ui::vbHimetric, ui::vbTwips));
    };
    image.Move(image.Left(), image.Top(), twips(picture->Width), twips(picture->Height));
}

void ctlHeadline::BuildForm() {
    lblTitle = Place<ui::Label>("lblTitle");
    lblTitle->Caption("Device Name");
    imgLogo = Place<ui::Image>("imgLogo");
    Image1 = Place<ui::Image>("Image1");
    lblTag = Place<ui::Label>("lblTag");
    lblTag->Caption("Tag");
}

void ctlHeadline::Initialize() {
    ShowPicture(*imgLogo, ui::LoadPicture(platform::app::File("\\XMLData\\companyIcon.bmp")));
}

void ctlHeadline::InitProperties() { lblTitle->Caption(""); }

void ctlHeadline::ReadProperties(const platform::com::PropertyBag& bag) {
    lblTitle->Caption(platform::com::CStr(bag.ReadProperty("Title", platform::Variant(std::string()))));
}

void ctlHeadline::WriteProperties(platform::com::PropertyBag& bag) {
    bag.WriteProperty("Title", platform::Variant(lblTitle->Caption()));
}

void ctlHeadline::Resize() { imgLogo->Left(ScaleWidth() - imgLogo->Width() - kLogoGap); }

void ctlHeadline::DeviceIcon(const std::string& newIcon) {
    const char* file = newIcon == "RXD214" ? "\\XMLData\\RXD214.bmp" : "\\XMLData\\RXD218.bmp";
    try {
        ShowPicture(*Image1, ui::LoadPicture(platform::app::File(file)));
    } catch (...) {
        // The picture stays as it was.
    }
}

void ctlHeadline::Describe(ui::Description& d) const {
    UserControl::Describe(d);
    d.Attr(ui::Quote(lblTitle->Caption()));
    d.Attr("tag=" + ui::Quote(lblTag->Caption()));
    if (const auto& picture = Image1->Picture()) d.Attr("picture=" + picture->DisplayName());
}

}  // namespace dtm

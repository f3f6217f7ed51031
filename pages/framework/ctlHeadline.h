#pragma once
// The banner of the top-level pages: a title, the device's tag, a picture of
// the device model and the logo at the right edge. The host fills it from its
// InitLanguageDependedControls; "Title" is kept in the host's property bag.
//
// The logo is loaded at creation without a trap: a missing or unreadable
// "\XMLData\companyIcon.bmp" fails the creation of the headline, and so of its
// page.
#include <string>

#include "platform/ui/CaptionControls.h"
#include "platform/ui/IntrinsicControls.h"
#include "platform/ui/UserControl.h"

namespace dtm {

class ctlHeadline : public platform::ui::UserControl {
public:
    std::string TypeName() const override { return "ctlHeadline"; }

    std::string Title() const { return lblTitle->Caption(); }
    void Title(const std::string& newTitle) { lblTitle->Caption(newTitle); }
    std::string DTMTag() const { return lblTag->Caption(); }
    void DTMTag(const std::string& newTag) { lblTag->Caption(newTag); }
    // "RXD214" exactly shows the RXD 214 picture, any other text the RXD 218
    // one; a picture that does not load leaves the shown one.
    void DeviceIcon(const std::string& newIcon);

    platform::P<platform::ui::Label> lblTitle;
    platform::P<platform::ui::Image> imgLogo;
    platform::P<platform::ui::Image> Image1;
    platform::P<platform::ui::Label> lblTag;

    void Initialize() override;
    void InitProperties() override;
    void ReadProperties(const platform::com::PropertyBag& bag) override;
    void WriteProperties(platform::com::PropertyBag& bag) override;
    void Resize() override;
    void Describe(platform::ui::Description& d) const override;

protected:
    void BuildForm() override;
};

// Gives an image control the picture and the picture's size in whole twips.
void ShowPicture(platform::ui::Image& image, const platform::P<platform::ui::Picture>& picture);

}  // namespace dtm

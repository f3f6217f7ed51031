#pragma once
// The About page (function 99): the headline, the device type's vendor and
// descriptor, the component's version and the Physical Block's profile
// revision. The row starts locked when the runtime is locked.
#include "pages/framework/PageBase.h"
#include "pages/framework/ctlHeadline.h"
#include "platform/ctl/ctlParameter.h"
#include "platform/ui/CaptionControls.h"

namespace dtm {

class ctlAbout : public PageBase {
public:
    ctlAbout();

    platform::P<dtm::ctlHeadline> ctlHeadline;
    platform::P<platform::ctl::ctlParameter> ctlParameter;
    platform::P<platform::ui::Label> about_info_lbl;

protected:
    void BuildForm() override;
    void ConfigureLink(clsParamLink& link) override;
    void InitLanguageDependedControls(int32_t languageId) override;
};

}  // namespace dtm

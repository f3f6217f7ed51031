#pragma once
// The page the frame gets instead of a further window: a warning picture and
// one warning text. A missing warning icon fails its Init.
#include "pages/framework/PageBase.h"
#include "platform/ui/IntrinsicControls.h"

namespace dtm {

class ctlNoMoreWindows : public PageBase {
public:
    ctlNoMoreWindows();

    platform::P<platform::ui::PictureBox> Picture1;
    platform::P<platform::ui::TextBox> txtwarning;

protected:
    void BuildForm() override;
    void ConfigureLink(clsParamLink& link) override;
    void InitLanguageDependedControls(int32_t languageId) override;
};

}  // namespace dtm

#pragma once
// A window of fixed tabs whose keys name the page's controls, under a
// headline and with a help button: each tab shows its control and hides the
// others, tab 1 after opening. A navigation path "TabStrip.n" selects tab n
// before the rest of the path is followed; one whose tail names no tab of the
// strip answers False and selects nothing.
#include <string>

#include "pages/framework/NavigablePage.h"
#include "pages/framework/ctlHeadline.h"
#include "platform/ui/CaptionControls.h"
#include "platform/ui/TabStrip.h"

namespace dtm {

class TabWindow : public NavigablePage {
public:
    using NavigablePage::NavigablePage;

    platform::P<platform::ui::CommandButton> HelpButton;
    platform::P<dtm::ctlHeadline> ctlHeadline;
    platform::P<platform::ui::TabStrip> TabStrip;

protected:
    // The template's steps, then the tab of the selected control shown.
    void InitControls() override;
    // The template's steps, then the headline and the help button's caption.
    void InitLanguageDependedControls(int32_t languageId) override;
    void SelectTabForPath(const std::string& head, const std::string& tail) override;

    // Form steps (call from BuildForm, in the form's order).
    void PlaceHelpButton();
    void PlaceHeadline();
    // Takes the strip named "TabStrip" among the placed controls and handles its clicks.
    void BindTabStrip();

    void TabStrip_Click();

private:
    void HelpButton_Click();
};

}  // namespace dtm

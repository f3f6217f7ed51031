#pragma once
// A page hosting a block tab strip (BlockTabStrip): the strip "TabStrip" with
// the page's entry in BlockTabHosts(), started at the end of InitControls and
// stopped before the page's own release, captioned with the headline and the
// help button, following the ident number selector and the channels of the
// function blocks. A page places its controls in BuildForm, attaches the tabs
// once TabStrip is placed and handles the tab clicks in TabStrip_Click.
//
// ctlHeadline and HelpButton stay null on a page that has none.
#include <memory>
#include <string>

#include "pages/framework/BlockTabStrip.h"
#include "pages/framework/NavigablePage.h"
#include "pages/framework/ctlHeadline.h"
#include "platform/ui/CaptionControls.h"
#include "platform/ui/TabStrip.h"

namespace dtm {

class BlockTabPage : public NavigablePage {
public:
    explicit BlockTabPage(const PageTraits& traits, NavForm form = NavForm::Reference) : NavigablePage(traits, form) {}

    // Brings the tabs in line with a comma-separated list of tab keys.
    void TabStrip_Update(const std::string& strTabs) { tabs_->Update(strTabs); }
    BlockTabStrip& Tabs() const { return *tabs_; }

    platform::P<platform::ui::TabStrip> TabStrip;
    platform::P<dtm::ctlHeadline> ctlHeadline;
    platform::P<platform::ui::CommandButton> HelpButton;

protected:
    // Places "HelpButton", its click showing the help file (call from BuildForm).
    void PlaceHelpButton();
    // The block tab strip over TabStrip, its clicks and its selection repair
    // running TabStrip_Click (call from BuildForm once TabStrip is placed).
    void AttachBlockTabs();

    // The children, then the tab strip's closing click.
    void InitControls() override;
    // The tab strip stops, then the children are released.
    bool ExitControls() override;
    // The headline, the tab captions, the help button's caption.
    void InitLanguageDependedControls(int32_t languageId) override;
    // The rows, then the tab list (selector) or a tab caption (CHANNEL).
    void UpdateParameterCtl(const platform::P<platform::rt::IPrivateDataElement>& element) override;
    // The rows, then the tab list of the selector's value.
    void UpdateAllParameterCtls() override;

    virtual void TabStrip_Click() = 0;
    virtual void HelpButton_Click();

    std::unique_ptr<BlockTabStrip> tabs_;
};

}  // namespace dtm

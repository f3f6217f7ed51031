#pragma once
// The profile block view (function 8): every parameter of one device block
// at a time, one tab per block. The block view of the selected tab is loaded
// into the scroll pane by program id and initialised under the page's invoke
// id & "." & view name & block number & "$"; a tab change releases it first.
//
// A search over the page (InitControl) loads the Physical, Transducer and AI
// views into the pane once, invisible and not initialised, so that their rows
// can be found; a later search reuses them.
#include <cstdint>
#include <memory>
#include <string>

#include "pages/framework/BlockTabStrip.h"
#include "pages/framework/NavigablePage.h"
#include "pages/framework/clsCtlResize.h"
#include "pages/framework/ctlHeadline.h"
#include "pages/framework/ctlScrollPane.h"
#include "pages/framework/ctlStatus.h"
#include "platform/ui/CaptionControls.h"
#include "platform/ui/TabStrip.h"

namespace dtm {

class ctlProfilViewDyn : public NavigablePage {
public:
    // The views of the tabs: control name in the pane and the BlockIndex each gets.
    enum class ViewIndex { None, One, TabNumber };
    struct ChildView {
        const char* view;
        const char* control;
        ViewIndex index;
    };
    static const ChildView* FindChildView(const std::string& view);

    ctlProfilViewDyn();

    void TabStrip_Update(const std::string& strTabs) { tabs_->Update(strTabs); }
    BlockTabStrip& Tabs() const { return *tabs_; }
    // The block view loaded last (null before the first).
    const platform::P<platform::ui::Control>& BlockView() const { return m_BlockView; }

    void InitControl(const platform::Variant& data) override;
    void Resize() override;

    platform::P<platform::ui::CommandButton> HelpButton;
    platform::P<dtm::ctlStatus> ctlStatus;
    platform::P<dtm::ctlScrollPane> ctlScrollPane;
    platform::P<platform::ui::TabStrip> TabStrip;
    platform::P<dtm::ctlHeadline> ctlHeadline;

protected:
    void BuildForm() override;
    void InitControls() override;
    void InitLanguageDependedControls(int32_t languageId) override;
    bool ExitControls() override;
    void UpdateParameterCtl(const platform::P<platform::rt::IPrivateDataElement>& element) override;
    void UpdateAllParameterCtls() override;

private:
    void TabStrip_Click();
    void HelpButton_Click();

    std::unique_ptr<BlockTabStrip> tabs_;
    platform::P<platform::ui::Control> m_BlockView;
    std::unique_ptr<clsCtlResize> resizer_;
};

}  // namespace dtm

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

#include "pages/framework/BlockTabPage.h"
#include "pages/framework/clsCtlResize.h"
#include "pages/framework/ctlScrollPane.h"
#include "pages/framework/ctlStatus.h"

namespace dtm {

class ctlProfilViewDyn : public BlockTabPage {
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

    // The block view loaded last (null before the first).
    const platform::P<platform::ui::Control>& BlockView() const { return m_BlockView; }

    void InitControl(const platform::Variant& data) override;
    void Resize() override;

    platform::P<dtm::ctlStatus> ctlStatus;
    platform::P<dtm::ctlScrollPane> ctlScrollPane;

protected:
    void BuildForm() override;
    // The loaded view first: it lies in the pane, out of reach of the release of the page's own children.
    bool ExitControls() override;

private:
    void TabStrip_Click() override;

    platform::P<platform::ui::Control> m_BlockView;
    std::unique_ptr<clsCtlResize> resizer_;
};

}  // namespace dtm

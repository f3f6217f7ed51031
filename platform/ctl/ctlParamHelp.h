#pragma once
// The help pane of a page: shows the help text of one row. Nothing is drawn;
// what it was asked to show is kept for observation.
#include <cstdint>
#include <string>

#include "platform/ui/Control.h"

namespace platform::ctl {

class ctlParamHelp : public ui::Control {
public:
    std::string TypeName() const override { return "ctlParamHelp"; }

    const std::string& HelpText() const { return helpText_; }
    void HelpText(std::string text) { helpText_ = std::move(text); }
    // Shows the current text for the row window `hWnd`.
    void ShowHelp(int64_t hWnd) {
        lastShown_ = {helpText_, hWnd};
        ++showCount_;
    }
    // The member each page with a help pane calls at the end of InitControls; counted.
    void Activate() { ++activateCount_; }

    struct Shown {
        std::string text;
        int64_t hWnd = 0;
    };
    const Shown& LastShown() const { return lastShown_; }
    int32_t ShowCount() const { return showCount_; }
    int32_t ActivateCount() const { return activateCount_; }

    void Describe(ui::Description& d) const override;

private:
    std::string helpText_;
    Shown lastShown_;
    int32_t showCount_ = 0;
    int32_t activateCount_ = 0;
};

// A page that holds a help pane answers it to the links of its rows.
class IParamHelpHost {
public:
    virtual ~IParamHelpHost() = default;
    virtual P<ctlParamHelp> GetParamHelpCtl() = 0;
};

}  // namespace platform::ctl

#pragma once
// The block diagnosis page: block object, static revision, actual mode and
// channel of one block, the block given by BlockPrefix ("PHYS",
// "TRANS/1/FlowCori", "FUNC/3/AI"). The diagnosis window binds it to the
// block of its selected tab by releasing it, setting BlockIndex and
// BlockPrefix and initialising it again; the window reads the rows.
#include <cstdint>
#include <optional>
#include <string>

#include "pages/framework/NavigablePage.h"
#include "platform/ui/CaptionControls.h"

namespace dtm {

class ctlDiagBlock : public NavigablePage, public platform::ctl::IParamHelpHost {
public:
    ctlDiagBlock();
    platform::P<platform::ctl::ctlParamHelp> GetParamHelpCtl() override { return ctlParamHelp1; }

    int16_t BlockIndex = 1;
    std::string BlockPrefix = "PHYS";

    // The frame's caption; for a block class (ProfibusBlockFlags) the channel
    // row counts as valid only for a function block (3, 4). -1: caption only.
    void UpdateControl(const std::string& newCaption, int32_t newBlockClass);

    void InitProperties() override;
    void ReadProperties(const platform::com::PropertyBag& bag) override;
    void WriteProperties(platform::com::PropertyBag& bag) override;

    platform::P<platform::ui::Frame> frmDiagBlock;

protected:
    void BuildForm() override;
    void ConfigureLink(clsParamLink& link) override;
    void InitLanguageDependedControls(int32_t languageId) override;
    bool ExitControls() override;

private:
    // The frame's caption as the host gave it for the block the page is bound
    // to: a language change keeps it; a release forgets it.
    std::optional<std::string> caption_;
};

}  // namespace dtm

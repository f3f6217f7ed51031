#pragma once
// The block views of the profile block view: every parameter of one PA block
// as a column of rows, loaded into the view's scroll pane by program id. One
// class per block kind serves every instance of its kind through BlockIndex,
// which is set before Init. The page is exactly as tall as its rows, so that
// the pane scrolls it; a path that names a row scrolls the pane to that row.
#include <cstdint>

#include "pages/framework/BlockIndexedPage.h"
#include "pages/parameterisation/ProfilBlockRows.h"
#include "platform/ctl/ctlParamHelp.h"

namespace dtm {

class ctlProfilBlockView : public BlockIndexedPage, public platform::ctl::IParamHelpHost {
public:
    explicit ctlProfilBlockView(const ProfilBlockForm& form);
    const ProfilBlockForm& Form() const { return form_; }

    using BlockIndexedPage::BlockIndex;
    void BlockIndex(int16_t index) override;
    platform::P<platform::ctl::ctlParamHelp> GetParamHelpCtl() override { return ctlParamHelp1; }

    platform::P<platform::com::Collection> GetDictKeys(const std::string& ctlName) override;
    // A row found by the path is scrolled into sight when the page lies in a scroll pane.
    bool ShowControl(const std::string& controlPfad, const std::string& ctlName) override;

    void Initialize() override;
    void Resize() override;

protected:
    void BuildForm() override;
    void ConfigureLink(clsParamLink& link) override;
    void InitLanguageDependedControls(int32_t languageId) override;

private:
    // The bottom of the lowest row or label.
    float ContentBottom() const;

    const ProfilBlockForm& form_;
    bool recorded_ = false;
    float recordedWidth_ = 0, recordedHeight_ = 0;
};

class ctlProfilPhysicalBlock : public ctlProfilBlockView {
public:
    ctlProfilPhysicalBlock() : ctlProfilBlockView(kPhysicalBlockForm) {}
};
class ctlProfilTBFlowCoriolis : public ctlProfilBlockView {
public:
    ctlProfilTBFlowCoriolis() : ctlProfilBlockView(kTransducerBlockForm) {}
};
class ctlProfilFunctionBlockAI : public ctlProfilBlockView {
public:
    ctlProfilFunctionBlockAI() : ctlProfilBlockView(kAIBlockForm) {}
};
class ctlProfilFunctionBlockTOT : public ctlProfilBlockView {
public:
    ctlProfilFunctionBlockTOT() : ctlProfilBlockView(kTotaliserBlockForm) {}
};

}  // namespace dtm

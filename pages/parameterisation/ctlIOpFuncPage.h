#pragma once
// The AI and Totaliser I/O pages, the children of the function block I/O
// page: the input and output settings of one function block, chosen by
// BlockIndex, under its header rows; an inner tab strip switches between the
// measurement settings, the output limits and the batch information.
#include <cstdint>
#include <span>
#include <string>

#include "pages/framework/BlockTabStrip.h"
#include "pages/framework/BlockIndexedPage.h"
#include "pages/parameterisation/FormTable.h"
#include "platform/ctl/ctlParamHelp.h"
#include "platform/ui/TabStrip.h"

namespace dtm {

struct IOpFuncForm {
    const char* className;
    std::span<const FormLine> lines;
    int16_t defaultBlock;            // BlockIndex of a new page or a bag without it
    const std::string& (*blockPrefix)(int16_t);
    bool refreshOnBlockIndex;        // a new BlockIndex redraws the rows it holds
};

class ctlIOpFuncPage : public BlockIndexedPage, public platform::ctl::IParamHelpHost, public IChannelParameterName {
public:
    explicit ctlIOpFuncPage(const IOpFuncForm& form);
    platform::P<platform::ctl::ctlParamHelp> GetParamHelpCtl() override { return ctlParamHelp1; }

    using BlockIndexedPage::BlockIndex;
    void BlockIndex(int16_t newBlockIndex) override;
    // The path of the CHANNEL element of block idx, whatever BlockIndex holds.
    std::string ChannelParameterName(int16_t idx) const override;

    platform::P<platform::ui::TabStrip> TabStrip;

protected:
    void BuildForm() override;
    void ConfigureLink(clsParamLink& link) override;
    void InitLanguageDependedControls(int32_t languageId) override;

private:
    void TabStrip_Click();

    const IOpFuncForm& form_;
};

class ctlIOpFuncAI : public ctlIOpFuncPage {
public:
    ctlIOpFuncAI();
};

class ctlIOpFuncTOT : public ctlIOpFuncPage {
public:
    ctlIOpFuncTOT();
};

}  // namespace dtm

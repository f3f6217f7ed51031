#pragma once
// The output pages of one function block, tabs of the function block outputs
// window: ctlMeasOutAI shows an AI block's output with a bar over its output
// scale, its status and its simulation switch and actual mode; ctlMeasOutTOT
// shows a Totaliser block's total and its status. The window sets BlockIndex
// and initialises the page again; "%d" in the rows' tags and in the frame
// captions stands for the block number.
#include <cstdint>
#include <span>
#include <string>

#include "pages/framework/BlockTabStrip.h"
#include "pages/framework/BlockIndexedPage.h"
#include "pages/framework/ctlBar.h"
#include "pages/parameterisation/FormTable.h"

namespace dtm {

struct MeasOutForm {
    const char* className;
    int16_t defaultBlockIndex;
    const char* channelPattern;       // the block's CHANNEL, "%d" for the number
    std::span<const FormLine> lines;  // frames and rows
    const char* barFrame;             // the frame holding the output bar; null for none
};

class ctlMeasOutBlock : public BlockIndexedPage,
                        public platform::ctl::IParamHelpHost,
                        public IChannelParameterPattern {
public:
    explicit ctlMeasOutBlock(const MeasOutForm& form);
    platform::P<platform::ctl::ctlParamHelp> GetParamHelpCtl() override { return ctlParamHelp1; }

    // BlockIndex is stored only: the rows follow at the next Init.
    std::string ChannelParameterName() const override { return form_.channelPattern; }

protected:
    void BuildForm() override;
    void ConfigureLink(clsParamLink& link) override;
    void InitLanguageDependedControls(int32_t languageId) override;

    const MeasOutForm& form_;
};

class ctlMeasOutAI : public ctlMeasOutBlock {
public:
    ctlMeasOutAI();
    platform::P<ctlBar> barAIOut;

protected:
    void BuildForm() override;
    void UpdateParameterCtl(const platform::P<platform::rt::IPrivateDataElement>& element) override;
    void UpdateAllParameterCtls() override;

private:
    // The bar's part of an element of the shown block: the output value with
    // its tool tip, or an end of the output scale as limit mark and range end.
    void UpdateAIOutParameter(const platform::P<platform::rt::IPrivateDataElement>& element);
};

class ctlMeasOutTOT : public ctlMeasOutBlock {
public:
    ctlMeasOutTOT();
};

}  // namespace dtm

#pragma once
// The three tab pages of the input page: rows of the Flow Coriolis Transducer
// Block 1 in frames, edited offline. The control parameters page keeps its
// row labels whole; the two limit pages cut them before the unit in brackets.
// BlockIndex goes to the rows' link as the number for "%d"; no tag of these
// pages holds one.
#include <cstdint>
#include <span>

#include "pages/framework/NavigablePage.h"
#include "pages/parameterisation/FormTable.h"
#include "platform/ctl/ctlParamHelp.h"

namespace dtm {

struct InpTabForm {
    const char* className;
    std::span<const FormLine> lines;
    bool cutLabels;  // labels cut before their first "("
};

class ctlInpTabPage : public NavigablePage, public platform::ctl::IParamHelpHost {
public:
    explicit ctlInpTabPage(const InpTabForm& form);
    platform::P<platform::ctl::ctlParamHelp> GetParamHelpCtl() override { return ctlParamHelp1; }

    int16_t BlockIndex = 0;

protected:
    void BuildForm() override;
    void ConfigureLink(clsParamLink& link) override;
    void InitLanguageDependedControls(int32_t languageId) override;

private:
    const InpTabForm& form_;
};

class ctlInpCtrlParam : public ctlInpTabPage {
public:
    ctlInpCtrlParam();
};

class ctlInpMeasLimits : public ctlInpTabPage {
public:
    ctlInpMeasLimits();
};

class ctlInpMeasConLimits : public ctlInpTabPage {
public:
    ctlInpMeasConLimits();
};

}  // namespace dtm

#pragma once
// The flow and the concentration tab of the measured values window: four
// measured variables each, each as a bar graph beside its value, status and
// limit rows. The bar shows the value with the description and unit as its
// tool tip; its limit marks and its scale both span the variable's limits.
// One design built twice: ctlMeasFlow and ctlMeasConc differ only in names
// and paths.
#include <array>
#include <cstdint>
#include <span>

#include "pages/framework/BlockIndexedPage.h"
#include "pages/framework/ctlBar.h"
#include "pages/parameterisation/FormTable.h"

namespace dtm {

// One variable of a bar page: its frame, the picture box holding its bar,
// the bar and the paths the bar shows.
struct BarGroup {
    const char* frame;
    const char* picture;
    const char* bar;
    const char* value;
    const char* loLimit;
    const char* hiLimit;
};

struct MeasBarsForm {
    const char* className;
    std::span<const FormLine> lines;  // frames, their pictures and rows
    std::array<BarGroup, 4> groups;   // in the order the bars are refreshed
};

class ctlMeasBars : public BlockIndexedPage, public platform::ctl::IParamHelpHost {
public:
    explicit ctlMeasBars(const MeasBarsForm& form);
    platform::P<platform::ctl::ctlParamHelp> GetParamHelpCtl() override { return ctlParamHelp1; }

    // BlockIndex is stored only: the rows stay bound to transducer block 1.
    platform::P<ctlBar> Bar(size_t i) const { return bars_.at(i); }

protected:
    void BuildForm() override;
    void ConfigureLink(clsParamLink& link) override;
    void InitLanguageDependedControls(int32_t languageId) override;
    void UpdateParameterCtl(const platform::P<platform::rt::IPrivateDataElement>& element) override;
    void UpdateAllParameterCtls() override;

private:
    // The bar's part of element `path`: value and tool tip, or a limit with its end of the scale.
    void ShowOnBar(ctlBar& bar, const BarGroup& group, const std::string& path,
                   const platform::P<platform::rt::IPrivateDataElement>& element);

    const MeasBarsForm& form_;
    std::array<platform::P<ctlBar>, 4> bars_;
};

class ctlMeasFlow : public ctlMeasBars {
public:
    ctlMeasFlow();
};

class ctlMeasConc : public ctlMeasBars {
public:
    ctlMeasConc();
};

}  // namespace dtm

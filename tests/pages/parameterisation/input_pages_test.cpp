// The input page and its three tab pages: the sub-page shown by the tab strip,
// the labels cut before their unit on the two limit pages, and BlockIndex,
// which reaches the link but names no block in these pages' tags.
#include <gtest/gtest.h>

#include "ParamPagesFixture.h"
#include "model/elements/clsDataElement.h"
#include "pages/parameterisation/ctlInpTabPage.h"
#include "pages/parameterisation/ctlInput.h"
#include "platform/ui/CaptionControls.h"
#include "platform/ui/Input.h"

namespace dtm {
namespace {

namespace ui = platform::ui;
using platform::P;

using InputPages = testing::ParamPagesFixture;

TEST_F(InputPages, TheControlParametersAreTheFirstSubPage) {
    auto page = Create<ctlInput>("ctlInput");
    ASSERT_TRUE(page->Init("{off}.3$", "", frame->Session().Dtm()));
    EXPECT_TRUE(page->ctlInpCtrlParam->Visible());
    EXPECT_FALSE(page->ctlInpMeasLimits->Visible());
    EXPECT_FALSE(page->ctlInpMeasConLimits->Visible());
    EXPECT_TRUE(page->ctlInpMeasLimits->Initialised());
    EXPECT_EQ(page->TabStrip->Tabs().Item(2)->Caption(), "Measuring limits");
    EXPECT_EQ(dynamic_cast<ui::Frame&>(*page->ctlInpMeasLimits->Controls().Item("frmTempLimit")).Caption(), "Temperature");

    ASSERT_TRUE(ui::Input::ClickTab(*page->TabStrip, 2));
    EXPECT_FALSE(page->ctlInpCtrlParam->Visible());
    EXPECT_TRUE(page->ctlInpMeasLimits->Visible());
    EXPECT_FALSE(page->ctlInpMeasConLimits->Visible());
    // A path into a hidden sub-page leaves the sub-tab as it is.
    EXPECT_TRUE(page->ShowControl("ctlInput.ctlInpMeasConLimits.ctlParameter.1", "ctlInput"));
    EXPECT_EQ(page->TabStrip->SelectedItem()->Index(), 2);
    EXPECT_TRUE(page->PrepareToRelease());
    EXPECT_FALSE(page->ctlInpMeasLimits->Initialised());
}

struct LabelCase {
    const char* name;
    const char* label;
    const char* limitPages;   // what the limit pages show
    const char* controlPage;  // what the control parameters page shows
};

const LabelCase kLabels[] = {
    {"UnitInBrackets", "Lower limit (kg/s)", "Lower limit ", "Lower limit (kg/s)"},
    {"NoBracket", "Lower limit", "Lower limit", "Lower limit"},
    {"StartsWithABracket", "(kg/s) lower", "", "(kg/s) lower"},
    {"TwoBrackets", "Limit (a) (b)", "Limit ", "Limit (a) (b)"},
};

class InputLabels : public testing::ParamPagesFixture, public ::testing::WithParamInterface<LabelCase> {
protected:
    // The label the page's row shows for an element labelled as the case says,
    // after a language change.
    template <class Page>
    std::string Shown(const char* className, const char* path, int16_t row) {
        auto page = Create<Page>(className);
        EXPECT_TRUE(page->Init("{in}.1$", "", frame->Session().Dtm()));
        dynamic_cast<clsDataElement&>(*Params().Item(path)).Label = GetParam().label;
        page->SetLanguage(1033);
        return RowOf(*page, row).LabelText();
    }
};

TEST_P(InputLabels, AreCutOnTheLimitPagesOnly) {
    const LabelCase& c = GetParam();
    EXPECT_EQ(Shown<ctlInpMeasLimits>("ctlInpMeasLimits", "TRANS/1/FlowCori/MASS_FLOW_LO_LIMIT", 1), c.limitPages);
    EXPECT_EQ(Shown<ctlInpMeasConLimits>("ctlInpMeasConLimits", "TRANS/1/FlowCori/MANU/SOLID_FLOW_UNITS", 6),
              c.limitPages);
    EXPECT_EQ(Shown<ctlInpCtrlParam>("ctlInpCtrlParam", "TRANS/1/FlowCori/CALIBR_FACTOR", 0), c.controlPage);
}

INSTANTIATE_TEST_SUITE_P(Labels, InputLabels, ::testing::ValuesIn(kLabels),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(InputPages, BlockIndexNamesNoBlockInTheirTags) {
    auto page = Create<ctlInpMeasLimits>("ctlInpMeasLimits");
    page->BlockIndex = 5;
    ASSERT_TRUE(page->Init("{in}.3$", "", frame->Session().Dtm()));
    EXPECT_EQ(RowOf(*page, 0).Bound()->Name(), "TRANS/1/FlowCori/MASS_FLOW_UNITS");
    EXPECT_TRUE(page->ctlParamSite1->UnboundRows().empty());
    // The labels show no slot and index.
    EXPECT_EQ(RowOf(*page, 0).LabelText(), "Mass flow unit");
}

}  // namespace
}  // namespace dtm

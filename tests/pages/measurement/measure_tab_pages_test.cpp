// The tab pages of the measured values window on their own, initialised as
// children: the bars' answers to change notices, the overview's control
// types, the labels cut at "(", and BlockIndex with the control's properties.
#include "MeasurementFixture.h"
#include "pages/measurement/ctlDiagBlock.h"
#include "pages/measurement/ctlMeasBars.h"
#include "pages/measurement/ctlMeasOView.h"
#include "platform/com/PropertyBag.h"
#include "platform/rt/DtmGuiRegistry.h"

namespace {

using dtm::ctlBar;
using platform::P;
using platform::Variant;
namespace com = platform::com;

class MeasureTabPages : public dtm::testing::MeasurementFixture {
protected:
    template <class Page>
    P<Page> InitChild(const std::string& className) {
        auto page = Create<Page>(className);
        EXPECT_TRUE(page && page->Init("{window}.2$", "", frame->Session().Dtm()));
        return page;
    }
    // A value put into the element and told to the open pages.
    void Notice(const std::string& path, const Variant& value) {
        El(path).TransientValue = value;
        Ctx().GuiRegistry()->NotifyParameterChanged(Params().Item(path), "");
    }
    struct BarState {
        Variant value, limitMin, limitMax, rangeMin, rangeMax;
        std::string tip;
    };
    static BarState StateOf(const ctlBar& bar) {
        return {bar.Value(), bar.LimitMin(), bar.LimitMax(), bar.RangeMin(), bar.RangeMax(), bar.ToolTipText()};
    }
    static std::vector<BarState> States(const dtm::ctlMeasBars& page) {
        std::vector<BarState> states;
        for (size_t i = 0; i < 4; ++i) states.push_back(StateOf(*page.Bar(i)));
        return states;
    }
};

TEST_F(MeasureTabPages, ANoticeMovesOnlyTheBarPartItNames) {
    struct Case {
        const char* path;
        double value;
        size_t bar;       // the bar that changes (4: none)
        int field;        // 0 value, 1 low limit and scale start, 2 high limit and scale end
    };
    const Case cases[] = {
        {"TRANS/1/FlowCori/MASS_FLOW/Value", 0.125, 0, 0},
        {"TRANS/1/FlowCori/MASS_FLOW/Status", 99, 4, 0},
        {"TRANS/1/FlowCori/DENSITY_LO_LIMIT", 0.5, 2, 1},
        {"TRANS/1/FlowCori/DENSITY_HI_LIMIT", 1.5, 2, 2},
        {"TRANS/1/FlowCori/TEMPERATURE/Value", 300, 3, 0},
        {"TRANS/1/FlowCori/MANU/SOLID_FLOW/Value", 0.05, 4, 0},  // a variable of the other page
        {"TRANS/1/FlowCori/MASS_FLOW_UNITS", 1318, 4, 0},
    };
    const auto page = InitChild<dtm::ctlMeasFlow>("ctlMeasFlow");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        auto expected = States(*page);
        Notice(c.path, Variant::Dbl(c.value));
        if (c.bar < 4) {
            auto& state = expected[c.bar];
            if (c.field == 0) state.value = Variant::Dbl(c.value);
            if (c.field == 1) state.limitMin = state.rangeMin = Variant::Dbl(c.value);
            if (c.field == 2) state.limitMax = state.rangeMax = Variant::Dbl(c.value);
        }
        const auto after = States(*page);
        for (size_t i = 0; i < 4; ++i) {
            EXPECT_TRUE(com::CStr(after[i].value) == com::CStr(expected[i].value)) << i;
            EXPECT_EQ(com::CStr(after[i].rangeMin), com::CStr(expected[i].rangeMin)) << i;
            EXPECT_EQ(com::CStr(after[i].rangeMax), com::CStr(expected[i].rangeMax)) << i;
            EXPECT_EQ(com::CStr(after[i].limitMin), com::CStr(expected[i].limitMin)) << i;
            EXPECT_EQ(com::CStr(after[i].limitMax), com::CStr(expected[i].limitMax)) << i;
            EXPECT_EQ(after[i].tip, expected[i].tip) << i;
        }
    }
}

TEST_F(MeasureTabPages, ANewUnitReachesTheToolTipWithTheNextNoticeOfTheValue) {
    const auto page = InitChild<dtm::ctlMeasFlow>("ctlMeasFlow");
    const auto bar = page->Bar(0);
    EXPECT_EQ(bar->ToolTipText(), "Measured mass flow [kg/s]");
    auto& value = El("TRANS/1/FlowCori/MASS_FLOW/Value");
    value.nTransientUnit = 1318;  // as the model leaves it after a unit change
    Notice("TRANS/1/FlowCori/MASS_FLOW_UNITS", Variant::Int(1318));
    EXPECT_EQ(bar->ToolTipText(), "Measured mass flow [kg/s]");
    Notice("TRANS/1/FlowCori/MASS_FLOW/Value", Variant::Dbl(12.5));
    EXPECT_EQ(bar->ToolTipText(), "Measured mass flow [g/s]");
}

TEST_F(MeasureTabPages, BarsStartFromTheModelsValuesAndLabelsAreCutAtTheirParenthesis) {
    const auto page = InitChild<dtm::ctlMeasConc>("ctlMeasConc");
    const auto bar = page->Bar(1);  // mass concentration
    EXPECT_EQ(com::CStr(bar->RangeMax()), com::CStr(El("TRANS/1/FlowCori/MANU/MASS_CONCENTRATION_HI_LIMIT").TransientValue));
    EXPECT_EQ(bar->Color(), 0x0000FF);
    EXPECT_EQ(bar->LimitColor(), 0xFF0000);

    El("TRANS/1/FlowCori/MANU/MASS_CONCENTRATION/Value").Label = "Mass concentration (sugar)";
    page->SetLanguage(1033);
    EXPECT_EQ(RowOf(*page, 6).LabelText(), "Mass concentration ");
}

TEST_F(MeasureTabPages, TheOverviewShowsItsSixteenRowsAsPlainFieldsAfterEachFullRefresh) {
    const auto page = InitChild<dtm::ctlMeasOView>("ctlMeasOView");
    int rows = 0;
    for (const auto& control : page->Controls()) {
        const auto row = std::dynamic_pointer_cast<platform::ctl::ctlParameter>(control);
        if (!row) continue;
        ++rows;
        EXPECT_NE(row->Bound(), nullptr) << row->parameterTag();
        EXPECT_EQ(row->ControlType(), platform::ctl::kRowPlain) << row->parameterTag();
    }
    EXPECT_EQ(rows, 16);
    auto& status = RowOf(*page, 1);
    status.ControlType(platform::ctl::kRowValueList);
    Notice("TRANS/1/FlowCori/MASS_FLOW/Status", Variant::Int(128));
    EXPECT_EQ(status.ControlType(), platform::ctl::kRowValueList);
    page->ParameterSetChanged();
    EXPECT_EQ(status.ControlType(), platform::ctl::kRowPlain);
}

TEST_F(MeasureTabPages, BlockPagesKeepTheirBlockInTheControlsProperties) {
    struct Case {
        const char* className;
        int16_t index;
        const char* prefix;  // ctlDiagBlock only
    };
    const Case cases[] = {{"ctlMeasFlow", 3, nullptr}, {"ctlMeasConc", 5, nullptr}, {"ctlDiagBlock", 6, "FUNC/6/AI"}};
    const auto blockOf = [](const P<platform::ui::UserControl>& page) {
        if (auto bars = std::dynamic_pointer_cast<dtm::ctlMeasBars>(page)) return std::pair{bars->BlockIndex(), std::string()};
        const auto diag = std::dynamic_pointer_cast<dtm::ctlDiagBlock>(page);
        return std::pair{diag->BlockIndex, diag->BlockPrefix};
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.className);
        const auto fresh = Create<platform::ui::UserControl>(c.className);
        const auto defaults = blockOf(fresh);
        EXPECT_EQ(defaults.first, 1);
        if (c.prefix) {
            EXPECT_EQ(defaults.second, "PHYS");
        }

        com::PropertyBag empty;
        fresh->WriteProperties(empty);
        EXPECT_FALSE(empty.Contains("BlockIndex"));  // defaults are not written

        if (auto bars = std::dynamic_pointer_cast<dtm::ctlMeasBars>(fresh)) bars->BlockIndex(c.index);
        if (auto diag = std::dynamic_pointer_cast<dtm::ctlDiagBlock>(fresh)) {
            diag->BlockIndex = c.index;
            diag->BlockPrefix = c.prefix;
        }
        com::PropertyBag bag;
        fresh->WriteProperties(bag);
        const auto read = Create<platform::ui::UserControl>(c.className);
        read->ReadProperties(bag);
        EXPECT_EQ(blockOf(read), blockOf(fresh));
        read->ReadProperties(com::PropertyBag());
        EXPECT_EQ(blockOf(read), defaults);
    }
}

TEST_F(MeasureTabPages, TheBlockDiagnosisPageBindsItsPrefixAndMarksTheChannelValidForFunctionBlocksOnly) {
    const auto page = InitChild<dtm::ctlDiagBlock>("ctlDiagBlock");
    EXPECT_EQ(RowOf(*page, 6).Bound()->Name(), "PHYS/ST_REV");  // a new control shows the Physical Block
    ASSERT_TRUE(page->PrepareToRelease());
    page->BlockPrefix = "TRANS/1/FlowCori";
    ASSERT_TRUE(page->Init("{window}.ctlDiagBlock1$", "", frame->Session().Dtm()));
    EXPECT_EQ(RowOf(*page, 7).Bound()->Name(), "TRANS/1/FlowCori/MODE_BLK/Actual");
    Params().Modified(false);

    auto& channel = El("TRANS/1/FlowCori/CHANNEL");
    page->UpdateControl("Transducer Block", dtm::pbfTransducerBlock);
    EXPECT_FALSE(channel.Validity());
    EXPECT_EQ(page->frmDiagBlock->Caption(), "Transducer Block");
    channel.Validity(true);
    page->UpdateControl("Renamed", -1);  // the caption only
    EXPECT_TRUE(channel.Validity());
    EXPECT_EQ(page->frmDiagBlock->Caption(), "Renamed");
    EXPECT_FALSE(Params().Modified());
}

TEST_F(MeasureTabPages, BarPagesStayOnTransducerBlockOneForAnyBlockIndex) {
    const auto page = Create<dtm::ctlMeasFlow>("ctlMeasFlow");
    page->BlockIndex(4);
    ASSERT_TRUE(page->Init("{window}.3$", "", frame->Session().Dtm()));
    EXPECT_EQ(RowOf(*page, 0).Bound()->Name(), "TRANS/1/FlowCori/MASS_FLOW/Value");
}

}  // namespace

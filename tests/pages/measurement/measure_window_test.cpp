// The measured values window (function 7) against the simulated device: the
// cycle's reads, what the tabs show of the device's values, a unit change in
// the device, the tabs and the navigation.
#include <cmath>

#include "MeasurementFixture.h"
#include "pages/measurement/MeasuredVariables.h"
#include "pages/measurement/ctlMeasure.h"
#include "platform/ui/Input.h"

namespace {

using dtm::ctlBar;
using dtm::ctlMeasure;
using dtm::kMeasuredVariables;
using platform::P;

class MeasureWindow : public dtm::testing::MeasurementFixture {
protected:
    void OpenConnected() {
        GoOnline();
        from = LogSize();
        session = frame->Open(7);
        ASSERT_NE(session, nullptr);
        page = std::dynamic_pointer_cast<ctlMeasure>(session->Page());
        ASSERT_NE(page, nullptr);
    }
    // The reads of one tick: the diagnosis, then unit, record and limits of each variable.
    std::vector<Address> TickReads() const {
        std::vector<Address> reads{AddressOf("PHYS/DIAGNOSIS")};
        for (const auto& v : kMeasuredVariables)
            for (const char* path : {v.units, v.record, v.loLimit, v.hiLimit}) reads.push_back(AddressOf(path));
        return reads;
    }
    std::vector<bool> TabsVisible() const {
        return {page->ctlMeasOView->Visible(), page->ctlMeasFlow->Visible(), page->ctlMeasConc->Visible()};
    }
    double Value(const std::string& path) const { return platform::com::CDbl(El(path).TransientValue); }

    std::shared_ptr<dtm::frame::PageSession> session;
    P<ctlMeasure> page;
    size_t from = 0;
};

TEST_F(MeasureWindow, EachTickReadsTheDiagnosisThenTheThirtyTwoElementsOnEveryTab) {
    OpenConnected();
    EXPECT_EQ(page->ctlStatus->ctlCycle->Value(), 1);
    Advance(1000);
    const auto tick = TickReads();
    ASSERT_EQ(tick.size(), 33u);
    EXPECT_EQ(Transactions(from), tick);

    platform::ui::Input::ClickTab(*page->TabStrip, 3);  // the tab does not change the list
    from = LogSize();
    Advance(kTick);
    EXPECT_EQ(Transactions(from), tick);
    EXPECT_TRUE(Transactions(0, true).empty());
}

TEST_F(MeasureWindow, BarsAndRowsShowTheDevicesValuesWithUnitsAndLimits) {
    OpenConnected();
    // A tick within the filling cycle's overshoot of the upper limit.
    for (int i = 0; i < 30 && Value("TRANS/1/FlowCori/MASS_FLOW/Value") <= 0.34; ++i) Advance(kTick);
    for (const auto& bars : {std::static_pointer_cast<dtm::ctlMeasBars>(page->ctlMeasFlow),
                             std::static_pointer_cast<dtm::ctlMeasBars>(page->ctlMeasConc)}) {
        for (size_t i = 0; i < 4; ++i) {
            const auto& v = kMeasuredVariables[(bars == page->ctlMeasFlow ? 0 : 4) + i];
            const auto bar = bars->Bar(i);
            SCOPED_TRACE(v.value);
            EXPECT_DOUBLE_EQ(platform::com::CDbl(bar->Value()), Value(v.value));
            // The scale takes the limits in their text form (single precision).
            EXPECT_NEAR(platform::com::CDbl(bar->RangeMax()), Value(v.hiLimit), 1e-5);
            EXPECT_DOUBLE_EQ(platform::com::CDbl(bar->LimitMax()), Value(v.hiLimit));
            EXPECT_NEAR(platform::com::CDbl(bar->RangeMin()), Value(v.loLimit), 1e-5);
            EXPECT_EQ(bar->ToolTipText(),
                      El(v.value).Description + " [" + El(v.value).UnitString(frame->Session().Context()) + "]");
        }
    }
    EXPECT_GT(Value("TRANS/1/FlowCori/MASS_FLOW/Value"), Value("TRANS/1/FlowCori/MASS_FLOW_HI_LIMIT"));
    EXPECT_EQ(platform::com::CInt(El("TRANS/1/FlowCori/MASS_FLOW/Status").TransientValue), 0x56);
    EXPECT_EQ(session->Row("@TRANS/1/FlowCori/MANU/VOLUME_FLOW/Value")->UnitText(), "m³/h");

    const double before = Value("TRANS/1/FlowCori/TEMPERATURE/Value");
    Advance(60000);  // the values live on the device's clock
    EXPECT_NE(Value("TRANS/1/FlowCori/TEMPERATURE/Value"), before);
}

TEST_F(MeasureWindow, AUnitChangeInTheDeviceReachesRowsBarsAndLimitsWithTheNextTick) {
    OpenConnected();
    Advance(1000);
    const double hi = Value("TRANS/1/FlowCori/MASS_FLOW_HI_LIMIT");
    platform::ui::Input::ClickTab(*page->TabStrip, 2);
    ASSERT_TRUE(frame->Device().SetValue("TRANS/1/FlowCori/MASS_FLOW_UNITS", "1318"));  // g/s
    Advance(kTick);
    EXPECT_NEAR(Value("TRANS/1/FlowCori/MASS_FLOW_HI_LIMIT"), hi * 1000, 1e-3);
    EXPECT_EQ(session->Row("@TRANS/1/FlowCori/MASS_FLOW/Value")->UnitText(), "g/s");
    EXPECT_EQ(session->Row("@TRANS/1/FlowCori/MASS_FLOW_HI_LIMIT")->UnitText(), "g/s");
    const auto bar = page->ctlMeasFlow->Bar(0);
    EXPECT_NEAR(platform::com::CDbl(bar->RangeMax()), hi * 1000, 1e-3);
    EXPECT_NE(bar->ToolTipText().find("[g/s]"), std::string::npos);
}

TEST_F(MeasureWindow, TabsShowTheirChildPageAndStoppingTheCycleKeepsTheValues) {
    OpenConnected();
    EXPECT_EQ(page->TabStrip->SelectedItem()->Index(), 1);
    EXPECT_EQ(TabsVisible(), (std::vector<bool>{true, false, false}));
    platform::ui::Input::ClickTab(*page->TabStrip, 3);
    EXPECT_EQ(TabsVisible(), (std::vector<bool>{false, false, true}));

    Advance(1000);
    const double mass = Value("TRANS/1/FlowCori/MASS_FLOW/Value");
    ASSERT_TRUE(platform::ui::Input::Check(*page->ctlStatus->ctlCycle->chkCycle, false));
    from = LogSize();
    Advance(3 * kTick);
    EXPECT_EQ(LogSize(), from);
    EXPECT_EQ(Value("TRANS/1/FlowCori/MASS_FLOW/Value"), mass);
}

TEST_F(MeasureWindow, NavigationSelectsATabOnlyByATabStripPathWithATabNumber) {
    struct Case {
        const char* path;
        bool shown;
        int32_t tab;  // selected afterwards
    };
    const Case cases[] = {
        {"ctlMeasure.TabStrip.2", true, 2},
        {"ctlMeasure.TabStrip.3", true, 3},
        {"ctlMeasure.TabStrip.0", false, 1},
        {"ctlMeasure.TabStrip.4", false, 1},
        {"ctlMeasure.TabStrip.x", false, 1},
        {"ctlMeasure.TabStrip", false, 1},
        {"ctlMeasure.ctlMeasConc.ctlParameter.0", true, 1},
        {"ctlOther.TabStrip.2", false, 1},
    };
    OpenConnected();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        page->TabStrip->SelectedItem(page->TabStrip->Tabs().Item(1));
        EXPECT_EQ(page->ShowControl(c.path, "ctlMeasure"), c.shown);
        EXPECT_EQ(page->TabStrip->SelectedItem()->Index(), c.tab);
        EXPECT_EQ(TabsVisible()[static_cast<size_t>(c.tab - 1)], true);
    }
}

}  // namespace

// The online window (function 10): its child pages and tabs, the status
// bar's cycle reading the nine parameters of all tabs and marking the derived
// elements live, and the navigation into its tabs.
#include "OnlineFixture.h"
#include "pages/framework/CycleGroup.h"

namespace dtm::testing {
namespace {

using Lines = std::vector<std::string>;

constexpr const char* kCycleReads[] = {
    "PHYS/DIAGNOSIS",         "PHYS/DIAGNOSIS_EXTENSION",
    "PHYS/FACTORY_RESET",     "PHYS/MANU/SERVICE_PASSWORD",
    "PHYS/MANU/ACCESS_RIGHTS", "PHYS/WRITE_LOCKING",
    "TRANS/1/FlowCori/MANU/_converter_status", "TRANS/1/FlowCori/MANU/_resets",
    "TRANS/1/FlowCori/ZERO_POINT_ADJUST",
};
constexpr const char* kDerived[] = {
    "PHYS/MANU/DIAGNOSIS_EXTENSION/Diagnosis_Extension_Rxd",
    "PHYS/MANU/DIAGNOSIS_EXTENSION/Diagnosis_Extension_Profibus",
    "~/ZERO_POINT_ADJUST",
};

class OnlineWindow : public OnlineFixture {
protected:
    std::vector<bool> Shown() const {
        return {online->ctlCalib->Visible(), online->ctlReset->Visible(), online->ctlProtect->Visible()};
    }
    ctlCycle& Cycle() const { return *online->ctlStatus->ctlCycle; }
    Lines CycleRequests() const {
        Lines names;
        for (const auto& el : Cycle().CycleGroup()->RequestElements(frame->Session().Context()))
            names.push_back(el->Name());
        return names;
    }
};

TEST_F(OnlineWindow, ChildPagesAreInitialisedBeforeTheWindowAndOnlyTabOneShows) {
    const std::string id = online->InvokeId();
    EXPECT_EQ(online->ctlStatus->InvokeId(), id + ".1$");
    EXPECT_EQ(online->ctlProtect->InvokeId(), id + ".2$");
    EXPECT_EQ(online->ctlReset->InvokeId(), id + ".3$");
    EXPECT_EQ(online->ctlCalib->InvokeId(), id + ".4$");
    EXPECT_EQ(Shown(), (std::vector<bool>{true, false, false}));
    ASSERT_TRUE(platform::ui::Input::ClickTab(*online->TabStrip, 3));
    EXPECT_EQ(Shown(), (std::vector<bool>{false, false, true}));
    EXPECT_EQ(frame->LastProgId(), "RG38N226_4_07.ctlOnline");
}

TEST_F(OnlineWindow, CycleReadsTheNineParametersWhateverTabIsShownAndMarksTheDerivedOnes) {
    Lines expected(std::begin(kCycleReads), std::end(kCycleReads));
    for (const int32_t tab : {1, 3}) {
        ASSERT_TRUE(platform::ui::Input::ClickTab(*online->TabStrip, tab));
        ASSERT_TRUE(platform::ui::Input::Check(*Cycle().chkCycle, true));
        EXPECT_EQ(CycleRequests(), expected) << tab;
        for (const char* path : kDerived) EXPECT_TRUE(Element(path).ParamDynamic()) << path;
        Settle();
        Lines wire = Wire();
        EXPECT_EQ(wire.size(), 9u) << tab;
        Advance(4000);
        EXPECT_EQ(Wire().size(), 9u) << tab;  // the next cycle, the same nine
        ASSERT_TRUE(platform::ui::Input::Check(*Cycle().chkCycle, false));
        for (const char* path : kDerived) EXPECT_FALSE(Element(path).ParamDynamic()) << path;
    }
}

TEST_F(OnlineWindow, NavigationSelectsATabOnlyForATabStripPath) {
    struct Case {
        const char* path;
        bool result;
        int32_t selected;  // the tab afterwards
    } cases[] = {
        {"ctlOnline.TabStrip.2", true, 2},
        {"ctlOnline.TabStrip.3", true, 3},
        {"ctlOnline.TabStrip.9", false, 1},
        {"ctlOnline.TabStrip.x", false, 1},
        {"ctlOnline.TabStrip", false, 1},
        {"ctlOnline.ctlProtect.ctlParameter.0", true, 1},  // handed to the hidden child; no tab selected
        {"ctlOther.TabStrip.2", false, 1},
    };
    for (const auto& c : cases) {
        online->TabStrip->SelectedItem(online->TabStrip->Tabs().Item(1));
        EXPECT_EQ(online->ShowControl(c.path, "ctlOnline"), c.result) << c.path;
        EXPECT_EQ(online->TabStrip->SelectedItem()->Index(), c.selected) << c.path;
    }
    // Into a shown tab, the rest of the path goes to the child.
    ASSERT_TRUE(online->ShowControl("ctlOnline.TabStrip.3", "ctlOnline"));
    EXPECT_TRUE(online->ShowControl("ctlOnline.ctlProtect.ctlParameter.0", "ctlOnline"));
    EXPECT_EQ(online->TabStrip->SelectedItem()->Index(), 3);
}

}  // namespace
}  // namespace dtm::testing

// The simulation window and its AI simulation page against the simulated
// device: the tabs by the selector, the page initialised again per tab, the
// cycle reads of the selected block, modes 8 and 16 on the wire with OUT
// following the simulated value, the page without an AI block, the buttons
// by lock and level, a click that does nothing and a Send its closing window
// drops said, re-captioning and tab paths.
#include "ServicePageFixture.h"
#include "pages/service/ctlSimulation.h"
#include "platform/com/PropertyBag.h"
#include "platform/ctl/RowInput.h"
#include "platform/fdt/DtmInterfaces.h"
#include "platform/ui/Input.h"

namespace dtm::testing {
namespace {

namespace ui = platform::ui;
namespace com = platform::com;
using platform::Variant;
using Paths = std::vector<std::string>;

class SimulationWindow : public ServicePageFixture {
protected:
    void SetUp() override {
        ServicePageFixture::SetUp();
        ConnectDevice();
        page = OpenPage<ctlSimulation>(2);
        ASSERT_NE(page, nullptr);
        Settle();
        ASSERT_TRUE(ui::Input::Check(*page->ctlStatus->ctlCycle->chkCycle, false));
        Settle();
        Wire();
    }
    ctlSimuCh& Child() const { return *page->ctlSimuCh; }
    Paths Keys() const {
        Paths keys;
        for (const auto& tab : page->TabStrip->Tabs()) keys.push_back(tab->Key());
        return keys;
    }
    Paths CycleReads() const {
        Paths paths;
        for (const auto& element : page->ctlStatus->ctlCycle->CycleGroup()->RequestElements(frame->Session().Context()))
            paths.push_back(element->Name());
        return paths;
    }
    void Set(const std::string& path, const Variant& value) { Element(path).TransientValue = value; }
    void Transfer() {
        EXPECT_TRUE(Click(Child().cmdTransfer));
        Settle();
    }
    // Types the simulated value into its row, as the user does.
    void TypeValue(const std::string& text) {
        auto& row = RowOf(Child(), 2);
        ASSERT_TRUE(platform::ctl::RowInput::Type(row, text) && platform::ctl::RowInput::Commit(row));
    }
    // The writes on the wire since the last look.
    Paths Writes() {
        Paths writes;
        for (const auto& line : Wire())
            if (line[0] == 'w') writes.push_back(line);
        return writes;
    }

    platform::P<ctlSimulation> page;
};

TEST_F(SimulationWindow, EachTabInitialisesThePageForItsBlockAndTheCycleReadsThatBlock) {
    EXPECT_EQ(Keys(), (Paths{"ctlSimuChAI1", "ctlSimuChAI2", "ctlSimuChAI3", "ctlSimuChAI5", "ctlSimuChAI6", "ctlSimuChAI7"}));
    EXPECT_EQ(page->TabStrip->Tabs().Item(1)->Caption(), "AI 1: " + Element("FUNC/1/AI/CHANNEL").GetStrValueFromIdxList(com::CLng(Element("FUNC/1/AI/CHANNEL").TransientValue)));
    ASSERT_TRUE(ui::Input::Check(*page->ctlStatus->ctlCycle->chkCycle, true));
    for (const int32_t tab : {1, 4, 2}) {
        SCOPED_TRACE(tab);
        ASSERT_TRUE(ui::Input::ClickTab(*page->TabStrip, tab));
        Advance(1000);  // a read still running ends first
        const int16_t n = BlockTabStrip::SplitKey(page->TabStrip->Tabs().Item(tab)->Key()).n;
        EXPECT_EQ(Child().BlockIndex(), n);
        EXPECT_EQ(Child().InvokeId(), page->InvokeId() + ".ctlSimuCh" + std::to_string(n) + "$");
        EXPECT_TRUE(Child().Visible());
        const std::string prefix = "FUNC/" + std::to_string(n) + "/AI/";
        EXPECT_EQ(RowOf(Child(), 2).Bound()->Name(), prefix + "SIMULATE/Value");
        EXPECT_EQ(CycleReads(),
                  (Paths{"PHYS/DIAGNOSIS", prefix + "SIMULATE/", prefix + "TARGET_MODE", prefix + "OUT/", prefix + "MODE_BLK/"}));
    }
}

TEST_F(SimulationWindow, ManualModeWritesOutAndAutomaticModeFollowsTheEnabledSimulation) {
    ASSERT_TRUE(ui::Input::ClickTab(*page->TabStrip, 2));
    Set("FUNC/2/AI/TARGET_MODE", Variant::Byte(16));
    Set("FUNC/2/AI/OUT/Value", Variant::Sng(3.5f));
    Transfer();
    Paths wire = Wire();
    ASSERT_GE(wire.size(), 4u);
    EXPECT_EQ(Paths(wire.begin(), wire.begin() + 4),
              (Paths{WriteOf("FUNC/2/AI/SIMULATE/", "00 00 00 00 00 00"), WriteOf("FUNC/2/AI/TARGET_MODE", "10"),
                     WriteOf("FUNC/2/AI/OUT/", "40 60 00 00 00"), ReadOf("FUNC/2/AI/MODE_BLK/")}));
    EXPECT_EQ(com::CLng(Element("FUNC/2/AI/MODE_BLK/Actual").TransientValue), 16);

    // The value written decides, not the device's mode: automatic writes no OUT.
    Set("FUNC/2/AI/TARGET_MODE", Variant::Byte(8));
    Set("FUNC/2/AI/SIMULATE/Value", Variant::Sng(12.5f));
    Set("FUNC/2/AI/SIMULATE/Enabled", Variant::Byte(1));
    Transfer();
    wire = Wire();
    ASSERT_GE(wire.size(), 3u);
    EXPECT_EQ(Paths(wire.begin(), wire.begin() + 3),
              (Paths{WriteOf("FUNC/2/AI/SIMULATE/", "00 41 48 00 00 01"), WriteOf("FUNC/2/AI/TARGET_MODE", "08"),
                     ReadOf("FUNC/2/AI/MODE_BLK/")}));
    EXPECT_EQ(com::CLng(Element("FUNC/2/AI/MODE_BLK/Actual").TransientValue), 8);

    EXPECT_TRUE(Click(Child().cmdRead));
    Settle();
    EXPECT_EQ(com::CDbl(Element("FUNC/2/AI/OUT/Value").TransientValue), 12.5);
    EXPECT_TRUE(Boxes().empty());
}

// Values set, then the page's Read, then Transfer before the read's answer:
// the simulation goes out as set, and the elements keep it.
TEST_F(SimulationWindow, ATransferAfterTheReadSendsTheValuesSetNotTheValuesRead) {
    ASSERT_TRUE(ui::Input::ClickTab(*page->TabStrip, 2));
    Settle();
    Wire();
    Set("FUNC/2/AI/TARGET_MODE", Variant::Byte(8));
    Set("FUNC/2/AI/SIMULATE/Value", Variant::Sng(12.5f));
    Set("FUNC/2/AI/SIMULATE/Enabled", Variant::Byte(1));
    EXPECT_TRUE(Click(Child().cmdRead));
    Transfer();
    Paths writes;
    for (const auto& line : Wire())
        if (line[0] == 'w') writes.push_back(line);
    EXPECT_EQ(writes,
              (Paths{WriteOf("FUNC/2/AI/SIMULATE/", "00 41 48 00 00 01"), WriteOf("FUNC/2/AI/TARGET_MODE", "08")}));
    EXPECT_EQ(com::CDbl(Element("FUNC/2/AI/SIMULATE/Value").TransientValue), 12.5);
    EXPECT_EQ(com::CLng(Element("FUNC/2/AI/SIMULATE/Enabled").TransientValue), 1);
}

// Send clicked again while its transfer runs: the second click says that the
// transfer still runs, and the page ends showing what went out.
TEST_F(SimulationWindow, ASendWhileTheTransferRunsSaysSoAndThePageShowsWhatWentOut) {
    TypeValue("1.5");
    ASSERT_TRUE(Click(Child().cmdTransfer));
    TypeValue("2.5");
    ASSERT_TRUE(Click(Child().cmdTransfer));
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].buttons, 48);
    EXPECT_EQ(Boxes()[0].prompt, "A transfer of this window is still running: the command \"Send to device\" was "
                                 "not sent. Try again when it has ended.");
    Advance(1000);
    EXPECT_EQ(Writes(), (Paths{WriteOf("FUNC/1/AI/SIMULATE/", "00 3F C0 00 00 00"), WriteOf("FUNC/1/AI/TARGET_MODE", "08")}));
    EXPECT_EQ(com::CDbl(Element("FUNC/1/AI/SIMULATE/Value").TransientValue), 1.5);
}

// The window closes with its Send on its way: before its first write went out
// the Send is dropped and said not to have been sent; once it went out, the
// rest of the Send goes out too and nothing is said.
TEST_F(SimulationWindow, ASendItsClosingWindowDropsIsSaidAndOneUnderWayGoesOutWhole) {
    for (const bool underWay : {false, true}) {
        SCOPED_TRACE(underWay ? "under way" : "before the send");
        if (underWay) {
            TearDown();
            SetUp();
        }
        TypeValue("5");
        const size_t from = Device().Log().size();
        ASSERT_TRUE(Click(Child().cmdTransfer));
        if (underWay) {
            ASSERT_TRUE(AdvanceUntilReceived(from, 1));
        }
        ASSERT_TRUE(frame->Close(*sessions.back()));
        Advance(1000);
        if (underWay) {
            EXPECT_TRUE(Boxes().empty());
            EXPECT_EQ(Writes(), (Paths{WriteOf("FUNC/1/AI/SIMULATE/", "00 40 A0 00 00 00"),
                                       WriteOf("FUNC/1/AI/TARGET_MODE", "08")}));
        } else {
            EXPECT_TRUE(Writes().empty());
            ASSERT_EQ(Boxes().size(), 1u);
            EXPECT_EQ(Boxes()[0].buttons, 48);
            EXPECT_EQ(Boxes()[0].prompt, "The command \"Send to device\" was not sent: its window closed before it "
                                         "went out.");
        }
    }
}

TEST_F(SimulationWindow, AReadWhileAnUploadRunsSaysWhyItReadsNothing) {
    ASSERT_TRUE(dynamic_cast<platform::fdt::IDtmOnlineParameter&>(*frame->Session().Dtm())
                    .IDtmOnlineParameter_UploadRequest("{upload}", ""));
    ASSERT_TRUE(Click(Child().cmdRead));
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].buttons, 48);
    EXPECT_EQ(Boxes()[0].prompt, "An upload from the device is still running: \"Read from device\" did not read "
                                 "anything. Try again when it has ended.");
}

TEST_F(SimulationWindow, ATabWithoutAnAIBlockLeavesThePageInert) {
    // The design key without a number (block 0) and a Totaliser block's number.
    page->TabStrip_Update("ctlSimuChAI,ctlSimuChAI4,ctlSimuChAI3,ctlSimuChAI5,ctlSimuChAI6,ctlSimuChAI7");
    ASSERT_TRUE(ui::Input::Check(*page->ctlStatus->ctlCycle->chkCycle, true));
    for (const int32_t tab : {1, 2}) {
        SCOPED_TRACE(tab);
        ASSERT_TRUE(ui::Input::ClickTab(*page->TabStrip, tab));
        Advance(1000);
        EXPECT_EQ(Child().BlockIndex(), tab == 1 ? 0 : 4);
        EXPECT_EQ(Child().ctlParamSite1->UnboundRows().size(), 9u);
        EXPECT_FALSE(Child().cmdRead->Enabled());
        EXPECT_FALSE(Child().cmdTransfer->Enabled());
        Child().LockStateChanged(false);
        EXPECT_FALSE(Child().cmdTransfer->Enabled());
        EXPECT_EQ(CycleReads(), Paths{"PHYS/DIAGNOSIS"});
        ASSERT_TRUE(ui::Input::Check(*page->ctlStatus->ctlCycle->chkCycle, false));
        Settle();
        Wire();
        // Clicked anyway (as code may): nothing happens.
        Child().cmdRead->Click.Raise();
        Child().cmdTransfer->Click.Raise();
        Settle();
        EXPECT_TRUE(Wire().empty());
        EXPECT_TRUE(Boxes().empty());
        ASSERT_TRUE(ui::Input::Check(*page->ctlStatus->ctlCycle->chkCycle, true));
    }
    // A shorter list removes tabs from the end only; the others keep their keys.
    page->TabStrip_Update("ctlSimuChAI1,ctlSimuChAI2");
    EXPECT_EQ(Keys(), (Paths{"ctlSimuChAI", "ctlSimuChAI4"}));
}

TEST_F(SimulationWindow, TheButtonsFollowTheLockAndTransferTheUserLevel) {
    Child().LockStateChanged(true);
    EXPECT_FALSE(Child().cmdRead->Enabled());
    EXPECT_FALSE(Child().cmdTransfer->Enabled());
    Level(0);
    Child().LockStateChanged(false);
    EXPECT_TRUE(Child().cmdRead->Enabled());
    EXPECT_FALSE(Child().cmdTransfer->Enabled());
    // A click below the level the simulation needs sends nothing.
    Child().cmdTransfer->Click.Raise();
    Settle();
    EXPECT_TRUE(Wire().empty());
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].buttons, 48);
}

TEST_F(SimulationWindow, AChannelChangeRecaptionsItsTabAndAShorterListKeepsTheOtherKeys) {
    ASSERT_TRUE(ui::Input::ClickTab(*page->TabStrip, 5));
    const std::string third = page->TabStrip->Tabs().Item(3)->Caption();
    auto& channel = Element("FUNC/5/AI/CHANNEL");
    channel.TransientValue = Element("FUNC/2/AI/CHANNEL").TransientValue;
    Params().NotifyChanged(Params().Item("FUNC/5/AI/CHANNEL"), "");
    EXPECT_EQ(page->TabStrip->Tabs().Item(4)->Caption(), "AI 5: " + channel.GetStrValueFromIdxList(com::CLng(channel.TransientValue)));
    EXPECT_EQ(page->TabStrip->Tabs().Item(3)->Caption(), third);

    // Selector 0: the profile list; the selected tab was removed, tab 1 takes its place.
    Set("PHYS/IDENT_NUMBER_SELECTOR", Variant::Byte(0));
    Params().NotifyChanged(Params().Item("PHYS/IDENT_NUMBER_SELECTOR"), "");
    EXPECT_EQ(Keys(), (Paths{"ctlSimuChAI1", "ctlSimuChAI2", "ctlSimuChAI3"}));
    EXPECT_EQ(page->TabStrip->SelectedItem()->Index(), 1);
    EXPECT_EQ(Child().BlockIndex(), 1);
}

TEST_F(SimulationWindow, TabPathsSelectTheirTabAndOneWithoutNumberOrTabAnswersFalse) {
    struct Case {
        const char* path;
        bool shown;
        int32_t selected;
    };
    const Case cases[] = {
        {"ctlSimulation.TabStrip.3", true, 3},     {"ctlSimulation.ctlSimulationTemp", true, 2},
        {"ctlSimulation.TabStrip.x", false, 2},    {"ctlSimulation.TabStrip.9", false, 2},
        {"ctlSimulation.TabStrip", false, 2},      {"ctlSimulation.ctlSimulationPress", true, 1},
        {"ctlOther.TabStrip.3", false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(page->ShowControl(c.path, "ctlSimulation"), c.shown);
        EXPECT_EQ(page->TabStrip->SelectedItem()->Index(), c.selected);
    }
}

}  // namespace
}  // namespace dtm::testing

namespace dtm::testing {
namespace {

TEST_F(ParamPagesFixture, TheSimulationPageKeepsItsBlockInThePropertyBag) {
    const auto fresh = Create<ctlSimuCh>("ctlSimuCh");
    EXPECT_EQ(fresh->BlockIndex(), ctlSimuCh::kDefaultBlockIndex);
    fresh->BlockIndex(6);
    platform::com::PropertyBag bag;
    fresh->WriteProperties(bag);
    const auto stored = Create<ctlSimuCh>("ctlSimuCh");
    stored->ReadProperties(bag);
    EXPECT_EQ(stored->BlockIndex(), 6);
}

}  // namespace
}  // namespace dtm::testing

// The function block outputs window opened through the frame as function 71:
// its tabs by the ident number selector, the status bar's request lists per
// tab, the tab pages initialised again for their blocks, captions with the
// blocks' channels, a tab without a block, and the overview and output pages
// themselves, against the simulated device where values matter.
#include <gtest/gtest.h>

#include "model/elements/clsDataElement.h"
#include "pages/framework/CycleGroup.h"
#include "pages/measurement/ctlMeasOutputs.h"
#include "pages/parameterisation/ParamPagesFixture.h"
#include "platform/app/EventLoop.h"
#include "platform/com/PropertyBag.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/ui/Input.h"

namespace dtm {
namespace {

namespace com = platform::com;
namespace ui = platform::ui;
using platform::P;
using platform::Variant;
using Paths = std::vector<std::string>;

class OutputsWindowTest : public testing::ParamPagesFixture {
protected:
    P<ctlMeasOutputs> Open() {
        session = frame->Open(71);
        return session ? std::dynamic_pointer_cast<ctlMeasOutputs>(session->Page()) : nullptr;
    }
    clsDataElement& Element(const std::string& path) const {
        return dynamic_cast<clsDataElement&>(*Params().Item(path));
    }
    // A change of the element as the user makes it: the model, then the pages.
    void Change(const std::string& path, int32_t value) {
        auto element = Params().Item(path);
        element->TransientValue(Variant::Lng(value));
        Params().NotifyChange(element, "");
    }
    static Paths Keys(const ctlMeasOutputs& page) {
        Paths keys;
        for (const auto& tab : page.TabStrip->Tabs()) keys.push_back(tab->Key());
        return keys;
    }
    static std::string Caption(const ctlMeasOutputs& page, int32_t tab) {
        return page.TabStrip->Tabs().Item(tab)->Caption();
    }
    std::string ChannelText(const std::string& path) const {
        auto& channel = Element(path);
        return channel.GetStrValueFromIdxList(com::CLng(channel.TransientValue));
    }
    std::string Id(const PageBase& page) const { return session->MaskInvokeId(page.InvokeId()); }
    // The paths the status bar's cycle reads, in order.
    Paths CycleReads(const ctlMeasOutputs& page) const {
        Paths paths;
        for (const auto& element : page.ctlStatus->ctlCycle->CycleGroup()->RequestElements(frame->Session().Context()))
            paths.push_back(element->Name());
        return paths;
    }
    void CycleOn(const ctlMeasOutputs& page) {
        ASSERT_TRUE(frame->Connect());
        ASSERT_TRUE(ui::Input::Check(*page.ctlStatus->ctlCycle->chkCycle, true));
        platform::app::EventLoop::Instance().Advance(1000);  // the first read ends
    }

    std::shared_ptr<frame::PageSession> session;
};

const Paths kManufacturerTabs{"ctlMeasOutOView", "ctlMeasOutAI1", "ctlMeasOutAI2", "ctlMeasOutAI3", "ctlMeasOutTOT4",
                              "ctlMeasOutAI5",   "ctlMeasOutAI6", "ctlMeasOutAI7", "ctlMeasOutTOT8"};

TEST_F(OutputsWindowTest, OpensWithItsTabPagesAsChildrenAndTheOverviewShown) {
    auto page = Open();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(frame->LastProgId(), "RG38N226_4_07.ctlMeasOutputs");
    EXPECT_EQ(Keys(*page), kManufacturerTabs);  // a new instance runs with the manufacturer's ident number
    EXPECT_EQ(Caption(*page, 1), "Overview");
    EXPECT_EQ(Caption(*page, 3), "AI 2: " + ChannelText("FUNC/2/AI/CHANNEL"));
    EXPECT_EQ(Caption(*page, 9), "Totaliser 8: " + ChannelText("FUNC/8/TOT/CHANNEL"));
    EXPECT_EQ(page->HelpButton->Caption(), "Help");
    // The children got their numbered ids; the closing click re-initialised the overview.
    EXPECT_EQ(Id(*page->ctlStatus), "<id>.1$");
    EXPECT_EQ(Id(*page->ctlMeasOutOView), "<id>.ctlMeasOutOView0$");
    EXPECT_EQ(Id(*page->ctlMeasOutAI), "<id>.3$");
    EXPECT_EQ(Id(*page->ctlMeasOutTOT), "<id>.4$");
    EXPECT_TRUE(page->ctlMeasOutOView->Visible());
    EXPECT_FALSE(page->ctlMeasOutAI->Visible());
    EXPECT_FALSE(page->ctlMeasOutTOT->Visible());

    EXPECT_TRUE(frame->Close(*session));
    EXPECT_EQ(Ctx().GuiRegistry()->OpenGuis(), 0);
}

TEST_F(OutputsWindowTest, ABlockTabSetsTheBlockThenInitialisesItsPageUnderTheBlocksId) {
    auto page = Open();
    ASSERT_NE(page, nullptr);
    struct Case {
        int32_t tab;
        const char* id;         // of the page the tab shows
        int16_t block;
        const char* outputRow;  // what row 0 of that page is bound to
    };
    const Case cases[] = {
        {5, "<id>.ctlMeasOutTOT4$", 4, "FUNC/4/TOT/TOTAL/Value"},
        {7, "<id>.ctlMeasOutAI6$", 6, "FUNC/6/AI/OUT/Value"},
        {2, "<id>.ctlMeasOutAI1$", 1, "FUNC/1/AI/OUT/Value"},
        {2, "<id>.ctlMeasOutAI1$", 1, "FUNC/1/AI/OUT/Value"},  // the same tab again runs again
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(ui::Input::ClickTab(*page->TabStrip, c.tab)) << c.tab;
        const bool totaliser = c.tab == 5;
        const ctlMeasOutBlock& shown = totaliser ? static_cast<ctlMeasOutBlock&>(*page->ctlMeasOutTOT)
                                                 : static_cast<ctlMeasOutBlock&>(*page->ctlMeasOutAI);
        EXPECT_EQ(Id(shown), c.id);
        EXPECT_EQ(shown.BlockIndex(), c.block);
        EXPECT_EQ(RowOf(shown, 0).Bound()->Name(), c.outputRow);
        EXPECT_EQ(page->ctlMeasOutTOT->Visible(), totaliser);
        EXPECT_EQ(page->ctlMeasOutAI->Visible(), !totaliser);
        EXPECT_FALSE(page->ctlMeasOutOView->Visible());
    }
    // The frame captions carry the block number.
    EXPECT_EQ(dynamic_cast<ui::Frame&>(*page->ctlMeasOutAI->Controls().Item("frmMeasOutAI")).Caption(),
              "Output of AI block 1");
    EXPECT_NE(Ctx().GuiRegistry()->FindGui(session->InvokeId() + ".ctlMeasOutAI1$"), nullptr);
    EXPECT_EQ(Ctx().GuiRegistry()->FindGui(session->InvokeId() + ".ctlMeasOutAI6$"), nullptr);
}

TEST_F(OutputsWindowTest, TheCycleReadsTheSelectedTabsElementsAfterTheDiagnosis) {
    auto page = Open();
    ASSERT_NE(page, nullptr);
    CycleOn(*page);
    struct Case {
        int32_t tab;
        Paths reads;
    };
    const Case cases[] = {
        {1, {"PHYS/DIAGNOSIS", "FUNC/1/AI/OUT/", "FUNC/1/AI/SIMULATE/", "FUNC/2/AI/OUT/", "FUNC/2/AI/SIMULATE/",
             "FUNC/3/AI/OUT/", "FUNC/3/AI/SIMULATE/", "FUNC/4/TOT/TOTAL/", "FUNC/5/AI/OUT/", "FUNC/5/AI/SIMULATE/",
             "FUNC/6/AI/OUT/", "FUNC/6/AI/SIMULATE/", "FUNC/7/AI/OUT/", "FUNC/7/AI/SIMULATE/", "FUNC/8/TOT/TOTAL/"}},
        {3, {"PHYS/DIAGNOSIS", "FUNC/2/AI/OUT/", "FUNC/2/AI/OUT_SCALE/", "FUNC/2/AI/CHANNEL", "FUNC/2/AI/SIMULATE/",
             "FUNC/2/AI/MODE_BLK/"}},
        {9, {"PHYS/DIAGNOSIS", "FUNC/8/TOT/TOTAL/", "FUNC/8/TOT/CHANNEL", "FUNC/8/TOT/UNIT_TOT"}},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(ui::Input::ClickTab(*page->TabStrip, c.tab));
        EXPECT_EQ(CycleReads(*page), c.reads) << c.tab;
        EXPECT_EQ(c.reads.size(), c.tab == 1 ? 15u : c.tab == 3 ? 6u : 4u);  // 14, 5 and 3 after the diagnosis
        platform::app::EventLoop::Instance().Advance(1000);
    }
    EXPECT_TRUE(Ctx().ReportedErrors().empty());
}

TEST_F(OutputsWindowTest, TheRequestsFollowTheBlocksKindNotThePageInTheKey) {
    auto page = Open();
    ASSERT_NE(page, nullptr);
    CycleOn(*page);
    // A list that names the Totaliser page for the AI block 2.
    page->TabStrip_Update("ctlMeasOutOView,ctlMeasOutTOT2,ctlMeasOutAI2,ctlMeasOutAI3,ctlMeasOutTOT4,ctlMeasOutAI5,"
                          "ctlMeasOutAI6,ctlMeasOutAI7,ctlMeasOutTOT8");
    ASSERT_TRUE(ui::Input::ClickTab(*page->TabStrip, 2));
    EXPECT_TRUE(page->ctlMeasOutTOT->Visible());
    EXPECT_EQ(CycleReads(*page), (Paths{"PHYS/DIAGNOSIS", "FUNC/2/AI/OUT/", "FUNC/2/AI/OUT_SCALE/", "FUNC/2/AI/CHANNEL",
                                        "FUNC/2/AI/SIMULATE/", "FUNC/2/AI/MODE_BLK/"}));
}

TEST_F(OutputsWindowTest, AChannelChangeRecaptionsOnlyTheTabOfItsBlock) {
    auto page = Open();
    ASSERT_NE(page, nullptr);
    Paths before;
    for (int32_t i = 1; i <= 9; ++i) before.push_back(Caption(*page, i));
    Change("FUNC/2/AI/CHANNEL", 285);
    EXPECT_EQ(Caption(*page, 3), "AI 2: " + Element("FUNC/2/AI/CHANNEL").GetStrValueFromIdxList(285));
    EXPECT_NE(Caption(*page, 3), before[2]);
    for (int32_t i = 1; i <= 9; ++i) {
        if (i != 3) {
            EXPECT_EQ(Caption(*page, i), before[static_cast<size_t>(i - 1)]) << i;
        }
    }
    // A Totaliser's channel finds the Totaliser's tab.
    Change("FUNC/4/TOT/CHANNEL", 273);
    EXPECT_EQ(Caption(*page, 5), "Totaliser 4: " + Element("FUNC/4/TOT/CHANNEL").GetStrValueFromIdxList(273));
}

TEST_F(OutputsWindowTest, TheSelectorRebuildsTheTabsAndRepairsALostSelection) {
    auto page = Open();
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(ui::Input::ClickTab(*page->TabStrip, 8));
    EXPECT_EQ(Id(*page->ctlMeasOutAI), "<id>.ctlMeasOutAI7$");
    struct Case {
        int32_t selector;
        size_t tabs;
        int32_t selected;
        const char* overviewId;
    };
    // 0 gives the profile list; every other value (negative ones too) the manufacturer's.
    const Case cases[] = {{0, 5, 1, "<id>.ctlMeasOutOView0$"}, {-3, 9, 1, "<id>.ctlMeasOutOView0$"},
                          {1, 9, 1, "<id>.ctlMeasOutOView0$"}};
    for (const auto& c : cases) {
        Change("PHYS/IDENT_NUMBER_SELECTOR", c.selector);
        EXPECT_EQ(Keys(*page), Paths(kManufacturerTabs.begin(), kManufacturerTabs.begin() + static_cast<long>(c.tabs)))
            << c.selector;
        EXPECT_EQ(page->TabStrip->SelectedItem()->Index(), c.selected);
        EXPECT_EQ(Id(*page->ctlMeasOutOView), c.overviewId);
        EXPECT_TRUE(page->ctlMeasOutOView->Visible());
    }
    // A kept selection is left alone.
    ASSERT_TRUE(ui::Input::ClickTab(*page->TabStrip, 3));
    Change("PHYS/IDENT_NUMBER_SELECTOR", 0);
    EXPECT_EQ(page->TabStrip->SelectedItem()->Index(), 3);
    EXPECT_EQ(Id(*page->ctlMeasOutAI), "<id>.ctlMeasOutAI2$");
}

TEST_F(OutputsWindowTest, ATabWithoutABlockHasNoChannelTextInitialisesNothingAndReadsOnlyTheDiagnosis) {
    Element("~/BLOCK/2").InitialValue = Variant::Str("");  // block 2 is no function block
    auto page = Open();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(Caption(*page, 3), "AI 2: ");
    CycleOn(*page);
    ASSERT_TRUE(ui::Input::ClickTab(*page->TabStrip, 2));
    platform::app::EventLoop::Instance().Advance(1000);
    ASSERT_TRUE(ui::Input::ClickTab(*page->TabStrip, 3));
    EXPECT_EQ(Id(*page->ctlMeasOutAI), "<id>.ctlMeasOutAI1$");  // still block 1
    EXPECT_TRUE(page->ctlMeasOutAI->Visible());
    EXPECT_EQ(CycleReads(*page), Paths{"PHYS/DIAGNOSIS"});
}

TEST_F(OutputsWindowTest, TheOverviewCaptionsTheBlocksAndHidesTheManufacturersOnes) {
    auto page = Open();
    ASSERT_NE(page, nullptr);
    const auto& view = *page->ctlMeasOutOView;
    const auto label = [&](const char* name) { return std::dynamic_pointer_cast<ui::Label>(view.Controls().Item(name)); };
    EXPECT_EQ(label("lblAI1")->Caption(), "AI 1: " + ChannelText("FUNC/1/AI/CHANNEL"));
    EXPECT_EQ(label("lblTOT4")->Caption(), "Totaliser 4: " + ChannelText("FUNC/4/TOT/CHANNEL"));
    EXPECT_EQ(label("lblValue")->Caption(), "Output value");  // no "%d": unchanged

    // A channel change alone leaves the caption; the next language set takes it.
    const std::string before = label("lblAI2")->Caption();
    Change("FUNC/2/AI/CHANNEL", 285);
    EXPECT_EQ(label("lblAI2")->Caption(), before);
    page->ctlMeasOutOView->SetLanguage(1033);
    EXPECT_EQ(label("lblAI2")->Caption(), "AI 2: " + ChannelText("FUNC/2/AI/CHANNEL"));

    const char* manufacturer[] = {"lblAI5", "lblAI6", "lblAI7", "lblTOT8"};
    for (const int32_t selector : {0, 2, 0}) {
        Change("PHYS/IDENT_NUMBER_SELECTOR", selector);
        for (const char* name : manufacturer) EXPECT_EQ(label(name)->Visible(), selector != 0) << name;
        EXPECT_TRUE(label("lblAI3")->Visible());
        EXPECT_EQ(RowOf(view, 12).Bound()->Name(), "FUNC/8/TOT/TOTAL/Value");  // the rows stay bound
    }
    // Other notices never touch the captions.
    Change("FUNC/5/AI/CHANNEL", 277);
    for (const char* name : manufacturer) EXPECT_FALSE(label(name)->Visible());
}

TEST_F(OutputsWindowTest, OpenedUnderTheProfileIdentNumberTheOverviewShowsEveryCaptionUntilTheNextNotice) {
    Change("PHYS/IDENT_NUMBER_SELECTOR", 0);
    auto page = Open();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->TabStrip->Tabs().Count(), 5);
    EXPECT_TRUE(page->ctlMeasOutOView->Controls().Item("lblTOT8")->Visible());
    Change("PHYS/IDENT_NUMBER_SELECTOR", 0);
    EXPECT_FALSE(page->ctlMeasOutOView->Controls().Item("lblTOT8")->Visible());
}

TEST_F(OutputsWindowTest, TheAIOutputBarFollowsTheShownBlocksOutputAndScale) {
    auto page = Open();
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(ui::Input::ClickTab(*page->TabStrip, 6));  // AI 5
    auto& ai = *page->ctlMeasOutAI;
    // The simulation row's tag says "Simulate"; it binds the block's SIMULATE record.
    EXPECT_EQ(RowOf(ai, 5).parameterTag(), "FUNC/%d/AI/Simulate/Enabled");
    EXPECT_EQ(RowOf(ai, 5).Bound()->Name(), "FUNC/5/AI/SIMULATE/Enabled");
    EXPECT_TRUE(ai.ctlParamSite1->UnboundRows().empty());

    const auto set = [&](const std::string& path, double value) {
        auto element = Params().Item(path);
        element->TransientValue(Variant::Dbl(value));
        Params().NotifyChanged(element, "");
    };
    set("FUNC/5/AI/OUT_SCALE/Up_Val", 250);
    EXPECT_EQ(com::CDbl(ai.barAIOut->RangeMax()), 250);
    EXPECT_EQ(com::CDbl(ai.barAIOut->LimitMax()), 250);
    set("FUNC/5/AI/OUT_SCALE/Lo_Val", -10);
    EXPECT_EQ(com::CDbl(ai.barAIOut->RangeMin()), -10);
    EXPECT_EQ(com::CDbl(ai.barAIOut->LimitMin()), -10);
    set("FUNC/6/AI/OUT_SCALE/Up_Val", 999);  // another block's scale
    EXPECT_EQ(com::CDbl(ai.barAIOut->RangeMax()), 250);
    set("FUNC/5/AI/OUT/Value", 12.5);
    EXPECT_EQ(com::CDbl(ai.barAIOut->Value()), 12.5);
    auto& out = Element("FUNC/5/AI/OUT/Value");
    EXPECT_EQ(ai.barAIOut->ToolTipText(), std::string(out.Description) + " [" + out.UnitString(frame->Session().Context()) + "]");
}

TEST_F(OutputsWindowTest, TheOutputPagesStartWithTheirDefaultBlockAndKeepItInTheirBag) {
    struct Case {
        const char* className;
        int16_t fresh;
        const char* channel;
    };
    const Case cases[] = {{"ctlMeasOutAI", 1, "FUNC/%d/AI/CHANNEL"}, {"ctlMeasOutTOT", 4, "FUNC/%d/TOT/CHANNEL"}};
    for (const auto& c : cases) {
        auto page = Create<ctlMeasOutBlock>(c.className);
        ASSERT_NE(page, nullptr) << c.className;
        EXPECT_EQ(page->BlockIndex(), c.fresh);
        EXPECT_EQ(page->ChannelParameterName(), c.channel);
        com::PropertyBag bag;
        page->WriteProperties(bag);
        EXPECT_FALSE(bag.Contains("BlockIndex"));  // the default is not stored
        page->BlockIndex(8);
        page->WriteProperties(bag);
        auto other = Create<ctlMeasOutBlock>(c.className);
        other->ReadProperties(bag);
        EXPECT_EQ(other->BlockIndex(), 8);
        other->ReadProperties(com::PropertyBag());
        EXPECT_EQ(other->BlockIndex(), c.fresh);
    }
}

TEST_F(OutputsWindowTest, SettingTheBlockAloneChangesNoRow) {
    auto page = Open();
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(ui::Input::ClickTab(*page->TabStrip, 3));
    page->ctlMeasOutAI->BlockIndex(5);
    EXPECT_EQ(RowOf(*page->ctlMeasOutAI, 0).Bound()->Name(), "FUNC/2/AI/OUT/Value");
}

TEST_F(OutputsWindowTest, ConnectedTheRowsShowTheDevicesOutputsAndSimulation) {
    frame->Connect();
    frame->Device().SetValue("FUNC/3/AI/SIMULATE/Value", "17.25");
    frame->Device().SetValue("FUNC/3/AI/SIMULATE/Enabled", "1");
    auto page = Open();
    ASSERT_NE(page, nullptr);
    CycleOn(*page);
    EXPECT_EQ(com::CDbl(Element("FUNC/3/AI/OUT/Value").TransientValue), 17.25);
    EXPECT_EQ(com::CLng(Element("FUNC/3/AI/SIMULATE/Enabled").TransientValue), 1);
    EXPECT_NE(com::CDbl(Element("FUNC/2/AI/OUT/Value").TransientValue), 0);  // density, from the process
    EXPECT_TRUE(Ctx().ReportedErrors().empty());
}

}  // namespace
}  // namespace dtm

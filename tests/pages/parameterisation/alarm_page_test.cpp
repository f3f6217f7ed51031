// The alarm page opened through the frame as function 4: its child pages and
// their invoke ids, the order of Init and release, the block tabs by the ident
// number selector, the status bar's requests, a CHANNEL change, a tab without a
// block, its parameter list and navigation into a row of its child.
#include <gtest/gtest.h>

#include "ParamPagesFixture.h"
#include "core/dtm/IPrivateNavigation.h"
#include "model/elements/clsDataElement.h"
#include "pages/framework/CycleGroup.h"
#include "pages/parameterisation/ctlAlarm.h"
#include "platform/app/EventLoop.h"
#include "platform/com/Collection.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/IPrivateFunctions.h"
#include "platform/ui/Input.h"

namespace dtm {
namespace {

namespace com = platform::com;
using platform::P;
using platform::Variant;

// The alarm page, noting what its children were when its own controls were
// set up and when they were exited.
class WatchedAlarm : public ctlAlarm {
public:
    std::vector<std::string> notes;

protected:
    void InitControls() override {
        notes.push_back("InitControls status=" + ctlStatus->InvokeId() + " child=" + ctlAlarmAI->InvokeId());
        ctlAlarm::InitControls();
    }
    bool ExitControls() override {
        notes.push_back(std::string("ExitControls children released=") +
                        (!ctlStatus->Initialised() && !ctlAlarmAI->Initialised() ? "yes" : "no"));
        return ctlAlarm::ExitControls();
    }
};

class AlarmPageTest : public testing::ParamPagesFixture {
protected:
    P<ctlAlarm> Open(const std::string& path = "") {
        session = frame->Open(4, path);
        return session ? std::dynamic_pointer_cast<ctlAlarm>(session->Page()) : nullptr;
    }
    platform::rt::DtmGuiRegistry& Registry() const { return *Ctx().GuiRegistry(); }
    clsDataElement& Element(const std::string& path) const {
        return dynamic_cast<clsDataElement&>(*Params().Item(path));
    }
    // A change of the element as the user makes it: the model, then the pages.
    void Change(const std::string& path, int32_t value) {
        auto element = Params().Item(path);
        element->TransientValue(Variant::Lng(value));
        Params().NotifyChange(element, "");
    }
    std::vector<std::string> Keys(const ctlAlarm& page) const {
        std::vector<std::string> keys;
        for (const auto& tab : page.TabStrip->Tabs()) keys.push_back(tab->Key());
        return keys;
    }
    std::string Caption(const ctlAlarm& page, int32_t tab) const { return page.TabStrip->Tabs().Item(tab)->Caption(); }
    std::string ChildId(const ctlAlarm& page) const { return session->MaskInvokeId(page.ctlAlarmAI->InvokeId()); }
    // The paths the status bar's cycle reads.
    std::vector<std::string> CycleReads(const ctlAlarm& page) const {
        std::vector<std::string> paths;
        for (const auto& element : page.ctlStatus->ctlCycle->CycleGroup()->RequestElements(frame->Session().Context()))
            paths.push_back(element->Name());
        return paths;
    }
    static std::vector<std::string> AlarmReads(const std::string& prefix) {
        std::vector<std::string> paths{"PHYS/DIAGNOSIS"};
        for (const char* read : {"ALARM_SUM/", "LO_ALM/", "LO_LO_ALM/", "HI_ALM/", "HI_HI_ALM/", "LO_LIM", "LO_LO_LIM",
                                 "HI_LIM", "HI_HI_LIM"})
            paths.push_back(prefix + read);
        return paths;
    }

    std::shared_ptr<frame::PageSession> session;
};

TEST_F(AlarmPageTest, OpensWithItsChildrenFirstAndReleasesThemFirst) {
    frame->Registry().Register("test.WatchedAlarm", [] { return std::make_shared<WatchedAlarm>(); });
    session = frame->OpenProgId("test.WatchedAlarm");
    ASSERT_NE(session, nullptr);
    auto page = std::dynamic_pointer_cast<WatchedAlarm>(session->Page());
    // The status bar and the block alarm page got the numbered ids before the
    // page's own controls; its closing click then re-initialised the child
    // for the first tab's block.
    ASSERT_EQ(page->notes.size(), 1u);
    EXPECT_EQ(session->MaskInvokeId(page->notes[0]), "InitControls status=<id>.1$ child=<id>.2$");
    EXPECT_EQ(session->MaskInvokeId(page->ctlStatus->InvokeId()), "<id>.1$");
    EXPECT_EQ(ChildId(*page), "<id>.ctlAlarmAI1$");
    EXPECT_FALSE(page->ctlAlarmAI->TopLevel());
    for (const auto& id : {page->InvokeId(), page->ctlStatus->InvokeId(), page->ctlAlarmAI->InvokeId()})
        EXPECT_NE(Registry().FindGui(id), nullptr) << id;
    EXPECT_EQ(Registry().FindGui(session->InvokeId() + ".2$"), nullptr);
    EXPECT_EQ(page->ctlAlarmAI->ctlParamSite1->Links().size(), 24u);

    EXPECT_TRUE(frame->Close(*session));
    ASSERT_EQ(page->notes.size(), 2u);
    EXPECT_EQ(page->notes[1], "ExitControls children released=yes");
    EXPECT_EQ(Registry().OpenGuis(), 0);
    EXPECT_TRUE(page->WindowHidden());
}

TEST_F(AlarmPageTest, FunctionFourShowsOneTabPerBlockAndATabReinitialisesTheChild) {
    auto page = Open();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(frame->LastProgId(), "RG38N226_4_07.ctlAlarm");
    // The manufacturer selector of a new instance: eight blocks.
    EXPECT_EQ(Keys(*page), (std::vector<std::string>{"ctlAlarmAI1", "ctlAlarmAI2", "ctlAlarmAI3", "ctlAlarmAI4",
                                                     "ctlAlarmAI5", "ctlAlarmAI6", "ctlAlarmAI7", "ctlAlarmAI8"}));
    auto& channel1 = Element("FUNC/1/AI/CHANNEL");
    EXPECT_EQ(Caption(*page, 1), "AI 1: " + channel1.GetStrValueFromIdxList(com::CLng(channel1.TransientValue)));
    auto& channel4 = Element("FUNC/4/TOT/CHANNEL");
    EXPECT_EQ(Caption(*page, 4), "Totaliser 4: " + channel4.GetStrValueFromIdxList(com::CLng(channel4.TransientValue)));
    EXPECT_EQ(page->HelpButton->Caption(), "Help");
    EXPECT_TRUE(page->ctlAlarmAI->Visible());

    ASSERT_TRUE(platform::ui::Input::ClickTab(*page->TabStrip, 4));
    EXPECT_EQ(ChildId(*page), "<id>.ctlAlarmAI4$");
    EXPECT_EQ(page->ctlAlarmAI->BlockIndex(), 4);
    EXPECT_EQ(session->Row("ctlAlarmAI.ctlParameter.20")->Bound()->Name(), "FUNC/4/TOT/ALARM_SUM/Current");
    EXPECT_EQ(Registry().FindGui(session->InvokeId() + ".ctlAlarmAI1$"), nullptr);  // the block 1 id is gone
    EXPECT_NE(Registry().FindGui(session->InvokeId() + ".ctlAlarmAI4$"), nullptr);
    // A click on the selected tab runs again.
    ASSERT_TRUE(platform::ui::Input::ClickTab(*page->TabStrip, 4));
    EXPECT_EQ(ChildId(*page), "<id>.ctlAlarmAI4$");
    EXPECT_TRUE(page->ctlAlarmAI->Initialised());
}

TEST_F(AlarmPageTest, TheStatusBarReadsTheDiagnosisAndTheSelectedBlocksAlarms) {
    ASSERT_TRUE(frame->Connect());
    auto page = Open();
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(CycleReads(*page).empty());
    ASSERT_TRUE(platform::ui::Input::Check(*page->ctlStatus->ctlCycle->chkCycle, true));
    EXPECT_EQ(CycleReads(*page), AlarmReads("FUNC/1/AI/"));
    platform::app::EventLoop::Instance().Advance(1000);  // the first read ends
    // A tab change swaps the block's requests while the cycle runs.
    ASSERT_TRUE(platform::ui::Input::ClickTab(*page->TabStrip, 8));
    EXPECT_EQ(CycleReads(*page), AlarmReads("FUNC/8/TOT/"));
    platform::app::EventLoop::Instance().Advance(5000);
    EXPECT_TRUE(Ctx().ReportedErrors().empty());
    ASSERT_TRUE(platform::ui::Input::Check(*page->ctlStatus->ctlCycle->chkCycle, false));
    EXPECT_TRUE(CycleReads(*page).empty());
}

TEST_F(AlarmPageTest, TheSelectorRebuildsTheTabsAndRepairsTheSelection) {
    auto page = Open();
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(platform::ui::Input::ClickTab(*page->TabStrip, 6));
    EXPECT_EQ(ChildId(*page), "<id>.ctlAlarmAI6$");

    Change("PHYS/IDENT_NUMBER_SELECTOR", 0);  // the profile list: four blocks
    EXPECT_EQ(Keys(*page), (std::vector<std::string>{"ctlAlarmAI1", "ctlAlarmAI2", "ctlAlarmAI3", "ctlAlarmAI4"}));
    EXPECT_EQ(page->TabStrip->SelectedItem()->Index(), 1);  // tab 6 went: tab 1 shows
    EXPECT_EQ(ChildId(*page), "<id>.ctlAlarmAI1$");
    EXPECT_EQ(Caption(*page, 4).rfind("Totaliser 4: ", 0), 0u);

    ASSERT_TRUE(platform::ui::Input::ClickTab(*page->TabStrip, 3));
    Change("PHYS/IDENT_NUMBER_SELECTOR", 1);  // back to eight; the selected tab stays
    EXPECT_EQ(Keys(*page).size(), 8u);
    EXPECT_EQ(page->TabStrip->SelectedItem()->Index(), 3);
    EXPECT_EQ(ChildId(*page), "<id>.ctlAlarmAI3$");
    EXPECT_EQ(Caption(*page, 8).rfind("Totaliser 8: ", 0), 0u);
}

TEST_F(AlarmPageTest, AChannelChangeRecaptionsTheTabAtItsBlocksPosition) {
    auto page = Open();
    ASSERT_NE(page, nullptr);
    const std::string before1 = Caption(*page, 1), before3 = Caption(*page, 3);
    Change("FUNC/2/AI/CHANNEL", 281);
    EXPECT_EQ(Caption(*page, 2), "AI 2: " + Element("FUNC/2/AI/CHANNEL").GetStrValueFromIdxList(281));
    EXPECT_EQ(Caption(*page, 1), before1);
    EXPECT_EQ(Caption(*page, 3), before3);

    // With four tabs a change of block 7 finds no tab.
    Change("PHYS/IDENT_NUMBER_SELECTOR", 0);
    std::vector<std::string> captions;
    for (int32_t i = 1; i <= 4; ++i) captions.push_back(Caption(*page, i));
    Change("FUNC/7/AI/CHANNEL", 281);
    for (int32_t i = 1; i <= 4; ++i) EXPECT_EQ(Caption(*page, i), captions[static_cast<size_t>(i - 1)]);
}

TEST_F(AlarmPageTest, ATabWithoutABlockHasNoCaptionReinitialisesNothingAndReadsNoAlarms) {
    Element("~/BLOCK/3").InitialValue = Variant::Str("");  // block 3 is no function block
    ASSERT_TRUE(frame->Connect());
    auto page = Open();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(Caption(*page, 3), "");
    ASSERT_TRUE(platform::ui::Input::Check(*page->ctlStatus->ctlCycle->chkCycle, true));
    platform::app::EventLoop::Instance().Advance(1000);
    ASSERT_TRUE(platform::ui::Input::ClickTab(*page->TabStrip, 2));
    platform::app::EventLoop::Instance().Advance(1000);
    ASSERT_TRUE(platform::ui::Input::ClickTab(*page->TabStrip, 3));
    EXPECT_EQ(ChildId(*page), "<id>.ctlAlarmAI2$");  // still block 2
    page->ctlStatus->RemoveRequests();
    page->ctlStatus->AddRequests();
    EXPECT_EQ(CycleReads(*page), std::vector<std::string>{"PHYS/DIAGNOSIS"});
}

TEST_F(AlarmPageTest, ListsTheChildsRowsAndNavigatesIntoThem) {
    // Not initialised: the 24 rows of the block alarm page, in order.
    auto fresh = frame->Registry().CreateObject("RG38N226_4_07.ctlAlarm");
    const auto rows = std::dynamic_pointer_cast<IPrivateNavigation>(fresh)->GetParameters("");
    ASSERT_NE(rows, nullptr);
    ASSERT_EQ(rows->Count(), 24);
    for (int32_t i = 1; i <= 24; ++i) {
        const auto row = std::dynamic_pointer_cast<platform::ctl::ctlParameter>(rows->Item(i).ObjRef());
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->Index, i - 1);
        EXPECT_EQ(row->Parent()->TypeName(), "ctlAlarmAI");
    }

    // Opened with a pending path into a summary row of the child; the page
    // answers to its own name.
    auto page = Open("ctlAlarm.ctlAlarmAI.ctlParameter.21");
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(Ctx().Functions()->ControlPfad(), "");
    const auto* focused = session->Host().Focus().Focused();
    ASSERT_NE(focused, nullptr);
    EXPECT_EQ(focused, session->Row("ctlAlarmAI.ctlParameter.21").get()) << focused->Name;
    // Rows are found by their tags as the form has them, under the page's own name.
    const auto hits = page->FindParameters("FUNC/%d/%ch/HI_HI_LIM", "");
    ASSERT_EQ(hits->Count(), 1);
    EXPECT_TRUE(hits->Contains("ctlAlarm.ctlAlarmAI.ctlParameter.18"));
}

}  // namespace
}  // namespace dtm

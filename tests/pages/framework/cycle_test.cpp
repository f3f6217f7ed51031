#include "CycleFixture.h"
#include "pages/framework/ctlCycle.h"
#include "platform/app/EventLoop.h"
#include "platform/app/MessageBox.h"
#include "platform/com/PropertyBag.h"

namespace {

using namespace platform;
using dtm::ctlCycle;
using dtm::testing::Log;

class Cycle : public dtm::testing::CycleTest {
protected:
    // A cycle control as the status bar places it, its events logged.
    P<ctlCycle> NewCycle(bool automate = true) {
        com::PropertyBag design;
        design.WriteProperty("Interval", Variant::Lng(4000));
        design.WriteProperty("AutomateDynamicIcons", Variant::Bool(automate));
        auto cycle = std::make_shared<ctlCycle>();
        cycle->Create(&design);
        cycle->Click.Connect([this] { log.push_back("Click"); });
        cycle->OnAddRequests.Connect([this](rt::TransGrp&) { log.push_back("OnAddRequests"); });
        cycle->OnRemoveRequests.Connect([this](rt::TransGrp&) { log.push_back("OnRemoveRequests"); });
        return cycle;
    }
    static void Tick(int64_t ms) { app::EventLoop::Instance().Advance(ms); }
    static const std::vector<app::MessageBoxRecord>& Boxes() { return app::MessageBoxHandler::Instance().Records(); }
};

TEST_F(Cycle, StartRaisesClickThenAddsAndReadsAtOnceThenEvery4000ms) {
    auto cycle = NewCycle();
    cycle->Init(model.ctx, dtm::scmStart);
    EXPECT_EQ(TakeLog(), (Log{"InitGroup", "Click", "OnAddRequests", "Execute"}));
    EXPECT_EQ(cycle->Value(), 1);
    EXPECT_TRUE(cycle->tmrCycle->Enabled());
    Tick(3999);
    EXPECT_EQ(groups[0]->executes, 1);
    Tick(1);
    EXPECT_EQ(groups[0]->executes, 2);
    Tick(8000);
    EXPECT_EQ(groups[0]->executes, 4);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(Cycle, ModesThatDoNotStartRaiseNothing) {
    for (const auto mode : {dtm::scmDoNotStart, dtm::scmStartIfConnected, static_cast<dtm::startCycleMode>(9)}) {
        auto cycle = NewCycle();
        cycle->Init(model.ctx, mode);  // the instance has no connection
        EXPECT_EQ(TakeLog(), Log{"InitGroup"}) << mode;
        EXPECT_EQ(cycle->Value(), 0);
        EXPECT_FALSE(cycle->tmrCycle->Enabled());
    }
}

TEST_F(Cycle, UncheckingStopsRemovesAndEmptiesTheGroup) {
    auto cycle = NewCycle();
    cycle->Init(model.ctx, dtm::scmStart);
    TakeLog();
    EXPECT_TRUE(cycle->chkCycle->UserClick());
    EXPECT_EQ(TakeLog(), (Log{"Click", "OnRemoveRequests", "ResetGroup"}));
    EXPECT_FALSE(cycle->tmrCycle->Enabled());
    Tick(20000);
    EXPECT_EQ(groups[0]->executes, 1);
}

TEST_F(Cycle, AReadThatCannotStartStopsTheCycleAndTellsOnce) {
    struct Case {
        int32_t result;
        bool stops;
    };
    for (const auto& c : {Case{0, false}, Case{6, false}, Case{1, true}, Case{2, true}}) {
        app::MessageBoxHandler::Instance().Clear();
        auto cycle = NewCycle();
        cycle->Init(model.ctx, dtm::scmStart);
        groups.back()->executeResults = {c.result};
        TakeLog();
        Tick(4000);
        if (!c.stops) {
            EXPECT_EQ(TakeLog(), Log{"Execute"}) << c.result;
            EXPECT_TRUE(Boxes().empty()) << c.result;
            EXPECT_TRUE(cycle->tmrCycle->Enabled());
            cycle->chkCycle->Value(0);
            continue;
        }
        EXPECT_EQ(TakeLog(), (Log{"Execute", "Click", "OnRemoveRequests", "ResetGroup"})) << c.result;
        EXPECT_EQ(cycle->Value(), 0);
        EXPECT_FALSE(cycle->tmrCycle->Enabled());
        ASSERT_EQ(Boxes().size(), 1u);
        EXPECT_EQ(Boxes()[0].prompt, Text("error_at_read_status"));
        EXPECT_EQ(Boxes()[0].buttons, 0);
        Tick(8000);
        EXPECT_EQ(Boxes().size(), 1u);
    }
}

TEST_F(Cycle, NoConnectionAtStartUnchecksAndTells) {
    auto cycle = NewCycle();
    cycle->Init(model.ctx, dtm::scmDoNotStart);
    groups[0]->connection = 1;
    TakeLog();
    cycle->chkCycle->UserClick();
    EXPECT_EQ(TakeLog(), (Log{"Click", "Click", "OnRemoveRequests", "ResetGroup"}));
    EXPECT_EQ(cycle->Value(), 0);
    EXPECT_FALSE(cycle->tmrCycle->Enabled());
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].prompt, Text("error_at_connect"));
    EXPECT_EQ(Boxes()[0].buttons, 0);
}

TEST_F(Cycle, ABusyGroupBlocksTheStartUntilTheNextAddRequests) {
    auto cycle = NewCycle();
    cycle->Init(model.ctx, dtm::scmDoNotStart);
    groups[0]->busy = true;
    TakeLog();
    cycle->chkCycle->UserClick();
    EXPECT_EQ(TakeLog(), Log{"Click"});
    EXPECT_EQ(cycle->Value(), 1);
    EXPECT_FALSE(cycle->tmrCycle->Enabled());
    cycle->AddRequests();  // still busy
    EXPECT_TRUE(TakeLog().empty());
    groups[0]->busy = false;
    cycle->AddRequests();
    EXPECT_EQ(TakeLog(), (Log{"OnAddRequests", "Execute"}));
    EXPECT_TRUE(cycle->tmrCycle->Enabled());
}

// A start that finds a read still running (a tab change during a read, or a
// click while the last read ends) runs when that read ends, instead of leaving
// a checked box that reads nothing until the user clicks again.
TEST_F(Cycle, AStartBlockedByARunningReadRunsWhenTheReadEnds) {
    struct Case {
        const char* name;
        bool fromHost;        // RemoveRequests + AddRequests on a running cycle, else a click
        bool uncheckMeanwhile;
        Log afterTheRead;
    };
    const Case cases[] = {
        {"click", false, false, {"OnAddRequests", "Execute"}},
        {"tab change", true, false, {"OnAddRequests", "Execute"}},
        {"unchecked before the read ended", false, true, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto cycle = NewCycle();
        cycle->Init(model.ctx, c.fromHost ? dtm::scmStart : dtm::scmDoNotStart);
        auto& group = *groups.back();
        group.busy = true;
        if (c.fromHost) {
            cycle->RemoveRequests();
            cycle->AddRequests();
        } else {
            cycle->chkCycle->UserClick();
        }
        if (c.uncheckMeanwhile) cycle->chkCycle->UserClick();
        EXPECT_FALSE(cycle->tmrCycle->Enabled());
        TakeLog();
        group.busy = false;
        cycle->OnProcessFinished("", platform::Variant::Missing());
        EXPECT_EQ(TakeLog(), c.afterTheRead);
        EXPECT_EQ(cycle->tmrCycle->Enabled(), !c.afterTheRead.empty());
        cycle->OnProcessFinished("", platform::Variant::Missing());  // a later read's end starts nothing
        EXPECT_TRUE(TakeLog().empty());
    }
}

TEST_F(Cycle, RemoveThenAddRequestsSuspendsAndResumesWithoutClick) {
    auto cycle = NewCycle();
    cycle->RemoveRequests();  // before Init
    cycle->AddRequests();
    cycle->chkCycle->UserClick();  // before Init: no event
    EXPECT_TRUE(TakeLog().empty());
    cycle->chkCycle->Value(0);

    cycle->Init(model.ctx, dtm::scmStart);
    TakeLog();
    cycle->RemoveRequests();
    EXPECT_EQ(TakeLog(), (Log{"OnRemoveRequests", "ResetGroup"}));
    EXPECT_EQ(cycle->Value(), 1);
    EXPECT_FALSE(cycle->tmrCycle->Enabled());
    Tick(8000);
    EXPECT_EQ(groups[0]->executes, 1);
    cycle->AddRequests();
    EXPECT_EQ(TakeLog(), (Log{"OnAddRequests", "Execute"}));
    EXPECT_TRUE(cycle->tmrCycle->Enabled());

    cycle->RemoveRequests();
    TakeLog();
    cycle->chkCycle->UserClick();  // a suspended cycle stopped: the remove event again
    EXPECT_EQ(TakeLog(), (Log{"Click", "OnRemoveRequests", "ResetGroup"}));
    cycle->RemoveRequests();
    cycle->AddRequests();
    EXPECT_TRUE(TakeLog().empty());
}

TEST_F(Cycle, ElementsReadByTwoCyclesStayDynamicUntilTheLastStops) {
    auto diagnosis = Element("PHYS/DIAGNOSIS");
    auto first = NewCycle(), second = NewCycle();
    first->Init(model.ctx, dtm::scmDoNotStart);
    second->Init(model.ctx, dtm::scmDoNotStart);
    for (auto& g : groups) g->requests = {diagnosis, nullptr};
    first->chkCycle->Value(1);
    second->chkCycle->Value(1);
    EXPECT_EQ(diagnosis->DynamicCounter, 2);
    EXPECT_TRUE(diagnosis->ParamDynamic());
    second->AddRequests();  // marked already: not counted again
    EXPECT_EQ(diagnosis->DynamicCounter, 2);
    first->chkCycle->Value(0);
    EXPECT_EQ(diagnosis->DynamicCounter, 1);
    EXPECT_TRUE(diagnosis->ParamDynamic());
    second->RemoveRequests();
    EXPECT_EQ(diagnosis->DynamicCounter, 0);
    EXPECT_FALSE(diagnosis->ParamDynamic());
    EXPECT_EQ(recorder->changed, (std::vector<std::string>(4, "PHYS/DIAGNOSIS")));
}

TEST_F(Cycle, ARecordRequestCountsItsFieldsAndTheMarkedListIsWhatIsUncounted) {
    auto record = Element("FUNC/1/AI/OUT/");
    auto diagnosis = Element("PHYS/DIAGNOSIS");
    const auto fields = model.Parameters().Children("FUNC/1/AI/OUT/");
    ASSERT_GE(fields.size(), 2u);
    auto cycle = NewCycle();
    cycle->Init(model.ctx, dtm::scmDoNotStart);
    groups[0]->requests = {record};
    cycle->chkCycle->Value(1);
    EXPECT_EQ(record->DynamicCounter, 0);
    for (const auto& f : fields) EXPECT_EQ(std::dynamic_pointer_cast<dtm::clsDataElement>(f)->DynamicCounter, 1);
    groups[0]->requests = {diagnosis};  // the host changed the group meanwhile
    cycle->Clear();
    for (const auto& f : fields) EXPECT_EQ(std::dynamic_pointer_cast<dtm::clsDataElement>(f)->DynamicCounter, 0);
    EXPECT_EQ(diagnosis->DynamicCounter, 0);
}

TEST_F(Cycle, WithoutAutomaticIconsOnlyTheOnlineChangeFlagIsCleared) {
    auto diagnosis = Element("PHYS/DIAGNOSIS");
    auto cycle = NewCycle(false);
    cycle->Init(model.ctx, dtm::scmDoNotStart);
    groups[0]->requests = {diagnosis};
    diagnosis->SetStatusFlag(0x20);
    cycle->chkCycle->Value(1);
    EXPECT_EQ(diagnosis->StatusFlags() & 0x20, 0);
    EXPECT_EQ(diagnosis->DynamicCounter, 0);
    EXPECT_FALSE(diagnosis->ParamDynamic());
    diagnosis->SetStatusFlag(0x20);
    cycle->RemoveRequests();
    cycle->AddRequests();
    EXPECT_EQ(diagnosis->StatusFlags() & 0x20, 0x20);  // not on the host's path
    cycle->chkCycle->Value(0);
    EXPECT_EQ(diagnosis->StatusFlags() & 0x20, 0);
    EXPECT_TRUE(recorder->changed.empty());
}

TEST_F(Cycle, ClearStopsReleasesAndADestroyedControlUncounts) {
    auto diagnosis = Element("PHYS/DIAGNOSIS");
    auto cycle = NewCycle();
    cycle->Init(model.ctx, dtm::scmStart);
    groups[0]->requests = {diagnosis};
    cycle->RemoveRequests();
    cycle->AddRequests();
    TakeLog();
    cycle->Clear();
    EXPECT_EQ(TakeLog(), (Log{"Click", "OnRemoveRequests", "ResetGroup", "ReleaseGroup"}));
    EXPECT_EQ(diagnosis->DynamicCounter, 0);

    auto other = NewCycle();
    other->Init(model.ctx, dtm::scmStart);
    groups[1]->requests = {diagnosis};
    other->RemoveRequests();
    other->AddRequests();
    EXPECT_EQ(diagnosis->DynamicCounter, 1);
    other.reset();
    EXPECT_EQ(diagnosis->DynamicCounter, 0);
    EXPECT_FALSE(diagnosis->ParamDynamic());
}

TEST_F(Cycle, PropertiesAndCaption) {
    com::PropertyBag empty;
    auto cycle = std::make_shared<ctlCycle>();
    cycle->Create(&empty);
    EXPECT_EQ(cycle->Interval(), 4000);
    EXPECT_FALSE(cycle->AutomateDynamicIcons());
    EXPECT_FALSE(cycle->tmrCycle->Enabled());
    EXPECT_EQ(cycle->chkCycle->Caption(), "chkCycle");
    cycle->AutomateDynamicIcons(false);
    EXPECT_TRUE(cycle->PropertyChanges().empty());
    cycle->AutomateDynamicIcons(true);
    EXPECT_EQ(cycle->PropertyChanges(), std::vector<std::string>{"AutomateDynamicIcons"});
    cycle->BackColor(0x123456);
    EXPECT_EQ(cycle->chkCycle->BackColor(), 0x123456);
    cycle->Interval(1000);
    com::PropertyBag saved;
    cycle->WriteProperties(saved);
    auto again = std::make_shared<ctlCycle>();
    again->Create(&saved);
    EXPECT_EQ(again->Interval(), 1000);
    EXPECT_TRUE(again->AutomateDynamicIcons());
    EXPECT_EQ(again->chkCycle->BackColor(), 0x123456);

    again->Init(model.ctx, dtm::scmDoNotStart);
    const std::string text = Text("ctlCycle_chkCycle");
    EXPECT_EQ(again->chkCycle->Caption(), text == "ctlCycle_chkCycle" ? "chkCycle" : text);
}

TEST_F(Cycle, InitWithoutAGroupFactoryFails) {
    dtm::SetCycleGroupFactory(nullptr);
    auto cycle = NewCycle();
    EXPECT_THROW(cycle->Init(model.ctx, dtm::scmStart), com::ComError);
    EXPECT_EQ(cycle->Value(), 0);
}

}  // namespace

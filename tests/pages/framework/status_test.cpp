#include <sstream>

#include "CycleFixture.h"
#include "core/ComponentFolder.h"
#include "core/dtm/PageInterfaces.h"
#include "pages/framework/ctlStatus.h"
#include "platform/com/PropertyBag.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/LanguageDictionary.h"

namespace {

using namespace platform;
using dtm::ctlStatus;
using dtm::testing::Log;

// The DTM object as a page sees it.
class Provider : public dtm::IDtmContextProvider {
public:
    explicit Provider(P<rt::DTMContext> ctx) : ctx_(std::move(ctx)) {}
    P<rt::DTMContext> DTMContext() const override { return ctx_; }

private:
    P<rt::DTMContext> ctx_;
};

class Status : public dtm::testing::CycleTest {
protected:
    // A status bar as a host form places it, the host's handlers logged.
    P<ctlStatus> NewStatus(bool cyclicRefresh = true) {
        com::PropertyBag design;
        design.WriteProperty("CyclicRefresh", Variant::Bool(cyclicRefresh));
        auto status = std::make_shared<ctlStatus>();
        status->Create(&design);
        status->OnAddDiagnoseRequests.Connect([this](rt::TransGrp& g) { Note("OnAddDiagnoseRequests", g); });
        status->OnAddCycleRequests.Connect([this](rt::TransGrp& g) { Note("OnAddCycleRequests", g); });
        status->OnRemoveRequests.Connect([this](rt::TransGrp& g) { Note("OnRemoveRequests", g); });
        status->Click.Connect([this] { log.push_back("Click"); });
        return status;
    }
    void Note(const std::string& event, rt::TransGrp& group) {
        log.push_back(event);
        EXPECT_EQ(&group, &groups.back()->Group()) << event;
    }
    P<com::Object> Dtm() const { return std::make_shared<Provider>(model.ctx); }
    std::string KeyText(const std::string& key) const {
        const Variant text = model.ctx->Dictionary()->LookupText("keys", key, "text");
        return text.IsString() ? dtm::ExpandTextRefs(com::CStr(text), model.ctx, model.ctx->Dictionary()->SectionNode("keys"))
                               : "";
    }
    void Notify(const std::string& path) {
        model.ctx->GuiRegistry()->NotifyParameterChanged(model.Parameters().Item(path), "");
    }
    std::vector<std::string> CycleEvents() {
        Log events;
        for (const auto& e : TakeLog())
            if (e.rfind("On", 0) == 0 || e == "Click") events.push_back(e);
        return events;
    }
};

TEST_F(Status, RegistersAsAChildWhateverItsIdAndShowsTheStateAtInit) {
    auto status = NewStatus();
    model.Parameters().Item("~/DataStatus")->TransientValue(Variant::Int(0));
    ASSERT_TRUE(status->Init("{top-level-id}", "", Dtm()));
    const auto registry = model.ctx->GuiRegistry();
    EXPECT_TRUE(registry->FindGui("{top-level-id}"));
    EXPECT_EQ(registry->OpenGuis(), 1);  // the recorder only
    EXPECT_EQ(status->stbar->Panels("pnlOnOffline")->Text(), KeyText("key_notConnected"));
    EXPECT_EQ(status->PanelIcon("pnlOnOffline"), "k_empty");
    EXPECT_EQ(status->PanelIcon("pnlDiagnosis"), "k_empty");
    EXPECT_EQ(status->PanelIcon("ctlCycle"), "k_diagErr");
    EXPECT_EQ(status->PanelIcon("pnlParamChange"), "k_saved");
    EXPECT_EQ(status->stbar->Panels("pnlDiagnosis")->Text(), KeyText("ctlStatus_stbar_panel_3"));
    EXPECT_EQ(status->stbar->Panels("pnlParamChange")->Text(), KeyText("ctlStatus_stbar_panel_4"));
    EXPECT_EQ(status->ctlCycle->Value(), 0);  // not connected: the cycle waits
    EXPECT_EQ(TakeLog(), Log{"InitGroup"});
}

TEST_F(Status, InitWithoutIdOrDtmRegistersNothing) {
    auto status = NewStatus();
    EXPECT_FALSE(status->Init("", "", Dtm()));
    EXPECT_FALSE(status->Init("{id}", "", nullptr));
    EXPECT_TRUE(status->InvokeId().empty());
    EXPECT_FALSE(model.ctx->GuiRegistry()->FindGui("{id}"));
    EXPECT_TRUE(groups.empty());
}

TEST_F(Status, DataStatusPanelFollowsTheDataSetState) {
    auto status = NewStatus();
    status->Init("{id}.1$", "", Dtm());
    const std::pair<Variant, const char*> cases[] = {{Variant::Int(0), "k_saved"},   {Variant::Int(1), "k_online"},
                                                     {Variant::Int(2), "k_changed"}, {Variant::Int(3), "k_mixed"},
                                                     {Variant::Int(-1), "k_mixed"},  {Variant::Int(0), "k_saved"}};
    for (const auto& [value, icon] : cases) {
        model.Parameters().Item("~/DataStatus")->TransientValue(value);
        Notify("~/DataStatus");
        EXPECT_EQ(status->PanelIcon("pnlParamChange"), icon) << com::CStr(value);
    }
}

TEST_F(Status, DiagnosisPanelFollowsTheDiagnosisReads) {
    auto status = NewStatus();
    status->Init("{id}.1$", "", Dtm());
    const auto diagnosis = model.Parameters().Item("PHYS/DIAGNOSIS");
    struct Case {
        const char* name;
        Variant device;
        int32_t flags;
        const char* icon;
    };
    const Case cases[] = {
        {"all zero", Variant::ByteArray({0, 0, 0, 0}), 0, "k_ok"},
        {"one bit", Variant::ByteArray({0, 0, 8, 0}), 0, "k_diagErr"},
        {"scalar zero", Variant::Lng(0), 0, "k_ok"},
        {"scalar", Variant::Lng(4), 0, "k_diagErr"},
        {"communication error", Variant::ByteArray({0, 0, 0, 0}), 0x20000, "k_commErr"},
        {"never read", Variant(), 0, "k_empty"},
    };
    for (const auto& c : cases) {
        diagnosis->DeviceValue(c.device);
        diagnosis->StatusFlags((diagnosis->StatusFlags() & ~0xF0000) | c.flags);
        Notify("PHYS/DIAGNOSIS");
        EXPECT_EQ(status->PanelIcon("pnlDiagnosis"), c.icon) << c.name;
    }
    diagnosis->DeviceValue(Variant::ByteArray({1, 0, 0, 0}));
    Notify("PHYS/TAG_DESC");  // other elements change no panel
    EXPECT_EQ(status->PanelIcon("pnlDiagnosis"), "k_empty");
}

TEST_F(Status, TheCycleReachesThePageDiagnoseFirst) {
    auto status = NewStatus();
    status->Init("{id}.1$", "", Dtm());
    TakeLog();
    status->ctlCycle->chkCycle->UserClick();
    EXPECT_EQ(CycleEvents(), (Log{"Click", "OnAddDiagnoseRequests", "OnAddCycleRequests"}));
    EXPECT_EQ(status->PanelIcon("ctlCycle"), "k_ok");
    model.Parameters().Item("PHYS/DIAGNOSIS")->DeviceValue(Variant::ByteArray({0, 0, 0, 0}));
    Notify("PHYS/DIAGNOSIS");

    status->RemoveRequests();
    status->AddRequests();
    EXPECT_EQ(CycleEvents(), (Log{"OnRemoveRequests", "OnAddDiagnoseRequests", "OnAddCycleRequests"}));
    EXPECT_EQ(status->PanelIcon("ctlCycle"), "k_ok");
    EXPECT_EQ(status->PanelIcon("pnlDiagnosis"), "k_ok");

    status->ctlCycle->chkCycle->UserClick();
    EXPECT_EQ(CycleEvents(), (Log{"Click", "OnRemoveRequests"}));
    EXPECT_EQ(status->PanelIcon("ctlCycle"), "k_diagErr");
    EXPECT_EQ(status->PanelIcon("pnlDiagnosis"), "k_empty");
}

TEST_F(Status, WithoutCyclicRefreshTheCycleIsHiddenAndSilent) {
    auto status = NewStatus(false);
    status->Init("{id}.1$", "", Dtm());
    EXPECT_TRUE(groups.empty());  // the cycle control is not initialised
    EXPECT_FALSE(status->stbar->Panels("pnlDiagnosis")->Visible());
    EXPECT_FALSE(status->stbar->Panels("ctlCycle")->Visible());
    EXPECT_FALSE(status->ctlCycle->Visible());
    EXPECT_TRUE(status->stbar->Panels("pnlOnOffline")->Visible());
    status->AddRequests();
    status->RemoveRequests();
    status->ctlCycle->chkCycle->Value(1);
    EXPECT_TRUE(CycleEvents().empty());
    model.Parameters().Item("~/DataStatus")->TransientValue(Variant::Int(2));
    Notify("~/DataStatus");
    EXPECT_EQ(status->PanelIcon("pnlParamChange"), "k_changed");
    EXPECT_TRUE(status->PrepareToRelease());
}

TEST_F(Status, CyclicRefreshLetChangesOnlyTheVisibility) {
    auto status = NewStatus();
    status->CyclicRefresh(true);
    EXPECT_TRUE(status->PropertyChanges().empty());
    status->CyclicRefresh(false);
    EXPECT_EQ(status->PropertyChanges(), std::vector<std::string>{"CyclicRefresh"});
    EXPECT_FALSE(status->ctlCycle->Visible());
    com::PropertyBag bag;
    status->WriteProperties(bag);
    EXPECT_FALSE(com::CBool(bag.ReadProperty("CyclicRefresh", Variant::Bool(true))));
    status->CyclicRefresh(true);
    status->WriteProperties(bag);
    EXPECT_TRUE(bag.Contains("CyclicRefresh"));  // written even at its default
    EXPECT_TRUE(status->ctlCycle->Visible());
    EXPECT_TRUE(groups.empty());
    com::PropertyBag empty;
    auto fresh = std::make_shared<ctlStatus>();
    fresh->Create(&empty);
    EXPECT_TRUE(fresh->CyclicRefresh());
}

TEST_F(Status, ReleaseWhileTheCycleRunsTellsThePageAndUnregisters) {
    auto status = NewStatus();
    status->Init("{id}.1$", "", Dtm());
    status->ctlCycle->chkCycle->Value(1);
    TakeLog();
    EXPECT_TRUE(status->CloseGUI());
    EXPECT_EQ(TakeLog(), (Log{"Click", "OnRemoveRequests", "ResetGroup", "ReleaseGroup"}));
    EXPECT_FALSE(model.ctx->GuiRegistry()->FindGui("{id}.1$"));
    EXPECT_TRUE(status->InvokeId().empty());
    EXPECT_TRUE(status->PrepareToRelease());  // a second release answers at once
    EXPECT_TRUE(status->CloseGUI());
    EXPECT_TRUE(TakeLog().empty());
}

TEST_F(Status, AFailedInitLeavesNothingRegistered) {
    dtm::SetCycleGroupFactory(nullptr);
    auto status = NewStatus();
    EXPECT_THROW(status->Init("{id}.1$", "", Dtm()), com::ComError);
    EXPECT_FALSE(model.ctx->GuiRegistry()->FindGui("{id}.1$"));
    EXPECT_TRUE(status->InvokeId().empty());
}

TEST_F(Status, PanelWidthsFollowTheirTexts) {
    auto status = NewStatus();
    status->Init("{id}.1$", "", Dtm());
    const auto panel = status->stbar->Panels("pnlOnOffline");
    EXPECT_EQ(panel->Width(), ui::UserControl::TextWidth(panel->Text()) + 60 + 240);
    const auto cycle = status->stbar->Panels("ctlCycle");
    EXPECT_EQ(cycle->Width(), status->ctlCycle->Width() + 60 + 240);
    EXPECT_EQ(status->ctlCycle->Left(), cycle->Left() + 30 + 240);
}

TEST_F(Status, AStatusBarDroppedWhileInitialisedUnregistersItself) {
    auto status = NewStatus();
    status->Init("{id}.1$", "", Dtm());
    status.reset();
    EXPECT_FALSE(model.ctx->GuiRegistry()->FindGui("{id}.1$"));
}

TEST_F(Status, TraceLinesNameTheMembers) {
    dtm::testing::ComponentFolder folder;  // tracing on from here
    folder.WriteIni("[TimeCritical]\r\nTrace=ExternalFile\r\n");
    auto status = NewStatus();
    EXPECT_TRUE(status->CloseGUI());
    status->Init("{id}.1$", "", Dtm());
    status->ctlCycle->chkCycle->Value(1);
    status->RemoveRequests();
    EXPECT_TRUE(status->PrepareToRelease());
    std::vector<std::string> lines;
    std::istringstream in(folder.Read("TraceInfoFile.txt"));
    for (std::string line; std::getline(in, line);) {
        const auto at = line.find("ctlStatus-");
        if (at != std::string::npos) lines.push_back(line.substr(at, line.find_last_not_of('\r') + 1 - at));
    }
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "ctlStatus-IPrivateGUI_CloseGUI: failed",
                         "ctlStatus-InitControls: ",
                         "ctlStatus-InitLanguageDependedControls: ",
                         "ctlStatus-InitStatusLanguage: ",
                         "ctlStatus-InitStatusControls: ",
                         "ctlStatus-IDtmActiveXControl_Init: ReturnValue = TRUE",
                         "ctlStatus-ctlCycle_Click: ",
                         "ctlStatus-ctlCycle_OnAddRequests: ",
                         "ctlStatus-RemoveRequests: ",
                         "ctlStatus-ctlCycle_OnRemoveRequests: ",
                         "ctlStatus-ExitControls: ",
                         "ctlStatus-ctlCycle_Click: ",
                         "ctlStatus-ctlCycle_OnRemoveRequests: ",
                         "ctlStatus-IDtmActiveXControl_PrepareToRelease: ExitControls successfull-Return Value = TRUE",
                     }));
}

}  // namespace

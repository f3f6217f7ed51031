// The DTM object driven as a frame drives it: the whole life cycle, the wrong
// orders a frame may use, the refusals, and the end of the instance.
#include <gtest/gtest.h>

#include <algorithm>

#include "DtmFixture.h"
#include "frame/DeviceChannel.h"
#include "frame/SimulatedDevice.h"
#include "StubPage.h"
#include "core/dtm/DTMMain.h"
#include "platform/archive/Archive.h"
#include "core/dtm/DTMState.h"
#include "platform/fdt/FrameInterfaces.h"
#include "platform/rt/CommObj.h"
#include "platform/rt/DtmCommService.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/DtmRuntimeGlobal.h"
#include "platform/rt/IPrivateGUI.h"
#include "platform/win/Guid.h"

namespace {

using dtm::testing::DtmFixture;
using platform::Variant;

// A container without the frame's event face.
class BareContainer : public platform::fdt::IFdtContainer {
public:
    bool SaveRequest(const std::string&) override { return true; }
    bool CloseRequest(const std::string&) override { return true; }
};

class DtmLifeCycle : public DtmFixture {
protected:
    // Connects through the communication service to the simulated device and
    // waits until the device's identity is read and checked.
    void Connect() {
        ASSERT_TRUE(session.SetCommunication());
        ASSERT_TRUE(Ctx().CommService()->OpenConnection());
        platform::app::EventLoop::Instance().RunUntilIdle();
        ASSERT_TRUE(Ctx().CommService()->IsOnline());
    }
    // The frame's upload of every parameter, requested and running until its
    // first transaction waits for an answer.
    void StartUpload() {
        auto& online = dynamic_cast<platform::fdt::IDtmOnlineParameter&>(*session.Dtm());
        ASSERT_TRUE(online.IDtmOnlineParameter_UploadRequest("{UPLOAD}", ""));
        auto& loop = platform::app::EventLoop::Instance();
        while (Ctx().CommService()->PendingTransactions() == 0 && loop.PendingCount() > 0) loop.Advance(1);
        ASSERT_GT(Ctx().CommService()->PendingTransactions(), 0u);
    }
    bool Reported(const std::string& text) const {
        const auto& errors = Ctx().ReportedErrors();
        return std::find(errors.begin(), errors.end(), text) != errors.end();
    }
    dtm::frame::SimulatedDevice device;
    dtm::frame::DeviceChannel channel{*session.Communication(), device};

    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& e : session.Container()->Events()) names.push_back(e.name);
        return names;
    }
};

TEST_F(DtmLifeCycle, NewInstanceFromCreationToRelease) {
    ASSERT_TRUE(session.Create(registry));
    std::weak_ptr<platform::com::Object> dtm = session.Dtm();
    std::weak_ptr<platform::rt::DTMContext> ctx = session.Context();
    EXPECT_EQ(session.Context(), session.Context());  // one context for the instance's life

    ASSERT_TRUE(session.Environment());
    ASSERT_TRUE(session.InitNew());
    EXPECT_EQ(Ctx().DeviceType()->DeviceIdText(), "RXD 218");
    EXPECT_EQ(Ctx().DeviceType()->IconFile(), "RXD218.ico");
    EXPECT_GT(Params().Count(), 500);
    ASSERT_TRUE(session.Config());
    EXPECT_EQ(Ctx().UserLevel(), 3);
    EXPECT_NE(session.IDtm().IDtm_GetFunctions("").find("DtmFunctions"), std::string::npos);
    ASSERT_TRUE(session.SetCommunication());
    EXPECT_TRUE(std::dynamic_pointer_cast<dtm::DTMMain>(session.Dtm())->Attached());
    ASSERT_TRUE(session.ReleaseCommunication());
    EXPECT_FALSE(std::dynamic_pointer_cast<dtm::DTMMain>(session.Dtm())->Attached());
    ASSERT_TRUE(session.Release());

    EXPECT_EQ(Names(), (std::vector<std::string>{"OnFunctionChanged", "OnPreparedToReleaseCommunication",
                                                 "SaveRequest", "OnPreparedToRelease"}));
    EXPECT_TRUE(dtm.expired());
    EXPECT_TRUE(ctx.expired());
    EXPECT_TRUE(platform::app::ErrorSink::Instance().Empty());
}

TEST_F(DtmLifeCycle, ConnectedInstanceEndsWhenTheFrameDropsIt) {
    StartNew();
    Connect();
    std::weak_ptr<platform::com::Object> dtm = session.Dtm();
    std::weak_ptr<platform::rt::DTMContext> ctx = session.Context();
    session.DropDtm();
    platform::app::EventLoop::Instance().RunUntilIdle();
    EXPECT_TRUE(dtm.expired());
    EXPECT_TRUE(ctx.expired());
}

TEST_F(DtmLifeCycle, EnvironmentRefusesMissingTagOrEventFace) {
    ASSERT_TRUE(session.Create(registry));
    auto bare = std::make_shared<BareContainer>();
    struct Case {
        std::string tag;
        platform::P<platform::com::Object> container;
    };
    for (const auto& c : {Case{"", session.Container()}, Case{"TAG", nullptr}, Case{"TAG", bare}}) {
        EXPECT_FALSE(session.IDtm().IDtm_Environment(c.tag, c.container)) << c.tag;
        EXPECT_EQ(Ctx().SystemTag(), "");
        EXPECT_EQ(Ctx().Container(), nullptr);
        EXPECT_EQ(Ctx().DTMEvents(), nullptr);
    }
    EXPECT_TRUE(session.Environment());
    EXPECT_EQ(Ctx().SystemTag(), "PA_FT_101");
    EXPECT_TRUE(Ctx().ReportedErrors().empty());  // a fresh instance has no type to look up
}

TEST_F(DtmLifeCycle, EnvironmentOfAStoredUnsupportedTypeReportsItAndSucceeds) {
    ASSERT_TRUE(session.Create(registry));
    platform::com::PropertyBag bag;
    bag.WriteProperty("DeviceType.ManufacturerId", Variant::Lng(12));
    bag.WriteProperty("DeviceType.DeviceTypeId", Variant::Lng(34));
    ASSERT_TRUE(session.Load(bag));
    EXPECT_TRUE(session.Environment());
    ASSERT_EQ(Events("OnErrorMessage").size(), 1u);
    EXPECT_NE(Events("OnErrorMessage")[0].args[0].find("manufacturer id 12, device type id 34"), std::string::npos);
}

TEST_F(DtmLifeCycle, EnvironmentOfAStoredSupportedTypeTakesItsDescription) {
    ASSERT_TRUE(session.Create(registry));
    Ctx().DeviceType()->ManufacturerId(Variant::Lng(173));
    Ctx().DeviceType()->DeviceTypeId(Variant::Lng(214));
    EXPECT_TRUE(session.Environment());
    EXPECT_EQ(Ctx().DeviceType()->IconFile(), "RXD214.ico");
    EXPECT_FALSE(Ctx().DeviceType()->DeviceDescriptor().empty());
    EXPECT_TRUE(Events("OnErrorMessage").empty());
}

TEST_F(DtmLifeCycle, InitNewRefusesAnUnreadableTypeAndBuildsNoModel) {
    ASSERT_TRUE(session.Create(registry));
    ASSERT_TRUE(session.Environment());
    for (const char* text : {"", "<FDT>", "<FDT><fdt:DtmDeviceType manufacturerId=\"x\" deviceTypeId=\"1\"/></FDT>",
                             "<FDT><DtmDeviceType manufacturerId=\"173\" deviceTypeId=\"256\"/></FDT>"}) {
        EXPECT_FALSE(session.InitNew(text)) << text;
        EXPECT_EQ(Params().Count(), 0);
    }
}

TEST_F(DtmLifeCycle, InitNewOfAnUnsupportedTypeReportsItAndBuildsTheModel) {
    ASSERT_TRUE(session.Create(registry));
    ASSERT_TRUE(session.Environment());
    EXPECT_TRUE(session.InitNew("<FDT><DtmDeviceType manufacturerId=\"9\" deviceTypeId=\"214\" name=\"RXD 214\"/></FDT>"));
    EXPECT_GT(Params().Count(), 0);
    ASSERT_EQ(Events("OnErrorMessage").size(), 1u);
    EXPECT_NE(Events("OnErrorMessage")[0].args[0].find("manufacturer id 9"), std::string::npos);
}

TEST_F(DtmLifeCycle, ADataSetIsInitialisedOnlyOnce) {
    StartNew();
    const auto tag = Params().Item("PHYS/TAG_DESC");
    Element("PHYS/TAG_DESC").TransientValue = Variant(std::string("KEPT"));
    const std::string label = Element("PHYS/TAG_DESC").Label;
    ASSERT_FALSE(label.empty());
    platform::com::PropertyBag bag;
    ASSERT_TRUE(session.Save(bag));

    EXPECT_FALSE(session.InitNew());
    EXPECT_FALSE(session.Load(bag));
    EXPECT_EQ(Params().Item("PHYS/TAG_DESC"), tag);  // the same model, its texts and values kept
    EXPECT_EQ(Element("PHYS/TAG_DESC").Label, label);
    EXPECT_EQ(platform::com::CStr(Element("PHYS/TAG_DESC").TransientValue), "KEPT");

    dtm::frame::FrameSession stored("TAG2");
    ASSERT_TRUE(stored.Create(registry));
    ASSERT_TRUE(stored.Load(bag));
    const int32_t count = stored.Context()->Parameters()->Count();
    EXPECT_FALSE(stored.Load(bag));
    EXPECT_TRUE(stored.Environment());
    EXPECT_FALSE(stored.InitNew());
    EXPECT_EQ(stored.Context()->Parameters()->Count(), count);
}

TEST_F(DtmLifeCycle, ConfigTellsTheOpenPagesWhenTheUserLevelChanges) {
    StartNew();
    auto page = std::make_shared<dtm::testing::StubPage>();
    Ctx().GuiRegistry()->RegisterGUI("PAGE-1", page, true);
    const struct {
        const char* userInfo;
        int32_t level;
        int notices;
    } cases[] = {
        {"<FDT><UserInfo userLevel=\"operator\"/></FDT>", 1, 1},
        {"<FDT><UserInfo userLevel=\"operator\"/></FDT>", 1, 1},  // the same level: nothing to tell
        {"not xml", 1, 1},
        {"<FDT><UserInfo userLevel=\"OEM\"/></FDT>", 5, 2},
    };
    for (const auto& c : cases) {
        session.IDtm().IDtm_Config(c.userInfo);
        EXPECT_EQ(Ctx().UserLevel(), c.level) << c.userInfo;
        EXPECT_EQ(page->parameterSetChanges, c.notices) << c.userInfo;
    }
}

TEST_F(DtmLifeCycle, InitNewLeavesTheArchiveCurveMaskNotYetSet) {
    ASSERT_TRUE(session.Create(registry));
    auto state = std::dynamic_pointer_cast<dtm::DTMState>(Ctx().StateObject());
    ASSERT_TRUE(state && state->Archive);
    state->Archive->CheckCurveEnabled(5);
    ASSERT_TRUE(session.InitNew(dtm::frame::DeviceTypeDocument(173, 214)));
    EXPECT_EQ(state->Archive->CheckCurveEnabled(), -1);
    EXPECT_EQ(Ctx().DeviceType()->DeviceIdText(), "RXD 214");
}

TEST_F(DtmLifeCycle, OperationsBeforeTheEnvironmentNeverThrowIntoTheFrame) {
    ASSERT_TRUE(session.Create(registry));
    auto& dtm = session.IDtm();
    EXPECT_TRUE(dtm.IDtm_Config("<FDT><UserInfo userLevel=\"operator\"/></FDT>"));  // no event face yet
    EXPECT_FALSE(dtm.IDtm_Config("not xml"));
    EXPECT_FALSE(dtm.IDtm_InvokeFunctionRequest("ID", "<FDT><FunctionCall functionId=\"501\"/></FDT>"));
    EXPECT_TRUE(dtm.IDtm_SetCommunication(session.Communication()));  // no model to tell yet
    EXPECT_TRUE(dtm.IDtm_ReleaseCommunication());
    EXPECT_TRUE(dtm.IDtm_PrepareToRelease());  // no container: no save request
    EXPECT_TRUE(session.Container()->Events().empty());
}

TEST_F(DtmLifeCycle, ASecondSetCommunicationWhileActiveIsRefused) {
    StartNew();
    EXPECT_FALSE(session.IDtm().IDtm_SetCommunication(nullptr));
    Connect();
    EXPECT_FALSE(session.IDtm().IDtm_SetCommunication(session.Communication()));
    EXPECT_FALSE(session.IDtm().IDtm_ReleaseCommunication());
    EXPECT_FALSE(session.IDtm().IDtm_PrepareToDelete());
}

TEST_F(DtmLifeCycle, SetCommunicationRefusesAnObjectThatIsNoChannel) {
    StartNew();
    auto dtm = std::dynamic_pointer_cast<dtm::DTMMain>(session.Dtm());
    EXPECT_FALSE(session.IDtm().IDtm_SetCommunication(std::make_shared<BareContainer>()));
    EXPECT_FALSE(dtm->Attached());
    EXPECT_EQ(Ctx().CommService()->Communication(), nullptr);
    EXPECT_TRUE(session.SetCommunication());
    EXPECT_TRUE(dtm->Attached());
}

TEST_F(DtmLifeCycle, ReleaseCommunicationWaitsForTheDisconnectToFinish) {
    StartNew();
    Connect();
    auto dtm = std::dynamic_pointer_cast<dtm::DTMMain>(session.Dtm());
    session.Communication()->holdDisconnect = true;
    ASSERT_TRUE(session.IDtm().IDtm_PrepareToReleaseCommunication());
    EXPECT_FALSE(dtm->PendingDisconnectId().empty());
    platform::app::EventLoop::Instance().Advance(5000);
    EXPECT_TRUE(Events("OnPreparedToReleaseCommunication").empty());
    dtm->OnProcessFinished("another id");  // not the disconnect: ignored
    EXPECT_FALSE(dtm->PendingDisconnectId().empty());

    session.Communication()->AnswerHeldDisconnects();
    platform::app::EventLoop::Instance().Advance(100);
    EXPECT_EQ(Events("OnPreparedToReleaseCommunication").size(), 1u);
    EXPECT_TRUE(dtm->PendingDisconnectId().empty());
    EXPECT_FALSE(Ctx().CommService()->IsActive());
    EXPECT_TRUE(session.IDtm().IDtm_ReleaseCommunication());
    EXPECT_TRUE(session.IDtm().IDtm_PrepareToDelete());
    EXPECT_EQ(Params().DataSetState(), 4);
}

TEST_F(DtmLifeCycle, AnUnansweredDisconnectEndsAfterTheTimeout) {
    StartNew();
    Connect();
    session.Communication()->holdDisconnect = true;
    ASSERT_TRUE(session.IDtm().IDtm_PrepareToReleaseCommunication());
    platform::app::EventLoop::Instance().Advance(platform::rt::DtmCommService::kAnswerTimeoutMs - 1);
    EXPECT_TRUE(Events("OnPreparedToReleaseCommunication").empty());
    platform::app::EventLoop::Instance().Advance(1);
    EXPECT_EQ(Events("OnPreparedToReleaseCommunication").size(), 1u);
}

TEST_F(DtmLifeCycle, ReleaseCommunicationWhileNotActiveAnswersAtOnce) {
    StartNew();
    ASSERT_TRUE(session.SetCommunication());
    ASSERT_TRUE(session.IDtm().IDtm_PrepareToReleaseCommunication());
    EXPECT_EQ(Events("OnPreparedToReleaseCommunication").size(), 1u);
}

TEST_F(DtmLifeCycle, ADisconnectWithoutAnInvokeIdIsAFailedStart) {
    StartNew();
    Connect();
    auto previous = platform::win::SetGuidGenerator([](platform::win::Guid&) { return false; });
    EXPECT_FALSE(session.IDtm().IDtm_PrepareToReleaseCommunication());
    platform::win::SetGuidGenerator(previous);
    EXPECT_EQ(Ctx().ReportedErrors().back(), "Cannot shut down communication.");
    EXPECT_TRUE(std::dynamic_pointer_cast<dtm::DTMMain>(session.Dtm())->PendingDisconnectId().empty());
}

TEST_F(DtmLifeCycle, ADisconnectTheFrameRefusesIsAFailedStart) {
    StartNew();
    Connect();
    session.Communication()->acceptRequests = false;
    EXPECT_FALSE(session.IDtm().IDtm_PrepareToReleaseCommunication());
    EXPECT_EQ(Ctx().ReportedErrors().back(), "Cannot shut down communication.");
}

TEST_F(DtmLifeCycle, PrepareToReleaseWhileConnectedTerminatesTheConnection) {
    StartNew();
    Connect();
    EXPECT_TRUE(session.IDtm().IDtm_PrepareToRelease());
    EXPECT_EQ(session.Communication()->Requests().back().kind, "Abort");
    EXPECT_FALSE(Ctx().CommService()->IsActive());
}

TEST_F(DtmLifeCycle, PrepareToReleaseDuringATransferAbortsItAndSucceeds) {
    StartNew();
    Connect();
    StartUpload();
    EXPECT_TRUE(session.IDtm().IDtm_PrepareToRelease());
    EXPECT_EQ(session.Communication()->Requests().back().kind, "Abort");
    EXPECT_FALSE(Reported("Error terminating communication."));
    EXPECT_EQ(Events("OnPreparedToRelease").size(), 1u);
    platform::app::EventLoop::Instance().RunUntilIdle();
    const auto finished = Events("OnUploadFinished");
    ASSERT_EQ(finished.size(), 1u);
    EXPECT_EQ(finished[0].args, (std::vector<std::string>{"{UPLOAD}", "False"}));
}

TEST_F(DtmLifeCycle, ADisconnectEndingWithATransactionUnansweredTerminatesIt) {
    StartNew();
    Connect();
    // The frame takes the transactions but never answers them.
    session.Communication()->SetTransactionHandler([](auto&&...) { return true; });
    StartUpload();
    ASSERT_TRUE(session.IDtm().IDtm_PrepareToReleaseCommunication());
    platform::app::EventLoop::Instance().Advance(100);  // the disconnect is answered
    EXPECT_EQ(Events("OnPreparedToReleaseCommunication").size(), 1u);
    EXPECT_TRUE(Reported("Error shutting down communication"));
    EXPECT_FALSE(Reported("Error terminating communication."));
    EXPECT_FALSE(Ctx().CommService()->IsActive());
    EXPECT_TRUE(session.IDtm().IDtm_ReleaseCommunication());
}

TEST_F(DtmLifeCycle, PrepareToReleaseWhileTheFrameAwaitsADisconnectStillEndsIt) {
    StartNew();
    Connect();
    session.Communication()->holdDisconnect = true;
    ASSERT_TRUE(session.IDtm().IDtm_PrepareToReleaseCommunication());
    EXPECT_TRUE(session.IDtm().IDtm_PrepareToRelease());
    EXPECT_FALSE(Reported("Error terminating communication."));
    // The frame's disconnect answer comes late; it ends nothing twice.
    session.Communication()->AnswerHeldDisconnects();
    platform::app::EventLoop::Instance().RunUntilIdle();
    std::vector<std::string> ends;
    for (const auto& name : Names())
        if (name.starts_with("OnPreparedToRelease")) ends.push_back(name);
    EXPECT_EQ(ends, (std::vector<std::string>{"OnPreparedToReleaseCommunication", "OnPreparedToRelease"}));
}

TEST_F(DtmLifeCycle, PrepareToReleaseFailsWhenAPageWillNotClose) {
    StartNew();
    auto page = std::make_shared<dtm::testing::StubPage>();
    page->closes = false;
    Ctx().GuiRegistry()->RegisterGUI("PAGE-1", page, true);
    EXPECT_FALSE(session.IDtm().IDtm_PrepareToRelease());
    EXPECT_EQ(Ctx().ReportedErrors().back(), "Error closing user interaces.");
    EXPECT_FALSE(session.IDtm().IDtm_PrepareToDelete());
    page->closes = true;
    EXPECT_TRUE(session.IDtm().IDtm_PrepareToRelease());
}

TEST_F(DtmLifeCycle, PrepareToReleaseAsksForOneSaveOnlyWhenTheDataSetChanged) {
    struct Case {
        bool saveFirst;
        size_t saveRequests;
    };
    for (const auto& c : {Case{false, 1}, Case{true, 0}}) {
        dtm::frame::FrameSession one("TAG");
        ASSERT_TRUE(one.StartNew(registry));
        platform::com::PropertyBag bag;
        if (c.saveFirst) {
            ASSERT_TRUE(one.Save(bag));
        }
        ASSERT_TRUE(one.IDtm().IDtm_PrepareToRelease());
        EXPECT_EQ(one.Container()->EventsNamed("SaveRequest").size(), c.saveRequests) << c.saveFirst;
        EXPECT_EQ(one.Container()->EventsNamed("OnPreparedToRelease").size(), 1u);
    }
}

TEST_F(DtmLifeCycle, SetLanguageAnswersWhetherTheLanguageWasKept) {
    StartNew();
    EXPECT_TRUE(session.IDtm().IDtm_SetLanguage(1033));
    EXPECT_FALSE(session.IDtm().IDtm_SetLanguage(0));
    EXPECT_FALSE(session.IDtm().IDtm_SetLanguage(1234));  // not in the dictionary
}

TEST_F(DtmLifeCycle, GetFunctionsOfARefusedOperationStateIsEmpty) {
    StartNew();
    EXPECT_EQ(session.IDtm().IDtm_GetFunctions("<broken"), "");
    EXPECT_NE(session.IDtm().IDtm_GetFunctions("<FDT operationPhase=\"engineering\"/>"), "");
}

TEST_F(DtmLifeCycle, PrivateDialogEnabledIsKept) {
    StartNew();
    EXPECT_TRUE(session.IDtm().IDtm_PrivateDialogEnabled(true));
    EXPECT_TRUE(Ctx().PrivateDialogEnabled());
}

}  // namespace

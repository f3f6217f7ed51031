// The function manager: the function list by configuration and online state,
// the pages of function ids with the window rule, the print function and the
// pages' GUI requests.
#include <gtest/gtest.h>

#include "ComponentFolder.h"
#include "DtmFixture.h"
#include "StubPage.h"
#include "core/dtm/clsFunctionMan.h"
#include "frame/DeviceChannel.h"
#include "frame/FrameCommunication.h"
#include "platform/rt/DtmCommService.h"
#include "platform/rt/DtmFunctionCall.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/FunctionList.h"
#include "platform/rt/IPrivateGUI.h"

namespace {

using platform::Variant;

const std::vector<std::string> kOnlineKeys = {"Measure", "FunctionBlockOutput", "Alarm",
                                              "OnlineParam", "Simulation", "Diagnosis"};

// A context whose communication service is online or not: the connect and
// the reads of the device's identity that follow it answered here.
std::shared_ptr<platform::rt::DTMContext> ContextOnline(bool online,
                                                        std::shared_ptr<dtm::frame::FrameCommunication>& comm) {
    auto ctx = platform::rt::DTMContext::Create();
    if (!online) return ctx;
    comm = std::make_shared<dtm::frame::FrameCommunication>();
    comm->SetTransactionHandler([](const std::string&, const std::string&, auto) { return true; });
    auto service = ctx->CommService();
    service->SetCommunication(comm);
    EXPECT_TRUE(service->OpenConnection());
    service->OnConnectResponse(comm->Requests().back().invokeId, "<FDT><ConnectResponse errorCode=\"0\"/></FDT>");
    // DEVICE_MAN_ID 173, then DEVICE_ID, a visible string of 16.
    const std::string deviceId = "RXD 218         ";
    const std::vector<uint8_t> identity[] = {{0x00, 0xAD}, {deviceId.begin(), deviceId.end()}};
    for (const auto& bytes : identity) {
        const auto request = comm->Requests().back();
        dtm::frame::DeviceRequest asked;
        EXPECT_TRUE(dtm::frame::DeviceChannel::ParseRequest(request.xml, asked)) << request.kind;
        const auto answer = dtm::frame::DeviceAnswer::Of(dtm::frame::DeviceAnswer::Kind::Data, bytes);
        service->OnTransactionResponse(request.invokeId, dtm::frame::DeviceChannel::AnswerDocument(asked, answer));
    }
    EXPECT_TRUE(service->IsOnline());
    return ctx;
}

TEST(FunctionFilter, ConfigurationKeysAndOnlineState) {
    struct Case {
        std::string ini;
        bool online;
        bool monitor;
        bool onlinePages;
        bool trend;
    };
    const Case cases[] = {
        {"", false, false, false, false},
        {"", true, false, true, true},
        {"[Advanced]\nDTMFeatures=DTMDeveloper\n", false, true, false, false},
        {"[Advanced]\nDTMFeatures=dtmdeveloper\n", true, false, true, true},
        {"[Advanced]\nViewCtrlsOffline=True\n", false, false, true, true},
        {"[Advanced]\nViewCtrlsOffline=true\n", false, false, false, false},
        {"[Advanced]\nViewCtrlsOffline=True\nDTMFeatures=DTMDeveloper\n", true, true, true, true},
    };
    for (const auto& c : cases) {
        dtm::testing::ComponentFolder folder;
        folder.WriteIni(c.ini);
        std::shared_ptr<dtm::frame::FrameCommunication> comm;
        auto ctx = ContextOnline(c.online, comm);
        platform::rt::FunctionList list;
        dtm::FilterFunctions(ctx, list);
        const std::string what = c.ini + (c.online ? " online" : " offline");
        EXPECT_EQ(list.IsOffered("DTM_TR_Monitor"), c.monitor) << what;
        if (!c.monitor) {
            EXPECT_EQ(list.WithdrawCodes("DTM_TR_Monitor"), std::make_pair(8, 0)) << what;
        }
        for (const auto& key : kOnlineKeys) EXPECT_EQ(list.IsOffered(key), c.onlinePages) << what << key;
        EXPECT_EQ(list.IsOffered("ChannelAssignment"), !c.onlinePages) << what;
        EXPECT_EQ(list.IsOffered("Trend"), c.trend) << what;
        if (!c.trend) {
            EXPECT_EQ(list.WithdrawCodes("Trend"), std::make_pair(0, 0)) << what;
        }
    }
}

class FunctionManager : public dtm::testing::DtmFixture {
protected:
    dtm::clsFunctionMan& Manager() const { return dynamic_cast<dtm::clsFunctionMan&>(*Ctx().Functions()); }
    platform::P<platform::rt::DtmFunctionCall> Call(int32_t id) const {
        auto call = std::make_shared<platform::rt::DtmFunctionCall>();
        call->FunctionId(id);
        return call;
    }
};

TEST_F(FunctionManager, FunctionIdsToPagesWithTheWindowRule) {
    StartNew();
    auto page = std::make_shared<dtm::testing::StubPage>();
    struct Case {
        bool old;
        bool pageOpen;
        int32_t id;
        std::string progId;
    };
    const Case cases[] = {
        {false, false, 1, "RG38N226_4_07.ctlOffline"},       {false, true, 1, "RG38N226_4_07.ctlOffline"},
        {true, false, 1, "RG38N226_4_07.ctlOffline"},        {true, true, 1, "RG38N226_4_07.ctlNoMoreWindows"},
        {true, true, 97, "RG38N226_4_07.ctl_TR_Monitor"},    {true, true, 3, "RG38N226_4_07.ctlNoMoreWindows"},
        {false, false, 3, ""},                               {false, false, 501, ""},
        {false, false, 8, "RG38N226_4_07.ctlProfilViewDyn"}, {false, false, 99, "RG38N226_4_07.ctlAbout"},
        {false, false, 24, "RG38N226_4_07.ctlChannelAssign"}, {false, false, 72, "RG38N226_4_07.ctlArchive"},
    };
    for (const auto& c : cases) {
        Element("Is95_98_Or_Me").TransientValue = Variant::Bool(c.old);
        if (c.pageOpen)
            Ctx().GuiRegistry()->RegisterGUI("PAGE", page, true);
        else
            Ctx().GuiRegistry()->UnregisterGUI("PAGE");
        EXPECT_EQ(Manager().GetActiveXProgId(session.Context(), Call(c.id)), c.progId) << c.id;
    }
}

TEST_F(FunctionManager, PrintIsTheOnlyFunctionItRuns) {
    StartNew();
    auto& dtm = session.IDtm();
    EXPECT_TRUE(dtm.IDtm_InvokeFunctionRequest("ID-1", "<FDT><FunctionCall functionId=\"501\" argument=\"7\"/></FDT>"));
    ASSERT_EQ(Events("OnInvokedFunctionFinished").size(), 1u);
    EXPECT_EQ(Events("OnInvokedFunctionFinished")[0].args, (std::vector<std::string>{"ID-1", "True"}));
    ASSERT_EQ(Events("OnPrint").size(), 1u);
    EXPECT_NE(Events("OnPrint")[0].args[0].find("functionId=\"501\" argument=\"7\""), std::string::npos);

    EXPECT_FALSE(dtm.IDtm_InvokeFunctionRequest("ID-2", "<FDT><FunctionCall functionId=\"1\"/></FDT>"));
    EXPECT_FALSE(dtm.IDtm_InvokeFunctionRequest("ID-3", "<FDT><FunctionCall/></FDT>"));
    EXPECT_EQ(Events("OnInvokedFunctionFinished").size(), 1u);
    EXPECT_TRUE(Manager().PendingInvokeId().empty());
}

TEST_F(FunctionManager, AFailedPrintDoesNotBlockLaterRequests) {
    ASSERT_TRUE(session.Create(registry));  // no environment: no frame to print on
    EXPECT_FALSE(session.IDtm().IDtm_InvokeFunctionRequest("ID-1", "<FDT><FunctionCall functionId=\"501\"/></FDT>"));
    EXPECT_TRUE(Manager().PendingInvokeId().empty());
    ASSERT_TRUE(session.Environment());
    EXPECT_TRUE(session.IDtm().IDtm_InvokeFunctionRequest("ID-2", "<FDT><FunctionCall functionId=\"501\"/></FDT>"));
    platform::app::ErrorSink::Instance().Clear();
}

TEST_F(FunctionManager, GuiRequests) {
    StartNew();
    auto ctx = session.Context();
    EXPECT_TRUE(Manager().OnGUIRequest(ctx, "PAGE", dtm::drcPrintRequest, Variant::Int(8)));
    ASSERT_EQ(Events("OnPrint").size(), 1u);
    EXPECT_NE(Events("OnPrint")[0].args[0].find("functionId=\"8\""), std::string::npos);
    EXPECT_THROW(Manager().OnGUIRequest(ctx, "PAGE", dtm::drcPrintRequest, Variant(std::string("x"))),
                 platform::com::ComError);

    session.Container()->saveAnswer = false;
    EXPECT_FALSE(Manager().OnGUIRequest(ctx, "PAGE", dtm::drcSaveRequest));
    session.Container()->saveAnswer = true;
    EXPECT_TRUE(Manager().OnGUIRequest(ctx, "PAGE", dtm::drcSaveRequest));
    EXPECT_EQ(Events("SaveRequest").size(), 2u);
    EXPECT_FALSE(Manager().OnGUIRequest(ctx, "PAGE", dtm::drcNoRequest));
    EXPECT_FALSE(Manager().OnGUIRequest(ctx, "PAGE", 3));
}

TEST_F(FunctionManager, TheListNamesTheOfferedFunctionsInFileOrder) {
    StartNew();
    const std::string list = session.IDtm().IDtm_GetFunctions("");
    const auto offline = list.find("functionId=\"1\"");
    const auto channels = list.find("functionId=\"24\"");
    EXPECT_NE(offline, std::string::npos);
    EXPECT_NE(channels, std::string::npos);
    EXPECT_LT(offline, channels);
    EXPECT_EQ(list.find("functionId=\"7\""), std::string::npos);   // measured values: online only
    EXPECT_EQ(list.find("functionId=\"97\""), std::string::npos);  // monitor: developers only
    EXPECT_NE(list.find("name=\"DTMFunctions\""), std::string::npos);
}

TEST_F(FunctionManager, AFunctionCallCarriesTheControlPathToTheManager) {
    StartNew();
    platform::rt::DtmFunctionCall call;
    ASSERT_TRUE(call.Parse("<FDT><FunctionCall functionId=\"1\" controlPath=\"Tab1.Input\"/></FDT>", session.Context()));
    EXPECT_EQ(Manager().ControlPfad(), "Tab1.Input");
    EXPECT_FALSE(call.Parse("<FDT><FunctionCall functionId=\"1.5\"/></FDT>", session.Context()));
    EXPECT_FALSE(call.Parse("<FDT><FunctionCall functionId=\"99999999999\"/></FDT>", session.Context()));
}

}  // namespace

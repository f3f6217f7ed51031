// The component loaded as a module, as the command-line frame loads it, and
// the frame's communication object.
#include <gtest/gtest.h>

#include "frame/ComponentModule.h"
#include "frame/FrameCommunication.h"
#include "frame/FrameSession.h"
#include "platform/app/EventLoop.h"
#include "platform/com/ClassRegistry.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/Parameters.h"

namespace {

using dtm::frame::FrameCommunication;

TEST(ComponentModule, CreatesTheDtmThroughItsClassFactory) {
    std::string error;
    auto* factory = dtm::frame::LoadComponentModule(DTM_MODULE_FILE, error);
    ASSERT_NE(factory, nullptr) << error;
    EXPECT_TRUE(factory->IsRegistered("rg38n226_4_07.dtmmain"));

    dtm::frame::FrameSession session;
    ASSERT_TRUE(session.StartNew(*factory));
    EXPECT_GT(session.Context()->Parameters()->Count(), 500);
    EXPECT_NE(session.IDtm().IDtm_GetFunctions("").find("functionId=\"1\""), std::string::npos);
    std::weak_ptr<platform::com::Object> dtm = session.Dtm();
    EXPECT_TRUE(session.Release());
    EXPECT_TRUE(dtm.expired());
    platform::app::EventLoop::Instance().Reset();
}

TEST(ComponentModule, AMissingFileSaysWhy) {
    std::string error;
    EXPECT_EQ(dtm::frame::LoadComponentModule("/no/such/module.so", error), nullptr);
    EXPECT_FALSE(error.empty());
}

// Records the answers the frame sends.
class AnswerSink : public platform::fdt::IFdtCommunicationEvents {
public:
    std::vector<std::string> answers;
    void OnAbort(const std::string& ref) override { answers.push_back("Abort " + ref); }
    void OnConnectResponse(const std::string& id, const std::string& r) override { answers.push_back("Connect " + id + " " + r); }
    void OnDisconnectResponse(const std::string& id, const std::string& r) override {
        answers.push_back("Disconnect " + id + " " + r);
    }
    void OnTransactionResponse(const std::string& id, const std::string&) override { answers.push_back("Transaction " + id); }
};

TEST(FrameCommunication, AnswersConnectAndDisconnectLater) {
    auto& loop = platform::app::EventLoop::Instance();
    loop.Reset();
    auto comm = std::make_shared<FrameCommunication>();
    auto sink = std::make_shared<AnswerSink>();
    ASSERT_TRUE(comm->ConnectRequest(sink, "C1", "proto", "<FDT><ConnectRequest/></FDT>"));
    EXPECT_TRUE(sink->answers.empty());  // never inside the request
    loop.Advance(comm->answerDelayMs);
    ASSERT_EQ(sink->answers.size(), 1u);
    EXPECT_NE(sink->answers[0].find("Connect C1 <FDT><ConnectResponse"), std::string::npos);
    EXPECT_NE(sink->answers[0].find("errorCode=\"0\""), std::string::npos);

    comm->holdDisconnect = true;
    ASSERT_TRUE(comm->DisconnectRequest("D1", "<FDT><DisconnectRequest/></FDT>"));
    loop.Advance(1000);
    EXPECT_EQ(sink->answers.size(), 1u);
    comm->AnswerHeldDisconnects();
    loop.RunUntilIdle();
    ASSERT_EQ(sink->answers.size(), 2u);
    EXPECT_EQ(sink->answers[1].rfind("Disconnect D1", 0), 0u);
    loop.Reset();
}

TEST(FrameCommunication, TransactionsGoToTheInstalledHandlerOnly) {
    auto comm = std::make_shared<FrameCommunication>();
    auto sink = std::make_shared<AnswerSink>();
    EXPECT_FALSE(comm->TransactionRequest("T0", "<FDT/>"));  // not connected
    ASSERT_TRUE(comm->ConnectRequest(sink, "C1", "proto", ""));
    EXPECT_FALSE(comm->TransactionRequest("T1", "<FDT/>"));  // no device behind the channel
    std::vector<std::string> seen;
    comm->SetTransactionHandler([&](const std::string& id, const std::string&, FrameCommunication::Sink) {
        seen.push_back(id);
        return true;
    });
    EXPECT_TRUE(comm->TransactionRequest("T2", "<FDT/>"));
    EXPECT_EQ(seen, std::vector<std::string>{"T2"});
    comm->connectErrorCode = 5;
    EXPECT_TRUE(comm->ConnectRequest(sink, "C2", "proto", ""));
    EXPECT_FALSE(comm->Connected());
    platform::app::EventLoop::Instance().Reset();
}

}  // namespace

#include "platform/rt/DTMContext.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/app/Path.h"
#include "platform/fdt/FrameInterfaces.h"
#include "platform/rt/ChannelList.h"
#include "platform/rt/CommObj.h"
#include "platform/rt/DtmCommService.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/DtmPathInfo.h"
#include "platform/rt/DtmRuntimeGlobal.h"
#include "platform/rt/IPrivateDataModel.h"
#include "platform/rt/IPrivateFunctions.h"
#include "platform/rt/LanguageDictionary.h"
#include "platform/rt/OnlineService.h"
#include "platform/rt/ParameterService.h"
#include "platform/rt/Parameters.h"
#include "platform/rt/UserInfo.h"

namespace {

using platform::P;
using platform::Variant;
using platform::W;
using namespace platform::rt;
namespace com = platform::com;
namespace fdt = platform::fdt;

class FakeModel : public IPrivateDataModel {
public:
    std::string DTMName() override { return {}; }
    std::string DTMVendor() override { return {}; }
    std::string DTMVersion() override { return {}; }
    Variant DTMDate() override { return {}; }
    std::string DTMDescriptor() override { return {}; }
    void CreateModel(Ctx) override {}
    void SetLanguage(Ctx, int32_t) override {}
    void DataChanged(const El&, const Ctx&) override {}
    void DataSetChanged(Ctx) override {}
    bool BuildTransactionRequest(Ctx, P<com::Object>, bool, El) override { return false; }
    bool ReadTransactionResponse(Ctx, P<com::Object>, bool, El) override { return false; }
};

class FakeFunctions : public IPrivateFunctions {
public:
    bool OnGUIRequest(const P<DTMContext>&, const std::string&, int32_t, const Variant&) override {
        return false;
    }
    std::string GetFunctions(const P<DTMContext>&, const P<OperationPhase>&) override { return {}; }
    bool InvokeFunctionRequest(const P<DTMContext>&, const std::string&,
                               const P<DtmFunctionCall>&) override {
        return false;
    }
    std::string GetActiveXProgId(const P<DTMContext>&, const P<DtmFunctionCall>&) override {
        return {};
    }
    std::string GetDocumentation(const P<DTMContext>&, const P<DtmFunctionCall>&) override {
        return {};
    }
    std::string ControlPfad() const override { return path_; }
    void ControlPfad(const std::string& path) override { path_ = path; }

private:
    std::string path_;
};

// Like the DTM object: it owns its context and hands itself to it.
class FakeDtm : public com::Object, public std::enable_shared_from_this<FakeDtm> {
public:
    P<DTMContext> context = DTMContext::Create();
    P<FakeModel> model = std::make_shared<FakeModel>();
    P<CommObj> comm = std::make_shared<CommObj>();
    P<FakeFunctions> functions = std::make_shared<FakeFunctions>();

    void Init() { context->InitContext(shared_from_this(), model, comm, functions); }
};

// A frame container that is also the frame's event sink.
class FrameContainer : public fdt::IFdtContainer, public fdt::IDtmEvents {
public:
    bool SaveRequest(const std::string&) override { return true; }
    bool CloseRequest(const std::string&) override { return true; }
    void OnFunctionChanged(const std::string&) override {}
    void OnPreparedToRelease(const std::string&) override {}
    void OnPreparedToReleaseCommunication(const std::string&) override {}
    void OnPrint(const std::string&, const std::string&) override {}
    void OnInvokedFunctionFinished(const std::string&, const std::string&, bool) override {}
    void OnUploadFinished(const std::string&, const std::string&, bool) override {}
    void OnDownloadFinished(const std::string&, const std::string&, bool) override {}
    void OnErrorMessage(const std::string&, const std::string&) override {}
    void OnProgress(const std::string&, const std::string&, int32_t, bool) override {}
    void OnParameterChanged(const std::string&, const std::string&) override {}
};

class PlainContainer : public fdt::IFdtContainer {
public:
    bool SaveRequest(const std::string&) override { return false; }
    bool CloseRequest(const std::string&) override { return false; }
};

TEST(DTMContextTest, CreateMakesTheOwnedObjectsBoundToTheContext) {
    auto ctx = DTMContext::Create();
    EXPECT_NE(ctx->PathInfo(), nullptr);
    EXPECT_NE(ctx->DeviceType(), nullptr);
    EXPECT_NE(ctx->UserInfo(), nullptr);
    EXPECT_NE(ctx->ParameterService(), nullptr);
    EXPECT_NE(ctx->OnlineService(), nullptr);
    EXPECT_NE(ctx->GuiRegistry(), nullptr);
    EXPECT_NE(ctx->Dictionary(), nullptr);
    EXPECT_NE(ctx->CommService(), nullptr);
    ASSERT_NE(ctx->Parameters(), nullptr);
    EXPECT_EQ(ctx->Parameters()->Context(), ctx);
    ASSERT_NE(ctx->Parameters()->Channels(), nullptr);
    EXPECT_EQ(ctx->Parameters()->Channels()->Context(), ctx);
    EXPECT_EQ(ctx->PathInfo()->XmlDataPath(), platform::app::Path() + "/XMLData/");

    // Nothing of the frame or the DTM before they are handed over.
    EXPECT_EQ(ctx->SystemTag(), "");
    EXPECT_EQ(ctx->Container(), nullptr);
    EXPECT_EQ(ctx->DTMEvents(), nullptr);
    EXPECT_EQ(ctx->Dtm(), nullptr);
    EXPECT_EQ(ctx->Functions(), nullptr);
    EXPECT_EQ(ctx->StateObject(), nullptr);
    EXPECT_FALSE(ctx->PrivateDialogEnabled());
    EXPECT_EQ(ctx->UserLevel(), 0);
}

TEST(DTMContextTest, StoredStateReadsBackAsSet) {
    auto ctx = DTMContext::Create();
    ctx->SystemTag("Tag 1");
    ctx->PrivateDialogEnabled(true);
    auto state = std::make_shared<com::Object>();
    ctx->StateObject(state);
    ctx->UserInfo()->UserLevel(3);
    ctx->PathInfo()->XmlDataPath("/data/XMLData/");

    EXPECT_EQ(ctx->SystemTag(), "Tag 1");
    EXPECT_TRUE(ctx->PrivateDialogEnabled());
    EXPECT_EQ(ctx->StateObject(), state);
    EXPECT_EQ(ctx->UserLevel(), 3);
    EXPECT_EQ(ctx->PathInfo()->XmlDataPath(), "/data/XMLData/");
}

TEST(DTMContextTest, InitContextBindsModelCommObjAndFunctions) {
    auto dtm = std::make_shared<FakeDtm>();
    dtm->Init();
    auto& ctx = dtm->context;
    EXPECT_EQ(ctx->Dtm(), dtm);
    EXPECT_EQ(ctx->Parameters()->DataModel(), dtm->model);
    EXPECT_EQ(ctx->CommService()->CommObj(), dtm->comm);
    EXPECT_EQ(ctx->Functions(), dtm->functions);
}

TEST(DTMContextTest, ContainerIsHeldWeaklyAndGivesItsEventFace) {
    auto ctx = DTMContext::Create();
    auto frame = std::make_shared<FrameContainer>();
    ctx->Container(frame);
    EXPECT_EQ(ctx->Container(), frame);
    EXPECT_EQ(ctx->DTMEvents(), frame);

    // A separate event sink can be let after the container.
    auto other = std::make_shared<FrameContainer>();
    ctx->DTMEvents(other);
    EXPECT_EQ(ctx->DTMEvents(), other);
    EXPECT_EQ(ctx->Container(), frame);

    // A container without an event face leaves no events.
    auto plain = std::make_shared<PlainContainer>();
    ctx->Container(plain);
    EXPECT_EQ(ctx->DTMEvents(), nullptr);

    ctx->Container(frame);
    frame.reset();
    EXPECT_EQ(ctx->Container(), nullptr);
    EXPECT_EQ(ctx->DTMEvents(), nullptr);
}

TEST(DTMContextTest, DroppingTheDtmDestroysTheWholeInstance) {
    auto dtm = std::make_shared<FakeDtm>();
    dtm->Init();
    auto frame = std::make_shared<FrameContainer>();
    dtm->context->Container(frame);
    dtm->context->StateObject(std::make_shared<com::Object>());

    W<DTMContext> ctx = dtm->context;
    W<FakeModel> model = dtm->model;
    W<CommObj> comm = dtm->comm;
    W<FakeFunctions> functions = dtm->functions;
    W<Parameters> parameters = dtm->context->Parameters();
    W<ChannelList> channels = dtm->context->Parameters()->Channels();
    W<DtmGuiRegistry> registry = dtm->context->GuiRegistry();
    W<DtmCommService> commService = dtm->context->CommService();

    dtm.reset();
    EXPECT_TRUE(ctx.expired());
    EXPECT_TRUE(model.expired());
    EXPECT_TRUE(comm.expired());
    EXPECT_TRUE(functions.expired());
    EXPECT_TRUE(parameters.expired());
    EXPECT_TRUE(channels.expired());
    EXPECT_TRUE(registry.expired());
    EXPECT_TRUE(commService.expired());
    EXPECT_EQ(frame.use_count(), 1);  // the frame's container is not kept
}

TEST(DTMContextTest, ContextHoldsTheDtmWeakly) {
    auto dtm = std::make_shared<FakeDtm>();
    dtm->Init();
    P<DTMContext> ctx = dtm->context;  // someone else keeps the context
    W<FakeDtm> weakDtm = dtm;
    dtm.reset();
    EXPECT_TRUE(weakDtm.expired());
    EXPECT_EQ(ctx->Dtm(), nullptr);
}

TEST(DTMContextTest, ServicesHeldElsewhereDoNotKeepTheContext) {
    auto ctx = DTMContext::Create();
    P<DtmGuiRegistry> registry = ctx->GuiRegistry();
    P<ChannelList> channels = ctx->Parameters()->Channels();
    P<Parameters> parameters = ctx->Parameters();
    W<DTMContext> weakCtx = ctx;
    ctx.reset();
    EXPECT_TRUE(weakCtx.expired());
    EXPECT_EQ(channels->Context(), nullptr);
    EXPECT_EQ(parameters->Context(), nullptr);
}

}  // namespace

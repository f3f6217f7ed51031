// The collection's change and data-set notices as the model and the open pages
// see them: the re-entrancy stop rule, unwinding on errors, the update bracket,
// the frame's data-set events and what the collection holds only weakly.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ErrorOf.h"
#include "platform/app/ErrorSink.h"
#include "platform/com/Error.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/IPrivateDataModel.h"
#include "platform/rt/IPrivateGUI.h"
#include "platform/rt/Parameters.h"

namespace {

using platform::P;
using platform::Variant;
using platform::W;
using platform::app::ErrorSink;
using platform::com::ComError;
using namespace platform::rt;
namespace com = platform::com;

class FakeElement : public IPrivateDataElement {
public:
    explicit FakeElement(std::string name) : name_(std::move(name)) {}
    std::string Name() const override { return name_; }
    void Name(const std::string& value) override { name_ = value; }
    int32_t ValueType() const override { return 0; }
    void ValueType(int32_t) override {}
    int32_t ValueTypeLength() const override { return 0; }
    void ValueTypeLength(int32_t) override {}
    int32_t StatusFlags() const override { return 0; }
    void StatusFlags(int32_t) override {}
    int32_t ElementMode() const override { return 0; }
    void ElementMode(int32_t) override {}
    Variant TransientValue() const override { return {}; }
    void TransientValue(const Variant&) override {}
    Variant PersistentValue() const override { return {}; }
    void PersistentValue(const Variant&) override {}
    Variant DeviceValue() const override { return {}; }
    void DeviceValue(const Variant&) override {}
    bool InitNew(P<DtmRuntimeGlobal>, Ctx) override { return true; }
    bool ReadFromPropBag(com::PropertyBag&, Ctx) override { return true; }
    bool WriteToPropBag(com::PropertyBag&, Ctx) override { return true; }
    bool ReadFromDtmVariable(P<platform::xml::Element>, Ctx) override { return true; }
    bool WriteToDtmVariable(P<platform::xml::Element>, Ctx) override { return true; }
    bool WriteToDocVariable(P<platform::xml::Element>, Ctx) override { return true; }
    bool IsUploadParam(const Ctx&) override { return false; }
    bool IsDownloadParam(const Ctx&) override { return false; }
    bool IsDeviceCommand(Ctx) override { return false; }
    int32_t NestProcessLevel() const override { return 0; }
    void NestProcessLevel(int32_t) override {}
    int16_t Slot() const override { return 0; }
    int16_t Index() const override { return 0; }

private:
    std::string name_;
};

// Writes "model <path>" / "model DataSetChanged" into the shared log and runs
// `onDataChanged` inside DataChanged (the model's change handling).
class ScriptedModel : public IPrivateDataModel {
public:
    explicit ScriptedModel(std::vector<std::string>& log) : log_(log) {}
    std::string DTMName() override { return {}; }
    std::string DTMVendor() override { return {}; }
    std::string DTMVersion() override { return {}; }
    Variant DTMDate() override { return {}; }
    std::string DTMDescriptor() override { return {}; }
    void CreateModel(Ctx) override {}
    void SetLanguage(Ctx, int32_t) override {}
    void DataChanged(const El& pda, const Ctx& ctx) override {
        log_.push_back("model " + pda->Name());
        if (onDataChanged) onDataChanged(pda->Name(), ctx);
    }
    void DataSetChanged(Ctx ctx) override {
        log_.push_back(std::string("model DataSetChanged") +
                       (ctx->Parameters()->UpdateInProgress() ? " (updating)" : ""));
    }
    void NoticeBatchEnded(Ctx ctx) override {
        log_.push_back(std::string("model BatchEnded") + (ctx->Parameters()->NoticeBatchOpen() ? " (open)" : ""));
        if (failBatchEnd) com::Raise(380, "Invalid value");
    }
    bool BuildTransactionRequest(Ctx, P<com::Object>, bool, El) override { return false; }
    bool ReadTransactionResponse(Ctx, P<com::Object>, bool, El) override { return false; }

    std::function<void(const std::string&, const Ctx&)> onDataChanged;
    bool failBatchEnd = false;

private:
    std::vector<std::string>& log_;
};

// Writes "page <what>" into the shared log.
class LoggingPage : public IPrivateGUI {
public:
    LoggingPage(std::vector<std::string>& log, W<Parameters> params) : log_(log), params_(params) {}
    bool CloseGUI() override { return true; }
    void LockStateChanged(bool locked) override { log_.push_back(locked ? "page Lock" : "page Unlock"); }
    void ParameterChanged(const P<IPrivateDataElement>& element) override {
        log_.push_back("page " + element->Name());
    }
    void ParameterSetChanged() override {
        auto params = params_.lock();
        log_.push_back(std::string("page ParameterSetChanged") +
                       (params && params->UpdateInProgress() ? " (updating)" : ""));
    }
    void ValidateParameters() override {}
    void SetLanguage(int32_t) override {}

private:
    std::vector<std::string>& log_;
    W<Parameters> params_;
};

class ParametersNotice : public ::testing::Test {
protected:
    void SetUp() override {
        ErrorSink::Instance().Clear();
        ctx->InitContext(nullptr, model, nullptr, nullptr);
        ctx->GuiRegistry()->RegisterGUI("page", page, true);
        for (const char* path : {"A", "B", "C"}) Add(path);
    }
    void TearDown() override { EXPECT_TRUE(ErrorSink::Instance().Empty()); }

    void Add(const std::string& path) { params().Add(std::make_shared<FakeElement>(path)); }
    Parameters& params() { return *ctx->Parameters(); }
    void Notify(const std::string& path) { params().NotifyChange(params().Item(path), ""); }

    std::vector<std::string> log;
    P<DTMContext> ctx = DTMContext::Create();
    P<ScriptedModel> model = std::make_shared<ScriptedModel>(log);
    P<LoggingPage> page = std::make_shared<LoggingPage>(log, ctx->Parameters());
};

TEST_F(ParametersNotice, ANoticeForAnElementBeingHandledGoesToThePagesOnly) {
    // A's handling notices A itself and B; B's handling notices A again and C.
    model->onDataChanged = [&](const std::string& path, const auto&) {
        if (path == "A") {
            Notify("A");
            Notify("B");
        } else if (path == "B") {
            Notify("A");
            Notify("C");
        }
    };
    Notify("A");
    EXPECT_EQ(log, (std::vector<std::string>{"model A", "page A", "model B", "page A", "model C",
                                             "page C", "page B", "page A"}));
    EXPECT_TRUE(params().Modified());

    // Once the handling has returned, every element reaches the model again.
    model->onDataChanged = nullptr;
    log.clear();
    for (const char* path : {"A", "B", "C"}) Notify(path);
    EXPECT_EQ(log, (std::vector<std::string>{"model A", "page A", "model B", "page B", "model C",
                                             "page C"}));
}

TEST_F(ParametersNotice, OnlyNoticesOutsideADeviceAnswerThatChangeTheElementSetTheMark) {
    // A device answer's notices, and those of the changes its handling brings
    // about, leave the mark to the model; a restore leaves it as it is.
    struct Case {
        const char* name;
        bool deviceAnswer;
        std::function<void(Parameters&, const El&)> notice;
        bool marks;
    };
    const Case cases[] = {
        {"change", false, [](Parameters& p, const El& el) { p.NotifyChange(el, ""); }, true},
        {"pages only", false, [](Parameters& p, const El& el) { p.NotifyChanged(el, ""); }, true},
        {"restored", false, [](Parameters& p, const El& el) { p.NotifyRestored(el, ""); }, false},
        {"restored apart from the stored project", false,
         [](Parameters& p, const El& el) { p.NotifyRestored(el, "", true); }, true},
        {"change in an answer", true, [](Parameters& p, const El& el) { p.NotifyChange(el, ""); }, false},
        {"pages only in an answer", true, [](Parameters& p, const El& el) { p.NotifyChanged(el, ""); }, false},
    };
    // The handling of A notices B, which the pages hear of as well.
    model->onDataChanged = [&](const std::string& path, const auto&) {
        if (path == "A") Notify("B");
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        log.clear();
        params().Modified(false);
        if (c.deviceAnswer) params().BeginDeviceAnswer();
        c.notice(params(), params().Item("A"));
        if (c.deviceAnswer) params().EndDeviceAnswer();
        EXPECT_EQ(params().Modified(), c.marks);
        EXPECT_EQ(log.back(), "page A");
    }
    // The model's evaluation of the data-set state changes no element.
    params().Modified(false);
    params().DataSetState(2);
    EXPECT_FALSE(params().Modified());
}

// The record of the stored project's values serves the mark only while it is
// clear: however the (sticky) mark is set, the record is given up and nothing
// more is recorded until the mark is cleared; then answers are recorded and
// judged again.
TEST_F(ParametersNotice, TheRecordOfAnswersIsKeptOnlyWhileTheMarkIsClear) {
    struct Case {
        const char* name;
        std::function<void(Parameters&)> mark;
    };
    const Case cases[] = {
        {"set", [](Parameters& p) { p.Modified(true); }},
        {"change", [](Parameters& p) { p.NotifyChange(p.Item("C"), ""); }},
        {"pages only", [](Parameters& p) { p.NotifyChanged(p.Item("C"), ""); }},
        {"set parameters", [](Parameters& p) {
             p.BeginSetParameters();
             p.EndSetParameters();
         }},
    };
    const auto& a = *params().Item("A");
    const auto& b = *params().Item("B");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        params().Modified(false);
        params().AnswerJudged(a, Variant::Lng(9), false);
        ASSERT_NE(params().ProjectValueBeforeAnswers(a), nullptr);
        c.mark(params());
        EXPECT_TRUE(params().Modified());
        EXPECT_EQ(params().ProjectValueBeforeAnswers(a), nullptr);
        params().AnswerJudged(b, Variant::Lng(9), false);
        params().AnswerReached(a, Variant::Lng(9));
        EXPECT_EQ(params().ProjectValueBeforeAnswers(a), nullptr);
        EXPECT_EQ(params().ProjectValueBeforeAnswers(b), nullptr);
        EXPECT_TRUE(params().Modified());

        params().Modified(false);
        params().AnswerReached(b, Variant::Lng(7));
        params().AnswerJudged(b, Variant::Lng(9), true);
        ASSERT_NE(params().ProjectValueBeforeAnswers(b), nullptr);
        EXPECT_TRUE(com::Identical(*params().ProjectValueBeforeAnswers(b), Variant::Lng(7)));
        EXPECT_TRUE(params().Modified());
        params().AnswerJudged(b, Variant::Lng(9), false);
        EXPECT_FALSE(params().Modified());
    }
}

TEST_F(ParametersNotice, PagesOfTheContextInForceAfterTheHandlingGetTheNotice) {
    // The handling of B gives the collection another context, with its own page.
    std::vector<std::string> otherLog;
    auto other = DTMContext::Create();
    auto otherPage = std::make_shared<LoggingPage>(otherLog, ctx->Parameters());
    other->GuiRegistry()->RegisterGUI("other page", otherPage, true);
    model->onDataChanged = [&](const std::string& path, const auto&) {
        if (path == "B") params().Context(other);
    };
    Notify("A");
    Notify("B");
    EXPECT_EQ(log, (std::vector<std::string>{"model A", "page A", "model B"}));
    EXPECT_EQ(otherLog, (std::vector<std::string>{"page B"}));
    params().Context(ctx);
}

TEST_F(ParametersNotice, MoreThan64NestedHandlingsRaise28) {
    struct Case {
        int chain;  // E1 notices E2, ..., up to E<chain>
        int32_t error;
    } cases[] = {{64, 0}, {65, 28}};
    for (int i = 1; i <= 65; ++i) Add("E" + std::to_string(i));
    for (const auto& c : cases) {
        model->onDataChanged = [&](const std::string& path, const auto&) {
            const int next = std::stoi(path.substr(1)) + 1;
            if (next <= c.chain) Notify("E" + std::to_string(next));
        };
        log.clear();
        params().Modified(false);
        EXPECT_EQ(ErrorOf([&] { Notify("E1"); }), c.error) << c.chain;
        EXPECT_EQ(log.size(), c.error ? 64u : 128u) << c.chain;  // the pages skipped on the error
        EXPECT_TRUE(params().Modified()) << c.chain;

        // The stack is empty again: the first element reaches the model.
        model->onDataChanged = nullptr;
        log.clear();
        Notify("E1");
        EXPECT_EQ(log, (std::vector<std::string>{"model E1", "page E1"})) << c.chain;
    }
}

TEST_F(ParametersNotice, AnErrorDeepInTheHandlingUnwindsTheWholeStack) {
    model->onDataChanged = [&](const std::string& path, const auto&) {
        if (path == "A") Notify("B");
        if (path == "B") Notify("C");
        if (path == "C") com::Raise(380, "Invalid value");
    };
    params().Modified(false);
    try {
        Notify("A");
        ADD_FAILURE() << "the model's error must reach the caller";
    } catch (const ComError& e) {
        EXPECT_EQ(e.number, 380);
        EXPECT_EQ(e.description, "Invalid value");
    }
    // No page heard of a change whose handling failed; the data set counts as
    // changed all the same, since the elements were.
    EXPECT_EQ(log, (std::vector<std::string>{"model A", "model B", "model C"}));
    EXPECT_TRUE(params().Modified());

    model->onDataChanged = nullptr;
    log.clear();
    for (const char* path : {"C", "B", "A"}) Notify(path);
    EXPECT_EQ(log, (std::vector<std::string>{"model C", "page C", "model B", "page B", "model A",
                                             "page A"}));
}

TEST_F(ParametersNotice, ResetDuringAHandlingLeavesAUsableStack) {
    int handled = 0;
    model->onDataChanged = [&](const std::string& path, const auto&) {
        if (++handled > 1) return;
        params().Reset();
        auto again = std::make_shared<FakeElement>(path);
        params().Add(again);
        params().NotifyChange(again, "");  // the stack was cleared: handled again
    };
    Notify("A");
    EXPECT_EQ(handled, 2);
    EXPECT_EQ(params().Count(), 1);

    model->onDataChanged = nullptr;
    log.clear();
    Notify("A");
    EXPECT_EQ(log, (std::vector<std::string>{"model A", "page A"}));
}

TEST_F(ParametersNotice, NestedSetParametersEndOnceEvenAfterAFailedCallInside) {
    params().Modified(false);
    params().BeginSetParameters();
    params().BeginSetParameters();
    EXPECT_TRUE(params().UpdateInProgress());
    EXPECT_FALSE(params().DataSetReady());

    // The bracketed call fails half-way; its caller ignores the error and ends the bracket.
    model->onDataChanged = [](const std::string&, const auto&) { com::Raise(13); };
    EXPECT_EQ(ErrorOf([&] { Notify("A"); }), 13);
    model->onDataChanged = nullptr;

    params().EndSetParameters();
    EXPECT_TRUE(params().UpdateInProgress());
    params().EndSetParameters();
    EXPECT_EQ(log, (std::vector<std::string>{"model A", "model DataSetChanged (updating)",
                                             "page ParameterSetChanged (updating)"}));
    EXPECT_FALSE(params().UpdateInProgress());
    EXPECT_TRUE(params().DataSetReady());
    EXPECT_TRUE(params().Modified());

    // The failed element is handled again; a surplus End does nothing.
    log.clear();
    Notify("A");
    params().EndSetParameters();
    EXPECT_EQ(log, (std::vector<std::string>{"model A", "page A"}));
    EXPECT_FALSE(params().UpdateInProgress());
}

TEST_F(ParametersNotice, NoticeBatchesNestAndOnlyTheOutermostEndReachesTheModel) {
    params().BeginNoticeBatch();
    params().BeginNoticeBatch();
    EXPECT_TRUE(params().NoticeBatchOpen());
    Notify("A");  // model and pages hear of it as outside a batch
    params().EndNoticeBatch();
    EXPECT_EQ(log, (std::vector<std::string>{"model A", "page A"}));
    EXPECT_TRUE(params().NoticeBatchOpen());
    params().EndNoticeBatch();
    params().EndNoticeBatch();  // a surplus end does nothing
    EXPECT_EQ(log, (std::vector<std::string>{"model A", "page A", "model BatchEnded"}));
    EXPECT_FALSE(params().NoticeBatchOpen());
}

TEST_F(ParametersNotice, ANoticeBatchIsClosedEvenWhenTheModelFailsAtItsEnd) {
    model->failBatchEnd = true;
    {
        NoticeBatch batch(ctx->Parameters());
        EXPECT_TRUE(params().NoticeBatchOpen());
        EXPECT_EQ(ErrorOf([&] { batch.Close(); }), 380);
        EXPECT_FALSE(params().NoticeBatchOpen());
    }  // closed already: the model is not told twice
    EXPECT_EQ(log, (std::vector<std::string>{"model BatchEnded"}));
    EXPECT_TRUE(ErrorSink::Instance().Empty());

    // Left to its destructor, the error goes to the sink.
    log.clear();
    { NoticeBatch batch(ctx->Parameters()); }
    EXPECT_EQ(log, (std::vector<std::string>{"model BatchEnded"}));
    EXPECT_FALSE(params().NoticeBatchOpen());
    EXPECT_FALSE(ErrorSink::Instance().Empty());
    ErrorSink::Instance().Clear();

    // A batch that outlives its collection ends quietly.
    model->failBatchEnd = false;
    auto orphan = std::make_unique<NoticeBatch>(ctx->Parameters());
    ctx.reset();
    log.clear();
    orphan.reset();
    EXPECT_TRUE(log.empty());
}

TEST_F(ParametersNotice, FrameDataSetEventsLockThePagesOrAreRecorded) {
    params().Modified(false);
    params().OnLockDataSet("Tag");
    EXPECT_TRUE(ctx->GuiRegistry()->LockState());
    EXPECT_TRUE(params().OnUnlockDataSet("Tag"));
    EXPECT_FALSE(ctx->GuiRegistry()->LockState());
    params().OnParameterChanged("Tag", "x");
    params().OnChildParameterChanged("Child", "y");

    EXPECT_EQ(log, (std::vector<std::string>{"page Lock", "page Unlock"}));
    EXPECT_EQ(params().ParameterEvents(),
              (std::vector<std::pair<std::string, std::string>>{{"Tag", "x"}, {"Child", "y"}}));
    EXPECT_FALSE(params().Modified());
}

TEST_F(ParametersNotice, TheCollectionKeepsNeitherModelNorContextNorPagesAlive) {
    Notify("A");
    P<Parameters> kept = ctx->Parameters();
    W<DTMContext> weakCtx = ctx;
    W<ScriptedModel> weakModel = model;
    W<LoggingPage> weakPage = page;
    model.reset();
    page.reset();
    EXPECT_TRUE(weakPage.expired());
    ctx.reset();
    EXPECT_TRUE(weakCtx.expired());
    EXPECT_TRUE(weakModel.expired());

    // Without model and context a notice only sets the mark.
    EXPECT_EQ(kept->DataModel(), nullptr);
    EXPECT_FALSE(kept->DataSetReady());
    log.clear();
    kept->Modified(false);
    kept->NotifyChange(kept->Item("B"), "");
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(kept->Modified());
}

}  // namespace

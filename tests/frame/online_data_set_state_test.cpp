// The data-set state around device transfers: a transfer evaluates it once at
// its end, whichever way it ends, while the pages hear of every change as it
// comes in.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "OnlineFixture.h"
#include "model/PageRecorder.h"
#include "model/elements/clsDataModel.h"
#include "platform/app/EventLoop.h"
#include "platform/rt/DtmCommService.h"
#include "platform/rt/OnlineService.h"

namespace {

using dtm::testing::OnlineFixture;
using platform::Variant;

class OnlineDataSetStateTest : public OnlineFixture {
protected:
    struct State {
        int32_t dataStatus;
        int32_t dataSetState;
        bool operator==(const State&) const = default;
    };
    State Now() const {
        return {platform::com::CLng(Params().Item("~/DataStatus")->TransientValue()), Params().DataSetState()};
    }
    // What an evaluation of the whole data set gives now.
    State Evaluated() const {
        dtm::DataModelOf(Params()).EvaluateDataSetState(session.Context());
        return Now();
    }

    // Starts a full upload through the frame's interface and lets it run
    // until `requests` transactions have reached the device.
    void StartUploadUntil(const std::string& id, size_t requests) {
        const size_t from = RequestCount();
        ASSERT_TRUE(Online().IDtmOnlineParameter_UploadRequest(id, ""));
        while (DeviceRequests(from).size() < requests) platform::app::EventLoop::Instance().Advance(1);
        ASSERT_EQ(Ctx().OnlineService()->OperationMode(), 1);
    }
    void RunToTheEnd() {
        auto& loop = platform::app::EventLoop::Instance();
        loop.Advance(platform::rt::DtmCommService::kAnswerTimeoutMs);
        loop.RunUntilIdle();
    }
};

TEST_F(OnlineDataSetStateTest, EveryWayATransferEndsLeavesTheStateEvaluatedAndLaterChangesEvaluatedAtOnce) {
    struct Case {
        const char* name;
        std::function<void()> run;
        bool ok;
    };
    const Case cases[] = {
        {"finished upload", [this] { session.Upload(); }, true},
        {"finished download", [this] { session.Download("PHYS/TAG_DESC"); }, true},
        {"error answer", [this] {
             device.ScheduleFailure(0xB6);
             session.Upload("PHYS/TAG_DESC");
         }, false},
        {"cancelled", [this] {
             StartUploadUntil("{c}", 10);
             Online().IDtmOnlineParameter_CancelAction("{c}");
             RunToTheEnd();
         }, false},
        {"dropped", [this] {
             StartUploadUntil("{d}", 10);
             Ctx().OnlineService()->DropRequest("{d}");
             RunToTheEnd();
         }, false},
        {"aborted by the frame", [this] {
             StartUploadUntil("{a}", 10);
             dynamic_cast<platform::fdt::IFdtCommunicationEvents&>(*session.Dtm()).OnAbort("");
             RunToTheEnd();
         }, false},
        {"communication terminated", [this] {
             StartUploadUntil("{t}", 10);
             Ctx().CommService()->Terminate();
             RunToTheEnd();
         }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // Read, then a value changed offline.
        ASSERT_TRUE(session.Upload().ok);
        ASSERT_TRUE(Parameter().IDtmParameter_SetParameters("", TagDocument(std::string("EDIT ") + c.name)));
        ASSERT_EQ(Now().dataStatus, 2);
        session.Container()->ClearEvents();

        c.run();
        EXPECT_EQ(Ctx().OnlineService()->OperationMode(), 0);
        const auto finished = Events(c.name == std::string("finished download") ? "OnDownloadFinished"
                                                                                : "OnUploadFinished");
        if (c.name != std::string("dropped")) {
            ASSERT_EQ(finished.size(), 1u);
            EXPECT_EQ(finished[0].args[1], c.ok ? "True" : "False");
        }
        EXPECT_FALSE(Params().NoticeBatchOpen());
        const State atTheEnd = Now();
        EXPECT_EQ(atTheEnd, Evaluated()) << atTheEnd.dataStatus;

        // A later transfer and a later offline change are evaluated as usual.
        ASSERT_TRUE(session.Upload().ok);
        EXPECT_EQ(Now().dataStatus, 1);
        auto& tag = Element("PHYS/TAG_DESC");
        tag.TransientValue = Variant(std::string("LATER"));
        Params().NotifyChange(Params().Item("PHYS/TAG_DESC"), "");
        EXPECT_EQ(Now().dataStatus, 2);
        EXPECT_EQ(Now(), Evaluated());
    }
}

TEST_F(OnlineDataSetStateTest, PagesHearOfEveryChangeDuringTheTransferAndOfTheStateOnceAtItsEnd) {
    ASSERT_TRUE(session.Upload("PHYS/TAG_DESC").ok);  // connected (the pages are told of that too)
    ASSERT_NE(Now().dataStatus, 1);
    auto page = dtm::testing::PageRecorder::RegisterWith(Ctx());
    session.Container()->ClearEvents();
    StartUploadUntil("{p}", 20);
    EXPECT_GT(page->changed.size(), 10u);
    EXPECT_EQ(page->Notices("~/DataStatus"), 0);
    RunToTheEnd();
    const auto finished = Events("OnUploadFinished");
    ASSERT_EQ(finished.size(), 1u);
    EXPECT_EQ(finished[0].args[1], "True");
    EXPECT_EQ(page->Notices("~/DataStatus"), 1);
    EXPECT_EQ(page->changed.back(), "~/DataStatus");
    EXPECT_EQ(Now().dataStatus, 1);
    // Every value the upload read was announced (a record header has none of its own).
    for (const auto& el : Params()) {
        if (el->IsUploadParam(session.Context()) && el->Name().back() != '/') {
            EXPECT_GE(page->Notices(el->Name()), 1) << el->Name();
        }
    }
    EXPECT_TRUE(platform::app::ErrorSink::Instance().Empty());
}

}  // namespace

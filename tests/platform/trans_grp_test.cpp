// Transaction groups of a DTM instance against the simulated device, through
// the frame's channel and the instance's online service.
#include <gtest/gtest.h>

#include "frame/OnlineFixture.h"
#include "platform/app/EventLoop.h"
#include "platform/com/Error.h"
#include "platform/rt/DtmCommService.h"
#include "platform/rt/IPrivateProcess.h"
#include "platform/rt/OnlineService.h"
#include "platform/rt/TransGrp.h"

namespace {

using dtm::testing::DtmFixture;
using dtm::testing::OnlineFixture;
using platform::P;
using platform::Variant;
namespace rt = platform::rt;

// Records the ends it is told of; `onFinished` runs inside the callback.
class Recorder : public rt::IPrivateProcess {
public:
    void OnProcessProgress(const std::string&, int16_t, const Variant&) override {}
    void OnProcessFinished(const std::string& id, const Variant& extra) override {
        finished.emplace_back(id, extra.IsEmpty() || extra.IsMissing() ? false : platform::com::CBool(extra));
        if (onFinished) onFinished();
    }
    std::vector<std::pair<std::string, bool>> finished;
    std::function<void()> onFinished;
};

class TransGrpTest : public OnlineFixture {
protected:
    void SetUp() override {
        OnlineFixture::SetUp();
        ASSERT_TRUE(session.Upload("PHYS/TAG_DESC").ok);  // connected from here
        group->InitGroup(session.Context());
    }
    void TearDown() override { EXPECT_TRUE(platform::app::ErrorSink::Instance().Empty()); }
    // Runs the clock until the recorder heard of an end (at most 30 s).
    void RunToEnd() {
        auto& loop = platform::app::EventLoop::Instance();
        for (int i = 0; i < 3000 && recorder->finished.empty(); ++i) loop.Advance(10);
    }
    rt::El El(const std::string& path) const { return Params().Item(path); }

    P<rt::TransGrp> group = std::make_shared<rt::TransGrp>();
    P<Recorder> recorder = std::make_shared<Recorder>();
};

TEST_F(TransGrpTest, ReadGroupReadsEachAddressOnceAndKeepsItsRequests) {
    device.Write(El("PHYS/TAG_DESC")->Slot(), El("PHYS/TAG_DESC")->Index(),
                 std::vector<uint8_t>(32, static_cast<uint8_t>('Q')));
    EXPECT_EQ(group->AddRequest(El("PHYS/TAG_DESC"), false), 0);
    EXPECT_EQ(group->AddRequest(El("PHYS/DIAGNOSIS"), false), 0);
    EXPECT_EQ(group->AddRequest(El("PHYS/TAG_DESC"), false), 0);  // shares the first one's transaction
    EXPECT_EQ(group->AddRequest(nullptr, false), platform::com::errObjectNotSet);
    const size_t from = RequestCount();

    ASSERT_EQ(group->Execute(recorder, false, false), 0);
    EXPECT_TRUE(group->IsBusy());
    EXPECT_EQ(Ctx().OnlineService()->OperationMode(), 0);
    EXPECT_TRUE(recorder->finished.empty());  // never before Execute returns
    RunToEnd();

    ASSERT_EQ(recorder->finished.size(), 1u);
    EXPECT_EQ(recorder->finished[0], std::make_pair(group->GroupInvokeId(), true));
    EXPECT_TRUE(group->OwnsInvokeId(group->GroupInvokeId()));
    EXPECT_FALSE(group->IsBusy());
    EXPECT_EQ(DeviceRequests(from).size(), 2u);
    EXPECT_EQ(platform::com::CStr(Element("PHYS/TAG_DESC").DeviceValue).substr(0, 4), "QQQQ");
    const auto results = Ctx().CommService()->GetTransactionResults(group->GroupInvokeId());
    ASSERT_EQ(results.size(), 3u);  // one per request
    for (const auto& result : results) EXPECT_FALSE(result.Failed);
    EXPECT_EQ(Ctx().CommService()->GetRequests(group->GroupInvokeId()).size(), 3u);  // kept for the next run
}

TEST_F(TransGrpTest, WriteGroupWritesAndDropsItsRequestsWhenAsked) {
    Element("PHYS/TAG_DESC").TransientValue = Variant("GROUP WRITE");
    ASSERT_EQ(group->OpenConnection(), 0);
    EXPECT_TRUE(group->IsOpen());
    group->AddRequest(El("PHYS/TAG_DESC"), true);
    const size_t from = RequestCount();
    ASSERT_EQ(group->Execute(recorder, true, true), 0);
    RunToEnd();
    ASSERT_EQ(recorder->finished.size(), 1u);
    EXPECT_TRUE(recorder->finished[0].second);
    const auto requests = DeviceRequests(from);
    ASSERT_FALSE(requests.empty());
    EXPECT_TRUE(requests.front().write);
    const auto bytes = device.Bytes(requests.front().slot, requests.front().index);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 11), "GROUP WRITE");
    EXPECT_TRUE(group->Requests().empty());
    EXPECT_FALSE(group->IsOpen());
}

// The write waits behind another transfer: it goes out, repeats included,
// with the value the element held at the start, and it is known to wait
// (the element and the fields of a written record) until it is sent.
TEST_F(TransGrpTest, AWriteGoesOutWithTheValueOfItsStartAndWaitsUntilSent) {
    const auto& online = *Ctx().OnlineService();
    const auto tag = El("PHYS/TAG_DESC");
    Element("PHYS/TAG_DESC").TransientValue = Variant("AT THE START");
    group->AddRequest(tag, true);
    group->AddRequest(El("FUNC/1/AI/SIMULATE/"), true);
    ASSERT_TRUE(Ctx().OnlineService()->Upload("{first}", "PHYS/DIAGNOSIS"));
    device.ScheduleAddressFailure(static_cast<uint8_t>(tag->Slot()), static_cast<uint8_t>(tag->Index()), true,
                                  0xC2);  // "resource busy": the write is repeated
    const size_t from = RequestCount();
    ASSERT_EQ(group->Execute(recorder, true, true), 0);
    EXPECT_TRUE(online.WriteWaits(*tag));
    EXPECT_TRUE(online.WriteWaits(*tag, group->GroupInvokeId()));
    EXPECT_FALSE(online.WriteWaits(*tag, "{first}"));
    EXPECT_TRUE(online.WriteWaits(*El("FUNC/1/AI/SIMULATE/Value")));
    EXPECT_FALSE(online.WriteWaits(*El("PHYS/DIAGNOSIS")));
    Element("PHYS/TAG_DESC").TransientValue = Variant("LATER");
    RunToEnd();
    ASSERT_EQ(recorder->finished.size(), 1u);
    EXPECT_FALSE(online.WriteWaits(*tag));
    size_t writes = 0;
    for (const auto& request : DeviceRequests(from)) {
        if (!request.write || request.slot != tag->Slot() || request.index != tag->Index()) continue;
        ++writes;
        EXPECT_EQ(std::string(request.data.begin(), request.data.begin() + 12), "AT THE START");
    }
    EXPECT_EQ(writes, 2u);  // the busy answer's repeat carries the same
}

// A group released while its writes go out: the write on the wire is
// followed to the device's answer, which reaches its judge when the transfer
// ends; the rest of the writes go out, the reads do not. A write still
// waiting is not followed, one answered is judged at once.
TEST_F(TransGrpTest, AReleasedGroupSendsTheRestOfItsWritesAndAWriteThatWentOutIsFollowedToItsAnswer) {
    auto& online = *Ctx().OnlineService();
    const auto tag = El("PHYS/TAG_DESC");
    const auto descriptor = El("PHYS/DESCRIPTOR");
    group->AddRequest(tag, true);
    group->AddRequest(descriptor, true);
    group->AddRequest(El("PHYS/DIAGNOSIS"), false);
    const size_t from = RequestCount();
    ASSERT_EQ(group->Execute(recorder, true, true), 0);
    std::vector<std::pair<std::string, bool>> judged;
    const auto judge = [&judged](const char* name) {
        return [&judged, name](bool taken) { judged.emplace_back(name, taken); };
    };
    EXPECT_FALSE(online.FollowWrite(*tag, group->GroupInvokeId(), judge("waiting")));
    auto& loop = platform::app::EventLoop::Instance();
    for (int ms = 0; ms < 1000 && DeviceRequests(from).empty(); ++ms) loop.Advance(1);
    ASSERT_EQ(DeviceRequests(from).size(), 1u);  // the tag on the wire
    EXPECT_TRUE(online.FollowWrite(*tag, group->GroupInvokeId(), judge("tag")));
    EXPECT_FALSE(online.FollowWrite(*descriptor, group->GroupInvokeId(), judge("descriptor waiting")));
    group->ReleaseGroup();
    EXPECT_TRUE(online.WriteWaits(*descriptor));  // it still goes out
    for (int ms = 0; ms < 1000 && DeviceRequests(from).size() < 2; ++ms) loop.Advance(1);
    // The tag answered, the transfer still running.
    ASSERT_TRUE(online.FollowWrite(*tag, group->GroupInvokeId(), judge("tag answered")));
    loop.Advance(1000);
    EXPECT_EQ(judged, (std::vector<std::pair<std::string, bool>>{{"tag answered", true}, {"tag", true}}));
    const auto requests = DeviceRequests(from);
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_TRUE(requests[0].write && requests[1].write);
    EXPECT_TRUE(recorder->finished.empty());
}

TEST_F(TransGrpTest, BusyAnswersAreRepeatedAndDeviceErrorsEndNotOk) {
    struct Case {
        const char* name;
        std::function<void(dtm::frame::SimulatedDevice&)> fault;
        bool ok;
        size_t transactions;
    };
    const Case cases[] = {
        {"busy twice", [](auto& d) { d.ScheduleBusy(2); }, true, 3},
        {"access denied", [](auto& d) { d.ScheduleFailure(0xB6); }, false, 1},
        {"no answer", [](auto& d) { d.ScheduleDrop(); }, false, 1},
    };
    group->AddRequest(El("PHYS/TAG_DESC"), false);
    for (const auto& c : cases) {
        recorder->finished.clear();
        c.fault(device);
        const size_t from = RequestCount();
        ASSERT_EQ(group->Execute(recorder, false, false), 0) << c.name;
        RunToEnd();
        ASSERT_EQ(recorder->finished.size(), 1u) << c.name;
        EXPECT_EQ(recorder->finished[0].second, c.ok) << c.name;
        EXPECT_EQ(DeviceRequests(from).size(), c.transactions) << c.name;
        const auto results = Ctx().CommService()->GetTransactionResults(group->GroupInvokeId());
        ASSERT_EQ(results.size(), 1u) << c.name;
        EXPECT_EQ(results[0].Failed, !c.ok) << c.name;
        EXPECT_FALSE(group->IsBusy()) << c.name;
    }
}

TEST_F(TransGrpTest, ExecuteWhileBusyStartsNothingAndTheCallbackMayRunTheGroupAgain) {
    group->AddRequest(El("PHYS/TAG_DESC"), false);
    ASSERT_EQ(group->Execute(recorder, false, false), 0);
    const size_t from = RequestCount();
    EXPECT_EQ(group->Execute(recorder, false, false), 6);
    int again = -1;
    recorder->onFinished = [&] {
        EXPECT_FALSE(group->IsBusy());  // not busy once the callback runs
        again = group->Execute(recorder, false, false);
        recorder->onFinished = nullptr;
    };
    RunToEnd();
    EXPECT_EQ(again, 0);
    EXPECT_TRUE(group->IsBusy());
    recorder->finished.clear();
    RunToEnd();
    EXPECT_EQ(recorder->finished.size(), 1u);
    EXPECT_EQ(DeviceRequests(from).size(), 2u);  // one read per run, none for the refused call
}

TEST_F(TransGrpTest, AnEmptyGroupFinishesOnTheNextPumpWithoutATransfer) {
    const size_t from = RequestCount();
    ASSERT_EQ(group->Execute(recorder, false, false), 0);
    EXPECT_TRUE(group->IsBusy());
    platform::app::EventLoop::Instance().Pump();
    ASSERT_EQ(recorder->finished.size(), 1u);
    EXPECT_TRUE(recorder->finished[0].second);
    EXPECT_EQ(RequestCount(), from);
}

TEST_F(TransGrpTest, AReleasedGroupRefusesAndItsRunningTransferEndsUnheard) {
    group->AddRequest(El("PHYS/TAG_DESC"), false);
    const std::string id = group->GroupInvokeId();
    ASSERT_EQ(group->Execute(recorder, false, false), 0);
    group->ReleaseGroup();
    EXPECT_FALSE(group->IsBusy());
    EXPECT_EQ(group->Execute(recorder, false, false), 2);
    EXPECT_EQ(group->CheckConnection(), 1);
    EXPECT_TRUE(Ctx().CommService()->GetRequests(id).empty());
    for (int i = 0; i < 100; ++i) platform::app::EventLoop::Instance().Advance(100);
    EXPECT_TRUE(recorder->finished.empty());
    EXPECT_EQ(group->GroupInvokeId(), id);  // one id for the group's life
    group->ReleaseGroup();                  // harmless again
}

TEST_F(TransGrpTest, AGroupDroppedWhileItRunsStopsItsTransfer) {
    group->AddRequest(El("PHYS/TAG_DESC"), false);
    group->AddRequest(El("PHYS/DIAGNOSIS"), false);
    const size_t from = RequestCount();
    ASSERT_EQ(group->Execute(recorder, false, false), 0);
    group.reset();
    for (int i = 0; i < 20; ++i) platform::app::EventLoop::Instance().Advance(100);
    EXPECT_TRUE(recorder->finished.empty());
    EXPECT_EQ(DeviceRequests(from).size(), 0u);
    EXPECT_EQ(Ctx().OnlineService()->OnlineState(), 0);
}

TEST_F(TransGrpTest, CloseConnectionDropsTheRequestsButTheRunningTransferCompletes) {
    group->AddRequest(El("PHYS/TAG_DESC"), false);
    ASSERT_EQ(group->OpenConnection(), 0);
    ASSERT_EQ(group->Execute(recorder, false, false), 0);
    group->CloseConnection();
    EXPECT_FALSE(group->IsOpen());
    EXPECT_TRUE(group->Requests().empty());
    RunToEnd();
    ASSERT_EQ(recorder->finished.size(), 1u);
    EXPECT_TRUE(recorder->finished[0].second);
    EXPECT_EQ(Ctx().CommService()->GetTransactionResults(group->GroupInvokeId()).size(), 1u);
}

// An instance whose frame gave it no channel.
class TransGrpWithoutChannel : public DtmFixture {
protected:
    void SetUp() override { StartNew(); }
    void TearDown() override { EXPECT_TRUE(platform::app::ErrorSink::Instance().Empty()); }
};

TEST_F(TransGrpWithoutChannel, UnreachableGroupStartsNothing) {
    auto group = std::make_shared<rt::TransGrp>();
    auto recorder = std::make_shared<Recorder>();
    EXPECT_EQ(group->Execute(recorder, false, false), 1);  // before InitGroup
    group->InitGroup(session.Context());
    group->AddRequest(Params().Item("PHYS/TAG_DESC"), false);
    EXPECT_EQ(group->CheckConnection(), 1);
    EXPECT_EQ(group->OpenConnection(), 1);
    EXPECT_FALSE(group->IsOpen());
    EXPECT_EQ(group->Execute(recorder, false, false), 1);
    EXPECT_FALSE(group->IsBusy());
    platform::app::EventLoop::Instance().Advance(1000);
    EXPECT_TRUE(recorder->finished.empty());
    EXPECT_EQ(Ctx().CommService()->GetRequests(group->GroupInvokeId()).size(), 1u);
}

}  // namespace

namespace {

// A group's results stay until the group goes; those of processes without a
// group are kept for the last few only, so that transfers do not pile them up.
TEST_F(TransGrpTest, OnlyTheGroupsAndTheLastProcessesResultsAreKept) {
    auto& comm = *Ctx().CommService();
    rt::TransactionResult one;
    one.DataElement = El("PHYS/TAG_DESC");
    comm.RecordTransactionResults(group->GroupInvokeId(), {one});
    for (size_t i = 0; i <= rt::DtmCommService::kRecentResults; ++i)
        comm.RecordTransactionResults("{process-" + std::to_string(i) + "}", {one, one});
    EXPECT_TRUE(comm.GetTransactionResults("{process-0}").empty());
    EXPECT_EQ(comm.GetTransactionResults("{PROCESS-1}").size(), 2u);
    EXPECT_EQ(comm.GetTransactionResults(group->GroupInvokeId()).size(), 1u);
    const std::string groupId = group->GroupInvokeId();
    group->ReleaseGroup();  // its results now age with the others'
    for (size_t i = 0; i < rt::DtmCommService::kRecentResults; ++i)
        comm.RecordTransactionResults("{later-" + std::to_string(i) + "}", {});
    EXPECT_TRUE(comm.GetTransactionResults(groupId).empty());
}

}  // namespace

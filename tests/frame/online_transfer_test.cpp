// Uploads and downloads of a DTM instance against the simulated device,
// through the frame's channel, as the frame requests them.
#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <set>
#include <string>

#include "OnlineFixture.h"
#include "core/services/ProjectHelpers.h"
#include "platform/app/EventLoop.h"
#include "platform/rt/CommObj.h"
#include "platform/rt/DtmCommService.h"
#include "platform/rt/IPrivateProcess.h"
#include "platform/rt/OnlineService.h"
#include "platform/rt/TransRequest.h"
#include "platform/rt/TransactionDocuments.h"

namespace {

using dtm::testing::OnlineFixture;
using platform::Variant;

constexpr int32_t kTransportAndResponseBits = 0x00FF0000;

using OnlineTransferTest = OnlineFixture;

TEST_F(OnlineTransferTest, FullUploadReadsEveryAddressOnceAndGivesEveryElementItsDeviceValue) {
    ASSERT_TRUE(session.Upload().ok);  // connects, reads the device's identity
    auto comm = Ctx().CommService();
    EXPECT_EQ(platform::com::CLng(comm->CommObj()->ConnectedManufacturerId()), 173);
    EXPECT_EQ(comm->CommObj()->ConnectedDeviceName(), "RXD 218");

    const size_t from = RequestCount();
    session.Container()->ClearEvents();
    const auto outcome = session.Upload();
    ASSERT_TRUE(outcome.finished);
    EXPECT_TRUE(outcome.ok);

    std::map<std::pair<int, int>, int> reads;
    for (const auto& request : DeviceRequests(from)) {
        EXPECT_FALSE(request.write);
        ++reads[{request.slot, request.index}];
    }
    const auto expected = UploadAddresses();
    EXPECT_EQ(reads.size(), expected.size());
    for (const auto& [address, count] : reads) {
        EXPECT_EQ(count, 1) << "slot " << address.first << " index " << address.second;
        EXPECT_TRUE(expected.count(address)) << "slot " << address.first << " index " << address.second;
    }

    for (const auto& el : Params()) {
        if (!el->IsUploadParam(session.Context())) continue;
        auto& element = Element(el->Name());
        EXPECT_EQ(element.StatusFlags() & kTransportAndResponseBits, 0) << element.Name;
        EXPECT_EQ(element.CmdErr, "") << element.Name;
        if (element.Name.back() == '/') continue;  // a record header has no value of its own
        EXPECT_FALSE(element.DeviceValue.IsEmpty()) << element.Name;
        EXPECT_TRUE(dtm::IsSameValue(element.DeviceValue, element.TransientValue)) << element.Name;
    }

    const auto progress = Events("OnProgress");
    ASSERT_EQ(progress.size(), reads.size());
    for (size_t i = 0; i + 1 < progress.size(); ++i) EXPECT_EQ(progress[i].args[2], "True");
    EXPECT_EQ(progress.back().args[1], "100");
    EXPECT_EQ(progress.back().args[2], "False");
    EXPECT_EQ(platform::com::CLng(Params().Item("~/DataStatus")->TransientValue()), 1);  // online
    EXPECT_TRUE(platform::app::ErrorSink::Instance().Empty());
}

// A device value that the model cannot take is outside input: the field shows
// the decoding error and no program error is trapped.
TEST_F(OnlineTransferTest, ADeviceValueTheModelCannotTakeMarksItsField) {
    ASSERT_TRUE(session.Upload().ok);
    platform::app::ErrorSink::Instance().Clear();
    const struct {
        const char* path;
        const char* value;
    } cases[] = {
        {"TRANS/1/FlowCori/MASS_FLOW_UNITS", "65535"},
        {"FUNC/1/AI/OUT_SCALE/Unit", "40000"},
    };
    for (const auto& c : cases) ASSERT_TRUE(device.SetValue(c.path, c.value)) << c.path;
    session.Upload();
    for (const auto& c : cases) {
        EXPECT_EQ(Element(c.path).StatusFlags() & kTransportAndResponseBits, 0x500000) << c.path;
        EXPECT_TRUE(dtm::IsSameValue(Element(c.path).DeviceValue, Variant::Lng(std::stol(c.value)))) << c.path;
    }
    EXPECT_EQ(Element("PHYS/TAG_DESC").StatusFlags() & kTransportAndResponseBits, 0);
    EXPECT_TRUE(platform::app::ErrorSink::Instance().Empty());
}

TEST_F(OnlineTransferTest, EveryTransactionHasItsOwnGuidInvokeId) {
    session.Communication()->KeepLast(1024);  // the requests of both uploads
    ASSERT_TRUE(session.Upload().ok);
    ASSERT_TRUE(session.Upload().ok);
    std::set<std::string> ids;
    size_t transactions = 0;
    for (const auto& request : session.Communication()->Requests()) {
        if (request.kind != "Transaction") continue;
        ++transactions;
        const std::string& id = request.invokeId;
        ASSERT_EQ(id.size(), 38u) << id;
        EXPECT_EQ(id.front(), '{');
        EXPECT_EQ(id.back(), '}');
        for (const size_t dash : {9u, 14u, 19u, 24u}) EXPECT_EQ(id[dash], '-') << id;
        std::string key = id;
        for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        ids.insert(key);
    }
    EXPECT_GT(transactions, 2 * UploadAddresses().size());
    EXPECT_EQ(ids.size(), transactions);

    // One GUID per instance whose last twelve digits (upper case) count on by one.
    std::string last;
    for (const auto& request : session.Communication()->Requests()) {
        if (request.kind != "Transaction") continue;
        const std::string& id = request.invokeId;
        EXPECT_EQ(id.find_first_of("abcdef", 25), std::string::npos) << id;
        if (!last.empty()) {
            EXPECT_EQ(id.substr(0, 25), last.substr(0, 25));
            EXPECT_EQ(std::stoull(id.substr(25, 12), nullptr, 16),
                      (std::stoull(last.substr(25, 12), nullptr, 16) + 1) & 0xFFFFFFFFFFFFull)
                << last << " " << id;
        }
        last = id;
    }
}

TEST_F(OnlineTransferTest, DownloadOfAChangedValueWritesItAndReadsItBack) {
    ASSERT_TRUE(session.Upload().ok);
    ASSERT_TRUE(Parameter().IDtmParameter_SetParameters("", TagDocument("FT-101 LINE 2")));
    EXPECT_EQ(platform::com::CLng(Params().Item("~/DataStatus")->TransientValue()), 2);  // changed

    const size_t from = RequestCount();
    const auto outcome = session.Download("PHYS/TAG_DESC");
    ASSERT_TRUE(outcome.finished);
    EXPECT_TRUE(outcome.ok);
    const auto requests = DeviceRequests(from);
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_TRUE(requests[0].write);
    EXPECT_FALSE(requests[1].write);
    EXPECT_EQ(std::make_pair(requests[0].slot, requests[0].index), std::make_pair(requests[1].slot, requests[1].index));

    const auto& tag = Element("PHYS/TAG_DESC");
    const auto bytes = device.Bytes(requests[0].slot, requests[0].index);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 13), "FT-101 LINE 2");
    EXPECT_EQ(platform::com::CStr(tag.DeviceValue), "FT-101 LINE 2");
    EXPECT_EQ(tag.StatusFlags() & kTransportAndResponseBits, 0);
    EXPECT_EQ(platform::com::CLng(Params().Item("~/DataStatus")->TransientValue()), 1);  // online again
    const auto finished = Events("OnDownloadFinished");
    ASSERT_EQ(finished.size(), 1u);
    EXPECT_EQ(finished[0].args[1], "True");
}

// A fault on the one transaction of an upload of PHYS/TAG_DESC.
struct FaultCase {
    const char* name;
    void (*schedule)(dtm::frame::SimulatedDevice&);
    int32_t bits;            // expected bits 16 to 23
    bool errorText;          // a command error text is expected
};

class OnlineFaultTest : public OnlineFixture, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(OnlineFaultTest, EndsInItsStatusBitsAndKeepsTheValue) {
    ASSERT_TRUE(session.Upload("PHYS/TAG_DESC").ok);
    auto& tag = Element("PHYS/TAG_DESC");
    const Variant before = tag.TransientValue;
    GetParam().schedule(device);
    const auto outcome = session.Upload("PHYS/TAG_DESC");
    ASSERT_TRUE(outcome.finished);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(tag.StatusFlags() & kTransportAndResponseBits, GetParam().bits);
    EXPECT_EQ(!tag.CmdErr.empty(), GetParam().errorText) << tag.CmdErr;
    EXPECT_TRUE(dtm::IsSameValue(tag.TransientValue, before));
    // The next good answer clears them.
    ASSERT_TRUE(session.Upload("PHYS/TAG_DESC").ok);
    EXPECT_EQ(tag.StatusFlags() & kTransportAndResponseBits, 0);
    EXPECT_EQ(tag.CmdErr, "");
}

INSTANTIATE_TEST_SUITE_P(
    Faults, OnlineFaultTest,
    ::testing::Values(
        FaultCase{"AccessDenied", [](auto& d) { d.ScheduleFailure(0xB6); }, 0x300000, true},
        FaultCase{"InvalidIndex", [](auto& d) { d.ScheduleFailure(0xB0); }, 0x800000, true},
        FaultCase{"ModuleFailure", [](auto& d) { d.ScheduleFailure(0xA2); }, 0x900000, true},
        FaultCase{"BusyBeyondSixRepeats", [](auto& d) { d.ScheduleBusy(7); }, 0x200000, true},
        FaultCase{"NoAnswer", [](auto& d) { d.ScheduleDrop(); }, platform::rt::kTransportTimeout, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(OnlineTransferTest, BusyAnswersAreRepeatedAtMostSixTimes) {
    ASSERT_TRUE(session.Upload("PHYS/TAG_DESC").ok);
    for (const int busy : {3, 6, 9}) {
        device.ScheduleBusy(busy);
        const size_t from = RequestCount();
        const auto outcome = session.Upload("PHYS/TAG_DESC");
        ASSERT_TRUE(outcome.finished);
        EXPECT_EQ(outcome.ok, busy <= 6) << busy;
        EXPECT_EQ(DeviceRequests(from).size(), static_cast<size_t>(std::min(busy, 6) + 1)) << busy;
        while (device.ScheduledFaults() > 0) device.Read(0, 0);  // what is left of the run
    }
}

TEST_F(OnlineTransferTest, GarbageAnswersFailTheirTransactionAndKeepTheValue) {
    ASSERT_TRUE(session.Upload("PHYS/TAG_DESC").ok);
    auto& tag = Element("PHYS/TAG_DESC");
    tag.TransientValue = Variant("BEFORE");
    tag.DeviceValue = Variant("BEFORE");
    for (const std::string garbage :
         {"", "<FDT>", "not xml", "<FDT><ReadResponse slot=\"x\" index=\"1\" errorCode=\"0\"/></FDT>",
          "<FDT><ReadResponse slot=\"1\" index=\"8\" errorCode=\"0\"/></FDT>",
          "<FDT><ReadResponse slot=\"999\" index=\"8\" errorCode=\"0\"><fdt:CommunicationData byteArray=\"41\"/></ReadResponse></FDT>",
          "<FDT><WriteResponse slot=\"1\" index=\"8\" errorCode=\"0\"/></FDT>",
          "<FDT><fdt:CommunicationError communicationError=\"abort\"/></FDT>", "<Other/>"}) {
        auto channelDevice = session.Communication();
        channelDevice->SetTransactionHandler([garbage](const std::string& id, const std::string&, auto sink) {
            platform::app::EventLoop::Instance().PostAfter(20, [sink, id, garbage] {
                if (auto target = sink.lock()) target->OnTransactionResponse(id, garbage);
            });
            return true;
        });
        const auto outcome = session.Upload("PHYS/TAG_DESC");
        ASSERT_TRUE(outcome.finished) << garbage;
        EXPECT_FALSE(outcome.ok) << garbage;
        EXPECT_EQ(tag.StatusFlags() & 0xF0000, platform::rt::kTransportError) << garbage;
        EXPECT_EQ(platform::com::CStr(tag.TransientValue), "BEFORE") << garbage;
    }
    EXPECT_TRUE(platform::app::ErrorSink::Instance().Empty());
}

TEST_F(OnlineTransferTest, AnswersForUnknownIdsOrAtTheWrongTimeAreIgnored) {
    auto& events = dynamic_cast<platform::fdt::IFdtCommunicationEvents&>(*session.Dtm());
    const std::string answer =
        "<FDT><ReadResponse slot=\"1\" index=\"8\" errorCode=\"0\"><fdt:CommunicationData byteArray=\"41\"/></ReadResponse></FDT>";
    events.OnTransactionResponse("", answer);  // nothing pending at all
    events.OnTransactionResponse("{00000000-0000-0000-0000-000000000000}", answer);
    events.OnConnectResponse("unknown", "<FDT><ConnectResponse errorCode=\"0\"/></FDT>");
    events.OnDisconnectResponse("unknown", "garbage");
    EXPECT_FALSE(Ctx().CommService()->IsActive());
    ASSERT_TRUE(session.Upload().ok);
    // The answer of a transaction already answered comes again.
    const auto& requests = session.Communication()->Requests();
    events.OnTransactionResponse(requests.back().invokeId, answer);
    EXPECT_EQ(Ctx().CommService()->PendingTransactions(), 0u);
    EXPECT_TRUE(platform::app::ErrorSink::Instance().Empty());
}

TEST_F(OnlineTransferTest, AnUnansweredTransactionFailsWhenTheTimeoutIsUpAndALateAnswerIsIgnored) {
    ASSERT_TRUE(session.Upload("PHYS/TAG_DESC").ok);
    auto& tag = Element("PHYS/TAG_DESC");
    const Variant before = tag.TransientValue;
    session.Communication()->SetTransactionHandler([](auto&&...) { return true; });  // never answers
    ASSERT_TRUE(Online().IDtmOnlineParameter_UploadRequest("{LATE}", "PHYS/TAG_DESC"));
    auto& loop = platform::app::EventLoop::Instance();
    auto& comm = *Ctx().CommService();
    // To the moment the request is sent.
    while (comm.PendingTransactions() == 0 && loop.PendingCount() > 0) loop.Advance(loop.NextDueIn());
    ASSERT_EQ(comm.PendingTransactions(), 1u);
    const std::string invokeId = session.Communication()->Requests().back().invokeId;
    loop.Advance(platform::rt::DtmCommService::kAnswerTimeoutMs - 1);
    EXPECT_EQ(comm.PendingTransactions(), 1u);
    loop.Advance(1);
    EXPECT_EQ(comm.PendingTransactions(), 0u);
    loop.RunUntilIdle();
    EXPECT_EQ(tag.StatusFlags() & 0xF0000, platform::rt::kTransportTimeout);
    ASSERT_EQ(Events("OnUploadFinished").back().args, (std::vector<std::string>{"{LATE}", "False"}));
    auto& events = dynamic_cast<platform::fdt::IFdtCommunicationEvents&>(*session.Dtm());
    events.OnTransactionResponse(invokeId, "<FDT><ReadResponse slot=\"1\" index=\"8\" errorCode=\"0\">"
                                           "<fdt:CommunicationData byteArray=\"41\"/></ReadResponse></FDT>");
    EXPECT_TRUE(dtm::IsSameValue(tag.TransientValue, before));
    EXPECT_EQ(tag.StatusFlags() & 0xF0000, platform::rt::kTransportTimeout);
}

TEST_F(OnlineTransferTest, AFrameThatAnswersFromInsideTheRequestGetsEveryTransactionDone) {
    ASSERT_TRUE(session.Upload("PHYS/TAG_DESC").ok);  // connected

    // Every answer comes before the request returns: the transfer runs nested to its end.
    std::vector<std::string> ids;
    session.Communication()->SetTransactionHandler([&](const std::string& id, const std::string& xml, auto sink) {
        ids.push_back(id);
        const std::string sent = id;
        const std::string sentXml = xml;
        dtm::frame::DeviceRequest request;
        EXPECT_TRUE(dtm::frame::DeviceChannel::ParseRequest(xml, request)) << xml;
        const auto answer = dtm::frame::DeviceChannel::AnswerDocument(request, device.Transact(request));
        if (auto target = sink.lock()) target->OnTransactionResponse(id, answer);
        EXPECT_EQ(id, sent);  // what the frame holds is left as it was
        EXPECT_EQ(xml, sentXml);
        return true;
    });
    const auto outcome = session.Upload();
    ASSERT_TRUE(outcome.finished);
    EXPECT_TRUE(outcome.ok);
    EXPECT_EQ(ids.size(), UploadAddresses().size());
    EXPECT_EQ(std::set<std::string>(ids.begin(), ids.end()).size(), ids.size());
    EXPECT_EQ(Ctx().CommService()->PendingTransactions(), 0u);
    EXPECT_EQ(platform::app::EventLoop::Instance().PendingCount(), 0u);  // no timeout left behind
    for (const auto& el : Params()) {
        if (el->IsUploadParam(session.Context())) {
            EXPECT_EQ(el->StatusFlags() & kTransportAndResponseBits, 0) << el->Name();
        }
    }
    EXPECT_TRUE(platform::app::ErrorSink::Instance().Empty());

    // The whole transfer's events come at once: more than a small log keeps.
    session.Container()->KeepLast(16);
    const auto again = session.Upload();
    EXPECT_TRUE(again.finished);
    EXPECT_TRUE(again.ok);
}

TEST_F(OnlineTransferTest, CancelInTheMiddleStopsAfterTheTransactionOnTheBus) {
    ASSERT_TRUE(session.Upload("PHYS/TAG_DESC").ok);
    const size_t from = RequestCount();
    const std::string id = "{11111111-2222-3333-4444-555555555555}";
    ASSERT_TRUE(Online().IDtmOnlineParameter_UploadRequest(id, ""));
    auto& loop = platform::app::EventLoop::Instance();
    while (DeviceRequests(from).size() < 10) loop.Advance(1);
    EXPECT_EQ(Ctx().OnlineService()->OperationMode(), 1);
    EXPECT_TRUE(Online().IDtmOnlineParameter_CancelAction(id));
    EXPECT_FALSE(Online().IDtmOnlineParameter_CancelAction("{unknown}"));
    loop.Advance(platform::rt::DtmCommService::kAnswerTimeoutMs);
    loop.RunUntilIdle();
    EXPECT_EQ(DeviceRequests(from).size(), 10u);
    const auto finished = Events("OnUploadFinished");
    ASSERT_FALSE(finished.empty());
    EXPECT_EQ(finished.back().args[0], id);
    EXPECT_EQ(finished.back().args[1], "False");
    EXPECT_EQ(Events("OnProgress").back().args[2], "False");
    EXPECT_EQ(Ctx().OnlineService()->OperationMode(), 0);
    EXPECT_EQ(Ctx().OnlineService()->State(), 0);
}

TEST_F(OnlineTransferTest, RefusedConnectFailsTheTransferAsNotConnected) {
    session.Communication()->connectErrorCode = 1;
    const auto outcome = session.Upload("PHYS/TAG_DESC");
    ASSERT_TRUE(outcome.finished);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(Element("PHYS/TAG_DESC").StatusFlags() & 0xF0000, platform::rt::kTransportNotConnected);
    EXPECT_FALSE(Ctx().CommService()->IsOnline());
}

using OnlineTransferWithoutChannelTest = dtm::testing::DtmFixture;

TEST_F(OnlineTransferWithoutChannelTest, RequestsAreRefused) {
    StartNew();
    auto& online = dynamic_cast<platform::fdt::IDtmOnlineParameter&>(*session.Dtm());
    EXPECT_FALSE(online.IDtmOnlineParameter_UploadRequest("{1}", ""));
    EXPECT_FALSE(online.IDtmOnlineParameter_DownloadRequest("{2}", ""));
    EXPECT_TRUE(session.Communication()->Requests().empty());
}

}  // namespace

namespace {

// A process callback that records the ends it is told of.
class ProcessRecorder : public platform::rt::IPrivateProcess {
public:
    void OnProcessProgress(const std::string&, int16_t, const Variant&) override {}
    void OnProcessFinished(const std::string& id, const Variant& extra) override {
        finished.emplace_back(id, extra.IsEmpty() || extra.IsMissing() ? false : platform::com::CBool(extra));
    }
    std::vector<std::pair<std::string, bool>> finished;
};

using OnlineProcessTest = OnlineFixture;

TEST_F(OnlineProcessTest, CommandWritesItsElementAndReportsItsEnd) {
    auto recorder = std::make_shared<ProcessRecorder>();
    auto online = Ctx().OnlineService();
    EXPECT_FALSE(online->StartCommand("{c0}", "PHYS/NO_SUCH", recorder));
    Element("PHYS/TAG_DESC").TransientValue = Variant("CMD");
    ASSERT_TRUE(online->StartCommand("{c1}", "PHYS/TAG_DESC", recorder));
    EXPECT_EQ(online->OnlineState(), 0x4);
    EXPECT_TRUE(recorder->finished.empty());  // never before the call returns
    platform::app::EventLoop::Instance().Advance(1000);
    ASSERT_EQ(recorder->finished.size(), 1u);
    EXPECT_EQ(recorder->finished[0], std::make_pair(std::string("{c1}"), true));
    const auto requests = DeviceRequests();
    ASSERT_FALSE(requests.empty());
    const auto bytes = device.Bytes(requests.back().slot, requests.back().index);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 3), "CMD");
    EXPECT_EQ(online->OnlineState(), 0);
}

TEST_F(OnlineProcessTest, MarkedUploadReadsTheMarkedElementsAndClearsTheirMark) {
    constexpr int32_t kMark = 16;
    auto recorder = std::make_shared<ProcessRecorder>();
    auto& tag = Element("PHYS/TAG_DESC");
    tag.StatusFlags(tag.StatusFlags() | kMark);
    const size_t from = RequestCount();
    ASSERT_TRUE(Ctx().OnlineService()->StartUpload("{u1}", "", 0, kMark, 0, 0, recorder));
    EXPECT_EQ(tag.StatusFlags() & kMark, 0);
    platform::app::EventLoop::Instance().Advance(1000);
    ASSERT_EQ(recorder->finished.size(), 1u);
    EXPECT_EQ(recorder->finished[0], std::make_pair(std::string("{u1}"), true));
    const auto requests = DeviceRequests(from);
    ASSERT_EQ(requests.size(), 3u);  // the device's identity, then the one marked element
    EXPECT_EQ(requests[2].slot, tag.Slot);
    EXPECT_EQ(requests[2].index, tag.index);
}

TEST_F(OnlineProcessTest, GroupReadsOncePerAddressAndARecordHeaderCarriesItsFields) {
    // A record header with two fields at its address, and two plain elements sharing another address.
    platform::rt::El header, field1, field2, plain1, plain2;
    std::map<Address, std::vector<platform::rt::El>> byAddress;
    for (const auto& el : Params())
        if (el->Slot() >= 0 && el->Slot() <= 255 && el->Index() >= 0 && el->Index() <= 255)
            byAddress[{el->Slot(), el->Index()}].push_back(el);
    for (const auto& [address, els] : byAddress) {
        std::vector<platform::rt::El> headers, others;
        for (const auto& el : els) (el->Name().back() == '/' ? headers : others).push_back(el);
        if (!header && headers.size() == 1 && others.size() >= 2) {
            header = headers[0];
            field1 = others[0];
            field2 = others[1];
        } else if (!plain1 && headers.empty() && others.size() >= 2) {
            plain1 = others[0];
            plain2 = others[1];
        }
    }
    ASSERT_TRUE(header) << "no header";
    ASSERT_TRUE(plain1) << "no plain";
    std::vector<platform::P<platform::rt::TransRequest>> requests;
    for (const auto& el : {field1, header, field2, plain1, plain2, plain1}) {
        requests.push_back(std::make_shared<platform::rt::TransRequest>());
        requests.back()->DataElement = el;
    }
    auto recorder = std::make_shared<ProcessRecorder>();
    ASSERT_TRUE(session.Upload("PHYS/TAG_DESC").ok);
    const size_t from = RequestCount();
    ASSERT_TRUE(Ctx().OnlineService()->StartGroup("{g1}", requests, recorder));
    platform::app::EventLoop::Instance().Advance(1000);
    ASSERT_EQ(recorder->finished.size(), 1u);
    const auto reads = DeviceRequests(from);
    ASSERT_EQ(reads.size(), 2u);
    EXPECT_EQ(Address(reads[0].slot, reads[0].index), Address(header->Slot(), header->Index()));
    EXPECT_EQ(Address(reads[1].slot, reads[1].index), Address(plain1->Slot(), plain1->Index()));
    std::vector<platform::rt::El> answered;
    for (const auto& result : Ctx().CommService()->GetTransactionResults("{g1}")) answered.push_back(result.DataElement);
    EXPECT_EQ(answered, (std::vector<platform::rt::El>{header, plain1, plain2, plain1}));
}

// The model reads a written value back in the same transfer; the results are
// the group's requests only, so a page never takes the read-back for a read
// of its own.
TEST_F(OnlineProcessTest, GroupResultsAreThoseOfItsRequestsWithoutTheReadBack) {
    ASSERT_TRUE(session.Upload("PHYS/TAG_DESC").ok);
    Element("PHYS/TAG_DESC").TransientValue = Variant("GROUP");
    std::vector<platform::P<platform::rt::TransRequest>> requests;
    for (const auto& [path, write] : {std::pair{"PHYS/TAG_DESC", true}, std::pair{"PHYS/DIAGNOSIS", false}}) {
        requests.push_back(std::make_shared<platform::rt::TransRequest>());
        requests.back()->DataElement = Params().Item(path);
        requests.back()->IsWrite = write;
    }
    auto recorder = std::make_shared<ProcessRecorder>();
    const size_t from = RequestCount();
    ASSERT_TRUE(Ctx().OnlineService()->StartGroup("{g2}", requests, recorder));
    platform::app::EventLoop::Instance().Advance(1000);
    ASSERT_EQ(recorder->finished.size(), 1u);
    EXPECT_TRUE(recorder->finished[0].second);
    const auto wire = DeviceRequests(from);
    ASSERT_EQ(wire.size(), 3u);  // the write, the group's read, the write's read-back
    EXPECT_TRUE(wire[0].write);
    EXPECT_FALSE(wire[2].write);
    EXPECT_EQ(Address(wire[2].slot, wire[2].index), Address(wire[0].slot, wire[0].index));
    std::vector<std::pair<std::string, bool>> results;
    for (const auto& result : Ctx().CommService()->GetTransactionResults("{g2}"))
        results.emplace_back(result.DataElement->Name(), result.IsWrite);
    EXPECT_EQ(results, (std::vector<std::pair<std::string, bool>>{{"PHYS/TAG_DESC", true}, {"PHYS/DIAGNOSIS", false}}));
}

TEST_F(OnlineProcessTest, AnAbortFailsTheRunningTransfer) {
    ASSERT_TRUE(session.Upload("PHYS/TAG_DESC").ok);
    const size_t from = RequestCount();
    ASSERT_TRUE(Online().IDtmOnlineParameter_UploadRequest("{a1}", ""));
    auto& loop = platform::app::EventLoop::Instance();
    while (DeviceRequests(from).size() < 5) loop.Advance(1);
    dynamic_cast<platform::fdt::IFdtCommunicationEvents&>(*session.Dtm()).OnAbort("");
    loop.RunUntilIdle();
    const auto finished = Events("OnUploadFinished");
    ASSERT_FALSE(finished.empty());
    EXPECT_EQ(finished.back().args, (std::vector<std::string>{"{a1}", "False"}));
    EXPECT_EQ(Ctx().CommService()->PendingTransactions(), 0u);
    EXPECT_FALSE(Ctx().CommService()->IsActive());
    EXPECT_TRUE(platform::app::ErrorSink::Instance().Empty());
}

}  // namespace

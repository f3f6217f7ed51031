// A full upload and a full download of a new RXD 218 instance against the
// simulated device, through the frame's communication channel, and the parts
// of one transaction on their own. The counters report the DTM's processor
// time (the frame's and the device's own share taken out) per transaction and
// beside the simulated bus time, with the target (at most 0.02 %) and whether
// it is met.
//
// FullUpload and FullDownload repeat the transfer on an instance that has
// read the device once; FirstUpload is the first upload of a new instance.
//
// Parts, per transaction of the full upload:
//   RequestCoding            the model codes the request (BuildTransactionRequest)
//   CommunicationDocuments   the request document written and the answer document read
//   AnswerDecoding           the model decodes the answer, change notices included (ReadTransactionResponse)
//   Notifications            the change notices alone (NotifyChange of every element answered)
// As in a transfer, the last two run inside a notice batch; the evaluation of
// the data-set state at its end is spread over the transactions of one pass.
// The transfer loop's share is what the full upload takes beyond the parts.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/module/ComponentClasses.h"
#include "frame/DeviceChannel.h"
#include "frame/FrameSession.h"
#include "frame/SimulatedDevice.h"
#include "platform/app/ErrorSink.h"
#include "platform/app/EventLoop.h"
#include "platform/app/ProcessorTime.h"
#include "platform/com/ClassRegistry.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/IPrivateDataModel.h"
#include "platform/rt/Parameters.h"
#include "platform/rt/Transaction.h"
#include "platform/rt/TransactionDocuments.h"

namespace {

using platform::P;
using platform::rt::El;
using platform::rt::Transaction;
using dtm::frame::DeviceChannel;
using dtm::frame::DeviceRequest;
using dtm::frame::SimulatedDevice;

struct Instance {
    Instance() {
        dtm::RegisterComponentClasses(registry);
        platform::app::EventLoop::Instance().Reset();
        platform::app::ErrorSink::Instance().Clear();
        if (!session.StartNew(registry) || !session.SetCommunication()) std::abort();
        ctx = session.Context();
    }
    platform::rt::Parameters& Params() const { return *ctx->Parameters(); }
    P<platform::rt::IPrivateDataModel> Model() const { return Params().DataModel(); }

    // One element per distinct address of the upload, as the transfer reads them.
    std::vector<El> UploadAddresses() const {
        std::map<std::pair<int, int>, El> first;
        std::vector<El> out;
        for (const auto& el : Params())
            if (el->IsUploadParam(ctx) && first.emplace(std::make_pair(el->Slot(), el->Index()), el).second)
                out.push_back(el);
        return out;
    }

    platform::com::ClassRegistry registry;
    dtm::frame::FrameSession session;
    SimulatedDevice device{SimulatedDevice::Model::RXD218};
    DeviceChannel channel{*session.Communication(), device};
    P<platform::rt::DTMContext> ctx;
};

// The DTM's processor time beside the bus time that a transfer may take at most.
constexpr double kTargetPercentOfBus = 0.02;

void Report(benchmark::State& state, int64_t dtmNs, int64_t transactions, int64_t busUs) {
    if (transactions == 0 || busUs == 0) return;
    state.counters["transactions"] = static_cast<double>(transactions);
    state.counters["dtm_us_per_transaction"] = static_cast<double>(dtmNs) / 1000.0 / static_cast<double>(transactions);
    state.counters["bus_ms"] = static_cast<double>(busUs) / 1000.0;
    const double percent = 100.0 * static_cast<double>(dtmNs) / 1000.0 / static_cast<double>(busUs);
    state.counters["dtm_percent_of_bus"] = percent;
    state.counters["target_percent"] = kTargetPercentOfBus;
    state.counters["met"] = percent <= kTargetPercentOfBus ? 1 : 0;
}

// The whole transfer as the frame runs it; the frame's and the device's share
// is taken out (DtmStopwatch).
void Transfer(benchmark::State& state, bool upload) {
    Instance instance;
    if (!instance.session.Upload().ok) state.SkipWithError("the first upload failed");
    int64_t dtmNs = 0, transactions = 0, busUs = 0;
    for (auto _ : state) {
        instance.channel.ResetTotals();
        const dtm::frame::DtmStopwatch watch(instance.channel);
        const auto outcome = upload ? instance.session.Upload() : instance.session.Download();
        dtmNs += watch.ElapsedNs();
        transactions += instance.channel.Transactions();
        busUs += instance.channel.BusTimeUs();
        if (!outcome.finished) state.SkipWithError("the transfer did not finish");
    }
    Report(state, dtmNs, transactions, busUs);
}

void BM_FullUpload(benchmark::State& state) { Transfer(state, true); }
void BM_FullDownload(benchmark::State& state) { Transfer(state, false); }

// The first upload of a new instance, as the main job runs it: it connects,
// reads the device's identity, and every value read differs from the one the
// instance started with, so every change handler does its work.
void BM_FirstUpload(benchmark::State& state) {
    int64_t dtmNs = 0, transactions = 0, busUs = 0;
    for (auto _ : state) {
        const auto instance = std::make_unique<Instance>();
        const dtm::frame::DtmStopwatch watch(instance->channel);
        const auto outcome = instance->session.Upload();
        dtmNs += watch.ElapsedNs();
        transactions += instance->channel.Transactions();
        busUs += instance->channel.BusTimeUs();
        if (!outcome.ok) state.SkipWithError("the upload failed");
    }
    Report(state, dtmNs, transactions, busUs);
}

// ---- The parts of a transaction, over every address of the upload ----

void BM_RequestCoding(benchmark::State& state) {
    Instance instance;
    const auto elements = instance.UploadAddresses();
    auto model = instance.Model();
    for (auto _ : state)
        for (const auto& el : elements) {
            auto trans = std::make_shared<Transaction>();
            benchmark::DoNotOptimize(model->BuildTransactionRequest(instance.ctx, trans, false, el));
        }
    state.counters["us_per_transaction"] = benchmark::Counter(
        static_cast<double>(elements.size()), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

struct AnsweredRead {
    El element;
    P<Transaction> trans;
    std::string answer;
};

std::vector<AnsweredRead> AnsweredReads(Instance& instance) {
    std::vector<AnsweredRead> reads;
    for (const auto& el : instance.UploadAddresses()) {
        auto trans = std::make_shared<Transaction>();
        instance.Model()->BuildTransactionRequest(instance.ctx, trans, false, el);
        const DeviceRequest request{false, static_cast<uint8_t>(el->Slot()), static_cast<uint8_t>(el->Index()), {}};
        reads.push_back({el, trans, DeviceChannel::AnswerDocument(request, instance.device.Transact(request))});
    }
    return reads;
}

void BM_CommunicationDocuments(benchmark::State& state) {
    Instance instance;
    const auto reads = AnsweredReads(instance);
    std::string xml;
    for (auto _ : state)
        for (const auto& read : reads) {
            platform::rt::BuildTransactionDocument(*read.trans, false, xml);
            benchmark::DoNotOptimize(platform::rt::DecodeTransactionAnswer(read.answer, false, *read.trans));
        }
    state.counters["us_per_transaction"] = benchmark::Counter(
        static_cast<double>(reads.size()), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_AnswerDecoding(benchmark::State& state) {
    Instance instance;
    auto reads = AnsweredReads(instance);
    for (auto& read : reads) platform::rt::DecodeTransactionAnswer(read.answer, false, *read.trans);
    auto model = instance.Model();
    for (auto _ : state) {
        platform::rt::NoticeBatch batch(instance.ctx->Parameters());
        for (const auto& read : reads)
            benchmark::DoNotOptimize(model->ReadTransactionResponse(instance.ctx, read.trans, false, read.element));
    }
    state.counters["us_per_transaction"] = benchmark::Counter(
        static_cast<double>(reads.size()), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_Notifications(benchmark::State& state) {
    Instance instance;
    const auto elements = instance.UploadAddresses();
    auto& params = instance.Params();
    // Every element a read answer reaches: the record's fields for a record header.
    std::vector<std::vector<El>> answered;
    for (const auto& el : elements) {
        const std::string name = el->Name();
        answered.push_back(!name.empty() && name.back() == '/' ? params.Children(name) : std::vector<El>{el});
    }
    for (auto _ : state) {
        platform::rt::NoticeBatch batch(instance.ctx->Parameters());
        for (const auto& targets : answered)
            for (const auto& el : targets) params.NotifyChange(el, "");
    }
    state.counters["us_per_transaction"] = benchmark::Counter(
        static_cast<double>(elements.size()), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

BENCHMARK(BM_FullUpload)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_FirstUpload)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_FullDownload)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_RequestCoding)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CommunicationDocuments)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AnswerDecoding)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Notifications)->Unit(benchmark::kMillisecond);

}  // namespace

// A full upload and a full download of a new RXD 218 instance against the
// simulated device, through the frame's communication channel, and the parts
// of one transaction on their own. The counters report the DTM's processor
// time (the frame's and the device's own share taken out) per transaction and
// beside the simulated bus time, with the target (at most 0.02 %) and whether
// it is met. Each transfer is measured on its own; the counters give the
// transfer of median cost, and worst_percent the dearest one.
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

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/module/ComponentClasses.h"
#include "frame/DeviceChannel.h"
#include "frame/FrameSession.h"
#include "frame/FrameTime.h"
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

// What one transfer cost: the DTM's processor time, its transactions and their bus time.
struct TransferCost {
    int64_t dtmNs = 0;
    int64_t transactions = 0;
    int64_t busUs = 0;
    double PercentOfBus() const { return busUs > 0 ? 100.0 * static_cast<double>(dtmNs) / 1000.0 / static_cast<double>(busUs) : 0; }
};

TransferCost Measure(Instance& instance, bool upload, bool& finished) {
    instance.channel.ResetTotals();
    const dtm::frame::DtmStopwatch watch;
    const auto outcome = upload ? instance.session.Upload() : instance.session.Download();
    finished = outcome.finished && outcome.ok;
    return {watch.ElapsedNs(), instance.channel.Transactions(), instance.channel.BusTimeUs()};
}

// The transfer of median cost: a time slice lost to another process, or a
// cache emptied by it, falls on a few transfers and leaves the median alone.
void Report(benchmark::State& state, std::vector<TransferCost> costs) {
    if (costs.empty()) return;
    std::sort(costs.begin(), costs.end(),
              [](const TransferCost& a, const TransferCost& b) { return a.PercentOfBus() < b.PercentOfBus(); });
    const TransferCost& median = costs[costs.size() / 2];
    if (median.transactions == 0 || median.busUs == 0) return;
    const double percent = median.PercentOfBus();
    state.counters["transactions"] = static_cast<double>(median.transactions);
    state.counters["dtm_us_per_transaction"] =
        static_cast<double>(median.dtmNs) / 1000.0 / static_cast<double>(median.transactions);
    state.counters["bus_ms"] = static_cast<double>(median.busUs) / 1000.0;
    state.counters["dtm_percent_of_bus"] = percent;
    state.counters["worst_percent"] = costs.back().PercentOfBus();
    state.counters["target_percent"] = kTargetPercentOfBus;
    state.counters["met"] = percent <= kTargetPercentOfBus ? 1 : 0;
}

// The whole transfer as the frame runs it, on an instance that has read the
// device once; the frame's and the device's share is taken out (DtmStopwatch).
void Transfer(benchmark::State& state, bool upload) {
    Instance instance;
    if (!instance.session.Upload().ok) state.SkipWithError("the first upload failed");
    std::vector<TransferCost> costs;
    for (auto _ : state) {
        bool finished = false;
        costs.push_back(Measure(instance, upload, finished));
        if (!finished) state.SkipWithError("the transfer did not finish");
    }
    Report(state, std::move(costs));
}

void BM_FullUpload(benchmark::State& state) { Transfer(state, true); }
void BM_FullDownload(benchmark::State& state) { Transfer(state, false); }

// The first upload of a new instance, as the main job runs it: it connects,
// reads the device's identity, and every value read differs from the one the
// instance started with, so every change handler does its work.
void BM_FirstUpload(benchmark::State& state) {
    std::vector<TransferCost> costs;
    for (auto _ : state) {
        state.PauseTiming();
        auto instance = std::make_unique<Instance>();
        state.ResumeTiming();
        bool finished = false;
        costs.push_back(Measure(*instance, true, finished));
        if (!finished) state.SkipWithError("the upload failed");
        state.PauseTiming();
        instance.reset();
        state.ResumeTiming();
    }
    Report(state, std::move(costs));
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

BENCHMARK(BM_FullUpload)->Unit(benchmark::kMillisecond)->Iterations(21);
BENCHMARK(BM_FirstUpload)->Unit(benchmark::kMillisecond)->Iterations(9);
BENCHMARK(BM_FullDownload)->Unit(benchmark::kMillisecond)->Iterations(21);
BENCHMARK(BM_RequestCoding)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CommunicationDocuments)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AnswerDecoding)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Notifications)->Unit(benchmark::kMillisecond);

}  // namespace

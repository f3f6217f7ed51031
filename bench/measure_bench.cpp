// The measured values window (function 7) connected to the simulated device,
// its cycle running for 100 ticks: the DTM's processor time per tick (the
// frame's and the device's own share taken out) beside the bus time of the
// tick's 33 reads, and their ratio, as the main job's summary gives it.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

#include "frame/DeviceChannel.h"
#include "frame/FrameTime.h"
#include "frame/PageFrame.h"
#include "platform/app/ErrorSink.h"
#include "platform/app/EventLoop.h"
#include "platform/ui/Environment.h"

namespace {

constexpr int kTicks = 100;
constexpr int64_t kTickMs = 4000;

void BM_MeasureCycle(benchmark::State& state) {
    platform::ui::Environment::Instance().Reset();
    platform::app::EventLoop::Instance().Reset();
    platform::app::ErrorSink::Instance().Clear();
    dtm::frame::PageFrame frame;
    if (!frame.Started() || !frame.Connect() || !frame.Session().Upload().ok) std::abort();
    const auto window = frame.Open(7);
    if (!window) std::abort();
    auto& loop = platform::app::EventLoop::Instance();
    auto& channel = *frame.Channel();
    loop.Advance(1000);  // the first read ends
    int64_t dtmNs = 0, busUs = 0, transactions = 0;
    for (auto _ : state) {
        channel.ResetTotals();
        const dtm::frame::DtmStopwatch watch;
        for (int i = 0; i < kTicks; ++i) loop.Advance(kTickMs);
        dtmNs += watch.ElapsedNs();
        busUs += channel.BusTimeUs();
        transactions += channel.Transactions();
    }
    const double ticks = static_cast<double>(state.iterations()) * kTicks;
    state.counters["dtm_us_per_tick"] = static_cast<double>(dtmNs) / 1e3 / ticks;
    state.counters["bus_ms_per_tick"] = static_cast<double>(busUs) / 1e3 / ticks;
    state.counters["reads_per_tick"] = static_cast<double>(transactions) / ticks;
    state.counters["dtm_share_percent"] = busUs > 0 ? 100.0 * (static_cast<double>(dtmNs) / 1e3) / static_cast<double>(busUs) : 0;
    if (!platform::app::ErrorSink::Instance().Errors().empty()) state.SkipWithError("a page reported an error");
    frame.Close(*window);
}
BENCHMARK(BM_MeasureCycle)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

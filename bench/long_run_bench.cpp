// A plant's window left open for a day: two DTM instances in one process,
// each with the measured values window (function 7) reading its simulated
// device every 4 s, the second also with the archive and trend page (function
// 72) and the transaction monitor (function 97, every kind of response
// ticked) open. They read in turns, a virtual hour each (the other's cycle
// switched off), 24 hours each, so that both meet the same load of the
// machine; the counters give:
//
//   heap_growth_MB         the heap from the end of the first hour of both to
//                          the end, both windows (target at most 1 MB)
//   us_per_read_alone      the DTM's processor time per read of function 7
//                          alone (the frame's and the device's share out)
//   us_per_read_all        the same with the archive and the monitor open
//   all_to_alone           their ratio (target at most 2)
//   *_hour2, *_last        the same per read over the second and the last hour
//                          of each, so that a cost that rises shows
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "bench/HeapInUse.h"
#include "frame/DeviceChannel.h"
#include "frame/FrameTime.h"
#include "frame/PageFrame.h"
#include "frame/ScratchFolder.h"
#include "platform/app/ErrorSink.h"
#include "platform/app/EventLoop.h"
#include "platform/ui/CaptionControls.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Input.h"

namespace {

using dtm::bench::HeapInUse;
using dtm::frame::PageFrame;
using dtm::frame::PageSession;

constexpr int kHours = 24;
constexpr int64_t kTickMs = 4000;
constexpr int kTicksPerHour = 3600 * 1000 / kTickMs;
constexpr double kGrowthTargetMb = 1;
constexpr double kRatioTarget = 2;

void Tick(PageSession& page, const std::string& path, bool on) {
    const auto box = std::dynamic_pointer_cast<platform::ui::CheckBox>(page.Ctl(path));
    if (!box || !platform::ui::Input::Check(*box, on)) std::abort();
}

// An instance connected to its device, uploaded, with function 7 open and,
// with `all`, functions 72 and 97.
struct Window {
    explicit Window(bool all) {
        if (!frame.Started() || !frame.Connect() || !frame.Session().Upload().ok) std::abort();
        if (all) {
            archive = frame.Open(72);
            monitor = frame.Open(97);
            if (!archive || !monitor) std::abort();
            Tick(*monitor, "chkDisplayAll", true);
        }
        measure = frame.Open(7);
        if (!measure) std::abort();
        Cycle(false);
    }
    void Cycle(bool on) { Tick(*measure, "ctlStatus.ctlCycle.chkCycle", on); }

    // Reads an hour; answers the DTM's processor time and counts the reads.
    int64_t Hour() {
        Cycle(true);
        auto& loop = platform::app::EventLoop::Instance();
        auto& channel = *frame.Channel();
        channel.ResetTotals();
        const dtm::frame::DtmStopwatch watch;
        for (int i = 0; i < kTicksPerHour; ++i) loop.Advance(kTickMs);
        const int64_t ns = watch.ElapsedNs();
        reads = channel.Transactions();
        Cycle(false);
        loop.Advance(kTickMs);  // the last reads end
        return ns;
    }

    PageFrame frame;
    std::shared_ptr<PageSession> archive, monitor, measure;
    int64_t reads = 0;
};

// The DTM's time per read, over hours.
struct PerRead {
    int64_t ns = 0, reads = 0;
    void Add(int64_t hourNs, int64_t hourReads) {
        ns += hourNs;
        reads += hourReads;
    }
    double Us() const { return reads > 0 ? static_cast<double>(ns) / 1e3 / static_cast<double>(reads) : 0; }
};

void BM_LongRun(benchmark::State& state) {
    const dtm::frame::ScratchFolder folder;
    if (!folder.EnableDeveloperFeatures()) std::abort();
    platform::ui::Environment::Instance().Reset();
    platform::app::EventLoop::Instance().Reset();
    platform::app::ErrorSink::Instance().Clear();
    double growthMb = 0, hour2Mb = 0;
    PerRead alone, all, aloneHour2, allHour2, aloneLast, allLast;
    for (auto _ : state) {
        Window justMeasure(false), withOthers(true);
        double hour2Start = 0;
        for (int hour = 1; hour <= kHours; ++hour) {
            const int64_t aloneNs = justMeasure.Hour();
            const int64_t allNs = withOthers.Hour();
            alone.Add(aloneNs, justMeasure.reads);
            all.Add(allNs, withOthers.reads);
            if (hour == 1) hour2Start = HeapInUse();
            if (hour == 2) {
                aloneHour2.Add(aloneNs, justMeasure.reads);
                allHour2.Add(allNs, withOthers.reads);
            }
            if (hour == kHours) {
                aloneLast.Add(aloneNs, justMeasure.reads);
                allLast.Add(allNs, withOthers.reads);
            }
        }
        growthMb = (HeapInUse() - hour2Start) / (1024 * 1024);
        hour2Mb = hour2Start / (1024 * 1024);
        platform::app::ErrorSink::Instance().Clear();
    }
    const double ratio = alone.Us() > 0 ? all.Us() / alone.Us() : 0;
    state.counters["heap_MB_hour2"] = hour2Mb;
    state.counters["heap_growth_MB"] = growthMb;
    state.counters["target_growth_MB"] = kGrowthTargetMb;
    state.counters["us_per_read_alone"] = alone.Us();
    state.counters["us_per_read_all"] = all.Us();
    state.counters["all_to_alone"] = ratio;
    state.counters["target_ratio"] = kRatioTarget;
    state.counters["alone_hour2"] = aloneHour2.Us();
    state.counters["alone_last"] = aloneLast.Us();
    state.counters["all_hour2"] = allHour2.Us();
    state.counters["all_last"] = allLast.Us();
    state.counters["met"] = growthMb <= kGrowthTargetMb && ratio <= kRatioTarget ? 1 : 0;
    state.counters["allocator_cache_off"] = dtm::bench::kAllocatorCacheOff ? 1 : 0;
}
BENCHMARK(BM_LongRun)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

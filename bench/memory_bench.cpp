// The memory the component keeps: per instance (200 new RXD 218 instances in
// one process, on the frame's channel without a device, so that the simulated
// device's own memory is not counted) and per transfer (100 full uploads of
// one instance against the simulated device). The heap in use is read from
// the allocator before and after; the counters give the figures beside their
// targets.
//
//   InstanceMemory   kB_per_instance (target at most 1024)
//   UploadGrowth     kB growth from the first to the last of 100 uploads,
//                    per upload (target 0 within noise: under 1 kB per upload)
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "bench/HeapInUse.h"
#include "core/module/ComponentClasses.h"
#include "frame/DeviceChannel.h"
#include "frame/FrameSession.h"
#include "frame/SimulatedDevice.h"
#include "platform/app/ErrorSink.h"
#include "platform/app/EventLoop.h"
#include "platform/com/ClassRegistry.h"

namespace {

using dtm::bench::HeapInUse;
using dtm::bench::kAllocatorCacheOff;

constexpr double kInstanceTargetKb = 1024;
constexpr double kGrowthTargetKbPerUpload = 1;

// A new RXD 218 instance as the frame holds it: created, given a new data set
// and the communication channel.
struct Instance {
    explicit Instance(platform::com::ClassRegistry& registry) {
        if (!session.StartNew(registry) || !session.SetCommunication()) std::abort();
    }
    dtm::frame::FrameSession session;
};

// An instance with a simulated device on its channel.
struct ConnectedInstance : Instance {
    using Instance::Instance;
    dtm::frame::SimulatedDevice device{dtm::frame::SimulatedDevice::Model::RXD218};
    dtm::frame::DeviceChannel channel{*session.Communication(), device};
};

// The component's classes, with the event loop and the error sink cleared.
struct Component {
    Component() {
        dtm::RegisterComponentClasses(registry);
        platform::app::EventLoop::Instance().Reset();
        platform::app::ErrorSink::Instance().Clear();
    }
    platform::com::ClassRegistry registry;
};

void BM_InstanceMemory(benchmark::State& state) {
    constexpr int kInstances = 200;
    Component component;
    auto& registry = component.registry;
    double perInstance = 0;
    for (auto _ : state) {
        // The first instance loads what every instance shares; it is not counted.
        const auto first = std::make_unique<Instance>(registry);
        const double before = HeapInUse();
        std::vector<std::unique_ptr<Instance>> instances;
        for (int i = 0; i < kInstances; ++i) instances.push_back(std::make_unique<Instance>(registry));
        perInstance = (HeapInUse() - before) / kInstances;
        platform::app::ErrorSink::Instance().Clear();
    }
    state.counters["kB_per_instance"] = perInstance / 1024;
    state.counters["target_kB"] = kInstanceTargetKb;
    state.counters["met"] = perInstance / 1024 <= kInstanceTargetKb ? 1 : 0;
    state.counters["allocator_cache_off"] = kAllocatorCacheOff ? 1 : 0;
}

void BM_UploadGrowth(benchmark::State& state) {
    constexpr int kUploads = 100;
    Component component;
    double growth = 0;
    for (auto _ : state) {
        ConnectedInstance instance(component.registry);
        // The frame's logs keep fewer entries than one upload brings, so that
        // their filling up does not show as growth.
        constexpr size_t kLogEntries = 100;
        instance.session.Container()->KeepLast(kLogEntries);
        instance.session.Communication()->KeepLast(kLogEntries);
        instance.device.KeepLast(kLogEntries);
        if (!instance.session.Upload().ok) state.SkipWithError("the upload failed");
        const double afterFirst = HeapInUse();
        for (int i = 1; i < kUploads; ++i)
            if (!instance.session.Upload().ok) state.SkipWithError("the upload failed");
        growth = HeapInUse() - afterFirst;
    }
    state.counters["kB_growth"] = growth / 1024;
    state.counters["kB_per_upload"] = growth / 1024 / (kUploads - 1);
    state.counters["target_kB_per_upload"] = kGrowthTargetKbPerUpload;
    state.counters["met"] = growth / 1024 / (kUploads - 1) < kGrowthTargetKbPerUpload ? 1 : 0;
    state.counters["allocator_cache_off"] = kAllocatorCacheOff ? 1 : 0;
}

BENCHMARK(BM_InstanceMemory)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_UploadGrowth)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

// A plant's frame process holding many devices: 1,000 RXD 218 instances in
// one process, each after a full upload from its own simulated device, the
// frame's logs of each instance (its events, its requests and the device's
// wire log) kept as the frame keeps them. The heap in use is read from the
// allocator; the counters give:
//
//   total_MB          the heap of the whole process at the end (target at most 1024)
//   kB_per_instance   what each instance after the first added
//   upload_ms         the mean processor time of an instance's creation and upload
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "bench/HeapInUse.h"
#include "core/module/ComponentClasses.h"
#include "frame/DeviceChannel.h"
#include "frame/FrameSession.h"
#include "frame/SimulatedDevice.h"
#include "platform/app/ErrorSink.h"
#include "platform/app/EventLoop.h"
#include "platform/app/ProcessorTime.h"
#include "platform/com/ClassRegistry.h"

namespace {

using dtm::bench::HeapInUse;

constexpr int kInstances = 1000;
constexpr double kTargetMb = 1024;

// An instance as the frame holds it after a full upload; `ok` tells that it
// started and uploaded.
struct UploadedInstance {
    explicit UploadedInstance(platform::com::ClassRegistry& registry) {
        if (!session.StartNew(registry) || !session.SetCommunication()) return;
        channel = std::make_unique<dtm::frame::DeviceChannel>(*session.Communication(), device);
        ok = session.Upload().ok;
    }
    dtm::frame::FrameSession session;
    dtm::frame::SimulatedDevice device{dtm::frame::SimulatedDevice::Model::RXD218};
    std::unique_ptr<dtm::frame::DeviceChannel> channel;
    bool ok = false;
};

void BM_ThousandInstances(benchmark::State& state) {
    platform::com::ClassRegistry registry;
    dtm::RegisterComponentClasses(registry);
    platform::app::EventLoop::Instance().Reset();
    platform::app::ErrorSink::Instance().Clear();
    double totalMb = 0, perInstanceKb = 0, uploadMs = 0;
    for (auto _ : state) {
        std::vector<std::unique_ptr<UploadedInstance>> instances;
        const platform::app::ProcessorStopwatch watch;
        instances.push_back(std::make_unique<UploadedInstance>(registry));
        const double afterFirst = HeapInUse();
        while (instances.size() < kInstances) {
            instances.push_back(std::make_unique<UploadedInstance>(registry));
            if (!instances.back()->ok) {
                state.SkipWithError("an instance did not start or upload");
                return;
            }
        }
        uploadMs = static_cast<double>(watch.ElapsedNs()) / 1e6 / kInstances;
        const double total = HeapInUse();
        totalMb = total / (1024 * 1024);
        perInstanceKb = (total - afterFirst) / 1024 / (kInstances - 1);
        platform::app::ErrorSink::Instance().Clear();
    }
    state.counters["instances"] = kInstances;
    state.counters["total_MB"] = totalMb;
    state.counters["kB_per_instance"] = perInstanceKb;
    state.counters["upload_ms"] = uploadMs;
    state.counters["target_MB"] = kTargetMb;
    state.counters["met"] = totalMb <= kTargetMb ? 1 : 0;
    state.counters["allocator_cache_off"] = dtm::bench::kAllocatorCacheOff ? 1 : 0;
}
BENCHMARK(BM_ThousandInstances)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

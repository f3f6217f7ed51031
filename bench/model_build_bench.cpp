// The model of one instance: one complete build with the dictionary already
// loaded, a new instance with its initial values and language, and the memory
// that one built instance holds when a project holds many of them.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <vector>

#include "frame/ModelInstance.h"
#include "platform/rt/Parameters.h"

namespace {

void BM_CreateModel(benchmark::State& state) {
    auto instance = dtm::frame::NewModelInstance("RXD 218", false);
    for (auto _ : state) {
        instance.model->CreateModel(instance.ctx);
        benchmark::DoNotOptimize(instance.Parameters().Count());
    }
    state.counters["elements"] = instance.Parameters().Count();
}
BENCHMARK(BM_CreateModel)->Unit(benchmark::kMillisecond);

void BM_NewInstance(benchmark::State& state) {
    for (auto _ : state) {
        auto instance = dtm::frame::NewModelInstance();
        benchmark::DoNotOptimize(instance.Parameters().Count());
    }
}
BENCHMARK(BM_NewInstance)->Unit(benchmark::kMillisecond);

// Bytes the allocator hands out at the moment, small and mapped blocks.
size_t BytesInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// 200 new instances kept alive together, as in a large project: the bytes
// per instance, all of it, and the share of its element collection (the
// instance's memory less that of an instance whose collection was emptied).
void BM_InstanceMemory(benchmark::State& state) {
    constexpr int kInstances = 200;
    double perInstance = 0;
    double modelPerInstance = 0;
    for (auto _ : state) {
        std::vector<dtm::frame::ModelInstance> instances;
        instances.reserve(kInstances);
        const size_t before = BytesInUse();
        for (int i = 0; i < kInstances; ++i) instances.push_back(dtm::frame::NewModelInstance());
        const size_t built = BytesInUse();
        for (auto& instance : instances) instance.Parameters().Reset();
        const size_t emptied = BytesInUse();
        perInstance = static_cast<double>(built - before) / kInstances;
        modelPerInstance = static_cast<double>(built - emptied) / kInstances;
    }
    state.counters["bytes_per_instance"] = perInstance;
    state.counters["model_bytes_per_instance"] = modelPerInstance;
}
BENCHMARK(BM_InstanceMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

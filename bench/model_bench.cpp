// The element factory and path look-ups in a collection of model size and in
// the model of a new instance.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "frame/ModelInstance.h"
#include "model/elements/DataModelHelpers.h"
#include "platform/rt/Parameters.h"

namespace {

using platform::Variant;

constexpr int kElements = 1000;
constexpr int kLookups = 10000;

std::vector<std::string> ElementPaths() {
    std::vector<std::string> paths;
    paths.reserve(kElements);
    for (int i = 0; i < kElements; ++i)
        paths.push_back("FUNC/" + std::to_string(i % 8 + 1) + "/AI/MANU/PARAMETER_" + std::to_string(i));
    return paths;
}

void FillCollection(platform::rt::Parameters& params, const std::vector<std::string>& paths) {
    for (const auto& path : paths) dtm::AddParam(params, path, Variant::Sng(0.f), 8, -1);
}

void BM_AddParam1000(benchmark::State& state) {
    const auto paths = ElementPaths();
    for (auto _ : state) {
        platform::rt::Parameters params;
        FillCollection(params, paths);
        benchmark::DoNotOptimize(params.Count());
    }
    state.SetItemsProcessed(state.iterations() * kElements);
}
BENCHMARK(BM_AddParam1000);

void BM_Lookup10000(benchmark::State& state) {
    const auto paths = ElementPaths();
    platform::rt::Parameters params;
    FillCollection(params, paths);
    // Every third look-up is spelt in another case, as page tags sometimes are.
    std::vector<std::string> queries;
    queries.reserve(kLookups);
    for (int i = 0; i < kLookups; ++i) {
        std::string q = paths[static_cast<size_t>((i * 7919) % kElements)];
        if (i % 3 == 0)
            for (auto& c : q) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
        queries.push_back(std::move(q));
    }
    for (auto _ : state) {
        for (const auto& q : queries) benchmark::DoNotOptimize(params.Item(q));
    }
    state.SetItemsProcessed(state.iterations() * kLookups);
}
BENCHMARK(BM_Lookup10000);

// Every path of a built model looked up once, in collection order.
void BM_LookupEveryBuiltPath(benchmark::State& state) {
    const auto instance = dtm::frame::NewModelInstance();
    const auto& params = instance.Parameters();
    std::vector<std::string> paths;
    for (const auto& el : params) paths.push_back(el->Name());
    for (auto _ : state) {
        for (const auto& path : paths) benchmark::DoNotOptimize(params.Item(path));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(paths.size()));
}
BENCHMARK(BM_LookupEveryBuiltPath);

}  // namespace

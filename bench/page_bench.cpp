// The identification page opened by program id through the test frame (created,
// hosted, initialised with the DTM and shown) and closed again (released,
// unregistered, window hidden), each on its own; the offline window opened as
// function 1 and closed.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

#include "frame/PageFrame.h"
#include "platform/app/ErrorSink.h"
#include "platform/app/EventLoop.h"
#include "platform/ui/Environment.h"

namespace {

using dtm::frame::PageFrame;
using dtm::frame::PageSession;

constexpr const char* kIdent = "RG38N226_4_07.ctlIdent";

std::unique_ptr<PageFrame> NewFrame() {
    platform::ui::Environment::Instance().Reset();
    platform::app::EventLoop::Instance().Reset();
    platform::app::ErrorSink::Instance().Clear();
    auto frame = std::make_unique<PageFrame>();
    if (!frame->Started()) std::abort();
    return frame;
}

// Fails the benchmark when a page reported an error while it ran.
void CheckErrorSink(benchmark::State& state) {
    if (!platform::app::ErrorSink::Instance().Errors().empty()) state.SkipWithError("a page reported an error");
}

void BM_OpenIdent(benchmark::State& state) {
    const auto frame = NewFrame();
    for (auto _ : state) {
        auto page = frame->OpenProgId(kIdent);
        state.PauseTiming();
        if (!page || !frame->Close(*page)) state.SkipWithError("ctlIdent did not open and close");
        state.ResumeTiming();
    }
    CheckErrorSink(state);
}
BENCHMARK(BM_OpenIdent)->Unit(benchmark::kMicrosecond);

void BM_CloseIdent(benchmark::State& state) {
    const auto frame = NewFrame();
    for (auto _ : state) {
        state.PauseTiming();
        std::shared_ptr<PageSession> page = frame->OpenProgId(kIdent);
        if (!page) state.SkipWithError("ctlIdent did not open");
        state.ResumeTiming();
        if (page && !frame->Close(*page)) state.SkipWithError("ctlIdent did not close");
    }
    CheckErrorSink(state);
}
BENCHMARK(BM_CloseIdent)->Unit(benchmark::kMicrosecond);

// Function 1, the offline parameterisation window with its whole page tree
// (89 rows), opened by function id and closed again.
void BM_OpenAndCloseOffline(benchmark::State& state) {
    const auto frame = NewFrame();
    for (auto _ : state) {
        auto page = frame->Open(1);
        if (!page || !frame->Close(*page)) state.SkipWithError("ctlOffline did not open and close");
    }
    CheckErrorSink(state);
}
BENCHMARK(BM_OpenAndCloseOffline)->Unit(benchmark::kMicrosecond);

}  // namespace

// The identification page opened by program id through the test frame (created,
// hosted, initialised with the DTM and shown) and closed again (released,
// unregistered, window hidden), each on its own. The profile block view
// (function 8) opened with its Transducer Block view (83 rows) and closed, and
// every row of that open view updated after a full upload, one change notice
// per element as the runtime sends them. The offline parameterisation window
// (function 1) with its whole page tree opened and closed.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

#include "frame/PageFrame.h"
#include "pages/parameterisation/ctlProfilBlockView.h"
#include "pages/parameterisation/ctlProfilViewDyn.h"
#include "platform/app/ErrorSink.h"
#include "platform/app/EventLoop.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmGuiRegistry.h"
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

// ---- The profile block view with its Transducer Block view ----

constexpr int32_t kProfileView = 8;
constexpr int32_t kTransducerTab = 2;

// Function 8 opened and its Transducer tab clicked; null unless the view shows.
std::shared_ptr<PageSession> OpenTransducerView(PageFrame& frame) {
    auto page = frame.Open(kProfileView);
    if (!page) return nullptr;
    auto& view = dynamic_cast<dtm::ctlProfilViewDyn&>(*page->Page());
    view.TabStrip->UserClickTab(kTransducerTab);
    return view.BlockView() && view.BlockView()->Name == "TB" ? page : nullptr;
}

void BM_OpenProfileTransducer(benchmark::State& state) {
    const auto frame = NewFrame();
    for (auto _ : state) {
        auto page = OpenTransducerView(*frame);
        state.PauseTiming();
        if (!page || !frame->Close(*page)) state.SkipWithError("function 8 did not open and close");
        state.ResumeTiming();
    }
    CheckErrorSink(state);
}
BENCHMARK(BM_OpenProfileTransducer)->Unit(benchmark::kMicrosecond);

void BM_CloseProfileTransducer(benchmark::State& state) {
    const auto frame = NewFrame();
    for (auto _ : state) {
        state.PauseTiming();
        auto page = OpenTransducerView(*frame);
        if (!page) state.SkipWithError("function 8 did not open");
        state.ResumeTiming();
        if (page && !frame->Close(*page)) state.SkipWithError("function 8 did not close");
    }
    CheckErrorSink(state);
}
BENCHMARK(BM_CloseProfileTransducer)->Unit(benchmark::kMicrosecond);

// Every element of the open view's rows told to the registered pages once, as
// after a full upload that changed them all.
void BM_UpdateTransducerRows(benchmark::State& state) {
    const auto frame = NewFrame();
    const auto page = OpenTransducerView(*frame);
    if (!page || !frame->Connect() || !frame->Session().Upload().ok) {
        state.SkipWithError("function 8 did not open or the upload failed");
        return;
    }
    const auto& view = dynamic_cast<dtm::ctlProfilBlockView&>(
        *dynamic_cast<dtm::ctlProfilViewDyn&>(*page->Page()).BlockView());
    std::vector<platform::rt::El> elements;
    for (const auto& link : view.ctlParamSite1->Links()) elements.push_back(link.row->Bound());
    auto& registry = *frame->Ctx().GuiRegistry();
    for (auto _ : state)
        for (const auto& element : elements) registry.NotifyParameterChanged(element, "");
    state.counters["rows"] = static_cast<double>(elements.size());
    CheckErrorSink(state);
}
BENCHMARK(BM_UpdateTransducerRows)->Unit(benchmark::kMicrosecond);

}  // namespace

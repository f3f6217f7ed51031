// The identification page opened by program id through the test frame (created,
// hosted, initialised with the DTM and shown) and closed again (released,
// unregistered, window hidden), each on its own. The profile block view
// (function 8) opened with its Transducer Block view (83 rows) and closed, and
// every row of that open view updated after a full upload, one change notice
// per element as the runtime sends them. The offline parameterisation window
// (function 1) with its whole page tree opened and closed. Every control of
// that page tree looked up by name (in another case) in its user control, with
// the allocations per control compared (target 0).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "frame/PageFrame.h"
#include "pages/parameterisation/ctlProfilBlockView.h"
#include "pages/parameterisation/ctlProfilViewDyn.h"
#include "platform/app/ErrorSink.h"
#include "platform/app/EventLoop.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/ui/Environment.h"
#include "platform/ui/UserControl.h"

// The allocations of the program, counted (one thread).
namespace {
int64_t allocations = 0;
}  // namespace

// Neither is inlined, so that the compiler does not see malloc and free
// paired with new and delete.
[[gnu::noinline]] void* operator new(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
[[gnu::noinline]] void operator delete(void* p) noexcept { std::free(p); }
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept { std::free(p); }

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

// Each control of function 1's page tree looked up by its name in upper case
// in the user control that holds it, as pages find their controls by name.
void BM_FindControlsByName(benchmark::State& state) {
    const auto frame = NewFrame();
    const auto page = frame->Open(1);
    if (!page) {
        state.SkipWithError("ctlOffline did not open");
        return;
    }
    struct Lookup {
        platform::ui::UserControl* owner;
        std::string name;
        int32_t compared;  // the controls compared until it is found
    };
    std::vector<Lookup> lookups;
    for (auto* owner : platform::ui::UserControlsUnder(*page->Page())) {
        int32_t position = 0;
        for (const auto& control : owner->Controls()) {
            std::string upper = control->Name;
            for (char& c : upper) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
            lookups.push_back({owner, std::move(upper), ++position});
        }
    }
    int64_t compared = 0, allocated = 0;
    for (auto _ : state) {
        const int64_t before = allocations;
        for (const auto& lookup : lookups)
            benchmark::DoNotOptimize(lookup.owner->Controls().Find(lookup.name).get());
        allocated += allocations - before;
        for (const auto& lookup : lookups) compared += lookup.compared;
    }
    state.counters["lookups"] = static_cast<double>(lookups.size());
    state.counters["allocations_per_compare"] = compared > 0 ? static_cast<double>(allocated) / static_cast<double>(compared) : 0;
    state.counters["target"] = 0;
    state.counters["met"] = allocated == 0 ? 1 : 0;
    frame->Close(*page);
    CheckErrorSink(state);
}
BENCHMARK(BM_FindControlsByName)->Unit(benchmark::kMicrosecond);

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

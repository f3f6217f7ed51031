#include "platform/fdt/Boundary.h"

#include "platform/app/ErrorSink.h"

namespace platform::fdt {

namespace {

BoundaryTraceHook& Hook() {
    static BoundaryTraceHook hook;
    return hook;
}

}  // namespace

BoundaryTraceHook SetBoundaryTraceHook(BoundaryTraceHook hook) { return std::exchange(Hook(), std::move(hook)); }

void ReportBoundaryError(std::string_view where) noexcept {
    // The name is made only here, when an error has happened.
    const app::TrappedError error = app::ErrorSink::Instance().RecordCurrentException(std::string(where));
    try {
        const BoundaryTraceHook hook = Hook();  // the hook may replace itself
        if (hook) hook("error " + std::to_string(error.number) + ": " + error.description);
    } catch (...) {
        // A failing trace must not take the frame down with it.
    }
}

}  // namespace platform::fdt

#pragma once
// The frame boundary: no exception ever reaches the frame. Every call the frame
// makes on the DTM or on a page goes through InvokeFromFrame, which answers a
// fallback (False, "", nullptr, ...) when the call throws, records the error in
// app::ErrorSink and writes the trace line "error <n>: <text>".
#include <functional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

namespace platform::fdt {

// Receives the boundary's trace lines; the component installs one while it
// traces. An empty hook (the default) means the error is only recorded.
using BoundaryTraceHook = std::function<void(const std::string& line)>;
// Answers the hook it replaced.
BoundaryTraceHook SetBoundaryTraceHook(BoundaryTraceHook hook);

// Records the exception being handled (call it inside a catch block) and
// traces it. `where` names the operation. Never throws, also when the hook does.
void ReportBoundaryError(std::string_view where) noexcept;

// Runs `call`; when it throws, reports the error and answers `fallback`.
template <class F, class R = std::invoke_result_t<F&>>
    requires(!std::is_void_v<R>)
R InvokeFromFrame(std::string_view where, F&& call, std::type_identity_t<R> fallback = R{}) noexcept {
    try {
        return call();
    } catch (...) {
        ReportBoundaryError(where);
    }
    return fallback;
}

template <class F>
    requires std::is_void_v<std::invoke_result_t<F&>>
void InvokeFromFrame(std::string_view where, F&& call) noexcept {
    try {
        call();
    } catch (...) {
        ReportBoundaryError(where);
    }
}

}  // namespace platform::fdt

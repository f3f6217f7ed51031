#include "platform/app/ErrorSink.h"

#include <exception>
#include <utility>

#include "platform/com/Error.h"

namespace platform::app {

TrappedError DescribeCurrentException(const std::string& where) {
    const std::exception_ptr current = std::current_exception();
    if (!current) return {kInternalErrorNumber, "", "No exception", where};
    try {
        std::rethrow_exception(current);
    } catch (const com::ComError& e) {
        return {e.number, e.source, e.description, where};
    } catch (const std::exception& e) {
        return {kInternalErrorNumber, "", e.what(), where};
    } catch (...) {
        return {kInternalErrorNumber, "", "Unknown exception", where};
    }
}

ErrorSink& ErrorSink::Instance() {
    static ErrorSink sink;
    return sink;
}

void ErrorSink::Record(TrappedError error) { errors_.push_back(std::move(error)); }

TrappedError ErrorSink::RecordCurrentException(const std::string& where) noexcept {
    try {
        TrappedError error = DescribeCurrentException(where);
        errors_.push_back(error);
        return error;
    } catch (...) {
        return {kInternalErrorNumber, "", "Out of memory", where};
    }
}

}  // namespace platform::app

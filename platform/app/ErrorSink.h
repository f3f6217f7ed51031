#pragma once
// The record of errors the platform trapped (at the frame boundary, in event
// dispatch, in runtime calls into the component). Tests assert it stays empty.
#include <cstdint>
#include <string>
#include <vector>

namespace platform::app {

// Number recorded for a C++ exception that is not a raised VB error.
inline constexpr int32_t kInternalErrorNumber = 51;

struct TrappedError {
    int32_t number = 0;
    std::string source;
    std::string description;
    std::string where;  // the trap that caught it
};

// Describes the exception being handled; call it inside a catch block. A
// ComError keeps its number, source and description; any other exception
// gets kInternalErrorNumber and its what() text.
TrappedError DescribeCurrentException(const std::string& where);

class ErrorSink {
public:
    static ErrorSink& Instance();  // the process's sink

    void Record(TrappedError error);
    // Records the exception being handled (inside a catch block) and answers
    // what was recorded. Never throws.
    TrappedError RecordCurrentException(const std::string& where) noexcept;

    const std::vector<TrappedError>& Errors() const { return errors_; }
    bool Empty() const { return errors_.empty(); }
    void Clear() { errors_.clear(); }

private:
    std::vector<TrappedError> errors_;
};

}  // namespace platform::app

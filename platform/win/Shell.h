#pragma once
// Opening documents and showing windows. Nothing is ever launched or shown:
// every call is recorded, so tests and the frame can inspect what was asked.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform::win {

inline constexpr int32_t kShellExecuteOk = 42;           // any value above 32 means success
inline constexpr int32_t kShellErrorFileNotFound = 2;

struct ShellExecuteCall {
    std::string operation, file, parameters, directory;
    int32_t showCmd = 0;
    int32_t result = 0;
};

// Answers what the opener answers for the call (> 32 = opened). The default
// opener answers kShellExecuteOk when `file` (a host path, relative ones taken
// from `directory` when given) exists, else kShellErrorFileNotFound. Recorded,
// with the answer.
int32_t ShellExecute(const std::string& operation, const std::string& file, const std::string& parameters,
                     const std::string& directory, int32_t showCmd);
const std::vector<ShellExecuteCall>& ShellExecuteCalls();

// Replaces the opener (a frame that really opens documents, or a test). It
// gets the call without its result. An empty function restores the default.
// Answers the opener it replaced.
using ShellOpener = std::function<int32_t(const ShellExecuteCall&)>;
ShellOpener SetShellOpener(ShellOpener opener);

struct ShowWindowCall {
    int64_t handle = 0;
    int32_t cmd = 0;
};

// Recorded, then passed to the observer. Answers 0: the window was not visible before.
int32_t ShowWindow(int64_t handle, int32_t cmd);
const std::vector<ShowWindowCall>& ShowWindowCalls();

// The widget layer's hook: told of every ShowWindow call after it is recorded.
// An empty function removes it. Answers the observer it replaced.
using ShowWindowObserver = std::function<void(int64_t handle, int32_t cmd)>;
ShowWindowObserver SetShowWindowObserver(ShowWindowObserver observer);

// Forgets both records.
void ClearShellRecords();

}  // namespace platform::win

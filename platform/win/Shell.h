#pragma once
// Opening documents and showing windows. Nothing is ever launched or shown:
// every call is recorded, so tests and the frame can inspect what was asked.
#include <cstdint>
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

// Answers kShellExecuteOk when `file` (a host path, relative ones taken from
// `directory` when given) exists, else kShellErrorFileNotFound. Recorded.
int32_t ShellExecute(const std::string& operation, const std::string& file, const std::string& parameters,
                     const std::string& directory, int32_t showCmd);
const std::vector<ShellExecuteCall>& ShellExecuteCalls();

struct ShowWindowCall {
    int64_t handle = 0;
    int32_t cmd = 0;
};

// Recorded. Answers 0: the window was not visible before.
int32_t ShowWindow(int64_t handle, int32_t cmd);
const std::vector<ShowWindowCall>& ShowWindowCalls();

// Forgets both records.
void ClearShellRecords();

}  // namespace platform::win

#include "platform/win/Shell.h"

#include <filesystem>
#include <system_error>

namespace platform::win {

namespace {

std::vector<ShellExecuteCall>& ExecuteRecord() {
    static std::vector<ShellExecuteCall> calls;
    return calls;
}

std::vector<ShowWindowCall>& ShowRecord() {
    static std::vector<ShowWindowCall> calls;
    return calls;
}

bool Exists(const std::string& file, const std::string& directory) {
    if (file.empty()) return false;
    std::filesystem::path p(file);
    if (p.is_relative() && !directory.empty()) p = std::filesystem::path(directory) / p;
    std::error_code ec;
    return std::filesystem::exists(p, ec);
}

}  // namespace

int32_t ShellExecute(const std::string& operation, const std::string& file, const std::string& parameters,
                     const std::string& directory, int32_t showCmd) {
    const int32_t result = Exists(file, directory) ? kShellExecuteOk : kShellErrorFileNotFound;
    ExecuteRecord().push_back({operation, file, parameters, directory, showCmd, result});
    return result;
}

const std::vector<ShellExecuteCall>& ShellExecuteCalls() { return ExecuteRecord(); }

int32_t ShowWindow(int64_t handle, int32_t cmd) {
    ShowRecord().push_back({handle, cmd});
    return 0;
}

const std::vector<ShowWindowCall>& ShowWindowCalls() { return ShowRecord(); }

void ClearShellRecords() {
    ExecuteRecord().clear();
    ShowRecord().clear();
}

}  // namespace platform::win

#include "platform/win/Shell.h"

#include <filesystem>
#include <system_error>
#include <utility>

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

ShellOpener& Opener() {
    static ShellOpener opener;
    return opener;
}

int32_t OpenIfExists(const ShellExecuteCall& call) {
    if (call.file.empty()) return kShellErrorFileNotFound;
    std::filesystem::path p(call.file);
    if (p.is_relative() && !call.directory.empty()) p = std::filesystem::path(call.directory) / p;
    std::error_code ec;
    return std::filesystem::exists(p, ec) ? kShellExecuteOk : kShellErrorFileNotFound;
}

}  // namespace

int32_t ShellExecute(const std::string& operation, const std::string& file, const std::string& parameters,
                     const std::string& directory, int32_t showCmd) {
    ShellExecuteCall call{operation, file, parameters, directory, showCmd, 0};
    const ShellOpener opener = Opener();  // the opener may replace itself
    call.result = opener ? opener(call) : OpenIfExists(call);
    ExecuteRecord().push_back(call);
    return call.result;
}

ShellOpener SetShellOpener(ShellOpener opener) { return std::exchange(Opener(), std::move(opener)); }

const std::vector<ShellExecuteCall>& ShellExecuteCalls() { return ExecuteRecord(); }

static ShowWindowObserver& Observer() {
    static ShowWindowObserver observer;
    return observer;
}

int32_t ShowWindow(int64_t handle, int32_t cmd) {
    ShowRecord().push_back({handle, cmd});
    if (const auto observer = Observer()) observer(handle, cmd);
    return 0;
}

ShowWindowObserver SetShowWindowObserver(ShowWindowObserver observer) {
    return std::exchange(Observer(), std::move(observer));
}

const std::vector<ShowWindowCall>& ShowWindowCalls() { return ShowRecord(); }

void ClearShellRecords() {
    ExecuteRecord().clear();
    ShowRecord().clear();
}

}  // namespace platform::win

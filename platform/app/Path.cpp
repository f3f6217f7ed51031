#include "platform/app/Path.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace platform::app {

namespace {

std::string& OverridePath() {
    static std::string path;
    return path;
}

std::string WithoutTrailingSeparator(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

std::string DefaultPath() {
#ifdef DTM_COMPONENT_DIR
    return DTM_COMPONENT_DIR;
#else
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : exe.parent_path().string();
#endif
}

}  // namespace

std::string Path() {
    return WithoutTrailingSeparator(OverridePath().empty() ? DefaultPath() : OverridePath());
}

void SetPath(const std::string& folder) { OverridePath() = folder; }

std::string File(const std::string& relative) {
    std::string rel = relative;
    std::replace(rel.begin(), rel.end(), '\\', '/');
    const size_t start = rel.find_first_not_of('/');
    rel = start == std::string::npos ? std::string() : rel.substr(start);
    const std::string base = Path();
    if (rel.empty()) return base;
    return base == "/" ? base + rel : base + "/" + rel;
}

}  // namespace platform::app

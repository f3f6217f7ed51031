#include "frame/ComponentFiles.h"

#include <filesystem>
#include <system_error>

namespace dtm::frame {

namespace fs = std::filesystem;

namespace {

// `path` with every link and ".." resolved, as far as it exists.
fs::path Resolved(const std::string& path) {
    std::error_code ec;
    const fs::path absolute = fs::absolute(path, ec);
    if (ec) return {};
    const fs::path resolved = fs::weakly_canonical(absolute, ec);
    return ec ? absolute.lexically_normal() : resolved;
}

bool Within(const fs::path& path, const fs::path& folder) {
    const fs::path inner = path.lexically_relative(folder);
    return !inner.empty() && inner != "." && *inner.begin() != "..";
}

}  // namespace

std::string ComponentFileRefusal(const std::string& path, const std::vector<std::string>& folders,
                                 const std::string& moduleFile) {
    const fs::path target = Resolved(path);
    if (target.empty()) return "";
    for (const std::string& folder : folders) {
        if (folder.empty()) continue;
        for (const char* data : {"XMLData", "Resources"})
            if (Within(target, Resolved(folder + "/" + data)))
                return path + " lies in the component's folder " + data + ", whose files the DTM reads";
    }
    if (!moduleFile.empty() && target == Resolved(moduleFile)) return path + " is the component's module";
    return "";
}

}  // namespace dtm::frame

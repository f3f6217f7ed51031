#include "frame/ScratchFolder.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <unistd.h>

#include "core/services/Trace.h"
#include "platform/app/Path.h"
#include "platform/com/VbText.h"

namespace dtm::frame {

namespace fs = std::filesystem;
namespace vb = platform::com::vb;

ScratchFolder::ScratchFolder() : previous_(platform::app::Path()) {
    static std::atomic<int> count{0};
    std::error_code ec;
    const fs::path folder = fs::temp_directory_path(ec) / ("dtm_pages_" + std::to_string(::getpid()) + "_" +
                                                           std::to_string(count++));
    fs::remove_all(folder, ec);
    for (const char* data : {"XMLData", "Resources"}) {
        fs::create_directories(folder / data, ec);
        if (!ec) fs::copy(fs::path(previous_) / data, folder / data, fs::copy_options::recursive, ec);
        if (ec) {
            fs::remove_all(folder, ec);
            return;
        }
    }
    path_ = folder.string();
    platform::app::SetPath(path_);
}

ScratchFolder::~ScratchFolder() {
    if (path_.empty()) return;
    platform::app::SetPath(previous_);
    // The trace switches were read from the copy: read again from the real folder.
    ResetTraceModes();
    std::error_code ec;
    fs::remove_all(path_, ec);
}

bool ScratchFolder::EnableDeveloperFeatures() const {
    return SetConfiguration("Advanced", "DTMFeatures", "DTMDeveloper");
}

bool ScratchFolder::SwitchTrace(bool on) const {
    const char* mode = on ? "ExternalFile" : "Off";
    if (!SetConfiguration("TimeCritical", "Trace", mode) || !SetConfiguration("ChannelAssignment", "Trace", mode))
        return false;
    // The DTM keeps the switch it read once; it reads the file again from its next trace.
    ResetTraceModes();
    return true;
}

bool ScratchFolder::SetConfiguration(const std::string& section, const std::string& key,
                                     const std::string& value) const {
    if (path_.empty()) return false;
    const std::string ini = path_ + "/Resources/DTM.ini";
    std::ifstream in(ini, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    const std::string content = text.str();
    std::string changed;
    std::string current;  // the section of the line
    bool found = false;
    for (size_t start = 0; start < content.size();) {
        size_t end = content.find('\n', start);
        end = end == std::string::npos ? content.size() : end + 1;
        std::string line = content.substr(start, end - start);
        start = end;
        const std::string trimmed = vb::Trim(line.substr(0, line.find_first_of("\r\n")));
        if (!trimmed.empty() && trimmed.front() == '[') {
            current = trimmed.substr(1, trimmed.find(']') - 1);
        } else if (!found && vb::LCase(current) == vb::LCase(section) && trimmed.find('=') != std::string::npos &&
                   trimmed.front() != ';' &&
                   vb::LCase(vb::Trim(trimmed.substr(0, trimmed.find('=')))) == vb::LCase(key)) {
            const size_t lineEnd = line.find_first_of("\r\n");
            line = key + "=" + value + (lineEnd == std::string::npos ? "" : line.substr(lineEnd));
            found = true;
        }
        changed += line;
    }
    if (!found) return false;
    std::ofstream out(ini, std::ios::binary | std::ios::trunc);
    out << changed;
    return static_cast<bool>(out);
}

std::string PathInFolder(const std::string& folder, const std::string& name) {
    std::string relative = name;
    std::replace(relative.begin(), relative.end(), '\\', '/');
    if (relative.empty() || relative.front() == '/') return "";
    std::error_code ec;
    const fs::path base = fs::canonical(folder, ec);
    if (ec) return "";
    const std::string path = folder + "/" + relative;
    const fs::path resolved = fs::weakly_canonical(path, ec);
    if (ec) {
        // A name the system takes for no file at all (one too long) leads
        // nowhere: it is handed on, and its use says the system's reason.
        std::error_code refused;
        static_cast<void>(fs::symlink_status(path, refused));
        return refused == std::errc::filename_too_long ? path : "";
    }
    const fs::path inner = resolved.lexically_relative(base);
    if (inner.empty() || inner == "." || *inner.begin() == "..") return "";
    // Every link that leads to something is resolved by now; one left leads
    // nowhere yet, and anywhere once its target is made.
    fs::path walk = base;
    for (const auto& part : inner) {
        walk /= part;
        if (fs::is_symlink(fs::symlink_status(walk, ec))) return "";
    }
    return path;
}

}  // namespace dtm::frame

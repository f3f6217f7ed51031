#include "frame/ScratchFolder.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <unistd.h>

#include "platform/app/Path.h"

namespace dtm::frame {

namespace fs = std::filesystem;

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
    std::error_code ec;
    fs::remove_all(path_, ec);
}

bool ScratchFolder::EnableDeveloperFeatures() const {
    if (path_.empty()) return false;
    const std::string ini = path_ + "/Resources/DTM.ini";
    std::ifstream in(ini, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::string content = text.str();
    const std::string key = "DTMFeatures=";
    const size_t at = content.find("\n" + key);
    if (at == std::string::npos) return false;
    const size_t end = content.find_first_of("\r\n", at + 1 + key.size());
    content.replace(at + 1, (end == std::string::npos ? content.size() : end) - at - 1, key + "DTMDeveloper");
    std::ofstream out(ini, std::ios::binary | std::ios::trunc);
    out << content;
    return static_cast<bool>(out);
}

}  // namespace dtm::frame

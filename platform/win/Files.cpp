#include "platform/win/Files.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "platform/com/TextCoding.h"

namespace platform::win {

bool AppendLine(const std::string& path, const std::string& line) {
    if (path.empty()) return false;
    std::ofstream out(path, std::ios::binary | std::ios::app);
    if (!out) return false;
    out << com::Cp1252FromUtf8(line) << "\r\n";
    out.flush();
    return static_cast<bool>(out);
}

bool WriteTextFile(const std::string& path, const std::string& text) {
    if (path.empty()) return false;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << com::Cp1252FromUtf8(text);
    out.flush();
    return static_cast<bool>(out);
}

int64_t FileLength(const std::string& path) {
    if (!FileExists(path)) return -1;
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    return ec ? -1 : static_cast<int64_t>(size);
}

bool DeleteFile(const std::string& path) {
    if (!FileExists(path)) return false;
    std::error_code ec;
    return std::filesystem::remove(path, ec) && !ec;
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

bool ReadFileBytes(const std::string& path, std::string& bytes) {
    bytes.clear();
    if (!FileExists(path)) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream content;
    content << in.rdbuf();  // marks `content` failed when the file is empty
    if (in.bad()) return false;
    bytes = content.str();
    return true;
}

}  // namespace platform::win

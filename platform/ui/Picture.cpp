#include "platform/ui/Picture.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/ui/Environment.h"

namespace platform::ui {

namespace {

constexpr size_t kBmpHeaderBytes = 26;  // up to the height field
constexpr size_t kIcoHeaderBytes = 22;  // directory header and one entry

int32_t ReadLe32(const std::vector<unsigned char>& b, size_t at) {
    return static_cast<int32_t>(static_cast<uint32_t>(b[at]) | static_cast<uint32_t>(b[at + 1]) << 8 |
                                static_cast<uint32_t>(b[at + 2]) << 16 | static_cast<uint32_t>(b[at + 3]) << 24);
}

int32_t IconSide(unsigned char byte) { return byte == 0 ? 256 : byte; }

P<Picture> NewPicture(std::string source, int32_t type, int32_t widthPx, int32_t heightPx) {
    auto picture = std::make_shared<Picture>();
    picture->Handle = Environment::Instance().AllocatePictureHandle();
    picture->Source = std::move(source);
    picture->Type = type;
    picture->Width = PixelsToHimetric(widthPx);
    picture->Height = PixelsToHimetric(heightPx);
    return picture;
}

}  // namespace

float PixelsToHimetric(int32_t pixels) { return static_cast<float>(pixels) * 2540.0f / 96.0f; }

P<Picture> Picture::Make(const std::string& key, int32_t widthPx, int32_t heightPx) {
    return NewPicture(key, kBitmap, widthPx, heightPx);
}

std::string Picture::DisplayName() const {
    const size_t slash = Source.find_last_of("/\\");
    return slash == std::string::npos ? Source : Source.substr(slash + 1);
}

P<Picture> LoadPicture(const std::string& hostPath) {
    std::error_code ec;
    if (hostPath.empty() || !std::filesystem::is_regular_file(hostPath, ec))
        com::Raise(com::errFileNotFound, "File not found: " + hostPath);
    std::ifstream in(hostPath, std::ios::binary);
    if (!in) com::Raise(com::errFileNotFound, "File not found: " + hostPath);
    std::vector<unsigned char> head(kBmpHeaderBytes);
    in.read(reinterpret_cast<char*>(head.data()), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<size_t>(in.gcount()));
    if (head.size() >= kBmpHeaderBytes && head[0] == 'B' && head[1] == 'M') {
        const int32_t w = ReadLe32(head, 18), h = ReadLe32(head, 22);
        if (w > 0 && h != 0 && h != INT32_MIN) return NewPicture(hostPath, Picture::kBitmap, w, h < 0 ? -h : h);
    }
    if (head.size() >= kIcoHeaderBytes && head[0] == 0 && head[1] == 0 && head[2] == 1 && head[3] == 0 &&
        (head[4] != 0 || head[5] != 0))
        return NewPicture(hostPath, Picture::kIcon, IconSide(head[6]), IconSide(head[7]));
    com::Raise(com::errBadPicture, "Invalid picture: " + hostPath);
}

}  // namespace platform::ui

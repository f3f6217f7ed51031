#pragma once
// Pictures: loaded from BMP or ICO files (only the header is read: kind and
// size) or made in code under a key. Sizes are HIMETRIC at 96 dpi.
#include <cstdint>
#include <string>

#include "platform/com/Variant.h"

namespace platform::ui {

class Picture : public com::Object {
public:
    static constexpr int32_t kBitmap = 1;
    static constexpr int32_t kIcon = 3;

    int64_t Handle = 0;
    std::string Source;  // the host path of a loaded picture, the key of a made one
    int32_t Type = kBitmap;
    float Width = 0, Height = 0;  // HIMETRIC

    // A bitmap made in code, `key` as its source.
    static P<Picture> Make(const std::string& key, int32_t widthPx, int32_t heightPx);
    // The file name of a loaded picture, the key of a made one.
    std::string DisplayName() const;
};

// HIMETRIC of `pixels` at 96 dpi.
float PixelsToHimetric(int32_t pixels);

// A file that does not exist raises 53; one that is not a BMP ("BM") or an
// ICO (reserved 0, type 1, at least one entry) raises 481.
P<Picture> LoadPicture(const std::string& hostPath);

}  // namespace platform::ui

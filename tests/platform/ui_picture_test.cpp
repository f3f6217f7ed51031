#include <gtest/gtest.h>

#include "ErrorOf.h"
#include "TempFolder.h"
#include "platform/ui/Picture.h"
#include "ui_fixture.h"

using namespace uitest;

namespace {

using PictureTest = UiTest;

std::string Le32(int32_t v) {
    std::string s;
    for (int i = 0; i < 4; ++i) s += static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF);
    return s;
}

// A bitmap file header and info header up to the height field.
std::string BmpHeader(int32_t w, int32_t h) {
    return "BM" + std::string(16, '\0') + Le32(w) + Le32(h) + std::string(28, '\0');
}

std::string IcoHeader(unsigned char w, unsigned char h) {
    std::string s{'\0', '\0', '\1', '\0', '\1', '\0'};
    s += static_cast<char>(w);
    s += static_cast<char>(h);
    return s + std::string(14, '\0');
}

}  // namespace

TEST_F(PictureTest, LoadPictureReadsKindAndSizeFromTheHeader) {
    TempFolder folder;
    struct Case {
        const char* file;
        std::string bytes;
        int32_t type;
        float width, height;  // HIMETRIC
    } cases[] = {
        {"logo.bmp", BmpHeader(96, 48), Picture::kBitmap, 2540, 1270},
        {"topdown.bmp", BmpHeader(32, -16), Picture::kBitmap, 846.6667f, 423.3333f},
        {"mw.ico", IcoHeader(32, 32), Picture::kIcon, 846.6667f, 846.6667f},
        {"big.ico", IcoHeader(0, 0), Picture::kIcon, 6773.3335f, 6773.3335f},  // 0 = 256
    };
    for (const auto& c : cases) {
        const auto picture = LoadPicture(folder.Write(c.file, c.bytes));
        ASSERT_TRUE(picture) << c.file;
        EXPECT_EQ(picture->Type, c.type) << c.file;
        EXPECT_FLOAT_EQ(picture->Width, c.width) << c.file;
        EXPECT_FLOAT_EQ(picture->Height, c.height) << c.file;
        EXPECT_EQ(picture->DisplayName(), c.file);
        EXPECT_NE(picture->Handle, 0);
    }
}

TEST_F(PictureTest, LoadPictureErrors) {
    TempFolder folder;
    struct Case {
        const char* what;
        std::string path;
        int32_t error;
    } cases[] = {
        {"missing", folder.Path("none.bmp"), 53},
        {"empty path", "", 53},
        {"folder", folder.Dir().string(), 53},
        {"text", folder.Write("a.bmp", "hello, this is not a picture at all"), 481},
        {"empty file", folder.Write("e.bmp", ""), 481},
        {"short bitmap", folder.Write("s.bmp", "BM1234"), 481},
        {"bitmap without width", folder.Write("w.bmp", BmpHeader(0, 10)), 481},
        {"icon without entries", folder.Write("n.ico", std::string(22, '\0').replace(2, 1, "\1")), 481},
        {"cursor", folder.Write("c.cur", std::string(22, '\0').replace(2, 1, "\2").replace(4, 1, "\1")), 481},
    };
    for (const auto& c : cases) EXPECT_EQ(ErrorOf([&] { LoadPicture(c.path); }), c.error) << c.what;
}

TEST_F(PictureTest, MadePicturesAreNamedByKeyWithDistinctHandles) {
    const auto a = Picture::Make("k_saved", 16, 16);
    const auto b = Picture::Make("k_saved", 16, 16);
    EXPECT_EQ(a->DisplayName(), "k_saved");
    EXPECT_NE(a->Handle, b->Handle);
    EXPECT_FLOAT_EQ(a->Width, 16 * 2540.0f / 96);
}

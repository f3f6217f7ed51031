#include <filesystem>

#include "ErrorOf.h"
#include "FrameworkTest.h"
#include "pages/framework/clsCtlResize.h"
#include "pages/framework/ctlHeadline.h"
#include "platform/TempFolder.h"
#include "platform/com/PropertyBag.h"
#include "platform/ui/CaptionControls.h"

namespace {

using namespace platform;
using dtm::testing::FrameworkTest;

// ---- control resizer ----

P<ui::Frame> Box(const std::string& name, float l, float t, float w, float h) {
    auto c = std::make_shared<ui::Frame>();
    c->Name = name;
    c->Move(l, t, w, h);
    return c;
}

TEST(CtlResize, KeepsTheRightAndBottomMarginsByMode) {
    struct Case {
        dtm::ControlResizeMode mode;
        float pageW, pageH, width, height;
    };
    // Child at 120/200, 2000 x 1000 on a page 3000 x 2000: margins 880 and 800.
    const Case cases[] = {
        {dtm::crmWidth, 4000, 3000, 3000, 1000},
        {dtm::crmHeight, 4000, 3000, 2000, 2000},
        {dtm::crmBoth, 4000, 3000, 3000, 2000},
        {dtm::crmBoth, 1000, 1000, 2000, 1000},  // 0 and -0 are not applied
        {static_cast<dtm::ControlResizeMode>(7), 4000, 3000, 2000, 1000},
    };
    for (const auto& c : cases) {
        auto page = Box("page", 0, 0, 3000, 2000);
        auto child = Box("child", 120, 200, 2000, 1000);
        dtm::clsCtlResize resizer;
        resizer.Add(*page, *child);
        page->Move(0, 0, c.pageW, c.pageH);
        resizer.Resize(*page, *child, c.mode);
        EXPECT_EQ(child->Width(), c.width) << c.mode;
        EXPECT_EQ(child->Height(), c.height) << c.mode;
        EXPECT_EQ(child->Left(), 120);
        EXPECT_EQ(child->Top(), 200);
    }
}

TEST(CtlResize, DuplicateAddAndUnknownResizeReachTheCaller) {
    auto page = Box("page", 0, 0, 3000, 2000);
    auto child = Box("child", 0, 0, 100, 100);
    auto other = Box("other", 0, 0, 100, 100);
    dtm::clsCtlResize resizer;
    resizer.Add(*page, *child);
    EXPECT_EQ(ErrorOf([&] { resizer.Add(*page, *child); }), 457);
    EXPECT_EQ(ErrorOf([&] { resizer.Resize(*page, *other, dtm::crmWidth); }), 5);
}

// ---- headline ----

class Headline : public FrameworkTest {};

P<dtm::ctlHeadline> NewHeadline(const com::PropertyBag* bag = nullptr) {
    auto h = std::make_shared<dtm::ctlHeadline>();
    h->Create(bag);
    return h;
}

TEST_F(Headline, LoadsTheLogoAndKeepsItAtTheRightEdge) {
    auto h = NewHeadline();
    ASSERT_TRUE(h->imgLogo->Picture());
    EXPECT_EQ(h->imgLogo->Picture()->DisplayName(), "companyIcon.bmp");
    EXPECT_EQ(h->imgLogo->Width(), 48 * 15);
    h->Move(0, 0, 6000, 900);
    EXPECT_EQ(h->imgLogo->Left(), 6000 - 720 - 10);
    h->Move(0, 0, 500, 900);  // narrower than the logo: nothing is clamped
    EXPECT_EQ(h->imgLogo->Left(), 500 - 720 - 10);
}

TEST_F(Headline, DeviceIconShowsRxd214OnlyForTheExactName) {
    auto h = NewHeadline();
    const std::pair<const char*, const char*> cases[] = {
        {"RXD214", "RXD214.bmp"}, {"rxd214", "RXD218.bmp"}, {"", "RXD218.bmp"}, {"RXD 214", "RXD218.bmp"}};
    for (const auto& [name, file] : cases) {
        h->DeviceIcon(name);
        ASSERT_TRUE(h->Image1->Picture()) << name;
        EXPECT_EQ(h->Image1->Picture()->DisplayName(), file) << name;
    }
}

TEST_F(Headline, AMissingModelPictureKeepsTheShownOne) {
    TempFolder folder;
    std::filesystem::create_directories(folder.Dir() / "XMLData");
    for (const char* f : {"companyIcon.bmp", "RXD214.bmp"})
        std::filesystem::copy_file(app::File(std::string("\\XMLData\\") + f), folder.Dir() / "XMLData" / f);
    app::SetPath(folder.Dir().string());
    auto h = NewHeadline();
    h->DeviceIcon("RXD214");
    h->DeviceIcon("RXD218");
    EXPECT_EQ(h->Image1->Picture()->DisplayName(), "RXD214.bmp");
}

TEST_F(Headline, AMissingLogoFailsTheCreation) {
    TempFolder folder;
    app::SetPath(folder.Dir().string());
    auto h = std::make_shared<dtm::ctlHeadline>();
    EXPECT_EQ(ErrorOf([&] { h->Create(); }), 53);
}

TEST_F(Headline, TitleIsWrittenAlwaysAndReadBack) {
    auto h = NewHeadline();
    EXPECT_EQ(h->Title(), "");
    EXPECT_EQ(h->lblTag->Caption(), "Tag");
    com::PropertyBag bag;
    h->WriteProperties(bag);
    ASSERT_TRUE(bag.Contains("Title"));
    EXPECT_EQ(com::CStr(bag.ReadProperty("Title", "x")), "");

    h->Title("Mass flow");
    h->DTMTag("FT-101");
    com::PropertyBag saved;
    h->WriteProperties(saved);
    auto again = NewHeadline(&saved);
    EXPECT_EQ(again->Title(), "Mass flow");
    EXPECT_EQ(again->DTMTag(), "Tag");

    com::PropertyBag empty;
    EXPECT_EQ(NewHeadline(&empty)->Title(), "");
}

}  // namespace

namespace {

TEST(DataFiles, EveryShippedPictureLoads) {
    struct Case {
        const char* file;
        int32_t type;
        int32_t widthPx;
    };
    const Case cases[] = {{"\\XMLData\\companyIcon.bmp", platform::ui::Picture::kBitmap, 48},
                          {"\\XMLData\\RXD214.bmp", platform::ui::Picture::kBitmap, 64},
                          {"\\XMLData\\RXD218.bmp", platform::ui::Picture::kBitmap, 64},
                          {"\\Resources\\mw.ico", platform::ui::Picture::kIcon, 32}};
    for (const auto& c : cases) {
        const auto picture = platform::ui::LoadPicture(platform::app::File(c.file));
        EXPECT_EQ(picture->Type, c.type) << c.file;
        EXPECT_EQ(picture->Width, platform::ui::PixelsToHimetric(c.widthPx)) << c.file;
    }
}

}  // namespace

// Status pictures and tool tips of rows on the test form, one status each.
#include "param_link_fixture.h"

#include "model/elements/clsDataModel.h"
#include "model/elements/clsPROFIBUSProfil3Units.h"

namespace dtm::testing {
namespace {

using platform::Variant;
namespace ctl = platform::ctl;

class StatusTest : public RowsHostFixture {
protected:
    void Update(const char* path) { page->site->SiteParameterChanged(Params().Item(path)); }
};

TEST_F(StatusTest, TheFirstMatchingRuleGivesPictureAndTip) {
    StartNew();
    Open({{"PHYS/TAG_DESC"}});
    auto& element = Element("PHYS/TAG_DESC");
    const int32_t base = element.StatusFlags();
    struct Case {
        const char* what;
        int32_t flags;
        bool device, stored, optional;
        int32_t level;
        const char* picture;
        std::string tip;
    };
    const Case cases[] = {
        {"communication wins", 0xF0000 | 0x8, false, false, false, 1, "CommErr", Dict("paramicon_CommErr")},
        {"command error", 0x100000, false, false, false, 1, "AnyErr", Dict("paramicon_AnyErr")},
        {"needed", 0x8, false, false, false, 1, "Needed", Dict("paramicon_Needed")},
        {"optional", 0, false, false, true, 1, "OptionalParam", Dict("paramicon_Optional")},
        {"user level", 0, false, false, false, 99, "Locked", Dict("paramicon_Locked")},
        {"initial", 0, false, false, false, 1, "Initial", Dict("paramicon_Initial")},
        {"saved", 0, false, true, false, 1, "SavedValue", Dict("paramicon_Saved")},
        {"online", 0, true, false, false, 1, "OnlineValue", Dict("paramicon_OnlineValue")},
        {"both", 0, true, true, false, 1, "SavedValue", Dict("paramicon_Saved")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        element.StatusFlags((base & ~0xFFF00F) | c.flags);
        element.DeviceValue = c.device ? element.TransientValue : Variant();
        element.PersistentValue = c.stored ? element.TransientValue : Variant();
        element.ParamOptional(c.optional);
        element.RequiredUserLevel = c.level;
        Update("PHYS/TAG_DESC");
        EXPECT_EQ(Row(0).StatusIconKey(), c.picture);
        EXPECT_EQ(Row(0).IconToolTip(), c.tip);
    }
    element.StatusFlags(base);
    ExpectNoErrors();
}

TEST_F(StatusTest, ACommandErrorTextWinsOverTheDictionaryTip) {
    Open({{"PHYS/TAG_DESC"}});
    auto& element = Element("PHYS/TAG_DESC");
    element.CmdErr = "Device busy";
    element.SetStatusFlag(0x200000);
    Update("PHYS/TAG_DESC");
    EXPECT_EQ(Row(0).StatusIconKey(), "AnyErr");
    EXPECT_EQ(Row(0).IconToolTip(), "Device busy");
    ExpectNoErrors();
}

TEST_F(StatusTest, DynamicElementsAlternateTheirTwoPictures) {
    Open({{"PHYS/TAG_DESC"}});
    Element("PHYS/TAG_DESC").ParamDynamic(true);
    std::vector<std::string> shown;
    for (int i = 0; i < 3; ++i) {
        Update("PHYS/TAG_DESC");
        shown.push_back(Row(0).StatusIconKey());
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"Dynamic1", "Dynamic2", "Dynamic1"}));
    EXPECT_EQ(Row(0).IconToolTip(), Dict("paramicon_Dynamic"));
    ExpectNoErrors();
}

TEST_F(StatusTest, RangeTipsListEveryRange) {
    StartNew();
    auto& element = Element("FUNC/1/AI/PV_FTIME");
    element.SetRange(1, Variant::Dbl(200), Variant::Dbl(300));
    element.TransientValue = Variant::Dbl(150);
    Open({{"FUNC/1/AI/PV_FTIME"}});
    EXPECT_EQ(Row(0).StatusIconKey(), "RangeErr");
    Variant min, max;
    ASSERT_TRUE(element.GetRange(0, min, max));
    EXPECT_EQ(Row(0).IconToolTip(), Dict("paramicon_RangeErr") + ", " + platform::com::CStr(min) + ".." +
                                        platform::com::CStr(max) + ", 200..300");

    ExpectNoErrors();
}

TEST_F(StatusTest, RangesAreShownInTheElementsCurrentUnit) {
    StartNew();
    auto& element = Element("FUNC/1/AI/PV_FTIME");
    element.TransientValue = Variant::Dbl(1e9);
    Open({{"FUNC/1/AI/PV_FTIME"}});
    Variant min, max;
    ASSERT_TRUE(element.GetRange(0, min, max));
    auto model = std::dynamic_pointer_cast<clsDataModel>(Params().DataModel());
    ASSERT_NE(model, nullptr);
    const double perMinute = model->PROFIBUSProfil3Units()->CalculateUnitValue(platform::com::CDbl(max), 1322, 1323);
    ASSERT_NE(perMinute, platform::com::CDbl(max));
    const struct {
        int16_t init, current;
        std::string maxText;
    } cases[] = {
        {1322, 1322, platform::com::CStr(max)},
        {1322, 1323, platform::com::CStr(Variant::Dbl(perMinute))},
        {1322, 1998, platform::com::CStr(max)},  // "Unknown" converts nothing
        {1998, 1323, platform::com::CStr(max)},
    };
    for (const auto& c : cases) {
        element.nInitUnit = c.init;
        element.nTransientUnit = c.current;
        Update("FUNC/1/AI/PV_FTIME");
        const std::string tip = Row(0).IconToolTip();
        EXPECT_EQ(tip.substr(tip.size() - c.maxText.size() - 2), ".." + c.maxText) << c.init << "->" << c.current;
    }
    ExpectNoErrors();
}

TEST_F(StatusTest, ACommandRowShowsTheBlankPictureUnlessAHigherRuleMatches) {
    Open({{"PHYS/FACTORY_RESET", ctl::kRowCommand}});
    EXPECT_EQ(Row(0).StatusIconKey(), "Blank");
    EXPECT_EQ(Row(0).IconToolTip(), "");
    Element("PHYS/FACTORY_RESET").ParamOptional(true);
    Update("PHYS/FACTORY_RESET");
    EXPECT_EQ(Row(0).StatusIconKey(), "OptionalParam");
    ExpectNoErrors();
}

TEST_F(StatusTest, PicturesComeFromTheSitesSet) {
    Open({{"PHYS/TAG_DESC"}});
    const auto expected = page->site->Pictures()->Item(Row(0).StatusIconKey()).ObjRef();
    EXPECT_EQ(Row(0).StatusIcon(), expected);
    ExpectNoErrors();
}

}  // namespace
}  // namespace dtm::testing

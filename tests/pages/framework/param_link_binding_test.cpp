// Binding rows of the test form to the real model: tags, row kinds, labels,
// tool tips, menu texts, locks by design, unbound rows and language change.
#include "param_link_fixture.h"

#include "platform/ui/Snapshot.h"

namespace dtm::testing {
namespace {

using platform::Variant;
namespace ctl = platform::ctl;

TEST(ParameterTag, ReplacesPlaceholdersInOrder) {
    const struct {
        std::string tag;
        int32_t index;
        std::string channel, prefix, expected;
    } cases[] = {
        {"FUNC/%d/%ch/ST_REV", 3, "TOT", "", "FUNC/3/TOT/ST_REV"},
        {"%blk/ST_REV", 0, "", "PHYS", "PHYS/ST_REV"},
        {"%d%d/%D", 12, "", "", "1212/%D"},
        {"%ch%d", 1, "%d", "", "%d1"},  // "%d" first: the channel's own "%d" stays
        {"A/%blk", 0, "", "", "A/"},
    };
    for (const auto& c : cases) EXPECT_EQ(ExpandParameterTag(c.tag, c.index, c.channel, c.prefix), c.expected);
}

class BindingTest : public RowsHostFixture {};

TEST_F(BindingTest, RowKindsFollowTheElementOrTheDesign) {
    StartNew();
    struct Case {
        const char* tag;
        int32_t elementKind;  // -1: as the model made it
        int32_t designKind;
        int32_t expected;
    } cases[] = {
        {"PHYS/TAG_DESC", 0, 0, ctl::kRowPlain},                 // value type 14
        {"FUNC/1/AI/PV_FTIME", 0, 0, ctl::kRowPlain},            // value type 8
        {"FUNC/1/AI/TARGET_MODE", 0, 0, ctl::kRowValueList},     // value type 2
        {"FUNC/1/AI/MODE_BLK/Permitted", -1, 0, ctl::kRowBitList},
        {"PHYS/FACTORY_RESET", 0, 0, ctl::kRowCommand},          // element mode has the command bit
        {"PHYS/FACTORY_RESET", -1, ctl::kRowCommand, ctl::kRowCommand},  // a designed command row stays
        {"PHYS/DIAGNOSIS", 0, 0, ctl::kRowNotChosen},            // value type 1 leaves the row at 0
        {"PHYS/TAG_DESC", 0, ctl::kRowValueList, ctl::kRowValueList},  // the element says 0: the design stays
        {"PHYS/TAG_DESC", 3, 1, 3},
    };
    std::vector<RowDesign> design;
    for (const auto& c : cases) {
        if (c.elementKind >= 0) Element(c.tag).ControlType(c.elementKind);
        design.push_back({c.tag, c.designKind});
    }
    // Elements shared by two cases keep the setting of the later case; give
    // those cases elements of their own where it matters.
    Element("PHYS/TAG_DESC").ControlType(0);
    design[8].tag = "PHYS/DESCRIPTOR";
    Element("PHYS/DESCRIPTOR").ControlType(3);
    Open(design);
    for (size_t i = 0; i < design.size(); ++i) EXPECT_EQ(Row(i).ControlType(), cases[i].expected) << cases[i].tag;
    ExpectNoErrors();
}

TEST_F(BindingTest, LabelsToolTipsAndMenuTexts) {
    StartNew();
    auto& tag = Element("PHYS/TAG_DESC");
    tag.Label = "Tag";
    tag.RelIndex = 8;
    tag.Description = std::string(70, 'd');
    auto& other = Element("PHYS/DESCRIPTOR");
    other.Label = "Descriptor";
    other.RelIndex = -1;
    other.Description = std::string(71, 'e');
    Open({{"PHYS/TAG_DESC"}, {"PHYS/DESCRIPTOR"}});
    const std::string shortcut = Dict("paramhelp_shortcut");
    EXPECT_EQ(Row(0).LabelText(), "Tag");
    EXPECT_EQ(Row(0).ParamToolTip(), std::string(70, 'd') + " (-> " + shortcut + ")");
    EXPECT_EQ(Row(1).ParamToolTip(), std::string(66, 'e') + " ... (-> " + shortcut + ")");
    EXPECT_EQ(Row(0).MenuItemText(1), Dict("paramhelp_menuitem") + "\t" + shortcut);
    EXPECT_EQ(Row(0).MenuItemCount(), 1);

    LinkOf(0).bDisplayDPV1Index = true;
    LinkOf(1).bDisplayDPV1Index = true;
    int32_t lcid = 1033;
    page->site->SetSiteLanguage(lcid);
    EXPECT_EQ(Row(0).LabelText(), "8: Tag");
    EXPECT_EQ(Row(1).LabelText(), "Descriptor") << "a negative relative index is not shown";
    ExpectNoErrors();
}

TEST_F(BindingTest, TemplateFieldsReachEveryLinkAndTheTag) {
    Open({{"FUNC/%d/AI/PV_FTIME"}, {"FUNC/%d/AI/TARGET_MODE"}}, true, 2);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(Row(i).Bound()->Name().rfind("FUNC/2/AI/", 0), 0u) << Row(i).Bound()->Name();
        EXPECT_TRUE(LinkOf(i).bOnlineMode);
        EXPECT_EQ(LinkOf(i).index, 2);
    }
    ExpectNoErrors();
}

TEST_F(BindingTest, ARowNamingNoElementStaysUnboundAndTheOthersGoOn) {
    Open({{"PHYS/TAG_DESC"}, {"FUNC/%d/AI/PV_FTIME"}, {"PHYS/DESCRIPTOR"}});  // index 0: no block 0
    ASSERT_EQ(page->site->UnboundRows().size(), 1u);
    EXPECT_EQ(page->site->UnboundRows()[0].row, page->rows[1]);
    EXPECT_FALSE(Row(1).Visible());
    EXPECT_TRUE(Row(1).ReadOnly());
    EXPECT_EQ(Row(1).Bound(), nullptr);
    EXPECT_EQ(page->site->Links().size(), 2u);
    EXPECT_TRUE(Row(2).Visible());
    EXPECT_EQ(Row(2).Bound()->Name(), "PHYS/DESCRIPTOR");
    ExpectNoErrors();
}

TEST_F(BindingTest, ARowLockedByDesignStaysLockedForTheLinksLife) {
    Open({{"PHYS/TAG_DESC", 0, true}, {"PHYS/DESCRIPTOR"}});
    EXPECT_TRUE(Row(0).Locked());
    Element("PHYS/TAG_DESC").ClearStatusFlag(1);
    page->site->SiteParameterSetChanged();
    EXPECT_TRUE(Row(0).Locked());
    EXPECT_FALSE(Row(1).Locked());
    page->site->ExitSite();
    EXPECT_TRUE(Row(0).Locked());
    EXPECT_FALSE(Row(1).Locked());
    EXPECT_EQ(Row(0).MenuItemCount(), 0);
    EXPECT_EQ(Row(0).Bound(), nullptr);
    ExpectNoErrors();
}

TEST_F(BindingTest, AnOptionalElementGreysItsRowAndAnInvalidOneHidesIt) {
    StartNew();
    Element("PHYS/DESCRIPTOR").ParamOptional(true);
    Open({{"PHYS/DESCRIPTOR"}, {"PHYS/TAG_DESC"}});
    EXPECT_EQ(Row(0).ForeColor(), static_cast<int32_t>(0x80000011u));
    EXPECT_EQ(Row(0).ValueForeColor(), static_cast<int32_t>(0x80000011u));
    EXPECT_TRUE(Row(1).Visible());
    Element("PHYS/TAG_DESC").Validity(false);
    page->site->SiteParameterChanged(Params().Item("PHYS/TAG_DESC"));
    EXPECT_FALSE(Row(1).Visible());
    Element("PHYS/TAG_DESC").Validity(true);
    Row(1).VisibleByDesign(false);
    page->site->SiteParameterSetChanged();
    EXPECT_FALSE(Row(1).Visible()) << "the container's Boolean hides it too";
    ExpectNoErrors();
}

TEST_F(BindingTest, AVisibleStringLimitsAndUpperCasesTheTypedText) {
    StartNew();
    Element("PHYS/TAG_DESC").bPackedCoding = true;
    Open({{"PHYS/TAG_DESC"}});
    EXPECT_EQ(Row(0).ValueMaxLength(), 32);
    EXPECT_TRUE(Row(0).ValueUpperCase());
    ExpectNoErrors();
}

TEST_F(BindingTest, LanguageChangeRetranslatesTextsAndTheIconTip) {
    Open({{"PHYS/TAG_DESC"}});
    const std::string before = Row(0).IconToolTip();
    EXPECT_FALSE(before.empty());
    auto registry = Ctx().GuiRegistry();
    registry->LanguageId(1031);  // the registry tells every page
    EXPECT_EQ(Row(0).MenuItemText(1), Dict("paramhelp_menuitem") + "\t" + Dict("paramhelp_shortcut"));
    EXPECT_EQ(Row(0).IconToolTip(), Dict("paramicon_Initial"));
    ExpectNoErrors();
}

}  // namespace
}  // namespace dtm::testing

namespace dtm::testing {
namespace {

TEST_F(BindingTest, SnapshotShowsBoundAndUnboundRows) {
    StartNew();
    Element("PHYS/TAG_DESC").Label = "Tag";
    Element("PHYS/TAG_DESC").TransientValue = platform::Variant::Str("FT-101");
    Open({{"PHYS/TAG_DESC"}, {"FUNC/%d/AI/PV_FTIME"}});
    const std::string text = platform::ui::Snapshot(*page, {.all = true});
    EXPECT_NE(text.find("row ctlParameter.0 @PHYS/TAG_DESC \"Tag\" = \"FT-101\" icon=Changed"), std::string::npos)
        << text;
    EXPECT_NE(text.find("row ctlParameter.1 hidden ro tag=\"FUNC/%d/AI/PV_FTIME\" unbound"), std::string::npos) << text;
    EXPECT_NE(text.find("ctlParamSite ctlParamSite1 links=1 editable"), std::string::npos) << text;
    ExpectNoErrors();
}

TEST_F(BindingTest, ExitingTheSiteCommitsAnEditInProgress) {
    Open({{"PHYS/TAG_DESC"}});
    ASSERT_TRUE(platform::ctl::RowInput::Type(Row(0), "LAST WORDS"));
    page->site->ExitSite();
    EXPECT_EQ(platform::com::CStr(Element("PHYS/TAG_DESC").TransientValue), "LAST WORDS");
    ExpectNoErrors();
}

}  // namespace
}  // namespace dtm::testing

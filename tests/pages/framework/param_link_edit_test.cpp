// Edits through the rows of the test form into the real model: accepted,
// refused, held back while the user edits, value lists and bit lists.
#include "param_link_fixture.h"

#include "core/services/ProjectHelpers.h"
#include "platform/rt/Parameters.h"

namespace dtm::testing {
namespace {

using platform::Variant;
namespace ctl = platform::ctl;
namespace RowInput = platform::ctl::RowInput;

class EditTest : public RowsHostFixture {};

TEST_F(EditTest, TypedValuesAreCommittedOnceAndRefusedWhenTheyDoNotFit) {
    Open({{"FUNC/1/AI/PV_FTIME"}});
    auto& element = Element("FUNC/1/AI/PV_FTIME");
    const struct {
        const char* text;
        bool committed;
        const char* icon;
    } cases[] = {
        {"12.5", true, "Changed"},
        {"12.5", false, "Changed"},   // the same value again changes nothing
        {"500", false, "RangeErr"},   // out of range: refused, the icon shows it at once
        {"abc", false, "InputErr"},   // does not convert
        {"7", true, "Changed"},
    };
    Variant last = element.TransientValue;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const int32_t notices = page->NoticesOf("FUNC/1/AI/PV_FTIME");
        ASSERT_TRUE(RowInput::Type(Row(0), c.text));
        EXPECT_EQ(Row(0).StatusIconKey(), c.icon) << "after typing";
        ASSERT_TRUE(RowInput::Commit(Row(0)));
        if (c.committed) {
            EXPECT_DOUBLE_EQ(platform::com::CDbl(element.TransientValue), std::stod(c.text));
            EXPECT_EQ(page->NoticesOf("FUNC/1/AI/PV_FTIME"), notices + 1);
            last = element.TransientValue;
        } else {
            EXPECT_TRUE(IsSameValue(element.TransientValue, last));
            EXPECT_EQ(page->NoticesOf("FUNC/1/AI/PV_FTIME"), notices);
        }
        EXPECT_EQ(Row(0).StatusIconKey(), c.icon);
    }
    ExpectNoErrors();
}

// A text that converts to the value the element holds changes nothing, and
// the row shows that value as it formats it, with its icon, not the text.
TEST_F(EditTest, ATextForTheValueHeldShowsTheValueHeld) {
    Open({{"FUNC/1/AI/BATCH/BATCH_ID"}, {"FUNC/1/AI/PV_FTIME"}});
    const struct {
        size_t row;
        const char* held;  // typed and committed first; nullptr: the initial value
        const char* typed;
        const char* shown;
        const char* icon;
    } cases[] = {
        {0, "7", " 7", "7", "Changed"},
        {1, nullptr, "1e-50", "0.00", "Initial"},  // a Single takes it as 0
        {1, "30", "30.0000001", "30.00", "Changed"},
        {1, "30", "3e1", "30.00", "Changed"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        if (c.held) {
            ASSERT_TRUE(RowInput::Type(Row(c.row), c.held));
            ASSERT_TRUE(RowInput::Commit(Row(c.row)));
        }
        const std::string path = Row(c.row).parameterTag();
        const Variant held = Element(path).TransientValue;
        const int32_t notices = page->NoticesOf(path);
        ASSERT_TRUE(RowInput::Type(Row(c.row), c.typed));
        ASSERT_TRUE(RowInput::Commit(Row(c.row)));
        EXPECT_TRUE(platform::com::Identical(Element(path).TransientValue, held));
        EXPECT_EQ(page->NoticesOf(path), notices);
        EXPECT_EQ(Row(c.row).DisplayText(), c.shown);
        EXPECT_EQ(Row(c.row).StatusIconKey(), c.icon);
    }
    ExpectNoErrors();
}

TEST_F(EditTest, RangeErrorTipListsTheRanges) {
    Open({{"FUNC/1/AI/PV_FTIME"}});
    RowInput::Type(Row(0), "500");
    EXPECT_EQ(Row(0).IconToolTip(), Dict("paramicon_RangeErr") + RangesOf(Element("FUNC/1/AI/PV_FTIME")));
    EXPECT_NE(RangesOf(Element("FUNC/1/AI/PV_FTIME")), "");
    RowInput::Cancel(Row(0));
    ExpectNoErrors();
}

TEST_F(EditTest, LockedRowsAndRowsOfAHigherUserLevelTakeNoEdit) {
    StartNew();
    Element("PHYS/DESCRIPTOR").RequiredUserLevel = 9;
    Open({{"PHYS/TAG_DESC"}, {"PHYS/DESCRIPTOR"}});
    Element("PHYS/TAG_DESC").SetStatusFlag(1);
    page->site->SiteParameterSetChanged();
    EXPECT_TRUE(Row(0).Locked());
    EXPECT_FALSE(RowInput::Type(Row(0), "X"));
    EXPECT_TRUE(Row(1).Locked());
    EXPECT_EQ(Row(1).StatusIconKey(), "Locked");
    EXPECT_EQ(Row(1).IconToolTip(), Dict("paramicon_Locked"));
    Element("PHYS/DESCRIPTOR").RequiredUserLevel = 1;
    Element("PHYS/TAG_DESC").ClearStatusFlag(1);
    page->site->SiteParameterSetChanged();
    EXPECT_FALSE(Row(0).Locked());
    EXPECT_FALSE(Row(1).Locked()) << "the lock lifts at the next update";
    ExpectNoErrors();
}

TEST_F(EditTest, TheSiteLockKeepsEveryRowReadOnly) {
    Open({{"PHYS/TAG_DESC"}});
    Params().OnLockDataSet("frame");
    EXPECT_TRUE(Row(0).ReadOnly());
    EXPECT_FALSE(RowInput::Type(Row(0), "X"));
    EXPECT_TRUE(Params().OnUnlockDataSet("frame"));
    EXPECT_TRUE(RowInput::Type(Row(0), "X"));
    RowInput::Commit(Row(0));
    ExpectNoErrors();
}

TEST_F(EditTest, UpdatesWaitForTheEndOfAnOnlineEditWhileTheDataSetIsReady) {
    Open({{"PHYS/TAG_DESC"}}, true);
    auto el = Params().Item("PHYS/TAG_DESC");
    auto& element = Element("PHYS/TAG_DESC");
    const struct {
        const char* what;
        bool online, wholeSetRunning, heldBack;
    } cases[] = {
        {"online, data set ready", true, false, true},
        {"online, a whole data set is taken over", true, true, false},
        {"offline", false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        LinkOf(0).bOnlineMode = c.online;
        element.TransientValue = Variant::Str("BEFORE");
        page->site->SiteParameterChanged(el);
        ASSERT_TRUE(RowInput::Type(Row(0), "TYPED"));
        if (c.wholeSetRunning) Params().BeginSetParameters();
        element.TransientValue = Variant::Str("FROM DEVICE");
        page->site->SiteParameterChanged(el);
        if (c.wholeSetRunning) Params().EndSetParameters();
        EXPECT_EQ(LinkOf(0).UpdatePending(), c.heldBack);
        EXPECT_EQ(platform::com::CStr(Row(0).Value()), c.heldBack ? "TYPED" : "FROM DEVICE");
        RowInput::Cancel(Row(0));
        EXPECT_FALSE(LinkOf(0).UpdatePending());
        EXPECT_EQ(platform::com::CStr(Row(0).Value()), "FROM DEVICE") << "applied at the end of the edit";
    }
    ExpectNoErrors();
}

// While an online edit holds back the row's updates, its lock is held back
// too: a user whose level dropped meanwhile must still not commit the edit.
TEST_F(EditTest, AnEditStartedBeforeTheUserLevelDroppedIsNotCommitted) {
    Open({{"PHYS/TAG_DESC"}}, true);
    auto& element = Element("PHYS/TAG_DESC");
    element.TransientValue = Variant::Str("BEFORE");
    page->site->SiteParameterSetChanged();
    ASSERT_TRUE(RowInput::Type(Row(0), "TYPED"));
    element.RequiredUserLevel = session.Context()->UserLevel() + 1;
    page->site->SiteParameterSetChanged();  // the level change reaches the page
    RowInput::Commit(Row(0));
    EXPECT_EQ(platform::com::CStr(element.TransientValue), "BEFORE");
    EXPECT_EQ(platform::com::CStr(Row(0).Value()), "BEFORE") << "the row shows the element again";
    EXPECT_TRUE(Row(0).Locked());
    ExpectNoErrors();
}

TEST_F(EditTest, AnOnlineCommitMarksTheElementUntilTheLinkEnds) {
    Open({{"PHYS/TAG_DESC"}}, true);
    auto& element = Element("PHYS/TAG_DESC");
    EXPECT_EQ(element.StatusFlags() & 0x20, 0);
    RowInput::Type(Row(0), "NEW");
    RowInput::Commit(Row(0));
    EXPECT_EQ(platform::com::CStr(element.TransientValue), "NEW");
    EXPECT_NE(element.StatusFlags() & 0x20, 0);
    page->site->ExitSite();
    EXPECT_EQ(element.StatusFlags() & 0x20, 0);
    ExpectNoErrors();
}

TEST_F(EditTest, ValidationCommitsAnEditInProgress) {
    Open({{"PHYS/TAG_DESC"}});
    RowInput::Type(Row(0), "VALIDATED");
    page->site->SiteValidateParameters();
    EXPECT_EQ(platform::com::CStr(Element("PHYS/TAG_DESC").TransientValue), "VALIDATED");
    RowInput::Commit(Row(0));
    ExpectNoErrors();
}

TEST_F(EditTest, ValueListSelectionCommitsTheCode) {
    Open({{"FUNC/1/AI/TARGET_MODE"}});
    auto& element = Element("FUNC/1/AI/TARGET_MODE");
    const auto entries = ctl::ParseValueList(Row(0).ValueList());
    ASSERT_GE(entries.size(), 2u) << Row(0).ValueList();
    const int32_t code = static_cast<int32_t>(entries[1].code);
    ASSERT_TRUE(RowInput::Select(Row(0), code));
    EXPECT_EQ(platform::com::CLng(element.TransientValue), code);
    EXPECT_EQ(Row(0).DisplayText(), entries[1].text);
    EXPECT_FALSE(RowInput::Select(Row(0), 12345)) << "not in the list";
    ExpectNoErrors();
}

TEST_F(EditTest, BitListRowsShowAndCommitTheBits) {
    StartNew();
    auto& element = Element("FUNC/1/AI/MODE_BLK/Permitted");
    element.ClearStatusFlag(1);
    element.ValueList = "0:A|1:B|2:C|3:D|4:E|5:F|6:G|7:H|8:None";
    element.TransientValue = Variant::Byte(0);
    Open({{"FUNC/1/AI/MODE_BLK/Permitted"}});
    EXPECT_EQ(platform::com::CStr(Row(0).Value()), "0|0|0|0|0|0|0|0|1") << "the zero entry is ticked";
    ASSERT_TRUE(RowInput::SetBits(Row(0), {0, 3}));
    EXPECT_EQ(element.TransientValue.Type(), platform::com::VarType::Byte);
    EXPECT_EQ(platform::com::CLng(element.TransientValue), 9);
    EXPECT_EQ(Row(0).DisplayText(), "0:A, 3:D");
    ASSERT_TRUE(RowInput::SetBits(Row(0), {8}));
    EXPECT_EQ(platform::com::CLng(element.TransientValue), 0) << "the zero entry reads back as 0";
    ExpectNoErrors();
}

TEST_F(EditTest, ABitListOfALargeDoubleShowsItsLow32Bits) {
    StartNew();
    auto& element = Element("PHYS/DIAGNOSIS");
    element.TransientValue = Variant::Dbl(4294967296.0 + 5);
    Open({{"PHYS/DIAGNOSIS", ctl::kRowBitList}});
    element.ValueType = 16;  // the value of a 32-bit unsigned field
    page->site->SiteParameterSetChanged();
    EXPECT_EQ(platform::com::CStr(Row(0).Value()).substr(0, 6), "1|0|1|");
    ExpectNoErrors();
}

}  // namespace
}  // namespace dtm::testing

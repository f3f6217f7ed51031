// The data set's lock and open edits on the parameterisation windows
// (functions 1 and 8): a page or block view that comes up while the frame
// holds the lock takes no typed value until the lock ends, an edit open when
// the lock comes ends without reaching the data set, and a row bound to
// another block while the user edits it keeps each value with its block.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "ParamPagesFixture.h"
#include "platform/ctl/RowInput.h"
#include "platform/rt/IPrivateGUI.h"
#include "platform/ui/Input.h"
#include "platform/ui/TabStrip.h"

namespace dtm {
namespace {

namespace ui = platform::ui;
namespace com = platform::com;
namespace RowInput = platform::ctl::RowInput;

// A tab click: the strip's control path in the window and the tab's number.
using TabClick = std::pair<const char*, int32_t>;

class LocksAndEdits : public testing::ParamPagesFixture {
protected:
    void TearDown() override {
        if (session && !session->Dropped()) frame->Close(*session);
        session.reset();
        ParamPagesFixture::TearDown();
    }
    void Open(int32_t function) {
        session = frame->Open(function);
        ASSERT_NE(session, nullptr);
    }
    void Click(const TabClick& click) {
        auto strip = std::dynamic_pointer_cast<ui::TabStrip>(session->Ctl(click.first));
        ASSERT_NE(strip, nullptr) << click.first;
        ASSERT_TRUE(ui::Input::ClickTab(*strip, click.second)) << click.first << " " << click.second;
    }
    // The first visible row bound to `path`; null when there is none.
    platform::ctl::ctlParameter* Row(const std::string& path) const { return session->Row("@" + path).get(); }
    std::string Value(const std::string& path) const { return com::CStr(Params().Item(path)->TransientValue()); }
    void Lock(bool on) {
        if (on)
            Params().OnLockDataSet("Tag");
        else
            ASSERT_TRUE(Params().OnUnlockDataSet("Tag"));
    }

    std::shared_ptr<frame::PageSession> session;
};

TEST_F(LocksAndEdits, APageOrViewComingUpDuringTheLockTakesNoValueUntilTheLockEnds) {
    struct Case {
        const char* name;
        int32_t function;
        bool lockBeforeOpen;  // else: opened, locked, then the tabs clicked
        std::vector<TabClick> tabs;
        const char* element;
        const char* typed;
    };
    const Case cases[] = {
        {"identification tab", 1, true, {}, "PHYS/TAG_DESC", "LOCKED"},
        {"input tab", 1, true, {{"TabStrip", 2}}, "TRANS/1/FlowCori/MANU/_low_flow_threshold", "2.5"},
        {"I/O tab", 1, true, {{"TabStrip", 3}}, "FUNC/1/AI/PV_FTIME", "2.5"},
        {"I/O block tab after the lock", 1, false, {{"TabStrip", 3}, {"ctlIOp.TabStrip", 2}}, "FUNC/2/AI/PV_FTIME",
         "2.5"},
        {"I/O totaliser tab after the lock", 1, false, {{"TabStrip", 3}, {"ctlIOp.TabStrip", 4}},
         "FUNC/4/TOT/TAG_DESC", "LOCKED"},
        {"Physical view", 8, true, {}, "PHYS/TAG_DESC", "LOCKED"},
        {"AI view", 8, true, {{"TabStrip", 3}}, "FUNC/1/AI/PV_FTIME", "2.5"},
        {"AI view loaded after the lock", 8, false, {{"TabStrip", 3}}, "FUNC/1/AI/PV_FTIME", "2.5"},
        {"Totaliser view loaded after the lock", 8, false, {{"TabStrip", 6}}, "FUNC/4/TOT/TAG_DESC", "LOCKED"},
        {"Transducer view loaded after the lock", 8, false, {{"TabStrip", 2}}, "TRANS/1/FlowCori/TAG_DESC",
         "LOCKED"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Start();
        if (c.lockBeforeOpen) Lock(true);
        Open(c.function);
        if (!c.lockBeforeOpen) Lock(true);
        for (const auto& click : c.tabs) Click(click);
        const std::string before = Value(c.element);

        ASSERT_NE(Row(c.element), nullptr);
        auto& row = *Row(c.element);
        EXPECT_TRUE(row.ReadOnly());
        EXPECT_FALSE(RowInput::Type(row, c.typed));
        EXPECT_FALSE(RowInput::Commit(row));
        EXPECT_EQ(Value(c.element), before);

        Lock(false);
        EXPECT_FALSE(row.ReadOnly());
        ASSERT_TRUE(RowInput::Type(row, c.typed));
        ASSERT_TRUE(RowInput::Commit(row));
        EXPECT_EQ(Value(c.element).substr(0, 3), std::string(c.typed).substr(0, 3));
        ASSERT_TRUE(frame->Close(*session));
    }
}

// The text typed before the lock was never in the data set: the lock ends
// the edit, and neither Enter nor closing the window commits it.
TEST_F(LocksAndEdits, AnEditOpenWhenTheLockComesNeverReachesTheDataSet) {
    struct Case {
        const char* name;
        int32_t function;
        std::vector<TabClick> tabs;
        const char* element;
    };
    const Case cases[] = {
        {"identification tab", 1, {}, "PHYS/TAG_DESC"},
        {"I/O tab", 1, {{"TabStrip", 3}}, "FUNC/1/AI/PV_FTIME"},
        {"AI view", 8, {{"TabStrip", 3}}, "FUNC/1/AI/PV_FTIME"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Start();
        Open(c.function);
        for (const auto& click : c.tabs) Click(click);
        const std::string before = Value(c.element);
        ASSERT_NE(Row(c.element), nullptr);
        auto& row = *Row(c.element);
        const std::string shown = row.DisplayText();
        ASSERT_TRUE(RowInput::Type(row, "11"));

        Lock(true);
        EXPECT_FALSE(row.Editing());
        EXPECT_EQ(row.DisplayText(), shown);
        EXPECT_FALSE(RowInput::Commit(row));
        dynamic_cast<platform::rt::IPrivateGUI&>(*session->Page()).ValidateParameters();
        ASSERT_TRUE(frame->Close(*session));
        EXPECT_EQ(Value(c.element), before);
        Lock(false);
    }
}

TEST_F(LocksAndEdits, ARowBoundToAnotherBlockEndsItsEditIntoTheBlockItWasBoundTo) {
    struct Case {
        const char* name;
        int32_t function;
        std::vector<TabClick> opening;  // brings the first block into view
        TabClick other;                  // binds the same rows to the second block
        const char *first, *second;      // the edited element of each block
    };
    const Case cases[] = {
        {"profile view, AI 1 to AI 2", 8, {{"TabStrip", 3}}, {"TabStrip", 4}, "FUNC/1/AI/PV_FTIME",
         "FUNC/2/AI/PV_FTIME"},
        {"profile view, Totaliser 4 to 8", 8, {{"TabStrip", 6}}, {"TabStrip", 10}, "FUNC/4/TOT/TAG_DESC",
         "FUNC/8/TOT/TAG_DESC"},
        {"I/O page, AI 1 to AI 2", 1, {{"TabStrip", 3}}, {"ctlIOp.TabStrip", 2}, "FUNC/1/AI/PV_FTIME",
         "FUNC/2/AI/PV_FTIME"},
        {"I/O page, Totaliser 4 to 8", 1, {{"TabStrip", 3}, {"ctlIOp.TabStrip", 4}}, {"ctlIOp.TabStrip", 8},
         "FUNC/4/TOT/TAG_DESC", "FUNC/8/TOT/TAG_DESC"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Start();
        Open(c.function);
        for (const auto& click : c.opening) Click(click);
        ASSERT_NE(Row(c.first), nullptr);
        auto& row = *Row(c.first);
        ASSERT_TRUE(RowInput::Type(row, "11"));  // not committed

        Click(c.other);
        ASSERT_EQ(Row(c.second), &row);  // the same row, now on the other block
        EXPECT_FALSE(row.Editing());
        EXPECT_EQ(Value(c.first).substr(0, 2), "11");

        ASSERT_TRUE(RowInput::Type(row, "22"));  // not committed either
        ASSERT_TRUE(frame->Close(*session));
        EXPECT_EQ(Value(c.first).substr(0, 2), "11");
        EXPECT_EQ(Value(c.second).substr(0, 2), "22");
    }
}

}  // namespace
}  // namespace dtm

// The parameter row on its own: which inputs each kind takes, the events they
// raise (none when code writes a property), the display text, and the site's
// editable state and unbound rows.
#include <gtest/gtest.h>

#include "platform/app/ErrorSink.h"
#include "platform/com/Error.h"
#include "platform/ctl/RowInput.h"
#include "platform/ctl/ctlParamSite.h"
#include "platform/ctl/ctlParameter.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Host.h"
#include "platform/ui/Snapshot.h"
#include "platform/ui/UserControl.h"

namespace {

using namespace platform;
using ctl::ctlParameter;
namespace RowInput = ctl::RowInput;

class EventLog : public ctl::IRowEvents {
public:
    std::vector<std::string> events;
    ctlParameter* row = nullptr;
    void OnChange() override { events.push_back("Change " + com::CStr(row->Value())); }
    void OnClick() override { events.push_back("Click"); }
    void OnStartEdit() override { events.push_back("StartEdit"); }
    void OnEndEdit(bool commit) override { events.push_back(commit ? "EndEdit 1" : "EndEdit 0"); }
    void OnMenuClick(int32_t item) override { events.push_back("Menu " + std::to_string(item)); }
    void OnKeyDown(int32_t& keyCode, int32_t shift) override {
        events.push_back("Key " + std::to_string(keyCode) + " " + std::to_string(shift));
        if (keyCode == 112) keyCode = 0;
    }
};

class Form : public ui::UserControl {
public:
    P<ctlParameter> row, other;
    P<ctl::ctlParamSite> site;

protected:
    void BuildForm() override {
        row = Place<ctlParameter>("ctlParameter", 0);
        other = Place<ctlParameter>("ctlParameter", 1);
        site = Place<ctl::ctlParamSite>("ctlParamSite1");
    }
};

class RowTest : public ::testing::Test {
protected:
    RowTest() {
        ui::Environment::Instance().Reset();
        app::ErrorSink::Instance().Clear();
        form = std::make_shared<Form>();
        host = std::make_unique<ui::Host>(form);
        host->Show();
        log = std::make_shared<EventLog>();
        log->row = form->row.get();
        form->row->EventSink(log);
    }
    ~RowTest() override {
        EXPECT_TRUE(app::ErrorSink::Instance().Errors().empty());
        host.reset();
        ui::Environment::Instance().Reset();
    }
    ctlParameter& Row() { return *form->row; }

    P<Form> form;
    std::unique_ptr<ui::Host> host;
    std::shared_ptr<EventLog> log;
};

using Events = std::vector<std::string>;

TEST_F(RowTest, TypingEditsAPlainRowAndCommitOrCancelEndsTheEdit) {
    Row().ControlType(ctl::kRowPlain);
    Row().Value(Variant::Str("old"));
    EXPECT_TRUE(RowInput::Type(Row(), "ab"));
    EXPECT_TRUE(RowInput::Type(Row(), "abc"));
    EXPECT_TRUE(Row().Editing());
    EXPECT_TRUE(RowInput::Commit(Row()));
    EXPECT_FALSE(Row().Editing());
    EXPECT_FALSE(RowInput::Commit(Row())) << "no edit runs";
    EXPECT_TRUE(RowInput::Type(Row(), "x"));
    EXPECT_TRUE(RowInput::Cancel(Row()));
    EXPECT_EQ(com::CStr(Row().Value()), "abc");
    EXPECT_EQ(log->events, (Events{"StartEdit", "Change ab", "Change abc", "EndEdit 1", "StartEdit", "Change x",
                                   "Change abc", "EndEdit 0"}));
}

TEST_F(RowTest, TypedTextIsCutAndUpperCasedAsTheRowSays) {
    Row().ValueMaxLength(4);
    Row().ValueUpperCase(true);
    RowInput::Type(Row(), "abcdef");
    EXPECT_EQ(com::CStr(Row().Value()), "ABCD");
}

TEST_F(RowTest, AMaskedRowTakesTheTypedTextAndDescribesItMasked) {
    Row().ControlType(ctl::kRowPlain);
    Row().PasswordChar('*');
    EXPECT_TRUE(RowInput::Type(Row(), "SERVICE42"));
    EXPECT_TRUE(RowInput::Commit(Row()));
    EXPECT_EQ(com::CStr(Row().Value()), "SERVICE42");
    const std::string json = ui::SnapshotJson(*form);
    EXPECT_EQ(json.find("SERVICE42"), std::string::npos) << json;
    EXPECT_NE(json.find("*********"), std::string::npos) << json;
}

TEST_F(RowTest, CodeWritingPropertiesRaisesNoEvent) {
    Row().Value(Variant::Lng(3));
    Row().Locked(true);
    Row().LabelText("x");
    Row().ControlType(ctl::kRowValueList);
    EXPECT_TRUE(log->events.empty());
}

TEST_F(RowTest, EachKindTakesItsOwnInputs) {
    struct Case {
        int32_t kind;
        bool type, select1, select9, bits, click;
    };
    const Case cases[] = {
        {ctl::kRowNotChosen, true, false, false, false, true},
        {ctl::kRowPlain, true, false, false, false, true},
        {ctl::kRowChosenForType10, false, true, true, false, true},
        {ctl::kRowValueList, false, true, false, false, true},
        {ctl::kRowBitList, false, false, false, true, true},
        {ctl::kRowCommand, false, false, false, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        Row().ControlType(c.kind);
        Row().ValueList("0:Off|1:On");
        EXPECT_EQ(RowInput::Type(Row(), "1"), c.type);
        if (Row().Editing()) RowInput::Commit(Row());
        EXPECT_EQ(RowInput::Select(Row(), 1), c.select1);
        EXPECT_EQ(RowInput::Select(Row(), 9), c.select9);
        EXPECT_EQ(RowInput::SetBits(Row(), {0, 2}), c.bits);
        EXPECT_EQ(RowInput::Click(Row()), c.click);
    }
}

TEST_F(RowTest, SelectAndSetBitsRunAWholeEdit) {
    Row().ControlType(ctl::kRowValueList);
    Row().ValueList("0:Off|1:On");
    RowInput::Select(Row(), 1);
    EXPECT_EQ(log->events, (Events{"StartEdit", "Change 1", "Click", "EndEdit 1"}));
    log->events.clear();
    Row().ControlType(ctl::kRowBitList);
    Row().Value(Variant::Str("0|0|0|0"));
    RowInput::SetBits(Row(), {1, 3});
    EXPECT_EQ(log->events, (Events{"StartEdit", "Change 0|1|0|1", "Click", "EndEdit 1"}));
}

TEST_F(RowTest, ReadOnlyRowsRefuseEditsButACommandRowTakesItsClick) {
    Row().ControlType(ctl::kRowPlain);
    Row().Locked(true);
    EXPECT_TRUE(Row().ReadOnly());
    EXPECT_FALSE(RowInput::Type(Row(), "1"));
    EXPECT_FALSE(RowInput::Click(Row()));
    Row().ControlType(ctl::kRowCommand);
    EXPECT_TRUE(RowInput::Click(Row()));
    Row().Locked(false);
    Row().SiteEditable(false);
    EXPECT_TRUE(Row().ReadOnly());
    EXPECT_FALSE(RowInput::Click(Row()));
    Row().SiteEditable(true);
    Row().Visible(false);
    EXPECT_FALSE(RowInput::Click(Row())) << "a hidden row takes nothing";
    EXPECT_EQ(log->events, (Events{"Click"}));
}

TEST_F(RowTest, KeysAndMenuItemsReachTheSink) {
    Row().AddMenuItem("Help");
    EXPECT_EQ(RowInput::Key(Row(), 112, 1), 0) << "the handler cleared the key";
    EXPECT_EQ(RowInput::Key(Row(), 113, 0), 113);
    EXPECT_TRUE(RowInput::Menu(Row(), 1));
    EXPECT_FALSE(RowInput::Menu(Row(), 2)) << "no such item";
    EXPECT_EQ(log->events, (Events{"Key 112 1", "Key 113 0", "Menu 1"}));
}

TEST_F(RowTest, FocusLeavingAnEditingRowCommitsIt) {
    Row().SetFocus();
    RowInput::Type(Row(), "5");
    form->other->SetFocus();
    EXPECT_FALSE(Row().Editing());
    EXPECT_EQ(log->events.back(), "EndEdit 1");
}

// The link that lets go commits the edit itself; the next one starts its own.
TEST_F(RowTest, ARowBoundToAnotherSinkStartsTheNextEditAfresh) {
    Row().ControlType(ctl::kRowPlain);
    RowInput::Type(Row(), "1");
    auto next = std::make_shared<EventLog>();
    next->row = form->row.get();
    Row().EventSink(next);
    EXPECT_FALSE(Row().Editing());
    EXPECT_EQ(log->events, (Events{"StartEdit", "Change 1"}));
    EXPECT_TRUE(RowInput::Type(Row(), "2"));
    EXPECT_EQ(next->events, (Events{"StartEdit", "Change 2"}));
}

TEST_F(RowTest, AnErrorOfTheHandlerIsTrappedAtTheInput) {
    class Failing : public EventLog {
        void OnClick() override { com::Raise(5, "bad"); }
    };
    auto failing = std::make_shared<Failing>();
    Row().EventSink(failing);
    EXPECT_FALSE(RowInput::Click(Row()));
    auto& sink = app::ErrorSink::Instance();
    ASSERT_EQ(sink.Errors().size(), 1u);
    EXPECT_EQ(sink.Errors()[0].where, "input ctlParameter.0 Click");
    sink.Clear();
}

TEST_F(RowTest, MenuItemTextOutOfRangeRaises9) {
    Row().AddMenuItem("");
    Row().MenuItemText(1, "Help");
    EXPECT_EQ(Row().MenuItemText(1), "Help");
    try {
        Row().MenuItemText(2);
        ADD_FAILURE();
    } catch (const com::ComError& e) {
        EXPECT_EQ(e.number, 9);
    }
}

TEST(RowDisplayText, ShowsWhatTheUserSees) {
    struct Case {
        int32_t kind;
        Variant value;
        std::string format, list, expected;
        char mask = '\0';
    };
    const Case cases[] = {
        {ctl::kRowPlain, Variant::Dbl(1.25), "0.0", "", "1.3"},
        {ctl::kRowPlain, Variant::Dbl(1.25), "", "", "1.25"},
        {ctl::kRowPlain, Variant::Str("FT-101"), "0.0", "", "FT-101"},
        {ctl::kRowValueList, Variant::Int(1), "", "0:Off|1:On", "On"},
        {ctl::kRowValueList, Variant::Int(7), "", "0:Off|1:On", "7"},
        {ctl::kRowChosenForType10, Variant::Lng(0), "", "0:No|1:Yes", "No"},
        {ctl::kRowBitList, Variant::Str("1|0|1|0"), "", "0:A|2:C", "0:A, 2:C"},
        {ctl::kRowBitList, Variant::Str("0|1"), "", "", "1"},
        {ctl::kRowPlain, Variant(), "", "", ""},
        {ctl::kRowPlain, Variant::Str("SERVICE42"), "", "", "*********", '*'},
        {ctl::kRowPlain, Variant::Str("AB C\xc3\xa4  "), "", "", "** **  ", '*'},  // blanks stay, one per character
        {ctl::kRowPlain, Variant::Str("         "), "", "", "         ", '*'},
    };
    for (const auto& c : cases) {
        ctlParameter row;
        row.ControlType(c.kind);
        row.Value(c.value);
        row.ValueFormat(c.format);
        row.ValueList(c.list);
        row.PasswordChar(c.mask);
        EXPECT_EQ(row.DisplayText(), c.expected) << c.kind << " " << c.list << " " << c.expected;
    }
    ctlParameter command;
    command.ControlType(ctl::kRowCommand);
    command.LabelText("Reset");
    EXPECT_EQ(command.DisplayText(), "Reset");
}

TEST(ValueListParse, SkipsEntriesWithoutANumber) {
    const auto entries = ctl::ParseValueList("0:Off|x:bad|nocolon|-1:Minus|2:Two:words");
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[1].code, -1);
    EXPECT_EQ(entries[2].text, "Two:words");
}

TEST_F(RowTest, AnUninitialisedSiteIgnoresEveryCallButInitSite) {
    bool editable = false;
    form->site->SiteLockStateChanged(editable);
    form->site->SiteParameterSetChanged();
    form->site->ExitSite();
    EXPECT_TRUE(form->site->Editable());
    EXPECT_EQ(form->site->Pictures()->Count(), 14);
    EXPECT_TRUE(form->site->Pictures()->Contains("OnlineValue"));
}

TEST_F(RowTest, SnapshotLineOfAnUnboundRow) {
    Row().parameterTag("PHYS/NONE");
    const std::string text = ui::Snapshot(*form);
    EXPECT_NE(text.find("row ctlParameter.0 tag=\"PHYS/NONE\" unbound"), std::string::npos) << text;
}

}  // namespace

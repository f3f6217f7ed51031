#include <gtest/gtest.h>

#include "platform/ui/Input.h"
#include "platform/ui/Snapshot.h"
#include "platform/ui/Timer.h"
#include "ui_fixture.h"

using namespace uitest;

namespace {

class SnapshotTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        form_ = std::make_shared<TestForm>();
        host_ = std::make_unique<Host>(form_);
        host_->Show();
        form_->strip->Tabs().Add(0, "one", "First");
        form_->strip->Tabs().Add(0, "two", "Second");
        TakeLog();
    }
    void TearDown() override {
        host_.reset();
        form_.reset();
        UiTest::TearDown();
    }

    P<TestForm> form_;
    std::unique_ptr<Host> host_;
};

}  // namespace

TEST_F(SnapshotTest, TextFormShowsTheVisibleTreeInCollectionOrder) {
    form_->cmdOK->Visible(false);
    form_->chkA->Enabled(false);
    form_->chkA->Value(1);
    form_->bar->Value(7);
    EXPECT_EQ(Snapshot(*form_),
              "TestForm TestForm focus\n"
              "  Frame frmA \"Group\"\n"
              "    CheckBox chkA \"Option\" [x]\n"
              "    InnerControl inner\n"
              "      CommandButton cmdInner \"Inner\"\n"
              "  Label lblInfo \"Say \\\"hi\\\"\"\n"
              "  TabStrip TabStrip selected=1\n"
              "    tab 1 key=\"one\" \"First\"\n"
              "    tab 2 key=\"two\" \"Second\"\n"
              "  VScrollBar bar value=7 min=0 max=100\n");

    // Every control with its flags; a subtree from its root.
    form_->frmA->Visible(false);
    win::ShowWindow(form_->inner->hWnd(), 0);
    EXPECT_EQ(Snapshot(*form_->frmA, {.all = true}),
              "Frame frmA hidden \"Group\"\n"
              "  CheckBox chkA disabled \"Option\" [x]\n"
              "  InnerControl inner win-hidden\n"
              "    CommandButton cmdInner \"Inner\"\n");
    EXPECT_EQ(Snapshot(*form_->frmA), "");
}

TEST_F(SnapshotTest, JsonFormHoldsEveryControl) {
    class Tiny : public UserControl {
    public:
        std::string TypeName() const override { return "Tiny"; }

    protected:
        void BuildForm() override {
            auto lbl = Place<Label>("lbl", 2);
            lbl->Caption("A\nB");
            lbl->Visible(false);
            Place<ui::Timer>("tmr")->Interval(4000);
        }
    };
    auto tiny = std::make_shared<Tiny>();
    Host host(tiny, 300, 200);
    host.Show();
    EXPECT_EQ(SnapshotJson(*tiny),
              "{\"kind\": \"Tiny\", \"name\": \"\", \"index\": null, \"visible\": true, \"effectiveVisible\": true, "
              "\"windowHidden\": false, \"enabled\": true, \"focus\": true, "
              "\"props\": {\"left\": 0, \"top\": 0, \"width\": 300, \"height\": 200}, \"children\": ["
              "{\"kind\": \"Label\", \"name\": \"lbl\", \"index\": 2, \"visible\": false, \"effectiveVisible\": false, "
              "\"windowHidden\": false, \"enabled\": true, \"focus\": false, "
              "\"props\": {\"left\": 0, \"top\": 0, \"width\": 0, \"height\": 0, \"caption\": \"A\\nB\"}, "
              "\"children\": []}, "
              "{\"kind\": \"Timer\", \"name\": \"tmr\", \"index\": null, \"visible\": true, \"effectiveVisible\": true, "
              "\"windowHidden\": false, \"enabled\": true, \"focus\": false, "
              "\"props\": {\"left\": 0, \"top\": 0, \"width\": 0, \"height\": 0, \"interval\": 4000, \"enabled\": true}, "
              "\"children\": []}]}\n");
    EXPECT_EQ(Snapshot(*tiny), "Tiny Tiny focus\n  Timer tmr interval=4000 on\n");
}

TEST_F(SnapshotTest, ValuesInTheirTextForms) {
    EXPECT_EQ(ValueText(Variant()), "<empty>");
    EXPECT_EQ(ValueText(Variant::Null()), "<null>");
    EXPECT_EQ(ValueText(Variant::ByteArray({0x01, 0xA0})), "{01 A0}");
    EXPECT_EQ(ValueText(Variant::Dbl(1.5)), "1.5");
    EXPECT_EQ(ValueText(Variant("a\t\"b\"\x01")), "\"a\\t\\\"b\\\"\\x01\"");
    EXPECT_EQ(JsonVariant(Variant::Dbl(1.5)), "{\"vt\": \"Double\", \"text\": \"1.5\"}");
    EXPECT_EQ(JsonString("\x01"), "\"\\u0001\"");
}

// JSON text is UTF-8: a byte that is no part of a well-formed character is
// escaped with its value; well-formed characters of every length stay as they are.
TEST_F(SnapshotTest, JsonStringsAreUtf8WhateverBytesTheTextHolds) {
    const struct {
        const char* name;
        std::string text;
        std::string json;
    } cases[] = {
        {"well-formed", "\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80", "\"\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80\""},
        {"lead without continuation", "\xC3(\xFF\x01x", "\"\\u00C3(\\u00FF\\u0001x\""},
        {"stray continuation", "a\x80\xBF", "\"a\\u0080\\u00BF\""},
        {"cut short at the end", "\xE2\x82", "\"\\u00E2\\u0082\""},
        {"overlong", "\xC0\xAF", "\"\\u00C0\\u00AF\""},
        {"surrogate", "\xED\xA0\x80", "\"\\u00ED\\u00A0\\u0080\""},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", "\"\\u00F4\\u0090\\u0080\\u0080\""},
    };
    for (const auto& c : cases) EXPECT_EQ(JsonString(c.text), c.json) << c.name;
    // The text form keeps the bytes as they are.
    EXPECT_EQ(Quote("\xFF"), "\"\xFF\"");
}

TEST_F(SnapshotTest, InputIsTrappedIntoTheErrorSinkAndAnswersWhetherItWasTaken) {
    form_->inner->cmdInner->Click.Connect([] { com::Raise(5, "refused by handler"); });
    EXPECT_FALSE(Input::Click(*form_->inner->cmdInner));
    const auto errors = TakeErrors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].number, 5);
    EXPECT_EQ(errors[0].where, "input inner.cmdInner Click");

    int clicks = 0;
    form_->cmdOK->Click.Connect([&] { ++clicks; });
    EXPECT_TRUE(Input::Click(*form_->cmdOK));
    form_->cmdOK->Enabled(false);
    EXPECT_FALSE(Input::Click(*form_->cmdOK));  // disabled: refused, nothing recorded
    form_->cmdOK->Enabled(true);
    form_->cmdOK->Visible(false);
    EXPECT_FALSE(Input::Click(*form_->cmdOK));  // hidden
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(Input::Click(*form_->lblInfo));  // a label takes no click

    int checks = 0;
    form_->chkA->Click.Connect([&] { ++checks; });
    EXPECT_TRUE(Input::Check(*form_->chkA, true));
    EXPECT_TRUE(Input::Check(*form_->chkA, true));  // already checked: no Click
    form_->chkA->Value(2);
    EXPECT_TRUE(Input::Check(*form_->chkA, true));  // grayed → unchecked → checked
    EXPECT_EQ(form_->chkA->Value(), 1);
    form_->frmA->Enabled(false);
    EXPECT_FALSE(Input::Check(*form_->chkA, false));  // its frame is disabled
    EXPECT_EQ(checks, 4);
    form_->frmA->Enabled(true);

    // A handler that unticks the box again gets one click, not a second try.
    form_->chkA->Value(0);
    int refusals = 0;
    form_->chkA->Click.Connect([&] {
        if (form_->chkA->Value() != 1) return;
        ++refusals;
        form_->chkA->Value(0);
    });
    EXPECT_TRUE(Input::Check(*form_->chkA, true));
    EXPECT_EQ(refusals, 1);
    EXPECT_EQ(form_->chkA->Value(), 0);
    form_->chkA->Value(2);  // from grayed, the first click unticks; the handler leaves that alone
    EXPECT_TRUE(Input::Check(*form_->chkA, true));
    EXPECT_EQ(refusals, 2);

    int tabClicks = 0;
    form_->strip->Click.Connect([&] { ++tabClicks; });
    EXPECT_TRUE(Input::ClickTab(*form_->strip, 1));  // the selected tab raises Click too
    EXPECT_FALSE(Input::ClickTab(*form_->strip, 3));
    EXPECT_EQ(tabClicks, 1);

    EXPECT_TRUE(Input::Scroll(*form_->bar, 500));  // the user cannot scroll past Max
    EXPECT_EQ(form_->bar->Value(), 100);
    EXPECT_TRUE(Input::Resize(*host_, 5000, 5000));
    EXPECT_FALSE(Input::SetAmbient(*host_, "Font", Variant("x")));
    EXPECT_EQ(TakeErrors().size(), 1u);
}

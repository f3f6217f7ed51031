#include <gtest/gtest.h>

#include "ErrorOf.h"
#include "platform/ui/CommonControls.h"
#include "platform/ui/IntrinsicControls.h"
#include "platform/ui/Input.h"
#include "platform/ui/Timer.h"
#include "ui_fixture.h"

using namespace uitest;

namespace {

using WidgetTest = UiTest;

int64_t Now() { return app::EventLoop::Instance().Now(); }

}  // namespace

TEST_F(WidgetTest, TimerTicksOnTheVirtualClockAndRestartsItsCountdown) {
    auto timer = std::make_shared<ui::Timer>();
    std::vector<int64_t> ticks;
    timer->TimerEvent.Connect([&] { ticks.push_back(Now()); });
    auto& loop = app::EventLoop::Instance();

    loop.Advance(5000);  // Interval 0: never ticks
    EXPECT_TRUE(ticks.empty());
    timer->Interval(1000);
    loop.Advance(2500);  // 6000, 7000
    timer->Interval(400);  // countdown restarts at 7500
    loop.Advance(1000);    // 7900, 8300
    timer->Enabled(false);
    loop.Advance(5000);
    timer->Enabled(true);  // restarts at 13500
    loop.Advance(400);
    EXPECT_EQ(ticks, (std::vector<int64_t>{6000, 7000, 7900, 8300, 13900}));

    // A handler may stop the timer: the next tick was armed before it ran.
    ticks.clear();
    timer->TimerEvent.Connect([&] { timer->Enabled(false); });
    loop.Advance(2000);
    EXPECT_EQ(ticks, (std::vector<int64_t>{14300}));
    EXPECT_EQ(loop.PendingCount(), 0u);

    EXPECT_EQ(ErrorOf([&] { timer->Interval(65536); }), 380);
    EXPECT_EQ(ErrorOf([&] { timer->Interval(-1); }), 380);
    EXPECT_EQ(timer->Interval(), 400);
    timer->Interval(65535);
}

TEST_F(WidgetTest, TimerErrorIsTrappedByTheLoopAndTimerDestroyedInItsTickIsSafe) {
    auto failing = std::make_shared<ui::Timer>();
    failing->Interval(100);
    failing->TimerEvent.Connect([] { com::Raise(5, "tick failed"); });
    auto self = std::make_shared<ui::Timer>();
    self->Interval(150);
    self->TimerEvent.Connect([&] { self.reset(); });
    app::EventLoop::Instance().Advance(250);
    EXPECT_EQ(self, nullptr);
    const auto errors = TakeErrors();
    ASSERT_EQ(errors.size(), 2u);  // 100 and 200
    EXPECT_EQ(errors[0].number, 5);
    EXPECT_EQ(errors[0].where, "EventLoop");
}

TEST_F(WidgetTest, CheckBoxClickFollowsEveryChangeAtOnceAndNests) {
    CheckBox first, second;
    Log log;
    first.Click.Connect([&] {
        log.push_back("first " + std::to_string(first.Value()));
        second.Value(first.Value());  // nested: second's Click runs inside
        log.push_back("first done");
    });
    second.Click.Connect([&] { log.push_back("second " + std::to_string(second.Value())); });

    first.Value(1);
    EXPECT_EQ(log, (Log{"first 1", "second 1", "first done"}));
    log.clear();
    first.Value(1);  // same value: no Click
    EXPECT_TRUE(log.empty());
    first.Value(2);
    first.UserClick();  // grayed → unchecked
    first.UserClick();  // unchecked → checked
    EXPECT_EQ(log, (Log{"first 2", "second 2", "first done", "first 0", "second 0", "first done", "first 1",
                        "second 1", "first done"}));
    EXPECT_EQ(ErrorOf([&] { first.Value(3); }), 380);
    EXPECT_EQ(ErrorOf([&] { first.Value(-1); }), 380);
    EXPECT_EQ(first.Value(), 1);
}

TEST_F(WidgetTest, OptionButtonClearsItsArrayInTheSameContainer) {
    class Options : public UserControl {
    public:
        P<Frame> frm;
        P<OptionButton> a1, a2, b1, aOther;

    protected:
        void BuildForm() override {
            a1 = Place<OptionButton>("optA", 1);
            a2 = Place<OptionButton>("optA", 2);
            b1 = Place<OptionButton>("optB", 1);
            frm = Place<Frame>("frm");
            aOther = Place<OptionButton>("optA", 3, frm.get());
        }
    };
    auto form = std::make_shared<Options>();
    form->Create();
    int clicks = 0;
    form->a2->Click.Connect([&] { ++clicks; });
    for (const auto& o : {form->a1, form->b1, form->aOther}) o->Value(true);
    form->a2->Value(true);
    form->a2->Value(true);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(form->a1->Value());
    EXPECT_TRUE(form->b1->Value());      // another array
    EXPECT_TRUE(form->aOther->Value());  // another container
}

TEST_F(WidgetTest, ScrollBarClampsAndRaisesChangeOnEveryChangeOfValue) {
    VScrollBar bar;
    std::vector<int16_t> changes;
    bar.Change.Connect([&] { changes.push_back(bar.Value()); });
    bar.Max(100);
    bar.Value(40);
    bar.Value(40);  // unchanged: no Change
    bar.Max(30);    // clamped down
    bar.Min(35);    // Min above Max: the range is 30..35
    bar.Min(0);
    bar.Max(10);
    EXPECT_EQ(changes, (std::vector<int16_t>{40, 30, 10}));
    for (const int16_t bad : {int16_t{-1}, int16_t{11}})
        EXPECT_EQ(ErrorOf([&] { bar.Value(bad); }), 380) << bad;
    EXPECT_EQ(bar.Value(), 10);
    EXPECT_EQ(bar.Clamp(-100), 0);
    EXPECT_EQ(bar.Clamp(100000), 10);

    ProgressBar progress;
    progress.Value(100);
    EXPECT_EQ(ErrorOf([&] { progress.Value(100.5f); }), 380);
    EXPECT_EQ(ErrorOf([&] { progress.Value(-1); }), 380);
    EXPECT_EQ(progress.Value(), 100);
}

TEST_F(WidgetTest, TabStripSelectionRules) {
    TabStrip strip;
    std::vector<int32_t> clicks;  // index selected at each Click
    strip.Click.Connect([&] { clicks.push_back(strip.SelectedItem() ? strip.SelectedItem()->Index() : 0); });
    EXPECT_EQ(strip.SelectedItem(), nullptr);

    auto one = strip.Tabs().Add(0, "one", "One");  // the first tab is selected, no Click
    EXPECT_EQ(strip.SelectedItem(), one);
    auto three = strip.Tabs().Add(0, "three", "Three");
    auto two = strip.Tabs().Add(2, "two", "Two");  // inserted before "three"
    EXPECT_EQ(two->Index(), 2);
    EXPECT_EQ(three->Index(), 3);
    EXPECT_EQ(strip.Tabs().Item("TWO"), two);  // keys ignore ASCII case
    EXPECT_TRUE(clicks.empty());

    strip.UserClickTab(1);        // the user clicks the selected tab: Click
    strip.SelectedItem(one);      // code: unchanged, no Click
    strip.SelectedItem(three);    // code: changed, Click
    two->Selected(true);          // the same as a let of SelectedItem
    strip.UserClickTab(2);
    EXPECT_EQ(clicks, (std::vector<int32_t>{1, 3, 2, 2}));
    EXPECT_TRUE(two->Selected());

    clicks.clear();
    strip.Tabs().Remove("two");  // the selected tab: tab 1 is selected, no Click
    EXPECT_EQ(strip.SelectedItem(), one);
    EXPECT_EQ(two->Index(), 0);
    strip.Tabs().Remove(2);      // another tab: the selection stays
    EXPECT_EQ(strip.SelectedItem(), one);
    strip.Tabs().Remove(1);
    EXPECT_EQ(strip.SelectedItem(), nullptr);
    EXPECT_TRUE(clicks.empty());

    strip.Tabs().Add(0, "a");
    strip.Tabs().Add(0, "");
    strip.Tabs().Add(0, "");  // empty keys may repeat
    TabStrip other;
    auto foreign = other.Tabs().Add(0, "x");
    struct Case {
        const char* what;
        std::function<void()> call;
        int32_t error;
    } cases[] = {
        {"duplicate key", [&] { strip.Tabs().Add(0, "A"); }, 457},
        {"re-key onto another", [&] { strip.Tabs().Item(2)->Key("a"); }, 457},
        {"missing key", [&] { strip.Tabs().Item("nothing"); }, 5},
        {"index 0", [&] { strip.Tabs().Item(0); }, 9},
        {"index past the end", [&] { strip.Tabs().Item(4); }, 9},
        {"insert past the end", [&] { strip.Tabs().Add(5, "b"); }, 9},
        {"remove past the end", [&] { strip.Tabs().Remove(4); }, 9},
        {"user click past the end", [&] { strip.UserClickTab(4); }, 9},
        {"foreign tab", [&] { strip.SelectedItem(foreign); }, 5},
    };
    for (const auto& c : cases) EXPECT_EQ(ErrorOf(c.call), c.error) << c.what;
    EXPECT_EQ(strip.Tabs().Count(), 3);
    strip.Tabs().Clear();
    EXPECT_EQ(strip.SelectedItem(), nullptr);
    EXPECT_TRUE(clicks.empty());
}

TEST_F(WidgetTest, StatusBarPanelsAndImageList) {
    StatusBar bar;
    bar.Move(100, 0, 9000, 300);
    auto p1 = bar.AddPanel(0, "pnlOnOffline", "Offline");
    auto p2 = bar.AddPanel(0, "pnlParamChange");
    auto p3 = bar.AddPanel(0, "pnlLast");
    p1->Width(1000);
    p2->Width(2000);
    EXPECT_EQ(p3->Left(), 100 + 1000 + 2000);
    p2->Visible(false);
    EXPECT_EQ(p3->Left(), 100 + 1000);
    EXPECT_EQ(bar.Panels("PNLLAST"), p3);
    EXPECT_EQ(p3->Index(), 3);
    EXPECT_EQ(ErrorOf([&] { bar.Panels(4); }), 9);
    EXPECT_EQ(ErrorOf([&] { bar.Panels("none"); }), 5);
    EXPECT_EQ(ErrorOf([&] { bar.AddPanel(0, "pnlLast"); }), 457);

    ImageList images;
    auto saved = ui::Picture::Make("k_saved", 16, 16);
    images.Add("k_saved", saved);
    EXPECT_EQ(images.ListImages("K_SAVED")->Picture, saved);
    EXPECT_EQ(images.ListImages(1)->Key, "k_saved");
    EXPECT_EQ(ErrorOf([&] { images.Add("k_saved", saved); }), 457);
    EXPECT_EQ(ErrorOf([&] { images.ListImages(2); }), 9);
    EXPECT_EQ(ErrorOf([&] { images.ListImages("k_none"); }), 5);
    EXPECT_EQ(images.hWnd(), 0);
}

TEST_F(WidgetTest, UserControlScaleMetricsCanvasAndPropertyChanges) {
    LoggingControl page;
    page.Width(3000);
    EXPECT_EQ(page.ScaleWidth(), 3000);
    EXPECT_FLOAT_EQ(UserControl::ScaleX(10, vbPixels, vbTwips), 150);
    EXPECT_FLOAT_EQ(UserControl::ScaleX(2540, vbHimetric, vbTwips), 1440);
    EXPECT_FLOAT_EQ(UserControl::ScaleY(1440, vbTwips, vbHimetric), 2540);
    EXPECT_EQ(ErrorOf([] { UserControl::ScaleX(1, 7, vbTwips); }), 5);
    EXPECT_EQ(UserControl::TextWidth("Größe"), 450);  // characters, not bytes
    EXPECT_EQ(UserControl::TextHeight("x"), 195);

    page.Canvas().FillRect(0, 0, 10, 10, 255);
    EXPECT_EQ(page.Canvas().Fills().size(), 1u);
    TakeLog();
    page.Refresh();
    EXPECT_TRUE(page.Canvas().Fills().empty());
    EXPECT_EQ(TakeLog(), Log{"UserControl.Paint"});
    page.PropertyChanged("Interval");
    EXPECT_EQ(page.PropertyChanges(), (std::vector<std::string>{"Interval"}));
    EXPECT_EQ(page.PropertyChangeCount(), 1u);
}

// A control that marks a property on every value it shows keeps a bounded record.
TEST_F(WidgetTest, UserControlKeepsItsLastPropertyChanges) {
    LoggingControl page;
    const size_t kept = UserControl::kKeptPropertyChanges;
    for (size_t i = 0; i < 3 * kept; ++i) page.PropertyChanged("P" + std::to_string(i));
    ASSERT_EQ(page.PropertyChanges().size(), kept);
    EXPECT_EQ(page.PropertyChanges().front(), "P" + std::to_string(2 * kept));
    EXPECT_EQ(page.PropertyChanges().back(), "P" + std::to_string(3 * kept - 1));
    EXPECT_EQ(page.PropertyChangeCount(), 3 * kept);
}

TEST_F(WidgetTest, TextBoxDropsItsOldestTextAndKeepsTheRestAsAppended) {
    // Appends and drops, some dropping less than is kept and some more; after
    // each the text box must hold what a plain text would.
    struct Step {
        const char* append;
        size_t drop;
    };
    const Step steps[] = {{"line 1\r\n", 0}, {"line 2\r\n", 3},  {"line 3\r\n", 2},   {"line 4\r\n", 15},
                          {"5\r\n", 1},       {"6\r\n", 0},       {"seven\r\n", 9},    {"", 2},
                          {"eight\r\n", 100}, {"nine\r\n", 0},    {"ten\r\n", 6}};
    ui::TextBox box;
    std::string expected;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.append);
        box.AppendText(step.append);
        expected += step.append;
        box.DropFront(step.drop);
        expected.erase(0, step.drop);
        EXPECT_EQ(box.TextView(), expected);
        if (step.drop % 2 == 0) {
            EXPECT_EQ(box.Text(), expected);  // read now and then, as a page does
        }
    }
    EXPECT_EQ(box.Text(), expected);
    box.DropFront(2);
    box.Text("new");
    EXPECT_EQ(box.TextView(), "new");
    box.AppendText("er");
    EXPECT_EQ(box.Text(), "newer");
}

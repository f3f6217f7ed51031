#include <gtest/gtest.h>

#include "ErrorOf.h"
#include "platform/com/ClassRegistry.h"
#include "platform/ui/Input.h"
#include "ui_fixture.h"

using namespace uitest;

namespace {

using FormTest = UiTest;

struct NotAControl : com::Object {};

}  // namespace

TEST_F(FormTest, CreationBuildsConstituentsWholeThenTheFormThenResizeWhenHosted) {
    auto form = std::make_shared<TestForm>();
    form->Create();
    EXPECT_EQ(TakeLog(), (Log{"TestForm.BuildForm", "inner.BuildForm", "inner.Initialize",
                              "inner.ReadProperties designed", "TestForm.Initialize", "TestForm.InitProperties"}));
    form->Create();  // once only
    EXPECT_TRUE(TakeLog().empty());

    Host host(form, 6000, 4000);
    EXPECT_EQ(TakeLog(), (Log{"TestForm.Resize"}));
    host.Resize(6000, 4000);  // same size: nothing
    form->Move(10, 20);       // position only: nothing
    EXPECT_TRUE(TakeLog().empty());
    host.Resize(7000, 4000);
    EXPECT_EQ(TakeLog(), (Log{"TestForm.Resize"}));

    // Controls in design order, whatever their container.
    std::vector<std::string> names;
    for (const auto& c : form->Controls()) names.push_back(c->Name);
    EXPECT_EQ(names, (std::vector<std::string>{"frmA", "chkA", "inner", "cmdOK", "lblInfo", "TabStrip", "bar"}));
    EXPECT_EQ(form->chkA->Parent(), form.get());
    EXPECT_EQ(form->chkA->Container(), form->frmA.get());
    EXPECT_EQ(form->inner->cmdInner->Parent(), form->inner.get());
    EXPECT_EQ(ControlPath(*form->inner->cmdInner), "inner.cmdInner");
    EXPECT_EQ(form->inner->Object(), form->inner);
}

TEST_F(FormTest, ControlsAddItemAndRemove) {
    auto& registry = com::ClassRegistry::Global();
    registry.Register("test.uiInner", [] { return std::make_shared<InnerControl>(); });
    registry.Register("test.uiNotAControl", [] { return std::make_shared<NotAControl>(); });
    auto form = std::make_shared<TestForm>();
    Host host(form);
    host.Show();
    TakeLog();

    auto added = form->Controls().Add("test.uiInner", "added");
    ASSERT_TRUE(added);
    EXPECT_EQ(TakeLog(), (Log{"InnerControl.BuildForm", "InnerControl.Initialize", "InnerControl.InitProperties"}));
    EXPECT_FALSE(added->Visible());
    EXPECT_EQ(added->Left(), 0);
    EXPECT_EQ(added->Parent(), form.get());
    EXPECT_EQ(added->Container(), form.get());
    EXPECT_EQ(form->Controls().At(form->Controls().Count() - 1), added);
    added->Visible(true);
    EXPECT_EQ(TakeLog(), (Log{"added.Show"}));

    struct Case {
        const char* what;
        std::function<void()> call;
        int32_t error;
    } cases[] = {
        {"duplicate name", [&] { form->Controls().Add("test.uiInner", "ADDED"); }, 457},
        {"unknown id", [&] { form->Controls().Add("test.nothing", "x"); }, 429},
        {"not a control", [&] { form->Controls().Add("test.uiNotAControl", "y"); }, 13},
        {"missing item", [&] { form->Controls().Item("nothing"); }, 5},
        {"missing index", [&] { form->Controls().Item("cmdOK", 3); }, 9},
        {"missing array", [&] { form->Controls().Item("nothing", 3); }, 5},
        {"remove missing", [&] { form->Controls().Remove("nothing"); }, 5},
        {"position", [&] { form->Controls().At(99); }, 9},
    };
    const int32_t count = form->Controls().Count();
    for (const auto& c : cases) EXPECT_EQ(ErrorOf(c.call), c.error) << c.what;
    EXPECT_EQ(form->Controls().Count(), count);  // nothing added by a failed Add
    EXPECT_EQ(TakeLog(), Log{});                // the duplicate was refused before creation

    EXPECT_EQ(form->Controls().Item("CMDOK"), form->cmdOK);  // names ignore case
    form->cmdOK->SetFocus();
    form->Controls().Remove("cmdOK");
    EXPECT_EQ(form->cmdOK->Parent(), nullptr);
    EXPECT_EQ(form->cmdOK->Container(), nullptr);
    EXPECT_EQ(host.Focus().Focused(), nullptr);  // the focus left with it
    EXPECT_EQ(form->Controls().Count(), count - 1);
}

TEST_F(FormTest, EffectiveVisibilityRaisesShowAndHideOutermostFirst) {
    auto form = std::make_shared<TestForm>();
    Host host(form);
    TakeLog();
    EXPECT_FALSE(form->lblInfo->EffectiveVisible());  // host not shown

    host.Show();
    EXPECT_EQ(TakeLog(), (Log{"TestForm.Show", "inner.Show", "TestForm.EnterFocus"}));
    EXPECT_TRUE(form->inner->cmdInner->EffectiveVisible());

    form->frmA->Visible(false);  // hides the inner control with its frame
    EXPECT_EQ(TakeLog(), (Log{"inner.Hide"}));
    EXPECT_FALSE(form->chkA->EffectiveVisible());
    EXPECT_TRUE(form->chkA->Visible());
    form->inner->Visible(false);  // no change of the effective state
    form->frmA->Visible(true);
    EXPECT_TRUE(TakeLog().empty());
    form->inner->Visible(true);
    EXPECT_EQ(TakeLog(), (Log{"inner.Show"}));

    // ShowWindow marks the window hidden apart from Visible; a let to True clears it.
    const int64_t handle = form->inner->hWnd();
    EXPECT_NE(handle, 0);
    EXPECT_EQ(form->lblInfo->hWnd(), 0);  // windowless
    win::ShowWindow(handle, 0);
    EXPECT_TRUE(form->inner->WindowHidden());
    EXPECT_TRUE(form->inner->Visible());
    EXPECT_FALSE(form->inner->cmdInner->EffectiveVisible());
    EXPECT_EQ(TakeLog(), (Log{"inner.Hide"}));
    form->inner->Visible(true);
    EXPECT_FALSE(form->inner->WindowHidden());
    EXPECT_EQ(TakeLog(), (Log{"inner.Show"}));

    host.Hide();
    EXPECT_EQ(TakeLog(), (Log{"TestForm.Hide", "inner.Hide"}));
}

TEST_F(FormTest, EnabledIsOwnFlagAndContainers) {
    auto form = std::make_shared<TestForm>();
    Host host(form);
    host.Show();
    form->frmA->Enabled(false);
    EXPECT_TRUE(form->chkA->Enabled());
    EXPECT_FALSE(form->chkA->EffectiveEnabled());
    EXPECT_FALSE(form->inner->cmdInner->EffectiveEnabled());
    EXPECT_TRUE(form->cmdOK->EffectiveEnabled());
}

TEST_F(FormTest, AmbientLocaleReachesEveryUserControlDepthFirst) {
    auto form = std::make_shared<TestForm>();
    Host host(form);
    EXPECT_EQ(form->inner->Ambient().LocaleID, 1033);
    TakeLog();
    EXPECT_TRUE(Input::SetAmbient(host, "LocaleID", Variant::Lng(1031)));
    EXPECT_EQ(TakeLog(), (Log{"TestForm.AmbientChanged LocaleID", "inner.AmbientChanged LocaleID"}));
    EXPECT_EQ(form->inner->Ambient().LocaleID, 1031);
    EXPECT_EQ(ErrorOf([&] { host.SetAmbient("UserMode", Variant::Bool(true)); }), 5);
}

namespace {

// page > outer > deeper, each user control with a button.
class Outer : public LoggingControl {
public:
    std::string TypeName() const override { return "Outer"; }
    P<CommandButton> cmdOuter;
    P<InnerControl> deeper;

protected:
    void BuildForm() override {
        cmdOuter = Place<CommandButton>("cmdOuter");
        deeper = Place<InnerControl>("deeper");
    }
};

class FocusForm : public LoggingControl {
public:
    std::string TypeName() const override { return "FocusForm"; }
    P<CommandButton> cmdTop, cmdHidden, cmdOff;
    P<Label> lbl;
    P<Outer> outer;

protected:
    void BuildForm() override {
        cmdTop = Place<CommandButton>("cmdTop");
        outer = Place<Outer>("outer");
        lbl = Place<Label>("lbl");
        cmdHidden = Place<CommandButton>("cmdHidden");
        cmdHidden->Visible(false);
        cmdOff = Place<CommandButton>("cmdOff");
        cmdOff->Enabled(false);
    }
};

}  // namespace

TEST_F(FormTest, FocusOrderWithEnterAndExitFocus) {
    auto form = std::make_shared<FocusForm>();
    Host host(form);
    auto& deeper = *form->outer->deeper;
    TakeLog();
    host.Show();
    EXPECT_EQ(TakeLog(), (Log{"FocusForm.Show", "outer.Show", "deeper.Show", "FocusForm.EnterFocus"}));
    FocusManager& focus = host.Focus();
    EXPECT_EQ(focus.Focused(), form.get());

    struct Step {
        Control* target;
        Log events;
    } steps[] = {
        {deeper.cmdInner.get(), {"outer.EnterFocus", "deeper.EnterFocus"}},
        {&deeper, {}},                                        // from its button to itself
        {form->cmdTop.get(), {"deeper.ExitFocus", "outer.ExitFocus"}},  // innermost first
        {form->outer->cmdOuter.get(), {"outer.EnterFocus"}},
        {deeper.cmdInner.get(), {"deeper.EnterFocus"}},
        {form->outer->cmdOuter.get(), {"deeper.ExitFocus"}},
        {form->outer->cmdOuter.get(), {}},
    };
    for (const auto& step : steps) {
        EXPECT_TRUE(Input::Focus(*step.target));
        EXPECT_EQ(focus.Focused(), step.target);
        EXPECT_EQ(TakeLog(), step.events) << ControlPath(*step.target);
    }

    // A SetFocus from ExitFocus starts from the new focus; the outer sequence ends.
    deeper.cmdInner->SetFocus();
    TakeLog();
    bool fired = false;
    deeper.Hook = [&](const std::string& event) {
        if (event != "ExitFocus" || fired) return;
        fired = true;
        form->outer->cmdOuter->SetFocus();
    };
    form->cmdTop->SetFocus();
    EXPECT_EQ(TakeLog(), (Log{"deeper.ExitFocus", "outer.EnterFocus"}));
    EXPECT_EQ(focus.Focused(), form->outer->cmdOuter.get());

    // Refused targets: not focusable, hidden, disabled, no host.
    Label loose;
    for (Control* refused : std::initializer_list<Control*>{form->lbl.get(), form->cmdHidden.get(), form->cmdOff.get()}) {
        EXPECT_EQ(ErrorOf([&] { refused->SetFocus(); }), 5) << refused->Name;
        EXPECT_FALSE(Input::Focus(*refused)) << refused->Name;
    }
    EXPECT_EQ(ErrorOf([&] { loose.SetFocus(); }), 5);
    EXPECT_TRUE(TakeLog().empty());
}

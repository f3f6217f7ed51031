#include "platform/rt/DtmGuiRegistry.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/app/ErrorSink.h"
#include "platform/com/Error.h"
#include "platform/rt/IPrivateGUI.h"

namespace {

using platform::P;
using platform::app::ErrorSink;
using platform::rt::DtmGuiRegistry;
using platform::rt::IPrivateDataElement;
using platform::rt::IPrivateGUI;

class FakePage : public IPrivateGUI {
public:
    FakePage(std::string name, std::vector<std::string>& log) : name_(std::move(name)), log_(log) {}

    bool CloseGUI() override { return Note("CloseGUI"), closeAnswer; }
    bool MayCloseGUI() const override { return closeAnswer; }
    void LockStateChanged(bool locked) override { Note(locked ? "Lock" : "Unlock"); }
    void ParameterChanged(const P<IPrivateDataElement>&) override { Note("ParameterChanged"); }
    void ParameterSetChanged() override { Note("ParameterSetChanged"); }
    void ValidateParameters() override { Note("ValidateParameters"); }
    void SetLanguage(int32_t) override { Note("SetLanguage"); }

    bool closeAnswer = true;
    bool raise = false;
    std::function<void()> during;  // runs inside every call

private:
    void Note(const std::string& what) {
        log_.push_back(name_ + "." + what);
        if (during) during();
        if (raise) platform::com::Raise(5);
    }
    std::string name_;
    std::vector<std::string>& log_;
};

class GuiRegistryTest : public ::testing::Test {
protected:
    void SetUp() override { ErrorSink::Instance().Clear(); }
    void TearDown() override { ErrorSink::Instance().Clear(); }

    P<FakePage> Page(const std::string& id, bool topLevel) {
        auto page = std::make_shared<FakePage>(id, log);
        registry.RegisterGUI(id, page, topLevel);
        return page;
    }

    DtmGuiRegistry registry;
    std::vector<std::string> log;
};

TEST_F(GuiRegistryTest, BroadcastsReachEveryPageInRegistrationOrder) {
    auto a = Page("A", true);
    auto child = Page("A1$", false);
    auto b = Page("B", true);

    registry.NotifyParameterChanged(nullptr, "");
    registry.NotifyParameterSetChanged();
    registry.FlushInput();
    registry.LockState(true);
    EXPECT_TRUE(registry.LockState());

    EXPECT_EQ(log, (std::vector<std::string>{
                       "A.ParameterChanged", "A1$.ParameterChanged", "B.ParameterChanged",
                       "A.ParameterSetChanged", "A1$.ParameterSetChanged", "B.ParameterSetChanged",
                       "A.ValidateParameters", "A1$.ValidateParameters", "B.ValidateParameters",
                       "A.Lock", "A1$.Lock", "B.Lock"}));
}

TEST_F(GuiRegistryTest, CountsAndClosesTopLevelPagesOnly) {
    auto a = Page("A", true);
    auto child = Page("A1$", false);
    EXPECT_EQ(registry.OpenGuis(), 1);
    EXPECT_TRUE(registry.AnyGuiOpen());

    EXPECT_TRUE(registry.CloseAllGuis());
    EXPECT_EQ(log, std::vector<std::string>{"A.CloseGUI"});
}

TEST_F(GuiRegistryTest, CloseAllIsFalseWhenAPageRefusesOrThrows) {
    auto a = Page("A", true);
    auto b = Page("B", true);
    auto c = Page("C", true);
    a->closeAnswer = false;
    b->raise = true;

    EXPECT_FALSE(registry.CloseAllGuis());
    EXPECT_EQ(log, (std::vector<std::string>{"A.CloseGUI", "B.CloseGUI", "C.CloseGUI"}));
    ASSERT_EQ(ErrorSink::Instance().Errors().size(), 1u);
    EXPECT_EQ(ErrorSink::Instance().Errors()[0].number, 5);
}

TEST_F(GuiRegistryTest, AskingWhetherThePagesWouldCloseClosesNone) {
    auto a = Page("A", true);
    auto child = Page("A1$", false);
    auto b = Page("B", true);
    EXPECT_TRUE(registry.AllGuisMayClose());
    child->closeAnswer = false;  // a child that would not close keeps its page open too
    EXPECT_FALSE(registry.AllGuisMayClose());
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(registry.OpenGuis(), 2);
}

TEST_F(GuiRegistryTest, AThrowingPageDoesNotStopTheBroadcast) {
    auto a = Page("A", true);
    auto b = Page("B", true);
    a->raise = true;
    registry.NotifyParameterSetChanged();
    EXPECT_EQ(log, (std::vector<std::string>{"A.ParameterSetChanged", "B.ParameterSetChanged"}));
    EXPECT_EQ(ErrorSink::Instance().Errors().size(), 1u);
}

TEST_F(GuiRegistryTest, PagesUnregisteredDuringAPassAreSkipped) {
    auto a = Page("A", true);
    auto b = Page("B", true);
    auto c = Page("C", true);
    // A page that closes unregisters itself; here the first also ends the second.
    a->during = [&] {
        registry.UnregisterGUI("A");
        registry.UnregisterGUI("B");
    };
    c->during = [&] { registry.UnregisterGUI("C"); };

    EXPECT_TRUE(registry.CloseAllGuis());
    EXPECT_EQ(log, (std::vector<std::string>{"A.CloseGUI", "C.CloseGUI"}));
    EXPECT_EQ(registry.OpenGuis(), 0);
}

TEST_F(GuiRegistryTest, PagesAreHeldWeakly) {
    auto a = Page("A", true);
    Page("B", true);  // nobody keeps it
    EXPECT_EQ(registry.OpenGuis(), 1);
    EXPECT_EQ(registry.FindGui("B"), nullptr);
    registry.NotifyParameterSetChanged();
    EXPECT_EQ(log, std::vector<std::string>{"A.ParameterSetChanged"});
}

TEST_F(GuiRegistryTest, IdsMatchIgnoringCaseAndRegisteringAgainReplaces) {
    auto first = Page("ab-cd", true);
    auto second = std::make_shared<FakePage>("second", log);
    registry.RegisterGUI("AB-CD", second, true);

    EXPECT_EQ(registry.OpenGuis(), 1);
    EXPECT_EQ(registry.FindGui("Ab-Cd"), second);
    EXPECT_EQ(registry.FindGui(""), nullptr);
    EXPECT_EQ(registry.FindGui("other"), nullptr);

    registry.UnregisterGUI("ab-CD");
    EXPECT_EQ(registry.FindGui("ab-cd"), nullptr);
    EXPECT_FALSE(registry.AnyGuiOpen());
}

TEST_F(GuiRegistryTest, FocusAndCycleAreRecorded) {
    registry.GUIGotFocus("A");
    registry.GUILostFocus("B");
    EXPECT_EQ(registry.FocusedGui(), "A");
    registry.GUILostFocus("a");
    EXPECT_EQ(registry.FocusedGui(), "");

    registry.SetCycleActive(true);
    registry.SetCycleActive(true);
    registry.SetCycleActive(false);
    EXPECT_EQ(registry.CycleActiveCount(), 1);
    registry.SetCycleActive(false);
    registry.SetCycleActive(false);
    EXPECT_EQ(registry.CycleActiveCount(), 0);
}

}  // namespace

// Device commands and parameter help through the rows of the test form.
#include "frame/DeviceChannel.h"
#include "frame/SimulatedDevice.h"
#include "param_link_fixture.h"
#include "platform/app/EventLoop.h"

namespace dtm::testing {
namespace {

using platform::Variant;
namespace ctl = platform::ctl;
namespace RowInput = platform::ctl::RowInput;
using platform::app::MessageBoxHandler;

class CommandTest : public RowsHostFixture {
protected:
    std::string Question() const {
        std::string text = Dict("exec_this_cmd_now");
        const auto at = text.find("%1");
        if (at != std::string::npos) text.replace(at, 2, Row(0).LabelText());
        return text;
    }
};

TEST_F(CommandTest, AClickAsksFirstAndANoStartsNothing) {
    Open({{"PHYS/FACTORY_RESET", ctl::kRowCommand}});
    MessageBoxHandler::Instance().QueueAnswer(platform::app::kAnswerNo);
    ASSERT_TRUE(RowInput::Click(Row(0)));
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].prompt, Question());
    EXPECT_EQ(Boxes()[0].buttons, 292);
    EXPECT_TRUE(LinkOf(0).CmdInvokeId().empty());
    EXPECT_FALSE(Row(0).Locked());
    ExpectNoErrors();
}

TEST_F(CommandTest, WithoutAConnectionTheCommandIsRefusedAndTheRowUnlocked) {
    Open({{"PHYS/FACTORY_RESET", ctl::kRowCommand}});
    MessageBoxHandler::Instance().QueueAnswer(platform::app::kAnswerYes);
    ASSERT_TRUE(RowInput::Click(Row(0)));
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[1].prompt, Dict("cmderr_not_connected"));
    EXPECT_EQ(Boxes()[1].buttons, 0);
    EXPECT_TRUE(LinkOf(0).CmdInvokeId().empty());
    EXPECT_FALSE(Row(0).Locked());
    ExpectNoErrors();
}

TEST_F(CommandTest, ALockedCommandRowWithoutARunningCommandAsksNothing) {
    Open({{"PHYS/FACTORY_RESET", ctl::kRowCommand, true}});
    EXPECT_TRUE(RowInput::Click(Row(0)));
    EXPECT_TRUE(Boxes().empty());
    ExpectNoErrors();
}

TEST_F(CommandTest, OnlyTheOwnInvokeIdEndsACommand) {
    Open({{"PHYS/FACTORY_RESET", ctl::kRowCommand}});
    auto& link = LinkOf(0);
    link.OnProcessFinished("");
    link.OnProcessFinished("other");
    EXPECT_TRUE(link.CmdInvokeId().empty());
    EXPECT_FALSE(Row(0).Locked());
    ExpectNoErrors();
}

// The same rows with the simulated device on the frame's channel.
class ConnectedCommandTest : public CommandTest {
protected:
    void SetUp() override {
        StartNew();
        ASSERT_TRUE(session.SetCommunication());
    }
    frame::SimulatedDevice device{frame::SimulatedDevice::Model::RXD218};
    frame::DeviceChannel channel{*session.Communication(), device};
};

TEST_F(ConnectedCommandTest, ARunningCommandRefusesASecondClickAndEndsWithItsOwnAnswer) {
    Open({{"PHYS/FACTORY_RESET", ctl::kRowCommand}});
    MessageBoxHandler::Instance().QueueAnswer(platform::app::kAnswerYes);
    ASSERT_TRUE(RowInput::Click(Row(0)));
    ASSERT_EQ(Boxes().size(), 1u) << "only the question";
    EXPECT_FALSE(LinkOf(0).CmdInvokeId().empty());
    EXPECT_TRUE(Row(0).Locked());

    ASSERT_TRUE(RowInput::Click(Row(0)));
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[1].prompt, Dict("command_already_active"));

    platform::app::EventLoop::Instance().RunUntilIdle();
    EXPECT_TRUE(LinkOf(0).CmdInvokeId().empty());
    EXPECT_FALSE(Row(0).Locked());
    ExpectNoErrors();
}

class HelpTest : public RowsHostFixture {};

TEST_F(HelpTest, ShiftF1AndTheFirstMenuItemOpenTheHelp) {
    StartNew();
    auto& element = Element("PHYS/TAG_DESC");
    element.Help = "The tag of the device.";
    Open({{"PHYS/TAG_DESC"}});
    const struct {
        const char* what;
        int32_t key, shift, menu;  // menu 0: a key, else the menu item
        bool opens;
    } cases[] = {
        {"Shift+F1", 112, 1, 0, true},     {"F1 alone", 112, 0, 0, false}, {"Ctrl+Shift+F1", 112, 3, 0, false},
        {"Shift+F2", 113, 1, 0, false},    {"menu item 1", 0, 0, 1, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const int32_t before = page->help->ShowCount();
        if (c.menu) {
            EXPECT_TRUE(RowInput::Menu(Row(0), c.menu));
        } else {
            const int32_t left = RowInput::Key(Row(0), c.key, c.shift);
            EXPECT_EQ(left, c.opens ? 0 : c.key);
        }
        EXPECT_EQ(page->help->ShowCount(), before + (c.opens ? 1 : 0));
    }
    EXPECT_EQ(page->help->LastShown().text, "The tag of the device.");
    EXPECT_EQ(page->help->LastShown().hWnd, Row(0).hWnd());
    EXPECT_FALSE(RowInput::Menu(Row(0), 2)) << "the row has one menu item";
    ExpectNoErrors();
}

TEST_F(HelpTest, WithoutHelpTextTheDescriptionIsShown) {
    StartNew();
    auto& element = Element("PHYS/TAG_DESC");
    element.Help = "";
    element.Description = "Tag description";
    Open({{"PHYS/TAG_DESC"}});
    RowInput::Menu(Row(0), 1);
    EXPECT_EQ(page->help->LastShown().text, "Tag description");
    ExpectNoErrors();
}

TEST_F(HelpTest, APageWithoutHelpPaneIgnoresTheRequest) {
    Open({{"PHYS/TAG_DESC"}});
    page->help.reset();
    EXPECT_EQ(RowInput::Key(Row(0), 112, 1), 0);
    ExpectNoErrors();
}

}  // namespace
}  // namespace dtm::testing

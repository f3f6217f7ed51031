// Pages opened through the test frame: by function id with the window rule,
// by program id, closed one by one and all at once.
#include <gtest/gtest.h>

#include "frame/PageFrame.h"
#include "pages/framework/ctlAbout.h"
#include "pages/framework/ctlIdent.h"
#include "pages/framework/ctlNoMoreWindows.h"
#include "platform/app/ErrorSink.h"
#include "platform/app/EventLoop.h"
#include "platform/app/MessageBox.h"
#include "platform/ctl/ctlParameter.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/IPrivateDataElement.h"
#include "platform/rt/IPrivateFunctions.h"
#include "platform/rt/Parameters.h"
#include "platform/ui/Environment.h"

namespace dtm::frame {
namespace {

using platform::Variant;

class PageFrameTest : public ::testing::Test {
protected:
    PageFrameTest() {
        platform::ui::Environment::Instance().Reset();
        platform::app::EventLoop::Instance().Reset();
        platform::app::MessageBoxHandler::Instance().Clear();
        platform::app::ErrorSink::Instance().Clear();
        frame = std::make_unique<PageFrame>();
    }
    ~PageFrameTest() override {
        frame.reset();
        platform::ui::Environment::Instance().Reset();
        platform::app::EventLoop::Instance().Reset();
    }
    void ExpectNoErrors() const {
        const auto& errors = platform::app::ErrorSink::Instance().Errors();
        EXPECT_TRUE(errors.empty()) << (errors.empty() ? "" : errors.front().where);
    }
    platform::rt::DtmGuiRegistry& Registry() const { return *frame->Ctx().GuiRegistry(); }

    std::unique_ptr<PageFrame> frame;
};

TEST_F(PageFrameTest, AboutOpensAsFunction99AndCloses) {
    ASSERT_TRUE(frame->Started());
    const auto about = frame->Open(99);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(frame->LastProgId(), "RG38N226_4_07.ctlAbout");
    ASSERT_NE(std::dynamic_pointer_cast<ctlAbout>(about->Page()), nullptr);
    EXPECT_EQ(Registry().OpenGuis(), 1);
    EXPECT_NE(Registry().FindGui(about->InvokeId()), nullptr);
    EXPECT_TRUE(frame->Close(*about));
    EXPECT_EQ(Registry().OpenGuis(), 0);
    EXPECT_TRUE(about->Dropped());
    ExpectNoErrors();
}

TEST_F(PageFrameTest, TheWindowRuleGivesTheLimitPageForASecondWindow) {
    frame->Ctx().Parameters()->Item("Is95_98_Or_Me")->TransientValue(Variant::Bool(true));
    const auto first = frame->Open(99);
    ASSERT_NE(first, nullptr);
    const auto second = frame->Open(99);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(frame->LastProgId(), "RG38N226_4_07.ctlNoMoreWindows");
    const auto limit = std::dynamic_pointer_cast<ctlNoMoreWindows>(second->Page());
    ASSERT_NE(limit, nullptr);
    EXPECT_FALSE(limit->txtwarning->Text().empty());
    EXPECT_TRUE(frame->CloseAll());
    EXPECT_EQ(Registry().OpenGuis(), 0);
    EXPECT_TRUE(first->Dropped());
    EXPECT_TRUE(second->Dropped());
    // Without the rule's system a second window opens.
    frame->Ctx().Parameters()->Item("Is95_98_Or_Me")->TransientValue(Variant::Bool(false));
    ASSERT_NE(frame->Open(99), nullptr);
    ASSERT_NE(frame->Open(99), nullptr);
    EXPECT_EQ(frame->LastProgId(), "RG38N226_4_07.ctlAbout");
    EXPECT_EQ(Registry().OpenGuis(), 2);
    ExpectNoErrors();
}

TEST_F(PageFrameTest, IdentByProgramIdWithAPendingPath) {
    frame->Ctx().Functions()->ControlPfad(".ctlParameter.5");
    const auto ident = frame->OpenProgId("RG38N226_4_07.ctlIdent");
    ASSERT_NE(ident, nullptr);
    const auto page = std::dynamic_pointer_cast<ctlIdent>(ident->Page());
    ASSERT_NE(page, nullptr);
    const auto row5 = ident->Ctl("ctlParameter.5");
    ASSERT_NE(row5, nullptr);
    EXPECT_EQ(std::dynamic_pointer_cast<platform::ctl::ctlParameter>(row5)->parameterTag(), "PHYS/DEVICE_SER_NUM");
    EXPECT_EQ(ident->Ctl("frmDevice"), page->frmDevice);
    EXPECT_EQ(ident->Ctl("nothere"), nullptr);
    EXPECT_EQ(ident->Host().Focus().Focused(), row5.get());
    EXPECT_EQ(frame->Ctx().Functions()->ControlPfad(), "");
    EXPECT_TRUE(frame->Close(*ident));
    EXPECT_TRUE(page->WindowHidden());
    EXPECT_EQ(Registry().FindGui(ident->InvokeId()), nullptr);
    EXPECT_EQ(frame->OpenProgId("RG38N226_4_07.nothing"), nullptr);
    ExpectNoErrors();
}

}  // namespace
}  // namespace dtm::frame

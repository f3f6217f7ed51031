// The test frame's lookups and connection: rows by bound path, the snapshot
// with the invoke id masked, connect and disconnect on the simulated device.
#include <gtest/gtest.h>

#include "frame/PageFrame.h"
#include "platform/app/ErrorSink.h"
#include "platform/app/EventLoop.h"
#include "platform/app/MessageBox.h"
#include "platform/ctl/ctlParameter.h"
#include "platform/ui/Environment.h"

namespace dtm::frame {
namespace {

class PageSessionTest : public ::testing::Test {
protected:
    PageSessionTest() {
        platform::ui::Environment::Instance().Reset();
        platform::app::EventLoop::Instance().Reset();
        platform::app::MessageBoxHandler::Instance().Clear();
        platform::app::ErrorSink::Instance().Clear();
        frame = std::make_unique<PageFrame>();
        ident = frame->OpenProgId("RG38N226_4_07.ctlIdent");
    }
    ~PageSessionTest() override {
        ident.reset();
        frame.reset();
        platform::ui::Environment::Instance().Reset();
        platform::app::EventLoop::Instance().Reset();
    }
    std::unique_ptr<PageFrame> frame;
    std::shared_ptr<PageSession> ident;
};

TEST_F(PageSessionTest, RowsByControlPathOrBoundPath) {
    ASSERT_NE(ident, nullptr);
    const auto byPath = ident->Row("ctlParameter.5");
    ASSERT_NE(byPath, nullptr);
    EXPECT_EQ(ident->Row("@phys/device_ser_num"), byPath);
    EXPECT_EQ(ident->Row("@PHYS/DEVICE_SER_NUM"), byPath);
    EXPECT_EQ(ident->Row("frmDevice"), nullptr);  // no row
    EXPECT_EQ(ident->Row("@PHYS/NOTHING"), nullptr);
    // A hidden row is not found by its element.
    byPath->Visible(false);
    EXPECT_EQ(ident->Row("@PHYS/DEVICE_SER_NUM"), nullptr);
    EXPECT_EQ(ident->Row("ctlParameter.5"), byPath);
}

TEST_F(PageSessionTest, SnapshotOfASubtreeAndTheInvokeIdMasked) {
    ASSERT_NE(ident, nullptr);
    const std::string device = ident->Snapshot({}, "frmDevice");
    EXPECT_EQ(device.rfind("Frame frmDevice \"Device\"\n", 0), 0u) << device;
    EXPECT_NE(device.find("  row ctlParameter.5 ro @PHYS/DEVICE_SER_NUM"), std::string::npos) << device;
    EXPECT_EQ(ident->Snapshot({}, "nothere"), "");
    EXPECT_EQ(ident->Snapshot({}, "frmDevice", true).rfind("{\"kind\": \"Frame\"", 0), 0u);
    const std::string id = ident->InvokeId();
    EXPECT_EQ(ident->MaskInvokeId("id=" + id + " child=" + id + ".1$"), "id=<id> child=<id>.1$");
}

TEST_F(PageSessionTest, ConnectAndDisconnectTheSimulatedDevice) {
    EXPECT_FALSE(frame->Connected());
    EXPECT_TRUE(frame->Disconnect());  // nothing to release
    ASSERT_TRUE(frame->Connect());
    EXPECT_TRUE(frame->Connected());
    EXPECT_TRUE(frame->Connect());  // once only
    EXPECT_EQ(frame->Session().Container()->EventsNamed("OnPreparedToReleaseCommunication").size(), 0u);
    EXPECT_TRUE(frame->Disconnect());
    EXPECT_FALSE(frame->Connected());
    EXPECT_EQ(frame->Session().Container()->EventsNamed("OnPreparedToReleaseCommunication").size(), 1u);
    EXPECT_TRUE(platform::app::ErrorSink::Instance().Empty());
}

}  // namespace
}  // namespace dtm::frame

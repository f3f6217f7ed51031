#pragma once
// The online window (function 10) on the test frame, connected to the
// simulated device, with the status bar's cycle off unless a test starts
// it: each test sees only the transfers its pages start.
#include <string>
#include <vector>

#include "frame/PageFrame.h"
#include "model/elements/clsDataElement.h"
#include "pages/parameterisation/ParamPagesFixture.h"
#include "pages/service/ctlOnline.h"
#include "platform/com/PropertyBag.h"
#include "platform/app/MessageBox.h"
#include "platform/rt/UserInfo.h"
#include "platform/ui/Input.h"

namespace dtm::testing {

class OnlineFixture : public ParamPagesFixture {
protected:
    static constexpr int32_t kYes = 6;
    static constexpr int32_t kNo = 7;

    void SetUp() override {
        ParamPagesFixture::SetUp();
        OpenOnline();
    }
    void OpenOnline() {
        ASSERT_TRUE(frame->Connect());
        session = frame->Open(10);
        ASSERT_NE(session, nullptr);
        online = std::dynamic_pointer_cast<ctlOnline>(session->Page());
        ASSERT_NE(online, nullptr);
        Settle();
        if (online->ctlStatus->ctlCycle->chkCycle->Value() == 1) online->ctlStatus->ctlCycle->chkCycle->Value(0);
        // The connection is made on the first transfer: made now, its identity
        // reads are no test's business.
        ASSERT_TRUE(frame->Session().Upload("PHYS/DIAGNOSIS").ok);
        Settle();
        logFrom = Device().Log().size();
    }

    frame::SimulatedDevice& Device() const { return frame->Device(); }
    clsDataElement& Element(const std::string& path) const {
        return *std::dynamic_pointer_cast<clsDataElement>(Params().Item(path));
    }
    // Lets every posted completion run without moving the clock by a tick.
    static void Settle() { platform::app::EventLoop::Instance().Advance(200); }
    static void Advance(int64_t ms) { platform::app::EventLoop::Instance().Advance(ms); }
    static void Answer(int32_t answer) { platform::app::MessageBoxHandler::Instance().QueueAnswer(answer); }
    static const std::vector<platform::app::MessageBoxRecord>& Boxes() {
        return platform::app::MessageBoxHandler::Instance().Records();
    }
    static bool Click(const platform::P<platform::ui::Control>& control) {
        return platform::ui::Input::Click(*control);
    }

    // The transactions since the last call (or the opening), as
    // "w 9 29 01" / "r 0 29" with the answer's error code when it failed.
    std::vector<std::string> Wire() {
        std::vector<std::string> lines;
        const auto& log = Device().Log();
        for (; logFrom < log.size(); ++logFrom) {
            const auto& [request, answer] = log[logFrom];
            std::string line = std::string(request.write ? "w " : "r ") + std::to_string(request.slot) + " " +
                               std::to_string(request.index);
            for (const uint8_t byte : request.data) {
                static constexpr char kHex[] = "0123456789ABCDEF";
                line += ' ';
                line += kHex[byte >> 4];
                line += kHex[byte & 15];
            }
            if (answer.kind == frame::DeviceAnswer::Kind::Error) line += " !" + std::to_string(answer.errorCode1);
            if (answer.kind == frame::DeviceAnswer::Kind::Dropped) line += " dropped";
            lines.push_back(line);
        }
        return lines;
    }
    // "r slot index" of an element's address.
    std::string ReadOf(const std::string& path) const {
        const auto& el = Element(path);
        return "r " + std::to_string(el.Slot) + " " + std::to_string(el.index);
    }
    std::string WriteOf(const std::string& path, const std::string& bytes) const {
        const auto& el = Element(path);
        return "w " + std::to_string(el.Slot) + " " + std::to_string(el.index) + " " + bytes;
    }

    // A full upload, then the data set stored as the frame stores it.
    void UploadAndSave() {
        ASSERT_TRUE(frame->Session().Upload().ok);
        Settle();
        platform::com::PropertyBag bag;
        ASSERT_TRUE(frame->Session().Save(bag));
        ASSERT_FALSE(Params().Modified());
    }
    int32_t DataStatus() const { return static_cast<int32_t>(platform::com::CLng(Element("~/DataStatus").TransientValue)); }
    // The frame's release of the instance (the open windows closed first);
    // how many save requests it brought.
    size_t SaveRequestsAtRelease() {
        const auto& container = frame->Session().Container();
        const size_t before = container->EventsNamed("SaveRequest").size();
        EXPECT_TRUE(frame->Session().IDtm().IDtm_PrepareToRelease());
        return container->EventsNamed("SaveRequest").size() - before;
    }

    std::shared_ptr<frame::PageSession> session;
    platform::P<ctlOnline> online;
    size_t logFrom = 0;
};

}  // namespace dtm::testing

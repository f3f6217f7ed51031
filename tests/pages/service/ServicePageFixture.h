#pragma once
// The bus address, simulation, method analysis and monitor pages on the test
// frame: connected to the simulated device when a test asks, each page opened
// by its function id, the component folder a temporary copy (the method
// analysis writes its report there).
#include <filesystem>
#include <string>

#include "OnlineFixture.h"
#include "platform/TempFolder.h"
#include "platform/app/Path.h"

namespace dtm::testing {

class ServicePageFixture : public OnlineFixture {
protected:
    void SetUp() override {
        namespace fs = std::filesystem;
        folder = temp.Dir();
        for (const char* data : {"XMLData", "Resources"}) {
            fs::create_directories(folder / data);
            fs::copy(fs::path(platform::app::Path()) / data, folder / data, fs::copy_options::recursive);
        }
        platform::app::SetPath(folder.string());
        ParamPagesFixture::SetUp();
    }
    void TearDown() override {
        sessions.clear();
        OnlineFixture::TearDown();
        // A test may set up again: the next SetUp makes the folder anew.
        std::filesystem::remove_all(folder);
    }
    // Connects and makes the connection's identity reads; the wire starts after them.
    void ConnectDevice() {
        ASSERT_TRUE(frame->Connect());
        ASSERT_TRUE(frame->Session().Upload("PHYS/DIAGNOSIS").ok);
        Settle();
        logFrom = Device().Log().size();
    }
    template <class Page>
    platform::P<Page> OpenPage(int32_t functionId) {
        auto opened = frame->Open(functionId);
        if (!opened) return nullptr;
        sessions.push_back(opened);
        return std::dynamic_pointer_cast<Page>(opened->Page());
    }
    void Level(int32_t level) { Ctx().UserInfo()->UserLevel(level); }
    // Moves the clock a millisecond at a time until the device has received
    // `count` transactions since the log's position `from` (at most 1 s):
    // the last of them is then on the wire, its answer not yet in.
    bool AdvanceUntilReceived(size_t from, size_t count) {
        for (int ms = 0; ms < 1000 && Device().Log().size() < from + count; ++ms) Advance(1);
        return Device().Log().size() == from + count;
    }

    // Made anew for each test, parameterised ones too, and removed after it.
    TempFolder temp;
    std::filesystem::path folder;
    std::vector<std::shared_ptr<frame::PageSession>> sessions;
};

}  // namespace dtm::testing

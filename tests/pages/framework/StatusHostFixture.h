#pragma once
// "test.ctlStatusHost": a container page hosting a ctlStatus with
// CyclicRefresh, answering its request events from two lists of paths, on a
// new RXD 218 instance whose frame channel leads to the simulated device.
// Every test ends with an empty error sink unless it takes its errors out.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "frame/OnlineFixture.h"
#include "model/elements/clsDataElement.h"
#include "pages/framework/PageBase.h"
#include "pages/framework/ctlStatus.h"
#include "platform/app/ErrorSink.h"
#include "platform/app/EventLoop.h"
#include "platform/app/MessageBox.h"
#include "platform/com/PropertyBag.h"
#include "platform/rt/Parameters.h"
#include "platform/rt/TransGrp.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Host.h"

namespace dtm::testing {

class StatusHost : public PageBase {
public:
    StatusHost() : PageBase(Traits()) {}

    std::vector<std::string> diagnoseList{"PHYS/DIAGNOSIS"};
    std::vector<std::string> cycleList;
    std::vector<std::string> events;  // the status bar's events, in order
    platform::P<dtm::ctlStatus> ctlStatus1;

protected:
    void BuildForm() override {
        PlaceTemplateControls();
        platform::com::PropertyBag design;
        design.WriteProperty("CyclicRefresh", platform::Variant::Bool(true));
        ctlStatus1 = Place<dtm::ctlStatus>("ctlStatus1", std::nullopt, nullptr, &design);
        ctlStatus1->OnAddDiagnoseRequests.Connect([this](platform::rt::TransGrp& g) {
            events.push_back("OnAddDiagnoseRequests");
            Add(g, diagnoseList);
        });
        ctlStatus1->OnAddCycleRequests.Connect([this](platform::rt::TransGrp& g) {
            events.push_back("OnAddCycleRequests");
            Add(g, cycleList);
        });
        ctlStatus1->OnRemoveRequests.Connect([this](platform::rt::TransGrp&) { events.push_back("OnRemoveRequests"); });
        ctlStatus1->Click.Connect([this] { events.push_back("Click"); });
    }

private:
    static PageTraits Traits() {
        PageTraits traits;
        traits.className = "StatusHost";
        traits.container = true;
        traits.hideOnRelease = false;
        traits.showHandler = false;
        traits.helpPane = false;
        return traits;
    }
    void Add(platform::rt::TransGrp& group, const std::vector<std::string>& paths) {
        for (const auto& path : paths) group.AddRequest(GetContext()->Parameters()->Item(path), false);
    }
};

class StatusHostFixture : public OnlineFixture {
protected:
    static constexpr int32_t kTick = 4000;

    // With `channel` False the frame gives the instance no channel.
    void Start(bool channel = true) {
        platform::ui::Environment::Instance().Reset();
        registry.Register("test.ctlStatusHost", [] { return std::make_shared<StatusHost>(); });
        StartNew();
        if (channel) {
            ASSERT_TRUE(session.SetCommunication());
        }
    }
    void SetUp() override { Start(); }
    void TearDown() override {
        if (page && page->Initialised()) {
            EXPECT_TRUE(page->PrepareToRelease());
        }
        host.reset();
        page.reset();
        const auto& errors = platform::app::ErrorSink::Instance().Errors();
        EXPECT_TRUE(errors.empty()) << (errors.empty() ? "" : errors.front().where);
        platform::ui::Environment::Instance().Reset();
    }

    // Creates the host by program id, shows it and initialises it as the frame does.
    void Open(std::vector<std::string> cycleList) {
        page = std::dynamic_pointer_cast<StatusHost>(registry.CreateObject("test.ctlStatusHost"));
        ASSERT_NE(page, nullptr);
        page->cycleList = std::move(cycleList);
        host = std::make_unique<platform::ui::Host>(page);
        host->Show();
        ASSERT_TRUE(page->Init("{host}", "", session.Dtm()));
    }
    dtm::ctlStatus& Status() const { return *page->ctlStatus1; }
    std::vector<std::string> TakeEvents() {
        std::vector<std::string> taken;
        taken.swap(page->events);
        return taken;
    }
    void Advance(int64_t ms) { platform::app::EventLoop::Instance().Advance(ms); }
    // The device reads since request number `from`, identity reads left out.
    size_t ReadsSince(size_t from) const {
        size_t n = 0;
        for (const auto& r : DeviceRequests(from))
            if (!r.write && !(r.slot == 0 && (r.index == 26 || r.index == 27))) ++n;
        return n;
    }
    const std::vector<platform::app::MessageBoxRecord>& Boxes() const {
        return platform::app::MessageBoxHandler::Instance().Records();
    }

    platform::P<StatusHost> page;
    std::unique_ptr<platform::ui::Host> host;
};

}  // namespace dtm::testing

#pragma once
// The parameterisation pages on the test frame: a new instance of either
// device type, pages opened by function id or created by program id and
// initialised as child pages, and an error sink that must stay empty.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "frame/PageFrame.h"
#include "pages/framework/FrameworkTest.h"
#include "platform/ctl/ctlParameter.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/Parameters.h"
#include "platform/ui/Host.h"

namespace dtm::testing {

class ParamPagesFixture : public FrameworkTest {
protected:
    using Model = frame::SimulatedDevice::Model;

    void Start(Model model = Model::RXD218) {
        ResetAll();
        const int type = model == Model::RXD214 ? frame::kRxd214 : frame::kRxd218;
        frame = std::make_unique<frame::PageFrame>(frame::DeviceTypeDocument(frame::kManufacturerId, type), model);
        ASSERT_TRUE(frame->Started());
    }
    void SetUp() override { Start(); }
    // The pages go first: what they report while they close counts too.
    void TearDown() override {
        hosts.clear();
        frame.reset();
        FrameworkTest::TearDown();
    }

    // A page created by program id and hosted, not yet initialised.
    template <class Page>
    platform::P<Page> Create(const std::string& className) {
        auto page = std::dynamic_pointer_cast<Page>(frame->Registry().CreateObject("RG38N226_4_07." + className));
        if (page) {
            hosts.push_back(std::make_unique<platform::ui::Host>(page));
            hosts.back()->Show();
        }
        return page;
    }
    platform::rt::DTMContext& Ctx() const { return frame->Ctx(); }
    platform::rt::Parameters& Params() const { return *Ctx().Parameters(); }
    static platform::ctl::ctlParameter& RowOf(const platform::ui::UserControl& page, int16_t index) {
        return dynamic_cast<platform::ctl::ctlParameter&>(*page.Controls().Item("ctlParameter", index));
    }

    std::unique_ptr<frame::PageFrame> frame;
    std::vector<std::unique_ptr<platform::ui::Host>> hosts;
};

}  // namespace dtm::testing

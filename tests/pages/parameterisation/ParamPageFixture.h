#pragma once
// The parameterisation pages opened through the test frame on a new instance:
// a clean widget environment per test, and an empty error sink at its end
// unless the test takes the errors it expects.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "frame/PageFrame.h"
#include "model/elements/clsDataElement.h"
#include "platform/app/ErrorSink.h"
#include "platform/app/EventLoop.h"
#include "platform/app/MessageBox.h"
#include "platform/ctl/ctlParameter.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/rt/LanguageDictionary.h"
#include "platform/rt/Parameters.h"
#include "platform/ui/Environment.h"

namespace dtm::testing {

class ParamPageFixture : public ::testing::Test {
protected:
    ParamPageFixture() { Reset(); }
    ~ParamPageFixture() override {
        frame.reset();
        Reset();
    }
    void TearDown() override {
        std::string errors;
        for (const auto& e : platform::app::ErrorSink::Instance().Errors())
            errors += std::to_string(e.number) + " " + e.description + " at " + e.where + "\n";
        EXPECT_TRUE(platform::app::ErrorSink::Instance().Empty()) << errors;
    }
    static void Reset() {
        platform::ui::Environment::Instance().Reset();
        platform::app::EventLoop::Instance().Reset();
        platform::app::MessageBoxHandler::Instance().Clear();
        platform::app::ErrorSink::Instance().Clear();
    }
    // A new frame on the given device type (RXD 218 by default).
    void Start(int deviceTypeId = frame::kRxd218) {
        frame = std::make_unique<frame::PageFrame>(
            frame::DeviceTypeDocument(frame::kManufacturerId, deviceTypeId),
            deviceTypeId == frame::kRxd214 ? frame::SimulatedDevice::Model::RXD214
                                           : frame::SimulatedDevice::Model::RXD218);
        ASSERT_TRUE(frame->Started());
    }
    platform::rt::DTMContext& Ctx() const { return frame->Ctx(); }
    platform::rt::Parameters& Params() const { return *Ctx().Parameters(); }
    platform::rt::DtmGuiRegistry& Registry() const { return *Ctx().GuiRegistry(); }
    clsDataElement& Element(const std::string& path) const {
        return dynamic_cast<clsDataElement&>(*Params().Item(path));
    }
    std::string Dict(const std::string& key) const {
        return platform::com::CStr(Ctx().Dictionary()->LookupText("keys", key, "text"));
    }

    std::unique_ptr<frame::PageFrame> frame;
};

}  // namespace dtm::testing

#pragma once
// A frame session on a DTM created by program id from a registry of the
// component's classes, with a clean event loop, message boxes and error sink.
#include <gtest/gtest.h>

#include "core/module/ComponentClasses.h"
#include "frame/FrameSession.h"
#include "model/elements/clsDataElement.h"
#include "platform/app/ErrorSink.h"
#include "platform/app/EventLoop.h"
#include "platform/app/MessageBox.h"
#include "platform/com/ClassRegistry.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/Parameters.h"

namespace dtm::testing {

class DtmFixture : public ::testing::Test {
protected:
    DtmFixture() {
        RegisterComponentClasses(registry);
        platform::app::EventLoop::Instance().Reset();
        platform::app::MessageBoxHandler::Instance().Clear();
        platform::app::ErrorSink::Instance().Clear();
    }
    ~DtmFixture() override {
        platform::app::EventLoop::Instance().Reset();
        platform::app::MessageBoxHandler::Instance().Clear();
    }

    // A new RXD 218 instance with its environment and user.
    void StartNew() { ASSERT_TRUE(session.StartNew(registry)); }

    platform::rt::DTMContext& Ctx() const { return *session.Context(); }
    platform::rt::Parameters& Params() const { return *Ctx().Parameters(); }
    clsDataElement& Element(const std::string& path) const {
        return dynamic_cast<clsDataElement&>(*Params().Item(path));
    }
    std::vector<frame::FrameEvent> Events(const std::string& name) const {
        return session.Container()->EventsNamed(name);
    }

    platform::com::ClassRegistry registry;
    frame::FrameSession session;
};

}  // namespace dtm::testing

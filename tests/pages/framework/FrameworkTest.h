#pragma once
// A clean widget environment per test for the shared page controls; the error
// sink must stay empty and the component folder returns to the default.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/app/ErrorSink.h"
#include "platform/app/EventLoop.h"
#include "platform/app/MessageBox.h"
#include "platform/app/Path.h"
#include "platform/ui/Environment.h"

namespace dtm::testing {

class FrameworkTest : public ::testing::Test {
protected:
    void SetUp() override { ResetAll(); }
    void TearDown() override {
        std::string errors;
        for (const auto& e : platform::app::ErrorSink::Instance().Errors())
            errors += std::to_string(e.number) + " " + e.description + " at " + e.where + "\n";
        EXPECT_TRUE(platform::app::ErrorSink::Instance().Empty()) << errors;
        ResetAll();
        platform::app::SetPath("");
    }
    static void ResetAll() {
        platform::app::EventLoop::Instance().Reset();
        platform::app::ErrorSink::Instance().Clear();
        platform::app::MessageBoxHandler::Instance().Clear();
        platform::ui::Environment::Instance().Reset();
    }
};

}  // namespace dtm::testing

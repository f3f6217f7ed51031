#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/app/ErrorSink.h"
#include "platform/com/Error.h"
#include "platform/com/Variant.h"
#include "platform/fdt/Boundary.h"

using namespace platform;
using fdt::InvokeFromFrame;

namespace {

class FrameBoundary : public ::testing::Test {
protected:
    void SetUp() override {
        app::ErrorSink::Instance().Clear();
        fdt::SetBoundaryTraceHook([this](const std::string& line) { trace_.push_back(line); });
    }
    void TearDown() override {
        fdt::SetBoundaryTraceHook(nullptr);
        app::ErrorSink::Instance().Clear();
    }
    std::vector<std::string> trace_;
};

struct Page : com::Object {};

}  // namespace

TEST_F(FrameBoundary, ResultsPassThroughUntouched) {
    EXPECT_TRUE(InvokeFromFrame("IDtm_InitNew", [] { return true; }));
    EXPECT_EQ(InvokeFromFrame("IDtm_GetFunctions", [] { return std::string("<FDT/>"); }), "<FDT/>");
    int calls = 0;
    InvokeFromFrame("IDtm_Environment", [&] { ++calls; });
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(trace_.empty());
    EXPECT_TRUE(app::ErrorSink::Instance().Empty());
}

TEST_F(FrameBoundary, EveryKindOfErrorBecomesTheFallbackARecordAndATraceLine) {
    const auto raise13 = [] { com::Raise(13); };
    EXPECT_FALSE(InvokeFromFrame("IDtm_InitNew", [&] { raise13(); return true; }));
    EXPECT_EQ(InvokeFromFrame("GetFunctions", [] { throw std::runtime_error("bad"); return std::string("x"); }), "");
    EXPECT_EQ(InvokeFromFrame("GetPage", [] { throw 7; return std::make_shared<Page>(); }), nullptr);
    EXPECT_TRUE(InvokeFromFrame("GetValue", [] { com::Raise(91); return Variant::Lng(1); }).IsEmpty());
    EXPECT_EQ(InvokeFromFrame("Count", [] { com::Raise(6); return 5; }), 0);
    EXPECT_EQ(InvokeFromFrame("Text", [] { com::Raise(5); return std::string("x"); }, "failed"), "failed");
    InvokeFromFrame("PrepareToRelease", [] { com::Raise(438, "No such member"); });

    EXPECT_EQ(trace_, (std::vector<std::string>{"error 13: Type mismatch", "error 51: bad", "error 51: Unknown exception",
                                                "error 91: Object variable or With block variable not set",
                                                "error 6: Overflow", "error 5: Invalid procedure call or argument",
                                                "error 438: No such member"}));
    const auto& errors = app::ErrorSink::Instance().Errors();
    ASSERT_EQ(errors.size(), 7u);
    EXPECT_EQ(errors[0].where, "IDtm_InitNew");
    EXPECT_EQ(errors[0].number, 13);
    EXPECT_EQ(errors[6].where, "PrepareToRelease");
}

TEST_F(FrameBoundary, WithoutAHookOrWithAFailingHookErrorsAreStillOnlyRecorded) {
    fdt::SetBoundaryTraceHook(nullptr);
    EXPECT_FALSE(InvokeFromFrame("a", [] { com::Raise(5); return true; }));
    fdt::SetBoundaryTraceHook([](const std::string&) { throw std::runtime_error("trace file broken"); });
    EXPECT_FALSE(InvokeFromFrame("b", [] { com::Raise(5); return true; }));
    EXPECT_EQ(app::ErrorSink::Instance().Errors().size(), 2u);
    EXPECT_TRUE(trace_.empty());
}

TEST_F(FrameBoundary, SetHookAnswersThePreviousOne) {
    auto previous = fdt::SetBoundaryTraceHook(nullptr);
    ASSERT_TRUE(previous);
    previous("line");
    EXPECT_EQ(trace_, std::vector<std::string>{"line"});
    EXPECT_FALSE(fdt::SetBoundaryTraceHook(previous));
}

static_assert(noexcept(InvokeFromFrame(std::declval<const std::string&>(), [] { return true; })));
static_assert(noexcept(InvokeFromFrame(std::declval<const std::string&>(), [] {})));

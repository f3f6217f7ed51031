#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "platform/app/ErrorSink.h"
#include "platform/app/EventLoop.h"
#include "platform/app/SystemDate.h"
#include "platform/app/Timer.h"
#include "platform/com/Error.h"
#include "platform/com/Variant.h"

using namespace platform::app;

namespace {

class EventLoopTest : public ::testing::Test {
protected:
    void SetUp() override { ErrorSink::Instance().Clear(); }
    void TearDown() override { ErrorSink::Instance().Clear(); }

    // Records "name@time" when it runs.
    EventLoop::Task Note(const std::string& name) {
        return [this, name] { log_.push_back(name + "@" + std::to_string(loop_.Now())); };
    }

    EventLoop loop_;
    std::vector<std::string> log_;
};

using Log = std::vector<std::string>;

}  // namespace

TEST_F(EventLoopTest, RunsWorkByDueTimeThenPostingOrder) {
    loop_.PostAfter(10, Note("a"));
    loop_.PostAfter(5, Note("b"));
    loop_.Post(Note("c"));
    loop_.PostAfter(5, Note("d"));
    loop_.PostAfter(-3, Note("e"));  // negative delay counts as now
    EXPECT_TRUE(log_.empty());       // nothing runs inside Post

    EXPECT_EQ(loop_.Pump(), 2u);
    EXPECT_EQ(log_, (Log{"c@0", "e@0"}));
    EXPECT_EQ(loop_.Advance(4), 0u);
    EXPECT_EQ(loop_.Now(), 4);
    EXPECT_EQ(loop_.Advance(6), 3u);
    EXPECT_EQ(log_, (Log{"c@0", "e@0", "b@5", "d@5", "a@10"}));
    EXPECT_EQ(loop_.Now(), 10);
    EXPECT_EQ(loop_.PendingCount(), 0u);
}

TEST_F(EventLoopTest, WorkPostedWhileRunningRunsWhenDueWithinTheSameCall) {
    loop_.PostAfter(5, [this] {
        log_.push_back("first@" + std::to_string(loop_.Now()));
        loop_.Post(Note("posted"));
        loop_.PostAfter(3, Note("timer"));
        loop_.PostAfter(100, Note("later"));
    });
    loop_.PostAfter(6, Note("other"));
    loop_.Advance(10);
    EXPECT_EQ(log_, (Log{"first@5", "posted@5", "other@6", "timer@8"}));
    EXPECT_EQ(loop_.PendingCount(), 1u);

    loop_.Post([this] { loop_.Post(Note("chained")); });
    loop_.Pump();
    EXPECT_EQ(log_.back(), "chained@10");
}

TEST_F(EventLoopTest, CancelledWorkNeverRuns) {
    const auto a = loop_.PostAfter(5, Note("a"));
    const auto b = loop_.PostAfter(5, Note("b"));
    loop_.Post([&] { EXPECT_TRUE(loop_.Cancel(b)); });
    EXPECT_TRUE(loop_.IsPending(a));
    EXPECT_TRUE(loop_.Cancel(a));
    EXPECT_FALSE(loop_.Cancel(a));
    EXPECT_FALSE(loop_.IsPending(a));
    EXPECT_FALSE(loop_.Cancel(0));
    EXPECT_TRUE(loop_.RunUntilIdle());
    EXPECT_TRUE(log_.empty());
    EXPECT_NE(a, b);
}

TEST_F(EventLoopTest, ErrorsAreRecordedAndTheLoopGoesOn) {
    loop_.Post([] { platform::com::Raise(13); });
    loop_.Post([] { throw std::runtime_error("boom"); });
    loop_.Post(Note("after"));
    loop_.Pump();
    EXPECT_EQ(log_, (Log{"after@0"}));
    const auto& errors = ErrorSink::Instance().Errors();
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[0].number, 13);
    EXPECT_EQ(errors[0].where, "EventLoop");
    EXPECT_EQ(errors[1].description, "boom");
}

TEST_F(EventLoopTest, RunUntilIdleMovesTheClockToEachDueTime) {
    loop_.PostAfter(10000, Note("timeout"));
    loop_.PostAfter(250, Note("answer"));
    EXPECT_TRUE(loop_.RunUntilIdle());
    EXPECT_EQ(log_, (Log{"answer@250", "timeout@10000"}));
    EXPECT_EQ(loop_.Now(), 10000);
    EXPECT_TRUE(ErrorSink::Instance().Empty());
}

TEST_F(EventLoopTest, RunawayWorkIsCappedAndReported) {
    // A timer that always reschedules itself, and work that always reposts itself.
    std::function<void()> again = [&] { loop_.PostAfter(1, again); };
    loop_.Post(again);
    EXPECT_FALSE(loop_.RunUntilIdle());
    ASSERT_EQ(ErrorSink::Instance().Errors().size(), 1u);
    EXPECT_EQ(ErrorSink::Instance().Errors()[0].where, "EventLoop::RunUntilIdle");
    EXPECT_EQ(loop_.Now(), static_cast<int64_t>(EventLoop::kMaxSteps) - 1);

    loop_.Reset();
    ErrorSink::Instance().Clear();
    std::function<void()> now = [&] { loop_.Post(now); };
    loop_.Post(now);
    EXPECT_EQ(loop_.Pump(), EventLoop::kMaxSteps);
    ASSERT_EQ(ErrorSink::Instance().Errors().size(), 1u);
    EXPECT_EQ(ErrorSink::Instance().Errors()[0].where, "EventLoop::Pump");

    // A tick stopped on the way leaves the clock where the work stopped, not
    // at the time asked for.
    loop_.Reset();
    ErrorSink::Instance().Clear();
    loop_.Post(again);
    EXPECT_EQ(loop_.Advance(86400000), EventLoop::kMaxSteps);
    ASSERT_EQ(ErrorSink::Instance().Errors().size(), 1u);
    EXPECT_EQ(ErrorSink::Instance().Errors()[0].where, "EventLoop::Advance");
    EXPECT_EQ(loop_.Now(), static_cast<int64_t>(EventLoop::kMaxSteps) - 1);

    // Exactly kMaxSteps pieces of work are no runaway.
    loop_.Reset();
    ErrorSink::Instance().Clear();
    for (size_t i = 0; i < EventLoop::kMaxSteps; ++i) loop_.Post([] {});
    EXPECT_TRUE(loop_.RunUntilIdle());
    EXPECT_TRUE(ErrorSink::Instance().Empty());
}

TEST_F(EventLoopTest, RunUntilOnlyTicksLeavesARepeatingTimerRunning) {
    // A refresh every 4000 ms whose tick posts a read answered 300 ms later,
    // beside a one-off timeout at 10000 ms.
    Timer refresh(loop_);
    refresh.OnTick = [&] {
        log_.push_back("tick@" + std::to_string(loop_.Now()));
        loop_.PostAfter(300, Note("answer"));
    };
    refresh.Interval(4000);
    refresh.Enabled(true);
    loop_.PostAfter(10000, Note("timeout"));
    EXPECT_EQ(loop_.PendingTicks(), 1u);
    EXPECT_TRUE(loop_.RunUntilOnlyTicks());
    EXPECT_EQ(log_, (Log{"tick@4000", "answer@4300", "tick@8000", "answer@8300", "timeout@10000"}));
    EXPECT_EQ(loop_.Now(), 10000);
    EXPECT_EQ(loop_.PendingCount(), 1u);  // the next tick, at 12000
    EXPECT_TRUE(ErrorSink::Instance().Empty());
    // With nothing but the tick left, it runs nothing.
    EXPECT_TRUE(loop_.RunUntilOnlyTicks());
    EXPECT_EQ(loop_.Now(), 10000);
    refresh.Enabled(false);
    EXPECT_EQ(loop_.PendingTicks(), 0u);
    EXPECT_EQ(loop_.PendingCount(), 0u);
}

TEST_F(EventLoopTest, NowDateIsTheBaseDatePlusWholeSeconds) {
    EXPECT_DOUBLE_EQ(loop_.NowDate(), EventLoop::kDefaultBaseDate);
    loop_.SetBaseDate(45000.5);
    loop_.Advance(1999);
    EXPECT_DOUBLE_EQ(loop_.NowDate(), 45000.5 + 1.0 / 86400);
    loop_.Advance(86400 * 1000);
    EXPECT_DOUBLE_EQ(loop_.NowDate(), 45001.5 + 1.0 / 86400);

    loop_.PostAfter(5, Note("dropped"));
    loop_.Reset();
    EXPECT_EQ(loop_.Now(), 0);
    EXPECT_EQ(loop_.PendingCount(), 0u);
    EXPECT_DOUBLE_EQ(loop_.NowDate(), EventLoop::kDefaultBaseDate);
    loop_.Advance(10);
    EXPECT_TRUE(log_.empty());
}

TEST_F(EventLoopTest, TimerTicksEveryIntervalWhileEnabled) {
    Timer timer(loop_);
    timer.OnTick = Note("tick");
    timer.Interval(4000);
    loop_.Advance(5000);
    EXPECT_TRUE(log_.empty());  // not enabled yet

    timer.Enabled(true);  // counts from now: 5000
    loop_.Advance(12000);
    EXPECT_EQ(log_, (Log{"tick@9000", "tick@13000", "tick@17000"}));

    timer.Interval(1000);  // restarts the countdown at 17000
    loop_.Advance(2500);
    EXPECT_EQ(log_.back(), "tick@19000");

    timer.Interval(0);
    loop_.Advance(5000);
    EXPECT_EQ(log_.size(), 5u);
    EXPECT_EQ(loop_.PendingCount(), 0u);
}

TEST_F(EventLoopTest, TimerMayStopOrDestroyItselfInItsTick) {
    Timer stopping(loop_);
    stopping.Interval(100);
    stopping.OnTick = [&] {
        log_.push_back("stop");
        stopping.Enabled(false);
    };
    stopping.Enabled(true);

    auto owned = std::make_unique<Timer>(loop_);
    owned->Interval(150);
    owned->OnTick = [&] {
        log_.push_back("destroy");
        owned.reset();
    };
    owned->Enabled(true);

    EXPECT_TRUE(loop_.RunUntilIdle());
    EXPECT_EQ(log_, (Log{"stop", "destroy"}));
    EXPECT_EQ(owned, nullptr);
}

TEST_F(EventLoopTest, TimerKeepsTickingAfterAThrowingTickAndStopsWhenDestroyed) {
    {
        Timer timer(loop_);
        timer.Interval(10);
        timer.OnTick = [] { platform::com::Raise(6); };
        timer.Enabled(true);
        loop_.Advance(30);
        EXPECT_EQ(ErrorSink::Instance().Errors().size(), 3u);
        EXPECT_EQ(loop_.PendingCount(), 1u);
    }
    EXPECT_EQ(loop_.PendingCount(), 0u);
}

TEST_F(EventLoopTest, NextDueInTellsHowLongUntilTheEarliestWork) {
    EXPECT_EQ(loop_.NextDueIn(), -1);
    loop_.PostAfter(19, Note("a"));
    loop_.PostAfter(7, Note("b"));
    EXPECT_EQ(loop_.NextDueIn(), 7);
    loop_.Advance(3);
    EXPECT_EQ(loop_.NextDueIn(), 4);
    loop_.Advance(loop_.NextDueIn());
    EXPECT_EQ(log_, (Log{"b@7"}));
    loop_.Post(Note("c"));
    EXPECT_EQ(loop_.NextDueIn(), 0);
}

TEST_F(EventLoopTest, CancelledWorkLeavesNoTraceWhenItsPlaceIsReused) {
    // Work due early stays pending while much later work is posted and
    // cancelled again and again (a transaction's timeout, say).
    loop_.PostAfter(50, Note("early"));
    EventLoop::TimerId last = 0;
    for (int i = 0; i < 1000; ++i) {
        const auto id = loop_.PostAfter(10000, Note("timeout"));
        EXPECT_NE(id, last);
        EXPECT_FALSE(loop_.IsPending(last));
        EXPECT_FALSE(loop_.Cancel(last));
        EXPECT_TRUE(loop_.Cancel(id));
        last = id;
    }
    EXPECT_EQ(loop_.PendingCount(), 1u);
    EXPECT_EQ(loop_.NextDueIn(), 50);
    const auto kept = loop_.PostAfter(60, Note("kept"));
    loop_.PostAfter(55, Note("between"));
    EXPECT_TRUE(loop_.IsPending(kept));
    EXPECT_TRUE(loop_.RunUntilIdle());
    EXPECT_EQ(log_, (Log{"early@50", "between@55", "kept@60"}));
    EXPECT_EQ(loop_.Now(), 60);
}

namespace {

// The local time as "yyyy-mm-dd hh:nn:ss".
std::string LocalText(std::time_t t) {
    std::tm local{};
    localtime_r(&t, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

std::string DateText(double serial) {
    const auto d = platform::com::SplitDate(serial);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", d.year, d.month, d.day, d.hour, d.minute,
                  d.second);
    return text;
}

TEST(SystemDate, IsTheLocalDateAndTimeToTheSecond) {
    const std::time_t before = std::time(nullptr);
    const std::string date = DateText(SystemDate());
    const std::time_t after = std::time(nullptr);
    EXPECT_TRUE(date == LocalText(before) || date == LocalText(after)) << date;
}

}  // namespace

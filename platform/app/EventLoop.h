#pragma once
// The one thread's event loop on a virtual clock. Nothing sleeps: time moves
// only when Advance or RunUntilIdle moves it, so tests are deterministic.
//
// Work is ordered by due time, ties in the order it was posted. An exception
// escaping a piece of work is recorded in ErrorSink and the loop goes on.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <unordered_map>
#include <utility>

namespace platform::app {

class EventLoop {
public:
    using Task = std::function<void()>;
    using TimerId = uint64_t;  // never 0

    // Work one call may run before it stops and records a runaway loop.
    static constexpr size_t kMaxSteps = 100000;
    // The date at virtual time 0 unless set: 2024-01-01 00:00:00.
    static constexpr double kDefaultBaseDate = 45292.0;

    static EventLoop& Instance();  // the process's loop

    EventLoop() = default;
    EventLoop(const EventLoop&) = delete;
    EventLoop& operator=(const EventLoop&) = delete;

    int64_t Now() const { return now_; }  // virtual milliseconds

    // Work due now; it runs on the next Pump (never inside Post).
    TimerId Post(Task task);
    // Work due `ms` from now (negative counts as 0).
    TimerId PostAfter(int64_t ms, Task task);
    // Drops work not yet run; False when it ran already or is unknown.
    bool Cancel(TimerId id);
    bool IsPending(TimerId id) const { return dueOf_.count(id) != 0; }
    size_t PendingCount() const { return queue_.size(); }
    // Milliseconds from now until the earliest pending work is due (0 when it
    // is due already); -1 when nothing is pending.
    int64_t NextDueIn() const;

    // Runs the work due now, including work it posts for now. Answers the
    // number of pieces run.
    size_t Pump();
    // Moves the clock `ms` ahead, running the work that falls due on the way at
    // its due time.
    size_t Advance(int64_t ms);
    // Runs everything, moving the clock to each due time, until nothing is
    // left. Stops after kMaxSteps pieces (a timer that keeps rescheduling
    // itself), records that in ErrorSink and answers False.
    bool RunUntilIdle();

    // VB Now: the base date plus the virtual time, in whole seconds.
    double NowDate() const;
    void SetBaseDate(double serial) { baseDate_ = serial; }

    // Drops all work and restarts the clock at 0 with the default base date.
    void Reset();

private:
    using Key = std::pair<int64_t, TimerId>;  // due time, then posting order
    TimerId Schedule(int64_t due, Task task);
    int64_t DueAfter(int64_t ms) const;  // now + ms, saturating; negative counts as 0
    bool HasDue(int64_t limit) const;
    bool RunNext(int64_t limit);
    // Runs the work due up to `limit`, at most kMaxSteps pieces; work still due
    // after that is recorded as a runaway loop.
    size_t RunDue(int64_t limit, const char* where);

    int64_t now_ = 0;
    double baseDate_ = kDefaultBaseDate;
    TimerId lastId_ = 0;
    std::map<Key, Task> queue_;
    std::unordered_map<TimerId, int64_t> dueOf_;
};

// EventLoop::Instance().NowDate()
double NowDate();

}  // namespace platform::app

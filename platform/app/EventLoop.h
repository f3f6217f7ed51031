#pragma once
// The one thread's event loop on a virtual clock. Nothing sleeps: time moves
// only when Advance or RunUntilIdle moves it, so tests are deterministic.
//
// Work is ordered by due time, ties in the order it was posted. An exception
// escaping a piece of work is recorded in ErrorSink and the loop goes on.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

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
    // The next tick of a repeating timer, due `ms` from now: work like any
    // other, but RunUntilOnlyTicks leaves it waiting.
    TimerId PostTick(int64_t ms, Task task);
    // Drops work not yet run; False when it ran already or is unknown.
    bool Cancel(TimerId id);
    bool IsPending(TimerId id) const {
        const size_t slot = id & kSlotMask;
        return id != 0 && slot < slots_.size() && slots_[slot].id == id;
    }
    size_t PendingCount() const { return pending_; }
    // Milliseconds from now until the earliest pending work is due (0 when it
    // is due already); -1 when nothing is pending.
    int64_t NextDueIn() const;

    // Runs the work due now, including work it posts for now. Answers the
    // number of pieces run.
    size_t Pump();
    // Moves the clock `ms` ahead, running the work that falls due on the way at
    // its due time. Stopped after kMaxSteps pieces (recorded in ErrorSink), the
    // clock stays at the due time of the last piece run.
    size_t Advance(int64_t ms);
    // Runs everything, moving the clock to each due time, until nothing is
    // left. Stops after kMaxSteps pieces (a timer that keeps rescheduling
    // itself), records that in ErrorSink and answers False.
    bool RunUntilIdle();
    // Runs the work in due order, moving the clock, until nothing but the
    // ticks of repeating timers is left (those would run for ever). Answers
    // False when it stopped after kMaxSteps pieces.
    bool RunUntilOnlyTicks();
    // The pending ticks of repeating timers.
    size_t PendingTicks() const { return pendingTicks_; }

    // VB Now: the base date plus the virtual time, in whole seconds.
    double NowDate() const;
    void SetBaseDate(double serial) { baseDate_ = serial; }

    // Drops all work and restarts the clock at 0 with the default base date.
    void Reset();

private:
    // A TimerId is the posting sequence number above the index of the slot
    // that holds the work, so that it orders work by posting and finds its
    // slot without a lookup.
    static constexpr unsigned kSlotBits = 24;
    static constexpr TimerId kSlotMask = (TimerId{1} << kSlotBits) - 1;

    struct Slot {
        Task task;
        TimerId id = 0;  // 0 while free
        bool tick = false;
    };
    // The heap of due times; an entry whose slot no longer holds its id is
    // cancelled work, dropped when it comes to the top (or when
    // cancelled work fills the heap, DropCancelled).
    struct Due {
        int64_t due;
        TimerId id;
    };
    static bool Later(const Due& a, const Due& b) { return a.due != b.due ? a.due > b.due : a.id > b.id; }

    TimerId Schedule(int64_t due, Task task, bool tick = false);
    int64_t DueAfter(int64_t ms) const;  // now + ms, saturating; negative counts as 0
    bool HasDue(int64_t limit) const { return !heap_.empty() && heap_.front().due <= limit; }
    bool RunNext(int64_t limit);
    // Runs the work due up to `limit`, at most kMaxSteps pieces; work still due
    // after that is recorded as a runaway loop.
    size_t RunDue(int64_t limit, const char* where);
    // Frees the slot of work that is run or cancelled; answers its task.
    Task Release(TimerId id);
    // Keeps the top of the heap pending work, and the heap from filling up
    // with cancelled work.
    void DropCancelled();

    int64_t now_ = 0;
    double baseDate_ = kDefaultBaseDate;
    TimerId lastSequence_ = 0;
    std::vector<Slot> slots_;
    std::vector<size_t> freeSlots_;
    std::vector<Due> heap_;  // by due time, then posting order; the top is pending work
    size_t pending_ = 0;
    size_t pendingTicks_ = 0;
};

// EventLoop::Instance().NowDate()
double NowDate();

}  // namespace platform::app

#include "platform/app/EventLoop.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <string>

#include "platform/app/ErrorSink.h"

namespace platform::app {

EventLoop& EventLoop::Instance() {
    static EventLoop loop;
    return loop;
}

EventLoop::TimerId EventLoop::Schedule(int64_t due, Task task, bool tick) {
    size_t slot;
    if (freeSlots_.empty()) {
        if (slots_.size() > kSlotMask) throw std::length_error("EventLoop: too much pending work");
        slot = slots_.size();
        slots_.emplace_back();
    } else {
        slot = freeSlots_.back();
        freeSlots_.pop_back();
    }
    const TimerId id = ++lastSequence_ << kSlotBits | slot;
    slots_[slot].task = std::move(task);
    slots_[slot].id = id;
    slots_[slot].tick = tick;
    pendingTicks_ += tick ? 1 : 0;
    heap_.push_back({due, id});
    std::push_heap(heap_.begin(), heap_.end(), Later);
    ++pending_;
    return id;
}

EventLoop::TimerId EventLoop::Post(Task task) { return Schedule(now_, std::move(task)); }

EventLoop::TimerId EventLoop::PostAfter(int64_t ms, Task task) {
    return Schedule(DueAfter(ms), std::move(task));
}

EventLoop::TimerId EventLoop::PostTick(int64_t ms, Task task) {
    return Schedule(DueAfter(ms), std::move(task), true);
}

EventLoop::Task EventLoop::Release(TimerId id) {
    const size_t slot = id & kSlotMask;
    pendingTicks_ -= slots_[slot].tick ? 1 : 0;
    slots_[slot].tick = false;
    Task task = std::move(slots_[slot].task);
    slots_[slot].task = nullptr;
    slots_[slot].id = 0;
    freeSlots_.push_back(slot);
    --pending_;
    return task;
}

void EventLoop::DropCancelled() {
    if (heap_.size() > 2 * pending_ + 64) {
        std::erase_if(heap_, [this](const Due& d) { return !IsPending(d.id); });
        std::make_heap(heap_.begin(), heap_.end(), Later);
    }
    while (!heap_.empty() && !IsPending(heap_.front().id)) {
        std::pop_heap(heap_.begin(), heap_.end(), Later);
        heap_.pop_back();
    }
}

bool EventLoop::Cancel(TimerId id) {
    if (!IsPending(id)) return false;
    Task dropped = Release(id);
    DropCancelled();
    return true;  // the task is destroyed here, after the bookkeeping is consistent
}

int64_t EventLoop::DueAfter(int64_t ms) const {
    if (ms <= 0) return now_;
    return ms > std::numeric_limits<int64_t>::max() - now_ ? std::numeric_limits<int64_t>::max() : now_ + ms;
}

bool EventLoop::RunNext(int64_t limit) {
    if (!HasDue(limit)) return false;
    const Due next = heap_.front();
    std::pop_heap(heap_.begin(), heap_.end(), Later);
    heap_.pop_back();
    Task task = Release(next.id);
    DropCancelled();
    now_ = std::max(now_, next.due);
    try {
        task();
    } catch (...) {
        ErrorSink::Instance().RecordCurrentException("EventLoop");
    }
    return true;
}

int64_t EventLoop::NextDueIn() const {
    if (heap_.empty()) return -1;
    return std::max<int64_t>(heap_.front().due - now_, 0);
}

size_t EventLoop::RunDue(int64_t limit, const char* where) {
    size_t steps = 0;
    while (steps < kMaxSteps && RunNext(limit)) ++steps;
    if (HasDue(limit))
        ErrorSink::Instance().Record({kInternalErrorNumber, "EventLoop",
                                      "Stopped after " + std::to_string(kMaxSteps) + " pieces of work", where});
    return steps;
}

size_t EventLoop::Pump() { return RunDue(now_, "EventLoop::Pump"); }

size_t EventLoop::Advance(int64_t ms) {
    const int64_t target = DueAfter(ms);
    const size_t steps = RunDue(target, "EventLoop::Advance");
    // Stopped with work still due on the way: the clock stays where the work stopped.
    if (!HasDue(target)) now_ = std::max(now_, target);
    return steps;
}

bool EventLoop::RunUntilIdle() {
    RunDue(std::numeric_limits<int64_t>::max(), "EventLoop::RunUntilIdle");
    return pending_ == 0;
}

bool EventLoop::RunUntilOnlyTicks() {
    size_t steps = 0;
    while (pending_ > pendingTicks_) {
        if (steps == kMaxSteps) {
            ErrorSink::Instance().Record({kInternalErrorNumber, "EventLoop",
                                          "Stopped after " + std::to_string(kMaxSteps) + " pieces of work",
                                          "EventLoop::RunUntilOnlyTicks"});
            return false;
        }
        RunNext(std::numeric_limits<int64_t>::max());
        ++steps;
    }
    return true;
}

double EventLoop::NowDate() const { return baseDate_ + static_cast<double>(now_ / 1000) / 86400.0; }

void EventLoop::Reset() {
    auto dropped = std::move(slots_);  // destroyed last: a task's destructor may use the loop
    slots_.clear();
    freeSlots_.clear();
    heap_.clear();
    pending_ = 0;
    pendingTicks_ = 0;
    now_ = 0;
    baseDate_ = kDefaultBaseDate;
}

double NowDate() { return EventLoop::Instance().NowDate(); }

}  // namespace platform::app

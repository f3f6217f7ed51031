#include "platform/app/EventLoop.h"

#include <algorithm>
#include <limits>
#include <string>

#include "platform/app/ErrorSink.h"

namespace platform::app {

EventLoop& EventLoop::Instance() {
    static EventLoop loop;
    return loop;
}

EventLoop::TimerId EventLoop::Schedule(int64_t due, Task task) {
    const TimerId id = ++lastId_;
    queue_.emplace(Key{due, id}, std::move(task));
    dueOf_.emplace(id, due);
    return id;
}

EventLoop::TimerId EventLoop::Post(Task task) { return Schedule(now_, std::move(task)); }

EventLoop::TimerId EventLoop::PostAfter(int64_t ms, Task task) {
    return Schedule(DueAfter(ms), std::move(task));
}

bool EventLoop::Cancel(TimerId id) {
    const auto it = dueOf_.find(id);
    if (it == dueOf_.end()) return false;
    auto node = queue_.extract(Key{it->second, id});
    dueOf_.erase(it);
    return true;  // the task is destroyed here, after the bookkeeping is consistent
}

int64_t EventLoop::DueAfter(int64_t ms) const {
    if (ms <= 0) return now_;
    return ms > std::numeric_limits<int64_t>::max() - now_ ? std::numeric_limits<int64_t>::max() : now_ + ms;
}

bool EventLoop::RunNext(int64_t limit) {
    if (!HasDue(limit)) return false;
    auto node = queue_.extract(queue_.begin());
    dueOf_.erase(node.key().second);
    now_ = std::max(now_, node.key().first);
    try {
        node.mapped()();
    } catch (...) {
        ErrorSink::Instance().RecordCurrentException("EventLoop");
    }
    return true;
}

int64_t EventLoop::NextDueIn() const {
    if (queue_.empty()) return -1;
    return std::max<int64_t>(queue_.begin()->first.first - now_, 0);
}

bool EventLoop::HasDue(int64_t limit) const { return !queue_.empty() && queue_.begin()->first.first <= limit; }

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
    now_ = std::max(now_, target);
    return steps;
}

bool EventLoop::RunUntilIdle() {
    RunDue(std::numeric_limits<int64_t>::max(), "EventLoop::RunUntilIdle");
    return queue_.empty();
}

double EventLoop::NowDate() const { return baseDate_ + static_cast<double>(now_ / 1000) / 86400.0; }

void EventLoop::Reset() {
    auto dropped = std::move(queue_);  // destroyed last: a task's destructor may use the loop
    queue_.clear();
    dueOf_.clear();
    now_ = 0;
    baseDate_ = kDefaultBaseDate;
}

double NowDate() { return EventLoop::Instance().NowDate(); }

}  // namespace platform::app

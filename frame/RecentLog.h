#pragma once
// A log that keeps only its last entries, so that a frame that runs for days
// holds a bounded record. Entries are numbered by position from the first ever
// recorded: size() is the position after the last, first() that of the oldest
// still kept, and [] takes a position. A reader that remembers the position it
// read up to stays valid while the oldest entries drop out.
#include <algorithm>
#include <cstddef>
#include <deque>

namespace dtm::frame {

template <class T>
class RecentLog {
public:
    static constexpr size_t kDefaultCapacity = 512;

    void push_back(T entry) {
        entries_.push_back(std::move(entry));
        ++end_;
        Trim();
    }
    // Keeps at most `capacity` entries (at least one) from now on.
    void Keep(size_t capacity) {
        capacity_ = std::max<size_t>(capacity, 1);
        Trim();
    }
    void clear() {
        entries_.clear();
        end_ = 0;
    }

    size_t size() const { return end_; }
    size_t first() const { return end_ - entries_.size(); }
    bool empty() const { return entries_.empty(); }
    const T& operator[](size_t position) const { return entries_[position - first()]; }
    const T& back() const { return entries_.back(); }
    // The kept entries, oldest first.
    auto begin() const { return entries_.begin(); }
    auto end() const { return entries_.end(); }

private:
    void Trim() {
        while (entries_.size() > capacity_) entries_.pop_front();
    }

    std::deque<T> entries_;
    size_t end_ = 0;
    size_t capacity_ = kDefaultCapacity;
};

}  // namespace dtm::frame

#pragma once
// Which elements were written since the data model last looked at them. The
// elements of one collection share a change list; an element goes on it with
// the first write of a field that it watches (its values and their units, its
// status flags), and once more only after the list was taken. The fields say
// so themselves on every write, so that no writer can forget it.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/com/Variant.h"

namespace dtm {

class ChangeWatcher;

class ChangeList {
public:
    void Add(ChangeWatcher* watcher) { items_.push_back(watcher); }
    // An element that goes away leaves an empty entry.
    void Remove(const ChangeWatcher* watcher) noexcept {
        std::replace(items_.begin(), items_.end(), const_cast<ChangeWatcher*>(watcher),
                     static_cast<ChangeWatcher*>(nullptr));
    }
    // The entries so far into `taken` (emptied first); the list starts afresh.
    void TakeInto(std::vector<ChangeWatcher*>& taken) noexcept {
        taken.clear();
        taken.swap(items_);
    }

private:
    std::vector<ChangeWatcher*> items_;
};

// The part of an element that puts it on a change list.
class ChangeWatcher {
public:
    ChangeWatcher() = default;
    ChangeWatcher(const ChangeWatcher&) = delete;
    ChangeWatcher& operator=(const ChangeWatcher&) = delete;
    ~ChangeWatcher() {
        if (listed_) list_->Remove(this);
    }

    void Written() {
        if (!list_ || listed_) return;
        list_->Add(this);
        listed_ = true;
    }
    // From now on a write puts the element on `list` (none: on no list).
    void WatchInto(std::shared_ptr<ChangeList> list) noexcept {
        list_ = std::move(list);
        listed_ = false;
    }
    // Called for the element when its entry was taken from the list.
    void Unlisted() noexcept { listed_ = false; }

    // What the element last added to the data-set state (the data model's to keep).
    uint8_t StateShare() const noexcept { return stateShare_; }
    void StateShare(uint8_t share) noexcept { stateShare_ = share; }

private:
    std::shared_ptr<ChangeList> list_;
    bool listed_ = false;
    uint8_t stateShare_ = 0;
};

// A field that tells its element's watcher when it is written. It reads as
// its value; a copy (of the element's fields, say) watches nothing.
template <class T>
class WatchedField {
public:
    WatchedField() = default;
    WatchedField(const WatchedField& other) : value_(other.value_) {}
    WatchedField& operator=(const WatchedField& other) { return *this = other.value_; }
    WatchedField& operator=(const T& value) {
        value_ = value;
        Written();
        return *this;
    }
    WatchedField& operator=(T&& value) {
        value_ = std::move(value);
        Written();
        return *this;
    }
    operator const T&() const noexcept { return value_; }
    const T& Value() const noexcept { return value_; }

    void Watch(ChangeWatcher* watcher) noexcept { watcher_ = watcher; }

protected:
    void Written() {
        if (watcher_) watcher_->Written();
    }
    T value_{};

private:
    ChangeWatcher* watcher_ = nullptr;
};

// A unit code.
using WatchedUnit = WatchedField<int16_t>;

// A value, with the Variant's questions asked of it directly.
class WatchedValue : public WatchedField<platform::Variant> {
public:
    using Variant = platform::Variant;
    using WatchedField::operator=;

    int32_t VarTypeCode() const noexcept { return value_.VarTypeCode(); }
    platform::com::VarType Type() const noexcept { return value_.Type(); }
    bool IsEmpty() const noexcept { return value_.IsEmpty(); }
    bool IsNull() const noexcept { return value_.IsNull(); }
    bool IsMissing() const noexcept { return value_.IsMissing(); }
    bool IsArray() const noexcept { return value_.IsArray(); }
    bool IsByteArray() const noexcept { return value_.IsByteArray(); }
    bool IsObject() const noexcept { return value_.IsObject(); }
    bool IsString() const noexcept { return value_.IsString(); }
    const std::string& StrRef() const { return value_.StrRef(); }
    double DateSerial() const { return value_.DateSerial(); }
    int32_t LBound() const { return value_.LBound(); }
    int32_t UBound() const { return value_.UBound(); }
    int32_t Count() const { return value_.Count(); }
    Variant At(int32_t index) const { return value_.At(index); }
    std::vector<uint8_t> ToBytes() const { return value_.ToBytes(); }
    const std::vector<uint8_t>& BytesRef() const { return value_.BytesRef(); }
};

}  // namespace dtm

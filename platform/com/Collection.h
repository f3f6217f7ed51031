#pragma once
// The VB Collection: 1-based ordered items with optional unique keys (ASCII
// case ignored). KeyedList is the same bookkeeping for any item type; the
// tabs, panels and list images of the common controls use it too.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/com/Variant.h"

namespace platform::com {

// Lower-cases ASCII letters only: the key comparison of collections.
std::string KeyFold(const std::string& key);

template <class T>
class KeyedList {
    struct Entry {
        std::string key;
        T item;
    };

public:
    int32_t Count() const { return static_cast<int32_t>(items_.size()); }

    // Inserts before 1-based `index` (0 = append). A key already present
    // raises 457; an index outside 1..Count + 1 raises 9. Empty keys repeat.
    T& Insert(T item, const std::string& key, int32_t index = 0) {
        if (index == 0) index = Count() + 1;
        if (index < 1 || index > Count() + 1) Raise(errSubscript);
        if (!key.empty() && Find(key) != 0) Raise(errDuplicateKey);
        auto at = items_.insert(items_.begin() + (index - 1), Entry{key, std::move(item)});
        return at->item;
    }

    // 1-based position of `key`, 0 when absent (an empty key is never found).
    int32_t Find(const std::string& key) const {
        if (key.empty()) return 0;
        const std::string folded = KeyFold(key);
        for (size_t i = 0; i < items_.size(); ++i)
            if (KeyFold(items_[i].key) == folded) return static_cast<int32_t>(i + 1);
        return 0;
    }
    bool Contains(const std::string& key) const { return Find(key) != 0; }
    // 1-based position of the first item `pred` accepts, 0 when none does.
    template <class Pred>
    int32_t FindIf(Pred pred) const {
        for (size_t i = 0; i < items_.size(); ++i)
            if (pred(items_[i].item)) return static_cast<int32_t>(i + 1);
        return 0;
    }

    // Out of range raises 9; a missing key raises 5.
    int32_t PositionOf(const std::string& key) const {
        const int32_t at = Find(key);
        if (at == 0) Raise(errInvalidArgument);
        return at;
    }
    const T& At(int32_t index) const {
        if (index < 1 || index > Count()) Raise(errSubscript);
        return items_[index - 1].item;
    }
    T& At(int32_t index) {
        if (index < 1 || index > Count()) Raise(errSubscript);
        return items_[index - 1].item;
    }
    const T& At(const std::string& key) const { return At(PositionOf(key)); }
    const std::string& KeyAt(int32_t index) const {
        At(index);
        return items_[index - 1].key;
    }
    void SetKeyAt(int32_t index, const std::string& key) {
        At(index);
        const int32_t other = Find(key);
        if (other != 0 && other != index) Raise(errDuplicateKey);
        items_[index - 1].key = key;
    }

    // Takes the item out and answers it (9 / 5 as At).
    T Remove(int32_t index) {
        T item = std::move(At(index));
        items_.erase(items_.begin() + (index - 1));
        return item;
    }
    T Remove(const std::string& key) { return Remove(PositionOf(key)); }
    void Clear() { items_.clear(); }

    // Iteration over the items in order.
    class const_iterator {
    public:
        const T& operator*() const { return it_->item; }
        const_iterator& operator++() {
            ++it_;
            return *this;
        }
        bool operator!=(const const_iterator& o) const { return it_ != o.it_; }

    private:
        friend class KeyedList;
        using It = typename std::vector<Entry>::const_iterator;
        explicit const_iterator(It it) : it_(it) {}
        It it_;
    };
    const_iterator begin() const { return const_iterator(items_.begin()); }
    const_iterator end() const { return const_iterator(items_.end()); }

private:
    std::vector<Entry> items_;
};

class Collection : public Object {
public:
    // Appends; a duplicate key raises 457 and adds nothing.
    void Add(const Variant& item, const std::string& key = "") { list_.Insert(item, key); }
    // 1-based; out of range raises 9.
    Variant Item(int32_t index) const { return list_.At(index); }
    // A missing key raises 5.
    Variant Item(const std::string& key) const { return list_.At(key); }
    Variant Item(const char* key) const { return Item(std::string(key ? key : "")); }
    void Remove(int32_t index) { list_.Remove(index); }
    void Remove(const std::string& key) { list_.Remove(key); }
    void Remove(const char* key) { Remove(std::string(key ? key : "")); }
    int32_t Count() const { return list_.Count(); }
    bool Contains(const std::string& key) const { return list_.Contains(key); }

    auto begin() const { return list_.begin(); }
    auto end() const { return list_.end(); }

private:
    KeyedList<Variant> list_;
};

}  // namespace platform::com

#pragma once
// An event of a control: handlers connected in order, raised synchronously.
// A raise runs over the handlers connected when it began; one disconnected
// meanwhile is skipped. ByRef arguments are reference types in Args.
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace platform::ui {

template <class... Args>
class Signal {
public:
    using Handler = std::function<void(Args...)>;

    // Answers an id (never 0) for Disconnect.
    uint64_t Connect(Handler handler) {
        slots_.push_back(std::make_shared<Slot>(Slot{++lastId_, std::move(handler), true}));
        return lastId_;
    }
    void Disconnect(uint64_t id) {
        for (auto it = slots_.begin(); it != slots_.end(); ++it) {
            if ((*it)->id != id) continue;
            (*it)->connected = false;
            slots_.erase(it);
            return;
        }
    }
    size_t Count() const { return slots_.size(); }

    void Raise(Args... args) const {
        const auto snapshot = slots_;
        for (const auto& slot : snapshot)
            if (slot->connected) slot->handler(args...);
    }

private:
    struct Slot {
        uint64_t id;
        Handler handler;
        bool connected;
    };
    std::vector<std::shared_ptr<Slot>> slots_;
    uint64_t lastId_ = 0;
};

}  // namespace platform::ui

#pragma once
// The VB error number a call raises, 0 when it raises none.
#include <cstdint>
#include <functional>

#include "platform/com/Error.h"

inline int32_t ErrorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const platform::com::ComError& e) {
        return e.number;
    }
    return 0;
}

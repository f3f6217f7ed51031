#pragma once
// Down-casts for the hot paths: an object of exactly the asked type is taken
// by comparing its type, without the class-graph search of dynamic_cast; any
// other object goes through dynamic_cast as before (null when it is no T).
#include <memory>
#include <typeinfo>

namespace platform::com {

template <class T, class U>
T* FastCast(U* p) noexcept {
    if (!p) return nullptr;
    if (typeid(*p) == typeid(T)) return static_cast<T*>(p);
    return dynamic_cast<T*>(p);
}

template <class T, class U>
std::shared_ptr<T> FastPointerCast(const std::shared_ptr<U>& p) noexcept {
    T* t = FastCast<T>(p.get());
    return t ? std::shared_ptr<T>(p, t) : nullptr;
}

}  // namespace platform::com

#include "platform/com/Collection.h"

namespace platform::com {

std::string KeyFold(const std::string& key) {
    std::string folded = key;
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return folded;
}

}  // namespace platform::com

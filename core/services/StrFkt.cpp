#include "core/services/StrFkt.h"

#include "platform/com/VbText.h"

namespace dtm {
namespace vb = platform::com::vb;

int32_t InStrRevLike(const std::string& text, const std::string& pattern, int32_t compareMode) {
    if (pattern.empty()) return 0;
    std::string haystack = text;
    std::string wrapped = "*" + pattern + "*";
    if (compareMode == 1) {
        haystack = vb::LCase(haystack);
        wrapped = vb::LCase(wrapped);
    }
    // The rest of the text from a position matches as long as the position is at
    // or before the start of the last match, so the answer is found by bisection.
    int32_t low = 1;
    int32_t high = static_cast<int32_t>(vb::Len(haystack));
    int32_t result = 0;
    while (low <= high) {
        const int32_t middle = (low + high) / 2;
        if (vb::Like(vb::Mid(haystack, middle), wrapped)) {
            result = middle;
            low = middle + 1;
        } else {
            high = middle - 1;
        }
    }
    return result;
}

}  // namespace dtm

#include "core/services/LangSupp.h"

#include <limits>

#include "platform/com/Error.h"

namespace dtm {

int16_t PrimaryLangId(int32_t lcid) { return static_cast<int16_t>(lcid % 1024); }

int32_t MakeLcid(int16_t primaryLanguage, int16_t subLanguage, int16_t sortId) {
    const int64_t lcid = int64_t{primaryLanguage} + int64_t{subLanguage} * 1024 + int64_t{sortId} * 65536;
    if (lcid < std::numeric_limits<int32_t>::min() || lcid > std::numeric_limits<int32_t>::max())
        platform::com::Raise(platform::com::errOverflow);
    return static_cast<int32_t>(lcid);
}

}  // namespace dtm

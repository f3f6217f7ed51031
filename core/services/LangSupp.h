#pragma once
// Locale ids: primary language and composition.
#include <cstdint>

namespace dtm {

// The locale id modulo 1024 (sign of the locale id): 1031 → 7.
int16_t PrimaryLangId(int32_t lcid);
// primary + sub × 1024 + sort × 65536; a result beyond 32 bits raises 6.
int32_t MakeLcid(int16_t primaryLanguage, int16_t subLanguage, int16_t sortId);

}  // namespace dtm

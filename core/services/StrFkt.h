#pragma once
// Reverse search with a wildcard pattern.
#include <cstdint>
#include <string>

namespace dtm {

// 1-based start of the last match of `pattern` (VB Like syntax) in `text`,
// 0 when there is none or the pattern is empty. compareMode 1 ignores case.
int32_t InStrRevLike(const std::string& text, const std::string& pattern, int32_t compareMode);

}  // namespace dtm

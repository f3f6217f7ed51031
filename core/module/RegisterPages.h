#pragma once
// Registers every page by its program id, "RG38N226_4_07." and its class
// name. Pages are created without a DTM; the frame initialises them.
#include <string>

namespace platform::com {
class ClassRegistry;
}

namespace dtm {

inline constexpr const char* kPageProgIdPrefix = "RG38N226_4_07.";

void RegisterPages(platform::com::ClassRegistry& registry);

}  // namespace dtm

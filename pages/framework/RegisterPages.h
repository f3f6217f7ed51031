#pragma once
// Registers every page by its program id, "RG38N226_4_07." and its class
// name. Pages are created without a DTM; the frame initialises them. The
// list of pages is kept in the module layer, which knows the pages of every
// folder (core/module/RegisterPages.cpp).
#include <memory>
#include <string>

#include "platform/com/ClassRegistry.h"

namespace dtm {

inline constexpr const char* kPageProgIdPrefix = "RG38N226_4_07.";

void RegisterPages(platform::com::ClassRegistry& registry);

// Registers one page class under "RG38N226_4_07." & className.
template <class Page>
void RegisterPage(platform::com::ClassRegistry& registry, const char* className) {
    registry.Register(std::string(kPageProgIdPrefix) + className, [] { return std::make_shared<Page>(); });
}

}  // namespace dtm

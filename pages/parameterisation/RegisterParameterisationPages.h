#pragma once
// The parameterisation pages, registered by program id ("RG38N226_4_07.<class>").
namespace platform::com {
class ClassRegistry;
}

namespace dtm {

void RegisterParameterisationPages(platform::com::ClassRegistry& registry);

}  // namespace dtm

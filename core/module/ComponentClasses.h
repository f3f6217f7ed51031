#pragma once
// The component's creatable classes, registered by program id
// ("RG38N226_4_07.<class>") in a class registry; errors trapped at the frame
// boundary are traced from then on.
namespace platform::com {
class ClassRegistry;
}

namespace dtm {

void RegisterComponentClasses(platform::com::ClassRegistry& registry);

}  // namespace dtm

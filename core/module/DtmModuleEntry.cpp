// The entry point of the component module: the frame loads the module and asks
// it for its class factory, through which it creates the DTM (and later the
// pages) by program id.
#include "core/module/ComponentClasses.h"
#include "core/module/DtmModuleEntry.h"
#include "platform/com/ClassRegistry.h"

extern "C" __attribute__((visibility("default"))) platform::com::ClassRegistry* DtmGetClassFactory() {
    try {
        auto& registry = platform::com::ClassRegistry::Global();
        dtm::RegisterComponentClasses(registry);
        return &registry;
    } catch (...) {
        return nullptr;
    }
}

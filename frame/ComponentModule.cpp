#include "frame/ComponentModule.h"

#include <dlfcn.h>

#include "core/module/DtmModuleEntry.h"

namespace dtm::frame {

platform::com::ClassRegistry* LoadComponentModule(const std::string& file, std::string& error) {
    void* module = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        const char* why = dlerror();
        error = why ? why : "cannot load " + file;
        return nullptr;
    }
    auto entry = reinterpret_cast<DtmGetClassFactoryFn>(dlsym(module, kDtmClassFactoryEntry));
    if (!entry) {
        error = std::string("no entry point ") + kDtmClassFactoryEntry + " in " + file;
        return nullptr;
    }
    auto* factory = entry();
    if (!factory) error = "the class factory of " + file + " could not be set up";
    return factory;
}

}  // namespace dtm::frame

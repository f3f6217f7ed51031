#include "platform/com/ClassRegistry.h"

#include <uuid/uuid.h>

#include "platform/com/Error.h"
#include "platform/com/IClassInit.h"
#include "platform/com/VbText.h"

namespace platform::com {

namespace {

// Name space of the component's class ids, {B4FE0F7C-6ED6-44E1-8A4D-F3D8FD663418}.
constexpr uuid_t kClassIdNamespace = {0xB4, 0xFE, 0x0F, 0x7C, 0x6E, 0xD6, 0x44, 0xE1,
                                      0x8A, 0x4D, 0xF3, 0xD8, 0xFD, 0x66, 0x34, 0x18};

Guid NameBasedGuid(const std::string& name) {
    uuid_t out;
    uuid_generate_sha1(out, kClassIdNamespace, name.data(), name.size());
    return win::GuidFromTextOrderBytes(out);
}

}  // namespace

void ClassRegistry::Register(const std::string& progId, Factory factory) {
    if (progId.empty() || !factory) Raise(errInvalidArgument);
    factories_[vb::LCase(progId)] = std::move(factory);
}

P<Object> ClassRegistry::TryCreateObject(const std::string& progId) const {
    auto it = factories_.find(vb::LCase(progId));
    if (it == factories_.end()) return nullptr;
    P<Object> obj = it->second();
    if (!obj) return nullptr;
    if (auto init = std::dynamic_pointer_cast<IClassInit>(obj)) init->Class_Initialize();
    return obj;
}

P<Object> ClassRegistry::CreateObject(const std::string& progId) const {
    P<Object> obj = TryCreateObject(progId);
    if (!obj) Raise(errCannotCreate);
    return obj;
}

bool ClassRegistry::IsRegistered(const std::string& progId) const {
    return factories_.count(vb::LCase(progId)) != 0;
}

bool ClassRegistry::CLSIDFromProgID(const std::string& progId, Guid& clsid) const {
    if (!IsRegistered(progId)) return false;
    clsid = NameBasedGuid(vb::LCase(progId));
    return true;
}

ClassRegistry& ClassRegistry::Global() {
    static ClassRegistry registry;
    return registry;
}

}  // namespace platform::com

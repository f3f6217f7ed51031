#pragma once
// Program-id registry of the component's creatable classes (the DTM class, the
// pages and the views): creation by name and the class ids derived from names.
#include <functional>
#include <map>
#include <string>

#include "platform/com/Variant.h"
#include "platform/win/Guid.h"

namespace platform::com {

using win::Guid;

class ClassRegistry {
public:
    using Factory = std::function<P<Object>()>;

    // Registers (or replaces) a class. Program ids match ignoring case.
    // An empty id or an empty factory raises 5.
    void Register(const std::string& progId, Factory factory);

    // Constructs the object, then runs its IClassInit::Class_Initialize (when it
    // implements it). Unknown id, or a factory that gives nothing: 429. Errors of
    // the constructor or of Class_Initialize pass to the caller.
    P<Object> CreateObject(const std::string& progId) const;
    // As CreateObject, but an unknown id (or an empty factory result) gives null.
    P<Object> TryCreateObject(const std::string& progId) const;

    bool IsRegistered(const std::string& progId) const;

    // The class id of a registered program id: a name-based id (SHA-1, version 5
    // layout) of the lower-cased program id, the same in every run. False, and
    // `clsid` unchanged, for an id that is not registered.
    bool CLSIDFromProgID(const std::string& progId, Guid& clsid) const;

    // "{8-4-4-4-12}", upper case.
    static std::string GuidToString(const Guid& guid) { return win::GuidToString(guid); }

    // The component's registry.
    static ClassRegistry& Global();

private:
    std::map<std::string, Factory> factories_;  // key: program id in lower case
};

}  // namespace platform::com

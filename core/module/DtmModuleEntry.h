#pragma once
// The one entry point of the component module (looked up by name after
// loading): the class factory with every creatable class of the component
// registered; null when registration failed.
namespace platform::com {
class ClassRegistry;
}

inline constexpr const char* kDtmClassFactoryEntry = "DtmGetClassFactory";
using DtmGetClassFactoryFn = platform::com::ClassRegistry* (*)();

extern "C" platform::com::ClassRegistry* DtmGetClassFactory();

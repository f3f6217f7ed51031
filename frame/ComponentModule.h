#pragma once
// The component module as the frame loads it: the shared library, opened once,
// and its class factory.
#include <string>

namespace platform::com {
class ClassRegistry;
}

namespace dtm::frame {

// Opens the module file and asks its entry point for the class factory. Null,
// with `error` saying why, when the file cannot be loaded or has no entry point.
// The module stays loaded for the life of the process.
platform::com::ClassRegistry* LoadComponentModule(const std::string& file, std::string& error);

}  // namespace dtm::frame

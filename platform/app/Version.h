#pragma once
// The component's identity: its version (the one version constant of the
// component) and its project name, the prefix of every program id.
#include <string>

namespace platform::app {

inline constexpr int kVersionMajor = 1;
inline constexpr int kVersionMinor = 1;
inline constexpr int kVersionRevision = 14;

// "1.1.14"
inline std::string Version() {
    return std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
           std::to_string(kVersionRevision);
}

// "RG38N226_4_07"
inline std::string ProjectName() { return "RG38N226_4_07"; }

}  // namespace platform::app

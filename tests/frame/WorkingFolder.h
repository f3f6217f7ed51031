#pragma once
// A temporary folder of the test's own that is the process's working
// directory while it lives: what a page script saves by a relative name lands
// there, and goes with it.
#include <filesystem>
#include <system_error>

#include "platform/TempFolder.h"

class WorkingFolder : public TempFolder {
public:
    WorkingFolder() : previous_(std::filesystem::current_path()) { std::filesystem::current_path(Dir()); }
    ~WorkingFolder() {
        std::error_code ec;
        std::filesystem::current_path(previous_, ec);
    }

private:
    std::filesystem::path previous_;
};

#pragma once
// A component folder of its own for a test, with a configuration file, a
// fixed clock and fresh trace modes; everything is set back afterwards.
#include <filesystem>
#include <string>

#include "core/services/Trace.h"
#include "platform/TempFolder.h"
#include "platform/app/EventLoop.h"
#include "platform/app/Path.h"
#include "platform/com/Variant.h"

namespace dtm::testing {

class ComponentFolder {
public:
    ComponentFolder() {
        platform::app::SetPath(folder_.Dir().string());
        std::filesystem::create_directories(folder_.Dir() / "Resources");
        ResetTraceModes();
    }
    ~ComponentFolder() {
        platform::app::SetPath("");
        platform::app::EventLoop::Instance().Reset();
        ResetTraceModes();
        SetTraceVersionName("");
    }

    void WriteIni(const std::string& content) const { folder_.Write("Resources/DTM.ini", content); }
    std::string Read(const std::string& name) const { return folder_.Read(name); }
    bool Exists(const std::string& name) const { return std::filesystem::exists(folder_.Dir() / name); }
    std::string Write(const std::string& name, const std::string& bytes) const { return folder_.Write(name, bytes); }
    const std::filesystem::path& Dir() const { return folder_.Dir(); }

    // The virtual clock's date: 2024-03-05 14:07:09.
    static void FixClock() {
        platform::app::EventLoop::Instance().Reset();
        platform::app::EventLoop::Instance().SetBaseDate(platform::com::DateSerial(2024, 3, 5) +
                                                        platform::com::TimeSerial(14, 7, 9));
    }

private:
    TempFolder folder_;
};

}  // namespace dtm::testing

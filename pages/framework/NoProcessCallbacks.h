#pragma once
// The process callback of a page that starts no process of its own or acts on
// none of its notices: progress and end are ignored.
#include <cstdint>
#include <string>

#include "platform/rt/IPrivateProcess.h"

namespace dtm {

class NoProcessCallbacks : public platform::rt::IPrivateProcess {
public:
    void OnProcessProgress(const std::string&, int16_t, const platform::Variant&) override {}
    void OnProcessFinished(const std::string&, const platform::Variant&) override {}
};

}  // namespace dtm

#include "frame/DeviceChoice.h"

#include "platform/com/VbText.h"
#include "platform/ui/Description.h"

namespace dtm::frame {

namespace vb = platform::com::vb;
using platform::ui::Quote;

const DeviceChoice* FindDevice(const std::string& name) {
    for (const auto& d : kDevices)
        if (vb::LCase(name) == vb::LCase(d.name)) return &d;
    return nullptr;
}

std::string UnknownDevice(const std::string& name) {
    std::string offered;
    for (const auto& d : kDevices) offered += (offered.empty() ? "" : " or ") + Quote(d.name);
    return "bad option --device " + Quote(name) + ": the frame offers " + offered;
}

}  // namespace dtm::frame

#pragma once
// The DTM information document the frame asks for.
#include <string>

#include "platform/com/Variant.h"

namespace platform::rt {

class DTMContext;

class InformationObject : public com::Object {
public:
    // From the model's DTMName, DTMVendor, DTMVersion, DTMDate and
    // DTMDescriptor and the device types of the data file. May hold $(key).
    std::string BuildInformation(const P<DTMContext>& ctx);
};

}  // namespace platform::rt

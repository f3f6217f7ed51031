#pragma once
// The device types the command-line frame offers (`--device` of `model` and
// `pages`): the name a user gives, the DTM's device type id and the model the
// simulated device plays.
#include <string>

#include "frame/FrameSession.h"
#include "frame/SimulatedDevice.h"

namespace dtm::frame {

struct DeviceChoice {
    const char* name;
    int deviceTypeId;
    SimulatedDevice::Model model;
};
inline constexpr DeviceChoice kDevices[] = {
    {"RXD 218", kRxd218, SimulatedDevice::Model::RXD218},
    {"RXD 214", kRxd214, SimulatedDevice::Model::RXD214},
};

// The device of that name, case ignored; null for a name the frame does not offer.
const DeviceChoice* FindDevice(const std::string& name);

// Why a `--device NAME` is refused: the name and the names offered.
std::string UnknownDevice(const std::string& name);

}  // namespace dtm::frame

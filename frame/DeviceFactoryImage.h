#pragma once
// The factory image of a simulated device: the bytes of every device
// parameter, coded by a fresh model instance from its initial values.
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace dtm::frame {

using DeviceAddress = std::pair<uint8_t, uint8_t>;  // slot, index

struct FactoryParameter {
    std::vector<uint8_t> bytes;
    bool writable = false;  // some element at the address is written to the device
};

struct FactoryImage {
    std::map<DeviceAddress, FactoryParameter> parameters;
    // The address of every device parameter's element, by path.
    std::map<std::string, DeviceAddress> addressOf;
};

// Builds a new model instance of the device type, initialises it and codes
// each address's elements (a record header with its fields) as a write would.
FactoryImage BuildFactoryImage(const std::string& deviceTypeName);

}  // namespace dtm::frame

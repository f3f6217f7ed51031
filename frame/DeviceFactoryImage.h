#pragma once
// The factory image of a simulated device: the bytes of every device
// parameter, coded by a fresh model instance from its initial values.
#include <cstdint>
#include <map>
#include <optional>
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

// One element's value coded as a write of a fresh model instance would code it.
struct ElementCoding {
    DeviceAddress address;
    std::vector<uint8_t> coded;  // the write's bytes
    size_t from = 0, to = 0;     // the element's own bytes in them
    uint8_t mask = 0xFF;         // a bit field's bits
    // Lays the element's bytes (a bit field: its bits) over the parameter's.
    void Apply(std::vector<uint8_t>& bytes) const;
};

// The element at `path` (ASCII case ignored) set to `value` (an octet
// string's hex digits, blanks allowed, exactly its length; a number when the
// text is one) and coded; nothing, with the reason in `refusal`, when the path
// is no device parameter's element or the value does not fit or code.
std::optional<ElementCoding> CodeElementValue(const std::string& deviceTypeName, const std::string& path,
                                              const std::string& value, std::string* refusal = nullptr);

// Builds a new model instance of the device type, initialises it and codes
// each address's elements (a record header with its fields) as a write would.
FactoryImage BuildFactoryImage(const std::string& deviceTypeName);

}  // namespace dtm::frame

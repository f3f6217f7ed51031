#pragma once
// The PA Profile 3.0 Physical Block: its parameter elements under "PHYS/" and
// its change handler.
#include <cstdint>
#include <memory>

namespace platform::rt {
class DTMContext;
class Parameters;
}  // namespace platform::rt

namespace dtm {

class clsDataElement;

// Creates the 45 elements of the Physical Block in the context's collection.
void CreatePBBlockModel(uint8_t BlockNumber, const std::shared_ptr<platform::rt::DTMContext>& DTMContext);

// Change handler of the Physical Block. Every reaction to a Physical Block
// change lives in the manufacturer-specific handler; this one changes nothing.
void OnPBParameterChanged(const std::shared_ptr<clsDataElement>& pda, platform::rt::Parameters& Parameters);

}  // namespace dtm

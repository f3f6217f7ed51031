#pragma once
// The PA Profile 3.0 Totaliser function block: its parameter elements under
// "FUNC/<n>/TOT/" and the conversion of its values when the totaliser unit changes.
#include <cstdint>
#include <memory>
#include <string>

#include "blocks/BlockTable.h"
#include "platform/com/Variant.h"

namespace platform::rt {
class DTMContext;
}

namespace dtm {

class clsDataElement;

// "FUNC/" & n & "/TOT/"; inline, as every notice of the block asks for it.
inline const std::string& GetTOTBlockPrefix(int16_t n) {
    static const BlockPrefixes prefixes("FUNC/", "/TOT/");
    return prefixes(n);
}

// Creates the 72 elements of Totaliser block n. The values expressed in the
// totaliser unit get blockUnit as their initial unit; an empty blockUnit means 1038 (L).
void CreateTOTBlockModel(int16_t n, const platform::Variant& blockUnit,
                         const std::shared_ptr<platform::rt::DTMContext>& DTMContext);

// When pda is the block's "UNIT_TOT", converts every value of block n that is
// expressed in the totaliser unit into the new unit and reports it changed.
void OnTOTUnitChanged(int16_t n, const std::shared_ptr<clsDataElement>& pda,
                      const std::shared_ptr<platform::rt::DTMContext>& DTMContext);

}  // namespace dtm

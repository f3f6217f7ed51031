#pragma once
// The PA Profile 3.0 AI (analog input) function block: its parameter elements
// under "FUNC/<n>/AI/", and the elements that follow the block's actual mode,
// its decimal point, its output unit and its own unit text.
#include <cstdint>
#include <memory>
#include <string>

#include "blocks/BlockTable.h"

namespace platform::rt {
class DTMContext;
class Parameters;
}  // namespace platform::rt

namespace dtm {

class clsDataElement;

// The choice of "OUT_SCALE/Unit" that shows the block's own unit text.
inline constexpr int16_t kTextUnitCode = 1995;
// The constant unit of "PV_FTIME" ("s").
inline constexpr int16_t kTimeConstantUnitCode = 900;
// Block n keeps its own unit text under the constant unit code 950 + n.
inline constexpr int16_t kBlockUnitTextBase = 950;

// "FUNC/" & n & "/AI/"; inline, as every notice of the block asks for it.
inline const std::string& GetAIBlockPrefix(int16_t n) {
    static const BlockPrefixes prefixes("FUNC/", "/AI/");
    return prefixes(n);
}

// Creates the 85 elements of AI block n in the context's collection and
// registers the time-constant unit 900 in the model's unit table (a model
// with a unit table is required, else 91).
void CreateAIBlockModel(int16_t n, const std::shared_ptr<platform::rt::DTMContext>& DTMContext);

// Change handler of AI block n: a change of "MODE_BLK/Actual" sets (or, in
// manual mode 16, clears) flag 0x1 of the output value and status members; a
// change of "OUT_SCALE/DecPoint" reports the values shown with that decimal
// point changed. Any other element is ignored.
void OnAIParameterChanged(int16_t n, const std::shared_ptr<clsDataElement>& pda,
                          const std::shared_ptr<platform::rt::DTMContext>& DTMContext);

// Refresh of an AI block element (the block number is the element's own): a
// change of "OUT_SCALE/Unit" gives the block's values that unit; a change of
// "OUT_UNIT_TEXT" registers the block's text unit. With bNoNotify nothing is
// reported changed.
void OnAIUnitChanged(const std::shared_ptr<clsDataElement>& pda, platform::rt::Parameters& Parameters,
                     bool bNoNotify);

// Gives target the unit that unitElement ("OUT_SCALE/Unit") holds: for the
// text unit 1995 the block's constant unit 950 + n without converting the
// value, otherwise by converting its values. Reports target changed unless
// bNoNotify. 950 + n beyond 16 bits raises 6.
void SetElementUnit(platform::rt::Parameters& Parameters, const std::shared_ptr<clsDataElement>& unitElement,
                    const std::shared_ptr<clsDataElement>& target, bool bNoNotify);

}  // namespace dtm

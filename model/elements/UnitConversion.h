#pragma once
// Conversion of a value element's three value copies into the unit that a
// unit element holds, as the blocks' change handlers need it.
#include "model/elements/clsDataElement.h"
#include "model/elements/clsDataModel.h"
#include "model/elements/clsPROFIBUSProfil3Units.h"

namespace dtm {

// For the device, transient and persistent pairs in turn: when the unit
// element's value differs from the target's unit code, the target's value is
// converted into that unit (as a Single) and the unit code taken over. Values
// that are empty, not numeric or NaN, values whose unit on either side is
// Unknown, and every value while the model takes over a whole data set or a
// device answer keep their number; the unit code follows all the same.
void ConvertUnitValues(clsDataModel& model, clsDataElement& target, const clsDataElement& unitElement);

}  // namespace dtm

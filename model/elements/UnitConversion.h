#pragma once
// Conversion of a value element's three value copies into the unit that a
// unit element holds, as the blocks' change handlers need it.
#include <span>

#include "model/elements/clsDataElement.h"
#include "model/elements/clsDataModel.h"
#include "model/elements/clsPROFIBUSProfil3Units.h"

namespace dtm {

// For the device, transient and persistent pairs in turn: when the unit
// element's value differs from the target's unit code, the target's value is
// converted into that unit and the unit code taken over. The value keeps its
// element's type (a Single, or a Double for an element of Doubles). Values
// that are empty, not numeric, NaN or infinite, values whose unit on either
// side is Unknown, and every value while the model takes over a whole data set
// or a device answer keep their number; the unit code follows all the same.
// A converted value that the element cannot hold raises 6 and leaves all
// three pairs as they were.
void ConvertUnitValues(clsDataModel& model, clsDataElement& target, const clsDataElement& unitElement);

// A unit change converts all of its targets or none. Raises the error that
// ConvertUnitValues would raise for the first target that cannot hold its
// values in the unit element's units; when values are converted (not taken
// as they are), it first puts the unit element's values back to that
// target's units and tells the open pages. Changes nothing when every target
// can.
void CheckUnitChange(platform::rt::Parameters& parameters, const clsDataModel& model,
                     std::span<const platform::P<clsDataElement>> targets,
                     const platform::P<clsDataElement>& unitElement);

}  // namespace dtm

#pragma once
// The language texts of the model: every element's label, description, help,
// value lists, icon list and command-error list, and the unit texts, from the
// instance's dictionary in its selected language.
//
// Dictionary sections: "parameters" (profile parameters) and
// "parameters_manu_spec" (manufacturer-specific ones), one entry per path,
// with a transducer or function block's "/n/" written "/i/"; "units", one
// entry "unit_" & code per unit; "keys" for the $(key) references.
#include <string>

#include "platform/com/Variant.h"

namespace platform::rt {
class DTMContext;
}

namespace dtm {

class clsDataElement;
class clsPROFIBUSProfil3Units;

// The dictionary key of an element: its path, with "/" & BlockNumber & "/"
// written "/i/" unless it belongs to the Physical Block.
std::string LanguageEntryKey(const clsDataElement& element);

// Gives every element of the context's collection its texts in the selected
// language. An element's entry is looked for in "parameters_manu_spec", then
// in "parameters"; an element without one keeps its texts. "label",
// "description" and "help" must be there: a missing one (as a missing
// section) raises an error that ends the call, elements done before keeping
// their new texts and the failing one its old ones. The other fields are
// optional and taken one by one; a missing one leaves its property alone,
// except the command-error list: an element without its own gets the one of
// "~/Tag" in this language.
void SetLanguageTexts(const platform::P<platform::rt::DTMContext>& DTMContext);

// The unit texts of the selected language: every code 900..2000 whose entry
// "unit_" & code in "units" has a "text" gets it in `units`; other rows keep
// the text the table started with, or the one the instance gave them. The
// instances in one language share the table of its texts. A dictionary
// without "units" raises 91.
void SetUnitTexts(const platform::P<platform::rt::DTMContext>& DTMContext, clsPROFIBUSProfil3Units& units);

// The entries of `element`'s ValueList for the set bits of `value`, as
// "i:text" joined by "|" in the order of i (bit 0 first); a set bit without
// a text adds nothing. The list is read by value, whatever bBitEncoding says.
std::string BitsToIndexTextList(const platform::Variant& value, clsDataElement& element);

}  // namespace dtm

#include "model/elements/UnitConversion.h"

#include <charconv>
#include <string>

#include "core/services/ProjectHelpers.h"
#include "model/elements/clsPROFIBUSProfil3Units.h"
#include "platform/com/VbText.h"

namespace dtm {

using platform::Variant;
namespace com = platform::com;

namespace {

// The value as a Double taken through its decimal text, so that a Single
// converts as the number it shows (12.3, not 12.300000190734863).
double ThroughDecimalText(const Variant& value) {
    const com::VarType t = value.Type();
    if (t != com::VarType::Single && t != com::VarType::Double) return com::CDbl(value);
    const int digits = t == com::VarType::Single ? 7 : 15;
    const std::string text = com::vb::NumberText(com::CDbl(value), digits, '.');
    double d = 0;
    std::from_chars(text.data(), text.data() + text.size(), d);
    return d;
}

void ConvertPair(const clsDataModel& model, Variant& value, int16_t& unit, const Variant& newUnitValue,
                 int16_t unitElementUnit) {
    // Equal, or not comparable (Null): nothing changes for this pair.
    const com::Cmp differs = com::Compare(newUnitValue, Variant::Int(unit));
    if (differs == com::Cmp::Equal || differs == com::Cmp::Null) return;

    const int32_t newUnit = com::CLng(newUnitValue);
    const bool unknownUnit =
        unit == kUnknownUnitCode || unitElementUnit == kUnknownUnitCode || newUnit == kUnknownUnitCode;
    // A whole data set and a device answer bring values in the units they bring along.
    const bool takenAsTheyAre = model.ProcessingCompleteValidation() || model.ChangeFromDevice();
    if (!unknownUnit && !value.IsEmpty() && !IsNaN(value) && com::IsNumeric(value) && !takenAsTheyAre) {
        const double converted =
            com::Deref(model.PROFIBUSProfil3Units()).CalculateUnitValue(ThroughDecimalText(value), unit, newUnit);
        value = Variant::Sng(com::CSng(Variant::Dbl(converted)));
    }
    unit = com::CInt(newUnitValue);
}

}  // namespace

void ConvertUnitValues(clsDataModel& model, clsDataElement& target, const clsDataElement& unitElement) {
    ConvertPair(model, target.DeviceValue, target.nDeviceUnit, unitElement.DeviceValue, unitElement.nDeviceUnit);
    ConvertPair(model, target.TransientValue, target.nTransientUnit, unitElement.TransientValue,
                unitElement.nTransientUnit);
    ConvertPair(model, target.PersistentValue, target.nPersistentUnit, unitElement.PersistentValue,
                unitElement.nPersistentUnit);
}

}  // namespace dtm

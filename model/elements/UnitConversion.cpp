#include "model/elements/UnitConversion.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string>
#include <utility>

#include "core/services/ProjectHelpers.h"
#include "model/elements/clsPROFIBUSProfil3Units.h"
#include "platform/com/Error.h"
#include "platform/com/VbText.h"
#include "platform/rt/Parameters.h"

namespace dtm {

using platform::Variant;
namespace com = platform::com;

namespace {

// The value type code of an element that holds Doubles; every other value
// element holds Singles.
constexpr int32_t kDoubleValueType = 9;

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

// The number in the element's floating type; Null when it does not fit.
Variant InElementType(const clsDataElement& target, double number) {
    if (target.ValueType == kDoubleValueType) return Variant::Dbl(number);
    try {
        return Variant::Sng(com::CSng(Variant::Dbl(number)));
    } catch (const com::ComError&) {
        return Variant::Null();
    }
}

// A whole data set and a device answer bring values in the units they bring along.
bool TakenAsTheyAre(const clsDataModel& model) {
    return model.ProcessingCompleteValidation() || model.ChangeFromDevice();
}

// One value copy and its unit code.
struct Pair {
    Variant value;
    int16_t unit;
};

// The pair after the unit element's value was taken over: the value
// converted into the new unit, in the element's type. Values that cannot be
// converted (empty, not numeric, not finite, an Unknown unit on either side,
// or while values are taken as they are) keep their number, in the element's
// type where it fits. A converted value that the element cannot hold raises 6.
Pair Converted(const clsDataModel& model, const clsDataElement& target, const Pair& pair,
               const Variant& newUnitValue, int16_t unitElementUnit) {
    const int32_t newUnit = com::CLng(newUnitValue);
    const bool unknownUnit =
        pair.unit == kUnknownUnitCode || unitElementUnit == kUnknownUnitCode || newUnit == kUnknownUnitCode;
    const Variant& value = pair.value;
    const bool numeric = !value.IsEmpty() && com::IsNumeric(value) && !IsNaN(value);
    const bool takenAsTheyAre = TakenAsTheyAre(model);
    Pair result{value, com::CInt(newUnitValue)};
    if (!numeric) return result;
    const double number = com::CDbl(value);
    if (!unknownUnit && !takenAsTheyAre && std::isfinite(number)) {
        const double converted =
            com::Deref(model.PROFIBUSProfil3Units()).CalculateUnitValue(ThroughDecimalText(value), pair.unit, newUnit);
        result.value = InElementType(target, converted);
        if (result.value.IsNull()) com::Raise(com::errOverflow);
        return result;
    }
    const Variant typed = InElementType(target, number);
    if (!typed.IsNull()) result.value = typed;
    return result;
}

// Whether the pair follows the unit element's value: when that value differs
// from the pair's unit code. A value that does not compare (Null) changes nothing.
bool Follows(const Variant& newUnitValue, int16_t unit) {
    switch (newUnitValue.Type()) {
    case com::VarType::Integer:
    case com::VarType::Long:
    case com::VarType::Byte:
        return com::CLng(newUnitValue) != unit;  // a whole number compares by its value
    case com::VarType::Empty:
        return unit != 0;  // Empty compares as 0
    default:
        break;
    }
    const com::Cmp differs = com::Compare(newUnitValue, Variant::Int(unit));
    return differs != com::Cmp::Equal && differs != com::Cmp::Null;
}

// Whether any of the target's pairs follows the unit element: otherwise
// nothing is converted and nothing can fail.
bool AnyFollows(const clsDataElement& target, const clsDataElement& unitElement) {
    return Follows(unitElement.DeviceValue, target.nDeviceUnit) ||
           Follows(unitElement.TransientValue, target.nTransientUnit) ||
           Follows(unitElement.PersistentValue, target.nPersistentUnit);
}

// The target's three pairs in the unit element's units, device, transient and
// persistent in this order; a pair that does not follow is left as it is.
std::array<Pair, 3> ConvertedPairs(const clsDataModel& model, const clsDataElement& target,
                                   const clsDataElement& unitElement) {
    std::array<Pair, 3> out{Pair{target.DeviceValue, target.nDeviceUnit},
                            Pair{target.TransientValue, target.nTransientUnit},
                            Pair{target.PersistentValue, target.nPersistentUnit}};
    const std::array<const Variant*, 3> newUnits{&unitElement.DeviceValue.Value(), &unitElement.TransientValue.Value(),
                                                 &unitElement.PersistentValue.Value()};
    const std::array<int16_t, 3> unitUnits{unitElement.nDeviceUnit, unitElement.nTransientUnit,
                                           unitElement.nPersistentUnit};
    for (size_t i = 0; i < out.size(); ++i)
        if (Follows(*newUnits[i], out[i].unit)) out[i] = Converted(model, target, out[i], *newUnits[i], unitUnits[i]);
    return out;
}

}  // namespace

void ConvertUnitValues(clsDataModel& model, clsDataElement& target, const clsDataElement& unitElement) {
    if (!AnyFollows(target, unitElement)) return;
    // Every pair is worked out before any is written: a pair that cannot be
    // converted leaves the other two as they were.
    std::array<Pair, 3> pairs = ConvertedPairs(model, target, unitElement);
    target.DeviceValue = std::move(pairs[0].value);
    target.nDeviceUnit = pairs[0].unit;
    target.TransientValue = std::move(pairs[1].value);
    target.nTransientUnit = pairs[1].unit;
    target.PersistentValue = std::move(pairs[2].value);
    target.nPersistentUnit = pairs[2].unit;
}

void CheckUnitChange(platform::rt::Parameters& parameters, const clsDataModel& model,
                     std::span<const platform::P<clsDataElement>> targets,
                     const platform::P<clsDataElement>& unitElement) {
    clsDataElement& unit = com::Deref(unitElement);
    for (const auto& target : targets) {
        try {
            if (!AnyFollows(com::Deref(target), unit)) continue;
            ConvertedPairs(model, com::Deref(target), unit);
        } catch (const com::ComError&) {
            // A unit that came with the device or a data set stays as it came.
            if (TakenAsTheyAre(model)) throw;
            // The change is refused: the unit element goes back to the units
            // that the values are in.
            const std::array<std::pair<WatchedValue*, int16_t>, 3> back{
                std::pair{&unit.DeviceValue, target->nDeviceUnit},
                std::pair{&unit.TransientValue, target->nTransientUnit},
                std::pair{&unit.PersistentValue, target->nPersistentUnit}};
            for (const auto& [value, code] : back)
                if (Follows(*value, code)) *value = unit.GetTypedValue(Variant::Int(code));
            parameters.NotifyChanged(unitElement, "");
            throw;
        }
    }
}

}  // namespace dtm

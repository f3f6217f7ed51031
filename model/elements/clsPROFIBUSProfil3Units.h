#pragma once
// The table of engineering units that parameter values carry: for every
// PROFIBUS PA Profile 3.0 unit code its display text, the key of its help
// text, its kind of quantity and how a value converts between the units of
// one kind. Codes 900..999 are constant units that the block builders
// register for their own texts; they never convert.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/com/Variant.h"

namespace dtm {

enum profibusProfil3UnitRange : int32_t {
    pp3MinConstUnitIdx = 900,
    pp3MaxConstUnitIdx = 999,
    pp3MinUnitIdx = 1000,
    pp3MaxUnitIdx = 2000,
};

// The unit code "Unknown": no value is converted from or into it.
inline constexpr int16_t kUnknownUnitCode = 1998;

// The kind of quantity: only units of one kind (class above uccConst)
// convert into each other.
enum UnitCalcClass : int32_t {
    uccConst = 0,
    uccCalc = 1,
    uccTemp = 2,
    uccAngle = 3,
    uccLen = 4,
    uccArea = 5,
    uccVolume = 6,
    uccTime = 7,
    uccVelocity = 8,
    uccAcceleration = 9,
    uccFrequency = 10,
    uccAngleVelocity = 11,
    uccAngleAcceleration = 12,
    uccMass = 13,
};

// One row of the table. A value v in the unit is v / faktor - Offset in the
// base unit of its kind; a base value b is (b + Offset) * faktor in the unit.
// faktor 0 marks a unit without a fixed relation to the others of its kind.
struct UnitInfo {
    bool available = false;
    double faktor = 0;
    double Offset = 0;
    std::string strUnit;
    std::string strHelpKey;
    UnitCalcClass unitClass = uccConst;
};

// One profile unit as the constructor registers it.
struct ProfileUnitRow {
    int32_t code;
    std::string_view text;
    double faktor;
    double offset;
    UnitCalcClass unitClass;
};

// The profile units registered at creation, in code order.
std::span<const ProfileUnitRow> ProfileUnitRows();

class clsPROFIBUSProfil3Units {
public:
    clsPROFIBUSProfil3Units();

    // Text of a registered code; "" outside 900..2000 or for an unregistered code.
    std::string PROFIBUSProfil3UnitString(int32_t idx) const;
    // Replaces the text of a registered code; does nothing otherwise.
    void PROFIBUSProfil3UnitString(int32_t idx, const std::string& New_UnitString);
    // The lowest registered code whose text equals `str` without its leading
    // and trailing blanks (exact, case-sensitive); 0 when none.
    int32_t PROFIBUSProfil3UnitIndex(const std::string& str) const;
    // Help key of a registered code; "" as for the text.
    std::string PROFIBUSProfil3UnitHelpKey(int32_t idx) const;
    // Replaces the help key of a registered code; does nothing otherwise.
    void PROFIBUSProfil3UnitHelpKey(int32_t idx, const std::string& New_UnitString);

    // `currentValue` converted from unit `currentUnitIdx` into `newUnitIdx`.
    // Equal codes, constant or unregistered codes, and units of different
    // classes give `currentValue` unchanged. A conversion whose result
    // overflows raises error 6.
    double CalculateUnitValue(double currentValue, int32_t currentUnitIdx,
                              int32_t newUnitIdx) const;

    // Registers (or overwrites) one row. Codes outside 900..2000 are ignored.
    // A constant code 900..999 takes only the texts and becomes uccConst; a
    // profile code takes `Mult` and `Offset` and the class `unitClass`
    // (uccCalc when missing or Empty).
    void SetUnitInformation(int32_t PROFIBUSProfil3UnitIdx, double Mult, double Offset,
                            const std::string& strUnit, const std::string& strHelpKey,
                            const platform::Variant& unitClass = platform::Variant::Missing());

private:
    static constexpr int32_t kRowCount = pp3MaxUnitIdx - pp3MinConstUnitIdx + 1;

    // The row of a code inside 900..2000 that is registered, else nullptr.
    const UnitInfo* AvailableRow(int32_t idx) const;
    UnitInfo* AvailableRow(int32_t idx);
    void Register(int32_t idx, double mult, double offset, const std::string& strUnit,
                  const std::string& strHelpKey, UnitCalcClass unitClass);

    std::array<UnitInfo, kRowCount> m_Units;
    // Text → lowest registered code; rebuilt on the first look-up after a
    // text changed.
    mutable std::unordered_map<std::string, int32_t> m_CodeByText;
    mutable bool m_CodeByTextValid = false;
};

}  // namespace dtm

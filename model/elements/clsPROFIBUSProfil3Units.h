#pragma once
// The table of engineering units that parameter values carry: for every
// PROFIBUS PA Profile 3.0 unit code its display text, the key of its help
// text, its kind of quantity and how a value converts between the units of
// one kind. Codes 900..999 are constant units that the block builders
// register for their own texts; they never convert.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

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

// The rows of every instance start as one shared table; a row an instance
// changes (SetUnitInformation, the text or help key setters) becomes its own.
// The texts of a language are a table shared by the instances in that
// language too.
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

    // The texts of a language: every registered code for which `textOf`
    // answers a text takes it, the others keep the text the table started
    // with (or their own). Instances that name the same `language` (an object
    // that stands for the language's texts and lives as long as they do)
    // share the table of its texts.
    using TextOf = std::function<std::optional<std::string>(int32_t code)>;
    void SetLanguageTexts(const std::shared_ptr<const void>& language, const TextOf& textOf);

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

    static constexpr int32_t kRowCount = pp3MaxUnitIdx - pp3MinConstUnitIdx + 1;
    struct Table;  // the shared rows

private:
    // The row of a code inside 900..2000, registered or not.
    const UnitInfo& RowAt(int32_t idx) const;
    // The row of a code inside 900..2000 that is registered, else nullptr.
    const UnitInfo* AvailableRow(int32_t idx) const;
    // The instance's own row of a code inside 900..2000 (a copy of the shared one at first).
    UnitInfo& OwnRow(int32_t idx);

    std::shared_ptr<const Table> m_Shared;
    std::map<int32_t, UnitInfo> m_Own;  // by code, lowest first
};

}  // namespace dtm

#pragma once
// The VB Variant: one tagged value with the language's conversion and
// comparison rules. Used wherever the component deals in untyped values.
#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "platform/com/Error.h"

namespace platform::com {

// Base of every object a Variant can hold (COM objects become shared_ptr<Object>).
class Object {
public:
    virtual ~Object() = default;
};

enum class VarType : int32_t {
    Empty = 0,
    Null = 1,
    Integer = 2,
    Long = 3,
    Single = 4,
    Double = 5,
    Currency = 6,
    Date = 7,
    String = 8,
    Object = 9,
    Error = 10,  // only ever Missing
    Boolean = 11,
    Variant = 12,  // element type of a Variant array
    Decimal = 14,
    Byte = 17,
    Array = 8192,
};

class Variant;

// A one-dimensional array with any lower bound and at most 2^31 - 1 elements.
// A Byte array keeps its elements packed, one byte each, in `bytes`; the
// elements of every other array are Variants of the element type in `items`.
// Assignment converts to the element type.
struct SafeArray {
    VarType elementType = VarType::Variant;
    int32_t lbound = 0;
    std::vector<Variant> items;  // every element type but Byte
    std::vector<uint8_t> bytes;  // Byte arrays
    size_t size() const noexcept;  // defined below Variant, which `items` needs complete
};

class Variant {
public:
    Variant() noexcept;  // Empty
    Variant(const Variant&);
    Variant(Variant&&) noexcept;
    Variant& operator=(const Variant&);  // arrays are copied, as VB does
    Variant& operator=(Variant&&) noexcept;
    ~Variant();

    // Strings convert implicitly; every numeric subtype is named explicitly.
    Variant(std::string s);
    Variant(const char* s);  // nullptr gives ""

    static Variant Null();
    static Variant Missing();
    static Variant Int(int16_t v);
    static Variant Lng(int32_t v);
    static Variant Byte(uint8_t v);
    static Variant Sng(float v);
    static Variant Dbl(double v);
    static Variant Cur(double v);  // Currency, rounded to 4 decimals, checked range
    static Variant Dec(double v);  // Decimal, held as a double, checked to +-7.92E+28
    // Days since 1899-12-30; a negative serial's fraction counts away from zero
    // (-1.25 is 1899-12-29 06:00). Outside 0100-01-01 .. 9999-12-31 (or NaN) → 6.
    static Variant Date(double serial);
    static Variant Bool(bool v);
    static Variant Str(std::string v);
    static Variant Obj(std::shared_ptr<Object> v);  // nullptr = Nothing
    // Array lbound..ubound (ubound = lbound - 1 gives no elements; lower, or
    // more than 2^31 - 1 elements → 9); elements are the element type's zero
    // value (Empty for Variant arrays, "" for String, Nothing for Object).
    // Element types Empty, Null, Error, Array → 5.
    static Variant Array(VarType elementType, int32_t lbound, int32_t ubound);
    // Arrays of the given elements; bounds that a Long cannot hold → 9.
    static Variant ByteArray(std::vector<uint8_t> bytes, int32_t lbound = 0);
    static Variant VariantArray(std::vector<Variant> items, int32_t lbound = 0);

    // VarType: the subtype, or Array | element type for arrays (VB's VarType()).
    int32_t VarTypeCode() const noexcept;
    VarType Type() const noexcept { return type_; }  // VarType::Array for any array
    VarType ElementType() const;                    // arrays only; otherwise 13

    bool IsEmpty() const noexcept { return type_ == VarType::Empty; }
    bool IsNull() const noexcept { return type_ == VarType::Null; }
    bool IsMissing() const noexcept { return type_ == VarType::Error; }
    bool IsArray() const noexcept { return type_ == VarType::Array; }
    bool IsByteArray() const noexcept;
    bool IsObject() const noexcept { return type_ == VarType::Object; }
    bool IsString() const noexcept { return type_ == VarType::String; }
    bool IsNothing() const noexcept;  // an Object subtype holding nullptr
    // Integer, Long, Byte, Single, Double, Currency, Decimal (not Boolean, not Date).
    bool IsNumberType() const noexcept;

    // Raw payload access; the wrong subtype raises 13.
    const std::string& StrRef() const;
    std::shared_ptr<Object> ObjRef() const;
    double DateSerial() const;

    // Arrays. Not an array → 13; index out of bounds → 9.
    int32_t LBound() const;
    int32_t UBound() const;
    int32_t Count() const;  // UBound - LBound + 1
    Variant At(int32_t index) const;  // a copy of the element
    // Stores `v` at index, converted to the element type of a typed array
    // (ToVarType: the conversion's errors 6, 13, 94 pass on; the array is unchanged).
    void Set(int32_t index, const Variant& v);
    // Keeps the lower bound and the elements that still fit; new elements are the
    // element type's zero value. ubound below lbound - 1, or more elements
    // than a Long counts → 9.
    void ReDimPreserve(int32_t ubound);
    std::vector<uint8_t> ToBytes() const;  // Byte array → bytes; anything else → 13
    const std::vector<uint8_t>& BytesRef() const;  // the same without a copy
    const SafeArray& ArrayRef() const;

private:
    // The value of every subtype that is not a String, Object or Array
    // (Missing keeps its error code in i32; Empty and Null leave it zero).
    union Num {
        int16_t i16;
        int32_t i32;
        uint8_t u8;
        float f32;
        double f64;
        bool b;
    };
    // Exactly one payload is live, chosen by type_: String holds the string,
    // Object the reference, Array the array; every other subtype holds Num.
    using Payload = std::variant<Num, std::string, std::shared_ptr<Object>, std::unique_ptr<SafeArray>>;

    Variant(VarType type, Payload payload) noexcept;

    // The subtype sits in the payload's tail padding (40 bytes in all, not 48):
    // a data model holds several Variants per element.
    [[no_unique_address]] Payload payload_;
    VarType type_ = VarType::Empty;
    friend struct VariantAccess;
};

inline size_t SafeArray::size() const noexcept { return elementType == VarType::Byte ? bytes.size() : items.size(); }

// ---- Conversions (VB's CByte/CInt/... rules) ----
// Floating values round half to even. Out of range → 6; a non-numeric text,
// an array or an object → 13; Null → 94. Empty gives 0; Boolean gives -1/0.
uint8_t CByte(const Variant& v);
int16_t CInt(const Variant& v);
int32_t CLng(const Variant& v);
float CSng(const Variant& v);
double CDbl(const Variant& v);
// "True"/"False" in any ASCII case (blanks around allowed), else a number ≠ 0.
bool CBool(const Variant& v);
// Null → 94; Missing, objects and arrays → 13. Currency and Decimal as Double.
std::string CStr(const Variant& v);
// A Date Variant: from a number (range checked, 6), or from the text
// "yyyy-mm-dd[ hh:nn[:ss]]" or "hh:nn[:ss]" with blanks around (else 13).
Variant CDate(const Variant& v);
Variant CVar(const Variant& v);      // identity, for symmetry with VB code

// Typed conversions that keep the VB conversion's result as a Variant.
// Target Variant: `v` unchanged; Object: `v` must be an object (else 13);
// Currency and Decimal: CDbl's value checked by Cur/Dec; Empty, Null, Error,
// Array → 5.
Variant ToVarType(const Variant& v, VarType target);

// ---- Tests ----
bool IsNumeric(const Variant& v);
inline bool IsEmpty(const Variant& v) { return v.IsEmpty(); }
inline bool IsNull(const Variant& v) { return v.IsNull(); }
inline bool IsArray(const Variant& v) { return v.IsArray(); }
inline bool IsMissing(const Variant& v) { return v.IsMissing(); }
inline bool IsObject(const Variant& v) { return v.IsObject(); }
inline int32_t VarTypeOf(const Variant& v) { return v.VarTypeCode(); }
std::string TypeName(const Variant& v);  // "Integer", "String", "Byte()", ...
int32_t LBound(const Variant& v);
int32_t UBound(const Variant& v);

// ---- Comparison (VB `=`, `<`, ... between Variants) ----
enum class Cmp { Less, Equal, Greater, Null };
// Null on either side → Null. Empty is 0 against a number and "" against a
// String. Numbers, Boolean and Date compare by exact value; Strings binary.
// A number against a String: unequal, the number is less. NaN equals NaN and
// is greater than every number. Objects, arrays and Missing → 13.
Cmp Compare(const Variant& a, const Variant& b);
// VB `v = literal`: Empty is 0, a String is parsed (non-numeric → 13).
Cmp CompareTo(const Variant& v, double literal);
inline bool Equals(const Variant& a, const Variant& b) { return Compare(a, b) == Cmp::Equal; }
// Same subtype and same payload (arrays element-wise, NaN equals NaN). For tests
// and round trips, not a VB operator.
bool Identical(const Variant& a, const Variant& b);

// ---- Number text ----
// The number parser shared by IsNumeric, the conversions and comparisons:
// blanks, sign, digits with an optional decimal separator, exponent E or D, blanks.
// False (out unchanged) for other text and for values beyond Double ("1E400",
// which the conversions report as 6); values too small for Double read as 0.
bool ParseNumber(const std::string& text, double& out);
// The process-wide decimal separator for CStr, Format and parsing (default '.').
void SetDecimalSeparator(char sep);
char DecimalSeparator();
// CStr forms: Single 7, Double 15 significant digits, "1E+20", "1.5E-05"
// (vb::NumberText with DecimalSeparator(); NaN "NaN", "Infinity", "-Infinity").
std::string FormatSingle(float v);
std::string FormatDouble(double v);
// Date text "yyyy-mm-dd hh:nn:ss", rounded to the second: the date only when
// the time is 00:00:00, the time only on day 1899-12-30 (serials between -1 and 1).
std::string FormatDate(double serial);

// ---- Dates ----
// VB DateSerial: years 0-29 are 2000-2029 and 30-99 are 1930-1999; months and
// days out of their range roll over. A result outside the Date range → 5.
double DateSerial(int year, int month, int day);
// hour:minute:second, rolling over into days; a negative total lies before
// 1899-12-30 00:00 (TimeSerial(-1, 0, 0) is 1899-12-29 23:00). Out of range → 5.
double TimeSerial(int hour, int minute, int second);
struct DateParts {
    int year, month, day, hour, minute, second, millisecond, weekday;  // weekday 1 = Sunday (VB)
};
// The parts of a serial, the time rounded to the millisecond. Outside the
// Date range (or NaN) → 6.
DateParts SplitDate(double serial);
// The moment a serial denotes, in days from 1899-12-30 00:00. Before that day
// a serial's time fraction counts forward from its (negative) day: -1.25 is
// 1899-12-29 06:00, the moment -0.75, and -0.5 is 1899-12-30 12:00 (0.5).
double DateMoment(double serial);
// The serial of such a moment (DateMoment(MomentDate(m)) == m); outside the
// Date range (or NaN) the moment itself.
double MomentDate(double moment);

}  // namespace platform::com

namespace platform {
using com::Variant;
template <class T>
using P = std::shared_ptr<T>;
template <class T>
using W = std::weak_ptr<T>;
}  // namespace platform

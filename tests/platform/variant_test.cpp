// The Variant type: subtypes, checked factories, arrays, comparison and identity.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <functional>
#include <limits>
#include <string>

#include "ErrorOf.h"
#include "platform/com/Error.h"
#include "platform/com/Variant.h"

namespace {

using namespace platform::com;

const double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Thing : Object {};

// ---- Subtypes and factories ----

TEST(Variant, VarTypeAndTypeNameOfEverySubtype) {
    struct Case {
        Variant value;
        int32_t varType;
        const char* typeName;
    };
    const Case cases[] = {
        {Variant(), 0, "Empty"},
        {Variant::Null(), 1, "Null"},
        {Variant::Int(1), 2, "Integer"},
        {Variant::Lng(1), 3, "Long"},
        {Variant::Sng(1), 4, "Single"},
        {Variant::Dbl(1), 5, "Double"},
        {Variant::Cur(1), 6, "Currency"},
        {Variant::Date(1), 7, "Date"},
        {Variant("x"), 8, "String"},
        {Variant::Obj(std::make_shared<Thing>()), 9, "Object"},
        {Variant::Obj(nullptr), 9, "Nothing"},
        {Variant::Missing(), 10, "Error"},
        {Variant::Bool(true), 11, "Boolean"},
        {Variant::Dec(1), 14, "Decimal"},
        {Variant::Byte(1), 17, "Byte"},
        {Variant::ByteArray({1, 2}), 8192 + 17, "Byte()"},
        {Variant::VariantArray({}), 8192 + 12, "Variant()"},
        {Variant::Array(VarType::Integer, 0, 1), 8192 + 2, "Integer()"},
        {Variant::Array(VarType::String, 0, 1), 8192 + 8, "String()"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.value.VarTypeCode(), c.varType) << c.typeName;
        EXPECT_EQ(VarTypeOf(c.value), c.varType) << c.typeName;
        EXPECT_EQ(TypeName(c.value), c.typeName);
    }
}

TEST(Variant, NumberTypeExcludesBooleanAndDate) {
    EXPECT_TRUE(Variant::Cur(1).IsNumberType());
    EXPECT_TRUE(Variant::Dec(1).IsNumberType());
    EXPECT_TRUE(Variant::Byte(1).IsNumberType());
    EXPECT_FALSE(Variant::Bool(true).IsNumberType());
    EXPECT_FALSE(Variant::Date(1).IsNumberType());
    EXPECT_FALSE(Variant("1").IsNumberType());
    EXPECT_TRUE(Variant::Missing().IsMissing());
    EXPECT_TRUE(IsMissing(Variant::Missing()));
    EXPECT_FALSE(Variant().IsMissing());
    EXPECT_TRUE(Variant::Obj(nullptr).IsNothing());
    EXPECT_FALSE(Variant().IsNothing());
}

TEST(Variant, CheckedFactoriesRaiseOverflow) {
    struct Case {
        const char* label;
        std::function<Variant()> make;
        int32_t error;
    };
    const Case cases[] = {
        {"Cur max", [] { return Variant::Cur(922337203685477.0); }, 0},
        {"Cur min", [] { return Variant::Cur(-922337203685477.0); }, 0},
        {"Cur above", [] { return Variant::Cur(922337203685478.0); }, 6},
        {"Cur below", [] { return Variant::Cur(-922337203685478.0); }, 6},
        {"Cur NaN", [] { return Variant::Cur(kNaN); }, 6},
        {"Dec 7.9E+28", [] { return Variant::Dec(7.9e28); }, 0},
        {"Dec 8E+28", [] { return Variant::Dec(8e28); }, 6},
        {"Dec -8E+28", [] { return Variant::Dec(-8e28); }, 6},
        {"Dec NaN", [] { return Variant::Dec(kNaN); }, 6},
        {"Date last", [] { return Variant::Date(2958465.9999); }, 0},
        {"Date first", [] { return Variant::Date(-657434.9999); }, 0},
        {"Date after", [] { return Variant::Date(2958466); }, 6},
        {"Date before", [] { return Variant::Date(-657435); }, 6},
        {"Date NaN", [] { return Variant::Date(kNaN); }, 6},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ErrorOf([&] { c.make(); }), c.error) << c.label;
    }
}

TEST(Variant, CurrencyRoundsToFourDecimalsHalfEvenAndIsStable) {
    EXPECT_EQ(CDbl(Variant::Cur(1.23456)), 1.2346);
    EXPECT_EQ(CDbl(Variant::Cur(0.03125)), 0.0312);  // 312.5 ten-thousandths, exactly
    EXPECT_EQ(CDbl(Variant::Cur(0.09375)), 0.0938);  // 937.5 ten-thousandths, exactly
    EXPECT_FALSE(std::signbit(CDbl(Variant::Cur(-0.00001))));
    // Applying Cur to its own value changes nothing, across the whole range.
    for (double x : {0.1, 1.2345, -7.0001, 123456.7891, 5.5e11, 5.49755813887e11, 1e14 + 0.1234,
                     922337203685477.0, -922337203685477.0, 0.0001 * 3}) {
        const Variant once = Variant::Cur(x);
        EXPECT_TRUE(Identical(Variant::Cur(CDbl(once)), once)) << x;
    }
}

TEST(Variant, RawAccessorsCheckTheSubtype) {
    EXPECT_EQ(Variant("abc").StrRef(), "abc");
    EXPECT_EQ(ErrorOf([] { Variant::Int(1).StrRef(); }), 13);
    EXPECT_EQ(ErrorOf([] { Variant("x").ObjRef(); }), 13);
    EXPECT_EQ(ErrorOf([] { Variant::Dbl(1).DateSerial(); }), 13);
    EXPECT_EQ(Variant::Date(2.5).DateSerial(), 2.5);
    auto thing = std::make_shared<Thing>();
    EXPECT_EQ(Variant::Obj(thing).ObjRef(), thing);
    EXPECT_EQ(Variant(static_cast<const char*>(nullptr)).StrRef(), "");
}

// ---- Arrays ----

TEST(VariantArray, BoundsAndOutOfRangeIndex) {
    Variant a = Variant::Array(VarType::Integer, 1, 3);
    EXPECT_EQ(a.LBound(), 1);
    EXPECT_EQ(a.UBound(), 3);
    EXPECT_EQ(LBound(a), 1);
    EXPECT_EQ(UBound(a), 3);
    EXPECT_EQ(a.Count(), 3);
    EXPECT_TRUE(Identical(a.At(1), Variant::Int(0)));
    for (int32_t index : {0, 4, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()}) {
        EXPECT_EQ(ErrorOf([&] { a.At(index); }), 9) << index;
        EXPECT_EQ(ErrorOf([&] { a.Set(index, Variant::Int(1)); }), 9) << index;
    }
    EXPECT_EQ(ErrorOf([] { Variant::Array(VarType::Integer, 5, 3); }), 9);
    EXPECT_EQ(Variant::Array(VarType::Integer, 5, 4).Count(), 0);
    EXPECT_EQ(Variant::Array(VarType::Integer, 5, 4).UBound(), 4);
    const int32_t lowest = std::numeric_limits<int32_t>::min();
    EXPECT_EQ(Variant::Array(VarType::Byte, lowest, lowest + 2).UBound(), lowest + 2);
    for (VarType bad : {VarType::Empty, VarType::Null, VarType::Error, VarType::Array}) {
        EXPECT_EQ(ErrorOf([&] { Variant::Array(bad, 0, 1); }), 5);
    }
    EXPECT_EQ(ErrorOf([] { Variant::ByteArray({1, 2}, std::numeric_limits<int32_t>::max()); }), 9);
    // Bounds a Long cannot hold are refused before anything is allocated: an
    // empty array from the lowest Long would end at lowest - 1, and a whole
    // Long range has one element more than a Long counts.
    EXPECT_EQ(ErrorOf([&] { Variant::ByteArray({}, lowest); }), 9);
    EXPECT_EQ(ErrorOf([&] { Variant::VariantArray({}, lowest); }), 9);
    EXPECT_EQ(ErrorOf([&] { Variant::Array(VarType::Long, lowest, std::numeric_limits<int32_t>::max()); }), 9);
    Variant wide = Variant::Array(VarType::Byte, lowest, lowest);
    EXPECT_EQ(ErrorOf([&] { wide.ReDimPreserve(std::numeric_limits<int32_t>::max()); }), 9);
    EXPECT_EQ(wide.Count(), 1);
}

TEST(VariantArray, NotAnArrayRaisesTypeMismatch) {
    Variant s("abc");
    EXPECT_EQ(ErrorOf([&] { s.LBound(); }), 13);
    EXPECT_EQ(ErrorOf([&] { UBound(s); }), 13);
    EXPECT_EQ(ErrorOf([&] { s.At(0); }), 13);
    EXPECT_EQ(ErrorOf([&] { s.Set(0, Variant()); }), 13);
    EXPECT_EQ(ErrorOf([&] { s.ReDimPreserve(3); }), 13);
    EXPECT_EQ(ErrorOf([&] { s.ElementType(); }), 13);
    EXPECT_EQ(ErrorOf([&] { s.ToBytes(); }), 13);
    EXPECT_EQ(ErrorOf([] { Variant::VariantArray({Variant::Byte(1)}).ToBytes(); }), 13);
}

TEST(VariantArray, TypedArraysStartWithZeroAndConvertOnSet) {
    auto thing = std::make_shared<Thing>();
    struct Case {
        VarType elementType;
        Variant zero;
        Variant input;
        Variant stored;  // Empty together with `error`: the Set fails
        int32_t error;
    };
    const Case cases[] = {
        {VarType::Integer, Variant::Int(0), Variant::Dbl(2.5), Variant::Int(2), 0},
        {VarType::Integer, Variant::Int(0), Variant("7"), Variant::Int(7), 0},
        {VarType::Integer, Variant::Int(0), Variant(), Variant::Int(0), 0},
        {VarType::Integer, Variant::Int(0), Variant("x"), Variant(), 13},
        {VarType::Integer, Variant::Int(0), Variant::Lng(40000), Variant(), 6},
        {VarType::Integer, Variant::Int(0), Variant::Null(), Variant(), 94},
        {VarType::Long, Variant::Lng(0), Variant::Bool(true), Variant::Lng(-1), 0},
        {VarType::Byte, Variant::Byte(0), Variant::Dbl(254.5), Variant::Byte(254), 0},
        {VarType::Byte, Variant::Byte(0), Variant::Int(-1), Variant(), 6},
        {VarType::Single, Variant::Sng(0), Variant::Dbl(0.1), Variant::Sng(0.1f), 0},
        {VarType::Double, Variant::Dbl(0), Variant::Int(3), Variant::Dbl(3), 0},
        {VarType::Currency, Variant::Cur(0), Variant::Dbl(1.23456), Variant::Cur(1.2346), 0},
        {VarType::Decimal, Variant::Dec(0), Variant::Int(2), Variant::Dec(2), 0},
        {VarType::Date, Variant::Date(0), Variant("2000-01-01"), Variant::Date(36526), 0},
        {VarType::String, Variant(""), Variant::Int(5), Variant("5"), 0},
        {VarType::String, Variant(""), Variant::Null(), Variant(), 94},
        {VarType::Boolean, Variant::Bool(false), Variant("true"), Variant::Bool(true), 0},
        {VarType::Object, Variant::Obj(nullptr), Variant::Obj(thing), Variant::Obj(thing), 0},
        {VarType::Object, Variant::Obj(nullptr), Variant("x"), Variant(), 13},
        {VarType::Variant, Variant(), Variant::Int(2), Variant::Int(2), 0},
        {VarType::Variant, Variant(), Variant::Null(), Variant::Null(), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(TypeName(Variant::Array(c.elementType, 0, 0)) + " set to " + TypeName(c.input));
        Variant a = Variant::Array(c.elementType, -1, 1);
        EXPECT_EQ(a.ElementType(), c.elementType);
        EXPECT_TRUE(Identical(a.At(-1), c.zero));
        EXPECT_TRUE(Identical(a.At(1), c.zero));
        EXPECT_EQ(ErrorOf([&] { a.Set(0, c.input); }), c.error);
        EXPECT_TRUE(Identical(a.At(0), c.error == 0 ? c.stored : c.zero));
    }
}

TEST(VariantArray, AssignmentCopiesTheElements) {
    Variant a = Variant::Array(VarType::Long, 0, 1);
    a.Set(0, Variant::Lng(1));
    Variant copy(a);
    Variant assigned;
    assigned = a;
    copy.Set(0, Variant::Lng(2));
    assigned.Set(0, Variant::Lng(3));
    EXPECT_TRUE(Identical(a.At(0), Variant::Lng(1)));
    EXPECT_TRUE(Identical(copy.At(0), Variant::Lng(2)));
    EXPECT_TRUE(Identical(assigned.At(0), Variant::Lng(3)));

    // Nested arrays are copied too.
    Variant outer = Variant::VariantArray({Variant::ByteArray({1, 2})});
    Variant outerCopy = outer;
    Variant inner = outerCopy.At(0);
    inner.Set(0, Variant::Byte(9));
    outerCopy.Set(0, inner);
    EXPECT_EQ(outer.At(0).ToBytes(), (std::vector<uint8_t>{1, 2}));
    EXPECT_EQ(outerCopy.At(0).ToBytes(), (std::vector<uint8_t>{9, 2}));
}

TEST(VariantArray, AssignmentFromItselfOrItsOwnElement) {
    Variant a = Variant::VariantArray({Variant("first"), Variant::Int(2)});
    const Variant& self = a;
    a = self;
    EXPECT_EQ(a.Count(), 2);
    a = a.At(0);  // the source lives inside the array being replaced
    EXPECT_TRUE(Identical(a, Variant("first")));
    Variant b = Variant::VariantArray({Variant::VariantArray({Variant::Int(7)})});
    b = std::move(const_cast<Variant&>(b.ArrayRef().items[0]));
    EXPECT_TRUE(Identical(b, Variant::VariantArray({Variant::Int(7)})));
}

TEST(VariantArray, ReDimPreserveKeepsTheLowerBoundAndTheElements) {
    Variant a = Variant::Array(VarType::String, 1, 2);
    a.Set(1, Variant("a"));
    a.Set(2, Variant("b"));
    a.ReDimPreserve(4);
    EXPECT_EQ(a.LBound(), 1);
    EXPECT_EQ(a.UBound(), 4);
    EXPECT_TRUE(Identical(a.At(2), Variant("b")));
    EXPECT_TRUE(Identical(a.At(4), Variant("")));
    a.ReDimPreserve(1);
    EXPECT_EQ(a.Count(), 1);
    EXPECT_TRUE(Identical(a.At(1), Variant("a")));
    EXPECT_EQ(ErrorOf([&] { a.At(2); }), 9);
    a.ReDimPreserve(0);
    EXPECT_EQ(a.Count(), 0);
    EXPECT_EQ(ErrorOf([&] { a.ReDimPreserve(-1); }), 9);
    EXPECT_EQ(a.Count(), 0);
}

TEST(VariantArray, ByteArrays) {
    const Variant bytes = Variant::ByteArray({0x0A, 0xFF}, 1);
    EXPECT_TRUE(bytes.IsByteArray());
    EXPECT_EQ(bytes.LBound(), 1);
    EXPECT_EQ(bytes.UBound(), 2);
    EXPECT_TRUE(Identical(bytes.At(2), Variant::Byte(0xFF)));
    EXPECT_EQ(bytes.ToBytes(), (std::vector<uint8_t>{0x0A, 0xFF}));
    EXPECT_TRUE(Variant::Array(VarType::Byte, 0, 3).IsByteArray());
    EXPECT_FALSE(Variant::VariantArray({Variant::Byte(1)}).IsByteArray());
    EXPECT_FALSE(Variant::Byte(1).IsByteArray());
    Variant empty = Variant::ByteArray({});
    EXPECT_EQ(empty.UBound(), -1);
    EXPECT_TRUE(empty.ToBytes().empty());
}

// A Byte array holds one byte per element, yet behaves like any other array.
TEST(VariantArray, ByteArrayIsPackedAndBehavesLikeAnArray) {
    constexpr int32_t kCount = 1 << 20;
    Variant big = Variant::Array(VarType::Byte, 1, kCount);
    EXPECT_TRUE(big.ArrayRef().items.empty());
    EXPECT_EQ(big.ArrayRef().bytes.size(), static_cast<size_t>(kCount));
    EXPECT_LT(big.ArrayRef().bytes.capacity(), 2u * kCount);

    Variant a = Variant::ByteArray({1, 2, 3}, -1);
    Variant copy = a;
    copy.Set(0, Variant("200"));
    EXPECT_TRUE(Identical(a.At(0), Variant::Byte(2)));
    EXPECT_TRUE(Identical(copy.At(0), Variant::Byte(200)));
    EXPECT_FALSE(Identical(a, copy));
    EXPECT_TRUE(Identical(a, Variant::ByteArray({1, 2, 3}, -1)));
    EXPECT_FALSE(Identical(a, Variant::ByteArray({1, 2, 3}, 0)));
    EXPECT_FALSE(Identical(a, Variant::VariantArray({Variant::Byte(1), Variant::Byte(2), Variant::Byte(3)}, -1)));
    EXPECT_EQ(Compare(a.At(1), Variant::Lng(3)), Cmp::Equal);
    EXPECT_EQ(ErrorOf([&] { a.Set(1, Variant::Int(256)); }), 6);
    EXPECT_EQ(a.BytesRef(), (std::vector<uint8_t>{1, 2, 3}));  // unchanged by the failed Set
    a.ReDimPreserve(3);
    EXPECT_EQ(a.ToBytes(), (std::vector<uint8_t>{1, 2, 3, 0, 0}));
    a.ReDimPreserve(-1);
    EXPECT_EQ(a.ToBytes(), (std::vector<uint8_t>{1}));
    EXPECT_EQ(VarTypeOf(a), 8192 + 17);
    EXPECT_EQ(TypeName(a), "Byte()");
    EXPECT_EQ(ErrorOf([&] { Variant::VariantArray({Variant::Byte(1)}).BytesRef(); }), 13);
}

// ---- Comparison ----

std::string CmpName(Cmp c) {
    switch (c) {
        case Cmp::Less: return "Less";
        case Cmp::Equal: return "Equal";
        case Cmp::Greater: return "Greater";
        case Cmp::Null: return "Null";
    }
    return "?";
}

TEST(VariantCompare, CompareAcrossSubtypes) {
    struct Case {
        const char* label;
        Variant a, b;
        Cmp expected;
        int32_t error;
    };
    const Case cases[] = {
        {"Int 1 = Dbl 1", Variant::Int(1), Variant::Dbl(1), Cmp::Equal, 0},
        {"Byte 255 = Long 255", Variant::Byte(255), Variant::Lng(255), Cmp::Equal, 0},
        {"Cur 0.5 = Sng 0.5", Variant::Cur(0.5), Variant::Sng(0.5f), Cmp::Equal, 0},
        {"Dec 2 > Int 1", Variant::Dec(2), Variant::Int(1), Cmp::Greater, 0},
        {"Sng 0.1 > Dbl 0.1 (exact values)", Variant::Sng(0.1f), Variant::Dbl(0.1), Cmp::Greater, 0},
        {"Dbl 0 = Dbl -0", Variant::Dbl(0), Variant::Dbl(-0.0), Cmp::Equal, 0},
        {"Date 1 = Dbl 1", Variant::Date(1), Variant::Dbl(1), Cmp::Equal, 0},
        {"True = Int -1", Variant::Bool(true), Variant::Int(-1), Cmp::Equal, 0},
        {"True < Int 1", Variant::Bool(true), Variant::Int(1), Cmp::Less, 0},
        {"False = Empty", Variant::Bool(false), Variant(), Cmp::Equal, 0},
        {"Empty = Int 0", Variant(), Variant::Int(0), Cmp::Equal, 0},
        {"Empty > Dbl -1", Variant(), Variant::Dbl(-1), Cmp::Greater, 0},
        {"Empty = \"\"", Variant(), Variant(""), Cmp::Equal, 0},
        {"Empty < \"a\"", Variant(), Variant("a"), Cmp::Less, 0},
        {"\"0\" > Empty", Variant("0"), Variant(), Cmp::Greater, 0},
        {"Empty = Empty", Variant(), Variant(), Cmp::Equal, 0},
        {"Null, Null", Variant::Null(), Variant::Null(), Cmp::Null, 0},
        {"Null, Int", Variant::Null(), Variant::Int(0), Cmp::Null, 0},
        {"Str, Null", Variant("a"), Variant::Null(), Cmp::Null, 0},
        {"Null, Obj", Variant::Null(), Variant::Obj(nullptr), Cmp::Null, 0},
        {"\"a\" > \"B\" (binary)", Variant("a"), Variant("B"), Cmp::Greater, 0},
        {"\"abc\" < \"abd\"", Variant("abc"), Variant("abd"), Cmp::Less, 0},
        {"\"ab\" < \"abc\"", Variant("ab"), Variant("abc"), Cmp::Less, 0},
        {"\"\xC3\xA4\" > \"z\" (UTF-8 bytes)", Variant("\xC3\xA4"), Variant("z"), Cmp::Greater, 0},
        {"Int 5 < \"5\"", Variant::Int(5), Variant("5"), Cmp::Less, 0},
        {"\"5\" > Int 5", Variant("5"), Variant::Int(5), Cmp::Greater, 0},
        {"True < \"True\"", Variant::Bool(true), Variant("True"), Cmp::Less, 0},
        {"NaN = NaN", Variant::Dbl(kNaN), Variant::Sng(std::nanf("")), Cmp::Equal, 0},
        {"NaN > 1E+308", Variant::Dbl(kNaN), Variant::Dbl(1e308), Cmp::Greater, 0},
        {"Object", Variant::Obj(nullptr), Variant::Obj(nullptr), Cmp::Null, 13},
        {"Array", Variant::ByteArray({1}), Variant::ByteArray({1}), Cmp::Null, 13},
        {"Missing", Variant::Missing(), Variant::Int(0), Cmp::Null, 13},
    };
    for (const Case& c : cases) {
        Cmp result = Cmp::Null;
        EXPECT_EQ(ErrorOf([&] { result = Compare(c.a, c.b); }), c.error) << c.label;
        if (c.error == 0) {
            EXPECT_EQ(CmpName(result), CmpName(c.expected)) << c.label;
            EXPECT_EQ(Equals(c.a, c.b), c.expected == Cmp::Equal) << c.label;
        }
    }
}

TEST(VariantCompare, CompareToALiteralParsesText) {
    struct Case {
        Variant v;
        double literal;
        Cmp expected;
        int32_t error;
    };
    const Case cases[] = {
        {Variant(), 0, Cmp::Equal, 0},
        {Variant(), 1, Cmp::Less, 0},
        {Variant("0"), 0, Cmp::Equal, 0},
        {Variant(" 1e0 "), 1, Cmp::Equal, 0},
        {Variant("2"), 10, Cmp::Less, 0},
        {Variant::Bool(true), -1, Cmp::Equal, 0},
        {Variant::Sng(0.1f), 0.1, Cmp::Greater, 0},
        {Variant::Date(2), 2, Cmp::Equal, 0},
        {Variant::Null(), 0, Cmp::Null, 0},
        {Variant("x"), 0, Cmp::Null, 13},
        {Variant(""), 0, Cmp::Null, 13},
        {Variant("1e400"), 0, Cmp::Null, 6},
        {Variant::Obj(nullptr), 0, Cmp::Null, 13},
        {Variant::ByteArray({0}), 0, Cmp::Null, 13},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(TypeName(c.v));
        Cmp result = Cmp::Null;
        EXPECT_EQ(ErrorOf([&] { result = CompareTo(c.v, c.literal); }), c.error);
        if (c.error == 0) {
            EXPECT_EQ(CmpName(result), CmpName(c.expected));
        }
    }
}

TEST(VariantCompare, IdenticalNeedsTheSameSubtypeAndPayload) {
    auto thing = std::make_shared<Thing>();
    struct Case {
        const char* label;
        Variant a, b;
        bool expected;
    };
    const Case cases[] = {
        {"Int 1, Int 1", Variant::Int(1), Variant::Int(1), true},
        {"Int 1, Long 1", Variant::Int(1), Variant::Lng(1), false},
        {"Dbl 1, Date 1", Variant::Dbl(1), Variant::Date(1), false},
        {"Dbl 1, Cur 1", Variant::Dbl(1), Variant::Cur(1), false},
        {"Dbl 0, Dbl -0", Variant::Dbl(0), Variant::Dbl(-0.0), false},
        {"Sng 0, Sng -0", Variant::Sng(0), Variant::Sng(-0.0f), false},
        {"NaN, NaN", Variant::Dbl(kNaN), Variant::Dbl(-kNaN), true},
        {"NaN, 0", Variant::Dbl(kNaN), Variant::Dbl(0), false},
        {"Empty, Null", Variant(), Variant::Null(), false},
        {"Empty, \"\"", Variant(), Variant(""), false},
        {"Missing, Missing", Variant::Missing(), Variant::Missing(), true},
        {"\"a\", \"A\"", Variant("a"), Variant("A"), false},
        {"True, True", Variant::Bool(true), Variant::Bool(true), true},
        {"same object", Variant::Obj(thing), Variant::Obj(thing), true},
        {"other object", Variant::Obj(thing), Variant::Obj(std::make_shared<Thing>()), false},
        {"Nothing, Nothing", Variant::Obj(nullptr), Variant::Obj(nullptr), true},
        {"bytes", Variant::ByteArray({1, 2}), Variant::ByteArray({1, 2}), true},
        {"bytes, other lbound", Variant::ByteArray({1, 2}), Variant::ByteArray({1, 2}, 1), false},
        {"bytes, other content", Variant::ByteArray({1, 2}), Variant::ByteArray({1, 3}), false},
        {"bytes, shorter", Variant::ByteArray({1, 2}), Variant::ByteArray({1}), false},
        {"bytes, Variant array of bytes", Variant::ByteArray({1}), Variant::VariantArray({Variant::Byte(1)}), false},
        {"nested", Variant::VariantArray({Variant::VariantArray({Variant::Dbl(kNaN)})}),
         Variant::VariantArray({Variant::VariantArray({Variant::Dbl(kNaN)})}), true},
        {"element subtype", Variant::VariantArray({Variant::Int(1)}), Variant::VariantArray({Variant::Lng(1)}),
         false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Identical(c.a, c.b), c.expected) << c.label;
        EXPECT_EQ(Identical(c.b, c.a), c.expected) << c.label;
    }
}

}  // namespace

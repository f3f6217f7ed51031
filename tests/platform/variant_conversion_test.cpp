// The VB conversion functions, the number parser, the CStr text forms and dates.
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
const double kInf = std::numeric_limits<double>::infinity();

// A readable label for a case: subtype and, where there is one, the text form.
std::string Describe(const Variant& v) {
    std::string text;
    try {
        text = CStr(v);
    } catch (const ComError&) {
        text = "-";
    }
    return TypeName(v) + " " + text;
}

Variant SomeObject() {
    struct Thing : Object {};
    return Variant::Obj(std::make_shared<Thing>());
}

// ---- CByte, CInt, CLng ----

enum class To { Byte, Int, Lng };

int64_t Convert(To to, const Variant& v) {
    switch (to) {
        case To::Byte: return CByte(v);
        case To::Int: return CInt(v);
        case To::Lng: return CLng(v);
    }
    return 0;
}

struct IntegralCase {
    To to;
    Variant input;
    int64_t expected;
    int32_t error;  // 0: no error expected
};

TEST(VariantConversion, IntegralConversionsRoundHalfEvenAndCheckRange) {
    const IntegralCase cases[] = {
        // Half to even, both signs.
        {To::Int, Variant::Dbl(2.5), 2, 0},
        {To::Int, Variant::Dbl(3.5), 4, 0},
        {To::Int, Variant::Dbl(-2.5), -2, 0},
        {To::Int, Variant::Dbl(-3.5), -4, 0},
        {To::Int, Variant::Dbl(0.5), 0, 0},
        {To::Int, Variant::Dbl(1.5), 2, 0},
        {To::Int, Variant::Dbl(2.4999999999), 2, 0},
        {To::Int, Variant::Dbl(2.5000000001), 3, 0},
        {To::Int, Variant::Sng(2.5f), 2, 0},
        {To::Int, Variant::Sng(-1.5f), -2, 0},
        {To::Int, Variant::Cur(2.5), 2, 0},
        {To::Int, Variant::Dec(-2.5), -2, 0},
        {To::Int, Variant::Date(2.5), 2, 0},
        // Limits: rounding happens before the range check.
        {To::Int, Variant::Dbl(32767.4), 32767, 0},
        {To::Int, Variant::Dbl(32767.5), 0, 6},
        {To::Int, Variant::Dbl(-32768.5), -32768, 0},
        {To::Int, Variant::Dbl(-32768.5000001), 0, 6},
        {To::Int, Variant::Lng(32768), 0, 6},
        {To::Int, Variant::Lng(-32768), -32768, 0},
        {To::Int, Variant::Byte(255), 255, 0},
        {To::Int, Variant::Dbl(1e300), 0, 6},
        {To::Int, Variant::Dbl(kNaN), 0, 6},
        {To::Int, Variant::Dbl(kInf), 0, 6},
        {To::Int, Variant::Dbl(-kInf), 0, 6},
        // Empty, Boolean, Null and other kinds.
        {To::Int, Variant(), 0, 0},
        {To::Int, Variant::Bool(true), -1, 0},
        {To::Int, Variant::Bool(false), 0, 0},
        {To::Int, Variant::Null(), 0, 94},
        {To::Int, Variant::Missing(), 0, 13},
        {To::Int, Variant::Obj(nullptr), 0, 13},
        {To::Int, SomeObject(), 0, 13},
        {To::Int, Variant::ByteArray({1}), 0, 13},
        // Text goes through the number parser.
        {To::Int, Variant("12"), 12, 0},
        {To::Int, Variant(" -3.5 "), -4, 0},
        {To::Int, Variant("2.5"), 2, 0},
        {To::Int, Variant("1e3"), 1000, 0},
        {To::Int, Variant("40000"), 0, 6},
        {To::Int, Variant("abc"), 0, 13},
        {To::Int, Variant(""), 0, 13},
        {To::Int, Variant("&H10"), 0, 13},
        {To::Int, Variant("1,000"), 0, 13},
        {To::Int, Variant("$5"), 0, 13},
        {To::Int, Variant("True"), 0, 13},

        {To::Byte, Variant::Dbl(-0.5), 0, 0},
        {To::Byte, Variant::Dbl(-0.6), 0, 6},
        {To::Byte, Variant::Dbl(254.5), 254, 0},
        {To::Byte, Variant::Dbl(255.49), 255, 0},
        {To::Byte, Variant::Dbl(255.5), 0, 6},
        {To::Byte, Variant::Int(-1), 0, 6},
        {To::Byte, Variant::Int(256), 0, 6},
        {To::Byte, Variant::Bool(true), 0, 6},
        {To::Byte, Variant::Bool(false), 0, 0},
        {To::Byte, Variant("255"), 255, 0},
        {To::Byte, Variant("256"), 0, 6},
        {To::Byte, Variant(), 0, 0},
        {To::Byte, Variant::Null(), 0, 94},
        {To::Byte, Variant::Dbl(kNaN), 0, 6},

        {To::Lng, Variant::Dbl(2147483647.0), 2147483647, 0},
        {To::Lng, Variant::Dbl(2147483646.5), 2147483646, 0},
        {To::Lng, Variant::Dbl(2147483647.5), 0, 6},
        {To::Lng, Variant::Dbl(-2147483648.5), -2147483648LL, 0},
        {To::Lng, Variant::Dbl(-2147483648.6), 0, 6},
        {To::Lng, Variant::Dbl(1e10), 0, 6},
        {To::Lng, Variant::Sng(16777217.0f), 16777216, 0},
        {To::Lng, Variant::Cur(-0.5), 0, 0},
        {To::Lng, Variant::Bool(true), -1, 0},
        {To::Lng, Variant("2147483647"), 2147483647, 0},
        {To::Lng, Variant("-2147483649"), 0, 6},
        {To::Lng, Variant("1.5E+3"), 1500, 0},
        {To::Lng, Variant("1D3"), 1000, 0},
        {To::Lng, Variant("1e400"), 0, 6},
        {To::Lng, Variant("1e-400"), 0, 0},
        {To::Lng, Variant::Dbl(kInf), 0, 6},
    };
    for (const IntegralCase& c : cases) {
        SCOPED_TRACE(Describe(c.input) + " to " + std::to_string(static_cast<int>(c.to)));
        int64_t result = -999;
        EXPECT_EQ(ErrorOf([&] { result = Convert(c.to, c.input); }), c.error);
        if (c.error == 0) {
            EXPECT_EQ(result, c.expected);
        }
    }
}

// ---- CSng, CDbl ----

struct FloatCase {
    Variant input;
    double expected;  // NaN: a NaN is expected
    int32_t error;
};

TEST(VariantConversion, CSngChecksTheSingleRangeAndLetsNaNPass) {
    const FloatCase cases[] = {
        {Variant::Dbl(FLT_MAX), FLT_MAX, 0},
        {Variant::Dbl(-FLT_MAX), -FLT_MAX, 0},
        {Variant::Dbl(3.5e38), 0, 6},
        {Variant::Dbl(-3.5e38), 0, 6},
        {Variant::Dbl(kInf), 0, 6},
        {Variant::Dbl(kNaN), kNaN, 0},
        {Variant::Sng(std::numeric_limits<float>::quiet_NaN()), kNaN, 0},
        {Variant::Dbl(1e-50), 0, 0},
        {Variant::Dbl(0.1), 0.1f, 0},
        {Variant::Lng(16777217), 16777216.0f, 0},
        {Variant::Bool(true), -1, 0},
        {Variant(), 0, 0},
        {Variant::Null(), 0, 94},
        {Variant("1E39"), 0, 6},
        {Variant("0.1"), 0.1f, 0},
        {Variant("x"), 0, 13},
        {SomeObject(), 0, 13},
    };
    for (const FloatCase& c : cases) {
        SCOPED_TRACE(Describe(c.input));
        float result = -999;
        EXPECT_EQ(ErrorOf([&] { result = CSng(c.input); }), c.error);
        if (c.error != 0) continue;
        if (std::isnan(c.expected)) {
            EXPECT_TRUE(std::isnan(result));
        } else {
            EXPECT_EQ(result, static_cast<float>(c.expected));
        }
    }
}

TEST(VariantConversion, CDblReadsTextWithTheNumberParser) {
    const FloatCase cases[] = {
        {Variant(" +1.5D2 "), 150, 0},
        {Variant(".5"), 0.5, 0},
        {Variant("5."), 5, 0},
        {Variant("-.5e-1"), -0.05, 0},
        {Variant("00012"), 12, 0},
        {Variant("1e5"), 1e5, 0},
        {Variant("1E-400"), 0, 0},
        {Variant("."), 0, 13},
        {Variant("1E"), 0, 13},
        {Variant("1e+"), 0, 13},
        {Variant("- 1"), 0, 13},
        {Variant("1 2"), 0, 13},
        {Variant("\t1"), 0, 13},
        {Variant("++1"), 0, 13},
        {Variant("nan"), 0, 13},
        {Variant("inf"), 0, 13},
        {Variant("0x10"), 0, 13},
        {Variant("1e400"), 0, 6},
        {Variant("-1e400"), 0, 6},
        {Variant::Date(1.5), 1.5, 0},
        {Variant::Cur(1.2345), 1.2345, 0},
        {Variant::Sng(0.1f), static_cast<double>(0.1f), 0},
        {Variant::Bool(true), -1, 0},
        {Variant(), 0, 0},
        {Variant::Null(), 0, 94},
        {Variant::Missing(), 0, 13},
        {Variant::VariantArray({}), 0, 13},
    };
    for (const FloatCase& c : cases) {
        SCOPED_TRACE(Describe(c.input));
        double result = -999;
        EXPECT_EQ(ErrorOf([&] { result = CDbl(c.input); }), c.error);
        if (c.error == 0) {
            EXPECT_EQ(result, c.expected);
        }
    }
}

TEST(VariantConversion, ParseNumberLeavesTheResultAloneOnFailure) {
    double out = 7;
    EXPECT_FALSE(ParseNumber("1e400", out));
    EXPECT_FALSE(ParseNumber("x", out));
    EXPECT_EQ(out, 7);
    EXPECT_TRUE(ParseNumber(" -2.5E+1 ", out));
    EXPECT_EQ(out, -25);
}

// ---- CBool ----

TEST(VariantConversion, CBoolAcceptsTrueFalseInAnyCaseOrANumber) {
    struct Case {
        Variant input;
        bool expected;
        int32_t error;
    };
    const Case cases[] = {
        {Variant("True"), true, 0},
        {Variant("FALSE"), false, 0},
        {Variant("tRuE"), true, 0},
        {Variant(" True "), true, 0},
        {Variant("Truex"), false, 13},
        {Variant("yes"), false, 13},
        {Variant(""), false, 13},
        {Variant("0"), false, 0},
        {Variant("0.0"), false, 0},
        {Variant("2"), true, 0},
        {Variant("-1"), true, 0},
        {Variant::Dbl(0.1), true, 0},
        {Variant::Dbl(0), false, 0},
        {Variant::Dbl(-0.0), false, 0},
        {Variant::Dbl(kNaN), true, 0},
        {Variant::Int(0), false, 0},
        {Variant::Byte(1), true, 0},
        {Variant::Date(0), false, 0},
        {Variant(), false, 0},
        {Variant::Null(), false, 94},
        {SomeObject(), false, 13},
        {Variant::ByteArray({1}), false, 13},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Describe(c.input));
        bool result = !c.expected;
        EXPECT_EQ(ErrorOf([&] { result = CBool(c.input); }), c.error);
        if (c.error == 0) {
            EXPECT_EQ(result, c.expected);
        }
    }
}

// ---- CStr ----

TEST(VariantConversion, CStrOfDoubleShowsFifteenSignificantDigits) {
    struct Case {
        double value;
        const char* expected;
    };
    const Case cases[] = {
        {0.1, "0.1"},
        {-1.5, "-1.5"},
        {100, "100"},
        {123.456, "123.456"},
        {0.1 + 0.2, "0.3"},
        {1.0 / 3, "0.333333333333333"},
        {2.0 / 3, "0.666666666666667"},
        {12345678, "12345678"},
        {123456789012345.0, "123456789012345"},
        {1e15, "1E+15"},
        {999999999999999.9, "1E+15"},
        {1234567890123456.0, "1.23456789012346E+15"},
        {1e20, "1E+20"},
        {0.0001, "0.0001"},
        {0.00001, "1E-05"},
        {-0.00001, "-1E-05"},
        {1.5e-5, "1.5E-05"},
        {1e-300, "1E-300"},
        {DBL_MAX, "1.79769313486232E+308"},
        {-0.0, "0"},
        {0, "0"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CStr(Variant::Dbl(c.value)), c.expected) << c.value;
    }
}

TEST(VariantConversion, CStrOfSingleShowsSevenSignificantDigits) {
    struct Case {
        float value;
        const char* expected;
    };
    const Case cases[] = {
        {0.1f, "0.1"},
        {3.14159265f, "3.141593"},
        {1234567.0f, "1234567"},
        {12345678.0f, "1.234568E+07"},
        {1e7f, "1E+07"},
        {16777216.0f, "1.677722E+07"},
        {0.0001f, "0.0001"},
        {1.5e-5f, "1.5E-05"},
        {FLT_MAX, "3.402823E+38"},
        {-0.0f, "0"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CStr(Variant::Sng(c.value)), c.expected) << c.value;
    }
}

TEST(VariantConversion, CStrOfOtherSubtypes) {
    struct Case {
        Variant input;
        const char* expected;
        int32_t error;
    };
    const Case cases[] = {
        {Variant(), "", 0},
        {Variant::Bool(true), "True", 0},
        {Variant::Bool(false), "False", 0},
        {Variant::Int(-32768), "-32768", 0},
        {Variant::Lng(std::numeric_limits<int32_t>::min()), "-2147483648", 0},
        {Variant::Byte(255), "255", 0},
        {Variant::Cur(1.2345), "1.2345", 0},
        {Variant::Cur(-42), "-42", 0},
        {Variant::Dec(1e20), "1E+20", 0},
        {Variant::Dec(0.5), "0.5", 0},
        {Variant("abc"), "abc", 0},
        {Variant::Date(45000), "2023-03-15", 0},
        {Variant::Date(36526.75), "2000-01-01 18:00:00", 0},
        {Variant::Date(0), "00:00:00", 0},
        {Variant::Date(0.5), "12:00:00", 0},
        {Variant::Date(-0.5), "12:00:00", 0},
        {Variant::Date(1), "1899-12-31", 0},
        {Variant::Date(-1.25), "1899-12-29 06:00:00", 0},
        {Variant::Date(36526.99999999), "2000-01-02", 0},
        {Variant::Date(-657434), "0100-01-01", 0},
        {Variant::Null(), "", 94},
        {Variant::Missing(), "", 13},
        {SomeObject(), "", 13},
        {Variant::ByteArray({65}), "", 13},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(TypeName(c.input));
        std::string result;
        EXPECT_EQ(ErrorOf([&] { result = CStr(c.input); }), c.error);
        if (c.error == 0) {
            EXPECT_EQ(result, c.expected);
        }
    }
}

// ---- The decimal separator setting ----

class DecimalSeparatorTest : public ::testing::Test {
protected:
    void SetUp() override { SetDecimalSeparator(','); }
    void TearDown() override { SetDecimalSeparator('.'); }
};

TEST_F(DecimalSeparatorTest, CommaSeparatorAppliesToTextBothWays) {
    EXPECT_EQ(CDbl(Variant("1,5")), 1.5);
    EXPECT_EQ(ErrorOf([] { CDbl(Variant("1.5")); }), 13);
    EXPECT_TRUE(IsNumeric(Variant(",5")));
    EXPECT_FALSE(IsNumeric(Variant("0.5")));
    EXPECT_EQ(CStr(Variant::Dbl(1.5)), "1,5");
    EXPECT_EQ(CStr(Variant::Sng(1.5e-5f)), "1,5E-05");
    EXPECT_EQ(CStr(Variant::Date(0.5)), "12:00:00");
}

// ---- IsNumeric ----

TEST(VariantConversion, IsNumericTable) {
    struct Case {
        Variant input;
        bool expected;
    };
    const Case cases[] = {
        {Variant::Int(1), true},
        {Variant::Lng(1), true},
        {Variant::Sng(1), true},
        {Variant::Dbl(kNaN), true},
        {Variant::Cur(1), true},
        {Variant::Dec(1), true},
        {Variant::Byte(1), true},
        {Variant::Bool(false), true},
        {Variant(), true},
        {Variant::Null(), false},
        {Variant::Date(1), false},
        {Variant::Obj(nullptr), false},
        {SomeObject(), false},
        {Variant::ByteArray({1}), false},
        {Variant::VariantArray({Variant::Int(1)}), false},
        {Variant::Missing(), false},
        {Variant("12"), true},
        {Variant(" -1.5e3 "), true},
        {Variant("5."), true},
        {Variant(".5"), true},
        {Variant("1D2"), true},
        {Variant("1e-400"), true},
        {Variant(""), false},
        {Variant(" "), false},
        {Variant("."), false},
        {Variant("1,000"), false},
        {Variant("$1"), false},
        {Variant("&H10"), false},
        {Variant("1e400"), false},
        {Variant("1e+"), false},
        {Variant("++1"), false},
        {Variant("nan"), false},
        {Variant("True"), false},
        {Variant("2024-01-01"), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsNumeric(c.input), c.expected) << Describe(c.input);
    }
}

// ---- CDate and the date functions ----

TEST(VariantConversion, CDateReadsIsoTextAndNumbers) {
    struct Case {
        Variant input;
        double serial;
        int32_t error;
    };
    const double t0304 = (3 * 3600 + 4 * 60) / 86400.0;
    const Case cases[] = {
        {Variant("2024-02-29"), 45351, 0},
        {Variant(" 2024-1-2 "), 45293, 0},
        {Variant("2024-01-02 03:04"), 45293 + t0304, 0},
        {Variant("2024-01-02 03:04:05"), 45293 + t0304 + 5 / 86400.0, 0},
        {Variant("1899-12-29 06:00"), -1.25, 0},
        {Variant("12:30"), 12.5 / 24, 0},
        {Variant("0100-01-01"), -657434, 0},
        {Variant("9999-12-31 23:59:59"), 2958465 + 86399 / 86400.0, 0},
        {Variant("2023-02-29"), 0, 13},
        {Variant("2024-13-01"), 0, 13},
        {Variant("2024-00-10"), 0, 13},
        {Variant("0099-01-01"), 0, 13},
        {Variant("24:00"), 0, 13},
        {Variant("2024-01-02 03:04:60"), 0, 13},
        {Variant("2024-01-02T03:04"), 45293 + t0304, 0},
        {Variant("2024-01-02T03:04:05"), 45293 + t0304 + 5 / 86400.0, 0},
        {Variant("2024-01-02T"), 0, 13},
        {Variant("2024-01-02 T03:04"), 0, 13},
        {Variant("2024-01-02 "), 45293, 0},
        {Variant("2024-01-02 x"), 0, 13},
        {Variant("45000"), 0, 13},
        {Variant(""), 0, 13},
        {Variant("abc"), 0, 13},
        {Variant::Dbl(45000.5), 45000.5, 0},
        {Variant::Dbl(1e10), 0, 6},
        {Variant::Dbl(kNaN), 0, 6},
        {Variant::Bool(true), -1, 0},
        {Variant::Date(5), 5, 0},
        {Variant(), 0, 0},
        {Variant::Null(), 0, 94},
        {SomeObject(), 0, 13},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Describe(c.input));
        Variant result;
        EXPECT_EQ(ErrorOf([&] { result = CDate(c.input); }), c.error);
        if (c.error == 0) {
            ASSERT_EQ(result.Type(), VarType::Date);
            EXPECT_DOUBLE_EQ(result.DateSerial(), c.serial);
        }
    }
}

TEST(VariantConversion, DateTextRoundTripsThroughCDate) {
    const double serials[] = {0,       0.5,         1,       -1.25, 45351,         45293 + 3723 / 86400.0,
                              -657434, 2958465.5,   -700.75, 25569, 36526 + 0.999988425925926};
    for (double serial : serials) {
        const std::string text = CStr(Variant::Date(serial));
        EXPECT_NEAR(CDate(Variant(text)).DateSerial(), serial, 1e-9) << text;
    }
}

TEST(VariantDates, SplitDateCountsNegativeFractionsAwayFromZero) {
    struct Case {
        double serial;
        int year, month, day, hour, minute, second, millisecond, weekday;
    };
    const Case cases[] = {
        {0, 1899, 12, 30, 0, 0, 0, 0, 7},
        {1, 1899, 12, 31, 0, 0, 0, 0, 1},
        {-1, 1899, 12, 29, 0, 0, 0, 0, 6},
        {-1.25, 1899, 12, 29, 6, 0, 0, 0, 6},
        {-0.5, 1899, 12, 30, 12, 0, 0, 0, 7},
        {2.5, 1900, 1, 1, 12, 0, 0, 0, 2},
        {25569, 1970, 1, 1, 0, 0, 0, 0, 5},
        {36526, 2000, 1, 1, 0, 0, 0, 0, 7},
        {45351, 2024, 2, 29, 0, 0, 0, 0, 5},
        {36526.5 + 0.123 / 86400, 2000, 1, 1, 12, 0, 0, 123, 7},
        {36526.99999999999, 2000, 1, 2, 0, 0, 0, 0, 1},
        {-1.99999999999, 1899, 12, 30, 0, 0, 0, 0, 7},
        {-657434, 100, 1, 1, 0, 0, 0, 0, 6},
        {2958465 + 86399 / 86400.0, 9999, 12, 31, 23, 59, 59, 0, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.serial);
        const DateParts p = SplitDate(c.serial);
        EXPECT_EQ(p.year, c.year);
        EXPECT_EQ(p.month, c.month);
        EXPECT_EQ(p.day, c.day);
        EXPECT_EQ(p.hour, c.hour);
        EXPECT_EQ(p.minute, c.minute);
        EXPECT_EQ(p.second, c.second);
        EXPECT_EQ(p.millisecond, c.millisecond);
        EXPECT_EQ(p.weekday, c.weekday);
    }
    for (double bad : {2958466.0, -657435.0, kNaN, kInf, 1e300}) {
        EXPECT_EQ(ErrorOf([&] { SplitDate(bad); }), 6) << bad;
    }
}

// The moment of a serial is the time SplitDate gives it, so that moments order
// dates before 1899-12-30 as they follow each other; MomentDate goes back.
TEST(VariantDates, DateMomentIsTheTimeTheSerialDenotes) {
    const double serials[] = {0, 0.5, -0.5, -1, -1.25, -1.75, -2.75, 45351.25, -657434.5, 2958465.5};
    for (double serial : serials) {
        SCOPED_TRACE(serial);
        const DateParts p = SplitDate(serial);
        const double moment = DateSerial(p.year, p.month, p.day) + (p.hour * 3600 + p.minute * 60 + p.second) / 86400.0;
        EXPECT_DOUBLE_EQ(DateMoment(serial), moment);
        EXPECT_DOUBLE_EQ(DateMoment(MomentDate(moment)), moment);
        EXPECT_EQ(CStr(Variant::Date(MomentDate(moment))), CStr(Variant::Date(serial)));
    }
    EXPECT_DOUBLE_EQ(MomentDate(-0.25), -1.75);  // 1899-12-29 18:00
    EXPECT_TRUE(std::isnan(MomentDate(kNaN)));
}

TEST(VariantDates, DateSerialRollsOverLikeVb) {
    struct Case {
        int year, month, day;
        double serial;
        int32_t error;
    };
    const int big = std::numeric_limits<int>::max();
    const Case cases[] = {
        {2024, 2, 29, 45351, 0},
        {2024, 3, 0, 45351, 0},
        {2024, 14, 1, 45689, 0},
        {2024, 0, 1, 45261, 0},
        {2024, -11, 1, 44927, 0},
        {2024, 1, -1, 45290, 0},
        {1899, 12, 30, 0, 0},
        {99, 1, 1, 36161, 0},
        {29, 1, 1, 47119, 0},
        {30, 1, 1, 10959, 0},
        {100, 1, 1, -657434, 0},
        {9999, 12, 31, 2958465, 0},
        {10000, 1, 1, 0, 5},
        {100, 1, 0, 0, 5},
        {big, big, big, 0, 5},
        {-big, -big, -big, 0, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.year) + "-" + std::to_string(c.month) + "-" + std::to_string(c.day));
        double serial = -1;
        EXPECT_EQ(ErrorOf([&] { serial = DateSerial(c.year, c.month, c.day); }), c.error);
        if (c.error == 0) {
            EXPECT_EQ(serial, c.serial);
        }
    }
}

TEST(VariantDates, TimeSerialNormalisesToADayAndATime) {
    EXPECT_DOUBLE_EQ(TimeSerial(12, 0, 0), 0.5);
    EXPECT_DOUBLE_EQ(TimeSerial(0, 90, 0), 0.0625);
    EXPECT_DOUBLE_EQ(TimeSerial(25, 0, 0), 1 + 1 / 24.0);
    // One hour before midnight of day 0 is 1899-12-29 23:00.
    EXPECT_DOUBLE_EQ(TimeSerial(-1, 0, 0), -(1 + 23 / 24.0));
    EXPECT_EQ(CStr(Variant::Date(TimeSerial(-1, 0, 0))), "1899-12-29 23:00:00");
    const int big = std::numeric_limits<int>::max();
    EXPECT_EQ(ErrorOf([&] { TimeSerial(big, big, big); }), 5);
}

}  // namespace

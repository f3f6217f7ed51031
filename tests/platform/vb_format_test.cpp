#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>

#include "ErrorOf.h"
#include "platform/com/Error.h"
#include "platform/com/Variant.h"
#include "platform/com/VbText.h"

namespace {

using namespace platform::com;
using namespace platform::com::vb;

TEST(VbNumberText, NumberTextFollowsCStr) {
    struct Case {
        double value;
        int digits;
        const char* expected;
    };
    const Case cases[] = {
        {0, 15, "0"},
        {-0.0, 15, "0"},
        {1, 15, "1"},
        {-2.5, 15, "-2.5"},
        {0.1, 15, "0.1"},
        {0.1 + 0.2, 15, "0.3"},
        {1.0 / 3, 15, "0.333333333333333"},
        {0.0001, 15, "0.0001"},
        {0.00001, 15, "1E-05"},
        {0.000015, 15, "1.5E-05"},
        {1e15, 15, "1E+15"},
        {123456789012345, 15, "123456789012345"},
        {1234567890123456, 15, "1.23456789012346E+15"},
        {1e20, 15, "1E+20"},
        {-1.5e-100, 15, "-1.5E-100"},
        {1e308, 15, "1E+308"},
        {static_cast<float>(0.1), 7, "0.1"},
        {12345678, 7, "1.234568E+07"},
        {1234567, 7, "1234567"},
        {std::numeric_limits<double>::quiet_NaN(), 15, "NaN"},
        {-std::numeric_limits<double>::infinity(), 15, "-Infinity"},
    };
    for (const Case& c : cases) EXPECT_EQ(NumberText(c.value, c.digits), c.expected) << c.value;
    EXPECT_EQ(NumberText(-2.5, 15, ','), "-2,5");
    EXPECT_EQ(NumberText(1.5e-5, 15, ','), "1,5E-05");
}

TEST(VbNumberText, StrPutsABlankBeforeNonNegativeNumbers) {
    EXPECT_EQ(Str(5), " 5");
    EXPECT_EQ(Str(-5), "-5");
    EXPECT_EQ(Str(0), " 0");
    EXPECT_EQ(Str(0.5), " 0.5");
    EXPECT_EQ(Str(1e20), " 1E+20");
}

TEST(VbNumberText, ValReadsTheLeadingNumber) {
    struct Case {
        const char* text;
        double expected;
    };
    const Case cases[] = {
        {"", 0},
        {"abc", 0},
        {"12.5kg", 12.5},
        {"  -3", -3},
        {"+7", 7},
        {"- 4", -4},
        {"1 2\t3\n4", 1234},
        {"1\r2", 1},  // carriage return is not skipped
        {".5", 0.5},
        {"5.", 5},
        {".", 0},
        {"-", 0},
        {"1.2.3", 1.2},
        {"1,5", 1},
        {"1e3", 1000},
        {"1E-2", 0.01},
        {"2D2", 200},
        {"1e", 1},
        {"1e+", 1},
        {"1ex", 1},
        {"&H1F", 31},
        {"&hff", 255},
        {"&HFFFF", -1},  // a 16-bit hex value is an Integer
        {"&H8000", -32768},
        {"&H10000", 65536},
        {"&HFFFFFFFF", -1},
        {"&H7FFFFFFF", 2147483647},
        {"&H 1 0", 16},
        {"&HG", 0},
        {"&O17", 15},
        {"&O177777", -1},
        {"&O8", 0},
        {"&X1", 0},
        {"1e-400", 0},
        {"0.000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
         "0000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
         "0000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
         "00000000000000000000000000000000000000000000000000000000000000000000000000000001",
         0},
        {"25°C", 25},
    };
    for (const Case& c : cases) EXPECT_EQ(Val(c.text), c.expected) << c.text;
}

TEST(VbNumberText, ValOverflowRaises6) {
    EXPECT_EQ(ErrorOf([] { Val("1e400"); }), 6);
    EXPECT_EQ(ErrorOf([] { Val("-1e400"); }), 6);
    EXPECT_EQ(ErrorOf([] { Val("&H100000000"); }), 6);
    EXPECT_EQ(ErrorOf([] { Val(std::string(400, '9')); }), 6);
    // Exponents beyond the range of a long must neither wrap nor lose their sign.
    EXPECT_EQ(ErrorOf([] { Val("1e99999999999999999999"); }), 6);
    EXPECT_EQ(ErrorOf([] { Val("10e9223372036854775807"); }), 6);
    EXPECT_EQ(Val("0.001e-99999999999999999999"), 0);
    EXPECT_EQ(Val("123e-9223372036854775808"), 0);
}

TEST(VbNumberText, HexAndOctShow32BitPatterns) {
    struct Case {
        int64_t value;
        const char* hex;
        const char* oct;
    };
    const Case cases[] = {
        {0, "0", "0"},
        {255, "FF", "377"},
        {0x4F0, "4F0", "2360"},
        {-1, "FFFFFFFF", "37777777777"},
        {-2147483648LL, "80000000", "20000000000"},
        {2147483647, "7FFFFFFF", "17777777777"},
        {4294967295LL, "FFFFFFFF", "37777777777"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Hex(c.value), c.hex) << c.value;
        EXPECT_EQ(Oct(c.value), c.oct) << c.value;
    }
    EXPECT_EQ(ErrorOf([] { Hex(4294967296LL); }), 6);
    EXPECT_EQ(ErrorOf([] { Hex(-2147483649LL); }), 6);
    EXPECT_EQ(ErrorOf([] { Oct(-2147483649LL); }), 6);
}

TEST(VbFormat, FormatsNumberPatterns) {
    struct Case {
        double value;
        const char* format;
        const char* expected;
    };
    const Case cases[] = {
        // Fixed decimals, rounding half away from zero on the 15-digit text.
        {2.5, "0", "3"},
        {-2.5, "0", "-3"},
        {3.5, "0", "4"},
        {0.4, "0", "0"},
        {0.125, "0.00", "0.13"},
        {1.005, "0.00", "1.01"},
        {2.675, "0.00", "2.68"},
        {-0.125, "0.00", "-0.13"},
        {1234.5678, "0.000", "1234.568"},
        {0.1 + 0.2, "0.000000", "0.300000"},
        {99.996, "0.00", "100.00"},
        {9.5, "0", "10"},
        {0.5, "0", "1"},
        {0.05, "0.0", "0.1"},
        {0.0049, "0.00", "0.00"},
        {1e20, "0", "100000000000000000000"},
        {123456789012345678.0, "0", "123456789012346000"},
        {5, "00", "05"},
        {5, "0.0000", "5.0000"},
        // Negative zero results carry no sign.
        {-0.001, "0.00", "0.00"},
        {-0.4, "0", "0"},
        {-0.0, "0.0", "0.0"},
        // Optional digits.
        {1.5, "0.0##", "1.5"},
        {1.25, "0.0##", "1.25"},
        {1.23456, "0.0##", "1.235"},
        {2, "0.0##", "2.0"},
        {1.9999, "0.0##", "2.0"},
        {-0.0004, "0.0##", "0.0"},
        {2, "0.##", "2."},  // the point stays, as in VB
        {3, "##", "3"},
        {12, "##", "12"},
        {0, "##", ""},
        {0.5, "#.00", ".50"},
        {1234.5, "#0.00", "1234.50"},
        {0, "#0.00", "0.00"},
        // Scientific.
        {1234567.5, "0.00E+00", "1.23E+06"},
        {1234567.5, "0.0000E+00", "1.2346E+06"},
        {-1234567.5, "0.0000E+00", "-1.2346E+06"},
        {0.00012345, "0.00E+00", "1.23E-04"},
        {0.00012345, "0.00E-00", "1.23E-04"},
        {12345, "0.00E-00", "1.23E04"},
        {12345, "0.00e+00", "1.23e+04"},
        {0, "0.0000E+00", "0.0000E+00"},
        {9.99995, "0.0000E+00", "1.0000E+01"},
        {1e100, "0.00E+00", "1.00E+100"},
        {1e-100, "0.00E+0", "1.00E-100"},
        {5, "0.00E+000", "5.00E+000"},
        {1000, "0.###E+00", "1.E+03"},
        {1234, "0.###E+00", "1.234E+03"},
        {1234, "00.0E+00", "12.3E+02"},
        {-0.0, "0.00E+00", "0.00E+00"},
        // Percent.
        {0.256, "0%", "26%"},
        {0.256, "0.0%", "25.6%"},
        // Empty format: the CStr text.
        {0.1, "", "0.1"},
        {1e20, "", "1E+20"},
        {std::numeric_limits<double>::quiet_NaN(), "0.00", "NaN"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Format(c.value, c.format), c.expected) << c.value << " with '" << c.format << "'";
    }
}

TEST(VbFormat, UnsupportedPatternRaises5) {
    for (const char* format : {"abc", "0.00 kg", "0;-0", "E+00", "0.0E", "0.0E+", "#,##0", "."}) {
        EXPECT_EQ(ErrorOf([format] { Format(1, format); }), 5) << format;
    }
}

class VbFormatSeparator : public ::testing::Test {
protected:
    void TearDown() override { SetDecimalSeparator('.'); }
};

TEST_F(VbFormatSeparator, FormatUsesTheProcessSeparatorButStrAndValDoNot) {
    SetDecimalSeparator(',');
    EXPECT_EQ(Format(1.25, "0.00"), "1,25");
    EXPECT_EQ(Format(1234567.5, "0.00E+00"), "1,23E+06");
    EXPECT_EQ(Format(0.5, ""), "0,5");
    EXPECT_EQ(Str(0.5), " 0.5");
    EXPECT_EQ(Val("1,5"), 1);
    EXPECT_EQ(Val("1.5"), 1.5);
}

}  // namespace

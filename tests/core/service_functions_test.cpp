#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "ErrorOf.h"
#include "core/services/ConvStr.h"
#include "core/services/LangSupp.h"
#include "core/services/ProjectHelpers.h"
#include "core/services/StrFkt.h"
#include "platform/ctl/ctlParameter.h"

using namespace dtm;
using namespace platform::com;

TEST(HexText, HexToBytesReadsPairsInEitherCase) {
    EXPECT_TRUE(HexToBytes("").IsEmpty());
    const Variant v = HexToBytes("00400000");
    ASSERT_TRUE(v.IsByteArray());
    EXPECT_EQ(v.LBound(), 0);
    EXPECT_EQ(v.ToBytes(), (std::vector<uint8_t>{0x00, 0x40, 0x00, 0x00}));
    EXPECT_EQ(HexToBytes("0a").ToBytes(), std::vector<uint8_t>{0x0A});
    EXPECT_EQ(HexToBytes("0A").ToBytes(), std::vector<uint8_t>{0x0A});
    EXPECT_EQ(HexToBytes("fF").ToBytes(), std::vector<uint8_t>{0xFF});
}

TEST(HexText, MalformedPairsRaiseTypeMismatch) {
    for (const char* bad : {"0g", "zz", "1 ", " 1", "0x12", "-1"}) {
        EXPECT_EQ(ErrorOf([&] { HexToBytes(bad); }), errTypeMismatch) << bad;
    }
}

TEST(HexText, OddLengthTakesLastDigitAsHighNibble) {
    EXPECT_EQ(HexToBytes("123").ToBytes(), (std::vector<uint8_t>{0x12, 0x30}));
}

TEST(HexText, BytesToHexOnlyForByteArrays) {
    EXPECT_EQ(BytesToHex(Variant::ByteArray({0x00, 0xFF, 0x0A})), "00FF0A");
    EXPECT_EQ(BytesToHex(Variant("00FF")), "");
    EXPECT_EQ(BytesToHex(Variant::Lng(5)), "");
    Variant longs = Variant::Array(VarType::Long, 0, 1);
    EXPECT_EQ(BytesToHex(longs), "");
    EXPECT_EQ(BytesToHex(HexToBytes("00ff7e")), "00FF7E");
}

TEST(LocaleIds, PrimaryLanguageAndComposition) {
    EXPECT_EQ(PrimaryLangId(1031), 7);
    EXPECT_EQ(PrimaryLangId(2055), 7);
    EXPECT_EQ(PrimaryLangId(1033), 9);
    EXPECT_EQ(PrimaryLangId(-1031), -7);
    EXPECT_EQ(MakeLcid(7, 1, 0), 1031);
    EXPECT_EQ(MakeLcid(9, 1, 0), 1033);
    EXPECT_EQ(MakeLcid(7, 2, 1), 7 + 2048 + 65536);
    EXPECT_EQ(ErrorOf([] { MakeLcid(32767, 32767, 32767); }), errOverflow);
}

TEST(InStrRevLike, FindsStartOfLastMatch) {
    struct Case {
        const char* text;
        const char* pattern;
        int mode;
        int expected;
    } cases[] = {
        {"a1b23", "#", 0, 5},
        {"a1b23", "", 0, 0},
        {"ABC", "b", 1, 2},
        {"ABC", "b", 0, 0},
        {"log 2020-01-02 and 2021-03-04 end", "####-##-##", 0, 20},
        {"no date here", "####-##-##", 0, 0},
        {"AI 12", "#", 0, 5},
        {"xaxa", "a", 0, 4},
        {"°C1", "#", 0, 3},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(InStrRevLike(c.text, c.pattern, c.mode), c.expected) << c.text << " / " << c.pattern;
    }
}

TEST(IsSameValue, OrderedRules) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        Variant a, b;
        bool same;
        const char* what;
    } cases[] = {
        {Variant(), Variant(), true, "Empty/Empty"},
        {Variant(), Variant::Int(0), false, "Empty/0"},
        {Variant::Null(), Variant(), false, "Null/Empty"},
        {Variant::Null(), Variant::Null(), true, "Null/Null"},
        {Variant::Int(1), Variant::Dbl(1.0), true, "Integer 1/Double 1"},
        {Variant("1"), Variant::Lng(1), true, "\"1\"/1"},
        {Variant("abc"), Variant("ABC"), false, "case"},
        {Variant("abc"), Variant("abc"), true, "equal strings"},
        {Variant::Sng(0.1f), Variant::Dbl(0.1), true, "Single 0.1/Double 0.1"},
        {Variant::Dbl(nan), Variant::Sng(std::numeric_limits<float>::quiet_NaN()), true, "NaN/NaN"},
        {Variant::Dbl(nan), Variant::Dbl(1), false, "NaN/1"},
        {Variant::Dbl(inf), Variant::Dbl(-inf), false, "+Inf/-Inf"},
        {Variant::Sng(std::numeric_limits<float>::infinity()), Variant::Dbl(-inf), false, "Single +Inf/-Inf"},
        {Variant::Dbl(inf), Variant::Dbl(nan), false, "+Inf/NaN"},
        {Variant::Dbl(-inf), Variant::Sng(std::numeric_limits<float>::quiet_NaN()), false, "-Inf/NaN"},
        {Variant::Sng(std::numeric_limits<float>::infinity()), Variant::Dbl(inf), true, "+Inf/+Inf"},
        {Variant::Dbl(inf), Variant::Dbl(1e308), false, "+Inf/largest"},
        {Variant("x"), Variant::Int(1), false, "text/number"},
        {Variant::Bool(true), Variant::Bool(true), true, "True/True"},
        {Variant::ByteArray({1, 2}), Variant::ByteArray({1, 2}), true, "equal arrays"},
        {Variant::ByteArray({1, 2}), Variant::ByteArray({1, 2}, 1), false, "bounds differ"},
        {Variant::ByteArray({1, 2}), Variant::ByteArray({1, 3}), false, "element differs"},
        {Variant::ByteArray({1}), Variant::Byte(1), false, "array/scalar"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsSameValue(c.a, c.b), c.same) << c.what;
        EXPECT_EQ(IsSameValue(c.b, c.a), c.same) << c.what << " (swapped)";
    }
}

TEST(IsSameValue, ArrayElementsCompareEmptyAsZero) {
    Variant a = Variant::Array(VarType::Variant, 0, 0);
    Variant b = Variant::Array(VarType::Variant, 0, 0);
    b.Set(0, Variant::Int(0));
    EXPECT_TRUE(IsSameValue(a, b));
}

TEST(IsNaN, OnlyFloatingNaN) {
    EXPECT_TRUE(IsNaN(Variant::Dbl(std::numeric_limits<double>::quiet_NaN())));
    EXPECT_TRUE(IsNaN(Variant::Sng(std::numeric_limits<float>::quiet_NaN())));
    EXPECT_FALSE(IsNaN(Variant::Dbl(1.5)));
    EXPECT_FALSE(IsNaN(Variant("abc")));
    EXPECT_FALSE(IsNaN(Variant::Int(3)));
    EXPECT_FALSE(IsNaN(Variant()));
    EXPECT_FALSE(IsNaN(Variant::Null()));
}

TEST(ValueToBitString, WidthFollowsType) {
    auto ones = [](int n) {
        std::string s;
        for (int i = 0; i < n; ++i) s += i ? "|1" : "1";
        return s;
    };
    EXPECT_EQ(ValueToBitString(Variant::Byte(5)), "1|0|1|0|0|0|0|0");
    EXPECT_EQ(ValueToBitString(Variant::Int(-1)), ones(16));
    EXPECT_EQ(ValueToBitString(Variant::Lng(-1)), ones(32));
    EXPECT_EQ(ValueToBitString(Variant::Dbl(4294967295.0)), ones(32));
    std::string highBit;
    for (int i = 0; i < 31; ++i) highBit += "0|";
    EXPECT_EQ(ValueToBitString(Variant::Dbl(2147483648.0)), highBit + "1");
    EXPECT_EQ(ValueToBitString(Variant::Sng(1)), "");
    EXPECT_EQ(ValueToBitString(Variant("5")), "");
    EXPECT_EQ(ValueToBitString(Variant::Bool(true)), "");
    const std::string two = ValueToBitString(Variant::ByteArray({0x01, 0x80}));
    EXPECT_EQ(two, "1|0|0|0|0|0|0|0|0|0|0|0|0|0|0|1");
    EXPECT_EQ(ValueToBitString(Variant::Array(VarType::Long, 0, 1)), "");
}

// Doubles beyond a Long show the low 32 bits of their rounded value.
TEST(ValueToBitString, DoubleShowsTheLow32BitsOfAnyValue) {
    auto bits = [](uint32_t pattern) {
        std::string s;
        for (int i = 0; i < 32; ++i) s += std::string(i ? "|" : "") + (((pattern >> i) & 1u) ? "1" : "0");
        return s;
    };
    const struct {
        double value;
        uint32_t pattern;
    } cases[] = {
        {2147483648.0, 0x80000000u}, {4294967295.0, 0xFFFFFFFFu}, {4294967296.0, 0},
        {1e10, 0x540BE400u},         {-1e10, 0xABF41C00u},        {-1.0, 0xFFFFFFFFu},
        {2.5, 2},                    {3.5, 4},                    {1e300, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ValueToBitString(Variant::Dbl(c.value)), bits(c.pattern)) << c.value;
        EXPECT_EQ(static_cast<uint32_t>(LowLong(Variant::Dbl(c.value))), c.pattern) << c.value;
    }
    EXPECT_EQ(ErrorOf([] { LowLong(Variant::Dbl(std::numeric_limits<double>::quiet_NaN())); }), errOverflow);
    EXPECT_EQ(ErrorOf([] { LowLong(Variant("x")); }), errTypeMismatch);
}

TEST(RemoveLabelUnits, CutsParameterLabelsAtFirstBracket) {
    auto withUnit = std::make_shared<platform::ctl::ctlParameter>();
    withUnit->LabelText("Flow (kg/s)");
    auto plain = std::make_shared<platform::ctl::ctlParameter>();
    plain->LabelText("Tag");
    auto other = std::make_shared<platform::ui::Control>();
    other->Name = "Label (x)";
    RemoveLabelUnits({withUnit, plain, other});
    EXPECT_EQ(withUnit->LabelText(), "Flow ");
    EXPECT_EQ(plain->LabelText(), "Tag");
    EXPECT_EQ(other->Name, "Label (x)");
}

TEST(SplitMilliseconds, TruncatesEachPart) {
    struct Case {
        int32_t ms;
        int16_t h, m, s;
    } cases[] = {{999, 0, 0, 0}, {3723999, 1, 2, 3}, {-3723999, -1, -2, -3}, {86400000, 24, 0, 0}};
    for (const auto& c : cases) {
        int16_t h = 9, m = 9, s = 9;
        SplitMilliseconds(c.ms, h, m, s);
        EXPECT_EQ(h, c.h) << c.ms;
        EXPECT_EQ(m, c.m) << c.ms;
        EXPECT_EQ(s, c.s) << c.ms;
    }
}

#include "platform/com/VbText.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ErrorOf.h"
#include "platform/com/Error.h"

namespace {

using namespace platform::com;
using namespace platform::com::vb;

TEST(VbText, LenCountsCharacters) {
    const std::pair<std::string, int32_t> cases[] = {
        {"", 0},          {"abc", 3},           {"°C", 2},       {"µs", 2},
        {"ä", 1},         {"€ 5", 3},           {"𝄞x", 2},        {"\xFF", 1},
        {"a\xC3", 2},     {"\xE2\x82", 2},      {"\xC0\xAF", 2}, {"\xED\xA0\x80", 3},
        {std::string("a\0b", 3), 3},
    };
    for (const auto& [text, length] : cases) EXPECT_EQ(Len(text), length) << text;
}

TEST(VbText, MidLeftRightCutCharactersAndClamp) {
    EXPECT_EQ(Mid("25.0°C", 4), "0°C");
    EXPECT_EQ(Mid("25.0°C", 5, 1), "°");
    EXPECT_EQ(Mid("25.0°C", 4, 2), "0°");
    EXPECT_EQ(Mid("äöü", 2, 1), "ö");
    EXPECT_EQ(Mid("äöü", 3, 100), "ü");
    EXPECT_EQ(Mid("äöü", 4), "");
    EXPECT_EQ(Mid("äöü", 100, 2), "");
    EXPECT_EQ(Mid("äöü", 1, 0), "");
    EXPECT_EQ(Left("µs/m", 2), "µs");
    EXPECT_EQ(Left("µs", 10), "µs");
    EXPECT_EQ(Left("µs", 0), "");
    EXPECT_EQ(Right("kg/m³", 2), "m³");
    EXPECT_EQ(Right("m³", 10), "m³");
    EXPECT_EQ(Right("m³", 0), "");
    // Invalid bytes are single characters and are copied unchanged.
    EXPECT_EQ(Mid("a\xFF\xE4z", 2, 2), "\xFF\xE4");
    EXPECT_EQ(Right("a\xE2\x82", 1), "\x82");
}

TEST(VbText, InvalidArgumentsRaiseTheirErrors) {
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"Mid start 0", [] { Mid("abc", 0); }},
        {"Mid start 0 with length", [] { Mid("abc", 0, 1); }},
        {"Mid negative length", [] { Mid("abc", 1, -1); }},
        {"Left negative", [] { Left("abc", -1); }},
        {"Right negative", [] { Right("abc", -1); }},
        {"InStr start 0", [] { InStr(0, "abc", "b"); }},
        {"InStr compare 2", [] { InStr(1, "abc", "b", 2); }},
        {"InStrRev start 0", [] { InStrRev("abc", "b", 0); }},
        {"InStrRev start -2", [] { InStrRev("abc", "b", -2); }},
        {"Replace start 0", [] { Replace("abc", "b", "x", 0); }},
        {"Replace count -2", [] { Replace("abc", "b", "x", 1, -2); }},
        {"Asc empty", [] { Asc(""); }},
        {"AscW empty", [] { AscW(""); }},
        {"Chr -1", [] { Chr(-1); }},
        {"Chr 256", [] { Chr(256); }},
        {"ChrW surrogate", [] { ChrW(0xD800); }},
        {"ChrW too large", [] { ChrW(0x110000); }},
        {"ChrW negative", [] { ChrW(-1); }},
        {"Space negative", [] { Space(-1); }},
        {"String negative", [] { String(-1, "a"); }},
        {"String empty character", [] { String(3, ""); }},
        {"Split limit -2", [] { Split("a b", " ", -2); }},
        {"StrComp compare -1", [] { StrComp("a", "b", -1); }},
    };
    for (const auto& [name, call] : cases) EXPECT_EQ(ErrorOf(call), 5) << name;
}

TEST(VbText, InStrFindsCharacterPositions) {
    struct Case {
        int32_t start;
        std::string s1, s2;
        int32_t compare;
        int32_t expected;
    };
    const Case cases[] = {
        {1, "25°C = 77°F", "°", 0, 3},
        {4, "25°C = 77°F", "°", 0, 10},
        {11, "25°C = 77°F", "°", 0, 0},
        {1, "abc", "", 0, 1},
        {3, "abc", "", 0, 3},
        {4, "abc", "", 0, 0},  // start beyond the text
        {4, "abc", "c", 0, 0},
        {1, "", "", 0, 0},
        {1, "", "a", 0, 0},
        {1, "abc", "abcd", 0, 0},
        {1, "ÄRGER", "ärg", 0, 0},
        {1, "xÄRGER", "ärg", 1, 2},
        {1, "ABC", "c", 1, 3},
        {1, "ÿ", "Ÿ", 1, 0},  // ÿ has no Latin-1 capital
        {1, "a\xE4", "ä", 0, 0},  // an invalid byte never equals a real character
        {1, "a\xE4\xE4", "\xE4", 0, 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(InStr(c.start, c.s1, c.s2, c.compare), c.expected)
            << c.start << " '" << c.s1 << "' '" << c.s2 << "' " << c.compare;
    }
    EXPECT_EQ(InStr("kg/h", "/"), 3);
}

TEST(VbText, InStrRevFindsTheLastMatchWithinStart) {
    struct Case {
        std::string s1, s2;
        int32_t start, compare, expected;
    };
    const Case cases[] = {
        {"a°b°c", "°", -1, 0, 4},
        {"a°b°c", "°", 3, 0, 2},
        {"abcabc", "abc", 5, 0, 1},  // the match at 4 would end beyond 5
        {"abcabc", "abc", 6, 0, 4},
        {"abcabc", "ABC", -1, 1, 4},
        {"abcabc", "x", -1, 0, 0},
        {"abc", "", -1, 0, 3},
        {"abc", "", 2, 0, 2},
        {"abc", "c", 4, 0, 0},
        {"", "a", -1, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(InStrRev(c.s1, c.s2, c.start, c.compare), c.expected)
            << "'" << c.s1 << "' '" << c.s2 << "' " << c.start;
    }
}

TEST(VbText, ReplaceReturnsTheTextFromStart) {
    struct Case {
        std::string s, find, with;
        int32_t start, count, compare;
        std::string expected;
    };
    const Case cases[] = {
        {"none|none", "none", "16", 1, -1, 0, "16|16"},
        {"a°b°c", "°", "deg", 1, -1, 0, "adegbdegc"},
        {"a°b°c", "°", "", 1, -1, 0, "abc"},
        {"a°b°c", "°", "-", 3, -1, 0, "b-c"},
        {"a°b°c", "°", "-", 1, 1, 0, "a-b°c"},
        {"a°b°c", "°", "-", 1, 0, 0, "a°b°c"},
        {"a°b°c", "°", "-", 6, -1, 0, ""},
        {"a°b°c", "", "-", 2, -1, 0, "°b°c"},
        {"aaa", "aa", "b", 1, -1, 0, "ba"},
        {"Äpfel und äpfel", "äpfel", "Birnen", 1, -1, 1, "Birnen und Birnen"},
        {"Äpfel und äpfel", "äpfel", "Birnen", 1, -1, 0, "Äpfel und Birnen"},
        {"x\xFFy", "\xFF", "ÿ", 1, -1, 0, "xÿy"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Replace(c.s, c.find, c.with, c.start, c.count, c.compare), c.expected)
            << "'" << c.s << "' '" << c.find << "' start " << c.start;
    }
}

TEST(VbText, TrimRemovesBlanksOnly) {
    EXPECT_EQ(Trim("  a b  "), "a b");
    EXPECT_EQ(LTrim("  a  "), "a  ");
    EXPECT_EQ(RTrim("  a  "), "  a");
    EXPECT_EQ(Trim("    "), "");
    EXPECT_EQ(Trim(""), "");
    EXPECT_EQ(Trim("\ta\t"), "\ta\t");
    EXPECT_EQ(Trim(std::string("a\0", 2)), std::string("a\0", 2));
    EXPECT_EQ(Trim("\xC2\xA0x\xC2\xA0"), "\xC2\xA0x\xC2\xA0");  // no-break space stays
}

TEST(VbText, CaseChangesAsciiAndLatin1Letters) {
    EXPECT_EQ(UCase("abc äöü àþ ÿ ß µ ÷ €"), "ABC ÄÖÜ ÀÞ ÿ ß µ ÷ €");
    EXPECT_EQ(LCase("ABC ÄÖÜ ÀÞ Ÿ × €"), "abc äöü àþ Ÿ × €");
    EXPECT_EQ(UCase("a\xE4z"), "A\xE4Z");  // an invalid byte is kept as it is
}

TEST(VbText, AscAndChrRoundTripWindows1252) {
    for (int32_t code = 0; code < 256; ++code) {
        const std::string c = Chr(code);
        EXPECT_EQ(Len(c), 1) << code;
        EXPECT_EQ(Asc(c), code) << code;
    }
    EXPECT_EQ(Chr(128), "€");
    EXPECT_EQ(Chr(0xB0), "°");
    EXPECT_EQ(Chr(0), std::string(1, '\0'));
    EXPECT_EQ(Asc("€uro"), 128);
    EXPECT_EQ(Asc("ā"), 63);
    EXPECT_EQ(Asc("𝄞"), 63);
    EXPECT_EQ(Asc("\xE4"), 0xE4);  // invalid byte: its own code
    EXPECT_EQ(AscW("€"), 0x20AC);
    EXPECT_EQ(AscW("𝄞"), 0x1D11E);
    EXPECT_EQ(AscW("\x80"), 0x20AC);
    EXPECT_EQ(ChrW(0x20AC), "€");
    EXPECT_EQ(ChrW(0x1D11E), "𝄞");
}

TEST(VbText, SpaceStringAndStrReverse) {
    EXPECT_EQ(Space(3), "   ");
    EXPECT_EQ(Space(0), "");
    EXPECT_EQ(String(3, "°C"), "°°°");
    EXPECT_EQ(String(0, "x"), "");
    EXPECT_EQ(StrReverse("a°bä𝄞"), "𝄞äb°a");
    EXPECT_EQ(StrReverse("a\xE2\x82"), "\x82\xE2" "a");
    EXPECT_EQ(StrReverse(""), "");
}

TEST(VbText, SplitEdgeCases) {
    using V = std::vector<std::string>;
    struct Case {
        std::string s, delimiter;
        int32_t limit, compare;
        V expected;
    };
    const Case cases[] = {
        {"a,b,c", ",", -1, 0, {"a", "b", "c"}},
        {"", ",", -1, 0, {}},
        {"abc", "", -1, 0, {"abc"}},
        {"a,,b,", ",", -1, 0, {"a", "", "b", ""}},
        {",", ",", -1, 0, {"", ""}},
        {"a,b,c", ",", 2, 0, {"a", "b,c"}},
        {"a,b,c", ",", 1, 0, {"a,b,c"}},
        {"a,b,c", ",", 0, 0, {}},
        {"a b  c", " ", -1, 0, {"a", "b", "", "c"}},
        {"1°2°°3", "°°", -1, 0, {"1°2", "3"}},
        {"aXbxc", "x", -1, 1, {"a", "b", "c"}},
        {"aXbxc", "x", -1, 0, {"aXb", "c"}},
        {"xml:{1}a}:{2}b}", ":{", -1, 0, {"xml", "1}a}", "2}b}"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Split(c.s, c.delimiter, c.limit, c.compare), c.expected)
            << "'" << c.s << "' '" << c.delimiter << "' " << c.limit;
    }
    EXPECT_EQ(Split("a b"), (V{"a", "b"}));
}

TEST(VbText, JoinIsTheInverseOfSplit) {
    EXPECT_EQ(Join({}, ","), "");
    EXPECT_EQ(Join({"a"}, ","), "a");
    EXPECT_EQ(Join({"a", "b"}), "a b");
    for (const std::string s : {"a,,b,", ",", "°,ä", "x"}) EXPECT_EQ(Join(Split(s, ","), ","), s);
}

TEST(VbText, StrCompOrdersByCharacter) {
    struct Case {
        std::string a, b;
        int32_t compare, expected;
    };
    const Case cases[] = {
        {"a", "a", 0, 0},   {"a", "b", 0, -1},   {"b", "a", 0, 1},      {"", "a", 0, -1},
        {"ab", "a", 0, 1},  {"A", "a", 0, -1},   {"A", "a", 1, 0},      {"Ä", "ä", 1, 0},
        {"Ä", "ä", 0, -1},  {"z", "ä", 0, -1},   {"\xE4", "ä", 0, 1},   {"ÿ", "€", 0, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StrComp(c.a, c.b, c.compare), c.expected) << c.a << " " << c.b << " " << c.compare;
    }
}

// TextEquals walks both texts without copying them; it must agree with the
// text compare and with UCase on every pair, odd bytes and lengths included.
TEST(VbText, TextEqualsAgreesWithTheTextCompare) {
    const std::string pieces[] = {"", "a", "A", "b", "ä", "Ä", "ÿ", "\xC3", "\xA4", "\xE4", "\xFF", "€"};
    std::vector<std::string> texts;
    for (const std::string& p : pieces)
        for (const std::string& q : pieces) texts.push_back(p + q);
    for (const std::string& a : texts)
        for (const std::string& b : texts) {
            const bool same = StrComp(a, b, vbTextCompare) == 0;
            EXPECT_EQ(TextEquals(a, b), same) << a << " / " << b;
            EXPECT_EQ(UCase(a) == UCase(b), same) << a << " / " << b;
        }
    EXPECT_TRUE(TextEquals("ctlParameter", "CTLPARAMETER"));
    EXPECT_FALSE(TextEquals("ctlParameter", "ctlParameters"));
}

// Every function must cope with arbitrary bytes: no crash, no read past the
// end, and the character counts stay consistent.
TEST(VbText, ArbitraryBytesAreHandledConsistently) {
    const std::string bytes[] = {"a", "\x80", "\xC3", "\xA4", "\xE2", "\x82", "\xAC", "\xF0", "\xFF", " "};
    std::vector<std::string> texts{""};
    for (int round = 0; round < 3; ++round) {
        const std::vector<std::string> shorter = texts;
        for (const std::string& t : shorter) {
            if (static_cast<int>(t.size()) != round) continue;
            for (const std::string& b : bytes) texts.push_back(t + b);
        }
    }
    for (const std::string& s : texts) {
        const int32_t n = Len(s);
        std::string joined;
        for (int32_t i = 1; i <= n; ++i) joined += Mid(s, i, 1);
        EXPECT_EQ(joined, s);
        for (int32_t k = 0; k <= n + 1; ++k) {
            EXPECT_EQ(Left(s, k) + Mid(s, k + 1), s);
            EXPECT_EQ(Len(Right(s, k)), std::min(k, n));
        }
        // Reversed invalid bytes may form a valid character, so only the bytes are kept.
        EXPECT_EQ(StrReverse(s).size(), s.size());
        EXPECT_EQ(Len(UCase(s)), n);
        EXPECT_EQ(Join(Split(s, "\xA4"), "\xA4"), s);
        EXPECT_EQ(Replace(s, "\xA4", "\xA4"), s);
        if (n > 0) {
            EXPECT_EQ(InStr(1, s, s), 1);
            EXPECT_EQ(InStrRev(s, Right(s, 1)), n);
            Asc(s);
        }
    }
}

}  // namespace

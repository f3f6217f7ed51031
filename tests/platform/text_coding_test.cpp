#include "platform/com/TextCoding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace platform::com;

TEST(TextCoding, DecodesEachFormOfUtf8AndEachInvalidByteAsOneCharacter) {
    struct Case {
        std::string text;
        std::vector<char32_t> codePoints;
        std::vector<bool> valid;
    };
    const Case cases[] = {
        {"A\xC2\xB0", {0x41, 0xB0}, {true, true}},
        {"\xE2\x82\xAC\xF0\x9D\x84\x9E", {0x20AC, 0x1D11E}, {true, true}},
        // Stray continuation byte and bytes that never occur in UTF-8.
        {"\x80\xFF\xC0", {0x20AC, 0xFF, 0xC0}, {false, false, false}},
        // Truncated sequence at the end: every byte on its own.
        {"a\xE2\x82", {0x61, 0xE2, 0x201A}, {true, false, false}},
        // Overlong "/", surrogate, above U+10FFFF, overlong 3-byte form.
        {"\xC1\xAF", {0xC1, 0xAF}, {false, false}},
        {"\xED\xA0\x80", {0xED, 0xA0, 0x20AC}, {false, false, false}},
        {"\xF4\x90\x80\x80", {0xF4, 0x90, 0x20AC, 0x20AC}, {false, false, false, false}},
        {"\xE0\x9F\xBF", {0xE0, 0x178, 0xBF}, {false, false, false}},
    };
    for (const Case& c : cases) {
        std::vector<char32_t> codePoints;
        std::vector<bool> valid;
        size_t bytes = 0;
        for (Utf8Cursor cursor(c.text); !cursor.AtEnd();) {
            const Utf8Char ch = cursor.Next();
            codePoints.push_back(ch.codePoint);
            valid.push_back(ch.valid);
            bytes += ch.size;
        }
        EXPECT_EQ(codePoints, c.codePoints) << c.text;
        EXPECT_EQ(valid, c.valid) << c.text;
        EXPECT_EQ(bytes, c.text.size()) << c.text;
        bool allValid = true;
        for (bool v : c.valid) allValid = allValid && v;
        EXPECT_EQ(IsValidUtf8(c.text), allValid) << c.text;
    }
}

TEST(TextCoding, Cp1252RoundTripsAllBytes) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const std::string utf8 = Utf8FromCp1252(all);
    EXPECT_TRUE(IsValidUtf8(utf8));
    EXPECT_EQ(Cp1252FromUtf8(utf8), all);
    EXPECT_EQ(Utf8FromCp1252("\x80\x9F\xE4"), "€Ÿä");
    // The bytes the code page leaves undefined stay themselves.
    EXPECT_EQ(Utf8FromCp1252("\x81\x8D"), "\xC2\x81\xC2\x8D");
}

TEST(TextCoding, Latin1RoundTripsAllBytes) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(Latin1FromUtf8(Utf8FromLatin1(all)), all);
    EXPECT_EQ(Utf8FromLatin1("\x80\xE4"), "\xC2\x80ä");
}

TEST(TextCoding, UnmappableCharactersBecomeQuestionMarks) {
    EXPECT_EQ(Cp1252FromUtf8("a€ā𝄞"), "a\x80??");
    EXPECT_EQ(Latin1FromUtf8("aä€ā"), "a\xE4??");
}

TEST(TextCoding, InvalidUtf8IsReadAsCp1252Bytes) {
    EXPECT_EQ(Cp1252FromUtf8("\xE4\x80x"), "\xE4\x80x");
    EXPECT_EQ(Latin1FromUtf8("\xE4\x80x"), "\xE4?x");
}

TEST(TextCoding, AppendUtf8WritesEveryLength) {
    std::string out;
    for (char32_t cp : {U'\x7F', U'\x80', U'\x7FF', U'\x800', U'\xFFFF', U'\U00010000', U'\U0010FFFF'}) {
        out.clear();
        AppendUtf8(out, cp);
        const Utf8Char back = DecodeUtf8At(out, 0);
        EXPECT_TRUE(back.valid);
        EXPECT_EQ(back.codePoint, cp);
        EXPECT_EQ(back.size, out.size());
    }
    out.clear();
    AppendUtf8(out, 0xD800);
    EXPECT_EQ(out, "\xEF\xBF\xBD");
}

}  // namespace

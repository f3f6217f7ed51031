#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "platform/com/Error.h"
#include "platform/com/VbText.h"

namespace {

using namespace platform::com;
using platform::com::vb::Like;

TEST(VbLike, MatchesPatterns) {
    struct Case {
        const char* text;
        const char* pattern;
        bool expected;
    };
    const Case cases[] = {
        {"", "", true},
        {"", "*", true},
        {"", "?", false},
        {"a", "", false},
        {"abc", "abc", true},
        {"abc", "ABC", false},  // binary compare
        {"abc", "a?c", true},
        {"ac", "a?c", false},
        {"°C", "?C", true},  // "?" is one character, not one byte
        {"äöü", "???", true},
        {"äöü", "??", false},
        {"abc", "*", true},
        {"abc", "a*", true},
        {"abc", "*c", true},
        {"abc", "*b*", true},
        {"abc", "**c", true},
        {"abc", "*d*", false},
        {"ctlAlarmAI1", "ctlAlarm*", true},
        {"ctlAlarmAI1", "ctlAlarmTOT*", false},
        {"a1", "a#", true},
        {"ab", "a#", false},
        {"a12", "a#", false},
        {"2003-01-21", "####-##-##", true},
        {"2003-1-21", "####-##-##", false},
        {"built 2003-01-21 ok", "*####-##-##*", true},
        {"b", "[abc]", true},
        {"d", "[abc]", false},
        {"m", "[a-z]", true},
        {"M", "[a-z]", false},
        {"M", "[!a-z]", true},
        {"m", "[!a-z]", false},
        {"7", "[0-9A-F]", true},
        {"E", "[0-9A-F]", true},
        {"G", "[0-9A-F]", false},
        {"-", "[-a]", true},
        {"-", "[a-]", true},
        {"b", "[a-]", false},
        {"ö", "[ä-ü]", true},
        {"[", "[[]", true},
        {"a[", "a[[]", true},
        {"*", "[*]", true},
        {"x", "[*]", false},
        {"?", "[?]", true},
        {"#", "[#]", true},
        {"]", "]", true},
        {"ab", "a[]b", true},  // an empty list matches no character
        {"x", "[!]", true},
        {"a*c", "a[*]c", true},
        {"abc", "a[*]c", false},
        {"aXbXc", "*X*X*", true},
        {"mississippi", "*sip*", true},
        {"mississippi", "m*iss*ppi", true},
        {"mississippi", "m*iss*ppx", false},
        {"\xE4", "?", true},  // an invalid byte is one character
        {"\xE4", "\xE4", true},
        {"\xE4", "ä", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Like(c.text, c.pattern), c.expected) << "'" << c.text << "' Like '" << c.pattern << "'";
    }
}

TEST(VbLike, MalformedPatternRaises93) {
    for (const char* pattern : {"[", "a[bc", "[a-z", "*[!", "[z-a]", "[9-0]"}) {
        try {
            Like("abc", pattern);
            ADD_FAILURE() << pattern << " did not raise";
        } catch (const ComError& e) {
            EXPECT_EQ(e.number, 93) << pattern;
            EXPECT_EQ(e.description, "Invalid pattern string");
        }
    }
}

TEST(VbLike, ManyStarsOnALongTextStayFast) {
    const std::string text(100000, 'a');
    const auto begin = std::chrono::steady_clock::now();
    EXPECT_FALSE(Like(text, "*a*a*a*a*a*a*a*a*b"));
    EXPECT_TRUE(Like(text + "b", "*a*a*a*a*a*a*a*a*b"));
    EXPECT_FALSE(Like(text, "*?*?*?*?*?*?#"));
    const auto elapsed = std::chrono::steady_clock::now() - begin;
    EXPECT_LT(elapsed, std::chrono::seconds(2));
}

}  // namespace

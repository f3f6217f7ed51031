// Bit-list texts of parameter rows and their values, as tables.
#include <gtest/gtest.h>

#include "pages/framework/clsParamLinkBits.h"
#include "platform/com/Variant.h"

namespace dtm {
namespace {

using platform::Variant;

std::string Repeat(const std::string& entry, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += (i ? "|" : "") + entry;
    return out;
}

TEST(BitListText, OfValues) {
    const struct {
        Variant value;
        std::string expected;
    } cases[] = {
        {Variant::Lng(-1), Repeat("1", 32)},
        {Variant::Dbl(4294967295.0), Repeat("1", 32)},
        {Variant::Int(5), "1|0|1|" + Repeat("0", 13)},
        {Variant::Byte(0x81), "1|0|0|0|0|0|0|1"},
        {Variant::ByteArray({1, 0x80}), "1|0|0|0|0|0|0|0|0|0|0|0|0|0|0|1"},
        // Beyond 32 bits only the low 32 bits are shown: 2^32 + 3.
        {Variant::Dbl(4294967299.0), "1|1|" + Repeat("0", 30)},
        {Variant::Dbl(-3e9), ValueToDisplayText(Variant::Lng(static_cast<int32_t>(-3000000000LL + 4294967296LL)))},
        {Variant::Str("5"), ""},
        {Variant::VariantArray({Variant::Int(1)}), ""},
    };
    for (const auto& c : cases) EXPECT_EQ(ValueToDisplayText(c.value), c.expected) << platform::com::CStr(c.expected);
}

TEST(BitListText, ParsedBackIntoValues) {
    const struct {
        std::string text;
        int32_t type, length;
        Variant expected;
    } cases[] = {
        {"1||1", 2, -1, Variant::Byte(5)},
        {"0|1", 1, 4, Variant::ByteArray({2, 0, 0, 0})},
        {"", 1, 4, Variant()},
        {Repeat("0", 9) + "|1", 1, 1, Variant::ByteArray({0, 2})},
        {"1|1|1|1|1|1|1|1|1", 2, -1, Variant::Null()},  // nine bits do not fit a Byte
        {Repeat("0", 15) + "|1", 5, -1, Variant::Int(-32768)},
        {Repeat("0", 16) + "|1", 5, -1, Variant::Null()},
        {Repeat("1", 32), 4, -1, Variant::Lng(-1)},
        {Repeat("1", 32), 16, -1, Variant::Dbl(4294967295.0)},
        {Repeat("0", 40) + "|1", 6, -1, Variant::Lng(static_cast<int32_t>(0x80000000u))},  // beyond 32: bit 31
        {"x|2|0", 3, -1, Variant::Lng(2)},
        {"1", 14, -1, Variant::Null()},
    };
    for (const auto& c : cases) {
        const Variant got = ParseNumberList(c.text, c.type, c.length);
        EXPECT_EQ(got.Type(), c.expected.Type()) << c.text << " type " << c.type;
        if (!c.expected.IsNull() && !c.expected.IsEmpty()) {
            EXPECT_EQ(ValueToDisplayText(got), ValueToDisplayText(c.expected)) << c.text << " type " << c.type;
        }
    }
}

TEST(BitListText, EntriesSetClearedAndDropped) {
    EXPECT_EQ(FormatListText("0|0", 4, true), "0|0|||1");
    EXPECT_EQ(FormatListText("1|1|1", 1, false), "1||1");
    EXPECT_EQ(JoinListText("1|0|1"), "1|0");
}

TEST(BitListText, BitCountsOfValueTypes) {
    const int32_t expected[][3] = {{1, 3, 24}, {2, -1, 8}, {3, -1, 16}, {5, -1, 16},
                                   {4, -1, 32}, {6, -1, 32}, {7, -1, 32}, {8, -1, 0}, {14, 32, 0}};
    for (const auto& e : expected) EXPECT_EQ(BitCountOf(e[0], e[1]), e[2]) << e[0];
}

}  // namespace
}  // namespace dtm

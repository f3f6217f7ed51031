#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/win/Guid.h"

using namespace platform::win;

namespace {

// Restores the system generator after each test.
class WinGuid : public ::testing::Test {
protected:
    void TearDown() override { SetGuidGenerator(nullptr); }
};

}  // namespace

TEST_F(WinGuid, NewGuidsAreDistinctVersion4AndRoundTripThroughText) {
    std::set<std::string> seen;
    for (int i = 0; i < 100; ++i) {
        Guid g;
        ASSERT_TRUE(NewGuid(g));
        const std::string text = GuidToString(g);
        ASSERT_EQ(text.size(), 38u);
        EXPECT_EQ(text.find_first_of("abcdef"), std::string::npos) << text;
        EXPECT_EQ(text[15], '4') << text;  // the random kind
        Guid back;
        ASSERT_TRUE(GuidFromString(text, back));
        EXPECT_EQ(back, g);
        seen.insert(text);
    }
    EXPECT_EQ(seen.size(), 100u);
    EXPECT_EQ(NewGuidString().size(), 38u);
}

TEST_F(WinGuid, TextFormPutsDataFieldsAsNumbers) {
    const Guid g{0x0123ABCD, 0x4567, 0x89EF, {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF}};
    EXPECT_EQ(GuidToString(g), "{0123ABCD-4567-89EF-0123-456789ABCDEF}");
    Guid back;
    ASSERT_TRUE(GuidFromString("{0123abcd-4567-89ef-0123-456789abcdef}", back));
    EXPECT_EQ(back, g);
    ASSERT_TRUE(GuidFromString("0123ABCD-4567-89EF-0123-456789ABCDEF", back));
    EXPECT_EQ(back, g);
}

TEST_F(WinGuid, MalformedTextIsRefusedAndLeavesTheTargetAlone) {
    const Guid keep{1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
    for (const std::string text : {"", "{}", "{0123ABCD-4567-89EF-0123-456789ABCDE}",
                                   "{0123ABCD-4567-89EF-0123-456789ABCDEF0}", "{0123ABCD-4567-89EF-0123-456789ABCDEG}",
                                   "{0123ABCD_4567-89EF-0123-456789ABCDEF}", "(0123ABCD-4567-89EF-0123-456789ABCDEF)",
                                   "{0123ABCD-4567-89EF-0123-456789ABCDEF", "{ 123ABCD-4567-89EF-0123-456789ABCDEF}",
                                   "{0123ABCD-4567-89EF-01234-56789ABCDEF}"}) {
        SCOPED_TRACE(text);
        Guid g = keep;
        EXPECT_FALSE(GuidFromString(text, g));
        EXPECT_EQ(g, keep);
    }
}

TEST_F(WinGuid, AnInstalledGeneratorCanFailOrBePredictable) {
    SetGuidGenerator([](Guid&) { return false; });
    Guid g{7, 7, 7, {}};
    EXPECT_FALSE(NewGuid(g));
    EXPECT_EQ(g.Data1, 7u);
    EXPECT_EQ(NewGuidString(), "");

    uint32_t counter = 0;
    const auto failing = SetGuidGenerator([&](Guid& out) {
        out = Guid{++counter, 0, 0, {}};
        return true;
    });
    EXPECT_TRUE(failing);
    EXPECT_EQ(NewGuidString(), "{00000001-0000-0000-0000-000000000000}");
    EXPECT_EQ(NewGuidString(), "{00000002-0000-0000-0000-000000000000}");

    SetGuidGenerator(nullptr);
    EXPECT_EQ(NewGuidString().size(), 38u);
    EXPECT_EQ(counter, 2u);
}

#include "platform/rt/UserInfo.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using platform::rt::UserInfo;

struct ConfigCase {
    const char* xml;
    bool ok;
    int32_t level;  // the level afterwards (unchanged = 9)
};

constexpr int32_t kBefore = 9;

const ConfigCase kCases[] = {
    {R"(<User userLevel="observer"/>)", true, 0},
    {R"(<User userLevel="operator"/>)", true, 1},
    {R"(<User userLevel="maintenance"/>)", true, 2},
    {R"(<User userLevel="planningEngineer"/>)", true, 3},
    {R"(<User userLevel="administrator"/>)", true, 4},
    {R"(<User userLevel="OEM"/>)", true, 5},
    {R"(<User level="3"/>)", true, 3},
    {R"(<User userLevel="255"/>)", true, 255},
    // The first such attribute in document order wins, at any depth.
    {R"(<FDT><Info name="x"><User userLevel="operator"/></Info><User level="OEM"/></FDT>)", true, 1},
    {R"(<fdt:UserInformation xmlns:fdt="urn:fdt"><fdt:User level="maintenance"/></fdt:UserInformation>)",
     true, 2},
    // Refusals leave the level as it was.
    {R"(<User userLevel="operator")", false, kBefore},
    {"", false, kBefore},
    {R"(<User name="Bob"/>)", false, kBefore},
    {R"(<User userLevel="guest"/>)", false, kBefore},
    {R"(<User userLevel=""/>)", false, kBefore},
    {R"(<User userLevel="2x"/>)", false, kBefore},
    {R"(<!DOCTYPE User [<!ENTITY r "OEM">]><User userLevel="&r;"/>)", false, kBefore},
};

TEST(UserInfoTest, ConfigTakesTheFirstLevelAttribute) {
    for (const auto& c : kCases) {
        UserInfo user;
        user.UserLevel(kBefore);
        EXPECT_EQ(user.Config(c.xml, nullptr), c.ok) << c.xml;
        EXPECT_EQ(user.UserLevel(), c.level) << c.xml;
    }
}

TEST(UserInfoTest, LevelIsZeroUntilConfigured) {
    UserInfo user;
    EXPECT_EQ(user.UserLevel(), 0);
    user.UserLevel(2);
    EXPECT_EQ(user.UserLevel(), 2);
}

}  // namespace

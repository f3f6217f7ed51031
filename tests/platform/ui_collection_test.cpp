#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ErrorOf.h"
#include "platform/com/Collection.h"

using namespace platform;

TEST(CollectionTest, KeysIndexesAndErrors) {
    com::Collection c;
    c.Add(Variant::Lng(1), "One");
    c.Add("two");
    c.Add(Variant::Lng(3), "three");
    EXPECT_EQ(c.Count(), 3);
    EXPECT_EQ(com::CLng(c.Item("ONE")), 1);
    EXPECT_EQ(com::CStr(c.Item(2)), "two");
    EXPECT_TRUE(c.Contains("Three"));
    EXPECT_FALSE(c.Contains(""));
    struct Case {
        const char* what;
        std::function<void()> call;
        int32_t error;
    } cases[] = {
        {"duplicate key", [&] { c.Add("x", "one"); }, 457},
        {"index 0", [&] { c.Item(0); }, 9},
        {"index past the end", [&] { c.Item(4); }, 9},
        {"missing key", [&] { c.Item("four"); }, 5},
        {"remove missing key", [&] { c.Remove("four"); }, 5},
        {"remove past the end", [&] { c.Remove(4); }, 9},
    };
    for (const auto& cs : cases) EXPECT_EQ(ErrorOf(cs.call), cs.error) << cs.what;
    EXPECT_EQ(c.Count(), 3);  // a failed Add adds nothing
    c.Remove("one");
    c.Remove(1);
    std::vector<std::string> left;
    for (const auto& v : c) left.push_back(com::CStr(v));
    EXPECT_EQ(left, (std::vector<std::string>{"3"}));
    c.Add("again", "ONE");  // a removed key is free again
    EXPECT_EQ(c.Count(), 2);
}

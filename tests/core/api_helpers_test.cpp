#include <gtest/gtest.h>

#include "core/services/APIHelpers.h"
#include "core/services/clsWindowsVersion.h"
#include "platform/com/ClassRegistry.h"

using namespace dtm;
using namespace platform;

namespace {

// Restores the system GUID generator when a test replaced it.
struct GuidGeneratorScope {
    explicit GuidGeneratorScope(std::function<bool(win::Guid&)> f) : previous(win::SetGuidGenerator(std::move(f))) {}
    ~GuidGeneratorScope() { win::SetGuidGenerator(previous); }
    win::GuidGenerator previous;
};

struct OSVersionScope {
    explicit OSVersionScope(win::OSVersionProvider f) : previous(win::SetOSVersionProvider(std::move(f))) {}
    ~OSVersionScope() { win::SetOSVersionProvider(previous); }
    win::OSVersionProvider previous;
};

bool IsUpperHexGuidText(const std::string& s) {
    if (s.size() != 36) return false;
    for (size_t i = 0; i < s.size(); ++i) {
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        if (dash != (s[i] == '-')) return false;
        if (!dash && !((s[i] >= '0' && s[i] <= '9') || (s[i] >= 'A' && s[i] <= 'F'))) return false;
    }
    return true;
}

}  // namespace

TEST(InvokeIds, NewGuidTextWithAndWithoutBraces) {
    const std::string bare = GetNewGuidString(Variant::Bool(false));
    EXPECT_TRUE(IsUpperHexGuidText(bare)) << bare;
    const std::string braced = GetNewGuidString(Variant::Bool(true));
    ASSERT_EQ(braced.size(), 38u);
    EXPECT_EQ(braced.front(), '{');
    EXPECT_EQ(braced.back(), '}');
    EXPECT_TRUE(IsUpperHexGuidText(braced.substr(1, 36)));
    EXPECT_EQ(GetNewGuidString().size(), 38u);
    EXPECT_NE(GetNewGuidString(Variant::Bool(false)), bare);
}

TEST(InvokeIds, NoGuidGivesEmptyText) {
    GuidGeneratorScope failing([](win::Guid&) { return false; });
    EXPECT_EQ(GetNewGuidString(Variant::Bool(false)), "");
    win::Guid g{};
    EXPECT_FALSE(CreateGuid(g));
}

TEST(InvokeIds, SameInvokeIdIgnoresCaseButNeverMatchesEmpty) {
    struct Case {
        const char* a;
        const char* b;
        bool same;
    } cases[] = {
        {"", "", false},
        {"", "abc", false},
        {"abc-1", "", false},
        {"AbC-1", "aBc-1", true},
        {"abc-1", "abc-2", false},
        {"abc", "abcd", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsSameInvokeId(c.a, c.b), c.same) << c.a << " / " << c.b;
}

TEST(ClassIds, ProgIdLookupThroughTheRegistry) {
    com::ClassRegistry::Global().Register("RG38N226_4_07.ApiHelpersProbe", [] { return std::make_shared<com::Object>(); });
    win::Guid id{}, again{};
    ASSERT_TRUE(ProgIdToClsid("RG38N226_4_07.ApiHelpersProbe", id));
    ASSERT_TRUE(ProgIdToClsid("RG38N226_4_07.ApiHelpersProbe", again));
    EXPECT_EQ(id, again);
    const std::string text = ClsidToString(id);
    ASSERT_EQ(text.size(), 38u);
    EXPECT_TRUE(IsUpperHexGuidText(text.substr(1, 36)));
    EXPECT_FALSE(ProgIdToClsid("RG38N226_4_07.NoSuchClass", id));
}

TEST(WindowsVersion, OperatingSystemTextByPlatformAndVersion) {
    struct Case {
        int32_t platform, major, minor;
        const char* text;
    } cases[] = {
        {0, 3, 1, "Microsoft Win32s "},       {1, 4, 0, "Microsoft Windows 95"},
        {1, 4, 10, "Microsoft Windows 98"},   {1, 4, 90, "Microsoft Windows Me"},
        {1, 5, 0, ""},                        {2, 4, 0, "Microsoft Windows NT"},
        {2, 5, 0, "Microsoft Windows 2000"},  {2, 5, 1, "Microsoft Windows XP"},
        {2, 6, 1, "Unknown Operating System"}, {3, 5, 1, "Unknown Operating System"},
    };
    for (const auto& c : cases) {
        OSVersionScope scope([&](win::OSVersionInfo& info) {
            info.platformId = c.platform;
            info.major = c.major;
            info.minor = c.minor;
            info.build = 1234;
            info.csdVersion = "SP2";
            return true;
        });
        clsWindowsVersion version;
        EXPECT_EQ(version.GetOperatingSystemString(), c.text) << c.platform << " " << c.major << "." << c.minor;
        EXPECT_EQ(version.Is_95_98_Or_Me(), c.platform == 1);
        EXPECT_EQ(version.Is_NT_2000_Or_XP(), c.platform == 2);
        EXPECT_EQ(version.GetBuildNumber(), 1234);
    }
}

TEST(WindowsVersion, SummaryListsTheRecord) {
    OSVersionScope scope([](win::OSVersionInfo& info) {
        info.platformId = 2;
        info.major = 5;
        info.minor = 1;
        info.build = 2600;
        info.csdVersion = "Service Pack 2";
        return true;
    });
    clsWindowsVersion version;
    const std::string csd = std::string("Service Pack 2") + std::string(128 - 14, '\0');
    EXPECT_EQ(version.GetCSDVersion(), csd);
    EXPECT_EQ(version.GetVersionInfoExStr(),
              "Version Info Size = 148\r\nMajor Version = 5\r\nMinor Version = 1\r\n"
              "Build Number = 2600\r\nPlatform Id = 2\r\nCSD Version = " + csd);
}

TEST(WindowsVersion, FailedQueryLeavesZeros) {
    OSVersionScope scope([](win::OSVersionInfo&) { return false; });
    clsWindowsVersion version;
    EXPECT_EQ(version.GetPlatformId(), 0);
    EXPECT_EQ(version.GetMajorVersion(), 0);
    EXPECT_EQ(version.GetVersionInfoExStr(), "");
    EXPECT_EQ(version.GetOperatingSystemString(), "Microsoft Win32s ");
}

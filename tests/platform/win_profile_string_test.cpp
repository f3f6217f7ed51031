#include <gtest/gtest.h>

#include <string>

#include "platform/TempFolder.h"
#include "platform/win/ProfileString.h"

using namespace std::string_literals;
using platform::win::ReadProfileString;

namespace {

class ProfileString : public ::testing::Test {
protected:
    std::string Read(const std::string& content, const std::string& section, const std::string& key,
                     const std::string& deflt = "DEFAULT") {
        return ReadProfileString(folder_.Write("DTM.ini", content), section, key, deflt);
    }
    TempFolder folder_;
};

}  // namespace

TEST_F(ProfileString, LookupRules) {
    const std::string ini =
        "; configuration\r\n"
        "[TimeCritical]\r\n"
        "Trace = ExternalFile \r\n"
        "TraceFileSizeInMB=5\r\n"
        "Quoted=\"  spaced  \"\r\n"
        "Single='x'\r\n"
        "Inner=a \"b\" c\r\n"
        "Unbalanced=\"abc\r\n"
        "Twice=\"\"x\"\"\r\n"
        "Empty=\r\n"
        ";Hidden=1\r\n"
        "  Indented  =  yes\r\n"
        "NoEquals\r\n"
        "Eq=a=b\r\n"
        "Trace=second\r\n"
        "[ advanced ]\n"
        "DTMFeatures=1\n"
        "[TimeCritical]\n"
        "Later=from the repeated section\n"
        "Trace=third\n";
    struct Case {
        std::string section, key, expected;
    } const cases[] = {
        {"TimeCritical", "Trace", "ExternalFile"},
        {"TIMECRITICAL", "trace", "ExternalFile"},
        {"TimeCritical", "TraceFileSizeInMB", "5"},
        {"TimeCritical", "Quoted", "  spaced  "},
        {"TimeCritical", "Single", "x"},
        {"TimeCritical", "Inner", "a \"b\" c"},
        {"TimeCritical", "Unbalanced", "\"abc"},
        {"TimeCritical", "Twice", "\"x\""},
        {"TimeCritical", "Empty", ""},
        {"TimeCritical", "Hidden", "DEFAULT"},
        {"TimeCritical", ";Hidden", "DEFAULT"},
        {"TimeCritical", "Indented", "yes"},
        {"TimeCritical", "NoEquals", "DEFAULT"},
        {"TimeCritical", "Eq", "a=b"},
        {"TimeCritical", "Later", "from the repeated section"},
        {"Advanced", "DTMFeatures", "1"},
        {"Advanced", "Trace", "DEFAULT"},
        {"ChannelAssignment", "Trace", "DEFAULT"},
        {"TimeCritical", "Missing", "DEFAULT"},
        {"TimeCritical", "", "DEFAULT"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.section + "/" + c.key);
        EXPECT_EQ(Read(ini, c.section, c.key), c.expected);
    }
}

TEST_F(ProfileString, DefaultLosesTrailingBlanksOnly) {
    EXPECT_EQ(ReadProfileString(folder_.Path("missing.ini"), "A", "B", "  x  "), "  x");
    EXPECT_EQ(ReadProfileString(folder_.Dir().string(), "A", "B", "d"), "d");
    EXPECT_EQ(Read("", "A", "B", ""), "");
}

TEST_F(ProfileString, ValuesHaveNoLengthLimit) {
    const std::string big(100000, 'v');
    EXPECT_EQ(Read("[A]\nB=" + big + "\n", "A", "B"), big);
}

TEST_F(ProfileString, TextIsUtf8WhenValidElseWindows1252) {
    EXPECT_EQ(Read("[A]\nB=Gr\xC3\xBC\xC3\x9F" "e\n", "A", "B"), "Gr\xC3\xBC\xC3\x9F" "e");
    EXPECT_EQ(Read("[A]\nB=Gr\xFC\xDF" "e \x80\n", "A", "B"), "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC");
    EXPECT_EQ(Read("\xEF\xBB\xBF[A]\nB=1\n", "A", "B"), "1");
    EXPECT_EQ(Read("[\xC3\x84]\n\xC3\x96=1\n", "\xC3\x84", "\xC3\x96"), "1");
}

TEST_F(ProfileString, OddFilesNeverBreakTheReader) {
    const std::string odd[] = {
        "[A",
        "[A]",
        "[]\n=\n",
        "]\n[\n=x\n",
        "[A]\0\nB=\0x\n"s,
        "[A]\rB=cr only\r",
        "\xFF\xFE[\0A\0]\0",
        std::string(5000, '['),
        std::string(5000, '='),
    };
    for (const auto& content : odd) {
        SCOPED_TRACE(content.substr(0, 20));
        (void)Read(content, "A", "B");
    }
    EXPECT_EQ(Read("[A]\rB=cr only\r", "A", "B"), "cr only");
    EXPECT_EQ(Read("[]\n=x\nB=y\n", "", "B"), "y");
}

#include <gtest/gtest.h>

#include <string>

#include "core/services/HelpFile.h"
#include "core/services/ReadWriteIniFiles.h"
#include "core/ComponentFolder.h"
#include "platform/win/Shell.h"

using dtm::testing::ComponentFolder;
using platform::Variant;

TEST(ReadIniString, ValuesOfAnyLengthAndMissingFiles) {
    ComponentFolder folder;
    std::string ini = "[Advanced]\nDTMFeatures=DTMDeveloper\n";
    for (size_t length : {254u, 255u, 256u, 5000u})
        ini += "Long" + std::to_string(length) + "=" + std::string(length, 'x') + "\n";
    folder.WriteIni(ini);
    const Variant file = Variant::Str(dtm::DtmIniFile());

    EXPECT_EQ(dtm::ReadIniString(file, "Advanced", "DTMFeatures"), "DTMDeveloper");
    for (size_t length : {254u, 255u, 256u, 5000u})
        EXPECT_EQ(dtm::ReadIniString(file, "Advanced", "Long" + std::to_string(length)), std::string(length, 'x'));
    EXPECT_EQ(dtm::ReadIniString(file, "Advanced", "ViewCtrlsOffline"), "");
    EXPECT_EQ(dtm::ReadIniString(file, "TimeCritical", "Trace"), "");
    EXPECT_EQ(dtm::ReadIniString(Variant::Str(folder.Dir().string() + "/missing.ini"), "Advanced", "DTMFeatures"), "");
    EXPECT_EQ(dtm::ReadIniString(Variant::Null(), "Advanced", "DTMFeatures"), "");
}

namespace {

class HelpFile : public ::testing::Test {
protected:
    void SetUp() override { platform::win::ClearShellRecords(); }
    void TearDown() override { platform::win::ClearShellRecords(); }

    // The files the shell was asked to open, in order, with whether each opened.
    std::vector<std::pair<std::string, bool>> Opened() const {
        std::vector<std::pair<std::string, bool>> files;
        for (const auto& call : platform::win::ShellExecuteCalls()) {
            EXPECT_EQ(call.operation, "");
            EXPECT_EQ(call.parameters, "");
            EXPECT_EQ(call.directory, folder_.Dir().string());
            EXPECT_EQ(call.showCmd, 1);
            files.emplace_back(call.file, call.result > 32);
        }
        return files;
    }
    std::string InFolder(const std::string& name) const { return (folder_.Dir() / name).string(); }

    ComponentFolder folder_;
};

}  // namespace

TEST_F(HelpFile, LanguageFileFirstThenEnglishFallback) {
    folder_.Write("DTMHelp1031.chm", "help");
    folder_.Write("DTMHelp1033.chm", "help");
    EXPECT_TRUE(dtm::OpenHelpFile(1031));
    EXPECT_EQ(Opened(), (std::vector<std::pair<std::string, bool>>{{InFolder("DTMHelp1031.chm"), true}}));

    platform::win::ClearShellRecords();
    EXPECT_TRUE(dtm::OpenHelpFile(1036));
    EXPECT_EQ(Opened(), (std::vector<std::pair<std::string, bool>>{{InFolder("DTMHelp1036.chm"), false},
                                                                   {InFolder("DTMHelp1033.chm"), true}}));
}

TEST_F(HelpFile, NoHelpFileAtAll) {
    EXPECT_FALSE(dtm::OpenHelpFile(1031));
    EXPECT_EQ(Opened(), (std::vector<std::pair<std::string, bool>>{{InFolder("DTMHelp1031.chm"), false},
                                                                   {InFolder("DTMHelp1033.chm"), false}}));
}

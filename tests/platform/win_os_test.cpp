#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/TempFolder.h"
#include "platform/win/Files.h"
#include "platform/win/OSVersion.h"
#include "platform/win/Shell.h"

using namespace std::string_literals;
using namespace platform::win;

namespace {

class WinVersion : public ::testing::Test {
protected:
    void TearDown() override { SetOSVersionProvider(nullptr); }
};

class WinShell : public ::testing::Test {
protected:
    void SetUp() override { ClearShellRecords(); }
    void TearDown() override {
        SetShellOpener(nullptr);
        ClearShellRecords();
    }
    TempFolder folder_;
};

class WinFiles : public ::testing::Test {
protected:
    TempFolder folder_;
};

}  // namespace

TEST_F(WinVersion, DefaultIsAnNTSystem) {
    OSVersionInfo info;
    info.csdVersion = "stale";
    ASSERT_TRUE(GetVersionEx(info));
    EXPECT_EQ(info.size, 148);
    EXPECT_EQ(info.platformId, kPlatformWin32NT);
    EXPECT_EQ(info.major, 5);
    EXPECT_EQ(info.minor, 1);
    EXPECT_EQ(info.build, 2600);
    EXPECT_EQ(info.csdVersion, "");
}

TEST_F(WinVersion, ProviderCanDescribeAnotherSystemOrFail) {
    SetOSVersionProvider([](OSVersionInfo& info) {
        info.platformId = kPlatformWin32Windows;
        info.major = 4;
        info.minor = 90;
        info.size = 0;  // the caller's size wins
        return true;
    });
    OSVersionInfo info;
    ASSERT_TRUE(GetVersionEx(info));
    EXPECT_EQ(info.platformId, 1);
    EXPECT_EQ(info.minor, 90);
    EXPECT_EQ(info.size, 148);

    SetOSVersionProvider([](OSVersionInfo& info) {
        info.major = 99;
        return false;
    });
    OSVersionInfo untouched;
    EXPECT_FALSE(GetVersionEx(untouched));
    EXPECT_EQ(untouched.major, 0);
}

TEST_F(WinVersion, WrongRecordSizeFails) {
    for (int size : {0, 147, 149, 155}) {
        OSVersionInfo info;
        info.size = size;
        EXPECT_FALSE(GetVersionEx(info)) << size;
        EXPECT_EQ(info.platformId, 0);
    }
    OSVersionInfo extended;
    extended.size = kOSVersionInfoExSize;
    EXPECT_TRUE(GetVersionEx(extended));
    EXPECT_EQ(extended.size, kOSVersionInfoExSize);
}

TEST_F(WinShell, OpensOnlyExistingFilesAndRecordsEveryCall) {
    const std::string help = folder_.Write("DTMHelp1033.chm", "x");
    EXPECT_GT(ShellExecute("open", help, "", "", 1), 32);
    EXPECT_GT(ShellExecute("open", "DTMHelp1033.chm", "", folder_.Dir().string(), 1), 32);
    EXPECT_LE(ShellExecute("open", folder_.Path("DTMHelp1031.chm"), "", "", 1), 32);
    EXPECT_LE(ShellExecute("open", "", "", "", 1), 32);

    ASSERT_EQ(ShellExecuteCalls().size(), 4u);
    const auto& first = ShellExecuteCalls()[0];
    EXPECT_EQ(first.operation, "open");
    EXPECT_EQ(first.file, help);
    EXPECT_EQ(first.showCmd, 1);
    EXPECT_EQ(first.result, kShellExecuteOk);
    EXPECT_EQ(ShellExecuteCalls()[2].result, kShellErrorFileNotFound);

    EXPECT_EQ(ShowWindow(1234, 5), 0);
    ASSERT_EQ(ShowWindowCalls().size(), 1u);
    EXPECT_EQ(ShowWindowCalls()[0].handle, 1234);
    EXPECT_EQ(ShowWindowCalls()[0].cmd, 5);

    ClearShellRecords();
    EXPECT_TRUE(ShellExecuteCalls().empty());
    EXPECT_TRUE(ShowWindowCalls().empty());
}

TEST_F(WinShell, AnInstalledOpenerDecidesAndIsRecorded) {
    std::vector<ShellExecuteCall> seen;
    SetShellOpener([&](const ShellExecuteCall& call) {
        seen.push_back(call);
        return call.file == "refused.chm" ? 5 : 33;
    });
    EXPECT_EQ(ShellExecute("open", "missing.chm", "-x", "dir", 3), 33);
    EXPECT_EQ(ShellExecute("open", "refused.chm", "", "", 1), 5);
    EXPECT_FALSE(SetShellOpener(nullptr) == nullptr);

    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].parameters, "-x");
    EXPECT_EQ(seen[0].directory, "dir");
    EXPECT_EQ(seen[0].showCmd, 3);
    ASSERT_EQ(ShellExecuteCalls().size(), 2u);
    EXPECT_EQ(ShellExecuteCalls()[0].result, 33);
    EXPECT_EQ(ShellExecuteCalls()[1].result, 5);

    // The default is back: a missing file is not found.
    EXPECT_EQ(ShellExecute("open", folder_.Path("missing.chm"), "", "", 1), kShellErrorFileNotFound);
}

TEST_F(WinFiles, AppendLineWritesWindows1252) {
    const std::string path = folder_.Path("Analysis.txt");
    ASSERT_TRUE(AppendLine(path, "kg/m³ 25°C € Ω ÿ"));
    EXPECT_EQ(folder_.Read("Analysis.txt"), "kg/m\xB3 25\xB0" "C \x80 ? \xFF\r\n");
}

TEST_F(WinFiles, AppendLineCreatesAndAppendsWithCrLf) {
    const std::string path = folder_.Path("TraceInfoFile.txt");
    EXPECT_FALSE(FileExists(path));
    EXPECT_EQ(FileLength(path), -1);
    ASSERT_TRUE(AppendLine(path, "first"));
    ASSERT_TRUE(AppendLine(path, "se\xE4\0nd"s));
    ASSERT_TRUE(AppendLine(path, ""));
    EXPECT_EQ(folder_.Read("TraceInfoFile.txt"), "first\r\nse\xE4\0nd\r\n\r\n"s);
    EXPECT_TRUE(FileExists(path));
    EXPECT_EQ(FileLength(path), 17);

    EXPECT_TRUE(DeleteFile(path));
    EXPECT_FALSE(FileExists(path));
    EXPECT_FALSE(DeleteFile(path));
    EXPECT_EQ(FileLength(path), -1);
}

TEST_F(WinFiles, FoldersAndUnreachablePathsAreNoFiles) {
    const std::string dir = folder_.Dir().string();
    const std::string inMissingFolder = folder_.Path("missing/file.txt");
    EXPECT_FALSE(AppendLine(dir, "x"));
    EXPECT_FALSE(AppendLine(inMissingFolder, "x"));
    EXPECT_FALSE(AppendLine("", "x"));
    EXPECT_FALSE(FileExists(dir));
    EXPECT_EQ(FileLength(dir), -1);
    EXPECT_FALSE(DeleteFile(dir));
    EXPECT_TRUE(std::filesystem::exists(dir));
    std::string bytes = "stale";
    EXPECT_FALSE(ReadFileBytes(dir, bytes));
    EXPECT_EQ(bytes, "");
    EXPECT_FALSE(ReadFileBytes(inMissingFolder, bytes));

    EXPECT_TRUE(ReadFileBytes(folder_.Write("e.bin", ""), bytes));
    EXPECT_EQ(bytes, "");
    EXPECT_TRUE(ReadFileBytes(folder_.Write("b.bin", "a\0b"s), bytes));
    EXPECT_EQ(bytes, "a\0b"s);
}

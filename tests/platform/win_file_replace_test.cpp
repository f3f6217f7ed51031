// Replacing a file's content through a new file renamed over it: the new file
// takes the old one's owner, group and mode. Only a privileged caller can give
// a file to another user, so the owner's case runs as root only.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/TempFolder.h"
#include "platform/win/FileReplace.h"

namespace {

TEST(FileReplace, AnotherUsersFileKeepsItsOwnerGroupAndMode) {
    if (::geteuid() != 0) GTEST_SKIP() << "giving a file to another user needs root";
    TempFolder folder;
    constexpr uid_t kOwner = 12345;
    constexpr gid_t kGroup = 12346;
    const std::string file = folder.Write("theirs.dtm", "old\n");
    ASSERT_EQ(::chown(file.c_str(), kOwner, kGroup), 0);
    // Group-executable with the set-group-id bit: a change of owner would clear it.
    ASSERT_EQ(::chmod(file.c_str(), 02750), 0);
    std::string why;
    ASSERT_TRUE(platform::win::ReplaceFileContent(file, "new\n", &why)) << why;
    EXPECT_EQ(folder.Read("theirs.dtm"), "new\n");
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, kOwner);
    EXPECT_EQ(st.st_gid, kGroup);
    EXPECT_EQ(st.st_mode & 07777, 02750u);
}

}  // namespace

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/fbdriver/fblockfolder.h"

// Who may share the embedded engine's lock folder: its owner, and the members of the group it is
// shared with (group-writable and setgid); never anyone when every user may write to it.

namespace contado {
namespace {

namespace fs = std::filesystem;

constexpr uid_t kOtherUser = 65534;
constexpr gid_t kOtherGroup = 65534;

class LockFolderTest : public testing::Test {
  protected:
    LockFolderTest() {
        std::string pattern = (fs::temp_directory_path() / "contado-lockfolder-XXXXXX").string();
        root_ = mkdtemp(pattern.data());
        folder_ = (root_ / "lock").string();
    }
    ~LockFolderTest() override {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }

    void MakeFolder(mode_t mode, uid_t owner, gid_t group) {
        ASSERT_EQ(mkdir(folder_.c_str(), 0700), 0);
        ASSERT_EQ(chown(folder_.c_str(), owner, group), 0);
        ASSERT_EQ(chmod(folder_.c_str(), mode), 0);
    }
    static bool Root() { return geteuid() == 0; }

    fs::path root_;
    std::string folder_;
};

TEST_F(LockFolderTest, AFolderOfOneselfIsUsableOneEveryUserMayWriteIsNot) {
    MakeFolder(0700, geteuid(), getegid());
    EXPECT_EQ(TFbLockFolder::Check(folder_), "");
    ASSERT_EQ(chmod(folder_.c_str(), 02770), 0);
    EXPECT_EQ(TFbLockFolder::Check(folder_), "");
    ASSERT_EQ(chmod(folder_.c_str(), 01777), 0);
    EXPECT_NE(TFbLockFolder::Check(folder_).find("is writable by every user"), std::string::npos);
}

TEST_F(LockFolderTest, MissingFilesAndLinksAreRefusedWithTheWayToMakeIt) {
    const std::string missing = TFbLockFolder::Check(folder_);
    EXPECT_EQ(missing, "Lock folder " + folder_ +
                           " is missing; scripts/setup.sh (as root) makes it, shared by the group of the "
                           "program's users");
    std::ofstream(folder_) << "x";
    EXPECT_NE(TFbLockFolder::Check(folder_).find("is not a directory"), std::string::npos);
    fs::remove(folder_);
    fs::create_directory(root_ / "real");
    fs::create_directory_symlink(root_ / "real", folder_);
    EXPECT_NE(TFbLockFolder::Check(folder_).find("is not a directory"), std::string::npos);
}

TEST_F(LockFolderTest, AnotherUsersFolderIsUsableOnlyWhenSharedWithOurGroup) {
    if (!Root()) {
        GTEST_SKIP() << "giving a folder to another user needs root";
    }
    MakeFolder(0700, kOtherUser, kOtherGroup);
    EXPECT_NE(TFbLockFolder::Check(folder_).find("belongs to another user"), std::string::npos);
    // Shared with a group that is not ours.
    ASSERT_EQ(chmod(folder_.c_str(), 02770), 0);
    EXPECT_NE(TFbLockFolder::Check(folder_).find("belongs to another user"), std::string::npos);
    // Our group, but not setgid: lock files would take their makers' groups.
    ASSERT_EQ(chown(folder_.c_str(), kOtherUser, getegid()), 0);
    ASSERT_EQ(chmod(folder_.c_str(), 0770), 0);
    EXPECT_NE(TFbLockFolder::Check(folder_).find("belongs to another user"), std::string::npos);
    // Our group without write.
    ASSERT_EQ(chmod(folder_.c_str(), 02750), 0);
    EXPECT_NE(TFbLockFolder::Check(folder_).find("belongs to another user"), std::string::npos);
    ASSERT_EQ(chmod(folder_.c_str(), 02770), 0);
    EXPECT_EQ(TFbLockFolder::Check(folder_), "");
}

}  // namespace
}  // namespace contado

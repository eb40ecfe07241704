#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
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
    EXPECT_EQ(TFbLockFolder::Check(folder_), "La carpeta de bloqueos " + folder_ +
                                                 " permite escribir a cualquier usuario; sudo "
                                                 "dpkg-reconfigure contado la arregla");
}

TEST_F(LockFolderTest, MissingFilesAndLinksAreRefusedWithTheWayToMakeIt) {
    EXPECT_EQ(TFbLockFolder::Check(folder_), "La carpeta de bloqueos " + folder_ +
                                                 " no existe; sudo dpkg-reconfigure contado la crea; luego "
                                                 "cada usuario del programa se une a su grupo y vuelve a "
                                                 "iniciar sesión");
    const std::string notFolder = "La carpeta de bloqueos " + folder_ +
                                  " no es una carpeta; bórrela y sudo dpkg-reconfigure contado la crea";
    std::ofstream(folder_) << "x";
    EXPECT_EQ(TFbLockFolder::Check(folder_), notFolder);
    fs::remove(folder_);
    fs::create_directory(root_ / "real");
    fs::create_directory_symlink(root_ / "real", folder_);
    EXPECT_EQ(TFbLockFolder::Check(folder_), notFolder);
}

TEST_F(LockFolderTest, AnotherUsersFolderIsUsableOnlyWhenSharedWithOurGroup) {
    if (!Root()) {
        GTEST_SKIP() << "giving a folder to another user needs root";
    }
    const std::string refused =
        "La carpeta de bloqueos " + folder_ + " es de otro usuario y no está compartida con un grupo de este "
        "usuario; ";
    // Not shared: mended by the package's configuration, whose group may be another one.
    const std::string mend = refused + "sudo dpkg-reconfigure contado la arregla; luego únase a su grupo "
                                       "(stat -c %G " + folder_ + ") y vuelva a iniciar sesión";
    MakeFolder(0700, kOtherUser, kOtherGroup);
    EXPECT_EQ(TFbLockFolder::Check(folder_), mend);
    // Shared with a group that is not ours: that group is the one to join.
    ASSERT_EQ(chmod(folder_.c_str(), 02770), 0);
    const std::string group = getgrgid(kOtherGroup)->gr_name;
    EXPECT_EQ(TFbLockFolder::Check(folder_), refused + "únase a su grupo " + group + " (sudo usermod -aG " +
                                                 group + " " + getpwuid(geteuid())->pw_name +
                                                 ") y vuelva a iniciar sesión");
    // Our group, but not setgid: lock files would take their makers' groups.
    ASSERT_EQ(chown(folder_.c_str(), kOtherUser, getegid()), 0);
    ASSERT_EQ(chmod(folder_.c_str(), 0770), 0);
    EXPECT_EQ(TFbLockFolder::Check(folder_), mend);
    // Our group without write.
    ASSERT_EQ(chmod(folder_.c_str(), 02750), 0);
    EXPECT_EQ(TFbLockFolder::Check(folder_), mend);
    ASSERT_EQ(chmod(folder_.c_str(), 02770), 0);
    EXPECT_EQ(TFbLockFolder::Check(folder_), "");
}

}  // namespace
}  // namespace contado

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "app/run/exitstatus.h"
#include "tests/app/companyprobe.h"
#include "tests/support/companydatabase.h"
#include "tests/support/registrysandbox.h"
#include "tests/support/runningchild.h"
#include "tests/support/scopedenvironment.h"

// The clerk and the scheduler are usually different users of one machine: both open the embedded
// company at once through the machine's one lock folder, and nobody outside its group can.

namespace contado {
namespace {

using namespace std::chrono_literals;

const std::string kProgram = CONTADO_BINARY_DIR "/bin/contado";
constexpr const char* kLockFolder = "/var/lib/contado/lock";
constexpr auto kLongestRun = 40s;

std::optional<TRunningChild::TUser> User(const std::string& name, const std::string& group) {
    if (getpwnam(name.c_str()) == nullptr) {
        const std::string command =
            "useradd --system --no-create-home --shell /usr/sbin/nologin --gid " + group + " " + name +
            " > /dev/null 2>&1";
        if (std::system(command.c_str()) != 0) {
            return std::nullopt;
        }
    }
    const passwd* entry = getpwnam(name.c_str());
    if (entry == nullptr) {
        return std::nullopt;
    }
    return TRunningChild::TUser{entry->pw_uid, entry->pw_gid};
}

// The group the set-up shares the lock folder with (group-writable and setgid), if it did.
std::optional<gid_t> LockFolderGroup() {
    struct stat info;
    if (stat(kLockFolder, &info) != 0 || (info.st_mode & 07777) != 02770) {
        return std::nullopt;
    }
    return info.st_gid;
}

// Lets group and others into a folder tree the test made for itself.
void OpenTree(const std::filesystem::path& root) {
    namespace fs = std::filesystem;
    const auto everyone = fs::perms::group_all | fs::perms::others_all;
    fs::permissions(root, everyone, fs::perm_options::add);
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        fs::permissions(entry.path(), everyone, fs::perm_options::add);
    }
}

class SharedLockFolder : public testing::Test {
  protected:
    void SetUp() override {
        if (geteuid() != 0) {
            GTEST_SKIP() << "running the program as a second user needs root";
        }
        const std::optional<gid_t> group = LockFolderGroup();
        if (!group) {
            GTEST_SKIP() << kLockFolder << " is not shared by a group: run scripts/setup.sh";
        }
        // The scheduler's user runs as a member of the lock folder's group, the stranger outside it.
        member_ = User("contadoprueba", std::to_string(*group));
        stranger_ = User("contadoajeno", "nogroup");
        if (!member_ || !stranger_) {
            GTEST_SKIP() << "useradd could not make the test's users";
        }
        member_->Gid = *group;
        const std::string reach = "runuser -u contadoprueba -- test -x '" + kProgram + "'";
        if (std::system(reach.c_str()) != 0) {
            GTEST_SKIP() << "a second user cannot reach " << kProgram;
        }
        sandbox_.PointAtApplicationDirectory();
        OpenTree(company_.ServerDir());
        OpenTree(sandbox_.SettingsFile().parent_path().parent_path().parent_path());
    }

    // The program as a user starts from that user's environment: the Firebird folders this test
    // process's own engine was pointed at are not passed on.
    TRunningChild Run(std::optional<TRunningChild::TUser> user) {
        TScopedEnvironment root("FIREBIRD", std::nullopt);
        TScopedEnvironment lock("FIREBIRD_LOCK", std::nullopt);
        return TRunningChild(kProgram, {company_.ServerDir(), "SYSDBA", "masterkey", company_.CompanyCode()},
                             {{"QT_QPA_PLATFORM", "offscreen"}}, user);
    }

    TTestCompany company_{3};
    TRegistrySandbox sandbox_;
    std::optional<TRunningChild::TUser> member_;
    std::optional<TRunningChild::TUser> stranger_;
};

TEST_F(SharedLockFolder, TwoUsersPostTheSameCompanyAtOnceAndItIsPostedOnce) {
    // The test's own attachment stays open all along, a third process on the same file.
    TCompanyProbe probe(company_.DatabasePath());
    ASSERT_EQ(probe.Scalar("select count(*) from CONTABILIZACION"), "0");
    TRunningChild clerk = Run(std::nullopt);
    TRunningChild scheduler = Run(member_);
    const std::optional<int> one = clerk.WaitFor(kLongestRun);
    const std::optional<int> other = scheduler.WaitFor(kLongestRun);
    ASSERT_TRUE(one && other) << clerk.Output() << scheduler.Output();
    EXPECT_EQ(std::min(*one, *other), esDone) << clerk.Output() << scheduler.Output();
    EXPECT_EQ(std::max(*one, *other), esNothingPosted) << clerk.Output() << scheduler.Output();
    EXPECT_EQ(probe.Scalar("select count(*) from CONTABILIZACION"), "1");
}

// The clerk's first error makes the log; the scheduler's user, of the same group, appends to it
// instead of losing its line.
TEST_F(SharedLockFolder, TwoUsersOfTheGroupBothAppendToTheErrorLog) {
    const std::filesystem::path folder = sandbox_.ApplicationDirectory();
    ASSERT_EQ(chown(folder.c_str(), static_cast<uid_t>(-1), member_->Gid), 0);
    ASSERT_EQ(chmod(folder.c_str(), 02775), 0);
    {
        TCompanyProbe probe(company_.DatabasePath());
        probe.Execute("alter table AJUSTE_CIERRE add constraint CK_AJUSTE_FACTOR check (AJCI_FACTOR < 0.86)");
    }
    for (const std::optional<TRunningChild::TUser>& user : {std::optional<TRunningChild::TUser>(), member_}) {
        TRunningChild run = Run(user);
        ASSERT_TRUE(run.WaitFor(kLongestRun)) << run.Output();
    }
    std::ifstream log(folder / "ERRORES.TXT", std::ios::binary);
    int lines = 0;
    for (std::string line; std::getline(log, line);) {
        lines += line.find("CK_AJUSTE_FACTOR") != std::string::npos ? 1 : 0;
    }
    EXPECT_EQ(lines, 2) << "one line of each user";
}

TEST_F(SharedLockFolder, AUserOutsideTheGroupIsRefusedWithTheReasonAndNothingIsOpened) {
    TRunningChild stranger = Run(stranger_);
    const std::optional<int> status = stranger.WaitFor(kLongestRun);
    ASSERT_TRUE(status);
    EXPECT_EQ(*status, esRunFailed);
    EXPECT_NE(stranger.Output().find("La carpeta de bloqueos /var/lib/contado/lock es de otro usuario"),
              std::string::npos)
        << stranger.Output();
    TCompanyProbe probe(company_.DatabasePath());
    EXPECT_EQ(probe.Scalar("select count(*) from CONTABILIZACION"), "0");
}

}  // namespace
}  // namespace contado

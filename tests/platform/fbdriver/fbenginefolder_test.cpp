#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <optional>

#include "platform/fbdriver/fbenginefolder.h"

// Where a user's engine folder goes: the runtime folder of the login, else the user's cache, else a
// folder of a name nobody can guess in the temporary folder; names other users made first never
// block it, and a folder at a private place that is not the user's own is refused by name.

namespace contado {
namespace {

namespace fs = std::filesystem;

constexpr uid_t kNobody = 65534;

class EngineFolderTest : public testing::Test {
  protected:
    EngineFolderTest() {
        std::string pattern = (fs::temp_directory_path() / "contado-enginefolder-XXXXXX").string();
        root_ = mkdtemp(pattern.data());
        chmod(root_.c_str(), 0755);
        MakeFolder(root_ / "run", 0700);
        MakeFolder(root_ / "home", 0700);
        MakeFolder(root_ / "tmp", 01777);
        places_.RuntimeDir = (root_ / "run").string();
        places_.Home = (root_ / "home").string();
        places_.TempDir = (root_ / "tmp").string();
    }
    ~EngineFolderTest() override {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }

    static void MakeFolder(const fs::path& path, mode_t mode) {
        fs::create_directory(path);
        chmod(path.c_str(), mode);
    }
    static mode_t Mode(const std::string& path) {
        struct stat info;
        return lstat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
    }
    std::string TempPrefix(uid_t uid) const {
        return (root_ / "tmp" / ("contado-firebird-" + std::to_string(uid) + "-")).string();
    }

    // Finds the folder, counting the folders prepared; preparing fails for the names led by failing_.
    std::optional<std::string> Find(const TFbEngineFolder::TPlaces& places) {
        prepared_ = 0;
        return TFbEngineFolder::Find(
            places,
            [this](const std::string& folder, std::string& error) {
                ++prepared_;
                error = "Read-only file system";
                return failing_.empty() || folder.rfind(failing_, 0) != 0;
            },
            problem_);
    }

    // The folder a process of another user finds, or its problem when it finds none.
    static std::string FindAs(uid_t uid, const TFbEngineFolder::TPlaces& places) {
        int channel[2];
        if (pipe(channel) != 0) {
            return {};
        }
        const pid_t child = fork();
        if (child == 0) {
            close(channel[0]);
            std::string problem;
            std::optional<std::string> found;
            if (setgroups(0, nullptr) == 0 && setgid(uid) == 0 && setuid(uid) == 0) {
                found = TFbEngineFolder::Find(
                    places, [](const std::string&, std::string&) { return true; }, problem);
            }
            const std::string text = found.value_or(problem);
            const ssize_t written = write(channel[1], text.data(), text.size());
            _exit(written == static_cast<ssize_t>(text.size()) ? 0 : 1);
        }
        close(channel[1]);
        std::string text;
        char buffer[512];
        ssize_t length = 0;
        while ((length = read(channel[0], buffer, sizeof buffer)) > 0) {
            text.append(buffer, static_cast<std::size_t>(length));
        }
        close(channel[0]);
        waitpid(child, nullptr, 0);
        return text;
    }

    fs::path root_;
    TFbEngineFolder::TPlaces places_;
    std::string failing_;
    std::string problem_;
    int prepared_ = 0;
};

TEST_F(EngineFolderTest, TheLoginsRuntimeFolderFirstThenTheCacheThenAPrivateTemporaryOne) {
    EXPECT_EQ(Find(places_), places_.RuntimeDir + "/contado-firebird");
    EXPECT_EQ(Mode(places_.RuntimeDir + "/contado-firebird"), 0700u);

    // A runtime folder others may enter is not the login's.
    chmod(places_.RuntimeDir.c_str(), 0755);
    EXPECT_EQ(Find(places_), places_.Home + "/.cache/contado-firebird");
    EXPECT_EQ(Mode(places_.Home + "/.cache"), 0700u);
    places_.CacheHome = (root_ / "home" / "cache").string();
    MakeFolder(places_.CacheHome, 0700);
    EXPECT_EQ(Find(places_), places_.CacheHome + "/contado-firebird");
    places_.CacheHome.clear();

    // No home: a new folder in the temporary one, found again by the next run, not one that others
    // could enter.
    TFbEngineFolder::TPlaces homeless = places_;
    homeless.RuntimeDir.clear();
    homeless.Home = (root_ / "nonexistent").string();
    MakeFolder(TempPrefix(geteuid()) + "opened", 0755);
    const std::optional<std::string> made = Find(homeless);
    ASSERT_TRUE(made);
    EXPECT_EQ(made->rfind(TempPrefix(geteuid()), 0), 0u) << *made;
    EXPECT_NE(*made, TempPrefix(geteuid()) + "opened");
    EXPECT_EQ(Mode(*made), 0700u);
    EXPECT_EQ(Find(homeless), made);
    EXPECT_EQ(std::distance(fs::directory_iterator(root_ / "tmp"), fs::directory_iterator()), 2);

    // A folder that cannot be filled (a home that went read-only) gives way to the next place.
    failing_ = places_.Home + "/.cache/contado-firebird";
    EXPECT_EQ(Find(places_), made);
    failing_ = TempPrefix(geteuid());
    EXPECT_FALSE(Find(homeless));
    EXPECT_EQ(problem_.rfind("No se pudo preparar la carpeta del motor " + TempPrefix(geteuid()), 0), 0u)
        << problem_;
}

TEST_F(EngineFolderTest, AFolderAtAPrivatePlaceThatIsNotTheUsersOwnIsRefusedNamingIt) {
    places_.RuntimeDir.clear();
    const std::string folder = places_.Home + "/.cache/contado-firebird";
    MakeFolder(places_.Home + "/.cache", 0700);
    MakeFolder(root_ / "elsewhere", 0700);
    fs::create_directory_symlink(root_ / "elsewhere", folder);
    EXPECT_FALSE(Find(places_));
    EXPECT_EQ(problem_, "La carpeta del motor " + folder +
                            " no es de este usuario: es un enlace simbólico; bórrela (como root si no "
                            "puede) y el programa la hará de nuevo");
    EXPECT_EQ(prepared_, 0);

    fs::remove(folder);
    MakeFolder(folder, 0777);
    EXPECT_FALSE(Find(places_));
    EXPECT_NE(problem_.find(folder + " no es de este usuario: otros usuarios pueden escribir en ella "
                                     "(permisos 0777)"),
              std::string::npos)
        << problem_;

    if (geteuid() == 0) {
        chmod(folder.c_str(), 0700);
        ASSERT_EQ(chown(folder.c_str(), kNobody, kNobody), 0);
        EXPECT_FALSE(Find(places_));
        EXPECT_NE(problem_.find(folder + " no es de este usuario: pertenece al usuario nobody"),
                  std::string::npos)
            << problem_;
    }
}

// The old fixed name and names of the new form, made first by another user (here root, for nobody):
// a service user without a home, or with a home it cannot write, still gets a folder of its own.
TEST_F(EngineFolderTest, NamesOthersMadeFirstDoNotBlockAUserWithoutAWritableHome) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "running as another user needs root";
    }
    MakeFolder(root_ / "tmp" / ("contado-firebird-" + std::to_string(kNobody)), 0777);
    MakeFolder(TempPrefix(kNobody) + "AAAAAA", 0700);
    MakeFolder(TempPrefix(kNobody) + "BBBBBB", 0777);
    places_.RuntimeDir.clear();

    places_.Home = (root_ / "nonexistent").string();
    const std::string homeless = FindAs(kNobody, places_);
    // A home of another user (root's HOME passed on), and a home of its own it may not write to.
    places_.Home = (root_ / "home").string();
    const std::string rootsHome = FindAs(kNobody, places_);
    MakeFolder(root_ / "readonly", 0555);
    ASSERT_EQ(chown((root_ / "readonly").c_str(), kNobody, kNobody), 0);
    places_.Home = (root_ / "readonly").string();
    const std::string readOnlyHome = FindAs(kNobody, places_);

    ASSERT_EQ(homeless.rfind(TempPrefix(kNobody), 0), 0u) << homeless;
    EXPECT_NE(homeless, TempPrefix(kNobody) + "AAAAAA");
    EXPECT_NE(homeless, TempPrefix(kNobody) + "BBBBBB");
    struct stat info;
    ASSERT_EQ(lstat(homeless.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, kNobody);
    EXPECT_EQ(rootsHome, homeless);
    EXPECT_EQ(readOnlyHome, homeless);
    EXPECT_FALSE(fs::exists(root_ / "home" / ".cache"));
}

}  // namespace
}  // namespace contado

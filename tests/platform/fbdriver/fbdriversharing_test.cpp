#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "tests/platform/fbdriver/fbdriverfixture.h"

namespace contado {
namespace {

namespace fs = std::filesystem;

// The probe in a process of its own; environment, when given, is a list of env(1) arguments.
std::string RunProbe(const std::string& database, int id, const std::string& environment = "") {
    const std::string command = (environment.empty() ? "" : "env " + environment + " ") +
                                std::string(CONTADO_BINARY_DIR "/bin/contado_dbprobe ") +
                                CONTADO_BINARY_DIR "/bin/libfbdriver.so '" + database + "' " +
                                std::to_string(id) + " 2>&1";
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[512];
    while (pipe != nullptr && std::fgets(buffer, sizeof(buffer), pipe) != nullptr) {
        output += buffer;
    }
    if (pipe != nullptr) {
        pclose(pipe);
    }
    return output;
}

// The clerk's window holds the company open, in the middle of a transaction, while an unattended
// run in another process writes to the same embedded file.
TEST_F(FbDriverTest, TwoProcessesWorkOnOneEmbeddedDatabaseAtOnce) {
    const TTransactionDesc desc;
    ASSERT_EQ(connection_->beginTransaction(desc), sqlstatus::kSuccess);
    Execute(*connection_, "insert into TARIFA (ID) values (1)");

    EXPECT_EQ(RunProbe(database_.Path(), 2), "ok\n");

    ASSERT_EQ(connection_->commit(desc), sqlstatus::kSuccess);
    EXPECT_EQ(Count(*connection_, "TARIFA"), 2);
    EXPECT_EQ(RunProbe(database_.Path(), 1).rfind("violation of PRIMARY or UNIQUE KEY constraint", 0), 0u);
}

// A process that starts without an engine folder chosen (FIREBIRD unset) makes its own. One home
// and one temporary folder of the test's stand in for the user's.
class FbDriverEngineFolderTest : public FbDriverTest {
  protected:
    FbDriverEngineFolderTest() {
        std::string pattern = (fs::temp_directory_path() / "contado-probehome-XXXXXX").string();
        root_ = mkdtemp(pattern.data());
        fs::create_directories(root_ / "home" / ".cache");
        fs::create_directory(root_ / "tmp");
        chmod((root_ / "tmp").c_str(), 01777);
    }
    ~FbDriverEngineFolderTest() override {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    std::string Environment(const std::string& home) const {
        return "-u FIREBIRD -u XDG_RUNTIME_DIR -u XDG_CACHE_HOME HOME='" + home + "' TMPDIR='" +
               (root_ / "tmp").string() + "'";
    }

    fs::path root_;
};

TEST_F(FbDriverEngineFolderTest, AFolderNotTheUsersOwnIsRefusedAtConnectNamingIt) {
    const fs::path folder = root_ / "home" / ".cache" / "contado-firebird";
    fs::create_directory_symlink(root_ / "tmp", folder);
    EXPECT_EQ(RunProbe(database_.Path(), 2, Environment((root_ / "home").string())),
              "La carpeta del motor " + folder.string() +
                  " no es de este usuario: es un enlace simbólico; bórrela (como root si no puede) y el "
                  "programa la hará de nuevo\n");
    EXPECT_EQ(Count(*connection_, "TARIFA"), 0);
}

}  // namespace
}  // namespace contado

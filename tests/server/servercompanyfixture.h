#pragma once

#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

#include "tests/app/companyprobe.h"
#include "tests/support/childprocess.h"
#include "tests/support/companydatabase.h"
#include "tests/support/registrysandbox.h"
#include "tests/support/runningchild.h"

namespace contado {

// A fresh demo company served by the private Firebird server that scripts/test.sh starts on
// 127.0.0.1 (CONTADO_TEST_SERVER "127.0.0.1/PORT", its SYSDBA password and folder in
// CONTADO_TEST_SERVER_PASSWORD and CONTADO_TEST_SERVER_FOLDER): the server text "127.0.0.1/PORT:DIR"
// reaches the company in DIR over TCP. The company is made by the creation script and handed to the
// server's user, which opens the file. Without a server the tests are skipped, saying why.
class ServerCompanyTest : public testing::Test {
  protected:
    void SetUp() override {
        server_ = Variable("CONTADO_TEST_SERVER");
        password_ = Variable("CONTADO_TEST_SERVER_PASSWORD");
        folder_ = Variable("CONTADO_TEST_SERVER_FOLDER");
        if (server_.empty() || password_.empty() || folder_.empty()) {
            GTEST_SKIP() << "No private Firebird server: CONTADO_TEST_SERVER is not set (scripts/test.sh "
                            "starts one where package firebird3.0-server is installed and it runs as root)";
        }
        const passwd* firebird = getpwnam("firebird");
        ASSERT_NE(firebird, nullptr) << "user firebird missing";
        for (const auto& entry : std::filesystem::recursive_directory_iterator(company_.ServerDir())) {
            ASSERT_EQ(chown(entry.path().c_str(), firebird->pw_uid, firebird->pw_gid), 0) << entry.path();
        }
        using std::filesystem::perms;
        std::filesystem::permissions(company_.ServerDir(),
                                     perms::owner_all | perms::group_exec | perms::others_exec);
        sandbox_.PointAtApplicationDirectory();
    }

    static std::string Variable(const char* name) {
        const char* value = std::getenv(name);
        return value == nullptr ? std::string() : value;
    }
    std::string ServerText() const { return server_ + ":" + company_.ServerDir(); }
    std::string DatabaseText() const {
        return ServerText() + "/datos/" + company_.CompanyCode() + "/tandrel.fdb";
    }
    // A connection through the server; an embedded one would open the file beside the server.
    TCompanyProbe& Probe() {
        if (!probe_) {
            probe_ = std::make_unique<TCompanyProbe>(DatabaseText(), password_);
        }
        return *probe_;
    }
    // The program's unattended run of today over TCP, without a display, the password from ISC_PASSWORD.
    std::unique_ptr<TRunningChild> StartRun() {
        return std::make_unique<TRunningChild>(
            CONTADO_BINARY_DIR "/bin/contado",
            std::vector<std::string>{ServerText(), "SYSDBA", "-", company_.CompanyCode()},
            std::vector<std::pair<std::string, std::string>>{{"QT_QPA_PLATFORM", "offscreen"},
                                                             {"ISC_PASSWORD", password_}});
    }
    // The status of a run to its end; -1, and a failure, when it did not end within two minutes.
    int RunToEnd() {
        auto child = StartRun();
        const std::optional<int> status = child->WaitFor(std::chrono::seconds(120));
        EXPECT_TRUE(status.has_value()) << "the run did not end";
        return status.value_or(-1);
    }
    // Kills the server at once, as a crash or a power cut would; connections to it are lost.
    void HaltServer() { ServerControl("halt"); }
    void RestartServer() {
        probe_.reset();
        ServerControl("restart");
    }
    // Halts the server from a thread of its own as soon as the server runs a statement on the table
    // for another attachment: while the test's own thread is held in an apply. Bounded: after a
    // minute the server is halted all the same (so the held thread goes on) and haltStatus_ is not 0.
    std::thread HaltServerWhenRunning(const std::string& table) {
        const auto folder = sandbox_.ApplicationDirectory().parent_path();
        std::ofstream(folder / "running.sql")
            << "select 'RUNNING' from MON$STATEMENTS where MON$STATE = 1 and "
               "MON$ATTACHMENT_ID <> current_connection and MON$SQL_TEXT containing '"
            << table << "';\n";
        std::ofstream(folder / "halt-when-running.sh")
            << "halt() { bash '" CONTADO_SOURCE_DIR "/scripts/test-server.sh' halt '" << folder_ << "'; }\n"
            << "while [ $SECONDS -lt 60 ]; do\n"
            << "  if ISC_USER=SYSDBA ISC_PASSWORD='" << password_ << "' timeout 10 isql-fb -q -i '"
            << (folder / "running.sql").string() << "' '" << DatabaseText() << "' | grep -q RUNNING; then\n"
            << "    halt && exit 0\n"
            << "  fi\n"
            << "  sleep 0.1\n"
            << "done\n"
            << "halt\n"
            << "exit 1\n";
        const std::string command = "bash '" + (folder / "halt-when-running.sh").string() + "'";
        return std::thread([this, command] { haltStatus_ = std::system(command.c_str()); });
    }

    std::string server_;
    std::string password_;
    std::string folder_;
    // Sales of the last days and planned adjustments around today.
    TTestCompany company_{10};
    TRegistrySandbox sandbox_;
    std::unique_ptr<TCompanyProbe> probe_;
    int haltStatus_ = -1;

  private:
    void ServerControl(const std::string& command) {
        const TChildResult result =
            RunChild("/bin/bash", {CONTADO_SOURCE_DIR "/scripts/test-server.sh", command, folder_});
        ASSERT_EQ(result.ExitCode, 0) << command << ": " << result.StandardError;
    }
};

}  // namespace contado

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/platform/fbdriver/fbdriverfixture.h"

namespace contado {
namespace {

std::string RunProbe(const std::string& database, int id) {
    const std::string command = std::string(CONTADO_BINARY_DIR "/bin/contado_dbprobe ") +
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

}  // namespace
}  // namespace contado

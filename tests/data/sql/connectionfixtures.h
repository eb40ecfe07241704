#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "data/sql/sqlconnection.h"
#include "tests/support/companydatabase.h"
#include "tests/support/fakedriver/fakedriver.h"

namespace contado {

// A connection set up as the main window sets its own, with the lines of the stored Params list.
void ConfigureLikeTheMainWindow(TSQLConnection& connection, const std::string& libraryName,
                                const std::string& getDriverFunc, const std::string& database);

// A connection over the scripted fake driver; the script is cleared before each test.
class FakeConnectionTest : public testing::Test {
  protected:
    void SetUp() override;
    static void Script(const std::string& key, const std::string& value);
    static std::string CallLog();
    static std::vector<std::string> CallLines();
    // The message of the EDatabaseError that opening raises; empty when it opens.
    std::string ConnectMessage();

    TSQLConnection connection_;
};

// A connection over the Firebird driver to a fresh company database.
class FbConnectionTest : public testing::Test {
  protected:
    void SetUp() override;
    // Every row of a select read through a command of the connection.
    std::vector<std::vector<TDriverValue>> Query(const std::string& sql);
    // Rows of AJUSTE_CIERRE with the test's identifiers (9000 and above).
    std::int64_t CountTestAdjustments();
    // The message of the EDatabaseError that executing raises; empty when it runs.
    std::string ExecuteMessage(const std::string& sql, const TParams* params = nullptr);

    TTestCompany company_;
    TSQLConnection connection_;
};

}  // namespace contado

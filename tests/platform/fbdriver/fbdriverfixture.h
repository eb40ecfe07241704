#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/sqldriver.h"
#include "tests/support/scratchdatabase.h"

namespace contado {

// The Firebird driver plugin loaded from the build folder, a scratch database, and a connection to
// it, with small helpers that run statements through the driver interfaces.
class FbDriverTest : public testing::Test {
  protected:
    static ISQLDriver& Driver();
    static TDriverValue Text(const std::string& text);
    static TDriverValue Integer(TDriverType type, std::int64_t value);
    static TDriverValue Decimal(const char* digits);
    static TDriverValue Null(TDriverType type);

    void SetUp() override;
    std::unique_ptr<ISQLConnection> Connect() const;
    // Runs a statement without result; answers the affected rows. Fails the test on a bad status.
    std::int64_t Execute(ISQLConnection& connection, const std::string& sql,
                         const std::vector<TDriverValue>& values = {}) const;
    // The status of running a statement without result, its error text in errorText.
    SQLResult TryExecute(ISQLConnection& connection, const std::string& sql, std::string& errorText,
                         const std::vector<TDriverValue>& values = {}) const;
    // Every row of a select, each value as the cursor gives it.
    std::vector<std::vector<TDriverValue>> Query(ISQLConnection& connection, const std::string& sql,
                                                 const std::vector<TDriverValue>& values = {}) const;
    std::int64_t Count(ISQLConnection& connection, const std::string& table) const;
    std::vector<TColumnDescription> Describe(const std::string& sql) const;

    TScratchDatabase database_;
    std::unique_ptr<ISQLConnection> connection_;
};

}  // namespace contado

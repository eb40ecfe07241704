#include "tests/platform/fbdriver/fbdriverfixture.h"

#include <dlfcn.h>

namespace contado {

ISQLDriver& FbDriverTest::Driver() {
    static ISQLDriver* driver = [] {
        void* library = dlopen(CONTADO_BINARY_DIR "/bin/libfbdriver.so", RTLD_NOW);
        if (library == nullptr) {
            throw std::runtime_error(dlerror());
        }
        auto factory = reinterpret_cast<TGetDriverFunc>(dlsym(library, "getSQLDriverFIREBIRD"));
        ISQLDriver* loaded = nullptr;
        if (factory == nullptr || factory("libfbclient.so.2", "", &loaded) != sqlstatus::kSuccess) {
            throw std::runtime_error("the Firebird driver does not start");
        }
        return loaded;
    }();
    return *driver;
}

TDriverValue FbDriverTest::Text(const std::string& text) {
    TDriverValue value;
    value.Type = TDriverType::Text;
    value.IsNull = false;
    value.Text = text;
    return value;
}

TDriverValue FbDriverTest::Integer(TDriverType type, std::int64_t number) {
    TDriverValue value;
    value.Type = type;
    value.IsNull = false;
    value.Integer = number;
    return value;
}

TDriverValue FbDriverTest::Decimal(const char* digits) {
    TDriverValue value;
    value.Type = TDriverType::Bcd;
    value.IsNull = false;
    EXPECT_TRUE(TBcd::TryParse(digits, '.', value.Decimal));
    return value;
}

TDriverValue FbDriverTest::Null(TDriverType type) {
    TDriverValue value;
    value.Type = type;
    return value;
}

void FbDriverTest::SetUp() {
    connection_ = Connect();
}

std::unique_ptr<ISQLConnection> FbDriverTest::Connect() const {
    std::unique_ptr<ISQLConnection> connection;
    EXPECT_EQ(Driver().getSQLConnection(connection), sqlstatus::kSuccess);
    const SQLResult status = connection->connect(database_.Path(), "SYSDBA", "");
    std::string text;
    connection->getErrorMessage(text);
    EXPECT_EQ(status, sqlstatus::kSuccess) << text;
    return connection;
}

SQLResult FbDriverTest::TryExecute(ISQLConnection& connection, const std::string& sql, std::string& errorText,
                                   const std::vector<TDriverValue>& values) const {
    std::unique_ptr<ISQLCommand> command;
    EXPECT_EQ(connection.getSQLCommand(command), sqlstatus::kSuccess);
    SQLResult status = command->prepare(sql, static_cast<std::uint16_t>(values.size()));
    for (std::size_t index = 0; status == sqlstatus::kSuccess && index < values.size(); ++index) {
        status = command->setParameter(static_cast<std::uint16_t>(index + 1), values[index]);
    }
    std::unique_ptr<ISQLCursor> cursor;
    if (status == sqlstatus::kSuccess) {
        status = command->execute(cursor);
    }
    command->getErrorMessage(errorText);
    return status;
}

std::int64_t FbDriverTest::Execute(ISQLConnection& connection, const std::string& sql,
                                   const std::vector<TDriverValue>& values) const {
    std::unique_ptr<ISQLCommand> command;
    EXPECT_EQ(connection.getSQLCommand(command), sqlstatus::kSuccess);
    std::string text;
    EXPECT_EQ(command->prepare(sql, static_cast<std::uint16_t>(values.size())), sqlstatus::kSuccess)
        << (command->getErrorMessage(text), text);
    for (std::size_t index = 0; index < values.size(); ++index) {
        EXPECT_EQ(command->setParameter(static_cast<std::uint16_t>(index + 1), values[index]),
                  sqlstatus::kSuccess);
    }
    std::unique_ptr<ISQLCursor> cursor;
    EXPECT_EQ(command->execute(cursor), sqlstatus::kSuccess) << (command->getErrorMessage(text), text);
    std::int64_t rows = -1;
    command->getRowsAffected(rows);
    return rows;
}

std::vector<std::vector<TDriverValue>> FbDriverTest::Query(ISQLConnection& connection, const std::string& sql,
                                                           const std::vector<TDriverValue>& values) const {
    std::unique_ptr<ISQLCommand> command;
    EXPECT_EQ(connection.getSQLCommand(command), sqlstatus::kSuccess);
    std::string text;
    EXPECT_EQ(command->prepare(sql, static_cast<std::uint16_t>(values.size())), sqlstatus::kSuccess)
        << (command->getErrorMessage(text), text);
    for (std::size_t index = 0; index < values.size(); ++index) {
        command->setParameter(static_cast<std::uint16_t>(index + 1), values[index]);
    }
    std::unique_ptr<ISQLCursor> cursor;
    EXPECT_EQ(command->execute(cursor), sqlstatus::kSuccess) << (command->getErrorMessage(text), text);
    std::vector<std::vector<TDriverValue>> rows;
    if (cursor == nullptr) {
        ADD_FAILURE() << "no cursor for " << sql;
        return rows;
    }
    std::uint16_t columns = 0;
    cursor->getColumnCount(columns);
    SQLResult status;
    while ((status = cursor->next()) == sqlstatus::kSuccess) {
        auto& row = rows.emplace_back(columns);
        for (std::uint16_t column = 1; column <= columns; ++column) {
            EXPECT_EQ(cursor->getValue(column, row[column - 1]), sqlstatus::kSuccess);
        }
    }
    EXPECT_EQ(status, sqlstatus::kNoData) << (cursor->getErrorMessage(text), text);
    EXPECT_EQ(cursor->close(), sqlstatus::kSuccess);
    return rows;
}

std::int64_t FbDriverTest::Count(ISQLConnection& connection, const std::string& table) const {
    const auto rows = Query(connection, "select count(*) from " + table);
    return rows.empty() ? -1 : rows[0][0].Integer;
}

std::vector<TColumnDescription> FbDriverTest::Describe(const std::string& sql) const {
    std::unique_ptr<ISQLCommand> command;
    EXPECT_EQ(connection_->getSQLCommand(command), sqlstatus::kSuccess);
    EXPECT_EQ(command->prepare(sql, 0), sqlstatus::kSuccess);
    std::unique_ptr<ISQLCursor> cursor;
    EXPECT_EQ(command->execute(cursor), sqlstatus::kSuccess);
    std::vector<TColumnDescription> columns;
    std::uint16_t count = 0;
    cursor->getColumnCount(count);
    for (std::uint16_t column = 1; column <= count; ++column) {
        EXPECT_EQ(cursor->getColumnDescription(column, columns.emplace_back()), sqlstatus::kSuccess);
    }
    return columns;
}

}  // namespace contado

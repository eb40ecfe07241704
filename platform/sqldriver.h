#pragma once

// The database driver interfaces. A driver is a shared library exporting a factory
// (extern "C" SQLResult getSQLDriverXXX(const char* vendorLib, const char* errorResourceFile,
// ISQLDriver** driver)). Every call answers a 16-bit status, 0 for success.

#include <cstdint>
#include <memory>
#include <string>

#include "core/bcd.h"

namespace contado {

using SQLResult = std::uint16_t;

namespace sqlstatus {
constexpr SQLResult kSuccess = 0;
constexpr SQLResult kInsufficientMemory = 2;
constexpr SQLResult kInvalidFieldType = 3;
constexpr SQLResult kInvalidHandle = 4;
constexpr SQLResult kNotSupported = 5;
constexpr SQLResult kOutOfRange = 8;
constexpr SQLResult kInvalidParameter = 9;
constexpr SQLResult kEndOfResultSet = 10;
constexpr SQLResult kConnectionFailed = 21;
constexpr SQLResult kDriverInitFailed = 22;
constexpr SQLResult kNoData = 100;        // a cursor has no more rows
constexpr SQLResult kServerError = 0x65;  // the server's text is in the error message
}  // namespace sqlstatus

// Connection options (set and get).
namespace connoption {
constexpr int kAutoCommit = 0;
constexpr int kBlockingMode = 1;
constexpr int kBlobSize = 2;
constexpr int kRoleName = 3;
constexpr int kWaitOnLocks = 4;
constexpr int kCommitRetain = 5;
constexpr int kTransactionIsolation = 6;
constexpr int kHostName = 10;
constexpr int kMaxStatementsPerConnection = 14;
constexpr int kServerCharSet = 15;
constexpr int kSQLDialect = 16;
constexpr int kOSAuthentication = 20;
constexpr int kMultipleTransactions = 22;
constexpr int kServerPort = 23;
constexpr int kTrimChar = 25;
constexpr int kObjectName = 26;        // set: a name to quote
constexpr int kQuotedObjectName = 30;  // get: that name as the driver quotes it
constexpr int kCustomString = 31;
constexpr int kConnectionTimeout = 32;  // seconds to connect and get the server's answer; 0 without end
constexpr int kLockTimeout = 33;        // seconds a transaction waits on a lock; 0 without end
constexpr int kAnswerTimeout = 34;      // seconds a call may wait for the server; then the connection is cut
}  // namespace connoption

// Metadata options.
namespace metaoption {
constexpr int kSchemaName = 1;
constexpr int kSupportsTransactions = 5;
constexpr int kObjectQuoteChar = 11;
constexpr int kSupportsMultipleTransactions = 15;
}  // namespace metaoption

// Command options.
namespace commandoption {
constexpr int kRowsetSize = 0;
}  // namespace commandoption

// Column and parameter types as the driver describes them.
enum class TDriverType : std::uint16_t {
    Unknown = 0,
    Text = 1,  // fixed or varying text; subtype FixedChar for fixed length
    Date = 2,  // 32-bit day number, 1 January of the year 1 being day 1
    Blob = 3,
    Boolean = 4,
    Int16 = 5,
    Int32 = 6,
    Float = 7,       // subtype Money for money columns
    Bcd = 8,         // exact decimal with precision and scale
    Time = 10,       // ten-thousandths of a second since midnight
    TimeStamp = 11,  // day number and ten-thousandths of a second
    Int64 = 18,
};

enum class TDriverSubType : std::uint16_t {
    None = 0,
    Money = 21,
    Memo = 22,
    Binary = 23,
    Graphic = 25,
    FixedChar = 31,
    AutoInc = 29,
};

// Transaction descriptor: identifier (always 1), global identifier (0), isolation level
// (0 read committed, 1 repeatable read, 2 dirty read), custom isolation (0).
struct TTransactionDesc {
    std::uint32_t TransactionID = 1;
    std::uint32_t GlobalID = 0;
    std::uint32_t IsolationLevel = 0;
    std::uint32_t CustomIsolation = 0;
};

// One column of a result, as described by the cursor (columns count from 1).
struct TColumnDescription {
    std::string Name;
    TDriverType Type = TDriverType::Unknown;
    TDriverSubType SubType = TDriverSubType::None;
    std::int32_t Length = 0;     // characters of a text column, bytes of others
    std::int32_t Precision = 0;  // digits of a decimal
    std::int32_t Scale = 0;      // fraction digits of a decimal (positive)
    bool Nullable = true;
    bool ReadOnly = false;
};

// A value handed to or read from the driver. Which member counts follows the type. Text is UTF-8.
// Time units are ten-thousandths of a second (0 to 863999999), the finest Firebird stores.
struct TDriverValue {
    TDriverType Type = TDriverType::Unknown;
    bool IsNull = true;
    std::string Text;            // Text, Blob
    std::int64_t Integer = 0;    // Int16, Int32, Int64, Boolean; Date: day number; Time: time units
    double Real = 0;             // Float
    TBcd Decimal;                // Bcd
    std::int32_t TimeOfDay = 0;  // TimeStamp: time units of the day (Integer holds the day number)
};

class ISQLCursor {
  public:
    virtual ~ISQLCursor() = default;
    virtual SQLResult getColumnCount(std::uint16_t& count) = 0;
    virtual SQLResult getColumnDescription(std::uint16_t column, TColumnDescription& description) = 0;
    // 0 with a row, kNoData at the end.
    virtual SQLResult next() = 0;
    virtual SQLResult getValue(std::uint16_t column, TDriverValue& value) = 0;
    virtual SQLResult getErrorMessage(std::string& message) = 0;
    // Ends the result; a statement run in a transaction of its own commits here. Releasing an
    // open cursor closes it too, without a way to report a failure.
    virtual SQLResult close() = 0;
};

class ISQLCommand {
  public:
    virtual ~ISQLCommand() = default;
    virtual SQLResult setOption(int option, std::int32_t value) = 0;
    virtual SQLResult prepare(const std::string& sql, std::uint16_t parameterCount) = 0;
    // Positions count from 1.
    virtual SQLResult setParameter(std::uint16_t position, const TDriverValue& value) = 0;
    // Runs the prepared statement; a statement with a result leaves a cursor, others leave it null.
    virtual SQLResult execute(std::unique_ptr<ISQLCursor>& cursor) = 0;
    virtual SQLResult getRowsAffected(std::int64_t& rows) = 0;
    virtual SQLResult getErrorMessage(std::string& message) = 0;
    virtual SQLResult close() = 0;
};

class ISQLMetaData {
  public:
    virtual ~ISQLMetaData() = default;
    virtual SQLResult setOption(int option, std::intptr_t value) = 0;
    virtual SQLResult getOption(int option, void* buffer, std::int32_t size, std::int32_t& length) = 0;
    virtual SQLResult getErrorMessage(std::string& message) = 0;
};

class ISQLConnection {
  public:
    virtual ~ISQLConnection() = default;
    // Integer options take the number; text options a pointer to zero-terminated text.
    virtual SQLResult setOption(int option, std::intptr_t value) = 0;
    virtual SQLResult getOption(int option, void* buffer, std::int32_t size, std::int32_t& length) = 0;
    virtual SQLResult connect(const std::string& database, const std::string& user,
                              const std::string& password) = 0;
    virtual SQLResult disconnect() = 0;
    virtual SQLResult getSQLMetaData(std::unique_ptr<ISQLMetaData>& metaData) = 0;
    virtual SQLResult getSQLCommand(std::unique_ptr<ISQLCommand>& command) = 0;
    virtual SQLResult beginTransaction(const TTransactionDesc& desc) = 0;
    virtual SQLResult commit(const TTransactionDesc& desc) = 0;
    virtual SQLResult rollback(const TTransactionDesc& desc) = 0;
    virtual SQLResult getErrorMessage(std::string& message) = 0;
};

class ISQLDriver {
  public:
    virtual ~ISQLDriver() = default;
    virtual SQLResult getSQLConnection(std::unique_ptr<ISQLConnection>& connection) = 0;
};

// Signature of a driver library's exported factory.
using TGetDriverFunc = SQLResult (*)(const char* vendorLib, const char* errorResourceFile,
                                     ISQLDriver** driver);

// A driver library may also export a stop function named after its factory, "get" turned into
// "stop" (stopSQLDriverXXX): callable from any thread, it cancels the running statements, rolls
// back the transactions and closes the connections of every driver of the library at once. And a
// cut function ("cut", cutSQLDriverXXX), callable from any thread, that only hands back at once the
// calls waiting on a server, so the thread that made them may go on and then stop the driver.
using TStopDriverFunc = void (*)();

}  // namespace contado

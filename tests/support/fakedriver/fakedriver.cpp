#include "tests/support/fakedriver/fakedriver.h"

#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "platform/sqldriver.h"

namespace contado {
namespace {

std::map<std::string, std::string>& Script() {
    static std::map<std::string, std::string> script;
    return script;
}

std::string& Log() {
    static std::string log;
    return log;
}

void Record(const std::string& line) {
    Log() += line + "\n";
}

std::string Scripted(const std::string& key) {
    auto found = Script().find(key);
    return found == Script().end() ? std::string() : found->second;
}

// The scripted status of a call; its text becomes the handle's error text.
SQLResult Answer(const std::string& call, std::string& errorText) {
    const std::string status = Scripted(call + ".status");
    if (status.empty()) {
        return sqlstatus::kSuccess;
    }
    errorText = Scripted(call + ".text");
    return static_cast<SQLResult>(std::stoi(status));
}

bool IsTextOption(int option) {
    return option == connoption::kRoleName || option == connoption::kHostName ||
           option == connoption::kServerCharSet || option == connoption::kServerPort ||
           option == connoption::kCustomString || option == connoption::kObjectName ||
           option == metaoption::kSchemaName;
}

std::string ValueText(const TDriverValue& value) {
    if (value.IsNull) {
        return "null";
    }
    switch (value.Type) {
        case TDriverType::Text:
            return value.Text;
        case TDriverType::Bcd:
            return value.Decimal.ToString('.') + "/" + std::to_string(value.Decimal.Precision()) + "," +
                   std::to_string(value.Decimal.Scale());
        case TDriverType::Float:
            return std::to_string(value.Real);
        default:
            return std::to_string(value.Integer);
    }
}

class TFakeCommand : public ISQLCommand {
  public:
    SQLResult setOption(int option, std::int32_t value) override {
        Record("command option " + std::to_string(option) + " " + std::to_string(value));
        return sqlstatus::kSuccess;
    }
    SQLResult prepare(const std::string& sql, std::uint16_t parameterCount) override {
        Record("prepare " + sql + "|" + std::to_string(parameterCount));
        return Answer("prepare", errorText_);
    }
    SQLResult setParameter(std::uint16_t position, const TDriverValue& value) override {
        Record("parameter " + std::to_string(position) + " " + std::to_string(static_cast<int>(value.Type)) +
               " " + ValueText(value));
        return sqlstatus::kSuccess;
    }
    SQLResult execute(std::unique_ptr<ISQLCursor>& cursor) override {
        cursor.reset();
        Record("execute");
        return Answer("execute", errorText_);
    }
    SQLResult getRowsAffected(std::int64_t& rows) override {
        const std::string scripted = Scripted("rows");
        rows = scripted.empty() ? 1 : std::stoll(scripted);
        return sqlstatus::kSuccess;
    }
    SQLResult getErrorMessage(std::string& message) override {
        message = errorText_;
        return sqlstatus::kSuccess;
    }
    SQLResult close() override { return sqlstatus::kSuccess; }

  private:
    std::string errorText_;
};

class TFakeMetaData : public ISQLMetaData {
  public:
    SQLResult setOption(int option, std::intptr_t value) override {
        Record("metadata option " + std::to_string(option) + " " +
               (IsTextOption(option) ? std::string(reinterpret_cast<const char*>(value))
                                     : std::to_string(value)));
        return sqlstatus::kSuccess;
    }
    SQLResult getOption(int option, void* buffer, std::int32_t size, std::int32_t& length) override {
        if (option == metaoption::kObjectQuoteChar && size >= 1) {
            *static_cast<char*>(buffer) = '"';
            length = 1;
            return sqlstatus::kSuccess;
        }
        if ((option == metaoption::kSupportsTransactions ||
             option == metaoption::kSupportsMultipleTransactions) &&
            size >= 4) {
            const std::int32_t value = option == metaoption::kSupportsTransactions ? 1 : 0;
            std::memcpy(buffer, &value, sizeof(value));
            length = sizeof(value);
            return sqlstatus::kSuccess;
        }
        return sqlstatus::kNotSupported;
    }
    SQLResult getErrorMessage(std::string& message) override {
        message.clear();
        return sqlstatus::kSuccess;
    }
};

class TFakeConnection : public ISQLConnection {
  public:
    SQLResult setOption(int option, std::intptr_t value) override {
        Record("option " + std::to_string(option) + " " +
               (IsTextOption(option) ? std::string(reinterpret_cast<const char*>(value))
                                     : std::to_string(value)));
        return sqlstatus::kSuccess;
    }
    SQLResult getOption(int option, void* /*buffer*/, std::int32_t /*size*/,
                        std::int32_t& /*length*/) override {
        Record("get option " + std::to_string(option));
        return sqlstatus::kNotSupported;
    }
    SQLResult connect(const std::string& database, const std::string& user,
                      const std::string& password) override {
        Record("connect " + database + "|" + user + "|" + password);
        return Answer("connect", errorText_);
    }
    SQLResult disconnect() override {
        Record("disconnect");
        return sqlstatus::kSuccess;
    }
    SQLResult getSQLMetaData(std::unique_ptr<ISQLMetaData>& metaData) override {
        const SQLResult status = Answer("metadata", errorText_);
        if (status == sqlstatus::kSuccess) {
            metaData = std::make_unique<TFakeMetaData>();
        }
        return status;
    }
    SQLResult getSQLCommand(std::unique_ptr<ISQLCommand>& command) override {
        const SQLResult status = Answer("command", errorText_);
        if (status == sqlstatus::kSuccess) {
            command = std::make_unique<TFakeCommand>();
        }
        return status;
    }
    SQLResult beginTransaction(const TTransactionDesc& desc) override {
        Record("begin " + std::to_string(desc.IsolationLevel));
        return Answer("begin", errorText_);
    }
    SQLResult commit(const TTransactionDesc& /*desc*/) override {
        Record("commit");
        return Answer("commit", errorText_);
    }
    SQLResult rollback(const TTransactionDesc& /*desc*/) override {
        Record("rollback");
        return Answer("rollback", errorText_);
    }
    SQLResult getErrorMessage(std::string& message) override {
        message = errorText_;
        return sqlstatus::kSuccess;
    }

  private:
    std::string errorText_;
};

class TFakeDriver : public ISQLDriver {
  public:
    SQLResult getSQLConnection(std::unique_ptr<ISQLConnection>& connection) override {
        connection = std::make_unique<TFakeConnection>();
        return sqlstatus::kSuccess;
    }
};

}  // namespace
}  // namespace contado

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

FAKE_EXPORT contado::SQLResult getSQLDriverFAKE(const char* vendorLib, const char* errorResourceFile,
                                                contado::ISQLDriver** driver) {
    contado::Record(std::string("factory ") + vendorLib + "|" + errorResourceFile);
    std::string ignored;
    const contado::SQLResult status = contado::Answer("factory", ignored);
    *driver = status == contado::sqlstatus::kSuccess ? new contado::TFakeDriver : nullptr;
    return status;
}

FAKE_EXPORT void fakeDriverSet(const char* key, const char* value) {
    contado::Script()[key] = value;
}

FAKE_EXPORT void fakeDriverReset() {
    contado::Script().clear();
    contado::Log().clear();
}

FAKE_EXPORT const char* fakeDriverLog() {
    return contado::Log().c_str();
}

#include "tests/data/sql/connectionfixtures.h"

#include <dlfcn.h>

#include "core/exceptions.h"

namespace contado {

namespace {

void* FakeLibrary() {
    static void* library = dlopen(CONTADO_BINARY_DIR "/bin/libfakedriver.so", RTLD_NOW);
    if (library == nullptr) {
        throw std::runtime_error(dlerror());
    }
    return library;
}

template <typename Function>
Function FakeFunction(const char* name) {
    return reinterpret_cast<Function>(dlsym(FakeLibrary(), name));
}

}  // namespace

void ConfigureLikeTheMainWindow(TSQLConnection& connection, const std::string& libraryName,
                                const std::string& getDriverFunc, const std::string& database) {
    connection.SetName("Tandrel");
    connection.SetConnectionName("Tandrel");
    connection.SetDriverName("Interbase");
    connection.SetLibraryName(libraryName);
    connection.SetGetDriverFunc(getDriverFunc);
    connection.SetVendorLib("libfbclient.so.2");
    connection.SetLoginPrompt(false);
    connection.Params().SetLines({"DriverName=Interbase", "BlobSize=-1", "CommitRetain=False",
                                  "Database=" + database, "ErrorResourceFile=", "LocaleCode=0000",
                                  "Password=dovizeriz", "RoleName=RoleName", "ServerCharSet=", "SQLDialect=3",
                                  "Interbase TransIsolation=ReadCommited", "User_Name=sysdba",
                                  "WaitOnLocks=True"});
}

void FakeConnectionTest::SetUp() {
    FakeFunction<TFakeDriverReset>("fakeDriverReset")();
    ConfigureLikeTheMainWindow(connection_, "libfakedriver.so", "getSQLDriverFAKE",
                               "/srv/x/datos/01/tandrel.fdb");
}

void FakeConnectionTest::Script(const std::string& key, const std::string& value) {
    FakeFunction<TFakeDriverSet>("fakeDriverSet")(key.c_str(), value.c_str());
}

std::string FakeConnectionTest::CallLog() {
    return FakeFunction<TFakeDriverLog>("fakeDriverLog")();
}

std::vector<std::string> FakeConnectionTest::CallLines() {
    std::vector<std::string> lines;
    const std::string log = CallLog();
    std::size_t start = 0;
    for (std::size_t end = log.find('\n'); end != std::string::npos; end = log.find('\n', start)) {
        lines.push_back(log.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::string FakeConnectionTest::ConnectMessage() {
    try {
        connection_.SetConnected(true);
    } catch (const EDatabaseError& error) {
        return error.Message();
    }
    return {};
}

void FbConnectionTest::SetUp() {
    ConfigureLikeTheMainWindow(connection_, "libfbdriver.so", "getSQLDriverFIREBIRD",
                               company_.DatabasePath());
}

std::vector<std::vector<TDriverValue>> FbConnectionTest::Query(const std::string& sql) {
    std::unique_ptr<ISQLCommand> command = connection_.NewCommand();
    connection_.Check(command->prepare(sql, 0), command.get());
    std::unique_ptr<ISQLCursor> cursor;
    connection_.Check(command->execute(cursor), command.get());
    std::uint16_t columns = 0;
    cursor->getColumnCount(columns);
    std::vector<std::vector<TDriverValue>> rows;
    while (cursor->next() == sqlstatus::kSuccess) {
        auto& row = rows.emplace_back(columns);
        for (std::uint16_t column = 1; column <= columns; ++column) {
            cursor->getValue(column, row[column - 1]);
        }
    }
    connection_.Check(cursor->close(), cursor.get());
    return rows;
}

std::int64_t FbConnectionTest::CountTestAdjustments() {
    return Query("select count(*) from AJUSTE_CIERRE where AJCI_ID >= 9000").at(0).at(0).Integer;
}

std::string FbConnectionTest::ExecuteMessage(const std::string& sql, const TParams* params) {
    try {
        connection_.Execute(sql, params);
    } catch (const EDatabaseError& error) {
        return error.Message();
    }
    return {};
}

}  // namespace contado

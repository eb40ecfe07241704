// Loads a driver plugin, connects to a database and inserts one TARIFA row.
// Usage: contado_dbprobe DRIVER_LIBRARY DATABASE ID. Prints "ok", or the driver's error text and
// ends with status 1.

#include <dlfcn.h>

#include <cstdio>
#include <memory>
#include <string>

#include "platform/sqldriver.h"

namespace {

int Fail(const std::string& text) {
    std::printf("%s\n", text.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace contado;
    if (argc != 4) {
        return Fail("usage: contado_dbprobe DRIVER_LIBRARY DATABASE ID");
    }
    void* library = dlopen(argv[1], RTLD_NOW);
    auto factory = library == nullptr
                       ? nullptr
                       : reinterpret_cast<TGetDriverFunc>(dlsym(library, "getSQLDriverFIREBIRD"));
    ISQLDriver* driver = nullptr;
    if (factory == nullptr || factory("libfbclient.so.2", "", &driver) != sqlstatus::kSuccess) {
        return Fail("the driver does not load");
    }
    std::unique_ptr<ISQLConnection> connection;
    driver->getSQLConnection(connection);
    std::string text;
    if (connection->connect(argv[2], "SYSDBA", "") != sqlstatus::kSuccess) {
        connection->getErrorMessage(text);
        return Fail(text);
    }
    std::unique_ptr<ISQLCommand> command;
    connection->getSQLCommand(command);
    std::unique_ptr<ISQLCursor> cursor;
    if (command->prepare(std::string("insert into TARIFA (ID) values (") + argv[3] + ")", 0) !=
            sqlstatus::kSuccess ||
        command->execute(cursor) != sqlstatus::kSuccess) {
        command->getErrorMessage(text);
        return Fail(text);
    }
    command.reset();
    connection->disconnect();
    std::printf("ok\n");
    return 0;
}

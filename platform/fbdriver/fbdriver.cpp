#include "platform/fbdriver/fbdriver.h"

#include <string>

#include "platform/fbdriver/fbclient.h"
#include "platform/fbdriver/fbconnection.h"
#include "platform/fbdriver/fbshutdown.h"
#include "platform/fbdriver/fbwatchdog.h"

namespace contado {

SQLResult TFbDriver::getSQLConnection(std::unique_ptr<ISQLConnection>& connection) {
    connection = std::make_unique<TFbConnection>(client_);
    return sqlstatus::kSuccess;
}

}  // namespace contado

// The factory the program looks up by name. The error resource file is not used: the texts come
// from Firebird's own message file.
extern "C" __attribute__((visibility("default"))) contado::SQLResult getSQLDriverFIREBIRD(
    const char* vendorLib, const char* /*errorResourceFile*/, contado::ISQLDriver** driver) {
    if (driver == nullptr || vendorLib == nullptr) {
        return contado::sqlstatus::kInvalidParameter;
    }
    *driver = nullptr;
    std::string error;
    contado::TFbClient* client = contado::TFbClient::Load(vendorLib, error);
    if (client == nullptr) {
        return contado::sqlstatus::kDriverInitFailed;
    }
    *driver = new contado::TFbDriver(*client);
    return contado::sqlstatus::kSuccess;
}

// Ends the database work of the whole process at once, from any thread: running statements are
// cancelled, transactions rolled back, attachments closed. The program calls it when it is told to end.
extern "C" __attribute__((visibility("default"))) void stopSQLDriverFIREBIRD() {
    contado::TFbShutdown::StopEngine();
}

// Cuts, from any thread, the calls that wait on the server, so the thread that made them gets
// them back at once; nothing else of the client is touched, so that thread may go on using it.
extern "C" __attribute__((visibility("default"))) void cutSQLDriverFIREBIRD() {
    contado::TFbWatchdog::AbortAll();
}

// The machine settings file over arbitrary bytes: the application directory is a text or the
// documented "Invalid data type" error, and the wait limits always come out within 1 to 86400.
#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/run/waitlimits.h"
#include "core/exceptions.h"
#include "platform/services/registry.h"

namespace {

QString ConfigRoot() {
    static const QString root = [] {
        const QString folder = QDir::tempPath() + "/contado-fuzz-settings-" + QString::number(getpid());
        QDir().mkpath(folder + "/Ombrin");
        qputenv("XDG_CONFIG_DIRS", folder.toLocal8Bit());
        return folder;
    }();
    return root;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QFile file(ConfigRoot() + "/Ombrin/TandrelERP2017.conf");
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::abort();
    }
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    file.close();

    contado::TRegistry registry;
    if (registry.OpenKeyReadOnly("\\Software\\Ombrin\\TandrelERP2017")) {
        try {
            registry.ReadString("Directorio");
        } catch (const contado::Exception& error) {
            if (error.Message() != "Invalid data type for 'Directorio'") {
                std::abort();
            }
        }
    }
    for (const int seconds : {contado::TWaitLimits::ConnectSeconds(), contado::TWaitLimits::LockSeconds()}) {
        if (seconds < 1 || seconds > 86400) {
            std::abort();
        }
    }
    return 0;
}

// The machine settings file over arbitrary bytes: the application directory is a text or the
// documented "Invalid data type" error, and the wait limits always come out within 1 to 86400.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/run/waitlimits.h"
#include "core/exceptions.h"
#include "platform/services/registry.h"

namespace {

std::filesystem::path ConfigRoot() {
    static const std::filesystem::path root = [] {
        const std::filesystem::path folder =
            std::filesystem::temp_directory_path() / ("contado-fuzz-settings-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder / "Ombrin");
        setenv("XDG_CONFIG_DIRS", folder.c_str(), 1);
        return folder;
    }();
    return root;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::ofstream file(ConfigRoot() / "Ombrin" / "TandrelERP2017.conf", std::ios::binary | std::ios::trunc);
    if (!file) {
        std::abort();
    }
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
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

#include "app/run/programstart.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/run/commandline.h"
#include "app/run/terminationsignals.h"

namespace contado {

namespace {

bool IsSet(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0';
}

}  // namespace

void HidePassword(const TCommandLine& commandLine, int argc, char** argv) {
    for (const std::size_t index : commandLine.PasswordCandidates()) {
        if (index < static_cast<std::size_t>(argc)) {
            std::memset(argv[index], 0, std::strlen(argv[index]));
        }
    }
}

void ChoosePlatformWithoutDisplay() {
    if (!IsSet("QT_QPA_PLATFORM") && !IsSet("DISPLAY") && !IsSet("WAYLAND_DISPLAY")) {
        setenv("QT_QPA_PLATFORM", "minimal", 1);
    }
}

std::string ChosenPlatform() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    return platform != nullptr ? platform : "";
}

bool PlatformWithoutDisplay(const std::string& platform) {
    const std::string name = platform.substr(0, platform.find(':'));
    return name == "offscreen" || name == "minimal";
}

TExitStatus RefuseWindowWithoutDisplay(const std::string& platform) {
    std::fprintf(stderr,
                 "contado: no hay pantalla (plataforma %s): la ventana necesita una; sin ella solo "
                 "se puede contabilizar con los cuatro argumentos (contado --help)\n",
                 platform.c_str());
    return esRunFailed;
}

void EndNow() {
    std::fflush(nullptr);
    _exit(128 + TTerminationSignals::FirstSignal());
}

}  // namespace contado

// The program as it starts: it posts without loading any window toolkit when nobody can see a
// window (a scheduler's run), and otherwise becomes the window's program, which lives beside it.

#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "app/run/commandline.h"
#include "app/run/companydata.h"
#include "app/run/exitstatus.h"
#include "app/run/programstart.h"
#include "app/run/rundisplay.h"
#include "app/run/terminationsignals.h"
#include "app/run/unattendedrun.h"
#include "core/component.h"
#include "data/client/clientdataset.h"
#include "data/sql/driverstop.h"
#include "platform/services/eventhandler.h"

namespace {

constexpr const char* kWindowProgram = "contado-ventana";

// "--help" and "--version" as the single argument print their text; any other command line is the
// program's own (a password "--help" among four arguments stays a password).
bool PrintProgramInfo(int argc, char** argv) {
    if (argc != 2) {
        return false;
    }
    if (std::strcmp(argv[1], "--version") == 0) {
        std::printf("contado %s\n", CONTADO_VERSION);
        return true;
    }
    if (std::strcmp(argv[1], "--help") == 0) {
        std::printf(
            "Uso: contado [SERVIDOR USUARIO CLAVE COMPAÑÍA [--desde AAAA-MM-DD] [--ensayo]]\n"
            "Sin argumentos abre la ventana \"Contabilizar ventas de contado\".\n"
            "Con los cuatro contabiliza el día de hoy sin nadie al teclado y termina.\n"
            "CLAVE \"-\" toma la clave de la credencial \"clave\" del servicio (systemd) o de la\n"
            "variable ISC_PASSWORD.\n"
            "--desde AAAA-MM-DD (o --desde=AAAA-MM-DD) contabiliza cada día desde esa fecha hasta hoy;\n"
            "las opciones van en cualquier lugar, \"--\" las termina.\n"
            "--ensayo hace todo y luego lo deshace: muestra lo que se contabilizaría.\n"
            "Lo contabilizado sale por la salida estándar, una línea por fila, separada por\n"
            "tabuladores; los mensajes, por la salida de errores.\n"
            "Estado de salida: 0 contabilizado, 1 nada que contabilizar, 2 error en una ejecución\n"
            "desatendida sin pantalla, 128 + señal si se le pidió terminar.\n"
            "Más en man contado.\n");
        return true;
    }
    return false;
}

// The window's program from the folder of this one's real file, with the same arguments; only
// returns when it cannot be started.
int StartWindow(char** argv) {
    char self[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string program = kWindowProgram;
    if (length > 0) {
        const std::string path(self, static_cast<std::size_t>(length));
        program = path.substr(0, path.rfind('/') + 1) + kWindowProgram;
    }
    execv(program.c_str(), argv);
    std::fprintf(stderr, "contado: no se pudo abrir la ventana (%s): %s\n", program.c_str(), std::strerror(errno));
    return contado::esRunFailed;
}

// The window's data module without the window: the same components under a plain owner, the same
// settings read, the same run, nothing shown but the boxes' lines on standard error.
int RunWithoutWindow(const contado::TCommandLine& commandLine) {
    contado::TComponent owner;
    contado::TCompanyData data(owner);
    contado::RunHandler([&data, &owner] {
        data.ConfigurarProviders(&owner);
        data.LeerServidores();
    });
    contado::TRunDisplay nothingShown;
    contado::TUnattendedRun run(data, commandLine, nothingShown, std::cout);
    const contado::TExitStatus status = run.ExecuteToTheEnd();
    data.CRepArticulos->Close();
    // What was not committed when the stop came is rolled back; nothing reaches the database after it.
    if (contado::TTerminationSignals::FirstSignal() != 0) {
        contado::TDriverStop::StopAll();
        contado::EndNow();
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    if (PrintProgramInfo(argc, argv)) {
        return 0;
    }
    contado::ChoosePlatformWithoutDisplay();
    const std::string platform = contado::ChosenPlatform();
    if (!contado::PlatformWithoutDisplay(platform)) {
        return StartWindow(argv);
    }
    const std::vector<std::string> arguments(argv, argv + argc);
    const contado::TCommandLine commandLine(arguments);
    contado::HidePassword(commandLine, argc, argv);
    if (!commandLine.Unattended()) {
        return contado::RefuseWindowWithoutDisplay(platform);
    }
    contado::TTerminationSignals::Install();
    return RunWithoutWindow(commandLine);
}

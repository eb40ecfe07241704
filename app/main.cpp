#include <unistd.h>

#include <QApplication>
#include <QStyleFactory>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/commandline.h"
#include "app/exitstatus.h"
#include "app/fquenvar.h"
#include "app/terminationsignals.h"
#include "controls/accessibilityfactory.h"
#include "controls/messageform.h"
#include "data/sql/driverstop.h"
#include "data/sql/sqlconnection.h"
#include "platform/system/application.h"
#include "platform/system/busycursor.h"
#include "platform/system/messageboxservice.h"
#include "platform/system/resourcebitmap.h"

namespace {

void ShowBusyCursor(bool busy) {
    if (busy) {
        contado::TBusyCursor::Start();
    } else {
        contado::TBusyCursor::End();
    }
}

// Blanks the password in the process's own argument area, which is what other users read in `ps`:
// every argument that may be it, so an empty argument before it cannot leave it readable.
void HidePassword(const contado::TCommandLine& commandLine, int argc, char** argv) {
    for (const std::size_t index : commandLine.PasswordCandidates()) {
        if (index < static_cast<std::size_t>(argc)) {
            std::memset(argv[index], 0, std::strlen(argv[index]));
        }
    }
}

bool IsSet(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0';
}

// Started from cron or ssh there is no display, where the toolkit would abort: the program then
// runs on the minimal platform, where an unattended run needs none. Nothing there is ever seen, so
// it reads no fonts: reading them took a sixth of a run that finds nothing to post.
void ChoosePlatformWithoutDisplay() {
    if (!IsSet("QT_QPA_PLATFORM") && !IsSet("DISPLAY") && !IsSet("WAYLAND_DISPLAY")) {
        setenv("QT_QPA_PLATFORM", "minimal", 1);
    }
}

// Ends the process at once with the signal's status. The run report is flushed; nothing is torn
// down, so no destructor or exit handler of the database client can run while the guard's stop is
// still inside the client.
[[noreturn]] void EndNow() {
    std::fflush(nullptr);
    _exit(128 + contado::TTerminationSignals::FirstSignal());
}

// Nobody waits for a click any more; the database work is stopped, so whatever was not committed is
// rolled back and nothing reaches the database afterwards; then the process ends, from whatever
// event loop (a box's included) heard the signal.
void EndOnSignal() {
    contado::SetMessageBoxWindow([](const contado::TMessageBoxRequest& request) {
        return contado::UnattendedAnswer(request.buttons);
    });
    contado::TDriverStop::StopAll();
    EndNow();
}

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

}  // namespace

int main(int argc, char** argv) {
    if (PrintProgramInfo(argc, argv)) {
        return 0;
    }
    // The arguments exactly as given; the toolkit sees none of them, so no option of its own (such
    // as -reverse or -style) is taken out of them.
    const std::vector<std::string> arguments(argv, argv + argc);
    const contado::TCommandLine commandLine(arguments);
    HidePassword(commandLine, argc, argv);
    ChoosePlatformWithoutDisplay();
    contado::TTerminationSignals::Install();
    int toolkitArgc = 1;
    char* toolkitArgv[] = {argv[0], nullptr};
    contado::TApplication application(toolkitArgc, toolkitArgv);
    QApplication::setApplicationName(QStringLiteral("Contabiliza ventas contado"));
    // The desktop entry's name (Wayland's app id) and its icon on every window that can be seen.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.ombrin.Contado"));
    if (!contado::RunsWithoutDisplay()) {
        QApplication::setWindowIcon(contado::ApplicationIcon());
    }
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    contado::TAccessibilityFactory::Install();
    // A window nobody can see would wait for ever for a clerk.
    if (!commandLine.Unattended() && contado::RunsWithoutDisplay()) {
        std::fprintf(stderr,
                     "contado: no hay pantalla (plataforma %s): la ventana necesita una; sin ella solo "
                     "se puede contabilizar con los cuatro argumentos (contado --help)\n",
                     qPrintable(QGuiApplication::platformName()));
        return contado::esRunFailed;
    }
    contado::TMessageForm::InstallAsMessageBoxWindow();
    contado::TSQLConnection::SetBusyCursorHook(ShowBusyCursor);

    // The window frees itself when it closes, and the program ends with it. The end is queued, so a
    // window that closes while it is first shown (an unattended run without a display) still ends
    // the event loop that starts afterwards.
    int exitStatus = contado::esDone;
    auto* fquenvar = new contado::Tfquenvar(arguments);
    QObject::connect(
        fquenvar, &contado::Tfquenvar::ProgramEnding, &application,
        [&exitStatus](int status) {
            exitStatus = status;
            QCoreApplication::exit(status);
        },
        Qt::QueuedConnection);
    contado::TTerminationSignals terminationSignals;
    QObject::connect(&terminationSignals, &contado::TTerminationSignals::Received, &application,
                     [] { EndOnSignal(); });
    // The main window starts active, as the clerk expects, also where no window manager gives it
    // the focus (a bare X server); its first activation starts an unattended run.
    fquenvar->show();
    fquenvar->activateWindow();
    application.exec();
    if (contado::TTerminationSignals::FirstSignal() != 0) {
        EndNow();
    }
    return exitStatus;
}

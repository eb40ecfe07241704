#include <QApplication>
#include <QPointer>
#include <QStyleFactory>
#include <cstring>
#include <string>
#include <vector>

#include "app/fquenvar.h"
#include "app/terminationsignals.h"
#include "controls/messageform.h"
#include "data/sql/driverstop.h"
#include "data/sql/sqlconnection.h"
#include "platform/system/busycursor.h"
#include "platform/system/messageboxservice.h"

namespace {

// The position of the password among the arguments that are not empty.
constexpr int kPasswordArgument = 3;

void ShowBusyCursor(bool busy) {
    if (busy) {
        contado::TBusyCursor::Start();
    } else {
        contado::TBusyCursor::End();
    }
}

// Blanks the password in the process's own argument area, which is what other users read in `ps`.
void HidePassword(int argc, char** argv) {
    int position = 0;
    for (int index = 1; index < argc; ++index) {
        if (argv[index][0] != '\0' && ++position == kPasswordArgument) {
            std::memset(argv[index], 0, std::strlen(argv[index]));
            return;
        }
    }
}

// Nobody waits for a click any more; the database work is stopped, so whatever was not committed is
// rolled back and nothing reaches the database afterwards; the window closes and every event loop,
// a box's included, ends.
void EndOnSignal(QPointer<contado::Tfquenvar> window) {
    contado::SetMessageBoxWindow([](const contado::TMessageBoxRequest& request) {
        return contado::UnattendedAnswer(request.buttons);
    });
    contado::TDriverStop::StopAll();
    if (window) {
        window->close();
    }
    const int status = 128 + contado::TTerminationSignals::FirstSignal();
    QCoreApplication::exit(status);
    // Queued as well: a signal met during the window's first showing comes before the main loop runs.
    QMetaObject::invokeMethod(
        qApp, [status] { QCoreApplication::exit(status); }, Qt::QueuedConnection);
}

}  // namespace

int main(int argc, char** argv) {
    // The arguments exactly as given; the toolkit sees none of them, so no option of its own (such
    // as -reverse or -style) is taken out of them.
    const std::vector<std::string> commandLine(argv, argv + argc);
    HidePassword(argc, argv);
    contado::TTerminationSignals::Install();
    int toolkitArgc = 1;
    char* toolkitArgv[] = {argv[0], nullptr};
    QApplication application(toolkitArgc, toolkitArgv);
    QApplication::setApplicationName(QStringLiteral("Contabiliza ventas contado"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    contado::TMessageForm::InstallAsMessageBoxWindow();
    contado::TSQLConnection::SetBusyCursorHook(ShowBusyCursor);

    // The window frees itself when it closes, and the program ends with it. The end is queued, so a
    // window that closes while it is first shown (an unattended run without a display) still ends
    // the event loop that starts afterwards.
    int exitStatus = contado::esDone;
    auto* fquenvar = new contado::Tfquenvar(commandLine);
    QObject::connect(
        fquenvar, &contado::Tfquenvar::ProgramEnding, &application,
        [&exitStatus](int status) {
            exitStatus = status;
            QCoreApplication::exit(status);
        },
        Qt::QueuedConnection);
    contado::TTerminationSignals terminationSignals;
    QObject::connect(&terminationSignals, &contado::TTerminationSignals::Received, &application,
                     [window = QPointer<contado::Tfquenvar>(fquenvar)] { EndOnSignal(window); });
    // The main window starts active, as the clerk expects, also where no window manager gives it
    // the focus (a bare X server); its first activation starts an unattended run.
    fquenvar->show();
    fquenvar->activateWindow();
    application.exec();
    const int signalNumber = contado::TTerminationSignals::FirstSignal();
    return signalNumber != 0 ? 128 + signalNumber : exitStatus;
}

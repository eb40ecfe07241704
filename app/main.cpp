// The window's program: the clerk's window, and the unattended run a window shows. The program
// the user starts becomes this one when a window can be seen.

#include <QApplication>
#include <QStyleFactory>
#include <string>
#include <vector>

#include "app/fquenvar.h"
#include "app/run/commandline.h"
#include "app/run/exitstatus.h"
#include "app/run/programstart.h"
#include "app/run/terminationsignals.h"
#include "app/terminationnotifier.h"
#include "controls/accessibilityfactory.h"
#include "controls/messageform.h"
#include "data/sql/driverstop.h"
#include "data/sql/sqlconnection.h"
#include "platform/services/messageboxservice.h"
#include "platform/services/msgdlg.h"
#include "platform/system/application.h"
#include "platform/system/busycursor.h"
#include "platform/system/resourcebitmap.h"

namespace {

void ShowBusyCursor(bool busy) {
    if (busy) {
        contado::TBusyCursor::Start();
    } else {
        contado::TBusyCursor::End();
    }
}

// Nobody waits for a click any more; the database work is stopped, so whatever was not committed is
// rolled back and nothing reaches the database afterwards; then the process ends, from whatever
// event loop (a box's included) heard the signal.
void EndOnSignal() {
    contado::SetMessageBoxWindow([](const contado::TMessageBoxRequest& request) {
        return contado::UnattendedAnswer(request.buttons);
    });
    contado::TDriverStop::StopAll();
    contado::EndNow();
}

}  // namespace

int main(int argc, char** argv) {
    // The arguments exactly as given; the toolkit sees none of them, so no option of its own (such
    // as -reverse or -style) is taken out of them.
    const std::vector<std::string> arguments(argv, argv + argc);
    const contado::TCommandLine commandLine(arguments);
    contado::HidePassword(commandLine, argc, argv);
    contado::ChoosePlatformWithoutDisplay();
    contado::TTerminationSignals::Install();
    int toolkitArgc = 1;
    char* toolkitArgv[] = {argv[0], nullptr};
    contado::TApplication application(toolkitArgc, toolkitArgv);
    QApplication::setApplicationName(QString::fromStdString(contado::ApplicationTitle()));
    // The desktop entry's name (Wayland's app id) and its icon on every window that can be seen.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.ombrin.Contado"));
    if (!contado::RunsWithoutDisplay()) {
        QApplication::setWindowIcon(contado::ApplicationIcon());
    }
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    contado::TAccessibilityFactory::Install();
    // A window nobody can see would wait for ever for a clerk.
    if (!commandLine.Unattended() && contado::RunsWithoutDisplay()) {
        return contado::RefuseWindowWithoutDisplay(QGuiApplication::platformName().toStdString());
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
    contado::TTerminationNotifier terminationSignals;
    QObject::connect(&terminationSignals, &contado::TTerminationNotifier::Received, &application,
                     [] { EndOnSignal(); });
    // The main window starts active, as the clerk expects, also where no window manager gives it
    // the focus (a bare X server); its first activation starts an unattended run.
    fquenvar->show();
    fquenvar->activateWindow();
    application.exec();
    if (contado::TTerminationSignals::FirstSignal() != 0) {
        contado::EndNow();
    }
    return exitStatus;
}

#include <QApplication>
#include <QStyleFactory>
#include <string>
#include <vector>

#include "app/fquenvar.h"
#include "controls/messageform.h"
#include "data/sql/sqlconnection.h"
#include "platform/system/busycursor.h"

namespace {

// The arguments left once Qt has taken its own options (-platform and the like).
std::vector<std::string> CommandLine(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

void ShowBusyCursor(bool busy) {
    if (busy) {
        contado::TBusyCursor::Start();
    } else {
        contado::TBusyCursor::End();
    }
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Contabiliza ventas contado"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    contado::TMessageForm::InstallAsMessageBoxWindow();
    contado::TSQLConnection::SetBusyCursorHook(ShowBusyCursor);

    // The window frees itself when it closes, and the program ends with it. The end is queued, so a
    // window that closes while it is first shown (an unattended run without a display) still ends
    // the event loop that starts afterwards.
    int exitStatus = contado::esDone;
    auto* fquenvar = new contado::Tfquenvar(CommandLine(argc, argv));
    QObject::connect(
        fquenvar, &contado::Tfquenvar::ProgramEnding, &application,
        [&exitStatus](int status) {
            exitStatus = status;
            QCoreApplication::exit(status);
        },
        Qt::QueuedConnection);
    // The main window starts active, as the clerk expects, also where no window manager gives it
    // the focus (a bare X server); its first activation starts an unattended run.
    fquenvar->show();
    fquenvar->activateWindow();
    application.exec();
    return exitStatus;
}

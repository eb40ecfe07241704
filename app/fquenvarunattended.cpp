// The unattended run in the window: started with server, user, password and company on the command
// line, the window does the day's work on its first activation and ends the program.

#include <QComboBox>
#include <QLineEdit>
#include <iostream>

#include "app/fquenvar.h"
#include "app/run/unattendedrun.h"
#include "platform/services/messageboxservice.h"

namespace contado {

// With a display, an error that stops the run leaves the window open for the clerk to take over;
// without one nobody can, and the program ends.
void Tfquenvar::FormActivate() {
    if (!primeraActivacion) {
        return;
    }
    primeraActivacion = false;
    if (ParamStr(4).empty()) {
        return;
    }
    PonerServidor(ParamStr(1));
    Tusua->setText(QString::fromStdString(ParamStr(2)));
    Cia->setText(QString::fromStdString(ParamStr(4)));
    TUnattendedRun run(*this, commandLine_, *this, std::cout);
    exitStatus_ = RunsWithoutDisplay() ? run.ExecuteToTheEnd() : run.Execute();
    close();
}

void Tfquenvar::PonerServidor(const std::string& server) {
    const QString text = QString::fromStdString(server);
    int index = Servidor->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0) {
        Servidor->addItem(text);
        index = Servidor->count() - 1;
    }
    Servidor->setCurrentIndex(index);
}

}  // namespace contado

// The unattended run: started with server, user, password and company on the command line, the
// window does the day's work on its first activation and ends the program.

#include <QComboBox>
#include <QLineEdit>

#include "app/fquenvar.h"
#include "core/exceptions.h"
#include "platform/system/eventhandler.h"
#include "platform/system/messageboxservice.h"

namespace contado {

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
    TClave->setText(QString::fromStdString(ParamStr(3)));
    Cia->setText(QString::fromStdString(ParamStr(4)));
    if (!RunsWithoutDisplay()) {
        CorridaDesatendida();
        return;
    }
    try {
        CorridaDesatendida();
    } catch (const EAbort&) {
        TerminarCorridaFallida(nullptr);
    } catch (const std::exception& error) {
        TerminarCorridaFallida(&error);
    }
}

void Tfquenvar::CorridaDesatendida() {
    CiaExit();
}

// The error is shown as ever (one line on standard error); an abort was shown by its handler.
void Tfquenvar::TerminarCorridaFallida(const std::exception* error) {
    if (error != nullptr) {
        ShowDefaultErrorBox(error->what());
    }
    exitStatus_ = esRunFailed;
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

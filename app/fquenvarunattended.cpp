// The unattended run: started with server, user, password and company on the command line, the
// window does the day's work on its first activation and ends the program.

#include <QComboBox>
#include <QLineEdit>
#include <algorithm>
#include <cstdlib>
#include <iostream>

#include "app/fquenvar.h"
#include "app/waitlimits.h"
#include "controls/datetimepicker.h"
#include "core/exceptions.h"
#include "core/formatsettings.h"
#include "data/client/clientdataset.h"
#include "data/fields/datefield.h"
#include "data/fields/fmtbcdfield.h"
#include "data/fields/integerfield.h"
#include "data/fields/stringfield.h"
#include "data/sql/sqlconnection.h"
#include "platform/system/eventhandler.h"
#include "platform/system/messageboxservice.h"

namespace contado {

namespace {

// A password argument of a single "-" is taken from the environment, so that it never shows on the
// command line, where every user of the machine can read it while the run lasts.
constexpr const char* kPasswordFromEnvironment = "-";
constexpr const char* kPasswordVariable = "ISC_PASSWORD";

std::string UnattendedPassword(const std::string& argument) {
    if (argument != kPasswordFromEnvironment) {
        return argument;
    }
    const char* password = std::getenv(kPasswordVariable);
    if (password == nullptr || *password == '\0') {
        throw EDatabaseError(std::string("Falta la clave: con \"-\" como clave, la variable de entorno ") +
                             kPasswordVariable + " debe tenerla");
    }
    return password;
}

// Nobody is there to give up on a server that never answers or on a lock held without end.
void LimitWaits(TSQLConnection& connection) {
    connection.Params().SetValue("Connection Timeout", std::to_string(TWaitLimits::ConnectSeconds()));
    connection.Params().SetValue("Lock Timeout", std::to_string(TWaitLimits::LockSeconds()));
}

}  // namespace

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
    LimitWaits(*Tandrel);
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

// Today's rows are rebuilt from the planned adjustments and stored all or nothing; a rate that no
// planned row covers keeps no row for the day. The posting run ends the program. What the posting
// returned goes to standard output. A catch-up or dry run posts its days in turn instead.
void Tfquenvar::CorridaDesatendida() {
    const TRunOptions options = TRunOptions::Parse(ExtraArguments(), Today());
    TClave->setText(QString::fromStdString(UnattendedPassword(ParamStr(3))));
    CiaExit();
    report_ = std::make_unique<TRunReport>(std::cout);
    if (options.Extended()) {
        CorridaExtendida(options);
        return;
    }
    ReconstruirAjustesDelDia();
    SpeedButton3Click();
}

std::vector<std::string> Tfquenvar::ExtraArguments() const {
    const std::size_t first = std::min<std::size_t>(5, commandLine_.size());
    return std::vector<std::string>(commandLine_.begin() + static_cast<std::ptrdiff_t>(first), commandLine_.end());
}

void Tfquenvar::ReconstruirAjustesDelDia() {
    BorrarAjustesDelDia();
    AbrirTarifas();
    CAjusteAu->Open();
    while (!CTarifas->Eof()) {
        CopiarAjustePrevisto(*CTarifas->Fields(0));
        CTarifas->Next();
    }
    CAjuste->ApplyUpdates(0);
}

void Tfquenvar::CopiarAjustePrevisto(const TField& rate) {
    Cborrar->Close();
    Cborrar->SetCommandText(ConsultaAjustePrevisto(rate));
    Cborrar->Open();
    const TField& plannedId = *Cborrar->Fields(0);
    if (plannedId.AsString().empty() || !CAjusteAu->Locate("AJCI_ID", {plannedId.Value()}, {})) {
        return;
    }
    CAjuste->Insert();
    CAjusteAJCI_ID->SetAsInteger(0);
    CAjusteAJCI_FECINI->SetAsDateTime(EFecIni->DateTime());
    CAjusteAJCI_FECFIN->SetAsDateTime(EFecFin->DateTime());
    CAjusteAJCI_PORC->SetAsCurrency(CAjusteAuAJCI_PORC->AsCurrency());
    CAjusteAJCI_FACTOR->SetAsCurrency(CAjusteAuAJCI_FACTOR->AsCurrency());
    if (!CAjusteAuAJCI_PREFNO->IsNull()) {
        CAjusteAJCI_PREFNO->SetAsString(CAjusteAuAJCI_PREFNO->AsString());
    }
    CAjuste->Post();
}

// The planned row with the latest first day among those that cover the day and carry the rate.
// Day and rate are written as the server reads them whatever the regional settings are.
std::string Tfquenvar::ConsultaAjustePrevisto(const TField& rate) const {
    const std::string day = SqlDateText(EFecIni->DateTime());
    return "SELECT AJCI_ID FROM AJUSTE_CIERRE_AUTO WHERE AJCI_FECINI <= " + day +
           " AND AJCI_FECFIN >= " + day + " AND AJCI_PORC = " + rate.AsBCD().ToString('.') +
           " ORDER BY AJCI_FECINI DESC";
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

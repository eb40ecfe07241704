// The unattended run: started with server, user, password and company on the command line, the
// window does the day's work on its first activation and ends the program.

#include <QComboBox>
#include <QLineEdit>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <optional>

#include "app/fquenvar.h"
#include "app/terminationsignals.h"
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

// A password argument of a single "-" never shows on the command line, where every user of the
// machine can read it while the run lasts: it is the systemd credential "clave" when the service
// passes one (LoadCredential=clave:FILE), else the environment variable ISC_PASSWORD.
constexpr const char* kPasswordFromEnvironment = "-";
constexpr const char* kPasswordVariable = "ISC_PASSWORD";
constexpr const char* kCredentialName = "clave";
constexpr std::size_t kLongestCredential = 4096;

// The credential's text without its line end; empty when the service passes none.
std::string CredentialPassword() {
    const char* folder = std::getenv("CREDENTIALS_DIRECTORY");
    if (folder == nullptr || *folder == '\0') {
        return {};
    }
    const std::string path = std::string(folder) + "/" + kCredentialName;
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return {};
    }
    std::string text(kLongestCredential + 1, '\0');
    file.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(file.gcount()));
    if (text.size() > kLongestCredential) {
        throw EDatabaseError("La credencial " + path + " es demasiado larga para ser una clave");
    }
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.pop_back();
    }
    return text;
}

std::string UnattendedPassword(const std::string& argument) {
    if (argument != kPasswordFromEnvironment) {
        return argument;
    }
    if (std::string credential = CredentialPassword(); !credential.empty()) {
        return credential;
    }
    const char* password = std::getenv(kPasswordVariable);
    if (password == nullptr || *password == '\0') {
        throw EDatabaseError(std::string("Falta la clave: con \"-\" como clave, la credencial \"") +
                             kCredentialName + "\" del servicio o la variable de entorno " + kPasswordVariable +
                             " debe tenerla");
    }
    return password;
}

// The client's own clock may give up a little before the limit it was given.
constexpr std::chrono::milliseconds kLimitSlack(250);

// Nobody is there to give up on a server that never answers, on a lock held without end or on a
// server that stops answering once connected.
void LimitWaits(TSQLConnection& connection) {
    connection.Params().SetValue("Connection Timeout", std::to_string(TWaitLimits::ConnectSeconds()));
    connection.Params().SetValue("Lock Timeout", std::to_string(TWaitLimits::LockSeconds()));
    connection.Params().SetValue("Answer Timeout", std::to_string(TWaitLimits::AnswerSeconds()));
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
    DetenerSiSePidio();
    ConectarConLimite();
    report_ = std::make_unique<TRunReport>(std::cout);
    if (options.Extended()) {
        CorridaExtendida(options);
        return;
    }
    DetenerSiSePidio();
    ReconstruirAjustesDelDia();
    DetenerSiSePidio();
    SpeedButton3Click();
}

// A run told to end starts nothing new: no connection, no storing, no posting after the signal.
// The signal's own handling then ends the program with its status.
void Tfquenvar::DetenerSiSePidio() {
    if (TTerminationSignals::FirstSignal() != 0) {
        throw EAbort();
    }
}

// A server that takes the connection and never answers is given up after the connection limit
// with the client's own words, which do not say so: the message names the limit and its setting.
void Tfquenvar::ConectarConLimite() {
    const auto start = std::chrono::steady_clock::now();
    try {
        CiaExit();
    } catch (const EAbort&) {
        throw;
    } catch (const std::exception& error) {
        const int limit = TWaitLimits::ConnectSeconds();
        if (std::chrono::steady_clock::now() - start < std::chrono::seconds(limit) - kLimitSlack) {
            throw;
        }
        throw EDatabaseError("El servidor no respondió en " + std::to_string(limit) +
                             " s (EsperaConexion): " + error.what());
    }
}

std::vector<std::string> Tfquenvar::ExtraArguments() const {
    return commandLine_.Options();
}

void Tfquenvar::ReconstruirAjustesDelDia() {
    BorrarAjustesDelDia();
    AbrirTarifas();
    while (!CTarifas->Eof()) {
        CopiarAjustePrevisto(*CTarifas->Fields(0));
        CTarifas->Next();
    }
    GuardarAjustesDelDia();
}

// A rejected change stores none of the day's changes. Alone, the apply rolls its own transaction
// back; inside a day's transaction, the changes it made before the rejection are undone to a
// savepoint, and the day goes on to its posting either way.
void Tfquenvar::GuardarAjustesDelDia() {
    if (!Tandrel->InTransaction()) {
        CAjuste->ApplyUpdates(0);
        return;
    }
    Tandrel->Execute("SAVEPOINT AJUSTES_DEL_DIA");
    if (CAjuste->ApplyUpdates(0) > 0) {
        Tandrel->Execute("ROLLBACK TO SAVEPOINT AJUSTES_DEL_DIA");
    }
}

// The lookup reads the planned row's values itself: every planned row of years fetched into a table
// only to locate one of them would cost the run more than all the rest of its work.
void Tfquenvar::CopiarAjustePrevisto(const TField& rate) {
    const std::optional<TAjustePrevisto> planned = BuscarAjustePrevisto(rate);
    if (!planned) {
        return;
    }
    CAjuste->Insert();
    CAjusteAJCI_ID->SetAsInteger(0);
    CAjusteAJCI_FECINI->SetAsDateTime(EFecIni->DateTime());
    CAjusteAJCI_FECFIN->SetAsDateTime(EFecFin->DateTime());
    CAjusteAJCI_PORC->SetAsCurrency(planned->Porcentaje);
    CAjusteAJCI_FACTOR->SetAsCurrency(planned->Factor);
    if (planned->Prefijo) {
        CAjusteAJCI_PREFNO->SetAsString(*planned->Prefijo);
    }
    CAjuste->Post();
}

// Only the first row of the lookup counts. The lookup is closed at once: a full packet would keep
// the shared query open for more rows, and the posting that follows needs it free.
std::optional<Tfquenvar::TAjustePrevisto> Tfquenvar::BuscarAjustePrevisto(const TField& rate) {
    Cborrar->Close();
    Cborrar->SetCommandText(ConsultaAjustePrevisto(rate));
    Cborrar->Open();
    std::optional<TAjustePrevisto> found;
    if (!Cborrar->Fields(0)->AsString().empty()) {
        const TField& prefix = Cborrar->FieldByName("AJCI_PREFNO");
        found = TAjustePrevisto{Cborrar->FieldByName("AJCI_PORC").AsCurrency(),
                                Cborrar->FieldByName("AJCI_FACTOR").AsCurrency(),
                                prefix.IsNull() ? std::nullopt : std::optional<std::string>(prefix.AsString())};
    }
    Cborrar->Close();
    return found;
}

// The planned row with the latest first day among those that cover the day and carry the rate.
// Day and rate are written as the server reads them whatever the regional settings are.
std::string Tfquenvar::ConsultaAjustePrevisto(const TField& rate) const {
    const std::string day = SqlDateText(EFecIni->DateTime());
    return "SELECT AJCI_ID, AJCI_PORC, AJCI_FACTOR, AJCI_PREFNO FROM AJUSTE_CIERRE_AUTO WHERE AJCI_FECINI <= " + day +
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

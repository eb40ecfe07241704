// The unattended run: started with server, user, password and company on the command line, the
// day's work done on the company database, whether a window shows it or not.

#include "app/run/unattendedrun.h"

#include <chrono>
#include <cstdlib>
#include <fstream>

#include "app/run/companydata.h"
#include "app/run/rundisplay.h"
#include "app/run/terminationsignals.h"
#include "app/run/waitlimits.h"
#include "core/exceptions.h"
#include "core/formatsettings.h"
#include "data/client/clientdataset.h"
#include "data/sql/sqlconnection.h"
#include "platform/services/diagnostics.h"
#include "platform/services/eventhandler.h"

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

// A run told to end starts nothing new: no connection, no storing, no posting after the signal.
// The signal's own handling then ends the program with its status.
void DetenerSiSePidio() {
    if (TTerminationSignals::FirstSignal() != 0) {
        throw EAbort();
    }
}

// A day that stopped the run is named in the message, with the reason; the days before it stay
// posted (in a dry run, nothing stays).
[[noreturn]] void DayFailed(TDateTime day, const std::string& reason) {
    throw EDatabaseError("No se pudo contabilizar el día " + IsoDateText(day) + ": " + reason);
}

}  // namespace

TUnattendedRun::TUnattendedRun(TCompanyData& data, const TCommandLine& commandLine, TRunDisplay& display,
                               std::ostream& output)
    : data_(data), commandLine_(commandLine), display_(display), report_(output) {}

// Today's rows are rebuilt from the planned adjustments and stored all or nothing; a rate that no
// planned row covers keeps no row for the day.
TExitStatus TUnattendedRun::Execute() {
    LimitWaits(*data_.Tandrel);
    const TRunOptions options = TRunOptions::Parse(commandLine_.Options(), Today());
    ConectarConLimite();
    if (options.Extended()) {
        return CorridaExtendida(options);
    }
    DetenerSiSePidio();
    data_.ReconstruirAjustesDelDia(first_, last_);
    DetenerSiSePidio();
    return ContabilizarHoy();
}

TExitStatus TUnattendedRun::ExecuteToTheEnd() {
    try {
        return Execute();
    } catch (const EAbort&) {
        return Fallida(nullptr);
    } catch (const std::exception& error) {
        return Fallida(&error);
    }
}

// A server that takes the connection and never answers is given up after the connection limit
// with the client's own words, which do not say so: the message names the limit and its setting.
void TUnattendedRun::ConectarConLimite() {
    const TCompanyLogin login{commandLine_.Position(1), commandLine_.Position(2),
                              UnattendedPassword(commandLine_.Position(3)), commandLine_.Position(4)};
    display_.ShowLogin(login);
    DetenerSiSePidio();
    const auto start = std::chrono::steady_clock::now();
    try {
        data_.Conectar(login, display_);
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
    first_ = last_ = Today();
    display_.ShowConnected(first_);
}

TExitStatus TUnattendedRun::ContabilizarHoy() {
    display_.ShowWork("Generando informe. espere un momento...");
    const bool posted =
        data_.Contabilizar(first_, last_, false, [this](TClientDataSet& rows) { report_.WriteDay(first_, rows); });
    display_.HideWork();
    return Finalizar(posted);
}

TExitStatus TUnattendedRun::CorridaExtendida(const TRunOptions& options) {
    const std::vector<TDateTime> days = options.Days(Today());
    bool posted = false;
    if (!options.DryRun) {
        ContabilizarDias(days, posted, true);
        return Finalizar(posted);
    }
    data_.Tandrel->StartTransaction(data_.Tandrel->TransactionDesc());
    try {
        ContabilizarDias(days, posted, false);
    } catch (...) {
        data_.Tandrel->Rollback(data_.Tandrel->TransactionDesc());
        throw;
    }
    data_.Tandrel->Rollback(data_.Tandrel->TransactionDesc());
    return Finalizar(posted);
}

// Each day alone, or all inside the one transaction of a dry run.
void TUnattendedRun::ContabilizarDias(const std::vector<TDateTime>& days, bool& posted, bool eachAlone) {
    for (std::size_t index = 0; index < days.size(); ++index) {
        const TDateTime day = days[index];
        const TDayCount which{static_cast<int>(index) + 1, static_cast<int>(days.size())};
        DetenerSiSePidio();
        try {
            posted = (eachAlone ? ContabilizarDiaAparte(day, which) : ContabilizarDia(day, which)) || posted;
        } catch (const EAbort&) {
            DayFailed(day, "el error anterior detuvo la corrida");
        } catch (const std::exception& error) {
            DayFailed(day, error.what());
        }
    }
}

// A day that posts nothing (already posted, or without sales) keeps its adjustments exactly as
// they were: its rebuild and its posting are one transaction, kept only when the posting returned
// rows.
bool TUnattendedRun::ContabilizarDiaAparte(TDateTime day, const TDayCount& count) {
    const TTransactionDesc transaction = data_.Tandrel->TransactionDesc();
    data_.Tandrel->StartTransaction(transaction);
    bool posted = false;
    try {
        posted = ContabilizarDia(day, count);
    } catch (...) {
        data_.Tandrel->Rollback(transaction);
        throw;
    }
    if (posted) {
        data_.Tandrel->Commit(transaction);
    } else {
        data_.Tandrel->Rollback(transaction);
    }
    return posted;
}

// The day as both ends of the range, its adjustments rebuilt and stored (a rejected one is logged
// and the day posted all the same), then the posting of that day alone. Its place in the run is
// shown on the working panel and said on standard error.
bool TUnattendedRun::ContabilizarDia(TDateTime day, const TDayCount& count) {
    first_ = last_ = day;
    display_.ShowRange(first_, last_);
    const std::string place = "día " + std::to_string(count.Number) + " de " + std::to_string(count.Of);
    display_.ShowWork("Contabilizando el día " + DateToStr(day) + " (" + place + ")...");
    data_.ReconstruirAjustesDelDia(first_, last_);
    DetenerSiSePidio();
    // The next day reads its rows afresh, with the identifiers the database gave these.
    data_.CAjuste->Close();
    int rows = 0;
    data_.Contabilizar(first_, last_, false, [&](TClientDataSet& result) { rows = report_.WriteDay(day, result); });
    display_.HideWork();
    WriteDiagnostic(dlInformation, "Día " + IsoDateText(day) + " (" + place + "): " +
                                       (rows > 0 ? std::to_string(rows) + " filas contabilizadas"
                                                 : std::string("nada que contabilizar")));
    return rows > 0;
}

// As a plain run ends: nothing posted on any day is said.
TExitStatus TUnattendedRun::Finalizar(bool posted) {
    if (!posted) {
        TCompanyData::AvisarNadaContabilizado();
        return esNothingPosted;
    }
    return esDone;
}

// The error is shown as ever (one line on standard error); an abort was shown by its handler.
TExitStatus TUnattendedRun::Fallida(const std::exception* error) {
    if (error != nullptr) {
        ShowDefaultErrorBox(error->what());
    }
    return esRunFailed;
}

}  // namespace contado

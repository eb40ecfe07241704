// Catching up and dry runs of the unattended run: every day from a given one to today rebuilt and
// posted in turn over one connection, or the whole run done inside one transaction rolled back.

#include "app/fquenvar.h"
#include "controls/datetimepicker.h"
#include "controls/panel.h"
#include "core/exceptions.h"
#include "core/formatsettings.h"
#include "data/client/clientdataset.h"
#include "data/sql/sqlconnection.h"
#include "platform/system/diagnostics.h"
#include "platform/system/messageboxservice.h"

namespace contado {

namespace {

// A day that stopped the run is named in the message, with the reason; the days before it stay
// posted (in a dry run, nothing stays).
[[noreturn]] void DayFailed(TDateTime day, const std::string& reason) {
    throw EDatabaseError("No se pudo contabilizar el día " + IsoDateText(day) + ": " + reason);
}

}  // namespace

void Tfquenvar::CorridaExtendida(const TRunOptions& options) {
    const std::vector<TDateTime> days = options.Days(Today());
    bool posted = false;
    if (!options.DryRun) {
        ContabilizarDias(days, posted, true);
        FinalizarCorrida(posted);
        return;
    }
    Tandrel->StartTransaction(Tandrel->TransactionDesc());
    try {
        ContabilizarDias(days, posted, false);
    } catch (...) {
        Tandrel->Rollback(Tandrel->TransactionDesc());
        throw;
    }
    Tandrel->Rollback(Tandrel->TransactionDesc());
    FinalizarCorrida(posted);
}

// Each day alone, or all inside the one transaction of a dry run.
void Tfquenvar::ContabilizarDias(const std::vector<TDateTime>& days, bool& posted, bool eachAlone) {
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
bool Tfquenvar::ContabilizarDiaAparte(TDateTime day, const TDayCount& count) {
    const TTransactionDesc transaction = Tandrel->TransactionDesc();
    Tandrel->StartTransaction(transaction);
    bool posted = false;
    try {
        posted = ContabilizarDia(day, count);
    } catch (...) {
        Tandrel->Rollback(transaction);
        throw;
    }
    if (posted) {
        Tandrel->Commit(transaction);
    } else {
        Tandrel->Rollback(transaction);
    }
    return posted;
}

// The day as both ends of the range, its adjustments rebuilt and stored (a rejected one is logged
// and the day posted all the same), then the posting of that day alone. Its place in the run is
// shown on the working panel and said on standard error.
bool Tfquenvar::ContabilizarDia(TDateTime day, const TDayCount& count) {
    EFecIni->SetDateTime(ReplaceDate(EFecIni->DateTime(), day));
    EFecFin->SetDateTime(ReplaceDate(EFecFin->DateTime(), day));
    const std::string place = "día " + std::to_string(count.Number) + " de " + std::to_string(count.Of);
    MostrarPanelTrabajo(QStringLiteral("Contabilizando el día ") + QString::fromStdString(DateToStr(day)) +
                        QStringLiteral(" (") + QString::fromStdString(place) + QStringLiteral(")..."));
    ReconstruirAjustesDelDia();
    DetenerSiSePidio();
    // The next day reads its rows afresh, with the identifiers the database gave these.
    CAjuste->Close();
    CRepArticulos->Close();
    CRepArticulos->SetCommandText(SentenciaContabilizacion());
    CRepArticulos->Open();
    const int rows = report_->WriteDay(day, *CRepArticulos);
    CRepArticulos->Close();
    Panel5->hide();
    WriteDiagnostic(dlInformation, "Día " + IsoDateText(day) + " (" + place + "): " +
                                       (rows > 0 ? std::to_string(rows) + " filas contabilizadas"
                                                 : std::string("nada que contabilizar")));
    return rows > 0;
}

// As a plain run ends: nothing posted on any day is said, and the program ends.
void Tfquenvar::FinalizarCorrida(bool posted) {
    if (!posted) {
        exitStatus_ = esNothingPosted;
        ShowMessage("No se pudo contabilizar las facturas.");
    }
    close();
}

}  // namespace contado

// Catching up and dry runs of the unattended run: every day from a given one to today rebuilt and
// posted in turn over one connection, or the whole run done inside one transaction rolled back.

#include "app/fquenvar.h"
#include "controls/datetimepicker.h"
#include "controls/panel.h"
#include "core/exceptions.h"
#include "core/formatsettings.h"
#include "data/client/clientdataset.h"
#include "data/sql/sqlconnection.h"
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
        ContabilizarDias(days, posted);
        FinalizarCorrida(posted);
        return;
    }
    Tandrel->StartTransaction(Tandrel->TransactionDesc());
    try {
        ContabilizarDias(days, posted);
    } catch (...) {
        Tandrel->Rollback(Tandrel->TransactionDesc());
        throw;
    }
    Tandrel->Rollback(Tandrel->TransactionDesc());
    FinalizarCorrida(posted);
}

void Tfquenvar::ContabilizarDias(const std::vector<TDateTime>& days, bool& posted) {
    for (const TDateTime day : days) {
        try {
            posted = ContabilizarDia(day) || posted;
        } catch (const EAbort&) {
            DayFailed(day, "el error anterior detuvo la corrida");
        } catch (const std::exception& error) {
            DayFailed(day, error.what());
        }
    }
}

// The day as both ends of the range, its adjustments rebuilt and stored (a rejected one is logged
// and the day posted all the same), then the posting of that day alone.
bool Tfquenvar::ContabilizarDia(TDateTime day) {
    EFecIni->SetDateTime(ReplaceDate(EFecIni->DateTime(), day));
    EFecFin->SetDateTime(ReplaceDate(EFecFin->DateTime(), day));
    MostrarPanelTrabajo(QStringLiteral("Contabilizando el día ") + QString::fromStdString(DateToStr(day)) +
                        QStringLiteral("..."));
    ReconstruirAjustesDelDia();
    // The next day reads its rows afresh, with the identifiers the database gave these.
    CAjuste->Close();
    CRepArticulos->Close();
    CRepArticulos->SetCommandText(SentenciaContabilizacion());
    CRepArticulos->Open();
    const bool posted = report_->WriteDay(day, *CRepArticulos) > 0;
    CRepArticulos->Close();
    Panel5->hide();
    return posted;
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

// The company data module's shared work: connecting, rebuilding and storing a day's closing
// adjustments from the planned ones, and the posting procedure over a range.

#include "app/run/companydata.h"
#include "app/run/rundisplay.h"
#include "core/exceptions.h"
#include "core/formatsettings.h"
#include "data/client/clientdataset.h"
#include "data/fields/datefield.h"
#include "data/fields/fmtbcdfield.h"
#include "data/fields/integerfield.h"
#include "data/fields/stringfield.h"
#include "data/sql/sqlconnection.h"
#include "platform/services/messageboxservice.h"

namespace contado {

namespace {

// The company code is one folder name under "datos": a separator or a "." or ".." would lead the
// database path out of it, and a ":" would turn an embedded path into a server's "host:path".
void CheckCompanyCode(const std::string& company) {
    if (company.find_first_of("/\\:") != std::string::npos || company == "." || company == "..") {
        throw EDatabaseError("El código de compañía \"" + company +
                             "\" no es válido: no puede contener \"/\", \"\\\" ni \":\" ni ser \".\" o \"..\"");
    }
}

}  // namespace

// Every call reconnects, so new texts take effect. A failed connect leaves the display showing it.
void TCompanyData::Conectar(const TCompanyLogin& login, TRunDisplay& display) {
    CheckCompanyCode(login.Company);
    display.ShowWork("Conectando a la base de datos " + login.Company + " ...");
    Tandrel->SetConnected(false);
    Tandrel->Params().SetValue("Database", login.Server + "/datos/" + login.Company + "/tandrel.fdb");
    Tandrel->Params().SetValue("User_Name", login.User);
    Tandrel->Params().SetValue("password", login.Password);
    Tandrel->SetConnected(true);
    user_ = login.User;
}

// The client table reads the filter's date itself, in the regional short date format.
void TCompanyData::BorrarAjustesDelDia(TDateTime first) {
    CAjuste->SetFilter("AJCI_FECINI = " + QuotedDateText(first));
    CAjuste->SetFiltered(true);
    CAjuste->Open();
    while (!CAjuste->Eof()) {
        CAjuste->Delete();
    }
}

void TCompanyData::AbrirTarifas() {
    if (!CTarifas->Active()) {
        CTarifas->Open();
    }
    CTarifas->First();
}

// A rate that no planned row covers keeps no row for the day.
void TCompanyData::ReconstruirAjustesDelDia(TDateTime first, TDateTime last) {
    BorrarAjustesDelDia(first);
    AbrirTarifas();
    while (!CTarifas->Eof()) {
        CopiarAjustePrevisto(*CTarifas->Fields(0), first, last);
        CTarifas->Next();
    }
    GuardarAjustesDelDia();
}

// A rejected change stores none of the day's changes. Alone, the apply rolls its own transaction
// back; inside a day's transaction, the changes it made before the rejection are undone to a
// savepoint, and the day goes on to its posting either way.
void TCompanyData::GuardarAjustesDelDia() {
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
void TCompanyData::CopiarAjustePrevisto(const TField& rate, TDateTime first, TDateTime last) {
    const std::optional<TAjustePrevisto> planned = BuscarAjustePrevisto(rate, first);
    if (!planned) {
        return;
    }
    CAjuste->Insert();
    CAjusteAJCI_ID->SetAsInteger(0);
    CAjusteAJCI_FECINI->SetAsDateTime(first);
    CAjusteAJCI_FECFIN->SetAsDateTime(last);
    CAjusteAJCI_PORC->SetAsCurrency(planned->Porcentaje);
    CAjusteAJCI_FACTOR->SetAsCurrency(planned->Factor);
    if (planned->Prefijo) {
        CAjusteAJCI_PREFNO->SetAsString(*planned->Prefijo);
    }
    CAjuste->Post();
}

// Only the first row of the lookup counts. The lookup is closed at once: a full packet would keep
// the shared query open for more rows, and the posting that follows needs it free.
std::optional<TCompanyData::TAjustePrevisto> TCompanyData::BuscarAjustePrevisto(const TField& rate,
                                                                               TDateTime first) {
    Cborrar->Close();
    Cborrar->SetCommandText(ConsultaAjustePrevisto(rate, first));
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
std::string TCompanyData::ConsultaAjustePrevisto(const TField& rate, TDateTime first) {
    const std::string day = SqlDateText(first);
    return "SELECT AJCI_ID, AJCI_PORC, AJCI_FACTOR, AJCI_PREFNO FROM AJUSTE_CIERRE_AUTO WHERE AJCI_FECINI <= " + day +
           " AND AJCI_FECFIN >= " + day + " AND AJCI_PORC = " + rate.AsBCD().ToString('.') +
           " ORDER BY AJCI_FECINI DESC";
}

// Only whether the procedure answers any row counts: none means it posted nothing. Its work is
// stored when the result is closed.
bool TCompanyData::Contabilizar(TDateTime first, TDateTime last, bool niif,
                                const std::function<void(TClientDataSet&)>& readResult) {
    CRepArticulos->Close();
    CRepArticulos->SetCommandText(SentenciaContabilizacion(first, last, niif));
    CRepArticulos->Open();
    if (readResult) {
        readResult(*CRepArticulos);
    }
    const bool posted = !CRepArticulos->IsEmpty();
    CRepArticulos->Close();
    return posted;
}

void TCompanyData::AvisarNadaContabilizado() {
    ShowMessage("No se pudo contabilizar las facturas.");
}

// The days are written as the server reads them whatever the regional date format is.
std::string TCompanyData::SentenciaContabilizacion(TDateTime first, TDateTime last, bool niif) {
    const std::string procedure = niif ? "contado_ralvek_niif" : "contado_ralvek";
    return "select * from " + procedure + "(" + SqlDateText(first) + ", " + SqlDateText(last) + ")";
}

}  // namespace contado

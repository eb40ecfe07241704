// Seeding the closing adjustments of the range's first day from the VAT rates.

#include "app/fquenvar.h"
#include "controls/datetimepicker.h"
#include "core/formatsettings.h"
#include "data/client/clientdataset.h"
#include "data/fields/datefield.h"
#include "data/fields/fmtbcdfield.h"
#include "data/fields/integerfield.h"

namespace contado {

namespace {

const TCurrency kSeedFactor = TCurrency::FromRaw(8000);

}  // namespace

// Every rate gets one row with the factor 0.8 and no prefix; what the day held is deleted.
void Tfquenvar::SembrarAjustes() {
    BorrarAjustesDelDia(EFecIni->DateTime());
    AbrirTarifas();
    while (!CTarifas->Eof()) {
        SembrarTarifa(CTarifas->Fields(0)->AsCurrency());
        CTarifas->Next();
    }
}

// A rate found among the day's rows is one the rate list gives twice: its row is kept.
void Tfquenvar::SembrarTarifa(TCurrency rate) {
    if (CAjuste->Locate("AJCI_PORC", {TBcd::FromCurrency(rate)}, {})) {
        CAjuste->Edit();
        CAjusteAJCI_FACTOR->SetAsCurrency(kSeedFactor);
        CAjuste->Post();
        return;
    }
    CAjuste->Insert();
    CAjusteAJCI_ID->SetAsInteger(0);
    CAjusteAJCI_FECINI->SetAsDateTime(EFecIni->DateTime());
    CAjusteAJCI_FECFIN->SetAsDateTime(EFecFin->DateTime());
    CAjusteAJCI_PORC->SetAsCurrency(rate);
    CAjusteAJCI_FACTOR->SetAsCurrency(kSeedFactor);
    CAjuste->Post();
}

}  // namespace contado

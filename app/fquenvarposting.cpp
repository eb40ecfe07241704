// The posting run: the company database's posting procedure over the chosen range, then the end
// of the program.

#include <QCheckBox>

#include "app/fquenvar.h"
#include "controls/captionpanel.h"
#include "controls/datetimepicker.h"

namespace contado {

// Stores an open closing-adjustment editor's changes first.
void Tfquenvar::SpeedButton3Click() {
    if (!CaptionPanel1->isHidden()) {
        CerrarEditorAjustes();
    }
    ShowWork("Generando informe. espere un momento...");
    const bool posted = Contabilizar(EFecIni->DateTime(), EFecFin->DateTime(), ckniif->isChecked());
    HideWork();
    if (!posted) {
        exitStatus_ = esNothingPosted;
        AvisarNadaContabilizado();
    }
    close();
}

}  // namespace contado

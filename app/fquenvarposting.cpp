// The posting run: the company database's posting procedure over the chosen range, then the end
// of the program.

#include <QCheckBox>

#include "app/fquenvar.h"
#include "controls/captionpanel.h"
#include "controls/datetimepicker.h"
#include "controls/panel.h"
#include "core/formatsettings.h"
#include "data/client/clientdataset.h"
#include "platform/system/messageboxservice.h"

namespace contado {

// Stores an open closing-adjustment editor's changes first. Only whether the procedure answers
// any row counts: none means it posted nothing.
void Tfquenvar::SpeedButton3Click() {
    if (!CaptionPanel1->isHidden()) {
        CerrarEditorAjustes();
    }
    MostrarPanelTrabajo(QStringLiteral("Generando informe. espere un momento..."));
    const std::string statement = SentenciaContabilizacion();
    CRepArticulos->Close();
    CRepArticulos->SetCommandText(statement);
    CRepArticulos->Open();
    if (report_) {
        report_->WriteDay(EFecIni->DateTime(), *CRepArticulos);
    }
    Panel5->hide();
    repaint();
    if (CRepArticulos->IsEmpty()) {
        exitStatus_ = esNothingPosted;
        ShowMessage("No se pudo contabilizar las facturas.");
    }
    CRepArticulos->Close();
    close();
}

// The days are written as the server reads them whatever the regional date format is.
std::string Tfquenvar::SentenciaContabilizacion() const {
    const std::string procedure = ckniif->isChecked() ? "contado_ralvek_niif" : "contado_ralvek";
    const std::string firstDay = SqlDateText(EFecIni->DateTime());
    const std::string lastDay = SqlDateText(EFecFin->DateTime());
    return "select * from " + procedure + "(" + firstDay + ", " + lastDay + ")";
}

}  // namespace contado

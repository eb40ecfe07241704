// The two adjustment grids, each below the caption bar of its panel: five columns over the
// adjustment fields, AJCI_ID left out.

#include <vector>

#include "app/fquenvar.h"
#include "controls/align.h"
#include "controls/captionpanel.h"
#include "controls/dbgridexfinddlg.h"
#include "grid/dbgridex.h"

namespace contado {

namespace {

struct TColumnSetting {
    const char* FieldName;
    int Width;
    const char* Title;
};

// Below the panel's caption bar, inside its bevel.
const QRect kGridPlace(1, 19, 303, 131);

TDBGridEx* NewGrid(QWidget* panel, const char* name, TDataSource* source,
                   const std::vector<TColumnSetting>& columns) {
    auto* grid = new TDBGridEx(panel);
    grid->setObjectName(QString::fromLatin1(name));
    grid->setGeometry(kGridPlace);
    SetAlign(grid, alClient);
    grid->SetOptionsEx({dghFixed3D, dghHighlightFocus, dghClearSelection, dghEnterAsTab, dghIncSearch,
                        dghDialogFind, dghColumnResize, dghColumnMove, dghExtendVertLines});
    for (const TColumnSetting& setting : columns) {
        TDBGridColumnEx* column = grid->Columns().Add();
        column->SetFieldName(setting.FieldName);
        column->SetWidth(setting.Width);
        column->Title().SetCaption(QString::fromUtf8(setting.Title));
    }
    grid->SetDataSource(source);
    grid->Loaded();
    return grid;
}

}  // namespace

void Tfquenvar::CreateGrids() {
    TCustomDBGridEx::SetShowFindDialog(ShowFindDialog);
    DBGridEx2 = NewGrid(CaptionPanel1, "DBGridEx2", DAjuste,
                        {{"AJCI_FECINI", 75, "F.Desde"},
                         {"AJCI_FECFIN", 75, "F.Hasta"},
                         {"AJCI_PORC", 40, "Porc"},
                         {"AJCI_FACTOR", 50, "Factor"},
                         {"AJCI_PREFNO", 40, "Pref.N/A"}});
    DBGridEx1 = NewGrid(CaptionPanel2, "DBGridEx1", DAjusteau,
                        {{"AJCI_FECINI", 75, "Fec.Desde"},
                         {"AJCI_FECFIN", 75, "Fec.Hasta"},
                         {"AJCI_PORC", 38, "Porc."},
                         {"AJCI_FACTOR", 50, "Factor"},
                         {"AJCI_PREFNO", 46, "Pref.N/A"}});
}

}  // namespace contado

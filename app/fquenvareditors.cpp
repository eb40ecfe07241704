// The two adjustment editors: F5 shows the first day's closing adjustments, freshly seeded from the
// rates, F7 the planned adjustments; closing an editor stores its changes all or nothing.

#include "app/fquenvar.h"
#include "controls/align.h"
#include "controls/captionpanel.h"
#include "controls/dbnavigator.h"
#include "data/client/clientdataset.h"
#include "data/fields/integerfield.h"
#include "grid/dbgridex.h"
#include "platform/system/systemcolors.h"
#include "platform/system/systemfonts.h"

namespace contado {

namespace {

constexpr int kNavigatorHeight = 18;

TCaptionPanel* NewCaptionPanel(QWidget* window, const char* name, const QString& caption, QPoint place) {
    auto* panel = new TCaptionPanel(window);
    panel->setObjectName(QString::fromLatin1(name));
    panel->SetCaption(caption);
    panel->SetCaptionColor(clHighlight);
    panel->SetCaptionFont(MsSansSerifFont(11), clHighlightText);
    panel->setGeometry(QRect(place, QSize(305, 169)));
    panel->hide();
    return panel;
}

// Along the bottom of its panel, under the grid: moves, inserts, deletes and cancels.
TDBNavigator* NewNavigator(TCaptionPanel* panel, const char* name, TDataSource* source) {
    auto* navigator = new TDBNavigator(panel);
    navigator->setObjectName(QString::fromLatin1(name));
    navigator->SetVisibleButtons({nbFirst, nbPrior, nbNext, nbLast, nbInsert, nbDelete, nbCancel});
    navigator->resize(navigator->width(), kNavigatorHeight);
    SetAlign(navigator, alBottom);
    navigator->SetDataSource(source);
    return navigator;
}

}  // namespace

// Created in stacking order: the planned-adjustment editor lies on top when both are open.
void Tfquenvar::CreateCaptionPanels() {
    CaptionPanel1 = NewCaptionPanel(this, "CaptionPanel1", QStringLiteral("Tarifas"), QPoint(8, 16));
    CaptionPanel2 =
        NewCaptionPanel(this, "CaptionPanel2", QStringLiteral("Tarifas previstas"), QPoint(32, 24));
}

void Tfquenvar::CreateNavigators() {
    DBNavigator1 = NewNavigator(CaptionPanel1, "DBNavigator1", DAjuste);
    DBNavigator2 = NewNavigator(CaptionPanel2, "DBNavigator2", DAjusteau);
}

void Tfquenvar::AlternarEditorAjustes() {
    if (CaptionPanel1->isHidden()) {
        AbrirEditorAjustes();
    } else {
        CerrarEditor(CaptionPanel1, CAjuste);
    }
}

void Tfquenvar::AlternarEditorPrevistos() {
    if (CaptionPanel2->isHidden()) {
        AbrirEditorPrevistos();
    } else {
        CerrarEditor(CaptionPanel2, CAjusteAu);
    }
}

// A seeding that fails leaves the table open with what it changed; the next F5 starts over on it.
void Tfquenvar::AbrirEditorAjustes() {
    SembrarAjustes();
    MostrarEditor(CaptionPanel1, DBGridEx2, CAjuste);
}

void Tfquenvar::AbrirEditorPrevistos() {
    CAjusteAu->Open();
    if (!CTarifas->Active()) {
        CTarifas->Open();
    }
    MostrarEditor(CaptionPanel2, DBGridEx1, CAjusteAu);
}

void Tfquenvar::MostrarEditor(TCaptionPanel* panel, TDBGridEx* grid, TClientDataSet* table) {
    panel->show();
    grid->setFocus(Qt::OtherFocusReason);
    table->Last();
}

// A row that cannot be posted stops the closing before anything is stored. A change the database
// rejects rolls the whole apply back, and closing the table then drops every change.
void Tfquenvar::CerrarEditor(TCaptionPanel* panel, TClientDataSet* table) {
    table->ApplyUpdates(0);
    panel->hide();
    table->Close();
}

// Hides the closing-adjustment editor before a posting run and stores its changes, as many as the
// database takes; the table stays open. A row that cannot be posted stops the run and shows the
// editor again on that row, so the clerk can complete or cancel it; hidden, it would stop every
// later F5 with the same box.
void Tfquenvar::CerrarEditorAjustes() {
    CaptionPanel1->hide();
    try {
        CAjuste->ApplyUpdates(-1);
    } catch (...) {
        CaptionPanel1->show();
        DBGridEx2->setFocus(Qt::OtherFocusReason);
        throw;
    }
}

void Tfquenvar::CAjusteAuAfterInsert(TDataSet*) {
    CAjusteAuAJCI_ID->SetAsInteger(0);
}

}  // namespace contado

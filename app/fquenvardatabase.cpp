// The main window's connection to the company database, and what it shows of a run: the login in
// its fields, the steps on its working panel, the range in its date pickers.

#include <QComboBox>
#include <QLineEdit>

#include "app/fquenvar.h"
#include "controls/datetimepicker.h"
#include "controls/panel.h"
#include "controls/speedbutton.h"
#include "platform/services/beep.h"

namespace contado {

namespace {

std::string Text(const QString& text) {
    return text.toStdString();
}

}  // namespace

// Connects to the company's database once company, user and password are filled in. Every exit
// reconnects, so new texts take effect. A failed connect leaves the working panel showing.
void Tfquenvar::CiaExit() {
    if (Cia->text().isEmpty() || Tusua->text().isEmpty() || TClave->text().isEmpty()) {
        return;
    }
    Conectar({Text(Servidor->currentText()), Text(Tusua->text()), Text(TClave->text()), Text(Cia->text())}, *this);
    ShowConnected(Today());
}

void Tfquenvar::ShowLogin(const TCompanyLogin& login) {
    PonerServidor(login.Server);
    Tusua->setText(QString::fromStdString(login.User));
    TClave->setText(QString::fromStdString(login.Password));
    Cia->setText(QString::fromStdString(login.Company));
}

// The working panel is painted at once: the window gets no chance to paint while the step lasts.
void Tfquenvar::ShowWork(const std::string& text) {
    Panel5->SetCaption(QString::fromStdString(text));
    Panel5->show();
    repaint();
}

void Tfquenvar::HideWork() {
    Panel5->hide();
    repaint();
}

void Tfquenvar::ShowConnected(TDateTime day) {
    ShowRange(day, day);
    Panel5->hide();
    EFecIni->setFocus();
    SpeedButton3->setEnabled(true);
}

// The pickers keep their time of day.
void Tfquenvar::ShowRange(TDateTime first, TDateTime last) {
    EFecIni->SetDateTime(ReplaceDate(EFecIni->DateTime(), first));
    EFecFin->SetDateTime(ReplaceDate(EFecFin->DateTime(), last));
}

void Tfquenvar::mostrar_advertencia(const std::string& Text) {
    Beep();
    Panel5->SetCaption(QString::fromStdString(Text));
}

std::string Tfquenvar::UsuarioDelRegistro() const {
    return Text(Tusua->text());
}

}  // namespace contado

// The main window's connection to the company database.

#include <QComboBox>
#include <QLineEdit>

#include "app/fquenvar.h"
#include "controls/datetimepicker.h"
#include "controls/panel.h"
#include "controls/speedbutton.h"
#include "core/exceptions.h"
#include "data/sql/sqlconnection.h"

namespace contado {

namespace {

std::string Text(const QString& text) {
    return text.toStdString();
}

// The company code is one folder name under "datos": a separator or a "." or ".." would lead the
// database path out of it, and a ":" would turn an embedded path into a server's "host:path".
void CheckCompanyCode(const QString& company) {
    if (company.contains(u'/') || company.contains(u'\\') || company.contains(u':') || company == u"." ||
        company == u"..") {
        throw EDatabaseError("El código de compañía \"" + Text(company) +
                             "\" no es válido: no puede contener \"/\", \"\\\" ni \":\" ni ser \".\" o \"..\"");
    }
}

}  // namespace

// Until the first connection these settings stand; a dataset opened before it connects with them.
void Tfquenvar::CreateConnection() {
    Tandrel = new TSQLConnection(this);
    Tandrel->SetName("Tandrel");
    Tandrel->SetConnectionName("Tandrel");
    Tandrel->SetDriverName("Interbase");
    Tandrel->SetLibraryName("libfbdriver.so");
    Tandrel->SetGetDriverFunc("getSQLDriverFIREBIRD");
    Tandrel->SetVendorLib("libfbclient.so.2");
    Tandrel->SetLoginPrompt(false);
    Tandrel->Params().SetLines(
        {"DriverName=Interbase", "BlobSize=-1", "CommitRetain=False",
         "Database=/opt/tandrelerp2017/sop/tandrel.fdb", "ErrorResourceFile=", "LocaleCode=0000",
         "Password=dovizeriz", "RoleName=RoleName", "ServerCharSet=", "SQLDialect=3",
         "Interbase TransIsolation=ReadCommited", "User_Name=sysdba", "WaitOnLocks=True"});
}

// Connects to the company's database once company, user and password are filled in. Every exit
// reconnects, so new texts take effect. A failed connect leaves the working panel showing.
void Tfquenvar::CiaExit() {
    if (Cia->text().isEmpty() || Tusua->text().isEmpty() || TClave->text().isEmpty()) {
        return;
    }
    CheckCompanyCode(Cia->text());
    MostrarPanelTrabajo(QStringLiteral("Conectando a la base de datos ") + Cia->text() +
                        QStringLiteral(" ..."));
    Tandrel->SetConnected(false);
    Tandrel->Params().SetValue(
        "Database", Text(Servidor->currentText()) + "/datos/" + Text(Cia->text()) + "/tandrel.fdb");
    Tandrel->Params().SetValue("User_Name", Text(Tusua->text()));
    Tandrel->Params().SetValue("password", Text(TClave->text()));
    Tandrel->SetConnected(true);
    EFecIni->SetDateTime(ReplaceDate(EFecIni->DateTime(), Today()));
    EFecFin->SetDateTime(ReplaceDate(EFecFin->DateTime(), Today()));
    Panel5->hide();
    EFecIni->setFocus();
    SpeedButton3->setEnabled(true);
}

void Tfquenvar::MostrarPanelTrabajo(const QString& text) {
    Panel5->SetCaption(text);
    Panel5->show();
    repaint();
}

}  // namespace contado

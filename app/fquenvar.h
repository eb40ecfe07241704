#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "app/run/commandline.h"
#include "app/run/companydata.h"
#include "app/run/exitstatus.h"
#include "app/run/rundisplay.h"
#include "controls/captionpanel.h"
#include "core/component.h"
#include "core/currency.h"
#include "core/variant.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace contado {

class TDateTimePicker;
class TDBGridEx;
class TDBNavigator;
class TGroupBox;
class TPanel;
class TSpeedButton;
class TClientDataSet;
class TDataSet;

// The main window: server, user, password and company of the database, the NIIF choice and the
// date range of the posting run, and the two buttons. Keys reach FormKeyDown before the focused
// control (key preview); Enter in the input fields moves to the next field. As a component it owns
// the connection and the data components of its data module, which find each other by name among
// its components; it shows the unattended run it starts on its first activation.
class Tfquenvar : public QWidget, public TComponent, public TCompanyData, public TRunDisplay {
    Q_OBJECT

  public:
    // commandLine: the program's arguments, the program itself first; empty ones are dropped.
    explicit Tfquenvar(const std::vector<std::string>& commandLine = {}, QWidget* parent = nullptr);
    ~Tfquenvar() override;

    // Controls, named as the window's components.
    TPanel* Panel2 = nullptr;
    QLabel* LabelExplicacion = nullptr;
    TGroupBox* GroupBox1 = nullptr;
    QComboBox* Servidor = nullptr;
    QLineEdit* Tusua = nullptr;
    QLineEdit* TClave = nullptr;
    QLineEdit* Cia = nullptr;
    QCheckBox* ckniif = nullptr;
    TGroupBox* GroupBox2 = nullptr;
    TDateTimePicker* EFecIni = nullptr;
    TDateTimePicker* EFecFin = nullptr;
    TPanel* Panel1 = nullptr;
    TSpeedButton* SpeedButton3 = nullptr;
    TSpeedButton* SpeedButton2 = nullptr;
    TPanel* Panel5 = nullptr;
    // The closing-adjustment editor (F5) and the planned-adjustment editor (F7), each a caption
    // panel holding a grid and a navigator bar over its data source: DAjuste and DAjusteau.
    TCaptionPanel* CaptionPanel1 = nullptr;
    TCaptionPanel* CaptionPanel2 = nullptr;
    TDBGridEx* DBGridEx2 = nullptr;
    TDBGridEx* DBGridEx1 = nullptr;
    TDBNavigator* DBNavigator1 = nullptr;
    TDBNavigator* DBNavigator2 = nullptr;

    // True from creation until the window is first activated.
    bool primeraActivacion = false;
    // The server entries read at creation; they fill Servidor.
    std::vector<std::string> listaServidores;

    void FormCreate();
    void FormActivate();
    void FormClose();
    // Acts only without Shift, Ctrl and Alt; never consumes the key.
    void FormKeyDown(int Key, Qt::KeyboardModifiers Shift);
    // Enter (character 13) in an input field: discarded, and the focus moves to the next tab stop.
    void Enteratab(QObject* Sender, char& Key);
    // Leaving the company field.
    virtual void CiaExit();
    // The posting run, from "F2: Ejecutar" or F2.
    virtual void SpeedButton3Click();
    void SpeedButton2Click();
    // F5: opens or closes the closing-adjustment editor.
    virtual void AlternarEditorAjustes();
    // F7: opens or closes the planned-adjustment editor.
    virtual void AlternarEditorPrevistos();
    // Rebuilds the rows of the range's first day in CAjuste from the rate list, factor 0.8 each;
    // the changes wait in the table's change log.
    void SembrarAjustes();
    void CAjusteAuAfterInsert(TDataSet* DataSet);

    // Beeps and puts the text on the working panel, whether or not the panel is shown.
    void mostrar_advertencia(const std::string& Text) override;

    // What a run shows: its login in the fields, its steps on the working panel, its range in the
    // date pickers.
    void ShowLogin(const TCompanyLogin& login) override;
    void ShowWork(const std::string& text) override;
    void HideWork() override;
    void ShowConnected(TDateTime day) override;
    void ShowRange(TDateTime first, TDateTime last) override;

    // The command-line argument at a position (0 is the program); empty when missing.
    std::string ParamStr(int index) const;

  signals:
    // The window is closing and the program ends with this status.
    void ProgramEnding(int exitStatus);

  protected:
    // The user as the field holds it now.
    std::string UsuarioDelRegistro() const override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void CreatePanel1();
    void CreateGroupBox2();
    void CreatePanel2();
    void CreateGroupBox1();
    void CreateWorkingPanel();
    void CreateCaptionPanels();
    void CreateGrids();
    void CreateNavigators();
    void SetTabOrder();
    void ConnectHandlers();
    void AlignControls();
    void CentreOnScreen();
    void CerrarEditorAjustes();
    void AbrirEditorAjustes();
    void AbrirEditorPrevistos();
    // Shows an editor's panel, gives its grid the focus and moves its table to the last row.
    void MostrarEditor(TCaptionPanel* panel, TDBGridEx* grid, TClientDataSet* table);
    // Stores an editor's changes all or nothing, hides it and closes its table.
    void CerrarEditor(TCaptionPanel* panel, TClientDataSet* table);
    void SembrarTarifa(TCurrency rate);
    // Puts a server text into Servidor, an entry of its own when the list does not hold it.
    void PonerServidor(const std::string& server);

    void LeaveCompanyField();
    bool PreviewKey(QObject* receiver, QKeyEvent* event);
    static bool ClaimedByFocus(QObject* receiver, const QKeyEvent* event);
    bool IsInputField(QObject* object) const;
    QLabel* AddLabel(QWidget* parent, const QString& text, int left, int top);

    TCommandLine commandLine_;
    TExitStatus exitStatus_ = esDone;
};

}  // namespace contado

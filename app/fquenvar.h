#pragma once

#include <QWidget>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/commandline.h"
#include "app/exitstatus.h"
#include "app/runoptions.h"
#include "app/runreport.h"
#include "controls/captionpanel.h"
#include "core/component.h"
#include "core/currency.h"
#include "core/variant.h"
#include "data/dataset/datasettypes.h"
#include "data/provider/providertypes.h"

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
class EDatabaseError;
class TClientDataSet;
class TDataSet;
class TDataSetProvider;
class TDataSource;
class TDateField;
class TField;
class TFMTBCDField;
class TIntegerField;
class TSQLConnection;
class TSQLQuery;
class TSQLTable;
class TStringField;

// The main window: server, user, password and company of the database, the NIIF choice and the
// date range of the posting run, and the two buttons. Keys reach FormKeyDown before the focused
// control (key preview); Enter in the input fields moves to the next field. As a component it owns
// the connection and the data components, which find each other by name among its components.
class Tfquenvar : public QWidget, public TComponent {
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

    // The connection to the company database and the data components over it.
    TSQLConnection* Tandrel = nullptr;
    TSQLQuery* SQLQuery1 = nullptr;
    TSQLQuery* QTarifas = nullptr;
    TSQLTable* TAjuste = nullptr;
    TSQLTable* TAjusteAu = nullptr;
    TDataSetProvider* PRepArticulos = nullptr;
    TDataSetProvider* PBorrar = nullptr;
    TDataSetProvider* Ptarifiva = nullptr;
    TDataSetProvider* PAjuste = nullptr;
    TDataSetProvider* PAjusteAu = nullptr;
    TClientDataSet* CRepArticulos = nullptr;
    TClientDataSet* Cborrar = nullptr;
    TClientDataSet* CTarifas = nullptr;
    TClientDataSet* CAjuste = nullptr;
    TClientDataSet* CAjusteAu = nullptr;
    TIntegerField* CAjusteAJCI_ID = nullptr;
    TDateField* CAjusteAJCI_FECINI = nullptr;
    TDateField* CAjusteAJCI_FECFIN = nullptr;
    TFMTBCDField* CAjusteAJCI_PORC = nullptr;
    TFMTBCDField* CAjusteAJCI_FACTOR = nullptr;
    TStringField* CAjusteAJCI_PREFNO = nullptr;
    TIntegerField* CAjusteAuAJCI_ID = nullptr;
    TDateField* CAjusteAuAJCI_FECINI = nullptr;
    TDateField* CAjusteAuAJCI_FECFIN = nullptr;
    TFMTBCDField* CAjusteAuAJCI_PORC = nullptr;
    TFMTBCDField* CAjusteAuAJCI_FACTOR = nullptr;
    TStringField* CAjusteAuAJCI_PREFNO = nullptr;
    TDataSource* DSconsecut = nullptr;
    TDataSource* DAjuste = nullptr;
    TDataSource* DAjusteau = nullptr;

    // True from creation until the window is first activated.
    bool primeraActivacion = false;
    // The server entries read at creation; they fill Servidor.
    std::vector<std::string> listaServidores;

    // The application directory from the machine settings; empty, after the plain box saying so,
    // when the key cannot be opened.
    std::string diraplicacion();

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

    // Wires the error handlers into every provider and client table under the component, and sets
    // every client table to fetch 1000 rows per packet.
    void ConfigurarProviders(TComponent* Component);
    // A change the database rejected while applying (with the provider as sender), or, without a
    // sender, an edit, post or delete error of the client table DataSet: logged, translated, shown.
    void ManejarError(TDataSetProvider* Sender, TDataSet* DataSet, EDatabaseError& E, TUpdateKind UpdateKind,
                      TResolverResponse& Response);
    void ManejarClientError(TDataSet* DataSet, EDatabaseError& E, TDataAction& Action);
    // Beeps and puts the text on the working panel, whether or not the panel is shown.
    void mostrar_advertencia(const std::string& Text);

    // The command-line argument at a position (0 is the program); empty when missing.
    std::string ParamStr(int index) const;

  signals:
    // The window is closing and the program ends with this status.
    void ProgramEnding(int exitStatus);

  protected:
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
    void CreateConnection();
    void CreateDataComponents();
    void CreateGrids();
    void CreateNavigators();
    TSQLQuery* NewQuery(const std::string& name);
    TSQLTable* NewTable(const std::string& name, const std::string& tableName);
    TDataSetProvider* NewProvider(const std::string& name, TDataSet* source, TProviderOptions options);
    TClientDataSet* NewClientTable(const std::string& name, const std::string& providerName);
    TDataSource* NewDataSource(const std::string& name, TDataSet* dataSet);
    template <typename Field>
    Field* NewField(TClientDataSet* table, const std::string& fieldName, const std::string& label);
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
    // The posting statement for the range, with the procedure the NIIF box chooses.
    std::string SentenciaContabilizacion() const;
    // Opening steps shared by the F5 editor and the unattended run: the rows of the range's first
    // day are deleted from CAjuste, and the rate list is open at its first row.
    void BorrarAjustesDelDia();
    void AbrirTarifas();
    void SembrarTarifa(TCurrency rate);

    // The unattended run: connects, rebuilds today's adjustments, posts today.
    void CorridaDesatendida();
    // The arguments after the fourth.
    std::vector<std::string> ExtraArguments() const;
    void ConectarConLimite();
    void DetenerSiSePidio();
    // Rebuilds the first day's rows from the planned adjustments and stores them all or nothing.
    void ReconstruirAjustesDelDia();
    void GuardarAjustesDelDia();
    // A catch-up or dry run: every day of the options posted in turn, a dry run rolled back.
    void CorridaExtendida(const TRunOptions& options);
    // A day's place in a run of several: day Number of Of.
    struct TDayCount {
        int Number;
        int Of;
    };
    void ContabilizarDias(const std::vector<TDateTime>& days, bool& posted, bool eachAlone);
    bool ContabilizarDiaAparte(TDateTime day, const TDayCount& count);
    // Rebuilds and posts one day alone; true when the posting returned rows.
    bool ContabilizarDia(TDateTime day, const TDayCount& count);
    void FinalizarCorrida(bool posted);
    // Copies the planned adjustment of a rate that covers the first day into CAjuste, if any.
    void CopiarAjustePrevisto(const TField& rate);
    // What the day's row copies of the planned row that covers the first day with the rate.
    struct TAjustePrevisto {
        TCurrency Porcentaje;
        TCurrency Factor;
        std::optional<std::string> Prefijo;
    };
    std::optional<TAjustePrevisto> BuscarAjustePrevisto(const TField& rate);
    std::string ConsultaAjustePrevisto(const TField& rate) const;
    // Without a display nobody can take over a run that an error stopped: the program ends.
    void TerminarCorridaFallida(const std::exception* error);
    // Puts a server text into Servidor, an entry of its own when the list does not hold it.
    void PonerServidor(const std::string& server);
    // Shows the working panel with a text and paints the window at once.
    void MostrarPanelTrabajo(const QString& text);

    void LeaveCompanyField();
    bool PreviewKey(QObject* receiver, QKeyEvent* event);
    static bool ClaimedByFocus(QObject* receiver, const QKeyEvent* event);
    bool IsInputField(QObject* object) const;
    QLabel* AddLabel(QWidget* parent, const QString& text, int left, int top);

    TCommandLine commandLine_;
    TExitStatus exitStatus_ = esDone;
    // What an unattended run posted, on standard output; none for the clerk's own runs.
    std::unique_ptr<TRunReport> report_;
};

}  // namespace contado

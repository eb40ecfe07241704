#pragma once

#include <QWidget>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace contado {

class TDateTimePicker;
class TGroupBox;
class TPanel;
class TSpeedButton;

// The main window: server, user, password and company of the database, the NIIF choice and the
// date range of the posting run, and the two buttons. Keys reach FormKeyDown before the focused
// control (key preview); Enter in the input fields moves to the next field.
class Tfquenvar : public QWidget {
    Q_OBJECT

  public:
    explicit Tfquenvar(QWidget* parent = nullptr);
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
    QWidget* CaptionPanel1 = nullptr;
    QWidget* CaptionPanel2 = nullptr;

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
    void ConfigurarProviders();

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
    void CreateCaptionPanelPlaces();
    void SetTabOrder();
    void ConnectHandlers();
    void AlignControls();
    void CentreOnScreen();
    void CerrarEditorAjustes();

    bool PreviewKey(QObject* receiver, QKeyEvent* event);
    bool IsInputField(QObject* object) const;
    QLabel* AddLabel(QWidget* parent, const QString& text, int left, int top);
};

}  // namespace contado

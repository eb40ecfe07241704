#include "app/fquenvar.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QStyle>

#include "controls/captionpanel.h"
#include "controls/classicstyle.h"
#include "controls/datetimepicker.h"
#include "controls/groupbox.h"
#include "controls/panel.h"
#include "controls/speedbutton.h"
#include "data/client/clientdataset.h"
#include "grid/dbgridex.h"
#include "platform/services/eventhandler.h"
#include "platform/services/messageboxservice.h"
#include "platform/system/resourcebitmap.h"
#include "platform/system/systemcolors.h"
#include "platform/system/systemfonts.h"

namespace contado {

namespace {

constexpr int kClientWidth = 346;
constexpr int kClientHeight = 255;
constexpr int kPanel2Height = 57;
constexpr int kGroupBox1Height = 105;
constexpr int kPanel1Height = 52;
// The dates the pickers hold until a connection sets them to today: 20 January 2003, 06:44:23.
constexpr TDateTime kInitialDate = 37641.280825;

QLineEdit* FlatEdit(QWidget* parent, const QRect& geometry) {
    auto* edit = new QLineEdit(parent);
    edit->setFrame(false);
    edit->setGeometry(geometry);
    return edit;
}

TSpeedButton* PictureButton(QWidget* parent, const QString& caption, const QString& picture, int left) {
    auto* button = new TSpeedButton(caption, parent);
    button->setGeometry(left, 1, 65, 50);
    button->setFont(ArialNarrowFont(11));
    button->SetGlyph(LoadResourceBitmap(picture));
    return button;
}

}  // namespace

Tfquenvar::Tfquenvar(const std::vector<std::string>& commandLine, QWidget* parent)
    : QWidget(parent), TCompanyData(*static_cast<TComponent*>(this)), commandLine_(commandLine) {
    setObjectName(QStringLiteral("fquenvar"));
    SetName("fquenvar");
    setWindowTitle(QStringLiteral("Contabilizar ventas de contado"));
    setPalette(ClassicPalette());
    setAutoFillBackground(true);
    setFont(MsSansSerifFont(11));
    resize(kClientWidth, kClientHeight);

    // Created from the bottom of the stacking order to its top.
    CreatePanel1();
    CreateGroupBox2();
    CreatePanel2();
    CreateGroupBox1();
    CreateWorkingPanel();
    CreateCaptionPanels();
    CAjusteAu->AfterInsert = [this](TDataSet* dataSet) { CAjusteAuAfterInsert(dataSet); };
    CreateGrids();
    CreateNavigators();
    SetTabOrder();
    TClassicStyle::ApplyTo(this);
    AlignControls();
    CentreOnScreen();
    ConnectHandlers();
    Servidor->setFocus();

    RunHandler([this] { FormCreate(); });
}

// Key preview ends before the window's parts are torn down, so no event reaches a half-destroyed window.
Tfquenvar::~Tfquenvar() {
    qApp->removeEventFilter(this);
}

QLabel* Tfquenvar::AddLabel(QWidget* parent, const QString& text, int left, int top) {
    auto* label = new QLabel(text, parent);
    label->move(left, top);
    label->adjustSize();
    return label;
}

void Tfquenvar::CreatePanel1() {
    Panel1 = new TPanel(this);
    SpeedButton3 = PictureButton(Panel1, QStringLiteral("F2: Ejecutar"), QStringLiteral("ejecutar.png"), 61);
    SpeedButton3->setEnabled(false);
    SpeedButton2 =
        PictureButton(Panel1, QStringLiteral("Esc: Cancelar"), QStringLiteral("cancelar.png"), 237);
}

void Tfquenvar::CreateGroupBox2() {
    GroupBox2 = new TGroupBox(QStringLiteral("Parámetros "), this);
    QLabel* desde = AddLabel(GroupBox2, QStringLiteral("Desde:"), 8, 24);
    EFecIni = new TDateTimePicker(GroupBox2);
    desde->setBuddy(EFecIni);
    EFecIni->setGeometry(45, 16, 89, 21);
    EFecIni->SetDateTime(kInitialDate);
    QLabel* hasta = AddLabel(GroupBox2, QStringLiteral("Hasta:"), 136, 23);
    EFecFin = new TDateTimePicker(GroupBox2);
    hasta->setBuddy(EFecFin);
    EFecFin->setGeometry(173, 15, 89, 21);
    EFecFin->SetDateTime(kInitialDate);
}

void Tfquenvar::CreatePanel2() {
    Panel2 = new TPanel(this);
    LabelExplicacion = new QLabel(
        QStringLiteral("Este programa genera la contabilización de las ventas diarias de un punto de venta "
                       "registradas con el NIT del cliente de contado y con el prefijo y punto de venta "
                       "especificados."),
        Panel2);
    LabelExplicacion->setWordWrap(true);
    LabelExplicacion->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    LabelExplicacion->setGeometry(16, 6, 333, 49);
}

void Tfquenvar::CreateGroupBox1() {
    GroupBox1 = new TGroupBox(QStringLiteral("Origen:"), this);
    QLabel* servidor = AddLabel(GroupBox1, QStringLiteral("Servidor : "), 16, 16);
    Servidor = new QComboBox(GroupBox1);
    servidor->setBuddy(Servidor);
    Servidor->setGeometry(76, 8, 120, 21);
    QLabel* usuario = AddLabel(GroupBox1, QStringLiteral("Usuario : "), 16, 40);
    Tusua = FlatEdit(GroupBox1, QRect(76, 32, 97, 21));
    usuario->setBuddy(Tusua);
    QLabel* clave = AddLabel(GroupBox1, QStringLiteral("Clave : "), 17, 64);
    TClave = FlatEdit(GroupBox1, QRect(76, 56, 97, 21));
    TClave->setEchoMode(QLineEdit::Password);
    clave->setBuddy(TClave);
    QLabel* compania = AddLabel(GroupBox1, QStringLiteral("Compañía:"), 17, 88);
    Cia = FlatEdit(GroupBox1, QRect(76, 80, 45, 21));
    compania->setBuddy(Cia);
    ckniif = new QCheckBox(QStringLiteral("Contabilizar NIIF"), GroupBox1);
    ckniif->setGeometry(216, 64, 97, 17);
}

void Tfquenvar::CreateWorkingPanel() {
    Panel5 = new TPanel(this);
    Panel5->SetBevelInner(bvLowered);
    Panel5->SetCaption(QStringLiteral("Generando informe. espere un momento..."));
    Panel5->setFont(MsSansSerifFont(13));
    QPalette navy = Panel5->palette();
    navy.setColor(QPalette::WindowText, clNavy);
    Panel5->setPalette(navy);
    Panel5->setGeometry(8, 66, 337, 41);
    Panel5->hide();
}

void Tfquenvar::SetTabOrder() {
    QWidget* const order[] = {Servidor, Tusua, TClave, Cia, ckniif, EFecIni, EFecFin, DBGridEx2, DBGridEx1};
    for (size_t i = 0; i + 1 < std::size(order); ++i) {
        setTabOrder(order[i], order[i + 1]);
    }
}

void Tfquenvar::ConnectHandlers() {
    connect(SpeedButton3, &QAbstractButton::clicked, this, Guarded(this, &Tfquenvar::SpeedButton3Click));
    connect(SpeedButton2, &QAbstractButton::clicked, this, Guarded(this, &Tfquenvar::SpeedButton2Click));
    qApp->installEventFilter(this);
}

// Panel2 and GroupBox1 along the top, Panel1 along the bottom, GroupBox2 in the space between.
void Tfquenvar::AlignControls() {
    const int width = this->width();
    const int bottomTop = height() - kPanel1Height;
    Panel2->setGeometry(0, 0, width, kPanel2Height);
    GroupBox1->setGeometry(0, kPanel2Height, width, kGroupBox1Height);
    Panel1->setGeometry(0, bottomTop, width, kPanel1Height);
    const int fillTop = kPanel2Height + kGroupBox1Height;
    GroupBox2->setGeometry(0, fillTop, width, std::max(0, bottomTop - fillTop));
}

void Tfquenvar::CentreOnScreen() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        setGeometry(
            QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen->availableGeometry()));
    }
}

void Tfquenvar::FormCreate() {
    ConfigurarProviders(this);
    primeraActivacion = true;
    listaServidores.clear();
    listaServidores = LeerServidores();
    for (const std::string& entry : listaServidores) {
        Servidor->addItem(QString::fromStdString(entry));
    }
    Servidor->setCurrentIndex(listaServidores.empty() ? -1 : 0);
}

void Tfquenvar::FormClose() {
    CRepArticulos->Close();
    setAttribute(Qt::WA_DeleteOnClose);
}

std::string Tfquenvar::ParamStr(int index) const {
    return index >= 0 ? commandLine_.Position(static_cast<std::size_t>(index)) : std::string();
}

void Tfquenvar::FormKeyDown(int Key, Qt::KeyboardModifiers Shift) {
    if (Shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) {
        return;
    }
    if (Key == Qt::Key_F2) {
        if (!CaptionPanel1->isHidden()) {
            CerrarEditorAjustes();
        }
        SpeedButton3Click();
    }
    if (Key == Qt::Key_F5) {
        AlternarEditorAjustes();
    }
    if (Key == Qt::Key_F7) {
        AlternarEditorPrevistos();
    }
    if (Key == Qt::Key_Escape) {
        SpeedButton2Click();
    }
}

void Tfquenvar::Enteratab(QObject*, char& Key) {
    if (Key == 13) {
        Key = 0;
        focusNextPrevChild(true);
    }
}

void Tfquenvar::SpeedButton2Click() {
    close();
}

bool Tfquenvar::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        return PreviewKey(watched, static_cast<QKeyEvent*>(event));
    }
    if (event->type() == QEvent::FocusOut && watched == Cia) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            LeaveCompanyField();
        }
    }
    return false;
}

// The focus has already moved on when the company field hears of it; a connection that fails
// brings it back, so the clerk corrects the code where it was typed and leaves again to retry.
void Tfquenvar::LeaveCompanyField() {
    bool connected = false;
    RunHandler([this, &connected] {
        CiaExit();
        connected = true;
    });
    if (!connected) {
        Cia->setFocus(Qt::OtherFocusReason);
    }
}

// A key event goes first to the focused control and then, while ignored, to its parents; the
// window looks at it once, on its first delivery.
bool Tfquenvar::PreviewKey(QObject* receiver, QKeyEvent* event) {
    QWidget* focus = focusWidget();
    if (receiver != (focus ? focus : this)) {
        return false;
    }
    if (!ClaimedByFocus(receiver, event)) {
        RunHandler([this, event] { FormKeyDown(event->key(), event->modifiers()); });
    }
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) || !IsInputField(receiver)) {
        return false;
    }
    char key = 13;
    RunHandler([this, receiver, &key] { Enteratab(receiver, key); });
    return key == 0;
}

// A control may claim a key for itself before the window's keys see it, the way the toolkit asks
// before a shortcut: an open drop-down takes its Esc and Enter.
bool Tfquenvar::ClaimedByFocus(QObject* receiver, const QKeyEvent* event) {
    QKeyEvent claim(QEvent::ShortcutOverride, event->key(), event->modifiers(), event->text());
    claim.ignore();
    QCoreApplication::sendEvent(receiver, &claim);
    return claim.isAccepted();
}

bool Tfquenvar::IsInputField(QObject* object) const {
    for (; object != nullptr && object != this; object = object->parent()) {
        if (object == Servidor || object == Tusua || object == TClave || object == Cia || object == EFecIni ||
            object == EFecFin) {
            return true;
        }
    }
    return false;
}

bool Tfquenvar::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        RunHandler([this] { FormActivate(); });
    }
    return QWidget::event(event);
}

void Tfquenvar::closeEvent(QCloseEvent* event) {
    bool closed = false;
    RunHandler([this, &closed] {
        FormClose();
        closed = true;
    });
    if (closed) {
        event->accept();
        emit ProgramEnding(exitStatus_);
    } else {
        event->ignore();
    }
}

void Tfquenvar::resizeEvent(QResizeEvent* event) {
    AlignControls();
    QWidget::resizeEvent(event);
}

}  // namespace contado

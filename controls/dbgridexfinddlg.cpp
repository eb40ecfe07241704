#include "controls/dbgridexfinddlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "controls/minimizeguard.h"
#include "core/utf8text.h"
#include "data/dataset/dataset.h"
#include "grid/customdbgridex.h"
#include "platform/services/eventhandler.h"
#include "platform/system/systemfonts.h"

namespace contado {

namespace {

constexpr int kFontPixels = 11;
constexpr int kListRows = 17;
const char* const kAllColumns = "<All>";

TDBGridExFindDlg* instance = nullptr;

void DestroyInstance() {
    delete instance;
    instance = nullptr;
}

// A label naming the control beside it: its buddy, which its accelerator leads to.
QLabel* NewLabel(QWidget* parent, const char* text, int left, int top, QWidget* buddy) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setBuddy(buddy);
    label->adjustSize();
    label->move(left, top);
    return label;
}

QComboBox* NewCombo(QWidget* parent, const QRect& place, const QStringList& entries) {
    auto* combo = new QComboBox(parent);
    combo->setGeometry(place);
    combo->setMaxVisibleItems(kListRows);
    combo->addItems(entries);
    return combo;
}

QCheckBox* NewCheck(QWidget* parent, const char* text, const QRect& place, bool checked) {
    auto* check = new QCheckBox(QString::fromUtf8(text), parent);
    check->setGeometry(place);
    check->setChecked(checked);
    return check;
}

QPushButton* NewButton(QWidget* parent, const char* text, const QRect& place) {
    auto* button = new QPushButton(QString::fromUtf8(text), parent);
    button->setGeometry(place);
    button->setAutoDefault(false);
    return button;
}

bool IsEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

TDBGridExFindDlg& TDBGridExFindDlg::Instance() {
    if (instance == nullptr) {
        instance = new TDBGridExFindDlg();
        qAddPostRoutine(DestroyInstance);
    }
    return *instance;
}

TDBGridExFindDlg::TDBGridExFindDlg()
    : QDialog(nullptr, TMinimizeGuard::kWindowFlags | Qt::MSWindowsFixedSizeDialogHint) {
    new TMinimizeGuard(this);
    setWindowTitle(QString::fromUtf8("Find text"));
    setFont(MsSansSerifFont(kFontPixels));
    setFixedSize(kClientWidth, kClientHeight);
    CreateControls();
    connect(cbText, &QComboBox::editTextChanged, this, [this] { freshSearch_ = true; });
    connect(cbFindIn, &QComboBox::currentIndexChanged, this, [this] { freshSearch_ = true; });
    connect(cbFindDirection, &QComboBox::currentIndexChanged, this, [this] { freshSearch_ = true; });
    connect(bFind, &QPushButton::clicked, this, [this] { RunHandler([this] { bFindClick(); }); });
    connect(bCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TDBGridExFindDlg::CreateControls() {
    cbText = NewCombo(this, QRect(88, 9, 316, 21), {});
    Label1 = NewLabel(this, "Fi&nd What:", 10, 12, cbText);
    cbText->setEditable(true);
    cbText->setInsertPolicy(QComboBox::NoInsert);
    // The text searched is the one typed: the combo box's completion would turn "CA" into a "ca" of
    // the history, and take an Enter for itself. The history stays in the drop-down list.
    cbText->setCompleter(nullptr);
    cbFindIn = NewCombo(this, QRect(88, 32, 192, 21), {});
    Label2 = NewLabel(this, "Find &in:", 10, 35, cbFindIn);
    cbMatchinType = NewCombo(this, QRect(88, 55, 144, 21),
                             {"From any part of field", "Whole field", "From beging of field"});
    cbMatchType = NewLabel(this, "Matc&h:", 10, 58, cbMatchinType);
    cbFindDirection = NewCombo(this, QRect(88, 79, 144, 21), {"Up", "Down", "All"});
    Label3 = NewLabel(this, "Sea&rch:", 10, 82, cbFindDirection);
    cbFindDirection->setCurrentIndex(gsdAll);
    cbCharCase = NewCheck(this, "Match &Case", QRect(88, 105, 144, 14), false);
    cbUseFormat = NewCheck(this, "Match F&ormat", QRect(260, 105, 144, 14), true);
    bFind = NewButton(this, "&Find next", QRect(413, 9, 82, 23));
    bCancel = NewButton(this, "Close", QRect(413, 37, 82, 22));
    QWidget* order[] = {cbText,     cbFindIn,    cbMatchinType, cbFindDirection,
                        cbCharCase, cbUseFormat, bFind,         bCancel};
    for (std::size_t index = 1; index < std::size(order); ++index) {
        setTabOrder(order[index - 1], order[index]);
    }
    for (QWidget* control : order) {
        control->installEventFilter(this);
    }
    cbText->lineEdit()->installEventFilter(this);
}

void TDBGridExFindDlg::Prepare(TCustomDBGridEx& grid, const QString& text) {
    setFixedHeight(kClientHeight);
    cbText->setEditText(text);
    grid_ = &grid;
    FillFindIn();
    freshSearch_ = true;
    cbText->setFocus(Qt::OtherFocusReason);
}

// One entry per visible column, carrying its field name, then "<All>"; the focused column's title
// is chosen, else "<All>".
void TDBGridExFindDlg::FillFindIn() {
    cbFindIn->clear();
    const std::vector<TDBGridColumnEx*> columns = grid_->Columns().VisibleColumns();
    int chosen = -1;
    for (int index = 0; index < static_cast<int>(columns.size()); ++index) {
        const QString title = columns[index]->Title().Caption();
        cbFindIn->addItem(title, QString::fromStdString(columns[index]->FieldName()));
        const int focused = grid_->CurrentColumn();
        if (chosen < 0 && focused >= 0 && focused < static_cast<int>(columns.size()) &&
            CompareCharacters(title.toStdString(), columns[focused]->Title().Caption().toStdString(), true) ==
                0) {
            chosen = index;
        }
    }
    cbFindIn->addItem(QString::fromUtf8(kAllColumns));
    cbFindIn->setCurrentIndex(chosen >= 0 ? chosen : cbFindIn->count() - 1);
}

void TDBGridExFindDlg::bFindClick() {
    FindNext(QApplication::keyboardModifiers() & Qt::ControlModifier);
}

void TDBGridExFindDlg::FindNext(bool reversed) {
    RememberText();
    const TDataSet* dataSet = grid_ != nullptr ? grid_->DataSet() : nullptr;
    if (dataSet == nullptr || !dataSet->Active()) {
        return;
    }
    if (grid_->SearchCellText(FieldName(), cbText->currentText(), Options(), Direction(reversed),
                              Matching())) {
        freshSearch_ = false;
    }
}

// The text joins the history unless an entry already holds it in any letter case.
void TDBGridExFindDlg::RememberText() {
    const std::string text = cbText->currentText().toStdString();
    for (int index = 0; index < cbText->count(); ++index) {
        if (CompareCharacters(cbText->itemText(index).toStdString(), text, true) == 0) {
            return;
        }
    }
    const bool fresh = freshSearch_;
    cbText->addItem(QString::fromStdString(text));
    cbText->setEditText(QString::fromStdString(text));
    freshSearch_ = fresh;
}

TGridSearchOptions TDBGridExFindDlg::Options() const {
    TGridSearchOptions options;
    if (!cbCharCase->isChecked()) {
        options.Include(gsoCaseInsensitive);
    }
    if (cbUseFormat->isChecked()) {
        options.Include(gsoDisplayText);
    }
    if (cbFindIn->currentIndex() == cbFindIn->count() - 1) {
        options.Include(gsoAllColumns);
    }
    return options;
}

// Ctrl turns Up into Down and the others into Up; after a hit, All goes on downwards.
TGridSearchDirection TDBGridExFindDlg::Direction(bool reversed) const {
    const int index = cbFindDirection->currentIndex();
    TGridSearchDirection direction = index == gsdUp ? gsdUp : index == gsdDown ? gsdDown : gsdAll;
    if (reversed) {
        direction = direction == gsdUp ? gsdDown : gsdUp;
    }
    return !freshSearch_ && direction == gsdAll ? gsdDown : direction;
}

TGridSearchMatching TDBGridExFindDlg::Matching() const {
    const int index = cbMatchinType->currentIndex();
    return index == gsmWholeField ? gsmWholeField : index == gsmFromBeginning ? gsmFromBeginning : gsmAnyPart;
}

std::string TDBGridExFindDlg::FieldName() const {
    return cbFindIn->currentData().toString().toStdString();
}

// The dialog sees the keys before its controls, so that none of them keeps an Enter or an Esc; a
// combo box's open list is a window of its own and keeps both.
bool TDBGridExFindDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && HandleKey(static_cast<QKeyEvent*>(event))) {
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TDBGridExFindDlg::keyPressEvent(QKeyEvent* event) {
    if (!HandleKey(event)) {
        QDialog::keyPressEvent(event);
    }
}

// Enter finds the next cell (Close takes a plain Enter for itself), Esc closes; true when the key
// was one of them.
bool TDBGridExFindDlg::HandleKey(QKeyEvent* event) {
    const bool control = event->modifiers() & Qt::ControlModifier;
    if (IsEnter(event->key())) {
        if (focusWidget() == bCancel && !control) {
            reject();
        } else {
            RunHandler([this, control] { FindNext(control); });
        }
        return true;
    }
    if (event->key() == Qt::Key_Escape) {
        reject();
        return true;
    }
    return false;
}

void ShowFindDialog(TCustomDBGridEx& grid, const QString& text) {
    TDBGridExFindDlg& dialog = TDBGridExFindDlg::Instance();
    dialog.Prepare(grid, text);
    dialog.exec();
}

}  // namespace contado

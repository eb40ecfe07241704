#include <QApplication>
#include <QFocusEvent>
#include <QPalette>
#include <QTimer>

#include "core/datetime.h"
#include "core/formatsettings.h"
#include "data/dataset/dataset.h"
#include "data/fields/field.h"
#include "grid/customdbgridex.h"
#include "grid/dbgridinplaceedit.h"
#include "grid/griddatalinkex.h"
#include "platform/services/eventhandler.h"
#include "platform/system/systemcolors.h"

// The in-place editor's life on the data grid: showing and hiding it, loading a cell into it, the
// rules each change of its text is checked against, writing its text into the field and leaving
// the grid.

namespace contado {

namespace {

bool IsDateField(const TField* field) {
    return field != nullptr && (field->DataType() == ftDate || field->DataType() == ftDateTime);
}

bool IsDecimalField(const TField* field) {
    if (field == nullptr) {
        return false;
    }
    switch (field->DataType()) {
        case ftBCD:
        case ftFMTBcd:
        case ftFloat:
        case ftCurrency:
            return true;
        default:
            return false;
    }
}

bool IsTextField(const TField* field) {
    return field != nullptr && (field->DataType() == ftString || field->DataType() == ftWideString ||
                                field->DataType() == ftFixedChar);
}

// The editor keeps the text where the cell drew it, so a right-aligned number does not jump.
Qt::Alignment EditorAlignment(TAlignment alignment) {
    switch (alignment) {
        case taRightJustify:
            return Qt::AlignRight | Qt::AlignVCenter;
        case taCenter:
            return Qt::AlignHCenter | Qt::AlignVCenter;
        default:
            return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

QString FieldEditText(const TField* field) {
    return field != nullptr ? QString::fromStdString(field->Text()) : QString();
}

// Clears a flag when it goes out of scope, also on an error.
class TFlagScope {
  public:
    explicit TFlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~TFlagScope() { flag_ = false; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

  private:
    bool& flag_;
};

}  // namespace

TDBGridInplaceEdit& TCustomDBGridEx::Editor() {
    if (editor_ == nullptr) {
        editor_ = new TDBGridInplaceEdit(this, Viewport());
        SetInplaceEditor(editor_);
    }
    return *editor_;
}

TDBGridColumnEx* TCustomDBGridEx::CurrentColumnItem() const {
    const int column = CurrentColumn();
    return column >= 0 && column < static_cast<int>(visibleColumns_.size()) ? visibleColumns_[column]
                                                                            : nullptr;
}

TField* TCustomDBGridEx::CurrentField() const {
    const TDBGridColumnEx* column = CurrentColumnItem();
    return column != nullptr ? column->Field() : nullptr;
}

// ---------------------------------------------------------------------------------------------
// Showing and hiding

bool TCustomDBGridEx::IsActiveControl() const {
    const QWidget* focus = window()->focusWidget();
    return focus == this || (editor_ != nullptr && focus == editor_);
}

bool TCustomDBGridEx::CanEditShow() const {
    return editorMode_ && options_.Contains(dgEditing) && !options_.Contains(dgRowSelect) &&
           dataLink_->Active() && IsActiveControl() && layoutLock_ == 0 && CurrentField() != nullptr &&
           !IncrementalSearchActive();
}

void TCustomDBGridEx::ShowEditor() {
    editorMode_ = true;
    if (!CanEditShow()) {
        HideEditor();
        return;
    }
    TDBGridInplaceEdit& editor = Editor();
    if (editor.LoadedColumn() != CurrentColumn() || editor.LoadedRow() != CurrentRow()) {
        LoadEditor(*CurrentColumnItem());
    }
    editor.setGeometry(EditorRect(editor));
    editor.show();
    if (hasFocus()) {
        editor.setFocus(Qt::OtherFocusReason);
    }
}

// The current cell; a text wider than the room the cell leaves beside the drop-down button widens
// the editor to the right, over the next cells, so the whole date stays readable.
QRect TCustomDBGridEx::EditorRect(const TDBGridInplaceEdit& editor) const {
    QRect rect = Geometry().CellRect(CurrentColumn(), CurrentRow());
    if (editor.HasDropDown()) {
        const int right = Geometry().Settings().ClientSize.width();
        rect.setWidth(std::max(rect.width(), std::min(editor.WidthShowing(editor.text()), right - rect.left())));
    }
    return rect;
}

void TCustomDBGridEx::LoadEditor(const TDBGridColumnEx& column) {
    TDBGridInplaceEdit& editor = Editor();
    QPalette palette = editor.palette();
    palette.setColor(QPalette::Base, column.Color());
    palette.setColor(QPalette::Text, clWindowText);
    palette.setColor(QPalette::Highlight, clHighlight);
    palette.setColor(QPalette::HighlightedText, clHighlightText);
    editor.setPalette(palette);
    editor.setFont(column.Font());
    editor.setReadOnly(column.ReadOnly());
    editor.SetTextAlignment(EditorAlignment(column.Alignment()));
    editor.SetDropDown(IsDateField(column.Field()));
    editor.Load(CurrentColumn(), CurrentRow(), FieldEditText(column.Field()));
}

void TCustomDBGridEx::HideEditor() {
    editorMode_ = false;
    TCustomGridEx::HideEditor();
}

void TCustomDBGridEx::ShowEditorAtEnd() {
    ShowEditor();
    if (editor_ != nullptr && editor_->isVisible()) {
        editor_->deselect();
        editor_->end(false);
    }
}

// A current row that moved takes the editor away; a hidden editor loads its cell again next time.
// An open calendar belongs to the record it was opened on, so any change of the rows closes it.
void TCustomDBGridEx::RowsChanged(int oldRow) {
    if (editor_ == nullptr) {
        return;
    }
    editor_->CloseUp(false);
    if (CurrentRow() != oldRow) {
        HideEditor();
    }
    if (editor_->isHidden()) {
        editor_->Invalidate();
    } else {
        EditorRecordChanged(nullptr);
    }
}

void TCustomDBGridEx::EditorRecordChanged(TField* field) {
    if (editor_ == nullptr || editor_->LoadedColumn() < 0 ||
        editor_->LoadedColumn() >= static_cast<int>(visibleColumns_.size())) {
        return;
    }
    TField* edited = visibleColumns_[editor_->LoadedColumn()]->Field();
    if ((field != nullptr && field != edited) || FieldEditText(edited) == cellText_) {
        return;
    }
    if (editor_->isHidden()) {
        editor_->Invalidate();
    } else {
        editor_->Reload(FieldEditText(edited));
    }
}

// ---------------------------------------------------------------------------------------------
// Writing the text back

void TCustomDBGridEx::UpdateData() {
    if (updatingData_ || !dataLink_->CellModified() || editor_ == nullptr || editor_->LoadedColumn() < 0 ||
        editor_->LoadedColumn() >= static_cast<int>(visibleColumns_.size())) {
        return;
    }
    TField* field = visibleColumns_[editor_->LoadedColumn()]->Field();
    if (field == nullptr) {
        return;
    }
    TFlagScope writing(updatingData_);
    field->SetText(editor_->text().toStdString());
    dataLink_->SetCellModified(false);
}

// ---------------------------------------------------------------------------------------------
// What the editor asks

bool TCustomDBGridEx::AcceptsCharacter(char32_t character) const {
    const TField* field = CurrentField();
    return field != nullptr && field->IsValidCharacter(character);
}

QChar TCustomDBGridEx::CellDecimalSeparator() const {
    return IsDecimalField(CurrentField()) ? QChar(FormatSettings().DecimalSeparator) : QChar();
}

int TCustomDBGridEx::CellMaxLength() const {
    const TField* field = CurrentField();
    return IsTextField(field) ? field->Size() : 0;
}

// The first accepted change puts the table into edit state and marks the cell modified.
bool TCustomDBGridEx::CanEditModify() {
    const TDBGridColumnEx* column = CurrentColumnItem();
    const TField* field = CurrentField();
    const TDataSet* dataSet = DataSet();
    if (readOnly_ || dataLink_->ReadOnly() || column == nullptr || column->ReadOnly() || field == nullptr ||
        field->ReadOnly() || dataSet == nullptr || !dataSet->CanModify() || IncrementalSearchActive()) {
        return false;
    }
    if (!dataLink_->Editing() && !dataLink_->Edit()) {
        return false;
    }
    dataLink_->SetCellModified(true);
    return true;
}

TGridKeyContext TCustomDBGridEx::EditorKeyContext() const {
    TGridKeyContext context;
    context.EnterAsTab = optionsEx_.Contains(dghEnterAsTab);
    context.SingleDataColumn = visibleColumns_.size() == 1;
    context.DateCell = IsDateField(CurrentField());
    return context;
}

void TCustomDBGridEx::EditorTextChanged(const QString& text) {
    cellText_ = text;
}

void TCustomDBGridEx::EditorKeyForGrid(QKeyEvent* event) {
    DispatchKey(event);
}

void TCustomDBGridEx::EditorDropDown() {
    if (editor_ != nullptr) {
        editor_->DropDown();
    }
}

// The editor's text read as a date; else the field's value when it has one; else today.
QDate TCustomDBGridEx::CalendarStartDate() {
    const TField* field = CurrentField();
    const std::string text = editor_ != nullptr ? editor_->text().toStdString() : std::string();
    TDateTime value = 0;
    if (!text.empty() && !TryStrToDate(text, value)) {
        value = field != nullptr && !field->IsNull() ? field->AsDateTime() : 0;
    }
    if (value == 0) {
        return QDate::currentDate();
    }
    const TDateParts parts = DecodeDate(value);
    return QDate(parts.year, parts.month, parts.day);
}

// Written as a value where the cell may change, keeping the time of day the field held; the grid
// then reloads the editor from the field.
void TCustomDBGridEx::CalendarDateChosen(QDate date) {
    TField* field = CurrentField();
    if (field == nullptr || !date.isValid() || !CanEditModify()) {
        return;
    }
    const TDateTime time = field->IsNull() ? 0 : TimeOf(field->AsDateTime());
    field->SetAsDateTime(EncodeDate(date.year(), date.month(), date.day()) + time);
    dataLink_->SetCellModified(false);
}

// ---------------------------------------------------------------------------------------------
// Leaving the grid

void TCustomDBGridEx::focusOutEvent(QFocusEvent* event) {
    TCustomGridEx::focusOutEvent(event);
    EditorFocusLeft(event->reason());
}

// Focus that goes to the editor, or away with the whole window, stays in the grid.
void TCustomDBGridEx::EditorFocusLeft(Qt::FocusReason reason) {
    const QWidget* focus = QApplication::focusWidget();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason || focus == nullptr ||
        focus == this || (editor_ != nullptr && focus == editor_) || !dataLink_->Active()) {
        return;
    }
    RunHandler([this] {
        try {
            LeaveGrid();
        } catch (...) {
            TakeFocusBack();
            throw;
        }
    });
}

// An insert that nothing changed is dropped; otherwise the editor's text goes into the field.
void TCustomDBGridEx::LeaveGrid() {
    TDataSet* dataSet = DataSet();
    if (options_.Contains(dgCancelOnExit) && dataSet->State() == dsInsert && !dataSet->Modified() &&
        !dataLink_->CellModified()) {
        dataSet->Cancel();
    } else {
        UpdateData();
    }
}

// Once the focus change in progress is over.
void TCustomDBGridEx::TakeFocusBack() {
    QTimer::singleShot(0, this, [this] {
        if (CanFocus()) {
            setFocus(Qt::OtherFocusReason);
        }
    });
}

}  // namespace contado

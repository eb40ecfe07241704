#include <QApplication>
#include <QKeyEvent>
#include <QPointer>

#include "data/dataset/dataset.h"
#include "data/fields/field.h"
#include "grid/customdbgridex.h"
#include "grid/dbgridinplaceedit.h"
#include "grid/griddatalinkex.h"
#include "platform/services/messageboxservice.h"

// The data grid's keys: the key map decides the action, and each action moves through the records
// and columns or edits them through the data link.

namespace contado {

namespace {

// Holds the editor back while a step of several moves is done.
class TLayoutLock {
  public:
    explicit TLayoutLock(int& lock) : lock_(lock) { ++lock_; }
    ~TLayoutLock() { --lock_; }
    TLayoutLock(const TLayoutLock&) = delete;
    TLayoutLock& operator=(const TLayoutLock&) = delete;

  private:
    int& lock_;
};

}  // namespace

// Keys do nothing while the table is closed.
bool TCustomDBGridEx::DispatchKey(QKeyEvent* event) {
    if (!dataLink_->Active()) {
        return true;
    }
    TGridKeyContext context = EditorKeyContext();
    const TGridKeyAction action = GridKeyAction(event->key(), event->modifiers(), event->text(), context);
    if (action == TGridKeyAction::None) {
        return false;
    }
    if (!SearchKey(action, event)) {
        DoKeyAction(action, event);
    }
    return true;
}

void TCustomDBGridEx::DoKeyAction(TGridKeyAction action, QKeyEvent* event) {
    const int lastColumn = static_cast<int>(visibleColumns_.size()) - 1;
    switch (action) {
        case TGridKeyAction::Up:
            MoveUp();
            break;
        case TGridKeyAction::Down:
            MoveDown();
            break;
        case TGridKeyAction::PageUp:
            dataLink_->MoveBy(-Geometry().VisibleRowCount());
            break;
        case TGridKeyAction::PageDown:
            dataLink_->MoveBy(Geometry().VisibleRowCount());
            break;
        case TGridKeyAction::TopRow:
            dataLink_->MoveBy(-dataLink_->ActiveRecord());
            break;
        case TGridKeyAction::BottomRow:
            dataLink_->MoveBy(dataLink_->BufferCount() - dataLink_->ActiveRecord() - 1);
            break;
        case TGridKeyAction::FirstRecord:
            DataSet()->First();
            break;
        case TGridKeyAction::LastRecord:
            DataSet()->Last();
            break;
        case TGridKeyAction::FirstColumn:
            SelectColumn(0);
            break;
        case TGridKeyAction::LastColumn:
            SelectColumn(lastColumn);
            break;
        case TGridKeyAction::PriorColumn:
            SelectColumn(std::max(CurrentColumn() - 1, 0));
            break;
        case TGridKeyAction::NextColumn:
            SelectColumn(std::min(CurrentColumn() + 1, lastColumn));
            break;
        case TGridKeyAction::NextCell:
        case TGridKeyAction::PriorCell:
            Tab(action == TGridKeyAction::NextCell);
            break;
        case TGridKeyAction::Reset:
            Reset();
            break;
        case TGridKeyAction::ShowEditor:
            ShowEditorAtEnd();
            break;
        case TGridKeyAction::InsertRecord:
            InsertRecord();
            break;
        case TGridKeyAction::DeleteRecord:
            DeleteRecord();
            break;
        case TGridKeyAction::CopyFromAbove:
            CopyFromAbove();
            break;
        case TGridKeyAction::Type:
            TypeOnGrid(event);
            break;
        default:
            break;
    }
}

// ---------------------------------------------------------------------------------------------
// Records

// A new record that nothing changed: neither the table nor the cell marks it.
bool TCustomDBGridEx::UntouchedInsert() const {
    const TDataSet* dataSet = DataSet();
    return dataSet->State() == dsInsert && !dataSet->Modified() && !dataLink_->CellModified();
}

bool TCustomDBGridEx::CanAddRecords() const {
    return DataSet()->CanModify() && !readOnly_ && options_.Contains(dgEditing);
}

// An untouched new record at the end disappears; anything else moves back one record.
void TCustomDBGridEx::MoveUp() {
    if (UntouchedInsert() && dataLink_->Eof()) {
        DataSet()->Cancel();
    } else {
        dataLink_->MoveBy(-1);
    }
}

// On an untouched new record: nothing at the end, a cancel elsewhere. Otherwise one record on, and
// a new record appended when that hit the end.
void TCustomDBGridEx::MoveDown() {
    TDataSet* dataSet = DataSet();
    if (UntouchedInsert()) {
        if (!dataLink_->Eof()) {
            dataSet->Cancel();
        }
        return;
    }
    dataLink_->MoveBy(1);
    if (dataLink_->Eof() && CanAddRecords() && allowedOperations_.Contains(alopAppendEx)) {
        dataSet->Append();
    }
}

void TCustomDBGridEx::InsertRecord() {
    if (!CanAddRecords()) {
        return;
    }
    if (allowedOperations_.Contains(alopInsertEx)) {
        DataSet()->Insert();
    } else if (allowedOperations_.Contains(alopAppendEx)) {
        DataSet()->Append();
    }
}

// Asks first; the focus goes back to whatever had it before the box.
void TCustomDBGridEx::DeleteRecord() {
    TDataSet* dataSet = DataSet();
    if (readOnly_ || dataSet->IsEmpty() || !dataSet->CanModify() ||
        !allowedOperations_.Contains(alopDeleteEx)) {
        return;
    }
    if (options_.Contains(dgConfirmDelete)) {
        QPointer<QWidget> focus = QApplication::focusWidget();
        const TMsgDlgBtn answer = MessageDlg("Delete record?", mtConfirmation, {mbOK, mbCancel});
        if (focus != nullptr && QApplication::focusWidget() != focus) {
            focus->setFocus(Qt::OtherFocusReason);
        }
        if (answer != mbOK) {
            return;
        }
    }
    dataSet->Delete();
}

// The value shown in the row above goes into the current record's field, as a value.
void TCustomDBGridEx::CopyFromAbove() {
    const int active = dataLink_->ActiveRecord();
    TField* field = CurrentField();
    if (active == 0 || !CanEditModify()) {
        return;
    }
    dataLink_->SetActiveRecord(active - 1);
    const TVariant value = field->Value();
    dataLink_->SetActiveRecord(active);
    field->SetValue(value);
    dataLink_->SetCellModified(false);
    ShowEditor();
    if (editor_ != nullptr && editor_->isVisible()) {
        editor_->selectAll();
    }
}

// ---------------------------------------------------------------------------------------------
// Columns and cells

void TCustomDBGridEx::SelectColumn(int column) {
    if (column == CurrentColumn() || column < 0) {
        return;
    }
    UpdateData();
    HideEditor();
    EndIncrementalSearch();
    SetCurrentColumn(column);
}

// Past the last column the next record by the rules of Down, from its first column; before the
// first column the prior record by the rules of Up, from its last column.
void TCustomDBGridEx::Tab(bool forward) {
    TLayoutLock lock(layoutLock_);
    const int lastColumn = static_cast<int>(visibleColumns_.size()) - 1;
    if (forward && CurrentColumn() < lastColumn) {
        SelectColumn(CurrentColumn() + 1);
    } else if (!forward && CurrentColumn() > 0) {
        SelectColumn(CurrentColumn() - 1);
    } else if (forward) {
        MoveDown();
        SelectColumn(0);
    } else {
        MoveUp();
        SelectColumn(lastColumn);
    }
}

// The first Esc gives the cell its text back, the second drops the record's changes.
void TCustomDBGridEx::Reset() {
    if (dataLink_->CellModified()) {
        dataLink_->SetCellModified(false);
        if (editor_ != nullptr && editor_->LoadedColumn() >= 0) {
            editor_->Reload(QString::fromStdString(CurrentField() != nullptr ? CurrentField()->Text() : ""));
        }
    } else {
        DataSet()->Cancel();
    }
    HideEditor();
}

// The character goes to the editor as if typed there; the whole text being selected, it replaces
// the cell's text.
void TCustomDBGridEx::TypeOnGrid(QKeyEvent* event) {
    ShowEditor();
    if (editor_ != nullptr && editor_->isVisible()) {
        editor_->TypeKey(event);
    }
}

}  // namespace contado

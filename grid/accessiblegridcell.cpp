#include "grid/accessiblegridcell.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

#include "data/dataset/dataset.h"
#include "grid/accessiblegrid.h"
#include "grid/customdbgridex.h"
#include "grid/dbgridinplaceedit.h"

namespace contado {

TAccessibleGridCell::TAccessibleGridCell(TCustomDBGridEx* grid, int row, int column)
    : grid_(grid), row_(row), column_(column) {}

TAccessibleGrid* TAccessibleGridCell::GridInterface() const {
    return grid_ != nullptr
               ? dynamic_cast<TAccessibleGrid*>(QAccessible::queryAccessibleInterface(grid_.data()))
               : nullptr;
}

bool TAccessibleGridCell::isValid() const {
    const TAccessibleGrid* table = GridInterface();
    return table != nullptr && column_ < table->columnCount() &&
           (IsHeader() ? table->HasTitles() : row_ < table->rowCount());
}

bool TAccessibleGridCell::IsCurrent() const {
    return !IsHeader() && isValid() && row_ == grid_->CurrentRow() && column_ == grid_->CurrentColumn();
}

QWindow* TAccessibleGridCell::window() const {
    return grid_ != nullptr ? grid_->window()->windowHandle() : nullptr;
}

QAccessibleInterface* TAccessibleGridCell::parent() const {
    return GridInterface();
}

QAccessibleInterface* TAccessibleGridCell::table() const {
    return GridInterface();
}

// ---------------------------------------------------------------------------------------------
// The in-place editor standing on the cell is its child

QWidget* TAccessibleGridCell::ShownEditor() const {
    TDBGridInplaceEdit* editor = grid_ != nullptr && !IsHeader() ? grid_->InplaceEdit() : nullptr;
    if (editor == nullptr || editor->isHidden() || editor->LoadedRow() != row_ ||
        editor->LoadedColumn() != column_) {
        return nullptr;
    }
    return editor;
}

int TAccessibleGridCell::childCount() const {
    return ShownEditor() != nullptr ? 1 : 0;
}

QAccessibleInterface* TAccessibleGridCell::child(int index) const {
    QWidget* editor = ShownEditor();
    return index == 0 && editor != nullptr ? QAccessible::queryAccessibleInterface(editor) : nullptr;
}

int TAccessibleGridCell::indexOfChild(const QAccessibleInterface* child) const {
    QWidget* editor = ShownEditor();
    return child != nullptr && editor != nullptr && child->object() == editor ? 0 : -1;
}

QAccessibleInterface* TAccessibleGridCell::childAt(int x, int y) const {
    QAccessibleInterface* editor = child(0);
    return editor != nullptr && editor->rect().contains(x, y) ? editor : nullptr;
}

QAccessibleInterface* TAccessibleGridCell::focusChild() const {
    QWidget* editor = ShownEditor();
    return editor != nullptr && editor->hasFocus() ? QAccessible::queryAccessibleInterface(editor) : nullptr;
}

// ---------------------------------------------------------------------------------------------
// What the cell says

// A header cell names its column; a data cell says its text as painted, and the current one what its
// record is going through (being edited, inserted, searched).
QString TAccessibleGridCell::text(QAccessible::Text t) const {
    if (!isValid()) {
        return QString();
    }
    if (t == QAccessible::Name) {
        return IsHeader() ? grid_->ShownColumns()[column_]->Title().Caption()
                          : grid_->ShownCellText(column_, row_);
    }
    if (t == QAccessible::Description && IsCurrent()) {
        return GridInterface()->CurrentRecordState();
    }
    return QString();
}

QRect TAccessibleGridCell::rect() const {
    if (!isValid()) {
        return QRect();
    }
    const TGridGeometry& geometry = grid_->Geometry();
    const QRect cell = IsHeader() ? geometry.TitleRect(column_) : geometry.CellRect(column_, row_);
    return QRect(grid_->Viewport()->mapToGlobal(cell.topLeft()), cell.size());
}

QAccessible::Role TAccessibleGridCell::role() const {
    return IsHeader() ? QAccessible::ColumnHeader : QAccessible::Cell;
}

bool TAccessibleGridCell::Editable() const {
    const TDataSet* dataSet = grid_->DataSet();
    const TDBGridColumnEx* column = grid_->ShownColumns()[column_];
    return grid_->Options().Contains(dgEditing) && !grid_->ReadOnly() && dataSet != nullptr &&
           dataSet->CanModify() && column->Field() != nullptr && !column->ReadOnly();
}

QAccessible::State TAccessibleGridCell::state() const {
    QAccessible::State state;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    const TGridGeometry& geometry = grid_->Geometry();
    const QRect cell = IsHeader() ? geometry.TitleRect(column_) : geometry.CellRect(column_, row_);
    state.invisible = !grid_->isVisible();
    state.offscreen = !cell.intersects(geometry.ColumnsArea());
    if (IsHeader()) {
        state.readOnly = true;
        return state;
    }
    state.focusable = true;
    state.selectable = true;
    state.selected = IsCurrent();
    state.focused = IsCurrent() && grid_->hasFocus();
    state.editable = Editable();
    state.readOnly = !state.editable;
    return state;
}

void* TAccessibleGridCell::interface_cast(QAccessible::InterfaceType t) {
    if (t == QAccessible::TableCellInterface && !IsHeader()) {
        return static_cast<QAccessibleTableCellInterface*>(this);
    }
    if (t == QAccessible::ActionInterface && !IsHeader()) {
        return static_cast<QAccessibleActionInterface*>(this);
    }
    return nullptr;
}

QList<QAccessibleInterface*> TAccessibleGridCell::columnHeaderCells() const {
    TAccessibleGrid* table = GridInterface();
    QAccessibleInterface* header = table != nullptr ? table->Cell(-1, column_) : nullptr;
    return header != nullptr ? QList<QAccessibleInterface*>{header} : QList<QAccessibleInterface*>{};
}

// ---------------------------------------------------------------------------------------------
// Making the cell current: a click on it, with all the rules of the mouse (the editor's text is
// stored first, a refused text keeps the cell where it is).

QStringList TAccessibleGridCell::actionNames() const {
    return {QAccessibleActionInterface::setFocusAction()};
}

void TAccessibleGridCell::doAction(const QString& actionName) {
    if (actionName != QAccessibleActionInterface::setFocusAction() || !isValid()) {
        return;
    }
    const QPointF centre = grid_->Geometry().CellRect(column_, row_).center();
    const QPointF global = grid_->Viewport()->mapToGlobal(centre);
    QMouseEvent press(QEvent::MouseButtonPress, centre, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    grid_->ClientMousePress(&press);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    if (grid_ != nullptr) {
        grid_->ClientMouseRelease(&release);
    }
}

}  // namespace contado

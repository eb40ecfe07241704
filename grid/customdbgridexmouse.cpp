#include <QMouseEvent>

#include "data/dataset/dataset.h"
#include "data/fields/field.h"
#include "grid/customdbgridex.h"
#include "grid/dbgridinplaceedit.h"
#include "grid/griddatalinkex.h"
#include "platform/system/systemcolors.h"

// Mouse presses on the data grid's cells and titles, and the columns the mouse sizes and moves.

namespace contado {

// Any press first gives the grid the focus; without it nothing else happens.
void TCustomDBGridEx::MouseDown(QMouseEvent* event, const TGridHit& hit) {
    if (!IsActiveControl() && CanFocus()) {
        setFocus(Qt::MouseFocusReason);
    }
    if (!IsActiveControl() || !dataLink_->Active()) {
        return;
    }
    switch (hit.Kind) {
        case ghCell:
            CellMouseDown(event, hit);
            break;
        case ghIndicator:
            UpdateData();
            HideEditor();
            MoveToRow(hit.Row);
            break;
        case ghTitle:
        case ghColumnSizing:
            UpdateData();
            HideEditor();
            TCustomGridEx::MouseDown(event, hit);
            break;
        default:
            break;
    }
}

// The text goes into the field, the table moves to the pressed row and the column becomes current.
// A left press on the cell that was current, or on a date cell's drop-down zone, shows the editor.
void TCustomDBGridEx::CellMouseDown(QMouseEvent* event, const TGridHit& hit) {
    const bool wasCurrent = hit.Column == CurrentColumn() && hit.Row == CurrentRow();
    const QPoint point = event->position().toPoint();
    UpdateData();
    HideEditor();
    MoveToRow(hit.Row);
    SelectColumn(hit.Column);
    if (event->button() != Qt::LeftButton || hit.Row != CurrentRow()) {
        return;
    }
    const bool dropDown = InDropDownZone(point, hit.Column, hit.Row);
    if (wasCurrent || dropDown) {
        ShowEditor();
        if (dropDown && editor_ != nullptr && editor_->isVisible()) {
            editor_->DropDown();
        }
    }
}

// Rows below the last record hold none.
void TCustomDBGridEx::MoveToRow(int row) {
    if (row != CurrentRow() && row < dataLink_->RecordCount()) {
        dataLink_->MoveBy(row - CurrentRow());
    }
}

// The rightmost pixels of a date cell, as wide as the editor's drop-down button.
bool TCustomDBGridEx::InDropDownZone(QPoint point, int column, int row) const {
    const TDBGridColumnEx* item = visibleColumns_.at(column);
    const TField* field = item->Field();
    if (field == nullptr || (field->DataType() != ftDate && field->DataType() != ftDateTime)) {
        return false;
    }
    const QRect cell = Geometry().CellRect(column, row);
    return point.x() >= cell.left() + cell.width() - kScrollBarThickness;
}

void TCustomDBGridEx::ColumnSized(int column, int width) {
    visibleColumns_.at(column)->SetWidth(width);
}

// The current column stays on the same column item.
void TCustomDBGridEx::ColumnMoved(int from, int to) {
    const TDBGridColumnEx* current = CurrentColumnItem();
    columns_.Move(columns_.IndexOf(visibleColumns_.at(from)), columns_.IndexOf(visibleColumns_.at(to)));
    for (int index = 0; index < static_cast<int>(visibleColumns_.size()); ++index) {
        if (visibleColumns_[index] == current) {
            SetCurrentColumn(index);
        }
    }
}

}  // namespace contado

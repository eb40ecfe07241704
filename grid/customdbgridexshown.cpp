// What the data grid shows, read by its accessibility interface: the records of the link's window
// and the text of each data cell, as painted.

#include "grid/customdbgridex.h"
#include "grid/griddatalinkex.h"

namespace contado {

int TCustomDBGridEx::ShownRecordCount() const {
    return dataLink_->Active() ? dataLink_->RecordCount() : 0;
}

QString TCustomDBGridEx::ShownCellText(int column, int row) const {
    if (column < 0 || column >= static_cast<int>(visibleColumns_.size()) || row < 0 ||
        row >= ShownRecordCount()) {
        return QString();
    }
    return CellText(*visibleColumns_[column], row);
}

}  // namespace contado

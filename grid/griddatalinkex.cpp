#include "grid/griddatalinkex.h"

#include "grid/customdbgridex.h"

namespace contado {

TGridDataLinkEx::TGridDataLinkEx(TCustomDBGridEx& grid) : grid_(grid) {
    SetVisualControl(true);
}

void TGridDataLinkEx::ActiveChanged() {
    grid_.LinkActiveChanged();
}

void TGridDataLinkEx::DataSetChanged() {
    cellModified_ = false;
    grid_.LinkDataSetChanged();
}

void TGridDataLinkEx::DataSetScrolled(int distance) {
    cellModified_ = false;
    grid_.LinkDataSetScrolled(distance);
}

void TGridDataLinkEx::LayoutChanged() {
    grid_.LinkLayoutChanged();
}

void TGridDataLinkEx::EditingChanged() {
    grid_.LinkEditingChanged();
}

void TGridDataLinkEx::RecordChanged(TField* field) {
    grid_.LinkRecordChanged(field);
}

void TGridDataLinkEx::UpdateData() {
    grid_.LinkUpdateData();
}

void TGridDataLinkEx::FocusControl(TField** field) {
    grid_.LinkFocusControl(field);
}

}  // namespace contado

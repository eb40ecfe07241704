#include "grid/dbgridcolumnsex.h"

#include "grid/customdbgridex.h"

namespace contado {

TDBGridColumnEx* TDBGridColumnsEx::Add() {
    items_.push_back(std::make_unique<TDBGridColumnEx>(grid_));
    grid_->ColumnChanged(true);
    return items_.back().get();
}

void TDBGridColumnsEx::Clear() {
    items_.clear();
    grid_->ColumnChanged(true);
}

std::vector<TDBGridColumnEx*> TDBGridColumnsEx::VisibleColumns() const {
    std::vector<TDBGridColumnEx*> columns;
    for (const auto& column : items_) {
        if (column->Visible()) {
            columns.push_back(column.get());
        }
    }
    return columns;
}

void TDBGridColumnsEx::Bind(const TDataSet* dataSet) {
    for (const auto& column : items_) {
        column->Bind(dataSet);
    }
}

}  // namespace contado

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

int TDBGridColumnsEx::IndexOf(const TDBGridColumnEx* column) const {
    for (int index = 0; index < Count(); ++index) {
        if (items_[index].get() == column) {
            return index;
        }
    }
    return -1;
}

void TDBGridColumnsEx::Move(int from, int to) {
    if (from < 0 || from >= Count() || to < 0 || to >= Count() || from == to) {
        return;
    }
    std::unique_ptr<TDBGridColumnEx> column = std::move(items_[from]);
    items_.erase(items_.begin() + from);
    items_.insert(items_.begin() + to, std::move(column));
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

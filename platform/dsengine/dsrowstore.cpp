#include "platform/dsengine/dsrowstore.h"

#include <algorithm>

namespace contado {

void TDSRowStore::Reset(int columnCount) {
    *this = TDSRowStore();
    columnCount_ = columnCount;
}

const TVariant* TDSRowStore::OriginalValues(int row) const {
    int image = rows_[row].beforeImage;
    return image < 0 ? Values(row) : &beforeImages_[static_cast<size_t>(image) * columnCount_];
}

int TDSRowStore::OrderIndexOf(int row) const {
    auto found = std::find(order_.begin(), order_.end(), row);
    return found == order_.end() ? -1 : static_cast<int>(found - order_.begin());
}

int TDSRowStore::NewSlot(RowState state) {
    rows_.push_back(RowInfo{state, -1});
    values_.resize(values_.size() + columnCount_);
    return SlotCount() - 1;
}

void TDSRowStore::AppendOriginalRows(const std::vector<TPacketRow>& rows) {
    std::uint64_t before = version_;
    int start = static_cast<int>(order_.size());
    values_.reserve(values_.size() + rows.size() * columnCount_);
    for (const TPacketRow& source : rows) {
        int row = NewSlot(RowState::Original);
        std::copy(source.Values.begin(), source.Values.end(), values_.begin() + Offset(row));
        order_.push_back(row);
    }
    Changed();
    appendVersion_ = before;
    appendStart_ = start;
}

bool TDSRowStore::LastChangeWasAppend(std::uint64_t since, int& firstOrderIndex) const {
    if (appendStart_ < 0 || appendVersion_ != since || version_ != since + 1) {
        return false;
    }
    firstOrderIndex = appendStart_;
    return true;
}

int TDSRowStore::InsertRow(const TDSRecord& values, int orderIndex) {
    int row = NewSlot(RowState::Inserted);
    std::copy(values.begin(), values.end(), values_.begin() + Offset(row));
    orderIndex = std::clamp(orderIndex, 0, static_cast<int>(order_.size()));
    order_.insert(order_.begin() + orderIndex, row);
    log_.push_back(row);
    Changed();
    return row;
}

void TDSRowStore::SaveBeforeImage(int row) {
    rows_[row].beforeImage = static_cast<int>(beforeImages_.size() / columnCount_);
    beforeImages_.insert(beforeImages_.end(), values_.begin() + Offset(row),
                         values_.begin() + Offset(row) + columnCount_);
}

bool TDSRowStore::ModifyRow(int row, const TDSRecord& values) {
    TVariant* current = &values_[Offset(row)];
    bool changes = false;
    for (int column = 0; column < columnCount_; ++column) {
        changes = changes || (!VarIsUnassigned(values[column]) && !(values[column] == current[column]));
    }
    if (!changes) {
        return false;
    }
    if (rows_[row].state == RowState::Original) {
        SaveBeforeImage(row);
        rows_[row].state = RowState::Modified;
        log_.push_back(row);
    }
    CopyAssigned(values.data(), current);
    Changed();
    return true;
}

void TDSRowStore::DeleteRow(int row) {
    RowInfo& info = rows_[row];
    if (info.state == RowState::Inserted) {
        info.state = RowState::Gone;
        RemoveFromOrder(row);
        RemoveFromLog(row);
    } else {
        if (info.state == RowState::Original) {
            log_.push_back(row);
        }
        info.state = RowState::Deleted;
    }
    Changed();
}

void TDSRowStore::UndoChange(int row) {
    RowInfo& info = rows_[row];
    if (info.state == RowState::Original || info.state == RowState::Gone) {
        return;
    }
    if (info.state == RowState::Inserted) {
        info.state = RowState::Gone;
        RemoveFromOrder(row);
    } else {
        if (info.beforeImage >= 0) {
            const TVariant* original = OriginalValues(row);
            std::copy(original, original + columnCount_, values_.begin() + Offset(row));
        }
        info.state = RowState::Original;
        info.beforeImage = -1;
    }
    RemoveFromLog(row);
    Changed();
}

void TDSRowStore::AcceptChange(int row) {
    RowInfo& info = rows_[row];
    if (info.state == RowState::Deleted) {
        info.state = RowState::Gone;
        RemoveFromOrder(row);
    } else if (info.state != RowState::Gone) {
        info.state = RowState::Original;
    }
    info.beforeImage = -1;
    RemoveFromLog(row);
    Changed();
}

void TDSRowStore::AcceptAll() {
    for (int row : log_) {
        RowInfo& info = rows_[row];
        info.state = info.state == RowState::Deleted ? RowState::Gone : RowState::Original;
        info.beforeImage = -1;
    }
    std::erase_if(order_, [this](int row) { return rows_[row].state == RowState::Gone; });
    log_.clear();
    beforeImages_.clear();
    Changed();
}

void TDSRowStore::MergeOriginalValues(int row, const TVariant* values) {
    if (rows_[row].beforeImage < 0) {
        SaveBeforeImage(row);
    }
    CopyAssigned(values, &beforeImages_[static_cast<size_t>(rows_[row].beforeImage) * columnCount_]);
    Changed();
}

void TDSRowStore::RefreshValues(int row, const TVariant* values) {
    CopyAssigned(values, &values_[Offset(row)]);
    Changed();
}

void TDSRowStore::CopyAssigned(const TVariant* source, TVariant* target) const {
    for (int column = 0; column < columnCount_; ++column) {
        if (!VarIsUnassigned(source[column])) {
            target[column] = source[column];
        }
    }
}

void TDSRowStore::RemoveFromOrder(int row) {
    auto found = std::find(order_.begin(), order_.end(), row);
    if (found != order_.end()) {
        order_.erase(found);
    }
}

void TDSRowStore::RemoveFromLog(int row) {
    auto found = std::find(log_.begin(), log_.end(), row);
    if (found != log_.end()) {
        log_.erase(found);
    }
}

}  // namespace contado

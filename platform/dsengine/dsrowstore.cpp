#include "platform/dsengine/dsrowstore.h"

#include <algorithm>
#include <cstring>

namespace contado {

namespace {

// Room for more elements, growing at least geometrically so that rows arriving in many small
// packets are not copied again for each.
template <typename T>
void ReserveMore(std::vector<T>& items, std::size_t more) {
    const std::size_t needed = items.size() + more;
    if (needed > items.capacity()) {
        items.reserve(std::max(needed, items.capacity() * 2));
    }
}

}  // namespace

void TDSRowStore::Reset(const std::vector<TPacketColumn>& columns) {
    *this = TDSRowStore();
    layout_ = TDSRecordLayout(columns);
}

TVariant TDSRowStore::Value(int row, int column) const {
    return layout_.Read(Record(row), column, outOfLine_);
}

void TDSRowStore::ReadValues(int row, TVariant* values) const {
    const std::byte* record = Record(row);
    for (int column = 0; column < ColumnCount(); ++column) {
        values[column] = layout_.Read(record, column, outOfLine_);
    }
}

const std::byte* TDSRowStore::OriginalRecord(int row) const {
    const int image = rows_[row].beforeImage;
    return image < 0 ? Record(row) : &beforeImages_[static_cast<std::size_t>(image) * layout_.RecordSize()];
}

void TDSRowStore::ReadOriginalValues(int row, TVariant* values) const {
    const std::byte* record = OriginalRecord(row);
    for (int column = 0; column < ColumnCount(); ++column) {
        values[column] = layout_.Read(record, column, outOfLine_);
    }
}

int TDSRowStore::OrderIndexOf(int row) const {
    auto found = std::find(order_.begin(), order_.end(), row);
    return found == order_.end() ? -1 : static_cast<int>(found - order_.begin());
}

void TDSRowStore::MakeRoom(std::size_t rows) {
    const std::size_t needed = rows_.size() + rows;
    const std::size_t room = blocks_.size() * kBlockRows;
    if (needed <= room) {
        return;
    }
    const std::size_t blockCount = (needed - room + kBlockRows - 1) / kBlockRows;
    const std::size_t blockSize = kBlockRows * layout_.RecordSize();
    pieces_.push_back(std::make_unique_for_overwrite<std::byte[]>(blockCount * blockSize));
    for (std::size_t block = 0; block < blockCount; ++block) {
        blocks_.push_back(pieces_.back().get() + block * blockSize);
    }
}

// A new record starts clear: every column unassigned. Records are cleared as they are taken, so
// pages of a block that no row reaches are never touched.
int TDSRowStore::NewSlot(RowState state) {
    MakeRoom(1);
    rows_.push_back(RowInfo{state, -1});
    const int row = SlotCount() - 1;
    std::memset(Record(row), 0, layout_.RecordSize());
    return row;
}

// Appends that follow one another, with no other change between them, make one run of appends.
void TDSRowStore::AppendOriginalRows(const std::vector<TPacketRow>& rows) {
    if (appendStart_ < 0 || appendEnd_ != version_) {
        appendVersion_ = version_;
        appendStart_ = static_cast<int>(order_.size());
    }
    ReserveMore(rows_, rows.size());
    ReserveMore(order_, rows.size());
    MakeRoom(rows.size());
    for (const TPacketRow& source : rows) {
        int row = NewSlot(RowState::Original);
        layout_.Fill(Record(row), source.Values.data(), outOfLine_);
        order_.push_back(row);
    }
    Changed();
    appendEnd_ = version_;
}

bool TDSRowStore::LastChangeWasAppend(std::uint64_t since, int& firstOrderIndex) const {
    if (appendStart_ < 0 || appendVersion_ != since || appendEnd_ != version_) {
        return false;
    }
    firstOrderIndex = appendStart_;
    return true;
}

int TDSRowStore::InsertRow(const TDSRecord& values, int orderIndex) {
    int row = NewSlot(RowState::Inserted);
    std::byte* record = Record(row);
    const int count = std::min(ColumnCount(), static_cast<int>(values.size()));
    for (int column = 0; column < count; ++column) {
        layout_.Write(record, column, values[column], outOfLine_);
    }
    orderIndex = std::clamp(orderIndex, 0, static_cast<int>(order_.size()));
    order_.insert(order_.begin() + orderIndex, row);
    log_.push_back(row);
    Changed();
    return row;
}

void TDSRowStore::SaveBeforeImage(int row) {
    const int image = static_cast<int>(beforeImages_.size() / layout_.RecordSize());
    beforeImages_.resize(beforeImages_.size() + layout_.RecordSize());
    layout_.Copy(Record(row), BeforeImage(image), outOfLine_);
    rows_[row].beforeImage = image;
}

void TDSRowStore::DropBeforeImage(int row) {
    if (rows_[row].beforeImage >= 0) {
        layout_.Release(BeforeImage(rows_[row].beforeImage), outOfLine_);
        rows_[row].beforeImage = -1;
    }
}

bool TDSRowStore::ModifyRow(int row, const TDSRecord& values) {
    bool changes = false;
    for (int column = 0; column < ColumnCount() && !changes; ++column) {
        changes = !VarIsUnassigned(values[column]) && !(values[column] == Value(row, column));
    }
    if (!changes) {
        return false;
    }
    if (rows_[row].state == RowState::Original) {
        SaveBeforeImage(row);
        SetState(rows_[row], RowState::Modified);
        log_.push_back(row);
    }
    WriteAssigned(values.data(), Record(row));
    Changed();
    return true;
}

void TDSRowStore::DeleteRow(int row) {
    RowInfo& info = rows_[row];
    if (info.state == RowState::Inserted) {
        SetState(info, RowState::Gone);
        RemoveFromOrder(row);
        RemoveFromLog(row);
    } else {
        if (info.state == RowState::Original) {
            log_.push_back(row);
        }
        SetState(info, RowState::Deleted);
    }
    Changed();
}

void TDSRowStore::UndoChange(int row) {
    RowInfo& info = rows_[row];
    if (info.state == RowState::Original || info.state == RowState::Gone) {
        return;
    }
    if (info.state == RowState::Inserted) {
        SetState(info, RowState::Gone);
        RemoveFromOrder(row);
    } else {
        if (info.beforeImage >= 0) {
            layout_.Copy(BeforeImage(info.beforeImage), Record(row), outOfLine_);
        }
        SetState(info, RowState::Original);
        DropBeforeImage(row);
    }
    RemoveFromLog(row);
    Changed();
}

void TDSRowStore::AcceptChange(int row) {
    RowInfo& info = rows_[row];
    if (info.state == RowState::Deleted) {
        SetState(info, RowState::Gone);
        RemoveFromOrder(row);
    } else if (info.state != RowState::Gone) {
        SetState(info, RowState::Original);
    }
    DropBeforeImage(row);
    RemoveFromLog(row);
    Changed();
}

void TDSRowStore::AcceptAll() {
    for (int row : log_) {
        RowInfo& info = rows_[row];
        SetState(info, info.state == RowState::Deleted ? RowState::Gone : RowState::Original);
        DropBeforeImage(row);
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
    WriteAssigned(values, BeforeImage(rows_[row].beforeImage));
    Changed();
}

void TDSRowStore::RefreshValues(int row, const TVariant* values) {
    WriteAssigned(values, Record(row));
    Changed();
}

void TDSRowStore::WriteAssigned(const TVariant* source, std::byte* target) {
    for (int column = 0; column < ColumnCount(); ++column) {
        if (!VarIsUnassigned(source[column])) {
            layout_.Write(target, column, source[column], outOfLine_);
        }
    }
}

void TDSRowStore::SetState(RowInfo& info, RowState state) {
    deleted_ += static_cast<int>(state == RowState::Deleted);
    deleted_ -= static_cast<int>(info.state == RowState::Deleted);
    info.state = state;
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

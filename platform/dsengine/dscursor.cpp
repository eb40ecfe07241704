#include "platform/dsengine/dscursor.h"

#include <algorithm>

#include "platform/dsengine/dsbase.h"
#include "platform/dsengine/dsstatus.h"

namespace contado {

bool TDSCursor::Passes(int row) const {
    const TDSRowStore& store = base_.Store();
    return std::all_of(filters_.begin(), filters_.end(),
                       [&store, row](const auto& entry) { return entry.second.Matches(store, row); });
}

void TDSCursor::IndexChanged() {
    builtVersion_ = base_.Store().Version();
    indexOfRowValid_ = false;
}

void TDSCursor::Sync() {
    const TDSRowStore& store = base_.Store();
    if (built_ && builtVersion_ == store.Version()) {
        return;
    }
    int firstAppended = 0;
    if (built_ && store.LastChangeWasAppend(builtVersion_, firstAppended)) {
        AppendVisible(firstAppended);
    } else {
        Rebuild();
    }
    IndexChanged();
}

void TDSCursor::AppendVisible(int firstOrderIndex) {
    bool atEnd = position_ >= Count();
    const auto& order = base_.Store().Order();
    SelectVisible(std::span<const int>(order).subspan(firstOrderIndex), false, -1);
    if (atEnd) {
        position_ = Count();
    }
}

// Appends the rows that pass every filter to the visible ones; answers the visible index of the row
// mark, or -1 when it is not among them. The first filter reads the rows given, each further one
// the rows the filters before it let through.
int TDSCursor::SelectVisible(std::span<const int> rows, bool liveOnly, int mark) {
    const TDSRowStore& store = base_.Store();
    const std::size_t first = visible_.size();
    if (filters_.empty() && !liveOnly) {
        visible_.insert(visible_.end(), rows.begin(), rows.end());
        const auto found = mark < 0 ? rows.end() : std::find(rows.begin(), rows.end(), mark);
        return found == rows.end() ? -1 : static_cast<int>(first + (found - rows.begin()));
    }
    if (filters_.empty()) {
        int marked = -1;
        for (const int row : rows) {
            if (!liveOnly || store.IsLive(row)) {
                if (row == mark) {
                    marked = static_cast<int>(visible_.size());
                }
                visible_.push_back(row);
            }
        }
        return marked;
    }
    int marked = -1;
    for (auto entry = filters_.begin(); entry != filters_.end(); ++entry) {
        if (entry == filters_.begin()) {
            marked = entry->second.Select(store, rows, liveOnly, mark, visible_);
            continue;
        }
        passed_.assign(visible_.begin() + static_cast<std::ptrdiff_t>(first), visible_.end());
        visible_.resize(first);
        marked = entry->second.Select(store, passed_, false, mark, visible_);
    }
    return marked;
}

void TDSCursor::Rebuild() {
    const TDSRowStore& store = base_.Store();
    int currentRow = OnRow() ? visible_[position_] : -1;
    bool atEnd = built_ && position_ >= Count();
    visible_.clear();
    const int found = SelectVisible(store.Order(), !store.OrderAllLive(), currentRow);
    built_ = true;
    if (currentRow >= 0 && found >= 0) {
        position_ = found;
    } else if (atEnd) {
        position_ = Count();
    } else {
        position_ = std::clamp(position_, -1, Count());
    }
}

int TDSCursor::VisibleIndexOf(int row) {
    if (!indexOfRowValid_) {
        indexOfRow_.assign(base_.Store().SlotCount(), -1);
        for (int i = 0; i < Count(); ++i) {
            indexOfRow_[visible_[i]] = i;
        }
        indexOfRowValid_ = true;
    }
    return row >= 0 && row < static_cast<int>(indexOfRow_.size()) ? indexOfRow_[row] : -1;
}

int TDSCursor::MoveToBOF() {
    Sync();
    position_ = -1;
    return dsstatus::kOk;
}

int TDSCursor::MoveToEOF() {
    Sync();
    position_ = Count();
    return dsstatus::kOk;
}

int TDSCursor::MoveRelative(int distance) {
    Sync();
    long target = static_cast<long>(position_) + distance;
    if (target < 0) {
        position_ = -1;
        return dsstatus::kBeginningOfRows;
    }
    if (target >= Count()) {
        position_ = Count();
        return dsstatus::kEndOfRows;
    }
    position_ = static_cast<int>(target);
    return dsstatus::kOk;
}

int TDSCursor::GetCurrentRecord(TDSRecord& record) {
    Sync();
    if (!OnRow()) {
        return dsstatus::kNoCurrentRecord;
    }
    record.resize(base_.Store().ColumnCount());
    base_.Store().ReadValues(visible_[position_], record.data());
    return dsstatus::kOk;
}

int TDSCursor::GetRecordCount(int& count) {
    Sync();
    count = Count();
    return dsstatus::kOk;
}

int TDSCursor::GetSequenceNumber(int& sequence) {
    Sync();
    if (!OnRow()) {
        return dsstatus::kNoCurrentRecord;
    }
    sequence = position_ + 1;
    return dsstatus::kOk;
}

int TDSCursor::MoveToSeqNo(int sequence) {
    Sync();
    if (sequence < 1 || sequence > Count()) {
        return dsstatus::kRecordNotFound;
    }
    position_ = sequence - 1;
    return dsstatus::kOk;
}

int TDSCursor::GetCurrentBookmark(TDSBookmark& bookmark) {
    Sync();
    if (!OnRow()) {
        return dsstatus::kNoCurrentRecord;
    }
    bookmark = static_cast<TDSBookmark>(visible_[position_]) + 1;
    return dsstatus::kOk;
}

int TDSCursor::MoveToBookmark(TDSBookmark bookmark) {
    Sync();
    int index = bookmark > 0 && bookmark <= base_.Store().SlotCount()
                    ? VisibleIndexOf(static_cast<int>(bookmark - 1))
                    : -1;
    if (index < 0) {
        return dsstatus::kInvalidBookmark;
    }
    position_ = index;
    return dsstatus::kOk;
}

int TDSCursor::CompareBookmarks(TDSBookmark a, TDSBookmark b, int& order) {
    Sync();
    auto place = [this](TDSBookmark bookmark) {
        bool live = bookmark > 0 && base_.Store().IsLive(static_cast<int>(bookmark - 1));
        return live ? base_.Store().OrderIndexOf(static_cast<int>(bookmark - 1)) : -1;
    };
    int first = place(a);
    int second = place(b);
    if (first < 0 || second < 0) {
        order = (first < 0) - (second < 0);
    } else {
        order = (first > second) - (first < second);
    }
    return dsstatus::kOk;
}

int TDSCursor::InitRecord(TDSRecord& record) {
    record.assign(base_.Store().ColumnCount(), TVariant());
    return dsstatus::kOk;
}

int TDSCursor::GetField(const TDSRecord& record, int column, TVariant& value) {
    if (column < 0 || column >= static_cast<int>(record.size())) {
        return dsstatus::kColumnOutOfRange;
    }
    value = record[column];
    return dsstatus::kOk;
}

int TDSCursor::PutField(TDSRecord& record, int column, const TVariant& value) {
    if (column < 0 || column >= static_cast<int>(record.size())) {
        return dsstatus::kColumnOutOfRange;
    }
    record[column] = value;
    return dsstatus::kOk;
}

int TDSCursor::CheckWritable(const TDSRecord& record) const {
    if (base_.IsReadOnly()) {
        return dsstatus::kReadOnly;
    }
    if (static_cast<int>(record.size()) != base_.Store().ColumnCount()) {
        return dsstatus::kRowShapeMismatch;
    }
    return dsstatus::kOk;
}

int TDSCursor::InsertOrderIndex() const {
    const TDSRowStore& store = base_.Store();
    if (position_ >= Count()) {
        return static_cast<int>(store.Order().size());
    }
    return Count() == 0 ? 0 : store.OrderIndexOf(visible_[std::max(position_, 0)]);
}

int TDSCursor::InsertRecord(const TDSRecord& record) {
    if (int status = CheckWritable(record); status != dsstatus::kOk) {
        return status;
    }
    Sync();
    int row = base_.Store().InsertRow(record, InsertOrderIndex());
    if (Passes(row)) {
        position_ = std::clamp(position_, 0, Count());
        visible_.insert(visible_.begin() + position_, row);
    }
    IndexChanged();
    return dsstatus::kOk;
}

int TDSCursor::ModifyRecord(const TDSRecord& record) {
    if (int status = CheckWritable(record); status != dsstatus::kOk) {
        return status;
    }
    Sync();
    if (!OnRow()) {
        return dsstatus::kNoCurrentRecord;
    }
    int row = visible_[position_];
    if (base_.Store().ModifyRow(row, record) && !Passes(row)) {
        visible_.erase(visible_.begin() + position_);
    }
    IndexChanged();
    return dsstatus::kOk;
}

int TDSCursor::DeleteRecord() {
    if (base_.IsReadOnly()) {
        return dsstatus::kReadOnly;
    }
    Sync();
    if (!OnRow()) {
        return dsstatus::kNoCurrentRecord;
    }
    base_.Store().DeleteRow(visible_[position_]);
    visible_.erase(visible_.begin() + position_);
    IndexChanged();
    return dsstatus::kOk;
}

int TDSCursor::RevertRecord() {
    Sync();
    if (!OnRow()) {
        return dsstatus::kNoCurrentRecord;
    }
    base_.Store().UndoChange(visible_[position_]);
    Sync();
    return dsstatus::kOk;
}

int TDSCursor::AddFilter(const TDSExpression& expression, TDSFilterHandle& handle) {
    TDSFilter filter;
    if (int status = TDSFilter::Compile(expression, base_.Store().Layout(), filter);
        status != dsstatus::kOk) {
        return status;
    }
    handle = nextHandle_++;
    filters_.emplace(handle, std::move(filter));
    Rebuild();
    IndexChanged();
    return dsstatus::kOk;
}

int TDSCursor::DropFilter(TDSFilterHandle handle) {
    if (filters_.erase(handle) == 0) {
        return dsstatus::kInvalidFilterHandle;
    }
    Rebuild();
    IndexChanged();
    return dsstatus::kOk;
}

int TDSCursor::LocateWithFilter(const TDSExpression& expression) {
    TDSFilter filter;
    if (int status = TDSFilter::Compile(expression, base_.Store().Layout(), filter);
        status != dsstatus::kOk) {
        return status;
    }
    Sync();
    const int found = filter.FindFirst(base_.Store(), visible_);
    if (found < 0) {
        return dsstatus::kRecordNotFound;
    }
    position_ = found;
    return dsstatus::kOk;
}

}  // namespace contado
